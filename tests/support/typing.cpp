#include "support/typing.h"

#include <utility>

#include "core/registration.h"
#include "editor/clipboard.h"
#include "editor/perform.h"
#include "editor/undo.h"
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
#include "shell/charset.h"
#include "shell/commands.h"
#include "shell/interrupt.h"
#include "shell/string_cache.h"

namespace lemmabox::testing {
namespace {

struct NamedCommand {
  std::string_view name;
  CommandCode code;
};

constexpr NamedCommand kNamedCommands[] = {
    {"Return", kCmdNewAssumption},
    {"Enter", kCmdNewComment},
    {"Backspace", kCmdBackspace},
    {"Delete", kCmdClear},
    {"Tab", kCmdNextQuestionMark},
    {"End", kCmdCaretAfterOperand},
    {"Escape", kCmdCaretAfterOperand},
    {"Left", kCmdMoveLeft},
    {"Right", kCmdMoveRight},
    {"Up", kCmdMoveUp},
    {"Down", kCmdMoveDown},
    {"SelectIn", kCmdSelectIn},
    {"SelectOut", kCmdSelectOut},
    {"SelectAll", kCmdSelectAll},
    {"SelectFirst", kCmdSelectFirst},
    {"Undo", kCmdUndo},
    {"Cut", kCmdCut},
    {"Copy", kCmdCopy},
    {"Paste", kCmdPaste},
    {"NewRow", kCmdNewMatrixRow},
    {"NewColumn", kCmdNewMatrixColumn},
    {"IndentLeft", kCmdIndentLeft},
    {"IndentRight", kCmdIndentRight},
    {"RowColumnNumber", kCmdRowColumnNumber},
};

void CollectStatements(Handle container, std::vector<Handle>& out) {
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop == nullptr) continue;
    if (IsAssumptionOrConclusion(ObjType(prop))) out.push_back(prop);
    if (IsTheoryType(ObjType(prop))) CollectStatements(prop, out);
  }
}

void DeclareBuiltInNames(Handle notebook) {
  for (const PredefinedName& builtIn : PredefinedNames()) {
    Handle decl = NewNameDecl(NewUndeclaredName(builtIn.spelling), builtIn.Class());
    SetDeclBehaviour(decl, BehaviourItemForKey(builtIn.key));
    InsertProp(decl, notebook, ObjCount(notebook), 0);
  }
  DeclarationPass(notebook, false);
}

}  // namespace

CommandCode CommandNamed(std::string_view name) {
  for (const NamedCommand& command : kNamedCommands)
    if (command.name == name) return command.code;
  return 0;
}

TypingSession::TypingSession(TypingOptions options)
    : ownPlatform_(std::make_unique<HeadlessPlatform>()) {
  platform_ = ownPlatform_.get();
  Start(options);
}

TypingSession::TypingSession(HeadlessPlatform& platform, TypingOptions options)
    : platform_(&platform) {
  Start(options);
}

void TypingSession::Start(TypingOptions options) {
  RegisterCore();
  SetCurrentPlatform(platform_);
  ResetInterruptCheck();
  notebook_ = NewNotebook();
  NotebookRecordOf(notebook_).prefs.fortranish = options.fortranish ? 1 : 0;
  if (options.predefinedNames) DeclareBuiltInNames(notebook_);
  view_ = OpenNotebookView(notebook_);
  alertsSeen_ = platform_->boxes.size();
}

TypingSession::~TypingSession() {
  // Nothing of this notebook may stay behind in the Undo record.
  StartUndoRecord(false);
  CloseNotebookView(view_);
  CloseNotebook(notebook_);
  SetCurrentPlatform(nullptr);
}

TypingSession& TypingSession::Type(std::string_view script) {
  for (size_t i = 0; i < script.size(); ++i) {
    if (script[i] == '{') {
      const size_t close = script.find('}', i);
      if (close != std::string_view::npos) {
        if (CommandCode code = CommandNamed(script.substr(i + 1, close - i - 1))) {
          Press(code);
          i = close;
          continue;
        }
      }
    }
    Press(TypeCharCommand(static_cast<uint8_t>(script[i])));
  }
  return *this;
}

TypingSession& TypingSession::Press(CommandCode code) {
  SetFrontView(view_);
  PerformCommandCode(code);
  return *this;
}

TypingSession& TypingSession::Press(std::string_view name) {
  return Press(CommandNamed(name));
}

void TypingSession::Commit() {
  SetFrontView(view_);
  CommitPendingEdits();
}

std::string TypingSession::Written() {
  Commit();
  Handle statement = Statement();
  return statement != nullptr ? ExpressionScript(statement) : std::string();
}

std::vector<std::string> TypingSession::Statements() {
  Commit();
  std::vector<Handle> props;
  CollectStatements(notebook_, props);
  std::vector<std::string> texts;
  for (Handle prop : props) texts.push_back(ExpressionScript(StatementOf(prop)));
  return texts;
}

std::string TypingSession::WrittenSelection() {
  SetFrontView(view_);
  return SelectionScript();
}

Handle TypingSession::LastProposition() const {
  std::vector<Handle> props;
  CollectStatements(notebook_, props);
  return props.empty() ? nullptr : props.back();
}

Handle TypingSession::Statement() const {
  Handle prop = LastProposition();
  return prop != nullptr ? StatementOf(prop) : nullptr;
}

Selection TypingSession::Primary() const {
  return view_->selections.empty() ? Selection{} : view_->selections.front();
}

void TypingSession::Select(Handle obj, int32_t position) {
  SetFrontView(view_);
  view_->selections.clear();
  if (obj != nullptr) view_->selections.push_back({obj, position});
}

bool TypingSession::Alerted(MessageNumber n) const {
  const std::string text = ProgramTextToUtf8(MessageText(n));
  for (size_t i = alertsSeen_; i < platform_->boxes.size(); ++i)
    if (platform_->boxes[i].text.rfind(text, 0) == 0) return true;
  return false;
}

void TypingSession::ClearAlerts() {
  alertsSeen_ = platform_->boxes.size();
}

}  // namespace lemmabox::testing
