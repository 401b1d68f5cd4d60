#include "cascade/cascade_commands.h"

#include <utility>
#include <vector>

#include "cascade/cascade.h"
#include "editor/editing.h"
#include "editor/selection_list.h"
#include "editor/undo.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/notebook_edits.h"
#include "notebook/notebook_hooks.h"
#include "notebook/notebook_record.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

NotebookView& ViewOrRaise(MessageNumber message) {
  NotebookView* view = FrontView();
  if (view == nullptr || view->notebook == nullptr) Raise(message);
  DropStaleSelections();
  return *view;
}

std::vector<Handle> SelectedPropositions(const NotebookView& view) {
  std::vector<Handle> objects;
  for (const Selection& selection : view.selections)
    if (selection.obj != nullptr) objects.push_back(selection.obj);
  return PropositionsOf(objects);
}

void KeepForUndo(Handle prop) {
  if (UndoRecording()) UndoSaveObj(prop);
}

// The parts of a statement record that a Divert exchanges.
void ExchangeDerivations(Handle a, Handle b) {
  StatementRecord& ra = StmtRecord(a);
  StatementRecord& rb = StmtRecord(b);
  std::swap(ra.contingencies, rb.contingencies);
  std::swap(ra.chain, rb.chain);
  std::swap(ra.error, rb.error);
  const uint8_t kExchanged = kStateStale | kStateWorking;
  const uint8_t sa = ra.state & kExchanged;
  const uint8_t sb = rb.state & kExchanged;
  ra.state = static_cast<uint8_t>((ra.state & ~kExchanged) | sb);
  rb.state = static_cast<uint8_t>((rb.state & ~kExchanged) | sa);
  Handle statementA = TakeSlot(a, 0);
  Handle statementB = TakeSlot(b, 0);
  PutSlot(a, 0, statementB);
  PutSlot(b, 0, statementA);
}

}  // namespace

void ReManipulateNowCommand() {
  NotebookView* view = FrontView();
  Handle notebook = view != nullptr ? view->notebook : CurrentNotebook();
  QueueAllStale(notebook);
}

void BreakCascadeAboveCommand() {
  NotebookView& view = ViewOrRaise(kMsgNoCascadeToBreak);
  if (view.selections.empty()) Raise(kMsgNoCascadeToBreak);
  RunCommand(view, false, [&] {
    Handle other = nullptr;
    for (Handle prop : SelectedPropositions(view)) {
      if (ObjType(prop) != kConclusion) {
        if (other == nullptr) other = prop;
        continue;
      }
      KeepForUndo(prop);
      ConclusionToAssumption(prop);
      gNotebookDisplay.redraw(prop);
    }
    if (other != nullptr) {
      ClearSelection();
      AppendSelection(other, kPosWhole);
      Raise(kMsgNoCascadeToBreak);
    }
  });
}

void BreakCascadeBelowCommand() {
  NotebookView& view = ViewOrRaise(kMsgNoCascadeToBreak);
  if (view.selections.empty()) Raise(kMsgNoCascadeToBreak);
  RunCommand(view, false, [&] {
    for (Handle prop : SelectedPropositions(view)) MarkDependents(view.notebook, prop, true);
  });
}

void DivertCascadeCommand() {
  NotebookView& view = ViewOrRaise(kMsgSelectTwoEquations);
  if (view.selections.size() != 2) Raise(kMsgSelectTwoEquations);
  Handle a = GetObjProp(view.selections[0].obj);
  Handle b = GetObjProp(view.selections[1].obj);
  if (a == b || !IsAssumptionOrConclusion(ObjType(a)) || !IsAssumptionOrConclusion(ObjType(b)) ||
      ObjParent(a) != ObjParent(b))
    Raise(kMsgSelectTwoEquations);
  if (ContingencyIndex(ContingenciesOf(a), b) >= 0 || ContingencyIndex(ContingenciesOf(b), a) >= 0)
    Raise(kMsgSelfDerivation);
  RunCommand(view, true, [&] {
    KeepForUndo(a);
    KeepForUndo(b);
    for (Handle prop : {a, b})
      if (ObjType(prop) == kAssumption) MakeConclusion(prop, nullptr);
    ExchangeDerivations(a, b);
    ClearSelection();
    std::vector<Handle> failed;
    for (Handle prop : {a, b}) {
      if (ErrorNumber(prop) != 0) {
        failed.push_back(prop);
        continue;
      }
      if (StmtRecord(prop).chain == nullptr) ConclusionToAssumption(prop);
      gNotebookDisplay.redraw(prop);
      MarkDependents(view.notebook, prop, false);
      AppendSelection(prop, kPosWhole);
    }
    // Deleting takes the outline group along, which may hold the other one:
    // that comes last.
    if (!failed.empty()) DeletePropositions(failed);
    RefreshKnowledge(view.notebook);
    Command().refresh = true;
  });
}

void RedoConclusion(Handle conclusion) {
  if (conclusion == nullptr || ObjType(conclusion) != kConclusion) return;
  if (!IsStale(conclusion) && ErrorNumber(conclusion) == 0) return;
  SetStale(conclusion, true);
  QueueReManipulate(conclusion);
}

}  // namespace lemmabox
