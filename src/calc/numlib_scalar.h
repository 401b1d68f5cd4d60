// Scalars of the calculation engine and their arithmetic.
//
// A scalar is an integer (signed 32 bits), a real (double) or a complex
// number. Integer arithmetic stays exact while its results fit in 32 bits and
// turns real otherwise, so 12! or 6/3 show without round-off. A complex result
// whose imaginary part is +0 or -0 is a real. Nothing traps: overflow and
// division by zero give infinities, meaningless operations the undefined
// value (a quiet NaN), which then flows through the arithmetic.
#pragma once

#include <complex>
#include <cstdint>
#include <limits>

namespace lemmabox {

// The kinds, in the order in which mixing them promotes: a sum of an integer
// and a real is a real. The values are the element-kind bytes of the
// calculation stack.
enum class NumKind : uint8_t { kInteger = '1', kReal = '2', kComplex = '3' };

inline NumKind LargerKind(NumKind a, NumKind b) {
  return a > b ? a : b;
}

// The undefined value: a quiet NaN with the sign bit clear and every other bit set.
double UndefinedValue();
// Undefined: exponent bits all ones and the top fraction bit set (a quiet
// NaN). Infinities are not undefined.
bool IsUndefined(double x);
inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct NumScalar {
  NumKind kind = NumKind::kInteger;
  int32_t integer = 0;  // the value of an integer
  double re = 0.0;      // the real part; for an integer, its exact value
  double im = 0.0;      // the imaginary part; 0 unless complex

  static constexpr NumScalar Int(int32_t v) { return {NumKind::kInteger, v, double(v), 0.0}; }
  static constexpr NumScalar Real(double v) { return {NumKind::kReal, 0, v, 0.0}; }
  // A complex number; an imaginary part of +0 or -0 gives the real re.
  static NumScalar Complex(double re, double im);
  static NumScalar Complex(std::complex<double> z) { return Complex(z.real(), z.imag()); }
  static NumScalar Undefined() { return Real(UndefinedValue()); }

  bool IsInteger() const { return kind == NumKind::kInteger; }
  bool IsReal() const { return kind == NumKind::kReal; }
  bool IsComplex() const { return kind == NumKind::kComplex; }
  std::complex<double> AsComplex() const { return {re, im}; }
};

// A complex number counts as real when its imaginary part is below 1e-17 of
// its real part (an imaginary part of zero always does).
bool ComplexCountsAsReal(double re, double im);
// The value where a real is needed: integers convert exactly; a complex that
// counts as real gives its real part, any other complex the undefined value.
double RealOfScalar(const NumScalar& s);
// The value where an integer is needed: n = floor(x + 0.5) of the real value
// (the real part of a complex). Raises 13263 unless -2147483647 <= n <
// 2147483647; an undefined value fails the same way.
int32_t IntOfScalar(const NumScalar& s);

NumScalar AddScalars(const NumScalar& a, const NumScalar& b);
NumScalar MultiplyScalars(const NumScalar& a, const NumScalar& b);
// Integer quotients are exact when they divide; n/0 is +-infinity, 0/0 undefined.
NumScalar DivideScalars(const NumScalar& dividend, const NumScalar& divisor);
NumScalar NegateScalar(const NumScalar& s);
// 1/x: a real (also for an integer) or a complex.
NumScalar ReciprocalScalar(const NumScalar& s);
NumScalar ConjugateScalar(const NumScalar& s);
// |x| as a real; for a complex its modulus (undefined when a part is undefined).
NumScalar AbsScalar(const NumScalar& s);
// The square root: sqrt(x) for a real x >= 0, the imaginary i sqrt(-x) for
// x < 0, the principal root of a complex; undefined stays undefined.
NumScalar SqrtScalar(const NumScalar& s);

// base^exponent. An integer exponent works by repeated squaring (n = 0 gives
// the integer 1, n < 0 the reciprocal first). A negative real base with a real
// exponent follows the rules for whole and rational exponents (see
// RealPower); everything complex is exp(y ln x) with the principal logarithm.
NumScalar PowerScalars(const NumScalar& base, const NumScalar& exponent);
// x^y of two reals. For x < 0: an exponent within 1e-11 of a whole number n
// gives +-|x|^y by the parity of n; one within 1e-11 of p/q = m/5040 gives
// |x|^y for even p, -|x|^y for odd p and q, and the complex |x|^y e^(i pi y)
// for odd p and even q; anything else, or |y| > 1e9, is undefined. An
// infinite exponent gives the limit of |x|^y when that is 0 or infinity.
NumScalar RealPower(double x, double y);

// Two reals are equal when both are zero (either sign), identical, or within
// a relative 1e-15: |(a - b) / (|a| + |b|)| < 1e-15.
bool RealsEqual(double a, double b);
// a = b of two scalars: the integer 1 or 0, undefined when a part is.
NumScalar EqualScalars(const NumScalar& a, const NumScalar& b);

}  // namespace lemmabox
