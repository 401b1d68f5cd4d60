// Reference values for the accuracy tests, derived independently of the
// library: power series, asymptotic series and closed forms summed in long
// double (64-bit mantissa), and a collector of the worst relative error.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace lemmabox::testing {

using Real = long double;

constexpr Real kRefPi = 3.141592653589793238462643383279502884L;
constexpr Real kRefEuler = 0.577215664901532860606512090082402431L;

// Gamma(x) for x > 0: shifted up to x >= 30 by the recurrence, then Stirling's
// series (its error there is far below long double precision).
inline Real RefGammaPositive(Real x) {
  Real shift = 1.0L;
  while (x < 30.0L) {
    shift *= x;
    x += 1.0L;
  }
  const Real coefficients[] = {
      1.0L / 12,        -1.0L / 360, 1.0L / 1260,       -1.0L / 1680,      1.0L / 1188,
      -691.0L / 360360, 1.0L / 156,  -3617.0L / 122400, 43867.0L / 244188, -174611.0L / 125400};
  Real r = 1.0L / x;
  Real series = 0.0L;
  Real power = r;
  for (Real c : coefficients) {
    series += c * power;
    power *= r * r;
  }
  Real logGamma = (x - 0.5L) * std::log(x) - x + 0.5L * std::log(2.0L * kRefPi) + series;
  return std::exp(logGamma) / shift;
}

// Gamma of any real that is not a pole, by reflection below 1/2.
inline Real RefGamma(Real x) {
  if (x >= 0.5L) return RefGammaPositive(x);
  // sin(pi x) with x reduced exactly first, so that it stays accurate near the poles.
  Real n = std::nearbyint(x);
  Real s = std::sin(kRefPi * (x - n));
  if (std::fmod(n, 2.0L) != 0.0L) s = -s;
  return kRefPi / (s * RefGammaPositive(1.0L - x));
}

// J_v(x) = sum (-1)^k (x/2)^(2k+v) / (k! Gamma(k+v+1)); I_v without the signs.
inline Real RefSeriesJI(Real nu, Real x, bool modified) {
  Real half = x / 2.0L;
  Real term = std::pow(half, nu) / RefGamma(nu + 1.0L);
  Real sum = term;
  Real q = (modified ? 1.0L : -1.0L) * half * half;
  for (int k = 1; k < 500; ++k) {
    term *= q / (k * (nu + k));
    sum += term;
    if (std::fabs(term) < 1e-22L * std::fabs(sum)) break;
  }
  return sum;
}

inline Real RefHarmonic(int m) {
  Real h = 0.0L;
  for (int k = 1; k <= m; ++k) h += 1.0L / k;
  return h;
}

inline Real RefFactorial(int n) {
  Real f = 1.0L;
  for (int k = 2; k <= n; ++k) f *= k;
  return f;
}

// Y_n(x) and K_n(x) for whole n >= 0 from their logarithmic series.
inline Real RefSeriesYKWhole(int n, Real x, bool modified) {
  Real half = x / 2.0L;
  Real finite = 0.0L;
  for (int k = 0; k < n; ++k) {
    Real t = RefFactorial(n - k - 1) / RefFactorial(k) * std::pow(half, 2.0L * k - n);
    finite += modified ? ((k % 2) ? -t : t) : t;
  }
  Real q = (modified ? 1.0L : -1.0L) * half * half;
  Real term = std::pow(half, static_cast<Real>(n)) / RefFactorial(n);
  Real psiSum = 2.0L * -kRefEuler + RefHarmonic(n);
  Real infinite = psiSum * term;
  for (int k = 1; k < 500; ++k) {
    term *= q / (k * static_cast<Real>(n + k));
    Real t = (2.0L * -kRefEuler + RefHarmonic(k) + RefHarmonic(n + k)) * term;
    infinite += t;
    if (std::fabs(t) < 1e-24L * std::fabs(infinite) && k > 5) break;
  }
  Real logTerm = std::log(half);
  if (!modified) {
    return 2.0L / kRefPi * RefSeriesJI(n, x, false) * logTerm - finite / kRefPi - infinite / kRefPi;
  }
  Real sign = (n % 2) ? -1.0L : 1.0L;
  return 0.5L * finite - sign * logTerm * RefSeriesJI(n, x, true) + sign * 0.5L * infinite;
}

// Hankel's asymptotic series in long double for large x: J, Y (kind 0, 1)
// and I, K (kind 2, 3).
inline Real RefAsymptotic(int kind, Real nu, Real x) {
  Real mu4 = 4.0L * nu * nu;
  Real term = 1.0L;
  Real p = 1.0L;
  Real q = 0.0L;
  Real plain = 1.0L;
  Real alternating = 1.0L;
  for (int k = 1; k < 200; ++k) {
    Real odd = 2.0L * k - 1.0L;
    Real next = term * (mu4 - odd * odd) / (8.0L * k * x);
    if (std::fabs(next) > std::fabs(term) && k > 2) break;
    term = next;
    plain += term;
    alternating += (k % 2) ? -term : term;
    switch (k % 4) {
      case 1:
        q += term;
        break;
      case 2:
        p -= term;
        break;
      case 3:
        q -= term;
        break;
      default:
        p += term;
        break;
    }
    if (std::fabs(term) < 1e-24L) break;
  }
  // chi = x - phi; x itself is reduced exactly by cos and sin, so large x
  // loses nothing to the subtraction.
  Real phi = (nu / 2.0L + 0.25L) * kRefPi;
  Real cosChi = std::cos(x) * std::cos(phi) + std::sin(x) * std::sin(phi);
  Real sinChi = std::sin(x) * std::cos(phi) - std::cos(x) * std::sin(phi);
  Real amplitude = std::sqrt(2.0L / (kRefPi * x));
  switch (kind) {
    case 0:
      return amplitude * (p * cosChi - q * sinChi);
    case 1:
      return amplitude * (p * sinChi + q * cosChi);
    case 2:
      return std::exp(x) / std::sqrt(2.0L * kRefPi * x) * alternating;
    default:
      return std::sqrt(kRefPi / (2.0L * x)) * std::exp(-x) * plain;
  }
}

// The worst relative error over a table of checks, reported when the test ends.
class ErrorTally {
 public:
  explicit ErrorTally(std::string name) : name_(std::move(name)) {}
  ~ErrorTally() {
    std::printf("[ accuracy ] %-28s worst relative error %.2e (at %s)\n", name_.c_str(), worst_,
                where_.c_str());
  }
  // The relative error of got against want (against scale when that is
  // larger, for values near a zero of an oscillating function).
  double Add(double got, Real want, Real scale, const std::string& where) {
    Real denominator = std::max(std::fabs(want), scale);
    double error = static_cast<double>(std::fabs(static_cast<Real>(got) - want) / denominator);
    if (!(error <= worst_)) {
      worst_ = error;
      where_ = where;
    }
    return error;
  }
  double Worst() const { return worst_; }

 private:
  std::string name_;
  double worst_ = 0.0;
  std::string where_;
};

inline std::string At(double nu, double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "v=%g x=%g", nu, x);
  return buffer;
}

}  // namespace lemmabox::testing
