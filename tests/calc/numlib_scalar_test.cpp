// Scalar arithmetic: exact integers while they fit, the real and complex
// rules, powers of negative bases, equality and the conversions to real and
// integer.
#include "calc/numlib_scalar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

using S = NumScalar;

// The kind and value of a result, compared exactly (NaN matches undefined).
void ExpectScalar(const S& got, NumKind kind, double re, double im = 0.0) {
  EXPECT_EQ(got.kind, kind);
  if (std::isnan(re)) {
    EXPECT_TRUE(IsUndefined(got.re)) << got.re;
  } else if (std::isinf(re)) {
    EXPECT_EQ(got.re, re);
  } else {
    EXPECT_DOUBLE_EQ(got.re, re);
  }
  EXPECT_DOUBLE_EQ(got.im, im);
  if (kind == NumKind::kInteger) {
    EXPECT_EQ(got.integer, static_cast<int32_t>(re));
  }
}

constexpr NumKind kInt = NumKind::kInteger;
constexpr NumKind kReal = NumKind::kReal;
constexpr NumKind kCx = NumKind::kComplex;
const double kUndef = std::nan("");

TEST(ScalarValues, UndefinedValueIsAQuietNaNThatInfinitiesAreNot) {
  double u = UndefinedValue();
  EXPECT_TRUE(std::isnan(u));
  EXPECT_FALSE(std::signbit(u));
  EXPECT_TRUE(IsUndefined(u));
  EXPECT_TRUE(IsUndefined(kInfinity - kInfinity));
  EXPECT_FALSE(IsUndefined(kInfinity));
  EXPECT_FALSE(IsUndefined(-kInfinity));
  EXPECT_FALSE(IsUndefined(1.0));
  // A complex with a zero imaginary part of either sign is a real.
  ExpectScalar(S::Complex(2.0, -0.0), kReal, 2.0);
  ExpectScalar(S::Complex(2.0, 1e-300), kCx, 2.0, 1e-300);
}

TEST(ScalarArithmetic, IntegersStayExactWhileTheyFit) {
  struct Case {
    S result;
    NumKind kind;
    double value;
  };
  const Case cases[] = {
      {AddScalars(S::Int(2147483647), S::Int(1)), kReal, 2147483648.0},
      {AddScalars(S::Int(-2147483647), S::Int(-1)), kInt, -2147483648.0},
      {AddScalars(S::Int(3), S::Real(0.5)), kReal, 3.5},
      {MultiplyScalars(S::Int(46341), S::Int(46341)), kReal, 2147488281.0},
      {MultiplyScalars(S::Int(40000), S::Int(40000)), kInt, 1600000000.0},
      {MultiplyScalars(S::Int(-65536), S::Int(32768)), kInt, -2147483648.0},
      {MultiplyScalars(S::Int(65536), S::Int(32768)), kReal, 2147483648.0},
      {MultiplyScalars(S::Int(181), S::Int(-181)), kInt, -32761.0},
      {DivideScalars(S::Int(7), S::Int(2)), kReal, 3.5},
      {DivideScalars(S::Int(6), S::Int(3)), kInt, 2.0},
      {DivideScalars(S::Int(-6), S::Int(3)), kInt, -2.0},
      {DivideScalars(S::Int(1), S::Int(0)), kReal, kInfinity},
      {DivideScalars(S::Int(-1), S::Int(0)), kReal, -kInfinity},
      {DivideScalars(S::Int(0), S::Int(0)), kReal, kUndef},
      {DivideScalars(S::Int(-2147483647 - 1), S::Int(-1)), kReal, 2147483648.0},
      {DivideScalars(S::Real(1.0), S::Real(0.0)), kReal, kInfinity},
      {NegateScalar(S::Int(-2147483647 - 1)), kReal, 2147483648.0},
      {NegateScalar(S::Int(5)), kInt, -5.0},
      {ReciprocalScalar(S::Int(4)), kReal, 0.25},
      {AbsScalar(S::Int(-3)), kReal, 3.0},
  };
  for (const Case& c : cases) ExpectScalar(c.result, c.kind, c.value);
}

TEST(ScalarArithmetic, ComplexResults) {
  S i = S::Complex(0.0, 1.0);
  ExpectScalar(MultiplyScalars(i, i), kReal, -1.0);  // a zero imaginary part gives a real
  ExpectScalar(MultiplyScalars(S::Complex(1, 2), S::Complex(3, -1)), kCx, 5.0, 5.0);
  ExpectScalar(DivideScalars(S::Complex(5, 5), S::Complex(3, -1)), kCx, 1.0, 2.0);
  ExpectScalar(AddScalars(S::Complex(1, 2), S::Complex(1, -2)), kReal, 2.0);
  ExpectScalar(NegateScalar(S::Complex(1, -2)), kCx, -1.0, 2.0);
  ExpectScalar(ConjugateScalar(S::Complex(1, -2)), kCx, 1.0, 2.0);
  ExpectScalar(AbsScalar(S::Complex(3, 4)), kReal, 5.0);
  ExpectScalar(AbsScalar(S::Complex(3, kUndef)), kReal, kUndef);
  ExpectScalar(ReciprocalScalar(S::Complex(0, 2)), kCx, 0.0, -0.5);
  ExpectScalar(SqrtScalar(S::Int(-4)), kCx, 0.0, 2.0);
  ExpectScalar(SqrtScalar(S::Int(9)), kReal, 3.0);
  ExpectScalar(SqrtScalar(S::Complex(0, 2)), kCx, 1.0, 1.0);
  ExpectScalar(SqrtScalar(S::Complex(-4, -0.0)), kCx, 0.0, 2.0);
  ExpectScalar(SqrtScalar(S::Undefined()), kReal, kUndef);
}

TEST(ScalarPowers, IntegerExponentsBySquaring) {
  ExpectScalar(PowerScalars(S::Int(3), S::Int(4)), kInt, 81.0);
  ExpectScalar(PowerScalars(S::Int(2), S::Int(31)), kReal, 2147483648.0);
  ExpectScalar(PowerScalars(S::Int(-2), S::Int(31)), kInt, -2147483648.0);
  ExpectScalar(PowerScalars(S::Int(2), S::Int(-2)), kReal, 0.25);
  ExpectScalar(PowerScalars(S::Real(kUndef), S::Int(0)), kInt, 1.0);
  ExpectScalar(PowerScalars(S::Int(0), S::Int(-1)), kReal, kInfinity);
  ExpectScalar(PowerScalars(S::Complex(0, 1), S::Int(3)), kCx, 0.0, -1.0);
  ExpectScalar(PowerScalars(S::Complex(0, 1), S::Int(-2147483647 - 1)), kReal, 1.0);
  ExpectScalar(PowerScalars(S::Real(1.5), S::Int(3)), kReal, 3.375);
}

TEST(ScalarPowers, NegativeBasesWithRealExponents) {
  struct Case {
    double x;
    double y;
    NumKind kind;
    double re;
    double im;
  };
  const Case cases[] = {
      {-8.0, 1.0 / 3.0, kReal, -2.0, 0.0},
      {-8.0, 2.0 / 3.0, kReal, 4.0, 0.0},
      {-4.0, 0.5, kCx, 0.0, 2.0},
      {-2.0, 3.0000000000001, kReal, -std::pow(2.0, 3.0000000000001), 0},
      {-2.0, M_PI, kReal, kUndef, 0.0},
      {-0.5, kInfinity, kReal, 0.0, 0.0},
      {-2.0, kInfinity, kReal, kInfinity, 0.0},
      {-2.0, -kInfinity, kReal, 0.0, 0.0},
      {-0.5, -kInfinity, kReal, kInfinity, 0},
      {-1.0, kInfinity, kReal, 1.0, 0.0},
      {-2.0, 0.0, kInt, 1.0, 0.0},
      {-2.0, 2e9, kReal, kUndef, 0.0},
      {-2.0, kUndef, kReal, kUndef, 0.0},
      {kUndef, 2.0, kReal, kUndef, 0.0},
      {4.0, 0.5, kReal, 2.0, 0.0},
      {0.0, -1.0, kReal, kInfinity, 0.0},
      {-32.0, 0.2, kReal, -2.0, 0.0},
      {-16.0, 0.25, kCx, std::sqrt(2.0), std::sqrt(2.0)},
  };
  for (const Case& c : cases) {
    S r = RealPower(c.x, c.y);
    EXPECT_EQ(r.kind, c.kind) << c.x << "^" << c.y;
    if (std::isnan(c.re)) {
      EXPECT_TRUE(IsUndefined(r.re)) << c.x << "^" << c.y;
    } else if (std::isinf(c.re)) {
      EXPECT_EQ(r.re, c.re) << c.x << "^" << c.y;
    } else {
      EXPECT_NEAR(r.re, c.re, 1e-15 * std::fabs(c.re)) << c.x << "^" << c.y;
      EXPECT_NEAR(r.im, c.im, 1e-15 * std::fabs(c.im)) << c.x << "^" << c.y;
    }
  }
  // Anything complex goes through exp(y ln x) with the principal logarithm:
  // i^i = e^(-pi/2).
  S ii = PowerScalars(S::Complex(0, 1), S::Complex(0, 1));
  EXPECT_EQ(ii.kind, kReal);
  EXPECT_NEAR(ii.re, std::exp(-M_PI / 2), 1e-16);
  S root = PowerScalars(S::Real(-1.0), S::Complex(0.5, 1e-30));
  EXPECT_NEAR(root.im, 1.0, 1e-15);
}

TEST(ScalarEquality, RelativeToleranceAndUndefinedOperands) {
  struct Case {
    S a;
    S b;
    double want;  // 1, 0, or NaN for undefined
  };
  const Case cases[] = {
      {S::Real(0.1 + 0.2), S::Real(0.3), 1},
      {S::Real(1.0), S::Real(1.0 + 3e-15), 0},
      {S::Real(0.0), S::Real(-0.0), 1},
      {S::Real(0.0), S::Real(1e-300), 0},
      {S::Int(3), S::Real(3.0), 1},
      {S::Real(kInfinity), S::Real(kInfinity), 1},
      {S::Real(kInfinity), S::Real(-kInfinity), 0},
      {S::Real(kUndef), S::Real(1.0), kUndef},
      {S::Complex(1, 2), S::Complex(1, 2 + 1e-16), 1},
      {S::Complex(1, 2), S::Real(1.0), 0},
      {S::Complex(1, kUndef), S::Complex(1, 2), kUndef},
  };
  for (const Case& c : cases) {
    S r = EqualScalars(c.a, c.b);
    if (std::isnan(c.want)) {
      EXPECT_TRUE(IsUndefined(r.re));
    } else {
      ExpectScalar(r, kInt, c.want);
    }
  }
}

TEST(ScalarConversions, RealAndIntegerWhereTheyAreNeeded) {
  EXPECT_EQ(RealOfScalar(S::Int(-7)), -7.0);
  EXPECT_EQ(RealOfScalar(S::Complex(2.0, 1e-18)), 2.0);
  EXPECT_TRUE(IsUndefined(RealOfScalar(S::Complex(2.0, 1e-16))));
  EXPECT_TRUE(IsUndefined(RealOfScalar(S::Complex(0.0, 1.0))));
  EXPECT_EQ(IntOfScalar(S::Real(2.5)), 3);
  EXPECT_EQ(IntOfScalar(S::Real(-2.5)), -2);
  EXPECT_EQ(IntOfScalar(S::Complex(4.4, 3.0)), 4);
  EXPECT_EQ(IntOfScalar(S::Int(-2147483647 - 1)), -2147483647 - 1);
  EXPECT_EQ(IntOfScalar(S::Real(-2147483647.0)), -2147483647);
  EXPECT_RAISES(kMsgTooLargeOrStrange, IntOfScalar(S::Real(2147483647.0)));
  EXPECT_RAISES(kMsgTooLargeOrStrange, IntOfScalar(S::Real(-2147483648.0)));
  EXPECT_RAISES(kMsgTooLargeOrStrange, IntOfScalar(S::Undefined()));
}

}  // namespace
}  // namespace lemmabox
