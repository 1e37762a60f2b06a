// The subcommands of quilla-cli. Each returns the process exit status: 0 success,
// 1 the work failed, 2 a usage error.
#pragma once

namespace quilla::cli {

inline constexpr int kOk = 0, kFailed = 1, kUsage = 2;

struct Command {
  const char* name;
  const char* usage;
  int (*run)(int argc, char** argv);  // argv[0] is the subcommand's name
};

}  // namespace quilla::cli
