// quilla-cli: the engine without a window, for tests, benchmarks and scripts.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "cli/cli_commands.h"
#include "cli/headless_host.h"
#include "core/messages.h"
#include "formats/engine.h"

namespace quilla::cli {
int RunSettingsCommand(int argc, char** argv);
int RunInfoCommand(int argc, char** argv);
int RunConvertCommand(int argc, char** argv);
int RunEvalCommand(int argc, char** argv);

namespace {

const Command kCommands[] = {
    {"settings", "settings [--ini FILE] [--save]", RunSettingsCommand},
    {"info", "info FILE...", RunInfoCommand},
    {"convert", "convert [--ini FILE] [--set KEY=VALUE]... [--type N] [OPERATION]... INPUT OUTPUT", RunConvertCommand},
    {"eval", "eval EXPRESSION [X]...", RunEvalCommand},
    {nullptr, nullptr, nullptr},  // subcommands are listed above this end marker
};

int Usage() {
  std::fprintf(stderr, "usage: quilla-cli COMMAND [ARGS...]\ncommands:\n");
  for (const Command& c : kCommands)
    if (c.name) std::fprintf(stderr, "  %s\n", c.usage);
  return kUsage;
}

}  // namespace
}  // namespace quilla::cli

namespace quilla::cli {

// argv holds UTF-8 text on every platform.
int Main(int argc, char** argv) {
  HeadlessHost host;
  InstallHost(&host);
  if (argc < 2) return Usage();
  const Engine engine;
  if (!engine) {
    ShowNoMemory();
    return kFailed;
  }
  int status = -1;
  for (const Command& c : kCommands)
    if (c.name && std::strcmp(c.name, argv[1]) == 0) status = c.run(argc - 1, argv + 1);
  if (status < 0) {
    std::fprintf(stderr, "quilla-cli: unknown command '%s'\n", argv[1]);
    status = Usage();
  }
  return status;
}

}  // namespace quilla::cli

#ifndef _WIN32
int main(int argc, char** argv) { return quilla::cli::Main(argc, argv); }
#endif
