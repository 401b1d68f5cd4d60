// lemmabox-cli: the notebook engine without windows.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/run_commands.h"
#include "core/registration.h"
#include "shell/stack_check.h"

namespace {

void PrintHelp() {
  std::printf(
      "lemmabox-cli %s: the Lemmabox notebook engine on the command line\n"
      "\n"
      "usage: lemmabox-cli --help | --version\n"
      "\n"
      "The manipulation, calculation and notebook commands arrive as their\n"
      "engines are completed; this build offers none of them yet.\n",
      lemmabox::LemmaboxVersion());
}

}  // namespace

int main(int argc, char** argv) {
  lemmabox::RecordStackBase();
  lemmabox::RegisterCore();
  if (argc >= 2) {
    const std::string command = argv[1];
    const std::vector<std::string> rest(argv + 2, argv + argc);
    if (command == "run") return lemmabox::cli::RunOpCommand(rest);
    if (command == "eval") return lemmabox::cli::EvalCommand(rest);
    if (command == "check") return lemmabox::cli::CheckCommand(rest);
  }
  if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("lemmabox-cli %s\n", lemmabox::LemmaboxVersion());
    return 0;
  }
  PrintHelp();
  return argc >= 2 && std::strcmp(argv[1], "--help") != 0 ? 2 : 0;
}
