// Numeric root finding: the probe search of the For All operator and the
// bracketed refinement it shares with the graph's root finder.
#pragma once

#include <functional>
#include <optional>

namespace lemmabox {

using RealFunction = std::function<double(double x)>;

// The relative tolerance of the engine's root refinement.
inline constexpr double kRootTolerance = 1e-13;

struct RootResult {
  bool found = false;
  double root = 0.0;
  double value = 0.0;  // f(root)
};

// Refines a root inside the bracket [a, b] (either order) from the starting
// point x: false position from the bracket's ends, pulled toward the middle
// every fourth step, at most 100 steps. Fails at once on a bracket narrower
// than the tolerance, and when a step leaves the bracket or gives a value
// that does not lie between the end values. On convergence (or after 100
// steps) the result is the end of the bracket with the smaller |f|; a point
// where f is exactly 0 is the root. Calls the interrupt check every step.
RootResult RefineBracketedRoot(const RealFunction& f, double a, double b, double x);

// The root search of For All: 0 when f(0) = 0; otherwise the probes
// x_k = k (k - 16) / (k - 8), k = 1..16 (about 2.14, 4.67, 7.8, 12, 18.3, 30,
// 63, then twice the previous probe in place of infinity, then -63 ... -2.14
// and 0). A probe where f is 0 is the root; where f changes sign from the
// previous probe, the bracket is refined from its middle and from 40% and 60%
// of the way across, and the first success is the root. No root: nullopt.
std::optional<double> FindRootByProbes(const RealFunction& f);

}  // namespace lemmabox
