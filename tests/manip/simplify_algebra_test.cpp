// Simplify on sums, products, quotients, powers and roots: what each rule
// makes of a typical input, after the full Simplify (up to ten passes).
#include <gtest/gtest.h>

#include <string>

#include "manip/simplify.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/object.h"
#include "mathobj/tree_text.h"
#include "simplify_fixture.h"

namespace lemmabox::testing {
namespace {

struct Case {
  const char* input;
  const char* expected;
};

class SimplifyAlgebraTest : public SimplifyTest {
 protected:
  void Expect(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(c.expected, Simplified(c.input)) << c.input;
  }
  void ExpectOnePass(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(c.expected, OnePass(c.input)) << c.input;
  }
};

TEST_F(SimplifyAlgebraTest, SumsCombineLikeTermsAndPutTheConstantLast) {
  Expect({
      {"+(x,2,x)", "+(*(2,x),2)"},
      {"+(^(x,2),^(x,3),x)", "+(^(x,3),^(x,2),x)"},
      {"+(c,x)", "+(x,c)"},
      {"+(x,-(x))", "0"},
      {"+(x,-(*(2,x)))", "-(x)"},
      {"-(-(x))", "x"},
      {"-(+(x,-(y)))", "+(-(x),y)"},
      {"+(x,+(y,-(+(x,1))))", "+(y,-(1))"},
      {"+(*(2,a,b),*(3,b,a))", "*(5,a,b)"},
      // x/3 and 2x/3 are both multiples of x.
      {"+(/(x,3),/(*(2,x),3))", "x"},
      {"+(/(x,3),/(x,6))", "/(x,2)"},
      {"+(/(1,x),/(2,x))", "/(3,x)"},
      // The imaginary part goes after the real constant.
      {"+(x,*(3,i),2)", "+(x,2,*(3,i))"},
      {"+(i,1)", "+(1,i)"},
  });
}

TEST_F(SimplifyAlgebraTest, SumCoefficientsAreExactUntilTheyOverflow) {
  Expect({
      {"+(/(1,3),/(1,6))", "/(1,2)"},
      {"+(/(1,3),-(/(1,3)))", "0"},
      {"+(2147483647,-(2147483646))", "1"},
      // Beyond 32 bits the sum goes on as a real number.
      {"+(2000000000,2000000000)", "4000000000.0"},
      {"+(/(1,2000000000),/(1,1999999999))", "1.0000000002500001e-09"},
      // Real coefficients are combined.
      {"+(*(1.5,x),*(2,x))", "*(3.5,x)"},
      {"+(*(1.5,x),*(2.5,x))", "*(4,x)"},
      {"+(*(0.5,x,y),*(0.25,x,y))", "*(0.75,x,y)"},
      {"+(*(1.5,x),-(*(1.5,x)))", "0"},
      {"+(1.5,2.5)", "4"},
  });
}

TEST_F(SimplifyAlgebraTest, ProductsFoldNumbersAndSortFactors) {
  Expect({
      {"*(x,2,x)", "*(2,^(x,2))"},
      {"*(y,c,x,3)", "*(3,c,x,y)"},
      {"/(*(6,x),*(4,y))", "/(*(3,x),*(2,y))"},
      {"*(2,/(x,3))", "/(*(2,x),3)"},
      {"*(x,/(1,x))", "1"},
      {"*(-(x),-(y))", "*(x,y)"},
      {"*(-(x),y)", "-(*(x,y))"},
      {"*(x,0)", "0"},
      {"*(1.5,x,2)", "*(3,x)"},
      // Operators keep their places; constants and variables move.
      {"*(A,x,B,2)", "*(2,A,x,B)"},
      {"*(B,A)", "*(B,A)"},
      {"*(A,A)", "^(A,2)"},
      {"/(A,B)", "*(A,^(B,-(1)))"},
      // Among integer bases the larger first, among real ones the smaller.
      {"*(%(3),%(5))", "*(%(5),%(3))"},
      {"*(^(3,x),^(5,x))", "*(^(5,x),^(3,x))"},
      {"*(^(2.5,x),^(1.5,x))", "*(^(1.5,x),^(2.5,x))"},
  });
}

TEST_F(SimplifyAlgebraTest, LikeFactorsCombine) {
  Expect({
      {"*(^(x,2),x,^(x,-(3)))", "1"},
      {"*(%(2),%(2))", "2"},
      {"*(%(2),%(6))", "*(%(6),%(2))"},
      {"*(i,i)", "-(1)"},
      {"*(i,i,i)", "-(i)"},
      {"*(^(x,a),^(x,b))", "^(x,+(a,b))"},
      {"*(x,^(x,a))", "^(x,+(a,1))"},
      // Bases that are each other's negations.
      {"*(+(a,-(b)),+(b,-(a)))", "-(^(+(-(a),b),2))"},
  });
  // Before further passes the exponents are written as they were combined.
  ExpectOnePass({
      {"*(x,^(x,a))", "^(x,+(1,a))"},
      {"*(^(x,a),^(x,b))", "^(x,+(a,b))"},
  });
}

TEST_F(SimplifyAlgebraTest, DivisionByZeroIsInfinityOrUnknown) {
  Expect({
      {"/(x,0)", "*(\xB0,x)"},
      {"/(-(x),0)", "-(*(\xB0,x))"},
      {"/(0,0)", "?"},
      {"^(0,-(1))", "\xB0"},
  });
}

TEST_F(SimplifyAlgebraTest, OperatorsKeepAnOperand) {
  Expect({
      {"*(D,1)", "*(D,1)"},
      {"*(D,+(x,-(x)))", "0"},
      {"*(D,x,2)", "*(2,D,x)"},
      // An operator of class 4 applies only inside its own product.
      {"*(y,*(D,x),z)", "*(y,z,*(D,x))"},
      // The differential d stays where it is written.
      {"*(x,d,x)", "*(x,d,x)"},
  });
}

TEST_F(SimplifyAlgebraTest, PowersAndRoots) {
  Expect({
      {"%(12)", "*(2,%(3))"},
      {"%(50)", "*(5,%(2))"},
      {"%(-(4))", "*(2,i)"},
      {"%(4)", "2"},
      {"%(x)", "%(x)"},
      {"^(%(x),2)", "x"},
      {"/(1,%(3))", "/(%(3),3)"},
      {"*(x,%(12))", "*(2,%(3),x)"},
      {"^(^(x,2),3)", "^(x,6)"},
      {"^(-(x),3)", "-(^(x,3))"},
      {"^(-(x),2)", "^(x,2)"},
      {"^(-(4),/(1,2))", "*(2,i)"},
      {"^(i,3)", "-(i)"},
      {"^(i,4)", "1"},
      {"^(2,10)", "1024"},
      {"^(2,-(2))", "/(1,4)"},
      {"^(2,40)", "1099511627776.0"},
      {"^(2.5,2)", "6.25"},
      {"^(x,1)", "x"},
      {"^(x,0)", "1"},
      {"^(x,-(2))", "/(1,^(x,2))"},
      {"^(x,-(a))", "/(1,^(x,a))"},
      {"^(c,-(x))", "^(c,-(x))"},
      {"^(x,/(1,2))", "%(x)"},
      {"^(x,/(3,2))", "^(x,/(3,2))"},
  });
}

TEST_F(SimplifyAlgebraTest, OrderOfApproximationDropsHighPowers) {
  // h has the order of approximation 3 (h^3 = 0 is a working statement).
  Expect({
      {"^(h,5)", "0"},
      {"^(h,3)", "0"},
      {"^(h,2)", "^(h,2)"},
      {"*(h,^(h,4))", "0"},
      {"+(^(h,2),^(h,4),h)", "+(^(h,2),h)"},
      {"^(x,5)", "^(x,5)"},
  });
}

TEST_F(SimplifyAlgebraTest, ParenthesesAndNumberTexts) {
  Expect({
      {"(+(x,x))", "*(2,x)"},
      {"*(2,(+(x,1)))", "*(2,+(x,1))"},
      {"#12", "12"},
      {"#2.50", "2.5"},
      {"+(#1.5,#2)", "3.5"},
  });
}

}  // namespace
}  // namespace lemmabox::testing
