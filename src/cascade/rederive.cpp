// Re-derive: replaying a conclusion's derivation chain on its sources as
// they are now.
#include <span>

#include "cascade/cascade.h"
#include "editor/selection_list.h"
#include "manip/driver.h"
#include "manip/manipulations.h"
#include "manip/selection_paths.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/encode.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/knowledge.h"
#include "notebook/notebook_hooks.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

bool Inside(Handle outer, Handle obj) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h))
    if (h == outer) return true;
  return false;
}

Handle TheoryOf(Handle prop) {
  for (Handle h = ObjParent(prop); h != nullptr; h = ObjParent(h))
    if (IsTheoryType(ObjType(h))) return h;
  return nullptr;
}

class ContingencyTargetScope {
 public:
  explicit ContingencyTargetScope(Handle prop) { SetContingencyTarget(prop); }
  ~ContingencyTargetScope() { ClearContingencyTarget(); }
  ContingencyTargetScope(const ContingencyTargetScope&) = delete;
  ContingencyTargetScope& operator=(const ContingencyTargetScope&) = delete;
};

void ReplaceStatement(Handle conclusion, Handle statement) {
  PutSlot(conclusion, 0, statement);
}

// The source a copy step names: the first path word is its place in the
// contingency list (a step recorded without one means the first).
Handle CopySource(Handle conclusion, std::span<const int32_t> path) {
  const int32_t index = path.empty() ? 0 : path[0];
  Handle list = ContingenciesOf(conclusion);
  if (index < 0 || index >= ContingencyCount(list)) Raise(kMsgSelectionUnavailable);
  Handle source = ContingencyAt(list, index);
  if (source == nullptr || !IsAssumptionOrConclusion(ObjType(source)) ||
      StatementOf(source) == nullptr)
    Raise(kMsgSelectionUnavailable);
  if (source == conclusion) Raise(kMsgSelfDerivation);
  if (ObjType(source) == kConclusion && ErrorNumber(source) != 0) Raise(kMsgErrorInSource);
  return source;
}

void ReplayCopy(Handle conclusion, int32_t number, std::span<const int32_t> path) {
  Handle statement = StatementOf(CopySource(conclusion, path));
  if (number == kStepCopyRelation) {
    ReplaceStatement(conclusion, DupObj(statement));
  } else {
    ReplaceStatement(conclusion, NewEquation(DupObj(statement), DupObj(statement)));
  }
}

// The implicit plot's difference: the right side is the source's left side
// minus its right side.
void ReplayImplicitPlot(Handle conclusion, std::span<const int32_t> path) {
  Handle equation = StatementOf(CopySource(conclusion, path));
  if (ObjType(equation) != kEquals || ObjCount(equation) != 2 || ObjSlot(equation, 0) == nullptr ||
      ObjSlot(equation, 1) == nullptr)
    Raise(kMsgGraphNeedsEquation);
  Handle difference = NewDifference(DupObj(ObjSlot(equation, 0)), DupObj(ObjSlot(equation, 1)));
  Handle statement = StatementOf(conclusion);
  if (statement != nullptr && IsRelationType(ObjType(statement)) && ObjCount(statement) == 2) {
    PutSlot(statement, 1, difference);
  } else {
    ReplaceStatement(conclusion, NewEquation(NewZero(), difference));
  }
}

// A manipulation of one selected part: found again by its path, run, put back.
void ReplayManipulation(Handle conclusion, int32_t number, std::span<const int32_t> path) {
  const LocatedPath located = LocateSelectionPath(StatementOf(conclusion), path);
  Handle part = ExtractPart(located.selection, true);
  if (part == nullptr) RaiseAtObject(kMsgSelectionUnavailable, located.selection.obj);
  Handle result = part;
  if (number == kManipTransform) {
    // The rule the step used, by its place among the contingencies.
    const size_t at = static_cast<size_t>(located.wordsUsed);
    const int32_t index = at < path.size() ? path[at] : -1;
    Handle rule = nullptr;
    if (index != -1) {
      Handle list = ContingenciesOf(conclusion);
      if (index < 0 || index >= ContingencyCount(list)) {
        DisposeObj(part);
        Raise(kMsgManipulationNoLongerSensible);
      }
      rule = ContingencyAt(list, index);
    }
    result = TransformByRule(part, rule);
  } else if (IsFunctionManipulation(number)) {
    ManipulationFn fn = ManipulationFunction(number);
    if (fn == nullptr) {
      DisposeObj(part);
      Raise(kMsgUnimplemented);
    }
    result = fn(part);
  }
  const SplicedPart spliced = Splice(located.selection, result);
  gEncodeHooks.relayout(spliced.obj);
}

// The steps that only a replayer of their own can replay (their words are
// not a selection path alone).
bool NeedsReplayer(int32_t number) {
  switch (number) {
    case kManipIsolate:
    case kManipMoveOver:
    case kManipApply:
    case kManipIntegrateByParts:
    case kManipSubstitute:
    case kStepIsolateCases:
    case kStepMoveOverCases:
    case kStepCommuteDrag:
    case kStepSubstituteDrag:
      return true;
    default:
      return false;
  }
}

void ReplayStep(Handle conclusion, Handle step) {
  const DerivationStep& s = StepOf(step);
  const int32_t number = s.manipulation;
  const std::span<const int32_t> path(StepPath(step), static_cast<size_t>(s.pathLength));
  switch (number) {
    case kStepCopyExpression:
    case kStepCopyRelation:
      ReplayCopy(conclusion, number, path);
      return;
    case kStepImplicitPlot:
      ReplayImplicitPlot(conclusion, path);
      return;
    case kManipApply:
      if (path.size() < 2) Raise(kMsgCannotReApply);
      break;
    default:
      break;
  }
  // A manipulation that asked the user replays from the words it recorded.
  if (StepReplayer replayer = StepReplayerFor(number)) {
    replayer(conclusion, step);
    return;
  }
  if (NeedsReplayer(number)) Raise(kMsgUnimplemented);
  ReplayManipulation(conclusion, number, path);
}

void ReplayChain(Handle conclusion) {
  // A conclusion derived from itself cannot be derived at all.
  if (ContingencyIndex(ContingenciesOf(conclusion), conclusion) >= 0) Raise(kMsgSelfDerivation);
  ContingencyTargetScope target(conclusion);
  LookupScopeGuard scope(TheoryOf(conclusion));
  ManipulationSettings& settings = CurrentManipulationSettings();
  for (Handle step : DerivationSteps(conclusion)) {
    settings.autoSimplify = StepOf(step).autoSimplify != 0;
    settings.autoCasing = StepOf(step).autoCasing != 0;
    SetReplayAnswers(StepOf(step).answer);
    ClearRemembered();
    ReplayStep(conclusion, step);
    CheckInterrupt();
  }
  ClearRemembered();
}

}  // namespace

bool ReDerive(Handle conclusion) {
  if (conclusion == nullptr || ObjType(conclusion) != kConclusion || !IsStale(conclusion))
    return false;
  if (ErrorNumber(conclusion) == kMsgSourceDeleted) {
    SetStale(conclusion, false);
    return false;
  }
  // The statement is rebuilt: a selection inside it becomes one of the whole.
  NotebookView* view = FrontView();
  std::vector<Selection> saved;
  if (view != nullptr) {
    for (Selection& selection : view->selections) {
      if (selection.obj != nullptr && selection.obj != conclusion &&
          Inside(conclusion, selection.obj))
        selection = {conclusion, kPosWhole};
    }
    saved = view->selections;
  }
  PendingSelections watch(saved);
  const MessageNumber failure = CatchFailure([&] { ReplayChain(conclusion); });
  if (view != nullptr) {
    view->selections.clear();
    for (const Selection& selection : saved)
      if (selection.obj != nullptr) view->selections.push_back(selection);
  }
  if (failure != 0) ClearOffendingObject();
  // A statement part-way through a failed step may hold an empty slot.
  if (StatementOf(conclusion) == nullptr) ReplaceStatement(conclusion, NewQuestionMark());
  SetErrorNumber(conclusion, failure);
  SetStale(conclusion, false);
  if (failure == 0 && IsWorkingStatement(conclusion))
    CatchFailure([&] { RefreshWorkingStatement(conclusion); });
  gEncodeHooks.relayout(StatementOf(conclusion));
  gNotebookDisplay.redraw(conclusion);
  return true;
}

}  // namespace lemmabox
