// Sums and negations.
//
//   rule                                        where
//   a + (b + c)  ->  a + b + c                  Add: nested sums opened
//   -(a + b)     ->  -a - b                     Add: a negation negates
//   numbers and p/q folded into one exact       Add
//     fraction (a double once it needs more
//     than 32 bits)
//   2*x, x/3, (2*x)/(3*y): the number is the    SplitCoefficient
//     term's multiplier
//   terms in the canonical order                Sort (CompareTerms)
//   x + x  ->  2*x                              Combine: equal neighbours
//   1.5*x + 2*x  ->  3.5*x                      Combine: real coefficients
//   the number last, an imaginary term after it Rebuild
//   a sum of one term is that term, of none 0   Rebuild
#include <cmath>
#include <vector>

#include "manip/order.h"
#include "manip/simplify.h"
#include "manip/simplify_internal.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/equivalence.h"
#include "mathobj/slots.h"

namespace lemmabox::simplify {
namespace {

struct Term {
  Coef multiplier;
  Handle term;  // null once combined into a later term
  int cls;
};

// The integer (or bounded fraction of integers) that leads a product.
bool LeadingNumber(Handle product, Coef& out) {
  Handle first = Slot(product, 0);
  if (first == nullptr) return false;
  if (ObjType(first) == kInteger) {
    out = Coef::Int(IntegerValue(first));
    return true;
  }
  return ReadFraction(first, out, true, false);
}

// A product without its first factor: the single factor left, or the
// product itself.
Handle DropFirstFactor(Handle product) {
  DeleteSlots(product, 0, 1);
  if (ObjCount(product) == 1) return TakeAndDispose(product, 0);
  return product;
}

class SumCollector {
 public:
  explicit SumCollector(int operands) { terms_.reserve(2 * operands + 16); }

  // A term (taken) with its multiplier. Terms not simplified yet are
  // simplified here, after the numbers and the nested sums are taken apart.
  void Add(Handle term, const Coef& m, bool simplified) {
    if (term == nullptr) return;
    Coef value;
    switch (ObjType(term)) {
      case kSum:
        for (int i = 0; i < ObjCount(term); ++i) Add(TakeSlot(term, i), m, simplified);
        DisposeObj(term);
        return;
      case kNegation:
        Add(TakeAndDispose(term, 0), -m, simplified);
        return;
      default:
        break;
    }
    if (ReadNumber(term, value) || ReadFraction(term, value, false, false)) {
      constant_ = constant_ + m * value;
      DisposeObj(term);
      return;
    }
    if (!simplified) {
      Add(SimpOne(term), m, true);
      return;
    }
    SplitCoefficient(term, m);
  }

  Handle Finish() {
    Sort();
    Combine();
    return Rebuild();
  }

 private:
  void Enter(Handle term, const Coef& m) { terms_.push_back({m, term, OrderClass(term)}); }

  // A simplified term: its integer or fractional factor becomes part of the
  // multiplier, so that 2*x and x/3 join x.
  void SplitCoefficient(Handle term, const Coef& m) {
    Coef k;
    if (ObjType(term) == kProduct && ObjCount(term) >= 2 && LeadingNumber(term, k)) {
      Enter(DropFirstFactor(term), m * k);
      return;
    }
    if (ObjType(term) == kQuotient && ObjCount(term) == 2 && SplitQuotient(term, m)) return;
    Enter(term, m);
  }

  // (n*X)/(d*Y) is n/d times X/Y; n/(d*Y) is n/d times 1/Y.
  bool SplitQuotient(Handle quotient, const Coef& m) {
    Handle num = ObjSlot(quotient, 0);
    Handle den = ObjSlot(quotient, 1);
    Coef kn = Coef::Int(1), kd = Coef::Int(1);
    bool numNumber = num != nullptr && ObjType(num) == kInteger;
    bool numLeads = num != nullptr && ObjType(num) == kProduct && LeadingNumber(num, kn);
    bool denNumber = den != nullptr && ObjType(den) == kInteger;
    bool denLeads = den != nullptr && ObjType(den) == kProduct && LeadingNumber(den, kd);
    if (numNumber) kn = Coef::Int(IntegerValue(num));
    if (denNumber) kd = Coef::Int(IntegerValue(den));
    bool worth = numLeads || denLeads || denNumber || (numNumber && !kn.IsOne());
    if (!worth || kd.IsZero()) return false;
    Handle restNum = TakeSlot(quotient, 0);
    Handle restDen = TakeAndDispose(quotient, 1);
    if (numNumber) {
      DisposeObj(restNum);
      restNum = nullptr;
    } else if (numLeads) {
      restNum = DropFirstFactor(restNum);
    }
    if (denNumber) {
      DisposeObj(restDen);
      restDen = nullptr;
    } else if (denLeads) {
      restDen = DropFirstFactor(restDen);
    }
    Coef k = m * kn * kd.Reciprocal();
    if (restDen == nullptr) {
      if (restNum == nullptr)
        constant_ = constant_ + k;
      else
        Enter(restNum, k);
    } else {
      Enter(NewQuotient(restNum != nullptr ? restNum : NewOne(), restDen), k);
    }
    return true;
  }

  // Higher classes first, then the term order.
  void Sort() {
    QuickSort(terms_, 0, static_cast<int>(terms_.size()), [](const Term& a, const Term& b) {
      if (a.cls != b.cls) return a.cls > b.cls;
      return CompareTermsSameClass(a.term, b.term) == kFirstBefore;
    });
  }

  // r*X -> (r, X); X -> (1, X) with X the factors after a leading real.
  static bool RealFactorForm(Handle term, double& r, int& from) {
    if (ObjType(term) == kProduct && ObjCount(term) >= 2 && Slot(term, 0) != nullptr &&
        ObjType(Slot(term, 0)) == kReal) {
      r = RealValue(Slot(term, 0));
      from = 1;
      return true;
    }
    r = 1;
    from = 0;
    return false;
  }

  // r1*X and r2*X, or r*X and X, X being one factor or the same factors.
  static bool DifferByRealFactor(Handle a, Handle b, double& ra, double& rb) {
    int fromA, fromB;
    bool realA = RealFactorForm(a, ra, fromA);
    bool realB = RealFactorForm(b, rb, fromB);
    if (!realA && !realB) return false;
    bool productA = ObjType(a) == kProduct, productB = ObjType(b) == kProduct;
    int restA = productA ? ObjCount(a) - fromA : 1;
    int restB = productB ? ObjCount(b) - fromB : 1;
    if (restA != restB) return false;
    for (int k = 0; k < restA; ++k) {
      Handle x = productA ? ObjSlot(a, fromA + k) : a;
      Handle y = productB ? ObjSlot(b, fromB + k) : b;
      if (!Equivalent(x, y)) return false;
    }
    return true;
  }

  void Combine() {
    Term* last = nullptr;
    for (Term& entry : terms_) {
      if (last != nullptr) {
        double ra, rb;
        if (Equivalent(last->term, entry.term)) {
          // x + x -> 2*x
          entry.multiplier = last->multiplier + entry.multiplier;
          DisposeObj(last->term);
          last->term = nullptr;
        } else if (DifferByRealFactor(last->term, entry.term, ra, rb)) {
          // 1.5*x + 2*x -> 3.5*x
          double c = ra * last->multiplier.Value() + rb * entry.multiplier.Value();
          std::vector<Handle> num, den;
          Coef ignored;
          SplitTerm(entry.term, ignored, num, den);
          entry.term = BuildProduct(Coef::Real(std::fabs(c)), std::move(num), std::move(den));
          entry.multiplier = Coef::Int(c < 0 ? -1 : c == 0 ? 0 : 1);
          DisposeObj(last->term);
          last->term = nullptr;
        }
      }
      last = &entry;
    }
  }

  Handle Rebuild() {
    std::vector<Handle> terms;
    terms.reserve(terms_.size() + 1);
    for (Term& entry : terms_) {
      if (entry.term == nullptr) continue;
      if (entry.multiplier.IsZero()) {
        DisposeObj(entry.term);
        continue;
      }
      terms.push_back(MultiplyTerm(entry.term, entry.multiplier));
    }
    if (!constant_.IsZero()) {
      terms.push_back(CoefObject(constant_));
      // x + 2 + 3i: the imaginary part goes last.
      size_t n = terms.size();
      if (n >= 2 && EndsInImaginaryUnit(terms[n - 2])) std::swap(terms[n - 2], terms[n - 1]);
    }
    if (terms.empty()) return NewZero();
    if (terms.size() == 1) return terms.front();
    Handle sum = NewObjN(kSum, static_cast<int>(terms.size()));
    for (size_t i = 0; i < terms.size(); ++i) PutSlot(sum, static_cast<int>(i), terms[i]);
    return sum;
  }

  // i, or a product ending in i, possibly negated.
  static bool EndsInImaginaryUnit(Handle term) {
    if (ObjType(term) == kNegation) term = Slot(term, 0);
    if (term != nullptr && ObjType(term) == kProduct) term = Slot(term, ObjCount(term) - 1);
    return IsImaginaryUnit(term);
  }

  std::vector<Term> terms_;
  Coef constant_ = Coef::Int(0);
};

}  // namespace

Handle SimplifySum(Handle obj) {
  SumCollector collector(ObjCount(obj));
  collector.Add(obj, Coef::Int(1), false);
  return collector.Finish();
}

}  // namespace lemmabox::simplify
