// The one way portable code reaches the user: message boxes, the window title, message
// pumping for cancel polls, cursors and the busy state, and the events the window reacts
// to. What the window does with them (its toolbar, full-screen view and layout) is its own
// business. The Windows program, quilla-cli and the unit tests each supply their own.
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

enum class EngineEvent {
  PaletteChanged,  // the main document's colours changed
  BatchEnded,      // a batch of files ended: the window shows the image it ended on
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
  // The interface turned busy (an operation runs, or the program is exiting) or idle.
  virtual void SetBusy(bool busy) = 0;
  // Something the window shows changed; the window reacts in its own way.
  virtual void OnEngineEvent(EngineEvent event) = 0;
  // The work area of the screen, which "ResizeOnLoad" fits images to.
  virtual ScreenRect WorkArea() = 0;
};

}  // namespace quilla
