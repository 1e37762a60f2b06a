// A Host for unit tests: records every message, title, cursor and menu change, answers
// questions from a queue, counts the pumps of messages and runs a test-given action on them.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/host.h"
#include "core/messages.h"
#include "core/progress.h"

namespace quilla {

struct RecordedMessage {
  std::string text;
  std::string caption;
  MsgButtons buttons;
  MsgIcon icon;
};

class ScriptedHost : public Host {
 public:
  std::vector<RecordedMessage> messages;
  std::deque<MsgResult> answers;      // taken in order; empty answers Ok/Yes
  std::vector<std::string> titles;
  std::vector<int> busyMenus;         // menus shown, 0 = main menu restored
  std::vector<bool> busyStates;
  std::vector<EngineEvent> events;
  int waitCursorShows = 0, cursorRestores = 0;
  int pumps = 0;  // messages pumped or waited for
  // Runs on every pump, as if the user acted while an operation ran; return false to
  // deliver a quit message.
  std::function<bool()> onPump;

  // At the nth pump from now act runs, as the user's cancel or closing the window would.
  void AtPump(int n, std::function<void()> act) {
    pumps = 0;
    onPump = [this, n, act] {
      if (pumps == n) act();
      return true;
    };
  }
  void CancelAtPump(int n) { AtPump(n, RequestCancel); }

  MsgResult MessageBox(OwnerWindow, const std::string& text, const std::string& caption, MsgButtons buttons,
                       MsgIcon icon) override {
    messages.push_back({text, caption, buttons, icon});
    if (!answers.empty()) {
      MsgResult answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::Yes : MsgResult::Ok;
  }
  void SetWindowTitle(const std::string& title) override { titles.push_back(title); }
  bool PumpPendingMessages(const std::function<bool()>&) override { return Pump(); }
  bool WaitAndDispatchOneMessage() override { return Pump(); }
  void ShowWaitCursor() override { ++waitCursorShows; }
  void RestoreCursor() override { ++cursorRestores; }
  void ShowBusyMenu(int number) override { busyMenus.push_back(number); }
  void RestoreMainMenu() override { busyMenus.push_back(0); }
  void SetBusy(bool busy) override { busyStates.push_back(busy); }
  void OnEngineEvent(EngineEvent event) override { events.push_back(event); }
  ScreenRect WorkArea() override { return {0, 0, 1024, 768}; }

  std::string LastMessage() const { return messages.empty() ? std::string() : messages.back().text; }

 private:
  bool Pump() {
    ++pumps;
    return onPump ? onPump() : true;
  }
};

// A scripted host installed for as long as it lives, as a fixture's member.
class InstalledHost : public ScriptedHost {
 public:
  InstalledHost() { InstallHost(this); }
  ~InstalledHost() override { InstallHost(nullptr); }
  InstalledHost(const InstalledHost&) = delete;
};

}  // namespace quilla
