// Complex kernels: principal branches, values on the cuts, and accuracy
// against the defining formulas evaluated in long double.
#include "calc/numlib_complex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "calc/numlib_reference.h"

namespace lemmabox {
namespace {

using Cx = std::complex<double>;
using LCx = std::complex<long double>;
using testing::ErrorTally;
using testing::Real;

constexpr double kPi = 3.141592653589793;

void ExpectComplexNear(Cx got, Cx want, double tolerance, const char* what) {
  double scale = std::max(1.0, std::abs(want));
  EXPECT_NEAR(got.real(), want.real(), tolerance * scale) << what;
  EXPECT_NEAR(got.imag(), want.imag(), tolerance * scale) << what;
}

TEST(ComplexKernels, SinPiAndCosPiAreExactAtWholeAndHalfWholeArguments) {
  EXPECT_EQ(SinPi(1.0), 0.0);
  EXPECT_EQ(SinPi(-3.0), 0.0);
  EXPECT_EQ(SinPi(0.5), 1.0);
  EXPECT_EQ(SinPi(-2.5), -1.0);
  EXPECT_EQ(CosPi(0.5), 0.0);
  EXPECT_EQ(CosPi(1e6 + 0.5), 0.0);
  EXPECT_EQ(CosPi(3.0), -1.0);
  EXPECT_NEAR(SinPi(1.0 / 6.0), 0.5, 1e-16);
  EXPECT_NEAR(CosPi(2.0 / 3.0), -0.5, 2e-16);
  EXPECT_TRUE(std::isnan(SinPi(INFINITY)));
}

TEST(ComplexKernels, PrincipalBranchesOnTheCuts) {
  struct Case {
    const char* what;
    Cx got;
    Cx want;
  };
  const double a = std::log(2.0 + std::sqrt(3.0));  // 1.3169...
  const Case cases[] = {
      {"ln(-1)", ComplexLog({-1.0, 0.0}), {0.0, kPi}},
      {"ln(-1 - 0i)", ComplexLog({-1.0, -0.0}), {0.0, kPi}},
      {"ln(-i)", ComplexLog({0.0, -1.0}), {0.0, -kPi / 2}},
      {"sqrt(-4)", ComplexSqrt({-4.0, 0.0}), {0.0, 2.0}},
      {"sqrt(-4 - 0i)", ComplexSqrt({-4.0, -0.0}), {0.0, 2.0}},
      {"sqrt(-2i)", ComplexSqrt({0.0, -2.0}), {1.0, -1.0}},
      {"arcsin 2", ComplexArcsin({2.0, 0.0}), {kPi / 2, -a}},
      {"arcsin -2", ComplexArcsin({-2.0, 0.0}), {-kPi / 2, a}},
      {"arccos 2", ComplexArccos({2.0, 0.0}), {0.0, a}},
      {"arccos -2", ComplexArccos({-2.0, 0.0}), {kPi, -a}},
      {"arccosh 0.5", ComplexArccosh({0.5, 0.0}), {0.0, kPi / 3}},
      {"arccosh -2", ComplexArccosh({-2.0, 0.0}), {a, kPi}},
      {"arctanh 2", ComplexArctanh({2.0, 0.0}), {0.5 * std::log(3.0), kPi / 2}},
      {"arctanh -2", ComplexArctanh({-2.0, 0.0}), {-0.5 * std::log(3.0), kPi / 2}},
      {"arcsinh 2i", ComplexArcsinh({0.0, 2.0}), {a, kPi / 2}},
      {"arcsinh -2i", ComplexArcsinh({0.0, -2.0}), {-a, -kPi / 2}},
      {"arctan 2i", ComplexArctan({0.0, 2.0}), {kPi / 2, 0.5 * std::log(3.0)}},
      {"0^(1+i)", ComplexPower({0.0, 0.0}, {1.0, 1.0}), {0.0, 0.0}},
      {"(-1)^(1/2)", ComplexPower({-1.0, 0.0}, {0.5, 0.0}), {0.0, 1.0}},
      {"1/(3+4i)", ComplexReciprocal({3.0, 4.0}), {0.12, -0.16}},
      {"huge / huge", ComplexDivide({1e300, 1e300}, {1e300, -1e300}), {0.0, 1.0}},
      {"tan(1 + 30i)", ComplexTan({1.0, 30.0}), {0.0, 1.0}},
      {"exp(1000 + 0i)", ComplexExp({1000.0, 0.0}), {INFINITY, 0.0}},
  };
  for (const Case& c : cases) {
    if (std::isinf(c.want.real())) {
      EXPECT_EQ(c.got, c.want) << c.what;
    } else {
      ExpectComplexNear(c.got, c.want, 4.5e-16, c.what);
    }
  }
}

// sin, cos, tan, sinh, cosh, tanh, exp, ln, sqrt against their textbook
// formulas in long double; the inverse functions by their round trips.
TEST(ComplexKernels, AccuracyAgainstLongDoubleFormulas) {
  ErrorTally tally("complex elementary functions");
  std::vector<Cx> points;
  for (double re : {-7.5, -1.0, -0.3, 1e-9, 0.4, 1.0, 2.2, 40.0}) {
    for (double im : {-20.0, -1.3, -1e-7, 0.5, 1.0, 3.0, 300.0}) points.push_back({re, im});
  }
  auto check = [&](Cx got, LCx want, const char* what) {
    Real scale = std::abs(want);
    EXPECT_LT(tally.Add(got.real(), want.real(), scale, what), 4e-15) << what;
    EXPECT_LT(tally.Add(got.imag(), want.imag(), scale, what), 4e-15) << what;
  };
  for (Cx z : points) {
    Real a = z.real();
    Real b = z.imag();
    if (std::fabs(b) < 30) {
      check(ComplexSin(z), {std::sin(a) * std::cosh(b), std::cos(a) * std::sinh(b)}, "sin");
      check(ComplexCos(z), {std::cos(a) * std::cosh(b), -std::sin(a) * std::sinh(b)}, "cos");
      Real d = std::cos(2 * a) + std::cosh(2 * b);
      check(ComplexTan(z), {std::sin(2 * a) / d, std::sinh(2 * b) / d}, "tan");
    }
    if (std::fabs(a) < 30) {
      check(ComplexSinh(z), {std::sinh(a) * std::cos(b), std::cosh(a) * std::sin(b)}, "sinh");
      check(ComplexCosh(z), {std::cosh(a) * std::cos(b), std::sinh(a) * std::sin(b)}, "cosh");
      Real e = std::cosh(2 * a) + std::cos(2 * b);
      check(ComplexTanh(z), {std::sinh(2 * a) / e, std::sin(2 * b) / e}, "tanh");
      check(ComplexExp(z), {std::exp(a) * std::cos(b), std::exp(a) * std::sin(b)}, "exp");
    }
    Real squared = a * a + b * b;  // near 1, ln|z| needs |z|^2 - 1 without cancellation
    Real lnModulus = squared > 0.5L && squared < 2.0L ? 0.5L * std::log1p((a - 1) * (a + 1) + b * b)
                                                      : 0.5L * std::log(squared);
    check(ComplexLog(z), {lnModulus, std::atan2(b, a)}, "ln");
    Real modulus = std::sqrt(a * a + b * b);
    Real root = std::sqrt((modulus + std::fabs(a)) / 2);
    LCx wantRoot =
        a >= 0 ? LCx(root, b / (2 * root)) : LCx(std::fabs(b) / (2 * root), std::copysign(root, b));
    check(ComplexSqrt(z), wantRoot, "sqrt");
  }
  // Round trips through the inverse functions stay on their principal branches.
  for (Cx z : {Cx(0.3, 0.2), Cx(-0.7, -1.1), Cx(1e-8, 2e-8), Cx(1.2, -0.4)}) {
    ExpectComplexNear(ComplexSin(ComplexArcsin(z)), z, 4e-16, "sin arcsin");
    ExpectComplexNear(ComplexCos(ComplexArccos(z)), z, 4e-16, "cos arccos");
    ExpectComplexNear(ComplexTan(ComplexArctan(z)), z, 4e-16, "tan arctan");
    ExpectComplexNear(ComplexSinh(ComplexArcsinh(z)), z, 4e-16, "sinh arcsinh");
    ExpectComplexNear(ComplexCosh(ComplexArccosh(z)), z, 4e-16, "cosh arccosh");
    ExpectComplexNear(ComplexTanh(ComplexArctanh(z)), z, 4e-16, "tanh arctanh");
    ExpectComplexNear(ComplexExp(ComplexLog(z)), z, 4e-16, "exp ln");
  }
  // Small arguments keep their relative accuracy.
  Cx tiny(1e-12, 3e-12);
  Cx s = ComplexArcsin(tiny);
  EXPECT_NEAR(s.real(), 1e-12, 1e-27);
  EXPECT_NEAR(s.imag(), 3e-12, 1e-27);
  Cx t = ComplexArctanh(tiny);
  EXPECT_NEAR(t.imag(), 3e-12, 1e-27);
  EXPECT_NEAR(ComplexLog({1.0, 1e-10}).real(), 5e-21, 1e-35);
}

}  // namespace
}  // namespace lemmabox
