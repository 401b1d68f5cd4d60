#include "notebook/derivation.h"

#include <cstring>

#include "mathobj/handles.h"
#include "notebook/notebook_hooks.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

struct ListHeader {
  int32_t count;
  int32_t reserved;
};

ListHeader& ListHead(Handle list) {
  return *reinterpret_cast<ListHeader*>(*list);
}
Handle* ListItems(Handle list) {
  return reinterpret_cast<Handle*>(reinterpret_cast<uint8_t*>(*list) + sizeof(ListHeader));
}
size_t ListCapacity(Handle list) {
  return (ObjHandleSize(list) - sizeof(ListHeader)) / sizeof(Handle);
}

Handle gContingencyTarget = nullptr;

// The manipulation words, by manipulation number 1..16 (8 has none).
constexpr const char* kManipulationWords[] = {
    "",
    "Simplify",
    "Expand",
    "Transform",
    "Calculate",
    "MiniExpand",
    "Collect",
    "Factor",
    "",
    "Isolate",
    "Move Over",
    "Commute",
    "Taylor Series",
    "Apply",
    "UnCalculate",
    "Integrate by Parts",
    "Substitute",
};

Handle CopyChain(Handle chain) {
  Handle first = nullptr;
  Handle* link = &first;
  for (Handle step = chain; step != nullptr; step = StepOf(step).next) {
    Handle copy = CopyObjHandle(step);
    StepOf(copy).next = nullptr;
    *link = copy;
    link = &StepOf(copy).next;
  }
  return first;
}

void Walk(Handle container, const std::unordered_set<Handle>& sources, void (*fn)(Handle, void*),
          void* context) {
  if (ObjCount(container) <= FirstProp(container)) return;
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop == nullptr) continue;
    if (Handle list = ContingenciesOf(prop)) {
      int n = ContingencyCount(list);
      for (int k = 0; k < n; ++k) {
        if (sources.contains(ContingencyAt(list, k))) {
          fn(prop, context);
          break;
        }
      }
    }
    if (IsContainerType(ObjType(prop))) Walk(prop, sources, fn, context);
  }
}

}  // namespace

// --- Contingency lists ---

Handle NewContingencyList() {
  Handle list = AllocObjHandle(sizeof(ListHeader) + 4 * sizeof(Handle));
  ListHead(list).count = 0;
  return list;
}

int ContingencyCount(Handle list) {
  return list ? ListHead(list).count : 0;
}

Handle ContingencyAt(Handle list, int i) {
  return ListItems(list)[i];
}

int ContingencyIndex(Handle list, Handle prop) {
  int n = ContingencyCount(list);
  for (int i = 0; i < n; ++i)
    if (ListItems(list)[i] == prop) return i;
  return -1;
}

void AddContingency(Handle& list, Handle prop) {
  if (list == nullptr) list = NewContingencyList();
  if (ContingencyIndex(list, prop) >= 0) return;
  int count = ListHead(list).count;
  if (static_cast<size_t>(count) >= ListCapacity(list))
    ResizeObjHandle(list, sizeof(ListHeader) + (count * 2 + 4) * sizeof(Handle));
  ListItems(list)[count] = prop;
  ListHead(list).count = count + 1;
}

void FreeContingencyList(Handle list) {
  ReleaseObjHandle(list);
}

// --- Derivation steps ---

DerivationStep& StepOf(Handle step) {
  return *reinterpret_cast<DerivationStep*>(*step);
}

int32_t* StepPath(Handle step) {
  return reinterpret_cast<int32_t*>(reinterpret_cast<uint8_t*>(*step) + sizeof(DerivationStep));
}

Handle NewDerivationStep(int32_t manipulation, bool autoSimplify, bool autoCasing, int32_t answer,
                         std::span<const int32_t> path) {
  Handle step = AllocObjHandle(sizeof(DerivationStep) + path.size() * sizeof(int32_t));
  DerivationStep& s = StepOf(step);
  s.next = nullptr;
  s.manipulation = manipulation;
  s.autoSimplify = autoSimplify ? 1 : 0;
  s.autoCasing = autoCasing ? 1 : 0;
  s.answer = answer;
  s.pathLength = static_cast<int32_t>(path.size());
  if (!path.empty()) std::memcpy(StepPath(step), path.data(), path.size() * sizeof(int32_t));
  return step;
}

void AppendDerivationStep(Handle conclusion, Handle step) {
  Handle* link = &StmtRecord(conclusion).chain;
  while (*link != nullptr) link = &StepOf(*link).next;
  *link = step;
}

std::vector<Handle> DerivationSteps(Handle conclusion) {
  std::vector<Handle> steps;
  StatementRecord* record = StatementRecordOf(conclusion);
  for (Handle step = record ? record->chain : nullptr; step; step = StepOf(step).next)
    steps.push_back(step);
  return steps;
}

void FreeDerivationChain(Handle chain) {
  while (chain != nullptr) {
    Handle next = StepOf(chain).next;
    ReleaseObjHandle(chain);
    chain = next;
  }
}

// --- Conclusions ---

void MakeConclusion(Handle prop, Handle source) {
  StatementRecord& record = StmtRecord(prop);
  FreeDerivationChain(record.chain);
  FreeContingencyList(record.contingencies);
  record.chain = nullptr;
  record.contingencies = NewContingencyList();
  record.error = 0;
  record.state &= ~kStateStale;
  Hdr(prop).type = 'C';
  if (source != nullptr) AddContingency(StmtRecord(prop).contingencies, source);
}

void ConclusionToAssumption(Handle prop) {
  StatementRecord& record = StmtRecord(prop);
  FreeDerivationChain(record.chain);
  FreeContingencyList(record.contingencies);
  record.chain = nullptr;
  record.contingencies = nullptr;
  record.error = 0;
  record.state &= ~kStateStale;
  Hdr(prop).type = 'A';
  ForgetQueuedConclusion(prop);
  if (gContingencyTarget == prop) gContingencyTarget = nullptr;
}

const char* ManipulationWord(int32_t manipulation) {
  int32_t number = manipulation & 0x3FF;
  if (number < 1 || number >= static_cast<int32_t>(std::size(kManipulationWords))) return "";
  return kManipulationWords[number];
}

std::string ConclusionLabel(Handle conclusion) {
  std::string label;
  bool first = true;
  for (Handle step : DerivationSteps(conclusion)) {
    std::string entry = first ? "" : " ";
    entry += ManipulationWord(StepOf(step).manipulation);
    first = false;
    if (label.size() + entry.size() >= kConclusionLabelLimit) {
      label += "...";
      break;
    }
    label += entry;
  }
  return label;
}

// --- The conclusion being derived ---

void SetContingencyTarget(Handle conclusion) {
  gContingencyTarget = conclusion;
}
void ClearContingencyTarget() {
  gContingencyTarget = nullptr;
}
Handle ContingencyTarget() {
  return gContingencyTarget;
}

void NoteConsulted(Handle prop) {
  if (gContingencyTarget == nullptr || prop == nullptr || prop == gContingencyTarget) return;
  StatementRecord* record = StatementRecordOf(gContingencyTarget);
  if (record == nullptr || ObjType(gContingencyTarget) != 'C') return;
  AddContingency(record->contingencies, prop);
}

// --- Dependents ---

Handle ContingenciesOf(Handle prop) {
  switch (ObjType(prop)) {
    case 'C': {
      StatementRecord* record = StatementRecordOf(prop);
      return record ? record->contingencies : nullptr;
    }
    case 'G':
    case 'Z':
      return gNotebookCascade.graphContingencies(prop);
    default:
      return nullptr;
  }
}

void ForEachDependent(Handle container, const std::unordered_set<Handle>& sources,
                      void (*fn)(Handle, void*), void* context) {
  if (container == nullptr || sources.empty() || !IsContainerType(ObjType(container))) return;
  Walk(container, sources, fn, context);
}

void CutOffDependents(Handle container, const std::unordered_set<Handle>& sources) {
  std::vector<Handle> dependents;
  ForEachDependent(
      container, sources,
      [](Handle dependent, void* c) { static_cast<std::vector<Handle>*>(c)->push_back(dependent); },
      &dependents);
  for (Handle dependent : dependents) {
    if (ObjType(dependent) == 'C') {
      ConclusionToAssumption(dependent);
    } else if (Handle list = ContingenciesOf(dependent)) {
      ListHead(list).count = 0;
    }
    gNotebookDisplay.redraw(dependent);
  }
}

// --- Dup and Dispose extras ---

void CopyDerivation(Handle source, Handle copy) {
  StatementRecord* from = StatementRecordOf(source);
  StatementRecord* to = StatementRecordOf(copy);
  if (from == nullptr || to == nullptr) return;
  // The byte copy still points at the source's blocks; the copy gets its own.
  to->contingencies = nullptr;
  to->chain = nullptr;
  Handle list = CopyObjHandle(from->contingencies);
  StatementRecordOf(copy)->contingencies = list;
  Handle chain = CopyChain(StatementRecordOf(source)->chain);
  StatementRecordOf(copy)->chain = chain;
}

void FreeDerivation(Handle conclusion) {
  StatementRecord* record = StatementRecordOf(conclusion);
  if (record == nullptr) return;
  Handle list = record->contingencies;
  Handle chain = record->chain;
  record->contingencies = nullptr;
  record->chain = nullptr;
  FreeContingencyList(list);
  FreeDerivationChain(chain);
  ForgetQueuedConclusion(conclusion);
  if (gContingencyTarget == conclusion) gContingencyTarget = nullptr;
}

}  // namespace lemmabox
