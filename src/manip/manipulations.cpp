#include "manip/manipulations.h"

#include <array>
#include <vector>

#include "calc/calculate.h"
#include "calc/uncalculate.h"
#include "editor/selection_list.h"
#include "manip/commute.h"
#include "manip/simplify.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/equivalence.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/popups.h"
#include "notebook/propositions.h"
#include "notebook/rules.h"
#include "shell/alerts.h"
#include "shell/commands.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

constexpr int32_t kLastManipulation = kManipSubstitute;

struct ManipulationTable {
  std::array<ManipulationFn, kLastManipulation + 1> functions{};
  std::array<ManipulationCommand, kLastManipulation + 1> commands{};
  std::vector<std::pair<int32_t, StepReplayer>> replayers;
};

ManipulationTable& Table() {
  static ManipulationTable table;
  return table;
}

bool InTable(int32_t number) {
  return number >= 1 && number <= kLastManipulation;
}

bool Inside(Handle outer, Handle obj) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h))
    if (h == outer) return true;
  return false;
}

// A failing core leaves obj with the caller, who has no further use for it.
template <class Core>
Handle RunCore(Handle obj, Core&& core) {
  try {
    return core(obj);
  } catch (const Failure&) {
    if (Inside(obj, OffendingObject())) ClearOffendingObject();
    DisposeObj(obj);
    throw;
  }
}

}  // namespace

bool IsFunctionManipulation(int32_t number) {
  switch (number) {
    case kManipSimplify:
    case kManipExpand:
    case kManipTransform:
    case kManipCalculate:
    case kManipMiniExpand:
    case kManipCollect:
    case kManipFactor:
    case kManipCommute:
    case kManipTaylorSeries:
    case kManipUnCalculate:
      return true;
    default:
      return false;
  }
}

// --- The table ---

ManipulationFn ManipulationFunction(int32_t number) {
  return InTable(number) ? Table().functions[number] : nullptr;
}

void SetManipulationFunction(int32_t number, ManipulationFn fn) {
  if (!InTable(number)) InternalError("SetManipulationFunction");
  Table().functions[number] = fn;
}

void SetManipulationCommand(int32_t number, ManipulationCommand command) {
  if (!InTable(number)) InternalError("SetManipulationCommand");
  Table().commands[number] = command;
}

StepReplayer StepReplayerFor(int32_t number) {
  for (const auto& [n, replayer] : Table().replayers)
    if (n == number) return replayer;
  return nullptr;
}

void SetStepReplayer(int32_t number, StepReplayer replayer) {
  for (auto& [n, existing] : Table().replayers) {
    if (n == number) {
      existing = replayer;
      return;
    }
  }
  Table().replayers.emplace_back(number, replayer);
}

void RunManipulationCommand(int32_t number) {
  if (ManipulationCommand command = InTable(number) ? Table().commands[number] : nullptr) {
    command();
    return;
  }
  ManipulationFn fn = ManipulationFunction(number);
  if (fn == nullptr) Raise(kMsgUnimplemented);
  const Selection first = PrimarySelection();
  const bool integral = first.obj != nullptr && ObjType(first.obj) == kIntegral;
  RunManipulation(fn, number);
  if (number == kManipSimplify && integral) {
    const Selection now = PrimarySelection();
    if (now.obj != nullptr && ObjType(now.obj) == kIntegral) Alert(kMsgNoIntegral);
  }
}

// --- The manipulations made here ---

Handle CalculateManipulation(Handle obj) {
  return AutoSimplify(RunCore(obj, [](Handle h) { return Calculate(h); }));
}

Handle UnCalculateManipulation(Handle obj) {
  return AutoSimplify(RunCore(obj, [](Handle h) { return UnCalculate(h); }));
}

Handle CommuteManipulation(Handle obj) {
  const TypeCode type = ObjType(obj);
  const bool nary = (ShapeBits(type) & kShapeAny) != 0 || type == kList;
  if (!nary && type != kDot) {
    DisposeObj(obj);
    Raise(kMsgBadCommute);
  }
  const int first = FirstObjSlot(obj);
  const int count = ObjCount(obj);
  if (type != kSum) {
    for (int i = first; i < count; ++i) {
      for (int j = i + 1; j < count; ++j) {
        if (!Commutes(ObjSlot(obj, i), ObjSlot(obj, j))) {
          DisposeObj(obj);
          Raise(kMsgCannotCommuteAll);
        }
      }
    }
  }
  std::vector<Handle> children;
  for (int i = first; i < count; ++i) children.push_back(TakeSlot(obj, i));
  for (int i = first; i < count; ++i) PutSlot(obj, i, children[count - 1 - i]);
  return obj;
}

Handle TransformManipulation(Handle obj) {
  std::vector<TransformMatch> matches = LookupTrans(obj, kRuleTransform);
  // The choice nulls the results; remember which rule gave which.
  const std::vector<TransformMatch> offered = matches;
  Handle chosen = ChooseTransformation(matches);
  Handle rule = nullptr;
  for (const TransformMatch& match : offered)
    if (chosen != nullptr && match.result == chosen) rule = match.rule;
  Handle target = ContingencyTarget();
  const int index =
      rule != nullptr && target != nullptr ? ContingencyIndex(ContingenciesOf(target), rule) : -1;
  RememberWord(index);
  if (chosen == nullptr) return AutoSimplify(obj);
  DisposeObj(obj);
  return AutoSimplify(chosen);
}

Handle TransformByRule(Handle obj, Handle rule) {
  if (rule == nullptr) return AutoSimplify(obj);
  if (ObjType(rule) != kRule || ObjCount(rule) < 2) {
    DisposeObj(obj);
    Raise(kMsgManipulationNoLongerSensible);
  }
  Handle result = ApplyRule(obj, ObjSlot(rule, 0), ObjSlot(rule, 1));
  ClearBindingTable();
  DisposeObj(obj);
  if (result == nullptr) Raise(kMsgRuleNoLongerMatches);
  return AutoSimplify(result);
}

void RegisterManipulations() {
  SetManipulationFunction(kManipSimplify, &Simplify);
  SetManipulationFunction(kManipTransform, &TransformManipulation);
  SetManipulationFunction(kManipCalculate, &CalculateManipulation);
  SetManipulationFunction(kManipCommute, &CommuteManipulation);
  SetManipulationFunction(kManipUnCalculate, &UnCalculateManipulation);
  RegisterCommand(CommandAction::kManipulate,
                  [](int32_t number) { RunManipulationCommand(number); });
}

}  // namespace lemmabox
