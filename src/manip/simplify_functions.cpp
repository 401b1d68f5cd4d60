// Function references, absolute values, factorials and adjoints.
//
//   rule                                              where
//   f^-1(x) -> the inverse of f at x (log: 10^x)      InverseApplied
//   f^n(x) -> (f(x))^n                                SimplifyApply
//   f(c) -> its value when that is a familiar exact   ApplyRest
//     number (sin(pi/6) -> 1/2); otherwise it stays
//   f(g(y)) -> y for the inverse pairs                ApplyRest
//     (sin(arcsin(y)), ln(exp(y)))
//   |-a| -> |a|; |c| -> its exact value               SimplifyAbs
//   n! -> its value                                   SimplifyFactorial
//   adjoints: numbers are their own, sums and the     AdjointOf
//     other operators take it of each part, a
//     product of operators reverses, i -> -i
#include <cmath>

#include "calc/calculate.h"
#include "calc/uncalculate.h"
#include "manip/commute.h"
#include "manip/conlin.h"
#include "manip/order.h"
#include "manip/simplify.h"
#include "manip/simplify_internal.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/predefined.h"
#include "mathobj/predefined_keys.h"
#include "mathobj/slots.h"

namespace lemmabox::simplify {
namespace {

// The key of a predefined function's name, or 0.
int FunctionKey(Handle name) {
  int key = KeyOf(name);
  const PredefinedName* builtIn = key != 0 ? PredefinedByKey(key) : nullptr;
  return builtIn != nullptr && builtIn->Class() == kNameFunction ? key : 0;
}

// The key of the inverse function, or 0: the coordinate changes pair up,
// and every key from 256 on pairs with the one that differs in bit 4
// (sin with arcsin, sinh with arcsinh, exp with ln).
int InverseKey(int key) {
  int other = 0;
  if (key >= kKeyFromPolar && key <= kKeyToSpherical) other = key ^ 1;
  if (key >= kKeyElementary) other = key ^ kTrigInverseBit;
  return other != 0 && PredefinedByKey(other) != nullptr ? other : 0;
}

// -1 written as the negation of the integer 1 or of the real 1.0.
bool IsMinusOne(Handle h) {
  if (h == nullptr || ObjType(h) != kNegation || ObjCount(h) != 1) return false;
  Handle one = ObjSlot(h, 0);
  if (one == nullptr) return false;
  return (ObjType(one) == kInteger && IntegerValue(one) == 1) ||
         (ObjType(one) == kReal && RealValue(one) == 1.0);
}

Handle ApplyRest(Handle apply);

// sin(pi) comes out as 1.2e-16: for the trigonometric functions a value
// that small beside the argument is a zero missed by rounding.
double RoundingNoise(Handle function, Handle argument) {
  TrigFamily family;
  TrigFunction which;
  if (!DecodeTrigKey(FunctionKey(function), family, which) || family != kTrigPlain) return 0;
  std::optional<NumScalar> value = TryCalcScalar(argument, false);
  if (!value) return 0;
  return 1e-15 * std::hypot(value->re, value->im);
}

// f^-1(x) for a predefined f: its inverse applied to x (10^x for log), or
// null when f has none or the notebook does not declare it. Takes the
// argument only when it succeeds.
Handle InverseApplied(int key, Handle apply) {
  if (key == kKeyLog) {
    Handle argument = TakeSlot(apply, 1);
    return PowerOfSimplified(NewInteger(10), argument);
  }
  int inverse = InverseKey(key);
  if (inverse == 0) return nullptr;
  Handle name = TryPredefinedName(inverse);
  if (name == nullptr) return nullptr;
  return ApplyRest(NewObj2(kApply, name, TakeSlot(apply, 1)));
}

// The rules after the function part is no power: constant arguments are
// evaluated, inverse pairs cancel. The parts are simplified.
Handle ApplyRest(Handle apply) {
  Handle function = ObjSlot(apply, 0);
  Handle argument = ObjSlot(apply, 1);
  if (function == nullptr || argument == nullptr) return apply;
  // f(c): its value when that is a familiar number
  if (IsConstant(argument)) {
    if (Handle value = RecognisedValue(apply, RoundingNoise(function, argument))) {
      DisposeObj(apply);
      return value;
    }
    return apply;
  }
  // f(g(y)) = y for a function and its inverse
  int key = FunctionKey(function);
  if (key != 0 && ObjType(argument) == kApply && ObjCount(argument) == 2) {
    int inner = FunctionKey(ObjSlot(argument, 0));
    if (inner != 0 && InverseKey(key) == inner) {
      Handle y = TakeSlot(argument, 1);
      DisposeObj(apply);
      return y;
    }
  }
  return apply;
}

// The adjoint of a simplified object (taken).
Handle AdjointOf(Handle x);

// The adjoint taken of each part, except the variables an operator runs
// over (a summation's index, a partial derivative's variable).
Handle AdjointOfParts(Handle x) {
  int skip = ObjType(x) == kSummation ? 0 : ObjType(x) == kPiProduct ? 1 : -1;
  if (ObjType(x) == kPartial) return x;
  for (int i = 0; i < ObjCount(x); ++i) {
    if (i == skip || ObjSlot(x, i) == nullptr) continue;
    PutSlot(x, i, AdjointOf(TakeSlot(x, i)));
  }
  return x;
}

Handle KeepAdjoint(Handle x) {
  return NewObj1(kAdjoint, x);
}

Handle AdjointOf(Handle x) {
  if (x == nullptr) return nullptr;
  switch (ObjType(x)) {
    case kInteger:
    case kReal:
    case kNumberText:
    case kFactorial:
    case kQuestion:
    case kAbs:
      return x;  // its own adjoint
    case kAdjoint:
      return TakeAndDispose(x, 0);  // (a*)* = a
    case kSum:
    case kNegation:
    case kQuotient:
    case kPower:
    case kLess:
    case kEquals:
    case kGreater:
    case kLessEqual:
    case kNotEqual:
    case kGreaterEqual:
    case kRange:
    case kSqrt:
    case kCross:
    case kDot:
    case kIntegral:
    case kPartial:
    case kSummation:
    case kPiProduct:
      return AdjointOfParts(x);  // (a + b)* = a* + b*, and so on
    case kProduct: {
      if (OrderClass(x) != kCommuteMLinear) return KeepAdjoint(x);
      // (A B)* = B* A*
      int n = ObjCount(x);
      Handle reversed = NewObjN(kProduct, n);
      for (int i = 0; i < n; ++i) PutSlot(reversed, n - 1 - i, AdjointOf(TakeSlot(x, i)));
      DisposeObj(x);
      return reversed;
    }
    case kName: {
      int key = KeyOf(x);
      if (key == kKeyImaginary) return NewNegation(x);  // i* = -i
      return key != 0 ? x : KeepAdjoint(x);             // pi* = pi
    }
    case kApply:
      // f(x)* = f(x*) for a predefined f
      if (ObjCount(x) == 2 && FunctionKey(ObjSlot(x, 0)) != 0 && ObjSlot(x, 1) != nullptr) {
        PutSlot(x, 1, AdjointOf(TakeSlot(x, 1)));
        return x;
      }
      return KeepAdjoint(x);
    default:
      return KeepAdjoint(x);
  }
}

}  // namespace

Handle SimplifyApply(Handle obj) {
  if (ObjCount(obj) != 2 || Slot(obj, 0) == nullptr || Slot(obj, 1) == nullptr) {
    SimplifyChildren(obj);
    return obj;
  }
  SimplifySlot(obj, 0);
  SimplifySlot(obj, 1);
  Handle function = ObjSlot(obj, 0);
  if (ObjType(function) == kPower && ObjCount(function) == 2 && Slot(function, 0) != nullptr &&
      Slot(function, 1) != nullptr) {
    int key = FunctionKey(ObjSlot(function, 0));
    if (key != 0 && IsMinusOne(ObjSlot(function, 1))) {
      // sin^-1(y) is arcsin(y); a function without an inverse keeps it.
      Handle inverse = InverseApplied(key, obj);
      if (inverse == nullptr) return obj;
      DisposeObj(obj);
      return inverse;
    }
    // sin^2(y) is (sin(y))^2.
    Handle power = TakeSlot(obj, 0);
    Handle exponent = TakeSlot(power, 1);
    PutSlot(obj, 0, TakeAndDispose(power, 0));
    return PowerOfSimplified(ApplyRest(obj), exponent);
  }
  return ApplyRest(obj);
}

Handle SimplifyAbs(Handle obj) {
  if (ObjCount(obj) != 1 || Slot(obj, 0) == nullptr) return obj;
  SimplifySlot(obj, 0);
  // |-a| = |a|
  while (ObjType(ObjSlot(obj, 0)) == kNegation && Slot(ObjSlot(obj, 0), 0) != nullptr)
    PutSlot(obj, 0, TakeAndDispose(TakeSlot(obj, 0), 0));
  // |c| = the exact value of its modulus
  Handle operand = ObjSlot(obj, 0);
  if (!IsConstant(operand)) return obj;
  std::optional<NumScalar> value = TryCalcScalar(operand, false);
  if (!value) return obj;
  double modulus = std::hypot(value->re, value->im);
  if (!std::isfinite(modulus)) return obj;
  Handle exact = RecogniseReal(modulus);
  if (exact == nullptr) return obj;
  DisposeObj(obj);
  return exact;
}

Handle SimplifyFactorial(Handle obj) {
  if (ObjCount(obj) != 1 || Slot(obj, 0) == nullptr) return obj;
  SimplifySlot(obj, 0);
  // n! = its value, when it has one
  if (ObjType(ObjSlot(obj, 0)) != kInteger) return obj;
  std::optional<NumScalar> value = TryCalcScalar(obj, false);
  if (!value || !std::isfinite(value->re) || value->im != 0) return obj;
  DisposeObj(obj);
  return value->IsInteger() ? NewInteger(value->integer) : NewReal(value->re);
}

Handle SimplifyAdjoint(Handle obj) {
  if (ObjCount(obj) != 1 || Slot(obj, 0) == nullptr) return obj;
  SimplifySlot(obj, 0);
  return AdjointOf(TakeAndDispose(obj, 0));
}

}  // namespace lemmabox::simplify
