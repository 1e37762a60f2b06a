// The number and enabled rule of every row of the shell's command table, read without
// Win32 (the handlers are left out).
#pragma once
#include "core/commands.h"

namespace quilla {

struct CommandRule {
  int number;
  EnableRule rule;
};

#define COMMAND(number, rule, ...) {cmd::number, EnableRule::rule},
inline constexpr CommandRule kCommandRules[] = {
#include "shell/command_rows.inc"
};
#undef COMMAND

// Null when the number has no row.
inline const CommandRule* FindCommandRule(int number) {
  for (const CommandRule& row : kCommandRules) {
    if (row.number == number) return &row;
  }
  return nullptr;
}

// Whether the command's rule lets it run in the context; false without a row.
inline bool RuleAllows(int number, const MenuContext& context) {
  const CommandRule* row = FindCommandRule(number);
  return row && IsEnabled(row->rule, context);
}

}  // namespace quilla
