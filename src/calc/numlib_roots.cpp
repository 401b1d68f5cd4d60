#include "calc/numlib_roots.h"

#include <algorithm>
#include <cmath>

#include "shell/interrupt.h"

namespace lemmabox {

namespace {

bool SameSign(double a, double b) {
  return (a < 0.0) == (b < 0.0);
}

bool OppositeSigns(double a, double b) {
  return (a < 0.0 && b > 0.0) || (a > 0.0 && b < 0.0);
}

}  // namespace

RootResult RefineBracketedRoot(const RealFunction& f, double a, double b, double x) {
  RootResult result;
  if (!(std::fabs(b - a) / (std::fabs(a) + std::fabs(b)) >= kRootTolerance)) return result;
  double fa = f(a);
  double fb = f(b);
  for (int k = 0; k < 100; ++k) {
    double fx = f(x);
    if (fx == 0.0) return RootResult{true, x, 0.0};
    if (std::fabs((x - a) / x) < 0.1 * kRootTolerance ||
        std::fabs((b - x) / x) < 0.1 * kRootTolerance) {
      break;
    }
    if (x < std::min(a, b) || x > std::max(a, b) || std::isnan(fx) || fx < std::min(fa, fb) ||
        fx > std::max(fa, fb)) {
      return result;
    }
    if (SameSign(fx, fa)) {
      a = x;
      fa = fx;
    } else {
      b = x;
      fb = fx;
    }
    CheckInterrupt();
    x = (a * fb - b * fa) / (fb - fa);  // false position
    if (k % 4 == 3) x = (18.0 * x + a + b) * 0.05;
  }
  if (std::fabs(fa) <= std::fabs(fb)) return RootResult{true, a, fa};
  return RootResult{true, b, fb};
}

std::optional<double> FindRootByProbes(const RealFunction& f) {
  double previousX = 0.0;
  double previousF = f(0.0);
  if (previousF == 0.0) return 0.0;
  for (int k = 1; k <= 16; ++k) {
    double x = k == 8 ? 2.0 * previousX : k * (k - 16.0) / (k - 8.0);
    double fx = f(x);
    if (fx == 0.0) return x;
    if (OppositeSigns(previousF, fx)) {
      for (double fraction : {0.5, 0.4, 0.6}) {
        double start = previousX + fraction * (x - previousX);
        RootResult r = RefineBracketedRoot(f, previousX, x, start);
        if (r.found) return r.root;
      }
    }
    previousX = x;
    previousF = fx;
    CheckInterrupt();
  }
  return std::nullopt;
}

}  // namespace lemmabox
