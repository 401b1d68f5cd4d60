// The calculation stack: typed pops and their conversions, capacity, the
// stack operations, and numbers turned back into math objects.
#include "calc/calc_stack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calc/calc_elements.h"
#include "calc/calc_engine.h"
#include "calc/calc_fixture.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/object.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

class CalcStackTest : public CalcTest {
 protected:
  void SetUp() override {
    CalcTest::SetUp();
    BeginCalc(true);
  }
  // The object PopObj makes of the top, shown.
  std::string PopShown() {
    Handle h = PopObj();
    std::string s = Show(h);
    DisposeObj(h);
    return s;
  }
};

TEST_F(CalcStackTest, PopIntRoundsHalvesUpAndRefusesWhatDoesNotFit) {
  struct Case {
    double re;
    double im;
    int32_t expected;  // meaningless when raises
    bool raises;
  };
  const Case cases[] = {
      {2.5, 0, 3, false},
      {-2.5, 0, -2, false},
      {-2.6, 0, -3, false},
      {2147483646.4, 0, 2147483646, false},
      {-2147483647.0, 0, -2147483647, false},
      {2147483647.0, 0, 0, true},
      {-2147483648.0, 0, 0, true},
      {kNaN, 0, 0, true},
      {kInfinity, 0, 0, true},
      {2.6, 5.0, 3, false},  // a complex converts from its real part
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.re);
    BeginCalc(true);
    PushComplex(c.re, c.im);
    if (c.raises) {
      EXPECT_RAISES(kMsgTooLargeOrStrange, PopInt());
    } else {
      EXPECT_EQ(c.expected, PopInt());
      EXPECT_TRUE(CalcStackEmpty());
    }
  }
  PushInt(-2147483647 - 1);  // an integer element is returned as it is
  EXPECT_EQ(-2147483647 - 1, PopInt());
}

TEST_F(CalcStackTest, PopRealTakesComplexValuesOnlyWhenPracticallyReal) {
  PushComplex(1.0, 1e-18);
  EXPECT_EQ(1.0, PopReal());
  PushComplex(1.0, 1e-16);
  EXPECT_TRUE(IsUndefined(PopReal()));
  PushComplex(0.0, -0.0);  // a signed zero imaginary part pushes a real
  EXPECT_EQ(NumKind::kReal, TopKind());
  EXPECT_EQ(0.0, PopReal());
  PushInt(7);
  EXPECT_EQ(std::complex<double>(7, 0), PopComplex());
}

TEST_F(CalcStackTest, VectorPopsAcceptRowsAndColumnsOfTheRightLength) {
  Push2Vector(1, 2);
  double x = 0, y = 0, z = 0;
  Pop2Vector(x, y);
  EXPECT_EQ(1, x);
  EXPECT_EQ(2, y);

  NumMatrix column(3, 1, NumKind::kInteger);
  column.Set(0, NumScalar::Int(4));
  column.Set(1, NumScalar::Int(5));
  column.Set(2, NumScalar::Int(6));
  PushMatrix(column);
  Pop3Vector(x, y, z);
  EXPECT_EQ(6, z);

  Push3Vector(1, 2, 3);
  EXPECT_RAISES(kMsgNeedReal2Vector, Pop2Vector(x, y));
  BeginCalc(true);
  Push2Vector(1, 2);
  EXPECT_RAISES(kMsgNeedReal3Vector, Pop3Vector(x, y, z));
  BeginCalc(true);
  PushReal(1);
  EXPECT_RAISES(kMsgNeedReal2Vector, Pop2Vector(x, y));
  BeginCalc(true);
  Push2Vector(1, 2);
  EXPECT_RAISES(kMsgNeedScalar, PopReal());
  BeginCalc(true);
  Push2Vector(1, 2);
  EXPECT_RAISES(kMsgNeedScalar, PopInt());
}

TEST_F(CalcStackTest, FullStackRaisesAndTheNextEvaluationStartsClean) {
  int pushed = 0;
  MessageNumber raised = RaisedBy([&] {
    for (;;) {
      PushReal(pushed);
      ++pushed;
    }
  });
  EXPECT_EQ(kMsgOutOfCalculationSpace, raised);
  // 12 bytes a real: the block holds a little under 15000 / 12.
  EXPECT_GT(pushed, 1200);
  EXPECT_LT(pushed, 1250);
  EXPECT_EQ(pushed, CalcStackDepth());
  EXPECT_EQ(pushed - 1, PopReal());  // what was pushed is intact
  BeginCalc(true);
  EXPECT_TRUE(CalcStackEmpty());
  // A matrix too big for the block is refused the same way.
  EXPECT_RAISES(kMsgOutOfCalculationSpace, PushMatrix(NumMatrix(50, 50, NumKind::kReal)));
}

TEST_F(CalcStackTest, StackOperationsKeepElementsIntact) {
  PushInt(1);
  PushReal(2.5);
  PushComplex(3, 4);
  RemoveElements(1, 1);  // drops 2.5; the complex slides down
  EXPECT_EQ(2, CalcStackDepth());
  SwapTop();
  EXPECT_EQ(1, PopInt());
  EXPECT_EQ(std::complex<double>(3, 4), PopComplex());
  Push2Vector(7, 8);
  PushInt(9);
  OverTop();
  EXPECT_EQ(3, CalcStackDepth());
  double x = 0, y = 0;
  Pop2Vector(x, y);
  EXPECT_EQ(8, y);
  DupTop();
  EXPECT_EQ(9, PopInt());
  EXPECT_EQ(9, PopInt());
  Pop2Vector(x, y);
  EXPECT_TRUE(CalcStackEmpty());
  EXPECT_INTERNAL_ERROR("PopBytes Overflow", PopBytes());
}

TEST_F(CalcStackTest, EndCalcInsistsOnAnEmptyStack) {
  PushInt(1);
  EXPECT_INTERNAL_ERROR("EndCalc", EndCalc());
  PopInt();
  EXPECT_INTERNAL_ERROR("", EndCalc());
}

TEST_F(CalcStackTest, NumbersBecomeObjects) {
  struct Case {
    double re;
    double im;
    const char* shown;
  };
  const Case cases[] = {
      {2.0, 1e-18, "2"},    // below 1e-17 of the real part: a real
      {1e-18, 3.0, "3*i"},  // and the other way round
      {0.0, 1.0, "i"},           {0.0, -1.0, "-i"},     {1.5, 2.0, "1.5+2*i"},
      {1.0, -2.5, "1-2.5*i"},    {kNaN, 1.0, "#?"},     {1.0, kNaN, "#?"},
      {kNaN, 0.0, "#?"},         {-0.25, 0.0, "-0.25"}, {kInfinity, 0.0, "inf"},
      {-kInfinity, 0.0, "-inf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    PushComplex(c.re, c.im);
    EXPECT_EQ(c.shown, PopShown());
  }
  PushInt(-5);
  EXPECT_EQ("-5", PopShown());
}

TEST_F(CalcStackTest, MatricesLongerThan255FitWhileTheBlockHasRoom) {
  NumMatrix row(1, 300, NumKind::kInteger);
  NumMatrix column(300, 1, NumKind::kInteger);
  for (int k = 0; k < 300; ++k) {
    row.Set(k, NumScalar::Int(k));
    column.Set(k, NumScalar::Int(k));
  }
  PushMatrix(column);
  ElementShape shape = TopShape();
  EXPECT_EQ(300, shape.rows);
  EXPECT_EQ(1, shape.cols);
  PushMatrix(row);
  MultiplyElements();  // the row (top) times the column: sum of k^2
  EXPECT_EQ(8955050.0, PopReal());
  PushMatrix(column);
  Handle m = PopObj();
  EXPECT_EQ(300, ObjCount(m));
  EXPECT_EQ("299", Show(ObjSlot(m, 299)));
  DisposeObj(m);
}

}  // namespace
}  // namespace lemmabox::testing
