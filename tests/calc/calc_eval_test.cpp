// Evaluating expressions: arithmetic of mixed kinds through the stack,
// relations, matrices, subscripts, conditionals and the predefined
// functions.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "calc/calc_engine.h"
#include "calc/calc_fixture.h"
#include "calc/calc_stack.h"
#include "calc/calculate.h"
#include "calc/numlib_bessel.h"
#include "mathobj/dup_dispose.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

constexpr double kPi = std::numbers::pi;

class CalcEvalTest : public CalcTest {
 protected:
  // The element an expression evaluates to, as a scalar.
  NumScalar Eval(const std::string& text) {
    Handle obj = Expr(text);
    BeginCalc(true);
    CalcObj(obj);
    NumScalar s = PopScalar();
    EndCalc();
    return s;
  }
};

// 'u' stands for the undefined value.
struct Expected {
  const char* text;
  char kind;
  double re;
  double im = 0;
};

void ExpectScalar(const Expected& e, const NumScalar& s) {
  SCOPED_TRACE(e.text);
  if (e.kind == 'u') {
    EXPECT_TRUE(IsUndefined(s.re) || IsUndefined(s.im)) << s.re << " " << s.im;
    return;
  }
  EXPECT_EQ(static_cast<NumKind>(e.kind), s.kind);
  if (std::isinf(e.re)) {
    EXPECT_EQ(e.re, s.re);
  } else {
    EXPECT_NEAR(e.re, s.re, 1e-9 * std::fmax(1, std::fabs(e.re)));
  }
  EXPECT_NEAR(e.im, s.im, 1e-9 * std::fmax(1, std::fabs(e.im)));
}

TEST_F(CalcEvalTest, ArithmeticOfMixedKinds) {
  const Expected cases[] = {
      {"1+2*3", '1', 7},
      {"7/2", '2', 3.5},
      {"6/3", '1', 2},
      {"1/0", '2', kInfinity},
      {"-1/0", '2', -kInfinity},
      {"0/0", 'u', 0},
      {"46341*46341", '2', 2147488281.0},
      {"40000*40000", '1', 1600000000},
      {"2147483647+1", '2', 2147483648.0},
      {"2+0.5", '2', 2.5},
      {"2*i", '3', 0, 2},
      {"i*i", '2', -1},
      {"(1+i)/(1-i)", '3', 0, 1},
      {"2^10", '1', 1024},
      {"2^-1", '2', 0.5},
      {"(-8)^(1/3)", '2', -2},
      {"(-8)^(2/3)", '2', 4},
      {"(-4)^(1/2)", '3', 0, 2},
      {"(-2)^pi", 'u', 0},
      {"(-0.5)^inf", '2', 0},
      {"(-2)^inf", '2', kInfinity},
      {"12!", '1', 479001600},
      {"13!", '2', 6227020800.0},
      {"5.0!", '2', 120},
      {"(-2)!", '2', -kInfinity},
      {"0.5!", '2', 0.886226925452758},
      {"|-3|", '2', 3},
      {"|3+4*i|", '2', 5},
      {"@sqrt(-4)", '3', 0, 2},
      {"@sqrt(?)", 'u', 0},
      {"-(2*i)", '3', 0, -2},
      {"@text(42)", '1', 42},
      {"@text(2.50)", '2', 2.5},
      {"@paren(3)*2", '1', 6},
      {"?+1", 'u', 0},
  };
  for (const Expected& e : cases) ExpectScalar(e, Eval(e.text));
}

TEST_F(CalcEvalTest, RelationsGiveOneZeroOrUndefined) {
  const Expected cases[] = {
      {"0.1+0.2=0.3", '1', 1},  // equal to within 1e-15, relatively
      {"1=1.0000000001", '1', 0},
      {"1=2", '1', 0},
      {"1!=2", '1', 1},
      {"2!=2.0", '1', 0},
      {"?=1", 'u', 0},
      {"?!=1", 'u', 0},
      {"i=i", '1', 1},
      {"1<2", '1', 1},
      {"2<=1", '1', 0},
      {"2>=2", '1', 1},
      {"3>2.5", '1', 1},
      {"?<1", 'u', 0},
      {"1+i<2", 'u', 0},  // a complex side has no order
      {"[1,2]=[1,2]", '1', 1},
      {"[1,2]=[1;2]", '1', 0},
  };
  for (const Expected& e : cases) ExpectScalar(e, Eval(e.text));
}

TEST_F(CalcEvalTest, PredefinedFunctionsAndConstants) {
  const Expected cases[] = {
      {"pi", '2', kPi},
      {"e", '2', std::numbers::e},
      {"deg*180", '2', kPi},
      {"inf", '2', kInfinity},
      {"sin(pi/6)", '2', 0.5},
      {"exp(-1)", '2', std::exp(-1.0)},
      {"ln(-1)", '3', 0, kPi},  // the real logarithm fails, the complex one answers
      {"arcsin(2)", '3', kPi / 2, -1.3169578969248166},
      {"arccosh(0.5)", '3', 0, std::acos(0.5)},
      {"arccot(-1)", '2', 3 * kPi / 4},
      {"round(2.5)", '2', 2},
      {"round(3.5)", '2', 4},
      {"round(-2.5)", '2', -2},
      {"floor(i)", 'u', 0},
      {"Gamma(5)", '1', 24},
      {"Re(3+4*i)", '2', 3},
      {"Im(3)", '2', 0},
      {"log(1000)", '2', 3},
      {"log(0)", '2', -kInfinity},
      {"log_2(8)", '2', 3},
      {"ln_e(e^2)", '2', 2},
      {"log_2(-1)", 'u', 0},
      {"log_2(0)", '2', -kInfinity},
      {"log_2(i)", '3', 0, kPi / 2 / std::log(2.0)},
      {"J(0)", '2', 1},
      {"J_1(2)", '2', BesselJ(1, 2)},
      {"J_(-1)(2)", '2', -BesselJ(1, 2)},
      {"I_2(1.5)", '2', BesselI(2, 1.5)},
      {"J_1(i)", 'u', 0},
      {"mod(7, 3)", '1', 1},
      {"mod(-7, 3)", '1', 2},
      {"mod(7.5, -2)", '2', -0.5},
      {"RowsOf([1,2;3,4;5,6])", '1', 3},
      {"left", 'u', 0},  // no graph around
  };
  for (const Expected& e : cases) ExpectScalar(e, Eval(e.text));
  // The base of a logarithm is not even looked at when the argument is not
  // positive.
  ExpectScalar({"log_z(-1)", 'u', 0}, Eval("log_z(-1)"));
  EXPECT_EQ(kMsgNoValueForVariable, FailureOf("log_z(2)"));
  EXPECT_EQ("[2, 0]", Calculated("FromPolar(2, 0)"));
}

TEST_F(CalcEvalTest, PredefinedNamesUsedWronglyFail) {
  struct Case {
    const char* text;
    MessageNumber message;
  };
  const Case cases[] = {
      {"sin", kMsgPredefinedMisuse},    // a function as a value
      {"d", kMsgPredefinedMisuse},      // the differential alone
      {"pi(2)", kMsgPredefinedMisuse},  // a constant as a function
      {"d(x)", kMsgPredefinedMisuse},        {"mod(7)", kMsgPredefinedMisuse},  // mod needs a pair
      {"sin([1,2])", kMsgNeedScalar},        {"FromPolar(1, 2, 3)", kMsgNeedReal2Vector},
      {"@range(1, 2)", kMsgCannotCalculate}, {"@lim(x, 0, x)", kMsgCannotEvaluateFunction},
      {"@partial(x)", kMsgCannotCalculate},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.message, FailureOf(c.text));
  }
}

TEST_F(CalcEvalTest, MatrixArithmeticKeepsOrderAndChecksShapes) {
  struct Case {
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {"[1,2;3,4]*[5;6]", "[17; 39]"},
      {"[5,6]*[1,2;3,4]", "[23, 34]"},
      {"[0,1;0,0]*[0,0;1,0]", "[1, 0; 0, 0]"},
      {"[0,0;1,0]*[0,1;0,0]", "[0, 0; 0, 1]"},
      {"[1,2]*[3;4]", "11"},
      {"2*[1,2]", "[2, 4]"},
      {"[1,2;3,4]+1", "[2, 2; 3, 5]"},
      {"[1,2]+[3,4]", "[4, 6]"},
      {"-[1,i]", "[-1, -i]"},
      {"|[1,2;3,4]|", "-2"},
      {"|[3,4]|", "5"},
      {"[1,2;3,4]^0", "1"},
      {"[1,1;0,1]^3", "[1, 3; 0, 1]"},
      {"[2,0;0,4]^-1", "[0.5, 0; 0, 0.25]"},
      {"[4,2;2,2]/[2,0;0,2]", "[2, 1; 1, 1]"},
      {"@cross([1,0,0],[0,1,0])", "[0, 0, 1]"},
      {"@cross([1,0,0],[0;1;0])", "[0; 0; 1]"},
      {"@cross([1,2],[3,4])", "-2"},
      {"@dot([1,2,3],[4;5;6])", "32"},
      {"@adj([1, i])", "[1; -i]"},
      {"[1, 2.5, i]", "[1, 2.5, i]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.shown, Calculated(c.text));
  }
  struct Failing {
    const char* text;
    MessageNumber message;
  };
  const Failing failing[] = {
      {"[1,2]*[3,4]", kMsgMatrixShapeMismatch},
      {"[1,2]+[3,4,5]", kMsgMatrixSizeMismatch},
      {"|[1,2,3;4,5,6]|", kMsgMatrixNotSquare},
      {"[1,2]^2", kMsgMatrixShapeMismatch},
      {"@cross([1,2],[1,2,3])", kMsgBadCrossProduct},
      {"@dot([1,2],[1,2,3])", kMsgBadDotProduct},
      {"[1, [1,2]]", kMsgNeedScalar},
      {"[1,2]!", kMsgNeedScalar},
  };
  for (const Failing& f : failing) {
    SCOPED_TRACE(f.text);
    EXPECT_EQ(f.message, FailureOf(f.text));
  }
}

TEST_F(CalcEvalTest, SubscriptsPickEntriesAndRows) {
  Define("w = [10,20;30,40]");
  Define("u = [5,6,7]");
  struct Case {
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {"w_(2,1)", "30"},  {"w_2", "[30, 40]"}, {"u_3", "7"},      {"u_2.6", "7"},
      {"w_3", "#?"},      {"w_0", "#?"},       {"w_(1,3)", "#?"}, {"u_4", "#?"},
      {"[1;2;3]_2", "2"}, {"5_1", "5"},        {"5_2", "#?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.shown, Calculated(c.text));
  }
  EXPECT_EQ(kMsgBadMatrixSubscript, FailureOf("u_(1,2,3)"));
  EXPECT_EQ(kMsgTooLargeOrStrange, FailureOf("u_?"));
}

TEST_F(CalcEvalTest, ConditionalsTakeTheFirstRowThatHolds) {
  Define("t = -2");
  struct Case {
    const char* text;
    const char* shown;
  };
  const Case cases[] = {
      {"@cond([1, 0; 2, 1])", "2"},   {"@cond([1, 0; 2, 0])", "#?"},
      {"@cond([1, ?; 2, 1])", "#?"},  // an undefined condition decides
      {"@cond([1, 0.5; 2, 1])", "1"}, {"@cond([1, -0.0; 2, 1])", "2"},
      {"@cond([1, i; 2, 1])", "1"},   {"@cond([t, t>=0; -t, t<0])", "2"},
      {"@cond([1, 1; z, 1])", "1"},  // later rows are never evaluated
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.shown, Calculated(c.text));
  }
  EXPECT_EQ(kMsgBadConditional, FailureOf("@cond([1, 2, 3])"));
  EXPECT_EQ(kMsgBadConditional, FailureOf("@cond(5)"));
  EXPECT_EQ(kMsgNeedScalar, FailureOf("@cond([1, [1,2]])"));
}

}  // namespace
}  // namespace lemmabox::testing
