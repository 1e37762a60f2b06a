// The one way portable code reaches the user: message boxes, the window title, message
// pumping for cancel polls, cursors, the busy menu bar, the toolbar's busy state and the
// display. The Windows program, quilla-cli and the unit tests each supply their own.
#pragma once
#include <functional>
#include <string>

namespace quilla {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { Information, Exclamation, Question };
enum class MsgResult { Ok, Cancel, Yes, No };

// Opaque owner window of a message box; nullptr is the main window.
using OwnerWindow = void*;

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

class Host {
 public:
  virtual ~Host() = default;

  virtual MsgResult MessageBox(OwnerWindow owner, const std::string& text, const std::string& caption,
                               MsgButtons buttons, MsgIcon icon) = 0;
  virtual void SetWindowTitle(const std::string& title) = 0;

  // Dispatches pending messages (through the accelerators) until the queue is empty or
  // stopEarly() turns true. Returns false when a quit message was taken.
  virtual bool PumpPendingMessages(const std::function<bool()>& stopEarly) = 0;
  // Waits for one message and dispatches it. Returns false when it was a quit message.
  virtual bool WaitAndDispatchOneMessage() = 0;

  virtual void ShowWaitCursor() = 0;
  // Puts back the cursor that belongs under the mouse.
  virtual void RestoreCursor() = 0;

  virtual void ShowBusyMenu(int menuNumber) = 0;
  virtual void RestoreMainMenu() = 0;
  virtual void SetToolbarBusy(bool busy) = 0;

  virtual bool IsFullScreen() = 0;
  virtual void LeaveFullScreen() = 0;
  // The main document's colours changed: realise its palette again and repaint.
  virtual void RealizePalette() = 0;
  // Fit the main window to the image after a batch.
  virtual void FitWindowToImage() = 0;
  virtual ScreenRect WorkArea() = 0;
};

}  // namespace quilla
