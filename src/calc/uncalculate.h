// UnCalculate: familiar exact numbers recognised in numeric values.
//
// The recogniser tries, in this order, and takes the first form whose value
// agrees with x to within the numeric tolerance (1e-13, relative):
//   p/q                  a fraction with q <= 1000 and p < 100000, or an integer
//   (a/b) sqrt(n)        n square-free, 2..97, b <= 100
//   (a + b sqrt(n)) / c  n square-free, 2..29, 1 <= |b|, c <= 12 (the golden ratio)
//   (p/q) pi             q <= 360 (every whole number of degrees)
//   (p/q) pi^2, (p/q) sqrt(pi), p/(q pi)       q <= 100
//   (p/q) e, p/(q e), (p/q) e^2                q <= 100
//   (p/q) ln n           n = 2, 3, 5, 10, q <= 100
// Other numerators are limited to 10000.
// A complex value is recognised when both of its parts are. A form that
// needs a predefined name the notebook does not declare (pi, e, i, ln) is
// skipped. The search is deterministic and conservative: a value that
// matches none of these stays as it is.
#pragma once

#include "calc/numlib_scalar.h"
#include "shell/types.h"

namespace lemmabox {

// A new object for the exact form of x, or null when none is recognised.
Handle RecogniseReal(double x);
Handle RecogniseComplex(double re, double im);
Handle RecogniseScalar(const NumScalar& value);

// The UnCalculate manipulation before Auto-simplify: with m the mean
// magnitude of the expression's numeric leaves (integers, numbers, reals),
// every real or number below m * 30 * 1e-13 becomes 0 and every other one
// its recognised exact form, when there is one. Takes ownership of expr and
// returns the result.
Handle UnCalculate(Handle expr);

}  // namespace lemmabox
