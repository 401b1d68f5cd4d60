#include "editor/notebook_commands.h"

#include <vector>

#include "editor/editing.h"
#include "editor/editor_hooks.h"
#include "editor/undo.h"
#include "notebook/declaration_pass.h"
#include "notebook/document.h"
#include "notebook/notebook_edits.h"
#include "notebook/outline.h"
#include "shell/commands.h"

namespace lemmabox {
namespace {

std::vector<Handle> SelectedObjects() {
  std::vector<Handle> objects;
  for (const Selection& record : SelectionList())
    if (record.obj != nullptr) objects.push_back(record.obj);
  return objects;
}

// Runs a model operation on the selected objects as one recorded command of
// the front view; without a notebook window there is nothing to act on.
template <class Operation>
void OnSelection(Operation&& operation) {
  NotebookView* view = FrontView();
  if (view == nullptr || view->notebook == nullptr) return;
  RunCommand(*view, false, [&] {
    DropStaleSelections();
    operation(SelectedObjects());
  });
}

// The whole-notebook commands work on the front notebook, or on the current
// one when no window shows it (the command-line tool).
template <class Operation>
void OnNotebook(Operation&& operation) {
  NotebookView* view = FrontView();
  if (view != nullptr && view->notebook != nullptr) {
    Handle notebook = view->notebook;
    RunCommand(*view, false, [&] { operation(notebook); });
    return;
  }
  if (Handle notebook = CurrentNotebook()) operation(notebook);
}

}  // namespace

void RegisterSelectionCommands() {
  using A = CommandAction;
  RegisterCommand(A::kUndo, [](int32_t) { UndoCommand(); });
  RegisterCommand(A::kInsertPageBreak, [](int32_t) {
    OnSelection([](const std::vector<Handle>& selected) { InsertPageBreak(selected); });
  });
  RegisterCommand(A::kInsertCaseTheory, [](int32_t) {
    OnSelection([](const std::vector<Handle>& selected) { InsertCaseTheory(selected); });
  });
  RegisterCommand(A::kInsertTransformRule, [](int32_t) {
    OnSelection([](const std::vector<Handle>& selected) { InsertTransformRules(selected); });
  });
  RegisterCommand(A::kInsertNameDecl, [](int32_t) {
    OnSelection([](const std::vector<Handle>& selected) {
      InsertNameDecl(selected);
      gEditorHooks.paletteNamesChanged();
    });
  });
  RegisterCommand(A::kInsertIndependenceDecl, [](int32_t) {
    OnSelection([](const std::vector<Handle>& selected) { InsertIndependenceDecl(selected); });
  });
  RegisterCommand(A::kCollapse, [](int32_t) {
    OnSelection([](const std::vector<Handle>& selected) { Collapse(selected); });
  });
  RegisterCommand(A::kExpose, [](int32_t) {
    OnSelection([](const std::vector<Handle>& selected) { Expose(selected); });
  });
  RegisterCommand(A::kLockProposition, [](int32_t) {
    OnSelection([](const std::vector<Handle>& selected) { LockProposition(selected); });
  });
  RegisterCommand(A::kMakeWorkingStmt, [](int32_t) {
    OnSelection([](const std::vector<Handle>& selected) { MakeWorkingStatements(selected); });
  });
  RegisterCommand(A::kStopWorkingStmt, [](int32_t) {
    OnSelection([](const std::vector<Handle>& selected) { StopWorkingStatements(selected); });
  });
  RegisterCommand(A::kCollapseAll, [](int32_t) { OnNotebook(&CollapseAll); });
  RegisterCommand(A::kExposeAll, [](int32_t) { OnNotebook(&ExposeAll); });
  RegisterCommand(A::kClarify, [](int32_t) { OnNotebook(&Clarify); });
}

}  // namespace lemmabox
