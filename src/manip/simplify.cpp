#include "manip/simplify.h"

#include <cmath>
#include <optional>

#include "calc/calculate.h"
#include "calc/uncalculate.h"
#include "manip/order.h"
#include "manip/simplify_internal.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/encode.h"
#include "mathobj/equivalence.h"
#include "mathobj/numbers.h"
#include "mathobj/optables.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "notebook/document.h"
#include "notebook/names.h"
#include "notebook/popups.h"
#include "notebook/propositions.h"
#include "notebook/rules.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {

SimplifyHooks gSimplifyHooks;

namespace simplify {

void SimplifySlot(Handle obj, int i) {
  Handle child = TakeSlot(obj, i);
  if (child != nullptr) PutSlot(obj, i, SimpOne(child));
}

void SimplifyChildren(Handle obj) {
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) SimplifySlot(obj, i);
}

Handle TakeAndDispose(Handle obj, int i) {
  Handle child = i < ObjCount(obj) ? TakeSlot(obj, i) : nullptr;
  DisposeObj(obj);
  return child;
}

int KeyOf(Handle obj) {
  return obj != nullptr && ObjType(obj) == kName ? PredefinedKeyOfName(obj) : 0;
}

bool IsImaginaryUnit(Handle obj) {
  return KeyOf(obj) == kKeyImaginary;
}

bool IsUserName(Handle obj) {
  if (obj == nullptr || ObjType(obj) != kName) return false;
  Handle decl = DeclOfName(obj);
  return decl != nullptr && DeclRecordOf(decl) != nullptr && IsUserDefinedDecl(decl);
}

Handle TryPredefinedName(int key) {
  Handle name = nullptr;
  if (CatchFailure([&] { name = NewPredefinedName(key); }) != 0) {
    ClearOffendingObject();
    return nullptr;
  }
  return name;
}

Handle RecognisedScalar(NumScalar value, double zeroBelow) {
  if (!std::isfinite(value.re) || !std::isfinite(value.im)) return nullptr;
  // A part that is rounding noise beside the other is none: exp(i pi/2) is i.
  double re = std::fabs(value.re), im = std::fabs(value.im);
  if (re < kNumericTolerance * im || re <= zeroBelow) value.re = 0;
  if (im < kNumericTolerance * re || im <= zeroBelow) value.im = 0;
  if (value.im == 0 && value.IsComplex()) value = NumScalar::Real(value.re);
  return RecogniseScalar(value);
}

Handle RecognisedValue(Handle obj, double zeroBelow) {
  std::optional<NumScalar> value = TryCalcScalar(obj, false);
  return value ? RecognisedScalar(*value, zeroBelow) : nullptr;
}

namespace {

// Numbers, declared names, question marks and wildcards are what they are.
Handle SimplifyLeaf(Handle obj) {
  return obj;
}

// A typed number becomes an integer or a real.
Handle SimplifyNumberText(Handle obj) {
  ResolveNumberText(obj);
  return obj;
}

// A name typed since the last declaration pass is looked up again.
Handle SimplifyUndeclaredName(Handle obj) {
  gEncodeHooks.resolveName(obj);
  return obj;
}

// Explicit parentheses go; their content is simplified.
Handle SimplifyParens(Handle obj) {
  Handle content = TakeAndDispose(obj, 0);
  return content != nullptr ? SimpOne(content) : NewQuestionMark();
}

// Relations, lists, ranges, matrices, limits and the other composites:
// each part is simplified.
Handle SimplifyParts(Handle obj) {
  SimplifyChildren(obj);
  return obj;
}

// A summation (index first) or an iterated product (index second) runs over
// a variable: anything else is refused before the parts are simplified.
Handle SimplifyIteration(Handle obj) {
  int at = ObjType(obj) == kSummation ? 0 : 1;
  Handle index = Slot(obj, at);
  if (index != nullptr && ObjType(index) == kUndeclaredName) gEncodeHooks.resolveName(index);
  if (!IsUserName(index) || DeclClass(DeclOfName(index)) != kNameVariable)
    RaiseAtObject(kMsgBadSummation, obj);
  SimplifyChildren(obj);
  return obj;
}

// An integral: its parts are simplified, then integrated when the calculus
// can; otherwise it stays (and the Simplify command says so).
Handle SimplifyIntegral(Handle obj) {
  SimplifyChildren(obj);
  if (gSimplifyHooks.integrate != nullptr) {
    if (Handle result = gSimplifyHooks.integrate(obj)) {
      DisposeObj(obj);
      return result;
    }
  }
  return obj;
}

SimplifyFn SimplifyEntryFor(TypeCode code) {
  switch (code) {
    case kInteger:
    case kReal:
    case kName:
    case kQuestion:
    case kWildcard:
      return &SimplifyLeaf;
    case kNumberText:
      return &SimplifyNumberText;
    case kUndeclaredName:
      return &SimplifyUndeclaredName;
    case kParens:
      return &SimplifyParens;
    case kSum:
    case kNegation:
      return &SimplifySum;
    case kProduct:
    case kQuotient:
      return &SimplifyProduct;
    case kPower:
      return &SimplifyPower;
    case kSqrt:
      return &SimplifySqrt;
    case kApply:
      return &SimplifyApply;
    case kAbs:
      return &SimplifyAbs;
    case kFactorial:
      return &SimplifyFactorial;
    case kAdjoint:
      return &SimplifyAdjoint;
    case kIndex:
      return &SimplifyIndex;
    case kConditional:
      return &SimplifyConditional;
    case kEvalAt:
      return &SimplifyEvalAt;
    case kSummation:
    case kPiProduct:
      return &SimplifyIteration;
    case kIntegral:
      return &SimplifyIntegral;
    case kList:
    case kRange:
    case kLess:
    case kEquals:
    case kGreater:
    case kLessEqual:
    case kNotEqual:
    case kGreaterEqual:
    case kCross:
    case kDot:
    case kForAll:
    case kLimit:
    case kMatrix:
    case kPartial:
      return &SimplifyParts;
    default:
      return nullptr;
  }
}

}  // namespace
}  // namespace simplify

Handle SimpOne(Handle obj) {
  if (obj == nullptr) InternalError("SimpOne");
  CheckInterrupt();
  Handle result = gSimplifyTable.Entry(ObjType(obj))(obj);
  if (Handle ruled = ApplyFirstRule(result, kRuleSimplify)) {
    DisposeObj(result);
    result = ruled;
  }
  SetFlag(result, kFlagFresh);
  return result;
}

Handle AutoSimplify(Handle obj) {
  if (obj == nullptr || !CurrentManipulationSettings().autoSimplify) return obj;
  for (int pass = 0; pass < kAutoSimplifyPasses; ++pass) {
    Handle before = DupObj(obj);
    Handle result = nullptr;
    MessageNumber failure = CatchFailure([&] { result = SimpOne(obj); });
    if (failure != 0) {
      // The pass took obj apart; the copy is the last good form.
      ClearOffendingObject();
      if (failure == kMsgUserInterrupt) {
        DisposeObj(before);
        Raise(failure);
      }
      return before;
    }
    bool unchanged = Equivalent(result, before);
    DisposeObj(before);
    obj = result;
    if (unchanged) break;
  }
  return obj;
}

Handle Simplify(Handle obj) {
  if (CurrentManipulationSettings().autoSimplify) return AutoSimplify(obj);
  return SimpOne(obj);
}

void ResetSimplifyHooks() {
  gSimplifyHooks = SimplifyHooks{};
}

void RegisterSimplify() {
  RegisterOrder();
#define LEMMABOX_REGISTER_TYPE(name, code, ...) \
  if (SimplifyFn fn = simplify::SimplifyEntryFor(code)) gSimplifyTable.Set(code, fn);
  LEMMABOX_TYPES(LEMMABOX_REGISTER_TYPE)
#undef LEMMABOX_REGISTER_TYPE
}

}  // namespace lemmabox
