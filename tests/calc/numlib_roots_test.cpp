// The root search of For All and the bracketed refinement.
#include "calc/numlib_roots.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace lemmabox {
namespace {

TEST(RootSearch, ProbesFindTheFirstBracketedRoot) {
  struct Case {
    const char* what;
    RealFunction f;
    double want;
  };
  const Case cases[] = {
      {"x^2 = 4 (between 0 and 2.14)", [](double x) { return x * x - 4; }, 2.0},
      {"x = 0", [](double x) { return x; }, 0.0},
      {"x^3 = 1000 (between 7.8 and 12)", [](double x) { return x * x * x - 1000; }, 10.0},
      {"e^x = 100", [](double x) { return std::exp(x) - 100; }, std::log(100.0)},
      {"x = -5 (negative probes)", [](double x) { return x + 5; }, -5.0},
      {"x = 12 exactly at a probe", [](double x) { return x - 12; }, 12.0},
      {"x = 100 (between 63 and 126)", [](double x) { return x - 100; }, 100.0},
  };
  for (const Case& c : cases) {
    std::optional<double> root = FindRootByProbes(c.f);
    ASSERT_TRUE(root.has_value()) << c.what;
    EXPECT_NEAR(*root, c.want, 1e-12 * std::max(1.0, std::fabs(c.want))) << c.what;
  }
}

TEST(RootSearch, NoSignChangeMeansNoRoot) {
  EXPECT_FALSE(FindRootByProbes([](double x) { return x * x + 1; }).has_value());
  EXPECT_FALSE(FindRootByProbes([](double) { return std::nan(""); }).has_value());
  // A root beyond the outermost probes (-63 and 126) is not bracketed.
  EXPECT_FALSE(FindRootByProbes([](double x) { return x + 1000; }).has_value());
  // The probes are the fixed sequence k (k - 16) / (k - 8), with twice 63 at k = 8.
  std::vector<double> seen;
  FindRootByProbes([&](double x) {
    seen.push_back(x);
    return 1.0;
  });
  ASSERT_EQ(seen.size(), 17u);
  EXPECT_EQ(seen[0], 0.0);
  EXPECT_NEAR(seen[1], 15.0 / 7.0, 1e-15);
  EXPECT_EQ(seen[7], 63.0);
  EXPECT_EQ(seen[8], 126.0);
  EXPECT_EQ(seen[9], -63.0);
  EXPECT_EQ(seen[16], 0.0);
}

TEST(RootRefinement, BracketRules) {
  auto cube = [](double x) { return x * x * x - 2; };
  RootResult r = RefineBracketedRoot(cube, 0, 3, 1.5);
  ASSERT_TRUE(r.found);
  EXPECT_NEAR(r.root, std::cbrt(2.0), 1e-13);
  EXPECT_LT(std::fabs(r.value), 1e-12);
  // A bracket narrower than the tolerance fails at once.
  EXPECT_FALSE(RefineBracketedRoot(cube, 1.0, 1.0 + 1e-15, 1.0).found);
  // A start outside the bracket fails.
  EXPECT_FALSE(RefineBracketedRoot(cube, 0, 3, 5).found);
  // A value outside the end values fails (the function is not monotone there).
  auto bump = [](double x) { return x < 1 ? -1.0 : (x < 2 ? 10.0 : 1.0); };
  EXPECT_FALSE(RefineBracketedRoot(bump, 0, 3, 1.5).found);
  // The root is exact where f hits 0.
  RootResult exact = RefineBracketedRoot([](double x) { return x - 0.5; }, 0, 1, 0.5);
  EXPECT_TRUE(exact.found);
  EXPECT_EQ(exact.root, 0.5);
  EXPECT_EQ(exact.value, 0.0);
}

}  // namespace
}  // namespace lemmabox
