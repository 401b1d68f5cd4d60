// The Calculate worker and the typed entry points.
#include "calc/calculate.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/calc_engine.h"
#include "calc/calc_fixture.h"
#include "calc/numlib_scalar.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "shell/failure.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

using CalculateTest = CalcTest;

TEST_F(CalculateTest, LeavesWhatHasNoValueInPlace) {
  Define("x = 4");
  struct Case {
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {"y+2*3", "y+6"},
      {"2*3", "6"},
      {"7/2", "3.5"},
      {"x^2 - y", "16-y"},
      {"y = x + 1", "y=5"},
      {"sin(z) + 1/2", "sin(z)+0.5"},
      {"f(2+3)", "f(5)"},  // a function without definition
      {"g(2*x, z)", "g(8, z)"},
      {"@int(z*d*t, 0, 1+1)", "@int(z*d*t, 0, 2)"},  // the integrand stays as it is
      {"@sum(k, 1, 1+2)*z", "@sum(k, 1, 3)*z"},
      {"@prod(k*z, k, 1, 2+1)", "@prod(k*z, k, 1, 3)"},
      {"@partial(y)*y", "@partial(y)*y"},
      {"[1, z; 2*2, 3]", "[1, z; 4, 3]"},
      {"[1, 2] + y", "[1, 2]+y"},
      {"sin(FromPolar(1, 2))", "sin(-0.41614683654714241, 0.90929742682568171)"},
      {"2*i", "2*i"},
      {"ln(-1)", "3.1415926535897931*i"},
      {"1/0", "inf"},
      {"0/0", "#?"},
      {"(1+2)*[1, 2]", "[3, 6]"},
      {"left + y", "#?+y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.shown, Calculated(c.text));
  }
}

TEST_F(CalculateTest, HardFailuresComeBackWithTheObjectIntact) {
  Handle obj = NewExpr("q + 2*3");
  EXPECT_RAISES(kMsgUndeclaredName, Calculate(obj));
  // The undeclared name is still shown as the offender, and nothing changed.
  EXPECT_EQ(ObjSlot(obj, 0), OffendingObject());
  EXPECT_EQ("q+2*3", Show(obj));
  DisposeObj(obj);
  EXPECT_EQ("raised 13251", Calculated("[1, 2]*[3, 4]"));
  // A soft failure clears the highlight it set.
  Handle soft = NewExpr("z + 1");
  Handle result = Calculate(soft);
  EXPECT_EQ(nullptr, OffendingObject());
  DisposeObj(result);
}

TEST_F(CalculateTest, SoftFailuresAreExactlyTheNoValueOnes) {
  for (MessageNumber n : {13183, 13240, 13255, 13256, 13257, 13261, 13262, 13264})
    EXPECT_TRUE(IsSoftCalcFailure(n)) << n;
  for (MessageNumber n : {13120, 13174, 13221, 13250, 13251, 13263, 13265})
    EXPECT_FALSE(IsSoftCalcFailure(n)) << n;
}

TEST_F(CalculateTest, TypedEntryPointsConvertTheirResult) {
  EXPECT_EQ(3, CalcInt(Expr("2.5")));
  EXPECT_EQ(-2, CalcInt(Expr("-2.5")));
  EXPECT_RAISES(kMsgTooLargeOrStrange, CalcInt(Expr("2147483647.0")));
  EXPECT_EQ(std::complex<double>(1, 2), CalcComplex(Expr("1+2*i")));
  EXPECT_TRUE(IsUndefined(CalcReal(Expr("1+i"))));
  EXPECT_RAISES(kMsgNeedScalar, CalcReal(Expr("[1, 2]")));
  double x = 0, y = 0, z = 0;
  Calc2Vector(Expr("(3, 4)"), x, y);
  EXPECT_EQ(4, y);
  Calc2Vector(Expr("[5; 6]"), x, y);
  EXPECT_EQ(5, x);
  Calc3Vector(Expr("[1, 2, 3]*2"), x, y, z);
  EXPECT_EQ(6, z);
  EXPECT_RAISES(kMsgNeedReal3Vector, Calc3Vector(Expr("(1, 2)"), x, y, z));
  EXPECT_RAISES(kMsgNeedReal2Vector, Calc2Vector(Expr("7"), x, y));
}

TEST_F(CalculateTest, TryCalcSwallowsFailuresButNotInterruptions) {
  Define("x = 2");
  Handle expr = Expr("x + 1");
  ASSERT_TRUE(TryCalcScalar(expr, true).has_value());
  EXPECT_EQ(3, TryCalcScalar(expr, true)->integer);
  EXPECT_FALSE(TryCalcScalar(expr, false).has_value());  // the definition is not used
  EXPECT_EQ(nullptr, OffendingObject());
  EXPECT_FALSE(TryCalcScalar(Expr("[1, 2]"), true).has_value());
  EXPECT_TRUE(TryCalcValue(Expr("[1, 2]"), true).has_value());
  platform.escapePresses = 1;
  platform.autoAdvanceMs = 1;
  EXPECT_RAISES(kMsgUserInterrupt, TryCalcValue(Expr("@sum(k, 1, 100000000)*k"), true));
}

}  // namespace
}  // namespace lemmabox::testing
