// The Host of quilla-cli: messages go to stderr, questions take the answer that lets the
// work go on safely, and there is no window to update.
#pragma once
#include <cstdio>

#include "core/host.h"

namespace quilla {

class HeadlessHost : public Host {
 public:
  MsgResult MessageBox(OwnerWindow, const std::string& text, const std::string&, MsgButtons buttons,
                       MsgIcon) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    switch (buttons) {
      case MsgButtons::Ok: return MsgResult::Ok;
      case MsgButtons::OkCancel: return MsgResult::Ok;      // "... continue ?" continues
      case MsgButtons::YesNo: return MsgResult::Yes;
      case MsgButtons::YesNoCancel: return MsgResult::No;   // "save changes ?" has nothing to save
    }
    return MsgResult::Ok;
  }
  void SetWindowTitle(const std::string&) override {}
  bool PumpPendingMessages(const std::function<bool()>&) override { return true; }
  bool WaitAndDispatchOneMessage() override { return true; }
  void ShowWaitCursor() override {}
  void RestoreCursor() override {}
  void ShowBusyMenu(int) override {}
  void RestoreMainMenu() override {}
  void SetBusy(bool) override {}
  void OnEngineEvent(EngineEvent) override {}
  ScreenRect WorkArea() override { return {0, 0, 1024, 768}; }
};

}  // namespace quilla
