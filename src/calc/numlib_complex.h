// Complex kernels of the numeric library, and the exact sin(pi x), cos(pi x).
//
// Every function takes and returns std::complex<double> and follows the
// principal branches: the logarithm's argument lies in (-pi, pi], the square
// root has a non-negative real part. An imaginary part of -0 counts as +0, so
// a point on a branch cut always gets the value that continues from the upper
// side of a cut along the negative real axis (ln(-1) = i pi, sqrt(-4) = 2i).
// The inverse functions are the principal values of the textbook identities
//   arcsin z  = -i ln(iz + sqrt(1 - z^2))       arccos z  = pi/2 - arcsin z
//   arctan z  = (1/2i) ln((1 + iz)/(1 - iz))    arcsinh z = ln(z + sqrt(z^2 + 1))
//   arccosh z = ln(z + sqrt(z + 1) sqrt(z - 1)) arctanh z = (1/2) ln((1 + z)/(1 - z))
// computed in forms that keep full accuracy near zero and for large |z|.
// Nothing here traps: overflow gives infinities, invalid operations NaN.
#pragma once

#include <complex>

namespace lemmabox {

// sin(pi x) and cos(pi x) with the argument reduced exactly, so that whole
// and half-whole x give exact zeros and ones.
double SinPi(double x);
double CosPi(double x);

std::complex<double> ComplexMultiply(std::complex<double> a, std::complex<double> b);
// a / b without intermediate overflow (Smith's method).
std::complex<double> ComplexDivide(std::complex<double> a, std::complex<double> b);
std::complex<double> ComplexReciprocal(std::complex<double> z);

std::complex<double> ComplexLog(std::complex<double> z);
std::complex<double> ComplexExp(std::complex<double> z);
std::complex<double> ComplexSqrt(std::complex<double> z);
// z^w = exp(w ln z) with the principal logarithm; 0^w is 0 when Re w > 0.
std::complex<double> ComplexPower(std::complex<double> z, std::complex<double> w);

std::complex<double> ComplexSin(std::complex<double> z);
std::complex<double> ComplexCos(std::complex<double> z);
std::complex<double> ComplexTan(std::complex<double> z);
std::complex<double> ComplexSinh(std::complex<double> z);
std::complex<double> ComplexCosh(std::complex<double> z);
std::complex<double> ComplexTanh(std::complex<double> z);

std::complex<double> ComplexArcsin(std::complex<double> z);
std::complex<double> ComplexArccos(std::complex<double> z);
std::complex<double> ComplexArctan(std::complex<double> z);
std::complex<double> ComplexArcsinh(std::complex<double> z);
std::complex<double> ComplexArccosh(std::complex<double> z);
std::complex<double> ComplexArctanh(std::complex<double> z);

}  // namespace lemmabox
