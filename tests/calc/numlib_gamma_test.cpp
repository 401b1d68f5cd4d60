// Factorial and Gamma: the exact table, infinities, and accuracy against
// Stirling's series in long double.
#include "calc/numlib_gamma.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "calc/numlib_reference.h"

namespace lemmabox {
namespace {

using testing::ErrorTally;
using testing::Real;

TEST(Factorial, ExactTableThenRealsThenInfinities) {
  struct Case {
    int32_t n;
    NumKind kind;
    double value;
  };
  const Case cases[] = {
      {0, NumKind::kInteger, 1.0},
      {5, NumKind::kInteger, 120.0},
      {12, NumKind::kInteger, 479001600.0},
      {13, NumKind::kReal, 6227020800.0},
      {20, NumKind::kReal, 2432902008176640000.0},
      {171, NumKind::kReal, kInfinity},
      {5000, NumKind::kReal, kInfinity},
      {-2, NumKind::kReal, -kInfinity},
      {-3, NumKind::kReal, kInfinity},
  };
  for (const Case& c : cases) {
    NumScalar f = Factorial(c.n);
    EXPECT_EQ(f.kind, c.kind) << c.n;
    EXPECT_EQ(f.re, c.value) << c.n;
  }
  EXPECT_NEAR(Factorial(170).re, 7.257415615307994e306, 1e292);
  EXPECT_EQ(FactorialOfWhole(-1e300).re, -kInfinity);
  EXPECT_EQ(FactorialOfWhole(3e9).re, kInfinity);
}

TEST(Factorial, RealAndComplexOperandsUseGamma) {
  NumScalar half = FactorialScalar(NumScalar::Real(0.5));
  EXPECT_EQ(half.kind, NumKind::kReal);
  EXPECT_NEAR(half.re, 0.886226925452758, 1e-15);
  NumScalar five = FactorialScalar(NumScalar::Real(5.0));
  EXPECT_EQ(five.kind, NumKind::kReal);
  EXPECT_NEAR(five.re, 120.0, 1e-12);
  // i! = Gamma(1 + i) = 0.4980156681183560 - 0.1549498283018107 i
  NumScalar z = FactorialScalar(NumScalar::Complex(0.0, 1.0));
  EXPECT_NEAR(z.re, 0.4980156681183560, 1e-14);
  EXPECT_NEAR(z.im, -0.1549498283018107, 1e-14);
}

TEST(GammaFunction, WholeArgumentsGoThroughTheFactorial) {
  NumScalar g = GammaScalar(NumScalar::Int(5));
  EXPECT_EQ(g.kind, NumKind::kInteger);
  EXPECT_EQ(g.integer, 24);
  EXPECT_EQ(GammaScalar(NumScalar::Real(0.0)).re, kInfinity);    // (-1)!
  EXPECT_EQ(GammaScalar(NumScalar::Real(-1.0)).re, -kInfinity);  // (-2)!
  EXPECT_NEAR(GammaScalar(NumScalar::Real(0.5)).re, 1.7724538509055160, 1e-15);
  EXPECT_EQ(GammaReal(200.0), kInfinity);
  EXPECT_TRUE(std::isnan(GammaReal(std::nan(""))));
}

TEST(GammaFunction, RealAccuracyAcrossTheRange) {
  ErrorTally tally("Gamma (real)");
  for (double x = -170.55; x < 171.6; x += 0.731) {
    if (std::floor(x) == x) continue;
    Real want = testing::RefGamma(x);
    if (std::fabs(want) < 1e-300L) continue;  // below the double range
    EXPECT_LT(tally.Add(GammaReal(x), want, 0.0L, testing::At(0, x)), 5e-15) << x;
  }
  for (double x : {1e-10, 0.001, 0.999, 1.0001, 1.5, 2.5, 9.999, 10.0001, 171.5, -0.5, -1.5, -1e-7,
                   -2.999999}) {
    EXPECT_LT(tally.Add(GammaReal(x), testing::RefGamma(x), 0.0L, testing::At(0, x)), 5e-15) << x;
  }
}

// The complex Gamma against the recurrence, the reflection and the real
// routine near the axis.
TEST(GammaFunction, ComplexGammaIdentities) {
  ErrorTally tally("Gamma (complex identities)");
  using Cx = std::complex<double>;
  for (Cx z : {Cx(0.3, 0.7), Cx(2.5, -3.0), Cx(-4.2, 1.1), Cx(10.0, 10.0), Cx(-0.5, 0.01),
               Cx(30.0, -2.0)}) {
    Cx g = GammaComplex(z);
    Cx next = GammaComplex(z + 1.0);
    Cx recurrence = z * g;  // Gamma(z + 1) = z Gamma(z)
    Real scale = std::abs(next);
    EXPECT_LT(tally.Add(next.real(), recurrence.real(), scale, "recurrence"), 1e-13);
    EXPECT_LT(tally.Add(next.imag(), recurrence.imag(), scale, "recurrence"), 1e-13);
    // Gamma(z) Gamma(1 - z) = pi / sin(pi z)
    Cx product = g * GammaComplex(1.0 - z);
    Cx want = 3.14159265358979323846 / std::sin(3.14159265358979323846 * z);
    EXPECT_LT(tally.Add(product.real(), want.real(), std::abs(want), "reflection"), 1e-13);
    // conj(Gamma(z)) = Gamma(conj z)
    EXPECT_NEAR(GammaComplex(std::conj(z)).imag(), -g.imag(), 1e-14 * std::abs(g));
  }
  for (double x : {0.3, 1.7, 6.2, -2.5}) {
    Cx g = GammaComplex({x, 1e-12});
    EXPECT_LT(tally.Add(g.real(), testing::RefGamma(x), 0.0L, "real axis"), 1e-13) << x;
  }
}

}  // namespace
}  // namespace lemmabox
