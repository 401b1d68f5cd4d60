#include "editor/perform.h"

#include "editor/clipboard.h"
#include "editor/comment_editing.h"
#include "editor/editing.h"
#include "editor/editor_hooks.h"
#include "editor/undo.h"
#include "mathobj/optables.h"
#include "notebook/notebook_record.h"
#include "notebook/outline.h"
#include "shell/charset.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

// Two question marks of one object cannot be deleted one by one in a single
// command: deleting the first reshapes the object under the second.
void CheckQuestionMarksApart(const std::vector<Selection>& records) {
  for (size_t i = 0; i < records.size(); ++i) {
    Handle a = records[i].obj;
    if (a == nullptr || ObjType(a) != '?' || ObjParent(a) == nullptr) continue;
    for (size_t j = i + 1; j < records.size(); ++j) {
      Handle b = records[j].obj;
      if (b != nullptr && b != a && ObjType(b) == '?' && ObjParent(b) == ObjParent(a))
        Raise(kMsgQuestionMarksTooClose);
    }
  }
}

bool EnterMakesComment(Handle notebook) {
  NotebookRecord* record = NotebookRecordFor(notebook);
  return record != nullptr && record->prefs.enterKeys.returnKey == kCmdNewComment;
}

void DispatchKey(KeyContext& context) {
  gKeyTable.Entry(ObjType(context.selection.obj))(context);
}

// Nothing selected: Return and Enter make new propositions; a code that
// types something goes into a new one.
void ApplyWithoutSelection(NotebookView& view, CommandCode code) {
  KeyContext context{{nullptr, kPosWhole}, code};
  if (Navigate(context)) return;
  if (!TypesSomething(code)) return;
  if (EnterMakesComment(view.notebook)) {
    Handle comment = gCommentEditor.newComment();
    InsertAfter(comment, nullptr);
    Caret(comment, kPosWhole);
    gCommentEditor.begin(comment, code);
    return;
  }
  Handle assumption = NewAssumptionAfter(nullptr);
  view.selections.clear();
  context.selection = {ObjSlot(assumption, 0), kPosWhole};
  DispatchKey(context);
}

// Keeps what a failing command had not reached yet, so the user's
// selection survives the alert.
void KeepUnreached(NotebookView& view, const std::vector<Selection>& records, size_t failed) {
  for (size_t j = failed; j < records.size(); ++j) {
    const Selection& record = records[j];
    if (record.obj == nullptr) continue;
    bool present = false;
    for (const Selection& s : view.selections) present = present || s.obj == record.obj;
    if (!present && static_cast<int>(view.selections.size()) < kMaxSelections)
      view.selections.push_back(record);
  }
}

void ApplyToSelections(NotebookView& view, CommandCode code) {
  DropStaleSelections();
  if (view.selections.empty()) {
    ApplyWithoutSelection(view, code);
    return;
  }
  std::vector<Selection> records = view.selections;
  PendingSelections watch(records);
  view.selections.clear();
  size_t i = 0;
  try {
    for (; i < records.size(); ++i) {
      if (records[i].obj == nullptr) continue;
      KeyContext context{records[i], code};
      DispatchKey(context);
      CheckInterrupt();
    }
  } catch (const Failure&) {
    KeepUnreached(view, records, i);
    DropStaleSelections();
    throw;
  }
  DropStaleSelections();
}

// Restores the command state when a command ends, also by a failure, so
// that a paste's nested steps leave the paste's own state behind them.
class CommandScope {
 public:
  CommandScope() : saved_(Command()) {}
  ~CommandScope() { Command() = saved_; }
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;

 private:
  CommandState saved_;
};

void Finish(NotebookView& view) {
  CommandState& state = Command();
  StopUndoRecording();
  if (state.refresh && view.notebook != nullptr) gEditorHooks.refreshNotebook(view.notebook);
  state.refresh = false;
  if (state.scroll) {
    state.scroll = false;
    if (Selection primary = PrimarySelection(); primary.obj != nullptr)
      gEditorHooks.scrollIntoView(primary);
  }
}

void IndentSelectedRows(bool right) {
  std::vector<Handle> objects;
  for (const Selection& record : SelectionList())
    if (record.obj != nullptr) objects.push_back(record.obj);
  if (right) {
    IndentRight(objects);
  } else {
    IndentLeft(objects);
  }
}

// One code applied to every record.
void ApplyCode(NotebookView& view, CommandCode code) {
  if (IsDeleteCode(code)) CheckQuestionMarksApart(view.selections);
  StartOperatorTracking();
  ApplyToSelections(view, TranslateCode(code));
  CommitEdits(view, false);
}

}  // namespace

void RunCommand(NotebookView& view, bool defer, const std::function<void()>& body) {
  CommandScope scope;
  CommandState& state = Command();
  Handle notebook = view.notebook;
  state.view = &view;
  NotebookRecord* record = NotebookRecordFor(notebook);
  state.fortranish = record != nullptr && record->prefs.fortranish != 0;
  const bool few = view.selections.size() < 4;
  state.recording = few;
  state.immediate = few && !defer;
  state.refresh = false;
  state.scroll = false;
  gEditorHooks.setBusy(notebook, true);
  StartUndoRecord(few);
  try {
    body();
  } catch (const Failure&) {
    Finish(view);
    gEditorHooks.setBusy(notebook, false);
    throw;
  }
  Finish(view);
  gEditorHooks.setBusy(notebook, false);
}

CommandCode NormaliseCode(CommandCode code) {
  if ((code & 0xFF00) == kCmdTemplateTypedCharBase) return kCmdTypeCharBase + (code & 0xFF);
  switch (code) {
    case kCmdTemplatePower:
    case kCmdTemplatePowerVariant:
      return TypeCharCommand('^');
    case kCmdTemplateSubscript:
    case kCmdTemplateSubscriptVariant:
      return TypeCharCommand('_');
    case kCmdTemplateAbsoluteValue:
      return TypeCharCommand('|');
    case kCmdTemplateParentheses:
      return TypeCharCommand('(');
    case kCmdTemplateMinus:
      return TypeCharCommand('-');
    default:
      return code;
  }
}

CommandCode TranslateCode(CommandCode code) {
  if ((code & 0xFF00) == kCmdTypeCharBase) return code & 0xFF;
  if (code == kCmdInsertCapitalEta) return kCharHBar;
  if ((code & 0xFF00) == kCmdSymbolCharBase) {
    if (uint8_t letter = GreekForSymbolCode(static_cast<uint8_t>(code & 0xFF))) return letter;
  }
  return code;
}

void PerformEditorCode(CommandCode code) {
  NotebookView* view = FrontView();
  if (view == nullptr || view->notebook == nullptr) return;
  if (gCommentEditor.editing()) {
    gCommentEditor.perform(code);
    return;
  }
  code = NormaliseCode(code);
  // Styles, colours and fonts belong to comment text alone.
  if (IsCommentOnlyCode(code)) {
    PerformOnSelectedComments(code);
    return;
  }
  switch (code) {
    case kCmdCopy:
      CopySelection();
      return;
    case kCmdCopyAsPicture:
      CopySelectionAsPicture();
      return;
    case kCmdPaste:
      PasteClipboard();
      return;
    case kCmdCut:
      CopySelection();
      break;  // and deleted as Backspace deletes
    case kCmdIndentLeft:
    case kCmdIndentRight:
      // Rows move once however many of their parts are selected.
      RunCommand(*view, false, [&] { IndentSelectedRows(code == kCmdIndentRight); });
      return;
    default:
      break;
  }
  RunCommand(*view, false, [&] { ApplyCode(*view, code); });
}

void ReplayCode(CommandCode code) {
  NotebookView* view = FrontView();
  if (view == nullptr || view->notebook == nullptr) return;
  // A step of the command that replays: its state stays, with the bracket
  // boundaries off so that the script reads back as it was written.
  CommandScope scope;
  CommandState& state = Command();
  state.view = view;
  state.replay = true;
  state.fortranish = true;
  ApplyCode(*view, NormaliseCode(code));
}

void CommitPendingEdits() {
  NotebookView* view = FrontView();
  if (view == nullptr) return;
  CommandScope scope;
  Command().view = view;
  CommitEdits(*view, true);
}

}  // namespace lemmabox
