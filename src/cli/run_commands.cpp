#include "cli/run_commands.h"

#include <cstring>
#include <string_view>

#include "editor/editing.h"
#include "editor/perform.h"
#include "editor/replay.h"
#include "editor/selection_list.h"
#include "files/file_reader.h"
#include "manip/manipulations.h"
#include "mathobj/constructors.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/document.h"
#include "notebook/expression_writer.h"
#include "notebook/notebook_record.h"
#include "notebook/outline.h"
#include "notebook/popups.h"
#include "notebook/propositions.h"
#include "platform/headless_platform.h"
#include "shell/charset.h"
#include "shell/failure.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox::cli {
namespace {

struct Operation {
  const char* name;
  int32_t number;
};
constexpr Operation kOperations[] = {
    {"simplify", kManipSimplify},       {"expand", kManipExpand},
    {"miniexpand", kManipMiniExpand},   {"collect", kManipCollect},
    {"factor", kManipFactor},           {"calculate", kManipCalculate},
    {"uncalculate", kManipUnCalculate}, {"commute", kManipCommute},
    {"transform", kManipTransform},
};

int Usage(const char* problem) {
  std::fprintf(stderr, "lemmabox-cli: %s\n", problem);
  return 2;
}

int Failed(MessageNumber n) {
  std::fprintf(stderr, "%s\n", ProgramTextToUtf8(MessageText(n)).c_str());
  return 2;
}

// A headless notebook in front that knows the predefined names, as a new
// notebook does, and the names of --declare.
class Session {
 public:
  Session() {
    SetCurrentPlatform(&platform_);
    notebook_ = NewNotebook();
    SetCurrentNotebook(notebook_);
    for (const PredefinedName& builtIn : PredefinedNames()) {
      Handle decl = NewNameDecl(NewUndeclaredName(builtIn.spelling), builtIn.Class());
      SetDeclBehaviour(decl, BehaviourItemForKey(builtIn.key));
      InsertProp(decl, notebook_, ObjCount(notebook_), 0);
    }
    // Files are read with operators climbing over exponents and fractions;
    // so is the command line.
    NotebookRecordOf(notebook_).prefs.fortranish = 1;
    view_ = OpenNotebookView(notebook_);
  }
  ~Session() {
    CloseNotebookView(view_);
    CloseNotebook(notebook_);
    SetCurrentPlatform(nullptr);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // "a:c,f:f": false for a malformed list.
  bool Declare(std::string_view names) {
    while (!names.empty()) {
      const size_t comma = names.find(',');
      std::string_view item = names.substr(0, comma);
      names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
      const size_t colon = item.find(':');
      if (colon == 0 || colon == std::string_view::npos || colon + 2 != item.size()) return false;
      // The class letters are those of the file format.
      const std::optional<NameClass> nameClass = NameClassOfLetter(item.back());
      if (!nameClass) return false;
      const std::string name = Utf8ToProgramText(item.substr(0, colon), '?');
      if (name.size() >= kTextFieldSize) return false;
      InsertProp(NewNameDecl(NewUndeclaredName(name.c_str()), *nameClass), notebook_,
                 ObjCount(notebook_), 0);
    }
    return true;
  }

  // Types the expression as a new assumption; the failure's message, or 0.
  MessageNumber Type(const std::string& utf8) {
    DeclarationPass(notebook_, false);
    const std::string text = Utf8ToProgramText(utf8, '?');
    return CatchFailure([&] {
      RunCommand(*view_, false, [&] { ReplayScript(text); });
      CommitPendingEdits();
    });
  }

  Handle Last() const {
    Handle last = nullptr;
    for (int i = FirstProp(notebook_); i < ObjCount(notebook_); ++i) {
      Handle prop = ObjSlot(notebook_, i);
      if (prop != nullptr && IsAssumptionOrConclusion(ObjType(prop))) last = prop;
    }
    return last;
  }

  size_t Alerts() const { return platform_.boxes.size(); }
  void ReportAlertsSince(size_t seen) const {
    for (size_t i = seen; i < platform_.boxes.size(); ++i)
      std::fprintf(stderr, "%s\n", platform_.boxes[i].text.c_str());
  }
  NotebookView& View() { return *view_; }

 private:
  HeadlessPlatform platform_;
  Handle notebook_ = nullptr;
  NotebookView* view_ = nullptr;
};

// The expression of the arguments after the options; "" when there is none.
std::string JoinRest(const std::vector<std::string>& words) {
  std::string joined;
  for (const std::string& word : words) {
    if (!joined.empty()) joined += ' ';
    joined += word;
  }
  return joined;
}

int Manipulate(int32_t number, const std::string& declare, const std::string& expression) {
  if (expression.empty()) return Usage("no expression given");
  Session session;
  if (!declare.empty() && !session.Declare(declare))
    return Usage("bad --declare list (NAME:CLASS,... with the classes c v m d f)");
  const size_t alertsBefore = session.Alerts();
  if (MessageNumber failure = session.Type(expression)) return Failed(failure);
  Handle source = session.Last();
  if (source == nullptr || StatementOf(source) == nullptr) return Usage("nothing to manipulate");
  const size_t typed = session.Alerts();
  if (typed != alertsBefore) {
    session.ReportAlertsSince(alertsBefore);
    return 2;
  }
  const bool relation = IsRelationType(ObjType(StatementOf(source)));
  session.View().selections = {{StatementOf(source), kPosWhole}};
  if (MessageNumber failure = CatchFailure([&] { RunManipulationCommand(number); }))
    return Failed(failure);
  // Alerts that did not stop the manipulation are told, not fatal.
  session.ReportAlertsSince(typed);
  Handle result = session.Last();
  Handle shown = StatementOf(result);
  if (result != source && !relation && ObjCount(shown) == 2) shown = ObjSlot(shown, 1);
  std::printf("%s\n", ProgramTextToUtf8(ExpressionScript(shown)).c_str());
  return 0;
}

// Splits off --op and --declare; the rest is the expression.
struct Options {
  std::string op;
  std::string declare;
  std::vector<std::string> rest;
  const char* problem = nullptr;
};
Options ParseOptions(const std::vector<std::string>& args, bool wantOp) {
  Options options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if ((arg == "--op" && wantOp) || arg == "--declare") {
      if (i + 1 >= args.size()) {
        options.problem = "an option lacks its value";
        return options;
      }
      (arg == "--op" ? options.op : options.declare) = args[++i];
    } else {
      options.rest.push_back(arg);
    }
  }
  return options;
}

}  // namespace

std::string OperationNames() {
  std::string names;
  for (const Operation& operation : kOperations) {
    if (!names.empty()) names += ' ';
    names += operation.name;
  }
  return names;
}

int RunOpCommand(const std::vector<std::string>& args) {
  Options options = ParseOptions(args, true);
  if (options.problem != nullptr) return Usage(options.problem);
  for (const Operation& operation : kOperations) {
    if (options.op == operation.name)
      return Manipulate(operation.number, options.declare, JoinRest(options.rest));
  }
  return Usage(options.op.empty() ? "run needs --op NAME" : "unknown operation");
}

int EvalCommand(const std::vector<std::string>& args) {
  Options options = ParseOptions(args, false);
  if (options.problem != nullptr) return Usage(options.problem);
  return Manipulate(kManipCalculate, options.declare, JoinRest(options.rest));
}

}  // namespace lemmabox::cli
