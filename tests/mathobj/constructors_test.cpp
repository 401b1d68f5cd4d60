#include "mathobj/constructors.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "mathobj/dup_dispose.h"
#include "mathobj/handles.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "mathobj_fixture.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

using testing::Show;

// Predefined names as a notebook would make them: here, undeclared names
// spelled as the built-in table spells them.
class ConstructorTest : public testing::MathObjTest {
 protected:
  void SetUp() override {
    MathObjTest::SetUp();
    gObjStoreHooks.predefinedName = [](int key) {
      return NewUndeclaredName(PredefinedSpelling(key));
    };
  }
};

// Shows a tree with the program's infinity character spelled out.
std::string Text(Handle h) {
  std::string text = Show(h);
  for (size_t at; (at = text.find('\xB0')) != std::string::npos;) text.replace(at, 1, "inf");
  DisposeObj(h);
  return text;
}

TEST_F(ConstructorTest, NewObjectsAreDetachedAndZeroed) {
  Handle h = NewObj(kReal, kRealPayload);
  const Obj& o = Hdr(h);
  EXPECT_EQ(kReal, o.type);
  EXPECT_EQ(0, o.aux + o.flags + o.sizeLevel + o.count + o.baseline + o.box5);
  EXPECT_EQ(Rect{}, o.box);
  EXPECT_EQ(nullptr, o.parent);
  EXPECT_EQ(-1, o.slotIndex);
  DisposeObj(h);

  // A null operand leaves its slot empty; disposal skips it.
  Handle quotient = NewQuotient(NewOne(), nullptr);
  EXPECT_EQ(2, ObjCount(quotient));
  EXPECT_EQ("/(1,~)", Show(quotient));
  DisposeObj(quotient);
}

TEST_F(ConstructorTest, OperandCounts) {
  struct Case {
    TypeCode type;
    int operands;
  } const cases[] = {{kSum, 2},   {kProduct, 2},  {kPiProduct, 4}, {kSummation, 3}, {kEvalAt, 3},
                     {kPower, 2}, {kNegation, 1}, {kIntegral, 1},  {kLimit, 3}};
  for (const Case& c : cases) EXPECT_EQ(c.operands, NNEwSubObjs(c.type)) << char(c.type);
  for (TypeCode type : {kInteger, kMatrix, kAssumption, TypeCode('#')})
    EXPECT_INTERNAL_ERROR("NNEwSubObjs", NNEwSubObjs(type)) << char(type);
}

TEST_F(ConstructorTest, OperandListsHaveALimit) {
  Handle big = NewObjN(kSum, kMaxOperands);
  EXPECT_EQ(kMaxOperands, ObjCount(big));
  DisposeObj(big);
  EXPECT_RAISES(kMsgExpressionTooLarge, NewObjN(kSum, kMaxOperands + 1));
}

TEST_F(ConstructorTest, ExpressionShapes) {
  auto x = [] { return NewUndeclaredName("x"); };
  auto y = [] { return NewUndeclaredName("y"); };
  struct Case {
    Handle built;
    const char* expected;
  } const cases[] = {
      {NewPower(x(), y()), "^(x,y)"},
      {NewIndex(x(), NewTwo()), "_(x,2)"},
      {NewProduct(x(), y(), NewThree()), "*(x,y,3)"},
      {NewSum(x(), y(), NewOne(), NewTwo()), "+(x,y,1,2)"},
      {NewDifference(x(), y()), "+(x,-(y))"},
      {NewReciprocal(x()), "/(1,x)"},
      {NewSquare(x()), "^(x,2)"},
      {NewRootPower(x()), "^(x,/(1,3))"},
      {NewSqrt(x()), "%(x)"},
      {NewAbs(x()), "|(x)"},
      {NewRange(NewZero(), NewOne()), ":(0,1)"},
      {NewEquation(x(), NewMinusOne()), "=(x,-(1))"},
      {NewApply(TrigKey(kTrigPlain, kSin), x()), ";(sin,x)"},
      {NewVector(x()), "m1x1(x)"},
      {NewVector(x(), y(), nullptr), "m1x3(x,y,~)"},
      {NewWildcard('a'), "`a"},
      {NewNumberText("1.5"), "#1.5"},
      {NewUndeclaredName("averyveryverylongnamethatdoesnotfit"), "averyveryverylongnamethatdoesno"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, Text(c.built));
}

TEST_F(ConstructorTest, Integers) {
  EXPECT_EQ("-(5)", Text(NewInteger(-5)));
  EXPECT_EQ("0", Text(NewZero()));
  EXPECT_EQ("2147483647", Text(NewInteger(INT_MAX)));
  // The most negative value has no positive integer to negate: a real it is.
  EXPECT_EQ("-(2147483648.0)", Text(NewInteger(INT_MIN)));
}

TEST_F(ConstructorTest, RealsSnapToIntegersOnlyWhenNearlyExact) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double x;
    const char* expected;
  } const cases[] = {
      {3.0000000000000004, "3"},
      {3.0000000001, "3.0000000001"},
      {-3.0, "-(3)"},
      {-0.25, "-(0.25)"},
      {0.0, "0"},
      {-0.0, "0"},
      {1e-20, "9.9999999999999995e-21"},
      {2.5, "2.5"},
      {1e10, "10000000000.0"},  // integral, but no 32-bit integer holds it
      {2147483647.0, "2147483647"},
      {inf, "inf"},
      {-inf, "-(inf)"},
      {std::nan(""), "?"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, Text(NewReal(c.x))) << c.x;
}

TEST_F(ConstructorTest, ComplexDropsANegligiblePart) {
  struct Case {
    double re, im;
    const char* expected;
  } const cases[] = {
      {2, 0, "2"},      {0, 0, "0"},          {2, 1e-14, "2"},
      {0, 3, "*(3,i)"}, {1e-14, 3, "*(3,i)"}, {1.5, -2, "+(1.5,*(-(2),i))"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, Text(NewComplex(c.re, c.im)));
}

TEST_F(ConstructorTest, PredefinedNamesNeedANotebook) {
  ResetObjStoreHooks();
  EXPECT_RAISES(kMsgNeedPredefinedName, NewPredefinedName(kKeyPi));
  EXPECT_RAISES(kMsgNeedPredefinedName, NewReal(std::numeric_limits<double>::infinity()));
  // The argument of an application that cannot be made is not lost in a
  // half-built tree: it is disposed with it.
  size_t free = FreeMasterPointerCount();
  EXPECT_RAISES(kMsgNeedPredefinedName,
                NewApply(TrigKey(kTrigPlain, kCos), NewUndeclaredName("x")));
  EXPECT_EQ(free, FreeMasterPointerCount());
}

}  // namespace
}  // namespace lemmabox
