#include "editor/registration.h"

#include "editor/comment_editing.h"
#include "editor/editing.h"
#include "editor/editor_hooks.h"
#include "editor/notebook_commands.h"
#include "editor/perform.h"
#include "editor/selection_list.h"
#include "editor/undo.h"
#include "mathobj/encode.h"
#include "notebook/expression_writer.h"
#include "notebook/notebook_hooks.h"
#include "shell/commands.h"

namespace lemmabox {
namespace {

// The model also changes notebooks outside recorded commands (reading a
// file, the cascade at idle time); only a recorded command's changes count.
void Inserted(Handle prop) {
  if (UndoRecording()) UndoRegisterInsertion(prop);
}

void Deleting(Handle prop) {
  if (UndoRecording()) UndoRegisterDeletion(prop);
}

void SavingSlot(Handle parent, int index) {
  if (UndoRecording()) UndoSaveSlot(parent, index);
}

bool IsSelected(Handle obj) {
  for (const Selection& record : SelectionList())
    if (record.obj == obj) return true;
  return false;
}

// Selections the model or the Undo record ask for; without a window there
// is nothing to select.
void SelectAlso(Handle obj) {
  if (FrontView() == nullptr || obj == nullptr || IsSelected(obj)) return;
  if (SelectionList().size() < static_cast<size_t>(kMaxSelections)) AppendSelection(obj, kPosWhole);
}

void SelectOnly(Handle obj) {
  if (FrontView() == nullptr) return;
  ClearSelection();
  SelectAlso(obj);
}

std::span<Selection> FrontSelections() {
  return SelectionList();
}

UndoOwner FrontWindow() {
  return FrontView();
}

void RelayoutObj(Handle obj) {
  if (obj != nullptr) gEncodeHooks.relayout(obj);
}

void UpdateWindow(UndoOwner owner) {
  auto* view = static_cast<const NotebookView*>(owner);
  if (view != nullptr && view->notebook != nullptr) gEditorHooks.refreshNotebook(view->notebook);
}

void SetBusy(UndoOwner owner, bool busy) {
  auto* view = static_cast<const NotebookView*>(owner);
  if (view != nullptr && view->notebook != nullptr) gEditorHooks.setBusy(view->notebook, busy);
}

void InstallHooks() {
  gNotebookObserver.inserted = &Inserted;
  gNotebookObserver.deleting = &Deleting;
  gNotebookObserver.savingSlot = &SavingSlot;

  gNotebookDisplay.selectOnly = &SelectOnly;
  gNotebookDisplay.selectAlso = &SelectAlso;
  gNotebookDisplay.describe = &ExpressionScript;

  gEncodeHooks.selectionList = &FrontSelections;
  gEncodeHooks.selectName = &SelectAlso;

  gUndoHooks.frontWindow = &FrontWindow;
  gUndoHooks.clearSelection = &ClearSelection;
  gUndoHooks.selectRestored = &SelectAlso;
  gUndoHooks.redisplay = &RelayoutObj;
  gUndoHooks.reportChanged = [](Handle prop) { gEditorHooks.propositionChanged(prop); };
  gUndoHooks.endTransientMode = [] { gCommentEditor.end(); };
  gUndoHooks.setBusy = &SetBusy;
  gUndoHooks.updateWindow = &UpdateWindow;
}

}  // namespace

void RegisterEditor() {
  RegisterExpressionWriter();
  WatchDisposals();
  RegisterKeyEntries();
  InstallHooks();
  SetEditorCommandHook(&PerformEditorCode);
  RegisterSelectionCommands();
  RegisterCommentEditing();
}

}  // namespace lemmabox
