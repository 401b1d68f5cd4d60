// What the files of the simplifier share: the per-type entries, the
// builders that put simplified parts together without simplifying them a
// second time, and small tests on names. Only src/manip/simplify*.cpp
// include this.
#pragma once

#include <utility>
#include <vector>

#include "calc/numlib_scalar.h"
#include "manip/coefficient.h"
#include "mathobj/object.h"

namespace lemmabox::simplify {

// --- Slots ---

inline Handle Slot(Handle obj, int i) {
  return obj != nullptr && i < ObjCount(obj) ? ObjSlot(obj, i) : nullptr;
}
// Simplifies the occupant of slot i in place (an empty slot stays empty).
void SimplifySlot(Handle obj, int i);
// Simplifies every object slot.
void SimplifyChildren(Handle obj);
// Takes slot i out and disposes obj; the occupant is returned.
Handle TakeAndDispose(Handle obj, int i);

// --- Per-type entries (the Simplify table) ---

Handle SimplifySum(Handle obj);      // '+' and '-'
Handle SimplifyProduct(Handle obj);  // '*' and '/'
Handle SimplifyPower(Handle obj);    // '^'
Handle SimplifySqrt(Handle obj);     // '%'
Handle SimplifyApply(Handle obj);    // ';'
Handle SimplifyAbs(Handle obj);      // '|'
Handle SimplifyFactorial(Handle obj);
Handle SimplifyAdjoint(Handle obj);
Handle SimplifyIndex(Handle obj);  // '_'
Handle SimplifyConditional(Handle obj);
Handle SimplifyEvalAt(Handle obj);

// --- Builders on simplified parts ---

// The canonical product of simplified factors (taken): flattened, numbers
// folded, sorted, like factors combined.
Handle ProductOfSimplified(std::vector<Handle> factors);
// The power rules on a simplified base and exponent (taken).
Handle PowerOfSimplified(Handle base, Handle exponent);
// The canonical form of coefficient * num / den, the factor lists being
// simplified factors in canonical order (taken): the coefficient leads the
// numerator (its denominator the denominator), 0 or an unknown coefficient
// is the whole result, a negative one makes the result a negation.
Handle BuildProduct(const Coef& coefficient, std::vector<Handle> num, std::vector<Handle> den);
// A simplified term (taken) times a coefficient, in canonical form: the
// factors of a product or quotient are kept and the coefficient joins the
// leading real or integer factors.
Handle MultiplyTerm(Handle term, const Coef& coefficient);
// A simplified term split into its coefficient and the rest: a leading real
// factor of a product (or of a quotient's numerator) goes to the
// coefficient, the other factors to num and den. The term is taken apart.
void SplitTerm(Handle term, Coef& coefficient, std::vector<Handle>& num, std::vector<Handle>& den);

// --- Names and numbers ---

// The predefined key of a declared name (0 for anything else).
int KeyOf(Handle obj);
bool IsImaginaryUnit(Handle obj);
// A user-defined declared name.
bool IsUserName(Handle obj);
// The name of a predefined key as the notebook declares it, or null when it
// does not.
Handle TryPredefinedName(int key);
// The exact familiar number a value is, or null: a part that is below the
// numeric tolerance beside the other, or not above zeroBelow, counts as 0.
Handle RecognisedScalar(NumScalar value, double zeroBelow = 0);
// The same for the value obj evaluates to (without working statements); null
// too when it has none.
Handle RecognisedValue(Handle obj, double zeroBelow = 0);
// --- Sorting ---

// Quicksort with the middle element as pivot, on [lo, hi). The bounds are
// checked on every step, so an order that is not quite consistent costs at
// most a less tidy result.
template <class T, class Less>
void QuickSort(std::vector<T>& v, int lo, int hi, const Less& less) {
  --hi;
  while (lo < hi) {
    T pivot = v[lo + (hi - lo) / 2];
    int i = lo, j = hi;
    while (i <= j) {
      while (i <= hi && less(v[i], pivot)) ++i;
      while (j >= lo && less(pivot, v[j])) --j;
      if (i <= j) std::swap(v[i++], v[j--]);
    }
    // Recurse into the smaller part, loop on the larger.
    if (j - lo < hi - i) {
      QuickSort(v, lo, j + 1, less);
      lo = i;
    } else {
      QuickSort(v, i, hi + 1, less);
      hi = j;
    }
  }
}

}  // namespace lemmabox::simplify
