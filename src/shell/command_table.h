// The command table, one row a command in command_rows.inc: its number, enabled rule and
// handler. It drives the dispatch of menu commands, accelerators and internal requests
// and the menu's enabled states. A command whose subsystem is not built has no handler:
// it is greyed and ignored.
#pragma once
#include <windows.h>

#include "core/commands.h"

namespace quilla {

// Handlers get the message's lParam and give the reply of a sent request.
using CommandHandler = LRESULT (*)(LPARAM lParam);
// Whether a menu item carries its check mark.
using CheckRule = bool (*)();

struct CommandEntry {
  int number;
  EnableRule rule;
  CommandHandler handler;
  CheckRule checked = nullptr;  // null: never checked
};

const CommandEntry* FindCommand(int number);
// Runs the handler when the command exists, has one and is enabled now.
LRESULT DispatchCommand(int number, LPARAM lParam);

// What the enabled rules see, read from the main document and the clipboard.
MenuContext CurrentMenuContext();
// Enables, greys and checks the main menu's items whose state changed; skipped while
// the interface is busy.
void UpdateMenuStates();

}  // namespace quilla
