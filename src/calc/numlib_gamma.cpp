#include "calc/numlib_gamma.h"

#include <cmath>
#include <numbers>

#include "calc/numlib_complex.h"

namespace lemmabox {

namespace {

using Cx = std::complex<double>;

// Lanczos sum with g = 7 and nine terms; relative error below 1e-15 for
// arguments of real part >= 1/2.
constexpr double kLanczosG = 7.0;
constexpr double kLanczos[9] = {0.99999999999980993,  676.5203681218851,     -1259.1392167224028,
                                771.32342877765313,   -176.61502916214059,   12.507343278686905,
                                -0.13857109526572012, 9.9843695780195716e-6, 1.5056327351493116e-7};
constexpr double kSqrtTwoPi = 2.5066282746310005024;

constexpr int32_t kSmallFactorials[13] = {1,    1,     2,      6,       24,       120,      720,
                                          5040, 40320, 362880, 3628800, 39916800, 479001600};

// Gamma(x) for x > 0 in long double: shifted up to x >= 10 by the
// recurrence, then Stirling's series, whose error there is below 1e-17. The
// wider exponent range also lets the reflection form results near the bottom
// of the double range.
long double GammaLong(long double x) {
  long double shift = 1.0L;
  while (x < 10.0L) {
    shift *= x;
    x += 1.0L;
  }
  // ln Gamma(x) = (x - 1/2) ln x - x + ln sqrt(2 pi) + sum B_2k / (2k (2k - 1) x^(2k - 1))
  constexpr long double kStirling[] = {1.0L / 12.0L,    -1.0L / 360.0L,      1.0L / 1260.0L,
                                       -1.0L / 1680.0L, 1.0L / 1188.0L,      -691.0L / 360360.0L,
                                       1.0L / 156.0L,   -3617.0L / 122400.0L};
  long double r = 1.0L / x;
  long double r2 = r * r;
  long double series = 0.0L;
  for (int k = 7; k >= 0; --k) series = series * r2 + kStirling[k];
  series *= r;
  constexpr long double kLogSqrtTwoPi = 0.918938533204672741780329736405617640L;
  return std::exp((x - 0.5L) * std::log(x) - x + kLogSqrtTwoPi + series) / shift;
}

Cx LanczosGammaComplex(Cx z) {
  Cx y = z - 1.0;
  Cx sum = kLanczos[0];
  for (int i = 1; i < 9; ++i) sum += ComplexDivide(Cx(kLanczos[i], 0.0), y + double(i));
  Cx t = y + (kLanczosG + 0.5);
  Cx power = ComplexExp(ComplexMultiply(y + 0.5, ComplexLog(t)) - t);
  return kSqrtTwoPi * ComplexMultiply(sum, power);
}

// sin(pi z) with the real part reduced exactly.
Cx SinPiComplex(Cx z) {
  double b = std::numbers::pi * z.imag();
  return {SinPi(z.real()) * std::cosh(b), CosPi(z.real()) * std::sinh(b)};
}

}  // namespace

NumScalar Factorial(int32_t n) {
  if (n < 0) return NumScalar::Real(n % 2 == 0 ? -kInfinity : kInfinity);
  if (n <= 12) return NumScalar::Int(kSmallFactorials[n]);
  if (n >= 171) return NumScalar::Real(kInfinity);
  long double product = 479001600.0L;
  for (int32_t k = 13; k <= n; ++k) product *= k;
  return NumScalar::Real(static_cast<double>(product));
}

NumScalar FactorialOfWhole(double n) {
  if (n >= -2147483647.0 && n <= 2147483647.0) return Factorial(static_cast<int32_t>(n));
  if (n > 0) return NumScalar::Real(kInfinity);
  return NumScalar::Real(std::fmod(n, 2.0) == 0.0 ? -kInfinity : kInfinity);
}

NumScalar FactorialScalar(const NumScalar& s) {
  switch (s.kind) {
    case NumKind::kInteger:
      return Factorial(s.integer);
    case NumKind::kReal:
      return NumScalar::Real(GammaReal(s.re + 1.0));
    case NumKind::kComplex:
      return NumScalar::Complex(GammaComplex(Cx(s.re + 1.0, s.im)));
  }
  return NumScalar::Undefined();
}

double GammaReal(double x) {
  if (std::isnan(x) || x == kInfinity) return x;
  if (x >= 1.0) return x > 172.0 ? kInfinity : static_cast<double>(GammaLong(x));
  if (x == -kInfinity) return UndefinedValue();
  // Gamma(x) = pi z / (Gamma(1 + z) sin(pi z)) = pi / (Gamma(z) sin(pi x)), z = 1 - x,
  // with z exact in long double.
  long double z = 1.0L - x;
  if (z > 1700.0L) return 0.0 * SinPi(x);  // far below the double range, with its sign
  long double g = GammaLong(z) * SinPi(x);
  return static_cast<double>(3.141592653589793238462643383279502884L / g);
}

Cx GammaComplex(Cx z) {
  if (z.real() >= 0.5) return LanczosGammaComplex(z);
  // Gamma(z) Gamma(1 - z) = pi / sin(pi z)
  Cx denominator = ComplexMultiply(SinPiComplex(z), LanczosGammaComplex(1.0 - z));
  return ComplexDivide(Cx(std::numbers::pi, 0.0), denominator);
}

NumScalar GammaScalar(const NumScalar& s) {
  if (s.kind == NumKind::kComplex) return NumScalar::Complex(GammaComplex(s.AsComplex()));
  double x = s.re;
  if (std::isfinite(x) && std::floor(x) == x) return FactorialOfWhole(x - 1.0);
  return NumScalar::Real(GammaReal(x));
}

}  // namespace lemmabox
