// lemmabox-cli: the notebook engine without windows.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/run_commands.h"
#include "core/registration.h"
#include "shell/stack_check.h"

namespace {

void PrintHelp(std::FILE* out) {
  std::fprintf(out,
               "lemmabox-cli %s: the Lemmabox notebook engine on the command line\n"
               "\n"
               "usage:\n"
               "  lemmabox-cli run --op NAME [--declare NAMES] EXPR\n"
               "      one manipulation of the whole expression, the result printed;\n"
               "      NAME is one of: %s\n"
               "  lemmabox-cli eval [--declare NAMES] EXPR\n"
               "      Calculate the expression and print its value\n"
               "  lemmabox-cli check NOTEBOOK\n"
               "      open a notebook, derive every conclusion again and print one line\n"
               "      for each: its label, its statement and how it came out\n"
               "  lemmabox-cli convert IN OUT\n"
               "      read notebook IN and write it as OUT: a notebook (.axn .axp .axs\n"
               "      .txt), a picture of the whole notebook (.eps) or a one-page\n"
               "      PostScript document (.ps); OUT is never the input file\n"
               "  lemmabox-cli --help | --version\n"
               "\n"
               "Expressions are typed as on the keyboard: x^2+2*x, sqrt(a+b), f(x)/2.\n"
               "NAMES declares names, as in a:c,f:f, with the classes c (constant),\n"
               "v (variable), m (M-linear operator), d (D-linear operator) and\n"
               "f (function). Other names are declared as they are met: a variable, or a\n"
               "function before a parenthesised argument; π (or 'p), e, i, sin, ln and the other\n"
               "predefined names keep their predefined meaning.\n"
               "\n"
               "Exit status: 0 success; 1 check found conclusions that cannot be derived\n"
               "again; 2 the input could not be used (the reason on stderr).\n",
               lemmabox::LemmaboxVersion(), lemmabox::cli::OperationNames().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  lemmabox::RecordStackBase();
  lemmabox::RegisterCore();
  if (argc < 2) {
    PrintHelp(stderr);
    return 2;
  }
  const std::string command = argv[1];
  const std::vector<std::string> rest(argv + 2, argv + argc);
  if (command == "run") return lemmabox::cli::RunOpCommand(rest);
  if (command == "eval") return lemmabox::cli::EvalCommand(rest);
  if (command == "check") return lemmabox::cli::CheckCommand(rest);
  if (command == "convert") return lemmabox::cli::ConvertCommand(rest);
  if (command == "--version") {
    std::printf("lemmabox-cli %s\n", lemmabox::LemmaboxVersion());
    return 0;
  }
  if (command == "--help" || command == "-h") {
    PrintHelp(stdout);
    return 0;
  }
  std::fprintf(stderr, "lemmabox-cli: unknown command \"%s\" (see lemmabox-cli --help)\n",
               command.c_str());
  return 2;
}
