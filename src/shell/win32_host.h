// The Host of the Windows program: real message boxes, the main window's title, cursor
// and menu bar, and message pumping through the accelerators for cancel polls.
#pragma once
#include "core/host.h"

namespace quilla {

class Win32Host : public Host {
 public:
  MsgResult MessageBox(OwnerWindow owner, const std::string& text, const std::string& caption,
                       MsgButtons buttons, MsgIcon icon) override;
  void SetWindowTitle(const std::string& title) override;
  bool PumpPendingMessages(const std::function<bool()>& stopEarly) override;
  bool WaitAndDispatchOneMessage() override;
  void ShowWaitCursor() override;
  void RestoreCursor() override;
  void ShowBusyMenu(int menuNumber) override;
  void RestoreMainMenu() override;
  void SetBusy(bool busy) override;
  void OnEngineEvent(EngineEvent event) override;
  ScreenRect WorkArea() override;
};

}  // namespace quilla
