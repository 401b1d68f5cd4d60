// Powers and square roots.
//
//   rule                                              where
//   (a^b)^c -> a^(b*c); sqrt(a)^c -> a^(c/2)          PowerOfSimplified
//   (-a)^n -> -(a^n) for odd n, a^n for even n;       NegatedBase
//     (-a)^e -> (-1)^e * a^e otherwise
//   i^n -> 1, i, -1, -i by n mod 4                    ImaginaryPower
//   a number to a number: exact for whole exponents,  NumericPower
//     evaluated otherwise (an integer base to a
//     fraction only when the value is a familiar
//     exact number: 12^(1/2) -> 2*sqrt(3))
//   a constant to a fraction: its value when that is  PowerOfSimplified
//     a familiar number ((sqrt(2)/2)^2 -> 1/2)
//   a^1 -> a; a^0 -> 1                                PowerOfSimplified
//   x^n -> 0 when x has an order of approximation     BeyondOrder
//     k <= n
//   a^(1/2) -> sqrt(a); a^(-e) -> 1/a^e for scalars   Rebuild
//   sqrt(a) -> a^(1/2); sqrt(-a) -> i*a^(1/2)         SimplifySqrt
#include <cmath>
#include <optional>

#include "calc/calculate.h"
#include "calc/numlib_scalar.h"
#include "manip/commute.h"
#include "manip/conlin.h"
#include "manip/order.h"
#include "manip/simplify.h"
#include "manip/simplify_internal.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "notebook/knowledge.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"

namespace lemmabox::simplify {
namespace {

Handle Half() {
  return NewQuotient(NewOne(), NewTwo());
}

bool IsHalf(Handle h) {
  return h != nullptr && ObjType(h) == kQuotient && ObjCount(h) == 2 && Slot(h, 0) != nullptr &&
         Slot(h, 1) != nullptr && ObjType(Slot(h, 0)) == kInteger &&
         ObjType(Slot(h, 1)) == kInteger && IntegerValue(Slot(h, 0)) == 1 &&
         IntegerValue(Slot(h, 1)) == 2;
}

NumScalar ScalarOf(const Coef& c) {
  if (c.IsInteger()) return NumScalar::Int(c.Num());
  return NumScalar::Real(c.Value());
}

bool IsFinite(const NumScalar& s) {
  return std::isfinite(s.re) && std::isfinite(s.im);
}

bool ContainsImaginaryUnit(Handle product) {
  for (int i = 0; i < ObjCount(product); ++i)
    if (IsImaginaryUnit(ObjSlot(product, i))) return true;
  return false;
}

// The operands of a negated base that rule 4 takes the sign out of.
bool SignComesOut(Handle operand) {
  if (operand == nullptr) return false;
  switch (ObjType(operand)) {
    case kSqrt:
    case kQuotient:
    case kPower:
    case kInteger:
    case kReal:
    case kName:
      return true;
    case kProduct:
      return !ContainsImaginaryUnit(operand);
    default:
      return false;
  }
}

// (-a)^e. Null when the rule does not apply; otherwise base and exponent
// are taken.
Handle NegatedBase(Handle base, Handle exponent, const Coef* whole) {
  if (ObjType(base) != kNegation || ObjCount(base) != 1 || !SignComesOut(ObjSlot(base, 0)))
    return nullptr;
  Handle operand = ObjSlot(base, 0);
  if (whole != nullptr) {
    bool odd = whole->Num() % 2 != 0;
    Handle power = PowerOfSimplified(TakeAndDispose(base, 0), exponent);
    return odd ? NewNegation(power) : power;
  }
  // (-1)^e itself is left to the numeric rule.
  if (ObjType(operand) == kInteger && IntegerValue(operand) == 1) return nullptr;
  Handle sign = PowerOfSimplified(NewMinusOne(), DupObj(exponent));
  Handle power = PowerOfSimplified(TakeAndDispose(base, 0), exponent);
  return ProductOfSimplified({sign, power});
}

// i^n by n mod 4. Takes base and exponent.
Handle ImaginaryPower(Handle base, Handle exponent, int32_t n) {
  DisposeObj(exponent);
  switch (((n % 4) + 4) % 4) {
    case 0:
      DisposeObj(base);
      return NewOne();
    case 1:
      return base;
    case 2:
      DisposeObj(base);
      return NewMinusOne();
    default:
      return NewNegation(base);
  }
}

// A number to a number, or null when the value is not to be had exactly
// (an integer base to a fraction whose value is no familiar number).
Handle NumericPower(const Coef& base, Handle exponent) {
  Coef e;
  if (ReadRationalExponent(exponent, e)) {
    if (e.IsInteger()) {
      if (base.Exact()) return CoefObject(base.Pow(e.Num()));
      return NewReal(std::pow(base.Value(), e.Num()));
    }
    NumScalar value = PowerScalars(ScalarOf(base), NumScalar::Real(e.Value()));
    if (!IsFinite(value)) return nullptr;
    if (!base.Exact()) return NewComplex(value.re, value.im);
    return RecognisedScalar(value);
  }
  Coef numeric;
  if (!ReadNumber(exponent, numeric)) return nullptr;
  NumScalar value = PowerScalars(ScalarOf(base), ScalarOf(numeric));
  if (!IsFinite(value)) return nullptr;
  return NewComplex(value.re, value.im);
}

// x^n with an order of approximation k <= n for x is 0.
bool BeyondOrder(Handle base, const Coef& n) {
  if (!IsUserName(base) || NameNumberOf(DeclOfName(base)) < 0) return false;
  int order = ApproximationOrder(base);
  return order > 0 && order <= n.Num();
}

}  // namespace

Handle PowerOfSimplified(Handle base, Handle exponent) {
  // Nested powers and square roots: (a^b)^c = a^(b*c), sqrt(a)^c = a^(c/2).
  for (;;) {
    if (ObjType(base) == kPower && ObjCount(base) == 2 && Slot(base, 0) != nullptr &&
        Slot(base, 1) != nullptr) {
      Handle inner = TakeSlot(base, 1);
      base = TakeAndDispose(base, 0);
      exponent = ProductOfSimplified({inner, exponent});
    } else if (ObjType(base) == kSqrt && ObjCount(base) == 1 && Slot(base, 0) != nullptr) {
      base = TakeAndDispose(base, 0);
      exponent = ProductOfSimplified({exponent, Half()});
    } else {
      break;
    }
  }
  Coef e;
  bool rational = ReadRationalExponent(exponent, e);
  const Coef* whole = rational && e.IsInteger() ? &e : nullptr;
  // (-a)^n = -(a^n) or a^n; (-a)^e = (-1)^e * a^e
  if (Handle result = NegatedBase(base, exponent, whole)) return result;
  // i^n by n mod 4
  if (whole != nullptr && IsImaginaryUnit(base)) return ImaginaryPower(base, exponent, e.Num());
  // a number to a number
  Coef numericBase;
  if (ReadNumber(base, numericBase)) {
    if (Handle value = NumericPower(numericBase, exponent)) {
      DisposeObj(base);
      DisposeObj(exponent);
      return value;
    }
  }
  // A constant to a fraction, when its value is a familiar number:
  // (sqrt(2)/2)^2 = 1/2.
  if (rational && IsConstant(base)) {
    std::optional<NumScalar> value = TryCalcScalar(base, false);
    if (value) {
      if (Handle exact = RecognisedScalar(PowerScalars(*value, ScalarOf(e)))) {
        DisposeObj(base);
        DisposeObj(exponent);
        return exact;
      }
    }
  }
  // a^1 = a, a^0 = 1
  Coef numericExponent;
  if (ReadNumber(exponent, numericExponent)) {
    if (numericExponent.IsOne()) {
      DisposeObj(exponent);
      return base;
    }
    if (numericExponent.IsZero()) {
      DisposeObj(base);
      DisposeObj(exponent);
      return NewOne();
    }
  }
  // x^n = 0 beyond the order of approximation of x
  if (whole != nullptr && BeyondOrder(base, e)) {
    DisposeObj(base);
    DisposeObj(exponent);
    return NewZero();
  }
  // a^(1/2) = sqrt(a)
  if (IsHalf(exponent)) {
    DisposeObj(exponent);
    return NewSqrt(base);
  }
  // x^(-a) = 1/x^a where the exponent is no more an operator than the base
  // and the base is a scalar.
  if (ObjType(exponent) == kNegation && ObjCount(exponent) == 1 &&
      OrderClass(exponent) <= OrderClass(base) && OrderClass(base) < kCommuteMLinear)
    return NewQuotient(NewOne(), PowerOfSimplified(base, TakeAndDispose(exponent, 0)));
  return NewPower(base, exponent);
}

Handle SimplifyPower(Handle obj) {
  if (ObjCount(obj) != 2 || Slot(obj, 0) == nullptr || Slot(obj, 1) == nullptr) {
    SimplifyChildren(obj);
    return obj;
  }
  Handle base = SimpOne(TakeSlot(obj, 0));
  Handle exponent = SimpOne(TakeAndDispose(obj, 1));
  return PowerOfSimplified(base, exponent);
}

Handle SimplifySqrt(Handle obj) {
  Handle radicand = TakeAndDispose(obj, 0);
  if (radicand == nullptr) return NewSqrt(nullptr);
  radicand = SimpOne(radicand);
  // sqrt(-a) = i * a^(1/2); sqrt(a) = a^(1/2)
  if (ObjType(radicand) == kNegation && ObjCount(radicand) == 1) {
    if (Handle i = TryPredefinedName(kKeyImaginary)) {
      Handle root = PowerOfSimplified(TakeAndDispose(radicand, 0), Half());
      return ProductOfSimplified({i, root});
    }
  }
  return PowerOfSimplified(radicand, Half());
}

}  // namespace lemmabox::simplify
