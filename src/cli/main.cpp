// quilla-cli: the engine without a window, for tests, benchmarks and scripts.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "cli/cli_commands.h"
#include "cli/headless_host.h"
#include "core/messages.h"

namespace quilla::cli {
int RunSettingsCommand(int argc, char** argv);
int RunInfoCommand(int argc, char** argv);
int RunConvertCommand(int argc, char** argv);

namespace {

const Command kCommands[] = {
    {"settings", "settings [--ini FILE] [--save]", RunSettingsCommand},
    {"info", "info FILE...", RunInfoCommand},
    {"convert", "convert [--ini FILE] [--set KEY=VALUE]... [--type N] [OPERATION]... INPUT OUTPUT", RunConvertCommand},
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

int main(int argc, char** argv) {
  using namespace quilla::cli;
  quilla::HeadlessHost host;
  quilla::InstallHost(&host);
  if (argc < 2) return Usage();
  for (const Command& c : kCommands)
    if (c.name && std::strcmp(c.name, argv[1]) == 0) return c.run(argc - 1, argv + 1);
  std::fprintf(stderr, "quilla-cli: unknown command '%s'\n", argv[1]);
  return Usage();
}
