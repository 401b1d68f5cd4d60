// Factorial and the Gamma function, real and complex.
#pragma once

#include <complex>
#include <cstdint>

#include "calc/numlib_scalar.h"

namespace lemmabox {

// n! of an integer: exact integers for 0..12, reals from 13 on (every n >= 171
// is +infinity), and for n < 0 -infinity when n is even, +infinity when odd.
NumScalar Factorial(int32_t n);
// The same for a whole number held in a double (any magnitude).
NumScalar FactorialOfWhole(double n);
// The factorial operator: the table above for an integer, Gamma(x + 1) for a
// real (also a whole-valued one: 5.0! is the real 120), the complex Gamma(z + 1)
// for a complex.
NumScalar FactorialScalar(const NumScalar& s);

// Gamma of a real: a Lanczos sum for x >= 1 and the reflection
// Gamma(x) = pi z / (Gamma(1 + z) sin(pi z)) with z = 1 - x below.
double GammaReal(double x);
// Gamma of a complex number, by the same sum and reflection in complex
// arithmetic; it agrees with GammaReal on the real axis.
std::complex<double> GammaComplex(std::complex<double> z);
// The predefined function: a whole-valued real x gives the factorial of x - 1
// (so Gamma(5) is the integer 24), any other real GammaReal, a complex GammaComplex.
NumScalar GammaScalar(const NumScalar& s);

}  // namespace lemmabox
