// Run-manipulation: from the selections to new conclusions.
#include "manip/driver.h"

#include <algorithm>

#include "editor/editing.h"
#include "editor/perform.h"
#include "editor/selection_list.h"
#include "editor/undo.h"
#include "manip/selection_paths.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/encode.h"
#include "mathobj/equivalence.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/knowledge.h"
#include "notebook/notebook_hooks.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"
#include "platform/platform.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

// A proposition the command derives from, and the conclusion made for it.
struct Source {
  Handle source = nullptr;
  Handle conclusion = nullptr;
  bool relation = false;  // the source's statement was a relation
};

// One selection and the source it belongs to (-1: worked on in place).
struct Record {
  Selection selection;
  int source = -1;
};

struct DriverState {
  bool inPlace = false;
  std::vector<Source> sources;
  std::vector<Handle> inPlaceProps;
};
DriverState gDriver;

// The driver's state lives for one command.
class DriverScope {
 public:
  explicit DriverScope(bool inPlace) {
    gDriver = DriverState{};
    gDriver.inPlace = inPlace;
    ClearRemembered();
    ResetAnswerWord();
  }
  ~DriverScope() {
    gDriver = DriverState{};
    ClearRemembered();
    ResetAnswerWord();
  }
  DriverScope(const DriverScope&) = delete;
  DriverScope& operator=(const DriverScope&) = delete;
};

// The conclusion whose contingencies grow while one selection is worked on.
class ContingencyTargetScope {
 public:
  explicit ContingencyTargetScope(Handle prop) { SetContingencyTarget(prop); }
  ~ContingencyTargetScope() { ClearContingencyTarget(); }
  ContingencyTargetScope(const ContingencyTargetScope&) = delete;
  ContingencyTargetScope& operator=(const ContingencyTargetScope&) = delete;
};

Handle TheoryOf(Handle prop) {
  for (Handle h = ObjParent(prop); h != nullptr; h = ObjParent(h))
    if (IsTheoryType(ObjType(h))) return h;
  return nullptr;
}

bool Encloses(Handle outer, Handle inner) {
  for (Handle h = inner; h != nullptr; h = ObjParent(h))
    if (h == outer) return true;
  return false;
}

bool IsRelationStatement(Handle prop) {
  Handle statement = StatementOf(prop);
  return statement != nullptr && IsRelationType(ObjType(statement));
}

// Lays out and redraws a changed object now, or leaves it for the redraw
// of the whole window at the end of the command.
void ShowChanged(Handle obj) {
  CommandState& state = Command();
  if (state.immediate) {
    gEncodeHooks.relayout(obj);
    gNotebookDisplay.redraw(GetObjProp(obj));
  } else {
    gEncodeHooks.invalidateSizes(obj);
    state.refresh = true;
  }
}

// The new conclusion for one source: a copy of it whose chain starts with a
// copy step, placed after the source's outline group one level deeper (or at
// the end of an inner theory that an extra contingency lives in).
Handle MakeNewConclusion(Source& s, std::span<const Handle> extras) {
  Handle source = s.source;
  Handle conclusion = DupObj(source);
  SetWorkingBit(conclusion, false);
  ClearFlag(conclusion, kFlagCollapsed | kFlagLocked);
  s.relation = IsRelationStatement(source);
  if (!s.relation) {
    // A manipulated expression becomes an equation between its old and
    // new forms.
    Handle statement = TakeSlot(conclusion, 0);
    if (statement == nullptr) statement = NewQuestionMark();
    PutSlot(conclusion, 0, NewEquation(statement, DupObj(statement)));
  }
  MakeConclusion(conclusion, source);
  const ManipulationSettings& settings = CurrentManipulationSettings();
  AppendDerivationStep(conclusion,
                       NewDerivationStep(s.relation ? kStepCopyRelation : kStepCopyExpression,
                                         settings.autoSimplify, settings.autoCasing, 0, {}));
  Handle sourceTheory = TheoryOf(source);
  Handle target = sourceTheory;
  for (Handle extra : extras) {
    if (extra == nullptr || extra == source) continue;
    AddContingency(StmtRecord(conclusion).contingencies, extra);
    Handle theory = TheoryOf(extra);
    if (theory != nullptr && target != nullptr && Encloses(target, theory)) target = theory;
  }
  if (target == sourceTheory) {
    Handle rowStart = StartOfRowProp(source);
    if (HasFlag(rowStart, kFlagCollapsed) && !HasFlag(rowStart, kFlagLocked)) {
      const Handle rows[] = {rowStart};
      Expose(rows);
    }
    InsertAfter(conclusion, source, nullptr, 1);
  } else {
    InsertProp(conclusion, target, ObjCount(target), 0);
  }
  s.conclusion = conclusion;
  return conclusion;
}

// Where a selection in a source lies in its new conclusion.
Selection MoveIntoConclusion(const Selection& selection, const Source& s) {
  Handle statement = StatementOf(s.conclusion);
  Handle root = s.relation ? statement : ObjSlot(statement, 1);
  if (selection.obj == s.source)
    return s.relation ? Selection{s.conclusion, selection.position} : Selection{root, kPosWhole};
  Handle moved = CorrespondingPart(StatementOf(s.source), selection.obj, root);
  return moved != nullptr ? Selection{moved, selection.position} : selection;
}

// Where a selection in an unchanged conclusion lies in its source.
Selection MoveBack(const Selection& selection, const Source& s) {
  if (selection.obj == s.conclusion) return {s.source, selection.position};
  Handle statement = StatementOf(s.conclusion);
  Handle root = s.relation ? statement : ObjSlot(statement, 1);
  Handle back = CorrespondingPart(root, selection.obj, StatementOf(s.source));
  return back != nullptr ? Selection{back, selection.position} : Selection{s.source, kPosWhole};
}

void RemoveProposition(Handle prop) {
  Handle theory = ObjParent(prop);
  const int index = ObjSlotIndex(prop);
  gNotebookObserver.deleting(prop);
  DeleteSlots(theory, index, index + 1);
  gNotebookDisplay.relayoutRows(theory);
}

// Applies the manipulation to one selection and selects what it produced.
void ApplyToSelection(ManipulationFn fn, int32_t number, const Selection& selection) {
  Handle prop = GetObjProp(selection.obj);
  ContingencyTargetScope target(prop);
  LookupScopeGuard scope(TheoryOf(prop));
  const bool statementProp = IsAssumptionOrConclusion(ObjType(prop));
  try {
    if (selection.obj == prop) {
      // Only a statement can be manipulated as a whole; anything else is
      // just selected again.
      if (!statementProp || StatementOf(prop) == nullptr) {
        AppendSelection(prop, selection.position);
        return;
      }
      Handle copy = DupObj(StatementOf(prop));
      RememberPath(prop, prop, kPosWhole);
      Handle result = fn(copy);
      RecordStep(number, prop);
      PutSlot(prop, 0, result);
      ShowChanged(result);
      AppendSelection(result, kPosWhole);
      return;
    }
    if (!IsExpressionType(ObjType(selection.obj))) {
      AppendSelection(selection.obj, selection.position);
      return;
    }
    Handle part = ExtractPart(selection, true);
    if (part == nullptr) Raise(kMsgSelectSomethingSubstantial);
    if (statementProp) RememberPath(prop, selection.obj, selection.position);
    Handle result = fn(part);
    RecordStep(number, prop);
    const SplicedPart spliced = Splice(selection, result);
    ShowChanged(spliced.obj);
    AppendSelection(spliced.obj, spliced.position);
  } catch (const Failure&) {
    ClearRemembered();
    ResetAnswerWord();
    throw;
  }
}

// Nothing derived from a source: its conclusion goes again and the
// selections in it go back to the source. In-place changes reach what was
// derived from the propositions changed.
void FinishDerivation(NotebookView& view) {
  for (const Source& s : gDriver.sources) {
    if (s.conclusion == nullptr) continue;
    Handle statement = StatementOf(s.conclusion);
    Handle derived = s.relation ? statement : ObjSlot(statement, 1);
    if (!Equivalent(derived, StatementOf(s.source))) {
      gNotebookDisplay.redraw(s.conclusion);
      continue;
    }
    for (Selection& selection : view.selections) {
      if (selection.obj != nullptr && Encloses(s.conclusion, selection.obj))
        selection = MoveBack(selection, s);
    }
    RemoveProposition(s.conclusion);
  }
  for (Handle prop : gDriver.inPlaceProps) {
    if (IsWorkingStatement(prop) && IsAssumptionOrConclusion(ObjType(prop)))
      RefreshWorkingStatement(prop);
    gNotebookCascade.markDependents(prop);
    gNotebookDisplay.redraw(prop);
  }
}

void Derive(NotebookView& view, ManipulationFn fn, int32_t number, std::span<const Handle> extras,
            std::vector<Record>& records) {
  std::vector<Selection> saved = view.selections;
  PendingSelections watchSaved(saved);
  for (Handle prop : gDriver.inPlaceProps) {
    CheckNotLocked(prop);
    if (UndoRecording()) UndoSaveObj(prop);
  }
  for (Source& s : gDriver.sources) MakeNewConclusion(s, extras);
  std::vector<Selection> work;
  for (const Record& record : records) {
    work.push_back(record.source >= 0
                       ? MoveIntoConclusion(record.selection, gDriver.sources[record.source])
                       : record.selection);
  }
  PendingSelections watchWork(work);
  view.selections.clear();
  try {
    for (const Selection& selection : work) {
      if (selection.obj != nullptr) ApplyToSelection(fn, number, selection);
    }
  } catch (const Failure&) {
    view.selections.clear();
    for (const Selection& selection : saved)
      if (selection.obj != nullptr) view.selections.push_back(selection);
    FinishDerivation(view);
    throw;
  }
  FinishDerivation(view);
  if (gDriver.sources.size() > 1) Command().refresh = true;
}

}  // namespace

void RunManipulation(ManipulationFn fn, int32_t number, std::span<const Handle> extras) {
  NotebookView* view = FrontView();
  if (view == nullptr || view->notebook == nullptr) Raise(kMsgSelectFirst);
  CommitPendingEdits();
  DropStaleSelections();
  if (view->selections.empty()) Raise(kMsgSelectFirst);
  DriverScope scope(CurrentPlatform().AltKeyDown());

  // The propositions the selections lie in, before anything changes.
  std::vector<Record> records;
  for (const Selection& selection : view->selections) {
    Handle prop = GetObjProp(selection.obj);
    const TypeCode type = ObjType(prop);
    if (type == kTable || type == kDeclaration) Raise(kMsgNoManipulationHere);
    Record record{selection, -1};
    if (!gDriver.inPlace && IsAssumptionOrConclusion(type)) {
      auto found = std::find_if(gDriver.sources.begin(), gDriver.sources.end(),
                                [prop](const Source& s) { return s.source == prop; });
      record.source = static_cast<int>(found - gDriver.sources.begin());
      if (found == gDriver.sources.end()) gDriver.sources.push_back({prop, nullptr, false});
    } else if (std::find(gDriver.inPlaceProps.begin(), gDriver.inPlaceProps.end(), prop) ==
               gDriver.inPlaceProps.end()) {
      gDriver.inPlaceProps.push_back(prop);
    }
    records.push_back(record);
  }
  const bool many = gDriver.sources.size() > 1;
  RunCommand(*view, many, [&] { Derive(*view, fn, number, extras, records); });
}

bool ManipulatingInPlace() {
  return gDriver.inPlace;
}

}  // namespace lemmabox
