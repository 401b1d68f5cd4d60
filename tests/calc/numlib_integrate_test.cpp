// Numeric integration: finite and infinite ranges, reversed limits, nested
// integrals and their tolerances, integrands that are undefined somewhere.
#include "calc/numlib_integrate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "shell/failure.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

using Cx = std::complex<double>;
constexpr double kPi = 3.141592653589793;

double RealIntegral(const Integrand& f, double a, double b, const IntegrationSettings& s = {}) {
  NumScalar r = IntegrateNumerically(f, a, b, s);
  EXPECT_NE(r.kind, NumKind::kComplex);
  return r.re;
}

TEST(Integration, FiniteAndInfiniteRanges) {
  struct Case {
    const char* what;
    Integrand f;
    double a;
    double b;
    double want;
  };
  const double inf = kInfinity;
  const Case cases[] = {
      {"x^2 on (0, 3)", [](double x) { return Cx(x * x); }, 0, 3, 9},
      {"sin on (0, pi)", [](double x) { return Cx(std::sin(x)); }, 0, kPi, 2},
      {"e^-x on (0, inf)", [](double x) { return Cx(std::exp(-x)); }, 0, inf, 1},
      {"1/x^2 on (1, inf)", [](double x) { return Cx(1 / (x * x)); }, 1, inf, 1},
      {"e^x on (-inf, 0)", [](double x) { return Cx(std::exp(x)); }, -inf, 0, 1},
      {"e^x on (-inf, -2)", [](double x) { return Cx(std::exp(x)); }, -inf, -2, std::exp(-2.0)},
      {"Gaussian on the line", [](double x) { return Cx(std::exp(-x * x)); }, -inf, inf,
       std::sqrt(kPi)},
      {"1/(1+x^2) on the line", [](double x) { return Cx(1 / (1 + x * x)); }, -inf, inf, kPi},
      {"1/sqrt(x) on (0, 1)", [](double x) { return Cx(1 / std::sqrt(x)); }, 0, 1, 2},
      {"reversed limits", [](double x) { return Cx(x * x); }, 3, 0, -9},
      {"e^-x on (inf, 0)", [](double x) { return Cx(std::exp(-x)); }, inf, 0, -1},
      {"cos on (-50, 50)", [](double x) { return Cx(std::cos(x)); }, -50, 50, 2 * std::sin(50.0)},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(RealIntegral(c.f, c.a, c.b), c.want, 1e-7 * std::max(1.0, std::fabs(c.want)))
        << c.what;
  }
}

TEST(Integration, ComplexValuesAndDegenerateLimits) {
  NumScalar r =
      IntegrateNumerically([](double x) { return Cx(std::cos(x), std::sin(x)); }, 0, kPi / 2, {});
  EXPECT_EQ(r.kind, NumKind::kComplex);
  EXPECT_NEAR(r.re, 1.0, 1e-8);
  EXPECT_NEAR(r.im, 1.0, 1e-8);
  int calls = 0;
  auto counting = [&](double) {
    ++calls;
    return Cx(1.0);
  };
  NumScalar zero = IntegrateNumerically(counting, kInfinity, kInfinity, {});
  EXPECT_EQ(zero.kind, NumKind::kInteger);
  EXPECT_EQ(zero.integer, 0);
  EXPECT_EQ(IntegrateNumerically(counting, 2.0, 2.0, {}).integer, 0);
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(IsUndefined(IntegrateNumerically(counting, std::nan(""), 1.0, {}).re));
}

// 1/x on (-1, 1) is infinite at the centre: the first attempt and the one
// retry split both fail, and the result is undefined.
TEST(Integration, IntegrandUndefinedAtAPoint) {
  EXPECT_TRUE(IsUndefined(RealIntegral([](double x) { return Cx(1.0 / x); }, -1, 1)));
  EXPECT_TRUE(IsUndefined(RealIntegral([](double) { return Cx(std::nan("")); }, 0, 1)));
  // An integrand that is 0 at the first three samples takes its scale from
  // the finer samples instead of refining to the finest depth.
  long calls = 0;
  auto f = [&](double x) {
    ++calls;
    return Cx(std::fmax(0.0, std::fabs(x) - 0.9));
  };
  EXPECT_NEAR(RealIntegral(f, -1, 1), 0.01, 1e-5);  // the kinks at +-0.9 limit the accuracy
  EXPECT_LT(calls, 100000);
}

// An integral inside an integrand sees the nesting level one higher and uses
// the "double integrals" tolerance; the level comes back down afterwards,
// also when the integrand fails.
TEST(Integration, NestedIntegralsAndTheirTolerances) {
  IntegrationSettings settings;
  int innerLevel = -1;
  auto outer = [&](double x) {
    innerLevel = IntegrationNestingLevel();
    auto inner = [x](double y) { return Cx(x * y); };
    return Cx(IntegrateNumerically(inner, 0, 1, settings).re);
  };
  EXPECT_NEAR(RealIntegral(outer, 0, 2, settings), 1.0, 1e-6);
  EXPECT_EQ(innerLevel, 1);
  EXPECT_EQ(IntegrationNestingLevel(), 0);

  // A coarse tolerance at the second level takes fewer inner evaluations.
  auto countInner = [&](double doubleTolerance) {
    IntegrationSettings s;
    s.doubleTolerance = doubleTolerance;
    long evaluations = 0;
    auto f = [&](double x) {
      auto g = [&](double y) {
        ++evaluations;
        return Cx(std::exp(-x * y * y));
      };
      return Cx(IntegrateNumerically(g, 0, 3, s).re);
    };
    IntegrateNumerically(f, 0.5, 1, s);
    return evaluations;
  };
  EXPECT_LT(countInner(1e-2), countInner(1e-10));

  EXPECT_RAISES(13120, IntegrateNumerically([](double) -> Cx { Raise(13120); }, 0, 1, settings));
  EXPECT_EQ(IntegrationNestingLevel(), 0);
}

TEST(Integration, DepthSettingsBoundTheRefinement) {
  IntegrationSettings shallow;
  shallow.finestDepth = kFinestResolutions[0].depth;  // "1e-4": depth 10
  // A singular integrand cannot meet the tolerance within depth 10.
  EXPECT_TRUE(IsUndefined(RealIntegral([](double x) { return Cx(1 / x); }, 0, 1, shallow)));
  IntegrationSettings fine;
  fine.coarsestDepth = kCoarsestResolutions[4].depth;  // "1e-3": depth 6
  long calls = 0;
  RealIntegral(
      [&](double x) {
        ++calls;
        return Cx(x);
      },
      0, 1, fine);
  long coarseCalls = 0;
  RealIntegral(
      [&](double x) {
        ++coarseCalls;
        return Cx(x);
      },
      0, 1, IntegrationSettings{});
  EXPECT_GT(calls, coarseCalls);
  EXPECT_STREQ(kCoarsestResolutions[kDefaultCoarsestItem].label, "4e-2");
  EXPECT_EQ(kFinestResolutions[kDefaultFinestItem].depth, IntegrationSettings{}.finestDepth);
}

}  // namespace
}  // namespace lemmabox
