// Subscripts, conditionals and evaluate-at.
//
//   rule                                              where
//   M_i -> element i of a vector, row i of a matrix;  SimplifyIndex
//     M_(i,j) -> element (i, j); indices from 1
//   c_(i,j) -> c when i = j, else 0 (c a number)      SimplifyIndex
//   {v1 if c1; v2 if c2 ...} -> the value of the      SimplifyConditional
//     first condition that is not zero, ? when none
//     is; it stays while a condition has no value
//   e |(x=a) -> e with x replaced by a;               SimplifyEvalAt
//     e |(x=a, x=b) -> e(b) - e(a); distributed over
//     sums and negations when e has an integral or
//     a derivative in a variable that may depend on x
#include <cmath>
#include <optional>
#include <vector>

#include "calc/calculate.h"
#include "manip/conlin.h"
#include "manip/order.h"
#include "manip/simplify.h"
#include "manip/simplify_internal.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/equivalence.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "notebook/working_statements.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox::simplify {
namespace {

// Indices count from 1.
constexpr int kSubscriptBase = 1;

// The index expressions of a subscript: the elements of a list or of a
// one-row or one-column matrix, or the subscript itself.
std::vector<Handle> IndicesOf(Handle subscript) {
  std::vector<Handle> indices;
  bool vector =
      ObjType(subscript) == kMatrix && (MatrixRows(subscript) == 1 || MatrixCols(subscript) == 1);
  if (vector || ObjType(subscript) == kList) {
    for (int i = 0; i < ObjCount(subscript); ++i) indices.push_back(ObjSlot(subscript, i));
  } else {
    indices.push_back(subscript);
  }
  return indices;
}

// The whole-number value of a constant index (rounded as the calculation
// rounds), or nothing when it has none.
std::optional<int64_t> IndexValue(Handle index) {
  if (index == nullptr) return std::nullopt;
  std::optional<NumScalar> value = TryCalcScalar(index, false);
  if (!value || !std::isfinite(value->re) || std::fabs(value->re) > 1e15) return std::nullopt;
  return static_cast<int64_t>(std::floor(value->re + 0.5));
}

void CheckRange(Handle obj, int64_t index, int size) {
  if (index < kSubscriptBase) RaiseAtObject(kMsgSubscriptTooLow, obj);
  if (index >= size + kSubscriptBase) RaiseAtObject(kMsgSubscriptTooHigh, obj);
}

// The element at slot i of the matrix (taken), or a question mark for an
// empty one; obj, which holds the matrix, is disposed.
Handle TakeElement(Handle obj, Handle matrix, int i) {
  Handle element = TakeSlot(matrix, i);
  DisposeObj(obj);
  return element != nullptr ? element : NewQuestionMark();
}

Handle SubscriptMatrix(Handle obj, Handle matrix, const std::vector<int64_t>& at) {
  int rows = MatrixRows(matrix), cols = MatrixCols(matrix);
  if (at.size() == 2) {
    CheckRange(obj, at[0], rows);
    CheckRange(obj, at[1], cols);
    return TakeElement(obj, matrix,
                       static_cast<int>((at[0] - kSubscriptBase) * cols + at[1] - kSubscriptBase));
  }
  if (rows == 1 || cols == 1) {
    CheckRange(obj, at[0], rows * cols);
    return TakeElement(obj, matrix, static_cast<int>(at[0] - kSubscriptBase));
  }
  CheckRange(obj, at[0], rows);
  int row = static_cast<int>(at[0] - kSubscriptBase);
  Handle result = NewMatrix(1, cols);
  for (int j = 0; j < cols; ++j) {
    Handle element = TakeSlot(matrix, row * cols + j);
    PutSlot(result, j, element != nullptr ? element : NewQuestionMark());
  }
  DisposeObj(obj);
  return result;
}

// --- Evaluate-at ---

// The variable of an integral's differential (the x of ... d x), or null.
Handle DifferentialVariable(Handle integral) {
  Handle integrand = Slot(integral, 0);
  if (integrand == nullptr) return nullptr;
  if (IsDifferential(integrand)) return ObjSlot(integrand, 1);
  if (ObjType(integrand) != kProduct) return nullptr;
  int n = ObjCount(integrand);
  for (int k = 0; k < n; ++k) {
    Handle f = ObjSlot(integrand, k);
    if (IsDifferential(f)) return ObjSlot(f, 1);
    if (KeyOf(f) == kKeyDifferential && k + 1 < n) return ObjSlot(integrand, k + 1);
  }
  return nullptr;
}

// Whether x can be replaced in e: every integral's variable and every
// partial derivative's variable in e is independent of x.
bool Substitutable(Handle e, Handle x) {
  if (e == nullptr) return true;
  if (ObjType(e) == kIntegral) {
    Handle variable = DifferentialVariable(e);
    if (variable == nullptr || !NamesIndependent(variable, x)) return false;
  }
  if (ObjType(e) == kPartial && !NamesIndependent(Slot(e, 0), x)) return false;
  if (IsLeafType(ObjType(e))) return true;
  for (int i = 0; i < ObjCount(e); ++i)
    if (!Substitutable(ObjSlot(e, i), x)) return false;
  return true;
}

bool IsEquation(Handle h) {
  return h != nullptr && ObjType(h) == kEquals && ObjCount(h) == 2 && ObjSlot(h, 0) != nullptr &&
         ObjSlot(h, 1) != nullptr;
}

Handle NewEvalAt(Handle e, Handle lower, Handle upper) {
  Handle at = NewObjN(kEvalAt, upper != nullptr ? 3 : 2);
  PutSlot(at, 0, e);
  PutSlot(at, 1, lower);
  if (upper != nullptr) PutSlot(at, 2, upper);
  return at;
}

}  // namespace

Handle SimplifyIndex(Handle obj) {
  SimplifyChildren(obj);
  Handle base = Slot(obj, 0);
  Handle subscript = Slot(obj, 1);
  if (ObjCount(obj) != 2 || base == nullptr || subscript == nullptr) return obj;
  bool matrix = ObjType(base) == kMatrix;
  Coef number;
  bool numeric = !matrix && ReadNumber(base, number);
  if ((!matrix && !numeric) || !IsConstant(subscript)) return obj;
  std::vector<Handle> indices = IndicesOf(subscript);
  if (indices.size() != 1 && indices.size() != 2) RaiseAtObject(kMsgBadMatrixSubscript, obj);
  std::vector<int64_t> at;
  for (Handle index : indices) {
    std::optional<int64_t> value = IndexValue(index);
    if (!value) return obj;
    at.push_back(*value);
  }
  if (matrix) return SubscriptMatrix(obj, base, at);
  // A number times the identity: c_(i,i) = c, c_(i,j) = 0.
  if (at.size() != 2) return obj;
  if (at[0] != at[1]) {
    DisposeObj(obj);
    return NewZero();
  }
  return TakeAndDispose(obj, 0);
}

Handle SimplifyConditional(Handle obj) {
  Handle table = Slot(obj, 0);
  if (table == nullptr || ObjType(table) != kMatrix || MatrixCols(table) != 2)
    RaiseAtObject(kMsgBadConditional, obj);
  int rows = MatrixRows(table);
  for (int r = 0; r < rows; ++r) {
    Handle condition = MatrixElement(table, r, 1);
    std::optional<NumScalar> value =
        condition != nullptr ? TryCalcScalar(condition, false) : std::nullopt;
    if (!value) {
      // A condition without a value decides nothing yet.
      SimplifyChildren(table);
      return obj;
    }
    if (!std::isfinite(value->re) || !std::isfinite(value->im))
      RaiseAtObject(kMsgUndefinedValue, condition);
    if (value->re == 0 && value->im == 0) continue;
    Handle chosen = TakeSlot(table, r * 2);
    DisposeObj(obj);
    return chosen != nullptr ? SimpOne(chosen) : NewQuestionMark();
  }
  DisposeObj(obj);
  return NewQuestionMark();
}

Handle SimplifyEvalAt(Handle obj) {
  SimplifyChildren(obj);
  int n = ObjCount(obj);
  Handle e = Slot(obj, 0);
  Handle lower = Slot(obj, 1);
  Handle upper = n >= 3 ? Slot(obj, 2) : nullptr;
  if (n < 2 || !IsEquation(lower) || (n >= 3 && !IsEquation(upper)))
    RaiseAtObject(kMsgBadEvaluateAt, obj);
  Handle x = ObjSlot(lower, 0);
  if (e == nullptr || !IsUserName(x) || (upper != nullptr && !Equivalent(ObjSlot(upper, 0), x)))
    return obj;
  if (Substitutable(e, x)) {
    Handle pattern = DupObj(x);
    Handle result;
    if (upper == nullptr) {
      result = ReplaceAll(TakeSlot(obj, 0), pattern, ObjSlot(lower, 1));
    } else {
      Handle atUpper = ReplaceAll(DupObj(e), pattern, ObjSlot(upper, 1));
      Handle atLower = ReplaceAll(TakeSlot(obj, 0), pattern, ObjSlot(lower, 1));
      result = NewDifference(atUpper, atLower);
    }
    DisposeObj(pattern);
    DisposeObj(obj);
    return result;
  }
  // Otherwise each term gets its own evaluation.
  if (ObjType(e) != kSum && ObjType(e) != kNegation) return obj;
  for (int i = 0; i < ObjCount(e); ++i) {
    Handle part = TakeSlot(e, i);
    if (part == nullptr) continue;
    PutSlot(e, i, NewEvalAt(part, DupObj(lower), upper != nullptr ? DupObj(upper) : nullptr));
  }
  return TakeAndDispose(obj, 0);
}

}  // namespace lemmabox::simplify
