#include "calc/calculate.h"

#include "calc/calc_engine.h"
#include "calc/calc_stack.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

// The first part Calculate goes on with when the whole has no value: the
// operators whose first part is a function name, an integrand (in terms of
// its variable) or a summation index keep it as it is.
int FirstCalculatedPart(Handle obj) {
  switch (ObjType(obj)) {
    case ';':
    case 'j':
    case 's':
    case 'p':
      return 1;
    default:
      return FirstObjSlot(obj);
  }
}

Handle ValueOrParts(Handle obj);

void CalculateParts(Handle obj) {
  if (IsLeafType(ObjType(obj))) return;
  for (int i = FirstCalculatedPart(obj); i < ObjCount(obj); ++i) {
    // An iterated product's index stays, its body and limits are calculated.
    if (ObjType(obj) == 'x' && i == 1) continue;
    Handle part = ObjSlot(obj, i);
    if (part == nullptr) continue;
    CheckInterrupt();
    if (Handle value = ValueOrParts(part)) PutSlot(obj, i, value);
  }
}

// The value of obj as a new object, or null when obj stays (with its parts
// calculated in place).
Handle ValueOrParts(Handle obj) {
  if (ObjType(obj) == '=' && ObjCount(obj) == 2) {
    CalculateParts(obj);
    return nullptr;
  }
  Handle value = nullptr;
  MessageNumber failure = CatchFailure([&] {
    BeginCalc(true);
    CalcObj(obj);
    value = PopObj();
    EndCalc();
  });
  if (failure == 0) return value;
  if (!IsSoftCalcFailure(failure)) Raise(failure);
  ClearOffendingObject();
  CalculateParts(obj);
  return nullptr;
}

}  // namespace

bool IsSoftCalcFailure(MessageNumber n) {
  switch (n) {
    case kMsgPredefinedMisuse:
    case kMsgCannotEvaluateFunction:
    case kMsgNeedScalar:
    case kMsgNeedReal2Vector:
    case kMsgNeedReal3Vector:
    case kMsgCannotCalculate:
    case kMsgComplexResult:
    case kMsgNoValueForVariable:
      return true;
    default:
      return false;
  }
}

Handle Calculate(Handle obj) {
  if (obj == nullptr) return nullptr;
  Handle value = ValueOrParts(obj);
  if (value == nullptr) return obj;
  DisposeObj(obj);
  return value;
}

std::optional<NumValue> TryCalcValue(Handle obj, bool allowWorkingStatements) {
  std::optional<NumValue> value;
  MessageNumber failure = CatchFailure([&] {
    BeginCalc(allowWorkingStatements);
    CalcObj(obj);
    value = PopValue();
    EndCalc();
  });
  if (failure == kMsgUserInterrupt) Raise(failure);
  if (failure != 0) {
    ClearOffendingObject();
    return std::nullopt;
  }
  return value;
}

std::optional<NumScalar> TryCalcScalar(Handle obj, bool allowWorkingStatements) {
  std::optional<NumValue> value = TryCalcValue(obj, allowWorkingStatements);
  if (!value || IsMatrixValue(*value)) return std::nullopt;
  return std::get<NumScalar>(*value);
}

}  // namespace lemmabox
