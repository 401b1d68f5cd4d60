// Simplify on function references, absolute values, factorials, adjoints,
// subscripts, conditionals, evaluate-at and summations.
#include <gtest/gtest.h>

#include <string>

#include "manip/simplify.h"
#include "shell/messages.h"
#include "simplify_fixture.h"

namespace lemmabox::testing {
namespace {

struct Case {
  const char* input;
  const char* expected;
};

class SimplifyFunctionsTest : public SimplifyTest {
 protected:
  void Expect(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(c.expected, Simplified(c.input)) << c.input;
  }
};

TEST_F(SimplifyFunctionsTest, InversePairsCancel) {
  Expect({
      {";(sin,;(arcsin,y))", "y"},
      {";(arcsin,;(sin,y))", "y"},
      {";(ln,;(exp,y))", "y"},
      {";(exp,;(ln,y))", "y"},
      // log has 10^x as inverse but no cancellation.
      {";(log,^(10,y))", ";(log,^(10,y))"},
      {";(sin,;(cos,y))", ";(sin,;(cos,y))"},
      {";(f,;(g,y))", ";(f,;(g,y))"},
  });
}

TEST_F(SimplifyFunctionsTest, PowersOfFunctionNames) {
  Expect({
      {";(^(sin,-(1)),y)", ";(arcsin,y)"},
      {";(^(sin,-(1.0)),y)", ";(arcsin,y)"},
      {";(^(ln,-(1)),y)", ";(exp,y)"},
      {";(^(log,-(1)),y)", "^(10,y)"},
      {";(^(sin,2),y)", "^(;(sin,y),2)"},
      // Re has no inverse: the reference stays as written.
      {";(^(Re,-(1)),y)", ";(^(Re,-(1)),y)"},
      // A function of the user's: a power of its value.
      {";(^(f,-(1)),x)", "/(1,;(f,x))"},
      {";(^(f,2),x)", "^(;(f,x),2)"},
  });
}

TEST_F(SimplifyFunctionsTest, ConstantArgumentsGiveFamiliarNumbers) {
  Expect({
      {";(sin,/(\xB9,6))", "/(1,2)"},
      {";(cos,0)", "1"},
      {";(sin,\xB9)", "0"},
      {";(cos,/(\xB9,2))", "0"},
      {";(^(sin,-(1)),/(1,2))", "/(\xB9,6)"},
      {";(ln,e)", "1"},
      {";(exp,*(\xB9,i))", "-(1)"},
      {";(^(sin,2),/(\xB9,4))", "/(1,2)"},
      // A value that is no familiar number, or no value at all, stays.
      {";(sin,1)", ";(sin,1)"},
      {";(sin,c)", ";(sin,c)"},
      {";(f,2)", ";(f,2)"},
  });
}

TEST_F(SimplifyFunctionsTest, AbsoluteValuesAndFactorials) {
  Expect({
      {"|(-(x))", "|(x)"},
      {"|(x)", "|(x)"},
      {"|(-(3))", "3"},
      {"|(-(\xB9))", "\xB9"},
      {"|(+(3,*(4,i)))", "5"},
      {"|(c)", "|(c)"},
      {"!(5)", "120"},
      {"!(+(2,3))", "120"},
      {"!(x)", "!(x)"},
      {"!(13)", "6227020800.0"},
  });
}

TEST_F(SimplifyFunctionsTest, Adjoints) {
  Expect({
      {"a(a(x))", "x"},
      {"a(i)", "-(i)"},
      {"a(3)", "3"},
      {"a(\xB9)", "\xB9"},
      {"a(x)", "a(x)"},
      {"a(*(A,B))", "*(a(B),a(A))"},
      {"a(+(A,3))", "+(a(A),3)"},
      {"a(;(sin,x))", ";(sin,a(x))"},
      {"a(+(x,*(2,i)))", "+(a(x),a(*(2,i)))"},
  });
}

TEST_F(SimplifyFunctionsTest, SubscriptsOfMatricesAndNumbers) {
  Expect({
      {"_(m1x3(a,b,y),2)", "b"},
      {"_(m3x1(a,b,y),3)", "y"},
      {"_(m2x2(1,2,3,4),1)", "m1x2(1,2)"},
      {"_(m2x2(1,2,3,4),m1x2(2,1))", "3"},
      {"_(m2x2(1,2,3,4),m1x2(+(1,1),/(4,2)))", "4"},
      {"_(5,m1x2(1,1))", "5"},
      {"_(5,m1x2(1,2))", "0"},
      // Not a constant subscript, or not a matrix: it stays.
      {"_(m1x2(a,b),n)", "_(m1x2(a,b),n)"},
      {"_(x,1)", "_(x,1)"},
  });
  EXPECT_EQ(kMsgSubscriptTooLow, FailureOf("_(m1x3(a,b,y),0)"));
  EXPECT_EQ(kMsgSubscriptTooHigh, FailureOf("_(m1x3(a,b,y),4)"));
  EXPECT_EQ(kMsgSubscriptTooHigh, FailureOf("_(m2x2(1,2,3,4),m1x2(1,3))"));
  EXPECT_EQ(kMsgBadMatrixSubscript, FailureOf("_(m2x2(1,2,3,4),m1x3(1,1,1))"));
}

TEST_F(SimplifyFunctionsTest, Conditionals) {
  Expect({
      {"{(m2x2(x,0,y,1))", "y"},
      {"{(m2x2(x,1,y,1))", "x"},
      {"{(m2x2(+(x,x),0,y,0))", "?"},
      {"{(m2x2(x,<(1,2),y,1))", "x"},
      // A condition without a value: the parts are simplified, it stays.
      {"{(m2x2(+(x,x),z,y,1))", "{(m2x2(*(2,x),z,y,1))"},
  });
  EXPECT_EQ(kMsgBadConditional, FailureOf("{(x)"));
  EXPECT_EQ(kMsgBadConditional, FailureOf("{(m1x3(x,1,y))"));
  EXPECT_EQ(kMsgUndefinedValue, FailureOf("{(m2x2(x,/(1,0),y,1))"));
}

TEST_F(SimplifyFunctionsTest, EvaluateAt) {
  EXPECT_EQ("+(^(3,2),-(^(1,2)))", OnePass(")(^(x,2),=(x,1),=(x,3))"));
  Expect({
      {")(^(x,2),=(x,1),=(x,3))", "8"},
      {")(+(x,y),=(x,2))", "+(y,2)"},
      // Different variables, or a predefined name: it stays.
      {")(+(x,y),=(x,1),=(y,2))", ")(+(x,y),=(x,1),=(y,2))"},
      {")(*(2,\xB9),=(\xB9,1))", ")(*(2,\xB9),=(\xB9,1))"},
      // An integral in x cannot take x = 1: the evaluation goes to each term.
      {")(+(j(*(x,d,x)),x),=(x,1))", "+()(j(*(x,d,x)),=(x,1)),1)"},
  });
  EXPECT_EQ(kMsgBadEvaluateAt, FailureOf(")(x,3)"));
  EXPECT_EQ(kMsgBadEvaluateAt, FailureOf(")(x,=(x,1),<(x,2))"));
}

TEST_F(SimplifyFunctionsTest, SummationsNeedAVariableIndex) {
  Expect({
      {"*(s(k,1,n),^(k,2))", "*(s(k,1,n),^(k,2))"},
      {"*(s(k,+(1,1),n),k)", "*(s(k,2,n),k)"},
  });
  EXPECT_EQ(kMsgBadSummation, FailureOf("*(s(c,1,3),c)"));
  EXPECT_EQ(kMsgBadSummation, FailureOf("s(2,1,3)"));
  EXPECT_EQ(kMsgBadSummation, FailureOf("x(k,\xB9,1,3)"));
}

TEST_F(SimplifyFunctionsTest, IntegralsStay) {
  Expect({
      {"j(*(+(x,x),d,x))", "j(*(2,x,d,x))"},
      {"j(*(x,d,x),0,+(1,1))", "j(*(x,d,x),0,2)"},
  });
}

}  // namespace
}  // namespace lemmabox::testing
