// The command-line tool's notebook commands: check and convert.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <string>

#include "cascade/cascade.h"
#include "cli/run_commands.h"
#include "editor/selection_list.h"
#include "files/file_kinds.h"
#include "files/file_reader.h"
#include "files/file_writer.h"
#include "layout/notebook_render.h"
#include "mathobj/slots.h"
#include "mathobj/types.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/expression_writer.h"
#include "notebook/propositions.h"
#include "platform/headless_platform.h"
#include "ports/output_sink.h"
#include "shell/charset.h"
#include "shell/failure.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox::cli {
namespace {

int Usage(const char* problem) {
  std::fprintf(stderr, "lemmabox-cli: %s\n", problem);
  return 2;
}

int Failed(MessageNumber n) {
  std::fprintf(stderr, "%s\n", ProgramTextToUtf8(MessageText(n)).c_str());
  return 2;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A notebook file read on the headless platform, shown in a view of its own
// (manipulations work on the front notebook). What the reader had to say
// (a file of another version, say) goes to stderr.
class OpenedNotebook {
 public:
  explicit OpenedNotebook(const std::string& path) {
    SetCurrentPlatform(&platform_);
    failure_ = CatchFailure([&] { notebook_ = ReadNotebookFile(path); });
    for (const MessageBoxRequest& box : platform_.boxes)
      std::fprintf(stderr, "%s\n", box.text.c_str());
    if (notebook_ == nullptr) return;
    SetCurrentNotebook(notebook_);
    view_ = OpenNotebookView(notebook_);
  }
  ~OpenedNotebook() {
    if (view_ != nullptr) CloseNotebookView(view_);
    if (notebook_ != nullptr) CloseNotebook(notebook_);
    SetCurrentPlatform(nullptr);
  }
  OpenedNotebook(const OpenedNotebook&) = delete;
  OpenedNotebook& operator=(const OpenedNotebook&) = delete;

  Handle notebook() const { return notebook_; }
  MessageNumber failure() const { return failure_; }

 private:
  HeadlessPlatform platform_;
  Handle notebook_ = nullptr;
  NotebookView* view_ = nullptr;
  MessageNumber failure_ = 0;
};

void CountPropositions(Handle container, std::map<std::string, int>& counts, int& total) {
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop == nullptr) continue;
    const char* name = TypeDisplayName(ObjType(prop));
    if (name == nullptr) name = ObjType(prop) == kScatterPlot ? "Scatter plot" : "Picture";
    ++counts[name];
    ++total;
    if (IsContainerType(ObjType(prop))) CountPropositions(prop, counts, total);
  }
}

// "welcome.axn: 14 propositions (5 Assumption, 2 Conclusion, ...)"
void PrintSummary(const std::string& path, Handle notebook, std::FILE* out) {
  std::map<std::string, int> counts;
  int total = 0;
  CountPropositions(notebook, counts, total);
  std::string kinds;
  for (const auto& [name, count] : counts) {
    if (!kinds.empty()) kinds += ", ";
    kinds += std::to_string(count) + " " + name;
  }
  std::fprintf(out, "%s: %d propositions%s%s%s\n", std::string(FileNamePart(path)).c_str(), total,
               kinds.empty() ? "" : " (", kinds.c_str(), kinds.empty() ? "" : ")");
}

std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  if (std::filesystem::equivalent(a, b, error)) return true;
  const auto canonicalA = std::filesystem::weakly_canonical(a, error);
  if (error) return false;
  const auto canonicalB = std::filesystem::weakly_canonical(b, error);
  return !error && canonicalA == canonicalB;
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
  if (args.size() != 1) return Usage("check needs one notebook file");
  OpenedNotebook opened(args[0]);
  if (opened.failure() != 0) return Failed(opened.failure());
  PrintSummary(args[0], opened.notebook(), stdout);
  int result = 0;
  if (MessageNumber failure =
          CatchFailure([&] { result = CheckNotebook(opened.notebook(), stdout); }))
    return Failed(failure);
  return result;
}

int ConvertCommand(const std::vector<std::string>& args) {
  if (args.size() != 2) return Usage("convert needs an input notebook and an output file");
  const std::string& in = args[0];
  const std::string& out = args[1];
  const std::string extension = LowerExtension(out);
  const bool eps = extension == ".eps";
  const bool postScript = extension == ".ps";
  const char kind = FileKindOfName(out);
  if (!eps && !postScript && !IsNotebookKind(kind) && kind != 't')
    return Usage("the output must be a notebook (.axn .axp .axs .txt), .eps or .ps");
  if (SameFile(in, out)) return Usage("the output would write over the input");
  OpenedNotebook opened(in);
  if (opened.failure() != 0) return Failed(opened.failure());
  MessageNumber failure = CatchFailure([&] {
    if (eps || postScript) {
      FileSink sink(out);
      NotebookRenderOptions options;
      options.postScript.title = std::string(FileNamePart(in));
      if (eps) {
        RenderNotebookEps(opened.notebook(), sink, options);
      } else {
        RenderNotebookPostScript(opened.notebook(), sink, options);
      }
      sink.Commit();
    } else {
      WriteNotebookFile(opened.notebook(), out);
    }
  });
  return failure != 0 ? Failed(failure) : 0;
}

}  // namespace lemmabox::cli
