// The per-type Calc table: how each expression type evaluates. Every operand
// is evaluated with CalcObj, so every entry pushes exactly one element.
#include <cmath>
#include <vector>

#include "calc/calc_elements.h"
#include "calc/calc_engine.h"
#include "calc/calc_entries.h"
#include "calc/calc_stack.h"
#include "mathobj/numbers.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

// --- Numbers ---

void CalcInteger(Handle obj) {
  PushInt(IntegerValue(obj));
}

void CalcRealNumber(Handle obj) {
  PushReal(RealValue(obj));
}

// A typed number: an integer when its value is a whole number that fits.
void CalcNumberText(Handle obj) {
  double x = NumberTextValue(ObjText(obj));
  if (std::floor(x + 0.5) == x && std::fabs(x) <= 2147483647.0)
    PushInt(static_cast<int32_t>(x));
  else
    PushReal(x);
}

void CalcQuestionMark(Handle) {
  PushUndefined();
}

// --- Operators ---

void CalcParens(Handle obj) {
  CalcObj(ObjCount(obj) >= 1 ? ObjSlot(obj, 0) : nullptr);
}

Handle Operand(Handle obj, int i) {
  if (i >= ObjCount(obj)) RaiseAtCalcObj(kMsgCannotCalculate);
  return ObjSlot(obj, i);
}

void CalcSum(Handle obj) {
  int n = ObjCount(obj);
  if (n == 0) {
    PushInt(0);
    return;
  }
  CalcObj(ObjSlot(obj, 0));
  for (int k = 1; k < n; ++k) {
    CalcObj(ObjSlot(obj, k));
    AddElements();
  }
}

template <void (*Op)()>
void CalcUnary(Handle obj) {
  CalcObj(Operand(obj, 0));
  Op();
}

template <void (*Op)()>
void CalcBinary(Handle obj) {
  CalcObj(Operand(obj, 0));
  CalcObj(Operand(obj, 1));
  Op();
}

// Both sides as reals; 1 or 0, undefined when either side is.
template <bool (*Holds)(double, double)>
void CalcComparison(Handle obj) {
  double a = RealOfScalar(CalcScalarOf(Operand(obj, 0)));
  double b = RealOfScalar(CalcScalarOf(Operand(obj, 1)));
  if (std::isnan(a) || std::isnan(b))
    PushUndefined();
  else
    PushInt(Holds(a, b) ? 1 : 0);
}

bool Less(double a, double b) {
  return a < b;
}
bool Greater(double a, double b) {
  return a > b;
}
bool LessEqual(double a, double b) {
  return a <= b;
}
bool GreaterEqual(double a, double b) {
  return a >= b;
}

// a \ b is 1 - (a = b).
void CalcNotEqual(Handle obj) {
  PushInt(1);
  CalcObj(Operand(obj, 0));
  CalcObj(Operand(obj, 1));
  EqualElements();
  NegateElement();
  AddElements();
}

// Every entry must be a scalar; the entries are packed into one element of
// the largest entry kind.
void CalcMatrix(Handle obj) {
  int rows = MatrixRows(obj);
  int cols = MatrixCols(obj);
  if (rows < 1 || cols < 1 || rows * cols != ObjCount(obj)) RaiseAtCalcObj(kMsgCannotCalculate);
  if (rows > kMaxElementDimension || cols > kMaxElementDimension)
    RaiseAtCalcObj(kMsgMatricesTooLarge);
  for (int k = 0; k < rows * cols; ++k) {
    Handle entry = ObjSlot(obj, k);
    CalcObj(entry);
    if (TopHasDimensions()) RaiseAtObject(kMsgNeedScalar, entry);
    if ((k & 63) == 63) CheckInterrupt();
  }
  std::vector<NumScalar> entries(static_cast<size_t>(rows) * cols);
  for (int k = rows * cols - 1; k >= 0; --k) entries[k] = PopScalar();
  PushMatrix(PackMatrix(rows, cols, entries));
}

// Rows (value, condition): the value of the first row whose condition holds.
void CalcConditional(Handle obj) {
  Handle m = StripCalcParens(ObjCount(obj) >= 1 ? ObjSlot(obj, 0) : nullptr);
  if (m == nullptr || ObjType(m) != 'm' || MatrixCols(m) != 2) RaiseAtCalcObj(kMsgBadConditional);
  for (int r = 0; r < MatrixRows(m); ++r) {
    NumScalar c = CalcScalarOf(MatrixElement(m, r, 1));
    bool holds = false;
    if (c.IsInteger()) {
      holds = c.integer != 0;
    } else if (std::isnan(c.re) || std::isnan(c.im)) {
      PushUndefined();
      return;
    } else {
      holds = c.re != 0.0 || c.im != 0.0;
    }
    if (holds) {
      CalcObj(MatrixElement(m, r, 0));
      return;
    }
  }
  PushUndefined();
}

// Operators that need more around them than they have alone.
void CannotCalculate(Handle) {
  RaiseAtCalcObj(kMsgCannotCalculate);
}
void CannotEvaluateFunction(Handle) {
  RaiseAtCalcObj(kMsgCannotEvaluateFunction);
}

}  // namespace

void RegisterCalcTable() {
  OpTable<CalcFn>& t = gCalcTable;
  t.Set(kInteger, CalcInteger);
  t.Set(kReal, CalcRealNumber);
  t.Set(kNumberText, CalcNumberText);
  t.Set(kQuestion, CalcQuestionMark);
  t.Set(kName, CalcDeclaredName);
  t.Set(kUndeclaredName, CalcUndeclaredName);
  t.Set(kWildcard, CalcWildcard);
  t.Set(kParens, CalcParens);
  t.Set(kSum, CalcSum);
  t.Set(kProduct, CalcProduct);
  t.Set(kNegation, CalcUnary<NegateElement>);
  t.Set(kQuotient, CalcBinary<DivideElements>);
  t.Set(kPower, CalcBinary<PowerElements>);
  t.Set(kAbs, CalcUnary<AbsElement>);
  t.Set(kSqrt, CalcUnary<SqrtElement>);
  t.Set(kFactorial, CalcUnary<FactorialElement>);
  t.Set(kAdjoint, CalcUnary<AdjointElement>);
  t.Set(kCross, CalcBinary<CrossElements>);
  t.Set(kDot, CalcBinary<DotElements>);
  t.Set(kEquals, CalcBinary<EqualElements>);
  t.Set(kNotEqual, CalcNotEqual);
  t.Set(kLess, CalcComparison<Less>);
  t.Set(kGreater, CalcComparison<Greater>);
  t.Set(kLessEqual, CalcComparison<LessEqual>);
  t.Set(kGreaterEqual, CalcComparison<GreaterEqual>);
  t.Set(kMatrix, CalcMatrix);
  t.Set(kConditional, CalcConditional);
  t.Set(kIndex, CalcIndex);
  t.Set(kApply, CalcApply);
  t.Set(kEvalAt, CalcEvalAt);
  t.Set(kPiProduct, CalcPiProduct);
  t.Set(kIntegral, CalcIntegral);
  t.Set(kForAll, CalcForAll);
  t.Set(kRange, CannotCalculate);
  t.Set(kPartial, CannotCalculate);
  t.Set(kSummation, CannotCalculate);
  t.Set(kLimit, CannotEvaluateFunction);
}

}  // namespace lemmabox
