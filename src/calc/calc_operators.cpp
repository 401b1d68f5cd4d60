// Products and the operators that work on the rest of a product (summation,
// partial derivative, differential), iterated products, Evaluate At,
// integrals and the root search of For All.
//
// A product is multiplied from the right: value(factor k) times the value of
// factors k+1..last, so matrix products keep their order. An operator
// standing as a factor does not multiply: it evaluates the rest of the
// product under its own bindings (each summation index, x0 + h/2 and
// x0 - h/2 for a partial derivative).
#include <cfloat>
#include <cmath>
#include <optional>
#include <utility>

#include "calc/calc_elements.h"
#include "calc/calc_engine.h"
#include "calc/calc_entries.h"
#include "calc/calc_knowledge.h"
#include "calc/calc_stack.h"
#include "calc/numlib_integrate.h"
#include "calc/numlib_roots.h"
#include "calc/predefined_math.h"
#include "notebook/knowledge.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

bool IsDifferentialName(Handle h) {
  return PredefinedKeyOfCalcName(h) == kKeyDifferential;
}

// A factor that works on the rest of its product.
bool IsOperatorFactor(Handle h) {
  if (h == nullptr) return false;
  TypeCode t = ObjType(h);
  return t == 's' || t == 'p' || IsDifferentialName(h);
}

// The variable of integration of an integral in progress, innermost first.
// The differential d(variable) in its integrand evaluates to `differential`.
struct IntegrationFrame {
  Handle variable;
  double differential;
  IntegrationFrame* outer;
};
IntegrationFrame* gInnermostIntegral = nullptr;

class IntegrationFrameScope {
 public:
  explicit IntegrationFrameScope(Handle variable) : frame_{variable, 1.0, gInnermostIntegral} {
    gInnermostIntegral = &frame_;
  }
  ~IntegrationFrameScope() { gInnermostIntegral = frame_.outer; }
  IntegrationFrameScope(const IntegrationFrameScope&) = delete;
  IntegrationFrameScope& operator=(const IntegrationFrameScope&) = delete;
  const IntegrationFrame& Frame() const { return frame_; }

 private:
  IntegrationFrame frame_;
};

void PushProductFrom(Handle product, int from);

// The step of a numeric derivative at x0: small relative to x0, and the
// distance between the two points actually used.
struct CentralStep {
  double plus;
  double minus;
  double width;
};
CentralStep StepAt(double x0) {
  double h = std::cbrt(DBL_EPSILON) * std::fmax(std::fabs(x0), 1.0);
  CentralStep step{x0 + h / 2, x0 - h / 2, 0.0};
  step.width = step.plus - step.minus;
  return step;
}

// (f(x0 + h/2) - f(x0 - h/2)) / h, with evaluate pushing f at the bound x.
template <class Evaluate>
void PushCentralDifference(Handle variable, Evaluate&& evaluate) {
  double x0 = RealOfScalar(CalcScalarOf(variable));
  CentralStep step = StepAt(x0);
  {
    TemporaryBinding binding(variable, TemporaryOfScalar(NumScalar::Real(step.plus)));
    evaluate();
    binding.Set(TemporaryOfScalar(NumScalar::Real(step.minus)));
    evaluate();
  }
  NegateElement();
  AddElements();
  PushReal(step.width);
  DivideElements();
}

// The limits of a summation or iterated product, narrowed to the index's
// declared range.
struct IndexRange {
  int32_t lower;
  int32_t upper;
};

double LimitValue(Handle bound) {
  return RealOfScalar(CalcScalarOf(bound));
}

IndexRange IterationRange(Handle index, Handle lowerObj, Handle upperObj) {
  CalcObj(lowerObj);
  IndexRange range{PopInt(), 0};
  CalcObj(upperObj);
  range.upper = PopInt();
  if (!WorkingStatementsAllowed()) return range;
  Handle bound = nullptr;
  bool inclusive = false;
  if (DeclaredLimit(index, false, bound, inclusive)) {
    double m = LimitValue(bound);
    double c = std::ceil(m);
    if (!inclusive && c == m) c += 1;
    if (c > range.lower) range.lower = c > 2147483647.0 ? 2147483647 : static_cast<int32_t>(c);
  }
  if (DeclaredLimit(index, true, bound, inclusive)) {
    double m = LimitValue(bound);
    double f = std::floor(m);
    if (!inclusive && f == m) f -= 1;
    if (f < range.upper) range.upper = f < -2147483647.0 ? -2147483647 : static_cast<int32_t>(f);
  }
  return range;
}

void CheckIndex(Handle iteration, Handle index) {
  if (!IsVariableName(index)) RaiseAtObject(kMsgBadSummation, iteration);
}

// A summation standing as factor `at` of product: the sum, over the index,
// of the rest of the product.
void PushSummation(Handle product, int at) {
  Handle sum = ObjSlot(product, at);
  if (at + 1 >= ObjCount(product)) RaiseAtObject(kMsgCannotCalculate, sum);
  if (ObjCount(sum) != 3) RaiseAtObject(kMsgNeedBothLimits, sum);
  Handle index = ObjSlot(sum, 0);
  CheckIndex(sum, index);
  IndexRange range = IterationRange(index, ObjSlot(sum, 1), ObjSlot(sum, 2));
  if (range.upper < range.lower) {
    PushInt(0);
    return;
  }
  // The sum starts from its first term rather than from 0, so that vectors
  // and matrices can be summed too (0 would not add to them).
  TemporaryBinding binding(index, TemporaryOfScalar(NumScalar::Int(range.lower)));
  for (int64_t k = range.lower; k <= range.upper; ++k) {
    CheckInterrupt();
    binding.Set(TemporaryOfScalar(NumScalar::Int(static_cast<int32_t>(k))));
    PushProductFrom(product, at + 1);
    if (k > range.lower) AddElements();
  }
}

// A partial derivative standing as factor `at`: the derivative of the rest
// of the product with respect to its variable.
void PushPartialDerivative(Handle product, int at) {
  Handle partial = ObjSlot(product, at);
  if (at + 1 >= ObjCount(product)) RaiseAtObject(kMsgCannotCalculate, partial);
  Handle variable = ObjCount(partial) >= 1 ? StripCalcParens(ObjSlot(partial, 0)) : nullptr;
  if (!IsVariableName(variable)) RaiseAtObject(kMsgBadPartialDerivative, partial);
  PushCentralDifference(variable, [&] { PushProductFrom(product, at + 1); });
}

// d u inside an integrand: the differential of the integration variable, or
// u' times it for another expression u of that variable.
void PushDifferential(Handle product, int at) {
  Handle d = ObjSlot(product, at);
  if (at + 2 != ObjCount(product) || gInnermostIntegral == nullptr)
    RaiseAtObject(kMsgCannotCalculate, d);
  Handle u = StripCalcParens(ObjSlot(product, at + 1));
  for (IntegrationFrame* f = gInnermostIntegral; f != nullptr; f = f->outer) {
    if (SameCalcName(u, f->variable)) {
      PushReal(f->differential);
      return;
    }
  }
  if (u != nullptr && (ObjType(u) == 'v' || ObjType(u) == '_'))
    RaiseAtObject(kMsgCannotCalculate, d);
  const IntegrationFrame& frame = *gInnermostIntegral;
  PushCentralDifference(frame.variable, [&] { CalcObj(u); });
  PushReal(frame.differential);
  MultiplyElements();
}

void PushOperatorFactor(Handle product, int at) {
  Handle factor = ObjSlot(product, at);
  switch (ObjType(factor)) {
    case 's':
      PushSummation(product, at);
      break;
    case 'p':
      PushPartialDerivative(product, at);
      break;
    default:
      PushDifferential(product, at);
      break;
  }
}

// The value of factors from..last of product.
void PushProductFrom(Handle product, int from) {
  int n = ObjCount(product);
  int first = from;
  while (first < n && !IsOperatorFactor(ObjSlot(product, first))) ++first;
  bool have = first < n;
  if (have) PushOperatorFactor(product, first);
  for (int k = first - 1; k >= from; --k) {
    CalcObj(ObjSlot(product, k));
    if (have)
      MultiplyElements();
    else
      have = true;
  }
  if (!have) PushInt(1);
}

// The variable of the differential d(variable) in an integrand: a factor d
// followed by the variable (or by an expression of it) in a product, looked
// for through parentheses, negations, the numerator of a quotient and the
// terms of a sum.
Handle FindVariableIn(Handle e);

Handle FindDifferentialVariable(Handle e) {
  e = StripCalcParens(e);
  if (e == nullptr) return nullptr;
  switch (ObjType(e)) {
    case '*': {
      int n = ObjCount(e);
      for (int k = 0; k + 1 < n; ++k) {
        if (!IsDifferentialName(StripCalcParens(ObjSlot(e, k)))) continue;
        Handle u = StripCalcParens(ObjSlot(e, k + 1));
        if (IsVariableName(u)) return u;
        if (Handle v = FindVariableIn(u)) return v;
      }
      for (int k = 0; k < n; ++k)
        if (Handle v = FindDifferentialVariable(ObjSlot(e, k))) return v;
      return nullptr;
    }
    case '-':
      return ObjCount(e) == 1 ? FindDifferentialVariable(ObjSlot(e, 0)) : nullptr;
    case '/':
      return ObjCount(e) == 2 ? FindDifferentialVariable(ObjSlot(e, 0)) : nullptr;
    case '+':
      for (int k = 0; k < ObjCount(e); ++k)
        if (Handle v = FindDifferentialVariable(ObjSlot(e, k))) return v;
      return nullptr;
    default:
      return nullptr;
  }
}

// The first Variable-class name in e.
Handle FindVariableIn(Handle e) {
  if (e == nullptr) return nullptr;
  if (IsVariableName(e)) return e;
  if (IsLeafType(ObjType(e))) return nullptr;
  for (int i = 0; i < ObjCount(e); ++i)
    if (Handle v = FindVariableIn(ObjSlot(e, i))) return v;
  return nullptr;
}

// The variable of an Evaluate At equation, or 13234.
Handle EquationVariable(Handle evalAt, Handle equation) {
  equation = StripCalcParens(equation);
  if (equation == nullptr || ObjType(equation) != '=' || ObjCount(equation) != 2)
    RaiseAtObject(kMsgBadEvaluateAt, evalAt);
  Handle variable = StripCalcParens(ObjSlot(equation, 0));
  if (!IsBindableName(variable)) RaiseAtObject(kMsgBadEvaluateAt, evalAt);
  return variable;
}

Handle EquationValue(Handle equation) {
  return ObjSlot(StripCalcParens(equation), 1);
}

}  // namespace

void CalcProduct(Handle obj) {
  PushProductFrom(obj, 0);
}

// The iterated product of body over the index, multiplied from the upper
// index down so that the result is body(lower) ... body(upper) in order.
void CalcPiProduct(Handle obj) {
  if (ObjCount(obj) != 4) RaiseAtCalcObj(kMsgNeedBothLimits);
  Handle body = ObjSlot(obj, 0);
  Handle index = ObjSlot(obj, 1);
  CheckIndex(obj, index);
  IndexRange range = IterationRange(index, ObjSlot(obj, 2), ObjSlot(obj, 3));
  PushInt(1);
  if (range.upper < range.lower) return;
  TemporaryBinding binding(index, TemporaryOfScalar(NumScalar::Int(range.upper)));
  for (int64_t k = range.upper; k >= range.lower; --k) {
    CheckInterrupt();
    binding.Set(TemporaryOfScalar(NumScalar::Int(static_cast<int32_t>(k))));
    CalcObj(body);
    MultiplyElements();
  }
}

// expr | x = a (the value at a) or expr | x = a .. x = b (the value at b
// minus the value at a).
void CalcEvalAt(Handle obj) {
  int n = ObjCount(obj);
  if (n != 2 && n != 3) RaiseAtCalcObj(kMsgBadEvaluateAt);
  Handle expr = ObjSlot(obj, 0);
  Handle variable = EquationVariable(obj, ObjSlot(obj, 1));
  if (n == 3 && !SameCalcName(variable, EquationVariable(obj, ObjSlot(obj, 2))))
    RaiseAtCalcObj(kMsgBadEvaluateAt);
  NumScalar first = CalcScalarOf(EquationValue(ObjSlot(obj, 1)));
  std::optional<NumScalar> second;
  if (n == 3) second = CalcScalarOf(EquationValue(ObjSlot(obj, 2)));
  TemporaryBinding binding(variable, TemporaryOfScalar(first));
  CalcObj(expr);
  if (!second) return;
  binding.Set(TemporaryOfScalar(*second));
  CalcObj(expr);
  SwapTop();
  NegateElement();
  AddElements();
}

void CalcIntegral(Handle obj) {
  if (ObjCount(obj) != 3) RaiseAtCalcObj(kMsgCannotCalculate);
  Handle integrand = ObjSlot(obj, 0);
  Handle variable = FindDifferentialVariable(integrand);
  if (variable == nullptr) RaiseAtCalcObj(kMsgNoDifferential);
  double lower = RealOfScalar(CalcScalarOf(ObjSlot(obj, 1)));
  double upper = RealOfScalar(CalcScalarOf(ObjSlot(obj, 2)));
  IntegrationFrameScope scope(variable);
  TemporaryBinding binding(variable, TemporaryOfScalar(NumScalar::Real(lower)));
  double differential = scope.Frame().differential;
  Integrand f = [&](double x) {
    binding.Set(TemporaryOfScalar(NumScalar::Real(x)));
    CalcObj(integrand);
    return PopComplex() / differential;
  };
  PushScalar(IntegrateNumerically(f, lower, upper, CalcIntegrationSettings()));
}

// The root of an equation lhs = rhs (of lhs - rhs) or of an expression in
// the variable; the undefined value when the probes find none.
void CalcForAll(Handle obj) {
  if (ObjCount(obj) != 2) RaiseAtCalcObj(kMsgCannotCalculate);
  Handle variable = StripCalcParens(ObjSlot(obj, 0));
  Handle body = ObjSlot(obj, 1);
  if (!IsVariableName(variable)) {
    std::swap(variable, body);
    variable = StripCalcParens(variable);
    if (!IsVariableName(variable)) RaiseAtCalcObj(kMsgCannotCalculate);
  }
  Handle equation = StripCalcParens(body);
  bool isEquation = equation != nullptr && ObjType(equation) == '=' && ObjCount(equation) == 2;
  TemporaryBinding binding(variable, TemporaryOfScalar(NumScalar::Real(0.0)));
  RealFunction f = [&](double x) {
    binding.Set(TemporaryOfScalar(NumScalar::Real(x)));
    if (isEquation) {
      CalcObj(ObjSlot(equation, 0));
      CalcObj(ObjSlot(equation, 1));
      NegateElement();
      AddElements();
    } else {
      CalcObj(body);
    }
    return PopReal();
  };
  std::optional<double> root = FindRootByProbes(f);
  PushReal(root ? *root : UndefinedValue());
}

}  // namespace lemmabox
