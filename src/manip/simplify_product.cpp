// Products and quotients.
//
//   rule                                        where
//   d or a partial derivative applies to the    ApplyDerivativeOperators
//     simplified factors after it
//   a*(b*c) -> a*b*c, but (a*D*b)*c keeps D*b   OpenRaw, OpenSimplified
//     together: an operator of class 4 or 5
//     applies only inside its own product
//   a/b -> a * b^-1; a^(p/q), sqrt(a) -> a      Collector::Add*
//     with the exponent p/q, 1/2
//   numbers folded into one exact coefficient   AbsorbNumber
//   sqrt(12) -> 2*sqrt(3); 2^(-1/2) ->          IntegerPower
//     sqrt(2)/2 (whole powers split off, the
//     root over the integer)
//   constants first; scalars sorted between     Sort
//     operators, which keep their places
//   x*x^2 -> x^3; (a-b)*(b-a) -> -(b-a)^2       Combine
//   x^a*x^b -> x^(a+b); x*x^a -> x^(1+a)        CombineSymbolically
//   i^n by n mod 4                              AbsorbAfterCombine
//   the coefficient first, negative exponents   Rebuild, BuildProduct
//     in a denominator, 1/2 as a square root;
//     n/0 is Infinity, 0/0 unknown
//   an operator left alone keeps an operand:    SimplifyProduct
//     D*1 stays
#include <algorithm>
#include <cmath>
#include <vector>

#include "manip/commute.h"
#include "manip/order.h"
#include "manip/simplify.h"
#include "manip/simplify_internal.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/equivalence.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"

namespace lemmabox::simplify {
namespace {

struct Factor {
  Handle base;  // null once combined into a later factor
  Coef exponent;
  int cls;
};

bool IsDerivativeOperator(Handle obj) {
  return obj != nullptr && (ObjType(obj) == kPartial || KeyOf(obj) == kKeyDifferential);
}

// The integer k^q, or 0 when it exceeds limit.
int64_t PowerUpTo(int64_t k, int64_t q, int64_t limit) {
  int64_t result = 1;
  for (int64_t i = 0; i < q; ++i) {
    result *= k;
    if (result > limit) return 0;
  }
  return result;
}

Handle FactorObject(Handle base, const Coef& e) {
  if (e.IsOne()) return base;
  if (e.Exact() && e.Num() == 1 && e.Den() == 2) return NewSqrt(base);
  return NewPower(base, ExponentObject(e));
}

Handle ProductOf(const std::vector<Handle>& factors) {
  if (factors.empty()) return NewOne();
  if (factors.size() == 1) return factors.front();
  Handle product = NewObjN(kProduct, static_cast<int>(factors.size()));
  for (size_t i = 0; i < factors.size(); ++i) PutSlot(product, static_cast<int>(i), factors[i]);
  return product;
}

// The factors k.. of a product as one factor (the product itself when k is 0).
Handle TailOf(Handle product, int k) {
  if (k == 0) return product;
  int n = ObjCount(product) - k;
  if (n == 1) return TakeSlot(product, k);
  Handle tail = NewObjN(kProduct, n);
  for (int i = 0; i < n; ++i) PutSlot(tail, i, TakeSlot(product, k + i));
  return tail;
}

// The base and symbolic exponent of x^e (e not a fraction); x and null for
// anything else.
Handle LookThrough(Handle base, Handle& exponent) {
  if (ObjType(base) == kPower && ObjCount(base) == 2) {
    exponent = ObjSlot(base, 1);
    return ObjSlot(base, 0);
  }
  exponent = nullptr;
  return base;
}

// e*m as an exponent: e alone for m = 1, m alone for a plain factor.
Handle ExponentTerm(Handle e, const Coef& m) {
  if (e == nullptr) return ExponentObject(m);
  if (m.IsOne()) return DupObj(e);
  return NewProduct(ExponentObject(m), DupObj(e));
}

class Collector {
 public:
  explicit Collector(int operands) { factors_.reserve(2 * operands + 16); }

  // A factor (taken) that is not simplified yet, with its exponent.
  void AddRaw(Handle f, const Coef& m) {
    if (f == nullptr) return;
    switch (ObjType(f)) {
      case kProduct:
        OpenRaw(f, m);
        return;
      case kQuotient:
        if (ObjCount(f) != 2) break;
        AddRaw(TakeSlot(f, 0), m);
        AddRaw(TakeAndDispose(f, 1), -m);
        return;
      case kNegation:
        if (!m.IsInteger() || ObjCount(f) != 1) break;
        coefficient_ = coefficient_ * Coef::Int(-1).Pow(m.Num());
        AddRaw(TakeAndDispose(f, 0), m);
        return;
      default:
        break;
    }
    Coef value;
    if (ReadNumber(f, value)) {
      AbsorbNumber(f, value, m);
      return;
    }
    AddSimplified(SimpOne(f), m);
  }

  // A simplified factor (taken) with its exponent.
  void AddSimplified(Handle f, const Coef& m) {
    if (f == nullptr) return;
    Coef e;
    switch (ObjType(f)) {
      case kProduct:
        OpenSimplified(f, m);
        return;
      case kQuotient:
        if (ObjCount(f) != 2) break;
        AddSimplified(TakeSlot(f, 0), m);
        AddSimplified(TakeAndDispose(f, 1), -m);
        return;
      case kNegation:
        if (!m.IsInteger() || ObjCount(f) != 1) break;
        coefficient_ = coefficient_ * Coef::Int(-1).Pow(m.Num());
        AddSimplified(TakeAndDispose(f, 0), m);
        return;
      case kPower:
        if (ObjCount(f) != 2 || !ReadRationalExponent(ObjSlot(f, 1), e)) break;
        AddSimplified(TakeAndDispose(f, 0), m * e);
        return;
      case kSqrt:
        if (ObjCount(f) != 1) break;
        AddSimplified(TakeAndDispose(f, 0), m * Coef::Frac(1, 2));
        return;
      default:
        break;
    }
    Coef value;
    if (ReadNumber(f, value)) {
      AbsorbNumber(f, value, m);
      return;
    }
    Enter(f, m);
  }

  Handle Finish() {
    Sort();
    Combine();
    AbsorbAfterCombine();
    return Rebuild();
  }

 private:
  void Enter(Handle f, const Coef& m) {
    if (m.IsZero()) {
      DisposeObj(f);
      return;
    }
    factors_.push_back({f, m, OrderClass(f)});
  }

  // Products are opened where that keeps their meaning: with exponent 1, or
  // -1 for scalars ((x*y)^-1 is x^-1*y^-1, (A*B)^-1 is not A^-1*B^-1).
  static bool Opens(Handle product, const Coef& m) {
    return m.IsOne() || (m.IsInteger() && m.Num() == -1 && OrderClass(product) <= 2);
  }

  void OpenRaw(Handle product, const Coef& m) {
    if (!Opens(product, m)) {
      AddSimplified(SimpOne(product), m);
      return;
    }
    for (int i = 0; i < ObjCount(product); ++i) {
      Handle factor = ObjSlot(product, i);
      if (factor != nullptr && OrderClass(factor) >= kCommuteDLinear) {
        // D applies to what follows it in its own product only.
        Handle tail = TailOf(product, i);
        if (tail != product) DisposeObj(product);
        Enter(SimpOne(tail), m);
        return;
      }
      AddRaw(TakeSlot(product, i), m);
    }
    DisposeObj(product);
  }

  void OpenSimplified(Handle product, const Coef& m) {
    if (!Opens(product, m)) {
      Enter(product, m);
      return;
    }
    for (int i = 0; i < ObjCount(product); ++i) {
      Handle factor = ObjSlot(product, i);
      if (factor != nullptr && OrderClass(factor) >= kCommuteDLinear) {
        Handle tail = TailOf(product, i);
        if (tail != product) DisposeObj(product);
        Enter(tail, m);
        return;
      }
      AddSimplified(TakeSlot(product, i), m);
    }
    DisposeObj(product);
  }

  // A number (taken) to the power m goes into the coefficient; a negative
  // number or a real to a fractional power stays a factor.
  void AbsorbNumber(Handle f, const Coef& value, const Coef& m) {
    if (m.IsInteger()) {
      coefficient_ = coefficient_ * value.Pow(m.Num());
    } else if (value.IsInteger() && value.Num() >= 0 && m.Exact()) {
      int32_t rest;
      Coef restExponent;
      if (IntegerPower(value.Num(), m, rest, restExponent)) {
        Enter(NewInteger(rest), restExponent);
      }
    } else if (!value.IsNegative()) {
      coefficient_ = coefficient_ * Coef::Real(std::pow(value.Value(), m.Value()));
    } else {
      Enter(f, m);
      return;
    }
    DisposeObj(f);
  }

  // b^(p/q) with b >= 0: the whole power b^w (w = floor(p/q)) and every
  // q-th power inside b go into the coefficient (sqrt(12) = 2 sqrt(3),
  // 2^(-1/2) = sqrt(2)/2); what remains is rest^(r/q), 0 < r < q. False
  // when nothing remains.
  bool IntegerPower(int32_t b, const Coef& m, int32_t& rest, Coef& restExponent) {
    int64_t p = m.Num(), q = m.Den();
    if (b == 0) {
      coefficient_ = coefficient_ * (p > 0 ? Coef::Int(0) : Coef::Frac(1, 0));
      return false;
    }
    if (b == 1) return false;
    int64_t w = p >= 0 ? p / q : -((-p + q - 1) / q);
    int64_t r = p - w * q;
    coefficient_ = coefficient_ * Coef::Int(b).Pow(w);
    int64_t t = b, s = 1;
    for (int64_t k = 2;; ++k) {
      int64_t kq = PowerUpTo(k, q, t);
      if (kq == 0) break;
      while (t % kq == 0) {
        t /= kq;
        s *= k;
      }
    }
    coefficient_ = coefficient_ * Coef::Int(s).Pow(r);
    if (t == 1) return false;
    rest = static_cast<int32_t>(t);
    restExponent = Coef::Frac(r, q);
    return true;
  }

  // Constants lead, in the order they came; every run of scalars between
  // two operators is sorted; the operators keep their places.
  void Sort() {
    std::stable_partition(factors_.begin(), factors_.end(),
                          [](const Factor& f) { return f.cls == kCommuteConstant; });
    auto less = [](const Factor& a, const Factor& b) {
      if (a.cls != b.cls) return a.cls < b.cls;
      return CompareFactorsSameClass(a.base, b.base) == kFirstBefore;
    };
    int n = static_cast<int>(factors_.size());
    for (int i = 0; i < n;) {
      if (factors_[i].cls >= kCommuteMLinear) {
        ++i;
        continue;
      }
      int j = i;
      while (j < n && factors_[j].cls < kCommuteMLinear) ++j;
      QuickSort(factors_, i, j, less);
      i = j;
    }
  }

  void Combine() {
    Factor* last = nullptr;
    for (Factor& f : factors_) {
      if (last != nullptr) {
        if (Equivalent(last->base, f.base)) {
          // x^2 * x -> x^3
          f.exponent = last->exponent + f.exponent;
          DisposeObj(last->base);
          last->base = nullptr;
        } else if (IsNegationOf(last->base, f.base)) {
          // (a-b)^2 * (b-a) -> (-1)^2 * (b-a)^3
          Coef e = last->exponent;
          f.exponent = e + f.exponent;
          DisposeObj(last->base);
          last->base = nullptr;
          if (e.IsInteger()) {
            coefficient_ = coefficient_ * Coef::Int(-1).Pow(e.Num());
          } else {
            last->base = NewMinusOne();
            last->cls = kCommuteConstant;
          }
        } else {
          CombineSymbolically(*last, f);
        }
      }
      last = &f;
    }
  }

  // x^a * x^b -> x^(a+b), x * x^a -> x^(1+a); for bases that are each
  // other's negations the earlier one leaves (-1)^(its exponent).
  static void CombineSymbolically(Factor& a, Factor& b) {
    Handle ea, eb;
    Handle ba = LookThrough(a.base, ea);
    Handle bb = LookThrough(b.base, eb);
    if (ea == nullptr && eb == nullptr) return;
    bool same = Equivalent(ba, bb);
    if (!same && !IsNegationOf(ba, bb)) return;
    Handle termA = ExponentTerm(ea, a.exponent);
    Handle termB = ExponentTerm(eb, b.exponent);
    Handle base = eb != nullptr ? TakeAndDispose(b.base, 0) : b.base;
    Handle negatedPart = same ? nullptr : NewPower(NewMinusOne(), DupObj(termA));
    b.base = NewPower(base, NewSum(termA, termB));
    b.exponent = Coef::Int(1);
    b.cls = OrderClass(b.base);
    DisposeObj(a.base);
    a.base = negatedPart;
    a.exponent = Coef::Int(1);
    a.cls = kCommuteConstant;
  }

  // Integers whose exponents now have whole parts give them to the
  // coefficient; i^n is 1, i, -1 or -i.
  void AbsorbAfterCombine() {
    for (Factor& f : factors_) {
      if (f.base == nullptr) continue;
      if (f.exponent.IsZero()) {
        DisposeObj(f.base);
        f.base = nullptr;
      } else if (ObjType(f.base) == kInteger && f.exponent.Exact() && !f.exponent.IsInteger()) {
        int32_t rest;
        Coef restExponent;
        bool remains = IntegerPower(IntegerValue(f.base), f.exponent, rest, restExponent);
        DisposeObj(f.base);
        f.base = remains ? NewInteger(rest) : nullptr;
        f.exponent = restExponent;
      } else if (ObjType(f.base) == kInteger && f.exponent.IsInteger()) {
        coefficient_ = coefficient_ * Coef::Int(IntegerValue(f.base)).Pow(f.exponent.Num());
        DisposeObj(f.base);
        f.base = nullptr;
      } else if (IsImaginaryUnit(f.base) && f.exponent.IsInteger()) {
        int n = ((f.exponent.Num() % 4) + 4) % 4;
        if (n >= 2) coefficient_ = -coefficient_;
        if (n % 2 == 0) {
          DisposeObj(f.base);
          f.base = nullptr;
        } else {
          f.exponent = Coef::Int(1);
        }
      }
    }
  }

  // Negative exponents of scalars go into the denominator; an operator to
  // a negative power stays where it is, since it does not commute.
  Handle Rebuild() {
    std::vector<Handle> num, den;
    for (Factor& f : factors_) {
      if (f.base == nullptr) continue;
      bool below = f.exponent.IsNegative() && f.cls < kCommuteMLinear;
      Handle obj = FactorObject(f.base, below ? -f.exponent : f.exponent);
      (below ? den : num).push_back(obj);
    }
    factors_.clear();
    return BuildProduct(coefficient_, std::move(num), std::move(den));
  }

  std::vector<Factor> factors_;
  Coef coefficient_ = Coef::Int(1);
};

// A partial derivative or the differential d applies to the simplified
// product of the factors after it, scanning from the second-to-last factor
// back to the first; the result replaces them.
void ApplyDerivativeOperators(Handle product) {
  if (gSimplifyHooks.applyDerivative == nullptr) return;
  for (int k = ObjCount(product) - 2; k >= 0; --k) {
    Handle op = ObjSlot(product, k);
    if (!IsDerivativeOperator(op)) continue;
    Handle operand = SimpOne(CopySlotRange(product, k + 1, ObjCount(product)));
    Handle result = gSimplifyHooks.applyDerivative(op, operand);
    DisposeObj(operand);
    if (result == nullptr) continue;
    DeleteSlots(product, k, ObjCount(product));
    InsertSlot(product, k, result);
  }
}

// The factors of one side of a product or quotient, the leading number
// going into the coefficient (multiplied in, or divided out below).
void TakeFactors(Handle part, Coef& coefficient, bool below, std::vector<Handle>& out) {
  if (part == nullptr) return;
  Coef value;
  if (ObjType(part) == kProduct) {
    for (int i = 0; i < ObjCount(part); ++i) {
      Handle f = TakeSlot(part, i);
      if (f == nullptr) continue;
      if (i == 0 && ReadNumber(f, value)) {
        coefficient = coefficient * (below ? value.Reciprocal() : value);
        DisposeObj(f);
      } else {
        out.push_back(f);
      }
    }
    DisposeObj(part);
  } else if (ReadNumber(part, value)) {
    coefficient = coefficient * (below ? value.Reciprocal() : value);
    DisposeObj(part);
  } else {
    out.push_back(part);
  }
}

}  // namespace

Handle BuildProduct(const Coef& coefficient, std::vector<Handle> num, std::vector<Handle> den) {
  if (coefficient.IsZero() || coefficient.IsUndefined()) {
    for (Handle h : num) DisposeObj(h);
    for (Handle h : den) DisposeObj(h);
    return coefficient.IsZero() ? NewZero() : NewQuestionMark();
  }
  Coef magnitude = coefficient.Abs();
  Handle lead = nullptr;
  Handle denominatorLead = nullptr;
  if (magnitude.Exact()) {
    if (magnitude.Den() == 0) {
      lead = NewPredefinedName(kKeyInfinity);
    } else {
      if (magnitude.Num() != 1) lead = NewInteger(magnitude.Num());
      if (magnitude.Den() != 1) denominatorLead = NewInteger(magnitude.Den());
    }
  } else if (std::fabs(magnitude.Value() - 1) > 1e-19) {
    lead = NewReal(magnitude.Value());
  }
  if (lead != nullptr) num.insert(num.begin(), lead);
  if (denominatorLead != nullptr) den.insert(den.begin(), denominatorLead);
  Handle result = ProductOf(num);
  if (!den.empty()) result = NewQuotient(result, ProductOf(den));
  return coefficient.IsNegative() ? NewNegation(result) : result;
}

void SplitTerm(Handle term, Coef& coefficient, std::vector<Handle>& num, std::vector<Handle>& den) {
  coefficient = Coef::Int(1);
  if (ObjType(term) == kQuotient && ObjCount(term) == 2) {
    Handle numerator = TakeSlot(term, 0);
    Handle denominator = TakeAndDispose(term, 1);
    TakeFactors(numerator, coefficient, false, num);
    TakeFactors(denominator, coefficient, true, den);
    return;
  }
  TakeFactors(term, coefficient, false, num);
}

Handle MultiplyTerm(Handle term, const Coef& coefficient) {
  if (coefficient.IsOne()) return term;
  Coef own;
  std::vector<Handle> num, den;
  SplitTerm(term, own, num, den);
  return BuildProduct(coefficient * own, std::move(num), std::move(den));
}

Handle ProductOfSimplified(std::vector<Handle> factors) {
  Collector collector(static_cast<int>(factors.size()));
  for (Handle f : factors) collector.AddSimplified(f, Coef::Int(1));
  return collector.Finish();
}

Handle SimplifyProduct(Handle obj) {
  if (ObjType(obj) == kQuotient && ObjCount(obj) != 2) {
    SimplifyChildren(obj);
    return obj;
  }
  int before = OrderClass(obj);
  Collector collector(ObjCount(obj));
  if (ObjType(obj) == kQuotient) {
    collector.AddRaw(TakeSlot(obj, 0), Coef::Int(1));
    collector.AddRaw(TakeSlot(obj, 1), Coef::Int(-1));
  } else {
    ApplyDerivativeOperators(obj);
    for (int i = 0; i < ObjCount(obj); ++i) collector.AddRaw(TakeSlot(obj, i), Coef::Int(1));
  }
  DisposeObj(obj);
  Handle result = collector.Finish();
  // D*1: an operator whose operand simplified away keeps one.
  if (OrderClass(result) > before) {
    if (ObjType(result) == kProduct)
      InsertSlot(result, ObjCount(result), NewOne());
    else
      result = NewProduct(result, NewOne());
  }
  return result;
}

}  // namespace lemmabox::simplify
