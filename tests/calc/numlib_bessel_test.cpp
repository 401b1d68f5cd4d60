// Accuracy of the Bessel and Airy functions against series, asymptotic
// expansions and closed forms summed in long double.
#include "calc/numlib_bessel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "calc/numlib_reference.h"
#include "calc/numlib_scalar.h"

namespace lemmabox {
namespace {

using testing::At;
using testing::ErrorTally;
using testing::kRefPi;
using testing::Real;

// The envelope sqrt(2/(pi x)) of J and Y above the turning point, so that a
// point near a zero is judged by the size of the oscillation.
Real Envelope(Real nu, Real x) {
  return x > nu ? std::sqrt(2.0L / (kRefPi * x)) : 0.0L;
}

const std::vector<double> kSmallX = {1e-6, 1e-3, 0.05, 0.3, 0.9, 1.5,
                                     1.99, 2.0,  2.6,  4.1, 6.3, 8.0};
const std::vector<double> kLargeX = {25.0, 31.7, 47.0, 88.8, 150.0, 777.0, 3e3, 1e5, 1e7};

TEST(BesselAccuracy, JAndIAgainstPowerSeries) {
  ErrorTally j("J (series, x <= 8)");
  ErrorTally i("I (series, x <= 8)");
  for (double nu : {0.0, 1.0, 2.0, 3.0, 7.0, 20.0, 0.5, 0.25, 1e-3, 0.999, 1.3, 4.75, 13.6, 40.5}) {
    for (double x : kSmallX) {
      Real wantJ = testing::RefSeriesJI(nu, x, false);
      Real wantI = testing::RefSeriesJI(nu, x, true);
      EXPECT_LT(j.Add(BesselJ(nu, x), wantJ, Envelope(nu, x), At(nu, x)), 1e-13) << At(nu, x);
      EXPECT_LT(i.Add(BesselI(nu, x), wantI, 0.0L, At(nu, x)), 1e-13) << At(nu, x);
    }
  }
}

TEST(BesselAccuracy, YAndKAgainstSeries) {
  ErrorTally y("Y (series, x <= 8)");
  ErrorTally k("K (series, x <= 4)");
  for (int n : {0, 1, 2, 3, 6, 11}) {
    for (double x : kSmallX) {
      Real want = testing::RefSeriesYKWhole(n, x, false);
      EXPECT_LT(y.Add(BesselY(n, x), want, Envelope(n, x), At(n, x)), 1e-13) << At(n, x);
      if (x > 4.0) continue;
      want = testing::RefSeriesYKWhole(n, x, true);
      EXPECT_LT(k.Add(BesselK(n, x), want, 0.0L, At(n, x)), 1e-13) << At(n, x);
    }
  }
  // Fractional orders from J_-v and I_-v:
  //   Y_v = (J_v cos v pi - J_-v) / sin v pi,  K_v = pi/2 (I_-v - I_v) / sin v pi
  for (double nu : {0.2, 0.5, 1.0 / 3.0, 0.7, 1.45, 2.5, 3.3}) {
    Real s = std::sin(nu * kRefPi);
    Real c = std::cos(nu * kRefPi);
    for (double x : kSmallX) {
      Real want =
          (testing::RefSeriesJI(nu, x, false) * c - testing::RefSeriesJI(-nu, x, false)) / s;
      EXPECT_LT(y.Add(BesselY(nu, x), want, Envelope(nu, x), At(nu, x)), 1e-13) << At(nu, x);
      if (x > 4.0) continue;
      want =
          kRefPi / 2 * (testing::RefSeriesJI(-nu, x, true) - testing::RefSeriesJI(nu, x, true)) / s;
      EXPECT_LT(k.Add(BesselK(nu, x), want, 0.0L, At(nu, x)), 1e-13) << At(nu, x);
    }
  }
}

TEST(BesselAccuracy, LargeArgumentsAgainstAsymptoticSeries) {
  ErrorTally j("J (asymptotic, x >= 25)");
  ErrorTally y("Y (asymptotic, x >= 25)");
  ErrorTally i("I (asymptotic, x >= 25)");
  ErrorTally k("K (asymptotic, x >= 25)");
  for (double nu : {0.0, 1.0, 2.0, 0.3, 1.5, 2.8}) {
    for (double x : kLargeX) {
      Real env = Envelope(nu, x);
      EXPECT_LT(j.Add(BesselJ(nu, x), testing::RefAsymptotic(0, nu, x), env, At(nu, x)), 1e-13)
          << At(nu, x);
      EXPECT_LT(y.Add(BesselY(nu, x), testing::RefAsymptotic(1, nu, x), env, At(nu, x)), 1e-13)
          << At(nu, x);
      if (x > 700.0) continue;  // I overflows and K underflows past here
      EXPECT_LT(i.Add(BesselI(nu, x), testing::RefAsymptotic(2, nu, x), 0.0L, At(nu, x)), 1e-13);
      EXPECT_LT(k.Add(BesselK(nu, x), testing::RefAsymptotic(3, nu, x), 0.0L, At(nu, x)), 1e-13);
    }
  }
}

// Half-whole orders are elementary functions; the library has no special case
// for them, so they check every method at every range of x.
TEST(BesselAccuracy, HalfWholeOrdersAgainstClosedForms) {
  ErrorTally jy("J, Y (half-whole orders)");
  ErrorTally ik("I, K (half-whole orders)");
  for (double x : {1e-4, 0.01, 0.7, 1.9, 2.1, 5.5, 12.3, 19.0, 22.0, 60.0, 400.0, 690.0, 1e4}) {
    Real lx = x;
    Real a = std::sqrt(2.0L / (kRefPi * lx));
    Real s = std::sin(lx);
    Real c = std::cos(lx);
    Real env = std::sqrt(2.0L / (kRefPi * lx));
    EXPECT_LT(jy.Add(BesselJ(0.5, x), a * s, env, At(0.5, x)), 1e-13);
    EXPECT_LT(jy.Add(BesselY(0.5, x), -a * c, env, At(0.5, x)), 1e-13);
    EXPECT_LT(jy.Add(BesselJ(-0.5, x), a * c, env, At(-0.5, x)), 1e-13);
    EXPECT_LT(jy.Add(BesselJ(1.5, x), a * (s / lx - c), env, At(1.5, x)), 1e-13);
    EXPECT_LT(jy.Add(BesselY(1.5, x), a * (-c / lx - s), env, At(1.5, x)), 1e-13);
    if (x > 700.0) continue;  // K underflows, I overflows
    Real k = std::sqrt(kRefPi / (2.0L * lx)) * std::exp(-lx);
    EXPECT_LT(ik.Add(BesselK(0.5, x), k, 0.0L, At(0.5, x)), 1e-13);
    EXPECT_LT(ik.Add(BesselK(1.5, x), k * (1 + 1 / lx), 0.0L, At(1.5, x)), 1e-13);
    EXPECT_LT(ik.Add(BesselK(-2.5, x), k * (1 + 3 / lx + 3 / (lx * lx)), 0.0L, At(2.5, x)), 1e-13);
    EXPECT_LT(ik.Add(BesselI(0.5, x), a * std::sinh(lx), 0.0L, At(0.5, x)), 1e-13);
    EXPECT_LT(ik.Add(BesselI(-0.5, x), a * std::cosh(lx), 0.0L, At(-0.5, x)), 1e-13);
  }
}

// The Wronskians J_(v+1) Y_v - J_v Y_(v+1) = 2/(pi x) and
// I_v K_(v+1) + I_(v+1) K_v = 1/x tie the pairs together in the middle range
// of x, between the series and the asymptotic tables above.
TEST(BesselAccuracy, WronskiansInTheMiddleRange) {
  ErrorTally w("Wronskians");
  for (double nu : {0.0, 1.0, 4.0, 0.4, 2.5, 9.9, 30.0}) {
    for (double x : {3.0, 8.5, 11.0, 14.2, 17.7, 21.0, 26.0, 35.0, 60.0}) {
      double jy = BesselJ(nu + 1, x) * BesselY(nu, x) - BesselJ(nu, x) * BesselY(nu + 1, x);
      Real scale = std::fabs(BesselJ(nu + 1, x) * BesselY(nu, x)) +
                   std::fabs(BesselJ(nu, x) * BesselY(nu + 1, x));
      EXPECT_LT(w.Add(jy, 2.0L / (kRefPi * x), scale, At(nu, x)), 1e-13);
      double ik = BesselI(nu, x) * BesselK(nu + 1, x) + BesselI(nu + 1, x) * BesselK(nu, x);
      EXPECT_LT(w.Add(ik, 1.0L / x, 0.0L, At(nu, x)), 1e-13);
    }
  }
}

TEST(BesselFunctions, OrderAndArgumentSymmetries) {
  for (double x : {0.37, 2.0, 9.4, 33.0}) {
    EXPECT_DOUBLE_EQ(BesselJ(-1, x), -BesselJ(1, x));
    EXPECT_DOUBLE_EQ(BesselJ(-2, x), BesselJ(2, x));
    EXPECT_DOUBLE_EQ(BesselY(-3, x), -BesselY(3, x));
    EXPECT_DOUBLE_EQ(BesselI(-2, x), BesselI(2, x));
    EXPECT_DOUBLE_EQ(BesselK(-1, x), BesselK(1, x));
    EXPECT_DOUBLE_EQ(BesselK(-0.3, x), BesselK(0.3, x));
    EXPECT_DOUBLE_EQ(BesselJ(3, -x), -BesselJ(3, x));
    EXPECT_DOUBLE_EQ(BesselJ(2, -x), BesselJ(2, x));
    EXPECT_DOUBLE_EQ(BesselI(1, -x), -BesselI(1, x));
    // Fractional negative orders by reflection, checked against the
    // independent series for J_-v.
    if (x < 8.0) {
      double want = static_cast<double>(testing::RefSeriesJI(-0.3, x, false));
      EXPECT_NEAR(BesselJ(-0.3, x), want, 1e-13 * std::fabs(want) + 1e-15);
      double wantI = static_cast<double>(testing::RefSeriesJI(-1.7, x, true));
      EXPECT_NEAR(BesselI(-1.7, x), wantI, 1e-13 * std::fabs(wantI));
    }
  }
}

TEST(BesselFunctions, LimitsAndValuesWithoutARealResult) {
  struct Case {
    double got;
    double want;
  };
  const double inf = kInfinity;
  const Case cases[] = {
      {BesselJ(0, 0), 1.0},     {BesselJ(3, 0), 0.0},       {BesselJ(0.5, 0), 0.0},
      {BesselJ(-0.5, 0), inf},  {BesselY(0, 0), -inf},      {BesselY(1.5, 0), -inf},
      {BesselI(0, 0), 1.0},     {BesselI(2, 0), 0.0},       {BesselK(0, 0), inf},
      {BesselK(2.5, 0), inf},   {BesselJ(1, inf), 0.0},     {BesselY(0.3, inf), 0.0},
      {BesselI(2, inf), inf},   {BesselK(1, inf), 0.0},     {BesselK(0, 800.0), 0.0},
      {BesselI(0, 800.0), inf}, {BesselY(200, 1e-3), -inf}, {BesselJ(200, 1e-3), 0.0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
  for (double v : {BesselJ(0.5, -1.0), BesselY(0, -2.0), BesselY(1.5, -2.0), BesselK(1, -1.0),
                   BesselI(0.5, -3.0), BesselJ(UndefinedValue(), 1.0), BesselK(0, UndefinedValue()),
                   AiryAi(UndefinedValue())}) {
    EXPECT_TRUE(IsUndefined(v));
  }
}

// Ai and Bi: Maclaurin series in long double near the origin and the
// asymptotic forms far from it,
//   Ai(x) ~ e^-z / (2 sqrt(pi) x^(1/4)) sum (-1)^k u_k / z^k,
//   Bi(x) ~ e^z / (sqrt(pi) x^(1/4)) sum u_k / z^k,
//   Ai(-x), Bi(-x) ~ (sin, cos)(z + pi/4) P -+ (cos, sin)(z + pi/4) Q over sqrt(pi) x^(1/4),
// with z = 2/3 x^(3/2) and u_k = u_(k-1) (6k-5)(6k-3)(6k-1) / ((2k-1) 216 k).
Real RefAiry(bool bi, Real x) {
  const Real c1 = 0.355028053887817239260063186004183176L;
  const Real c2 = 0.258819403792806798405183560189203963L;
  if (std::fabs(x) <= 4.5L) {
    Real x3 = x * x * x;
    Real f = 1.0L;
    Real g = x;
    Real tf = 1.0L;
    Real tg = x;
    for (int k = 1; k < 200; ++k) {
      tf *= x3 / ((3.0L * k - 1) * (3.0L * k));
      tg *= x3 / ((3.0L * k) * (3.0L * k + 1));
      f += tf;
      g += tg;
    }
    return bi ? std::sqrt(3.0L) * (c1 * f + c2 * g) : c1 * f - c2 * g;
  }
  Real ax = std::fabs(x);
  Real z = 2.0L / 3.0L * ax * std::sqrt(ax);
  Real u = 1.0L;
  Real plain = 1.0L;
  Real alternating = 1.0L;
  Real p = 1.0L;
  Real q = 0.0L;
  for (int k = 1; k < 60; ++k) {
    u *= (6.0L * k - 5) * (6.0L * k - 3) * (6.0L * k - 1) / ((2.0L * k - 1) * 216.0L * k);
    Real t = u / std::pow(z, static_cast<Real>(k));
    if (t < 1e-24L) break;
    plain += t;
    alternating += (k % 2) ? -t : t;
    switch (k % 4) {
      case 1:
        q += t;
        break;
      case 2:
        p -= t;
        break;
      case 3:
        q -= t;
        break;
      default:
        p += t;
        break;
    }
  }
  Real root = std::sqrt(kRefPi) * std::pow(ax, 0.25L);
  if (x > 0) return bi ? std::exp(z) / root * plain : std::exp(-z) / (2 * root) * alternating;
  Real s = std::sin(z + kRefPi / 4);
  Real c = std::cos(z + kRefPi / 4);
  return bi ? (c * p + s * q) / root : (s * p - c * q) / root;
}

TEST(AiryAccuracy, AgainstSeriesAndAsymptoticForms) {
  ErrorTally ai("Ai");
  ErrorTally bi("Bi");
  for (double x : {-60.0, -31.4, -12.5, -4.4, -3.0, -2.33810741, -1.0, -0.2, -1e-8, 0.0, 1e-8, 0.4,
                   1.0, 2.2, 4.0, 12.0, 25.0, 60.0, 99.0}) {
    Real env = x < -1.0 ? 1.0L / (std::sqrt(kRefPi) * std::pow(std::fabs(x), 0.25L)) : 0.0L;
    EXPECT_LT(ai.Add(AiryAi(x), RefAiry(false, x), env, At(0, x)), 1e-13) << x;
    EXPECT_LT(bi.Add(AiryBi(x), RefAiry(true, x), env, At(0, x)), 1e-13) << x;
  }
  EXPECT_EQ(AiryAi(-kInfinity), 0.0);
  EXPECT_EQ(AiryBi(kInfinity), kInfinity);
}

}  // namespace
}  // namespace lemmabox
