// Marking dependents, the to-do queue and the idle steps.
#include "cascade/cascade.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "editor/editor_hooks.h"
#include "editor/undo.h"
#include "manip/driver.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/notebook_hooks.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

std::vector<Handle> gInProgress;

// Every entry of container that has contingencies, with what it lists;
// containers are entered at any depth.
template <class Fn>
void ForEachDerived(Handle container, Fn&& fn) {
  if (Handle list = ContingenciesOf(container)) fn(container, list);
  const int count = ObjCount(container);
  for (int i = FirstProp(container); i < count; ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop == nullptr) continue;
    if (IsContainerType(ObjType(prop))) {
      ForEachDerived(prop, fn);
    } else if (Handle list = ContingenciesOf(prop)) {
      fn(prop, list);
    }
  }
}

bool Lists(Handle list, Handle prop) {
  return ContingencyIndex(list, prop) >= 0;
}

bool QueuesWhenMarked(Handle conclusion) {
  const NotebookRecord* record = NotebookRecordFor(conclusion);
  return record != nullptr && record->prefs.alwaysReManipulate != 0 &&
         record->prefs.rippleChangesImmediately != 0;
}

// A stale mark on a conclusion not stale yet; what was derived from it
// follows (depth first, in notebook order, as each is reached).
void MarkFrom(Handle changed, const std::unordered_map<Handle, std::vector<Handle>>& dependents) {
  struct Level {
    Handle prop;
    size_t next;
  };
  std::vector<Level> stack{{changed, 0}};
  while (!stack.empty()) {
    Level& level = stack.back();
    auto found = dependents.find(level.prop);
    if (found == dependents.end() || level.next >= found->second.size()) {
      stack.pop_back();
      continue;
    }
    Handle dependent = found->second[level.next++];
    // A list that names its own owner (damaged data) leads nowhere new.
    if (dependent == level.prop || dependent == changed) continue;
    if (IsGraphType(ObjType(dependent))) {
      gNotebookDisplay.redraw(dependent);
      continue;
    }
    if (ObjType(dependent) != kConclusion || IsStale(dependent)) continue;
    SetStale(dependent, true);
    gNotebookDisplay.redraw(dependent);
    if (QueuesWhenMarked(dependent)) QueueReManipulate(dependent);
    stack.push_back({dependent, 0});
  }
}

void CutOff(Handle theory, Handle changed) {
  std::vector<Handle> direct;
  ForEachDerived(theory, [&](Handle prop, Handle list) {
    if (prop != changed && Lists(list, changed)) direct.push_back(prop);
  });
  if (direct.empty()) return;
  if (UndoRecording()) {
    for (Handle prop : direct) UndoSaveObj(prop);
  }
  CutOffDependents(theory, {changed});
}

bool HoldsQuestionMark(Handle obj) {
  bool found = false;
  WalkTree(
      obj, [&](Handle h) { found = found || ObjType(h) == kQuestion; }, [](Handle) {});
  return found;
}

bool InProgress(Handle conclusion) {
  return std::find(gInProgress.begin(), gInProgress.end(), conclusion) != gInProgress.end();
}

// What a stale conclusion waits for, looking at its contingencies in order: a
// stale conclusion not under way to be derived first, or an Assumption still
// holding a question mark (then nothing can be done yet).
enum class Wait { kNothing, kSource, kQuestionMark };
Wait WaitsFor(Handle conclusion, Handle& source) {
  Handle list = ContingenciesOf(conclusion);
  const int n = ContingencyCount(list);
  for (int k = 0; k < n; ++k) {
    Handle s = ContingencyAt(list, k);
    if (s == nullptr) continue;
    if (ObjType(s) == kConclusion && IsStale(s) && !InProgress(s)) {
      source = s;
      return Wait::kSource;
    }
    if (ObjType(s) == kAssumption && StatementOf(s) != nullptr && HoldsQuestionMark(StatementOf(s)))
      return Wait::kQuestionMark;
  }
  return Wait::kNothing;
}

// Derives one conclusion again with the replay flag set; the settings its
// steps switch to are put back afterwards.
void ReDeriveReplaying(Handle conclusion) {
  const ManipulationSettings saved = CurrentManipulationSettings();
  SetReplayFlag(true);
  try {
    ReDerive(conclusion);
  } catch (...) {
    CurrentManipulationSettings() = saved;
    SetReplayFlag(false);
    throw;
  }
  CurrentManipulationSettings() = saved;
  SetReplayFlag(false);
}

class InProgressScope {
 public:
  InProgressScope() : base_(gInProgress.size()) {}
  ~InProgressScope() { gInProgress.resize(base_); }
  InProgressScope(const InProgressScope&) = delete;
  InProgressScope& operator=(const InProgressScope&) = delete;
  size_t Base() const { return base_; }

 private:
  size_t base_;
};

enum class Outcome { kNotStale, kDerived, kWaiting };

// Re-manipulate: derives the first stale conclusion that `conclusion` waits
// for (through any number of stale sources), or itself. With queueWaiting
// the conclusions between the two go to the front of the queue, the nearest
// first, so that the next idle step need not search down to it again.
Outcome WorkOn(Handle conclusion, bool queueWaiting) {
  if (conclusion == nullptr || ObjType(conclusion) != kConclusion || !IsStale(conclusion))
    return Outcome::kNotStale;
  InProgressScope scope;
  gInProgress.push_back(conclusion);
  Handle current = conclusion;
  for (;;) {
    Handle source = nullptr;
    const Wait wait = WaitsFor(current, source);
    if (wait == Wait::kQuestionMark) return Outcome::kWaiting;
    if (wait == Wait::kNothing) break;
    gInProgress.push_back(source);
    current = source;
  }
  ReDeriveReplaying(current);
  if (queueWaiting) {
    for (size_t k = scope.Base() + 1; k + 1 < gInProgress.size(); ++k)
      if (MainTheoryOf(gInProgress[k]) != nullptr) QueueReManipulate(gInProgress[k]);
  }
  return Outcome::kDerived;
}

void CollectConclusions(Handle container, std::vector<Handle>& out) {
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop == nullptr) continue;
    if (ObjType(prop) == kConclusion) out.push_back(prop);
    if (IsContainerType(ObjType(prop))) CollectConclusions(prop, out);
  }
}

}  // namespace

// --- Marking ---

void MarkDependents(Handle theory, Handle changed, bool breakFlag) {
  if (theory == nullptr || changed == nullptr || !IsContainerType(ObjType(theory))) return;
  if (breakFlag) {
    CutOff(theory, changed);
    return;
  }
  // Most edits reach nothing: look for a direct dependent before building
  // the index of who lists whom.
  bool any = false;
  ForEachDerived(theory, [&](Handle prop, Handle list) {
    any = any || (prop != changed && Lists(list, changed));
  });
  if (!any) return;
  std::unordered_map<Handle, std::vector<Handle>> dependents;
  ForEachDerived(theory, [&](Handle prop, Handle list) {
    const int n = ContingencyCount(list);
    for (int k = 0; k < n; ++k) {
      std::vector<Handle>& of = dependents[ContingencyAt(list, k)];
      if (of.empty() || of.back() != prop) of.push_back(prop);
    }
  });
  MarkFrom(changed, dependents);
}

void PropositionChanged(Handle prop) {
  if (prop == nullptr) return;
  switch (ObjType(prop)) {
    case kTable:
      TableRec(prop).flags |= kTableChanged;
      [[fallthrough]];
    case kAssumption:
    case kConclusion:
    case kDeclaration:
    case kRule:
    case kIndependence:
      if (Handle main = MainTheoryOf(prop)) MarkDependents(main, prop, false);
      break;
    default:
      break;
  }
  for (Handle h = ObjParent(prop); h != nullptr; h = ObjParent(h)) {
    if (IsGraphType(ObjType(h))) {
      gNotebookDisplay.redraw(h);
      break;
    }
  }
}

// --- The to-do queue ---

void QueueReManipulate(Handle conclusion) {
  Handle main = conclusion != nullptr ? MainTheoryOf(conclusion) : nullptr;
  if (main == nullptr) InternalError("QueueReManipulate");
  ToDoPush(main, conclusion);
}

void DequeueReManipulate(Handle conclusion) {
  if (conclusion != nullptr) ForgetQueuedConclusion(conclusion);
}

void QueueAllStale(Handle theory) {
  if (theory == nullptr) return;
  std::vector<Handle> conclusions;
  CollectConclusions(theory, conclusions);
  for (Handle conclusion : conclusions)
    if (IsStale(conclusion)) QueueReManipulate(conclusion);
}

// --- Deriving again ---

bool CascadeIdleStep(Handle mainTheory) {
  if (mainTheory == nullptr) return false;
  bool popped = false;
  while (Handle head = ToDoFront(mainTheory)) {
    bool worked = false;
    try {
      worked = ReManipulate(head);
    } catch (const Failure&) {
      // Never stay stuck on the same failure at every idle step.
      ToDoRemove(mainTheory, head);
      throw;
    }
    if (worked) return true;
    ToDoPopFront(mainTheory);
    popped = true;
  }
  if (popped) gEditorHooks.refreshNotebook(mainTheory);
  return false;
}

bool ReManipulate(Handle conclusion) {
  return WorkOn(conclusion, true) != Outcome::kNotStale;
}

const std::vector<Handle>& ReManipulationsInProgress() {
  return gInProgress;
}

int RunCascade(Handle mainTheory, int maxSteps) {
  int steps = 0;
  while (steps < maxSteps && CascadeIdleStep(mainTheory)) ++steps;
  return steps;
}

std::vector<ConclusionCheck> RederiveNotebook(Handle mainTheory) {
  std::vector<Handle> conclusions;
  if (mainTheory != nullptr) CollectConclusions(mainTheory, conclusions);
  // A conclusion that failed when it was saved is tried afresh.
  for (Handle conclusion : conclusions) SetStale(conclusion, true);
  std::vector<ConclusionCheck> checks;
  for (Handle conclusion : conclusions) {
    // Each round derives one conclusion it waits for, or itself.
    while (WorkOn(conclusion, false) == Outcome::kDerived && IsStale(conclusion)) {
    }
    checks.push_back({conclusion, ErrorNumber(conclusion), IsStale(conclusion)});
  }
  return checks;
}

}  // namespace lemmabox
