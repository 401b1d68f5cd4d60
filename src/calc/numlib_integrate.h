// Numeric integration: adaptive Gauss-Legendre panels with infinite limits
// mapped to finite ones.
//
// Each panel is a 3-point Gauss-Legendre estimate. A panel is refined by
// splitting it into three sub-panels centred on its own abscissae, so every
// sample is reused and a refinement costs 6 new evaluations. Refinement stops
// where the finer estimate agrees with the coarser one within the tolerance:
// the relative tolerance of the integral's nesting level times a typical
// magnitude of the integrand (a median of |Re f| and |Im f| at the first
// three samples). A refinement deeper than the finest depth gives the
// undefined value, and an undefined piece is retried once split in two.
//
// Infinite ranges are split: (-inf, inf) into (-inf, -3) (-3, 3) (3, inf);
// (-inf, b) at c = -2|b| (-3 when b = 0); (a, inf) at c = 2|a| (3 when a = 0).
// The infinite pieces are integrated in t = 1/x with f(1/t) (-1/t^2).
#pragma once

#include <complex>
#include <functional>

#include "calc/numlib_scalar.h"

namespace lemmabox {

// The "Numeric Integration Settings" of a notebook.
struct IntegrationSettings {
  double tolerance = 1e-8;        // relative y tolerance of single integrals
  double doubleTolerance = 1e-4;  // "double integrals"
  double tripleTolerance = 0.01;  // "triple and higher"
  int coarsestDepth = 1;          // the minimum refinement depth
  int finestDepth = 43;           // the maximum refinement depth
};

// The items of the "Coarsest" and "Finest" x resolution pop-up menus and the
// depths they stand for.
struct ResolutionItem {
  const char* label;
  int depth;
};
inline constexpr ResolutionItem kCoarsestResolutions[] = {{"1e-1", 0},  {"4e-2", 1},  {"2e-2", 2},
                                                          {"5e-3", 4},  {"1e-3", 6},  {"3e-4", 8},
                                                          {"8e-5", 10}, {"1e-5", 13}, {"1e-6", 16}};
inline constexpr ResolutionItem kFinestResolutions[] = {
    {"1e-4", 10},  {"1e-5", 13},  {"1e-6", 16},  {"1e-7", 20},  {"1e-8", 23}, {"1e-9", 26},
    {"1e-10", 29}, {"1e-11", 33}, {"1e-12", 36}, {"1e-13", 40}, {"1e-14", 43}};
inline constexpr int kDefaultCoarsestItem = 1;  // "4e-2"
inline constexpr int kDefaultFinestItem = 10;   // "1e-14"

// The integrand at x. The evaluator binds the variable, evaluates the
// integrand and divides by the value of its differential factor. A failure
// it raises passes through (the nesting level is restored on the way).
using Integrand = std::function<std::complex<double>(double x)>;

// The integral of f from lower to upper: real when the imaginary part is 0,
// negated when lower > upper, the integer 0 when the limits are equal (also
// both +inf or both -inf), the undefined value when a limit is undefined or
// the refinement fails. Integrands evaluated while this runs see the nesting
// level one higher, so an integral inside an integrand uses the "double
// integrals" tolerance, and one inside that the "triple and higher" one.
NumScalar IntegrateNumerically(const Integrand& f, double lower, double upper,
                               const IntegrationSettings& settings);

// How many integrand evaluations are in progress (0 outside any integral).
int IntegrationNestingLevel();

}  // namespace lemmabox
