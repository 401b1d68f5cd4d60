// Summations, iterated products, Evaluate At, partial derivatives,
// integrals, the root search of For All, and interrupting them.
#include <gtest/gtest.h>

#include <cmath>

#include "calc/calc_engine.h"
#include "calc/calc_fixture.h"
#include "calc/calculate.h"
#include "calc/numlib_scalar.h"
#include "mathobj/dup_dispose.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

class CalcIterateTest : public CalcTest {
 protected:
  double Value(const std::string& text) { return CalcReal(Expr(text)); }
};

struct ValueCase {
  const char* text;
  const char* shown;
};

TEST_F(CalcIterateTest, SummationsAddTheRestOfTheirProduct) {
  const ValueCase cases[] = {
      {"@sum(k, 1, 4)*k", "10"},
      {"@sum(k, 1, 0)*k", "0"},  // an empty range
      {"@sum(k, 5, 1)*z", "0"},  // nothing is evaluated
      {"@sum(k, 1, 3)*k^2", "14"},
      {"2*@sum(k, 1, 3)*k", "12"},
      {"@sum(k, 1, 3)*@sum(j, 1, k)*j", "10"},
      {"@sum(k, 1, 2.6)*k", "6"},  // limits round to integers
      {"@sum(k, -2, 2)*k^3", "0"},
      {"@sum(k, 1, 2)*[k, 1]", "[3, 2]"},
      {"@sum(k, 1, 3)*(1/k)", "1.8333333333333333"},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.shown, Calculated(c.text));
  }
  // The index has no value once the sum is done.
  EXPECT_EQ(kMsgNoValueForVariable, FailureOf("@sum(k, 1, 2)*k + k"));
}

TEST_F(CalcIterateTest, MalformedIterationsFail) {
  struct Case {
    const char* text;
    MessageNumber message;
  };
  const Case cases[] = {
      {"@sum(a, 1, 3)*a", kMsgBadSummation},  // a constant as the index
      {"@sum(f, 1, 3)*2", kMsgBadSummation},      {"@sum(k, 1)*k", kMsgNeedBothLimits},
      {"@prod(k, k, 1)", kMsgNeedBothLimits},     {"@prod(k, a, 1, 2)", kMsgBadSummation},
      {"@sum(k, 1, 3)", kMsgCannotCalculate},  // nothing to sum
      {"2*@sum(k, 1, 3)", kMsgCannotCalculate},   {"@sum(k, 1, 3e10)*k", kMsgTooLargeOrStrange},
      {"@sum(k, 1, ?)*k", kMsgTooLargeOrStrange},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.message, FailureOf(c.text));
  }
}

TEST_F(CalcIterateTest, DeclaredRangesNarrowTheLimits) {
  Define("k >= 2");
  Define("k < 5");
  Define("j > 1.5");
  Define("j <= 3");
  EXPECT_EQ(9, Value("@sum(k, 0, 10)*k"));  // 2 + 3 + 4
  EXPECT_EQ(5, Value("@sum(j, 0, 10)*j"));  // 2 + 3
  EXPECT_EQ(24, Value("@prod(k, k, -5, 100)"));
  // Without working statements the range is not known.
  Handle sum = Expr("@sum(k, 0, 3)*k");
  std::optional<NumScalar> loose = TryCalcScalar(sum, false);
  ASSERT_TRUE(loose.has_value());
  EXPECT_EQ(6, loose->integer);
}

TEST_F(CalcIterateTest, IteratedProductsMultiplyInIndexOrder) {
  const ValueCase cases[] = {
      {"@prod(k, k, 1, 5)", "120"},
      {"@prod(k, k, 3, 2)", "1"},
      {"@prod(k/2, k, 1, 3)", "0.75"},
      // A_1 A_2 A_3 with A_k = [k, 1; 0, 1]: not the same as A_3 A_2 A_1.
      {"@prod([k, 1; 0, 1], k, 1, 3)", "[6, 4; 0, 1]"},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.shown, Calculated(c.text));
  }
}

TEST_F(CalcIterateTest, EvaluateAtBindsTheVariable) {
  const ValueCase cases[] = {
      {"@at(x^2, x = 3)", "9"},
      {"@at(x^2, x = 1, x = 3)", "8"},  // the value at the upper minus at the lower
      {"@at(x^2, x = 3, x = 1)", "-8"},
      {"@at(x^2 + @at(x, x = 7), x = 1)", "8"},  // the inner binding is its own
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.shown, Calculated(c.text));
  }
  Define("y = 10");
  EXPECT_EQ(80, Value("@at(x*y, x = 2, x = 10)"));
  EXPECT_EQ(kMsgBadEvaluateAt, FailureOf("@at(x^2, y = 1, x = 3)"));
  EXPECT_EQ(kMsgBadEvaluateAt, FailureOf("@at(x^2, 3)"));
  EXPECT_EQ(kMsgBadEvaluateAt, FailureOf("@at(x^2, 2 = 3)"));
  // A failure inside leaves no binding behind.
  EXPECT_EQ(kMsgNoValueForVariable, FailureOf("@at(x*z, x = 2)"));
  EXPECT_EQ(kMsgNoValueForVariable, FailureOf("x"));
}

TEST_F(CalcIterateTest, PartialDerivativesDifferentiateTheRestNumerically) {
  EXPECT_NEAR(12, Value("@at(@partial(x)*x^3, x = 2)"), 1e-7);
  EXPECT_NEAR(std::cos(1.0), Value("@at(@partial(x)*sin(x), x = 1)"), 1e-8);
  EXPECT_NEAR(-1e6, Value("@at(@partial(x)*(1/x), x = 0.001)"), 100);
  Define("x = 5");
  EXPECT_NEAR(10, Value("@partial(x)*x^2"), 1e-7);
  EXPECT_NEAR(15, Value("3*@partial(x)*x^2/2"), 1e-7);
  EXPECT_EQ(5, Value("x"));  // the definition is back in force
  EXPECT_EQ(kMsgBadPartialDerivative, FailureOf("@partial(a)*a"));
  EXPECT_EQ(kMsgNoValueForVariable, FailureOf("@partial(z)*z^2"));
}

TEST_F(CalcIterateTest, IntegralsIntegrateOverTheirDifferential) {
  struct Case {
    const char* text;
    double value;
    double tolerance;
  };
  const Case cases[] = {
      {"@int(x^2*d*x, 0, 3)", 9, 1e-7},
      {"@int(d*x, 0, 3)", 3, 1e-9},
      {"@int(exp(-x)*d*x, 0, inf)", 1, 1e-6},
      {"@int(exp(-x^2)*d*x, -inf, inf)", std::sqrt(std::acos(-1.0)), 1e-6},
      {"@int(x*d*x, 1, 0)", -0.5, 1e-9},
      {"@int((d*x)/x, 1, e)", 1, 1e-7},
      {"@int(-(x*d*x), 0, 2)", -2, 1e-8},
      {"@int(x*d*(x^2), 0, 1)", 2.0 / 3, 1e-6},  // x d(x^2) = 2 x^2 dx
      {"@int(@int(x*y*d*x, 0, 1)*d*y, 0, 2)", 1, 1e-3},
      {"@int(@int(1*d*y, 0, x)*d*x, 0, 1)", 0.5, 1e-3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_NEAR(c.value, Value(c.text), c.tolerance);
  }
  EXPECT_TRUE(IsUndefined(Value("@int(1/x*d*x, -1, 1)")));
  EXPECT_EQ(kMsgCannotCalculate, FailureOf("@int(x*d*x)"));
  EXPECT_EQ(kMsgNoDifferential, FailureOf("@int(x^2, 0, 1)"));
  EXPECT_EQ(kMsgCannotCalculate, FailureOf("2*d*x"));  // a differential outside an integral
  EXPECT_EQ(kMsgNoValueForVariable, FailureOf("x"));
}

TEST_F(CalcIterateTest, ForAllFindsARoot) {
  EXPECT_NEAR(2, Value("@forall(x, x^2 = 4)"), 1e-12);
  EXPECT_NEAR(100, Value("@forall(x, x - 100)"), 1e-10);
  EXPECT_NEAR(-3, Value("@forall(x, x^3 + 27 = 0)"), 1e-10);
  EXPECT_EQ(0, Value("@forall(x, sin(x))"));
  EXPECT_TRUE(IsUndefined(Value("@forall(x, x^2 + 1 = 0)")));
  EXPECT_EQ(kMsgCannotCalculate, FailureOf("@forall(2, 3)"));
  EXPECT_EQ(kMsgNoValueForVariable, FailureOf("x"));
}

TEST_F(CalcIterateTest, EscapeInterruptsALongEvaluation) {
  platform.escapePresses = 1;
  platform.autoAdvanceMs = 1;
  Handle sum = Expr("@sum(k, 1, 100000000)*k");
  EXPECT_RAISES(kMsgUserInterrupt, CalcReal(sum));
  EXPECT_EQ(0, platform.escapePresses);
  // The index was unbound on the way out and the engine works again.
  EXPECT_EQ(kMsgNoValueForVariable, FailureOf("k"));
  EXPECT_EQ(3, Value("1+2"));
  // Calculate gives the interruption back too, not a half-calculated result.
  platform.escapePresses = 1;
  ResetInterruptCheck();
  Handle copy = NewExpr("@prod(k, k, 1, 100000000) + 2*3");
  EXPECT_RAISES(kMsgUserInterrupt, Calculate(copy));
  DisposeObj(copy);
}

}  // namespace
}  // namespace lemmabox::testing
