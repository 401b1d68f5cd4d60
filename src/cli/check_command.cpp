#include <string>

#include "cascade/cascade.h"
#include "cli/run_commands.h"
#include "notebook/derivation.h"
#include "notebook/expression_writer.h"
#include "notebook/propositions.h"
#include "shell/charset.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox::cli {
namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

int CheckNotebook(Handle notebook, std::FILE* out) {
  int failed = 0;
  for (const ConclusionCheck& check : RederiveNotebook(notebook)) {
    std::string label = Trimmed(ConclusionLabel(check.conclusion));
    if (label.empty()) label = "(copy)";
    std::string state = "fresh";
    if (check.error != 0) {
      state = ProgramTextToUtf8(MessageText(check.error));
      ++failed;
    } else if (check.stale) {
      state = "stale (waiting for a question mark to be filled in)";
      ++failed;
    }
    std::fprintf(out, "%s: %s: %s\n", label.c_str(),
                 ProgramTextToUtf8(ExpressionScript(StatementOf(check.conclusion))).c_str(),
                 state.c_str());
  }
  return failed != 0 ? 1 : 0;
}

int CheckCommand(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "lemmabox-cli: check needs one notebook file\n");
    return 2;
  }
  // Opening a notebook file needs the file reader.
  std::fprintf(stderr, "%s\n", ProgramTextToUtf8(MessageText(kMsgUnimplemented)).c_str());
  return 2;
}

}  // namespace lemmabox::cli
