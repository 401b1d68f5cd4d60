#include "calc/numlib_bessel.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "calc/numlib_complex.h"
#include "calc/numlib_scalar.h"
#include "calc/numlib_gamma.h"
#include "shell/interrupt.h"

namespace lemmabox {

namespace {

using std::numbers::pi;
using Cx = std::complex<double>;

// Convergence of the continued fractions: |delta - 1| below a few ulps.
constexpr double kFractionEps = 3e-16;
// Convergence of series whose terms fall off fast.
constexpr double kSeriesEps = 1e-17;
constexpr double kTiny = 1e-300;
constexpr long kMaxIterations = 20000000;
// Rescaling step of the downward recurrence, which grows without bound.
constexpr int kScaleExponent = 800;
constexpr double kScaleLimit = 0x1p800;

struct JY {
  double j;
  double y;
};

JY FailedJY() {
  return {UndefinedValue(), UndefinedValue()};
}

void Poll(long i) {
  if ((i & 4095) == 0) CheckInterrupt();
}

bool IsWhole(double v) {
  return std::floor(v) == v;
}
bool IsOddWhole(double n) {
  return std::fmod(n, 2.0) != 0.0;
}

// Gamma of a positive argument, exact for whole arguments up to 13.
double GammaPositive(double v) {
  if (IsWhole(v) && v <= 171.0) return FactorialOfWhole(v - 1.0).re;
  return GammaReal(v);
}

// Hankel's P and Q for large x:
//   P = 1 - a2/x^2 + a4/x^4 - ...,  Q = a1/x - a3/x^3 + ...,
//   a_k/x^k = a_(k-1)/x^(k-1) * (4v^2 - (2k-1)^2) / (8 k x).
// The terms may rise at first (when v^2 > 2x) and then fall until k is about
// 2x. Used when they reach full precision before turning, and when the
// largest term is not much larger than the sums (the rounding of the terms
// would otherwise show).
// Also returns the plain sum of the terms (with sign -1, the series of I).
bool HankelTerms(double nu, double x, double sign, double& p, double& q, double& sum) {
  if (!(x >= 20.0)) return false;
  double mu4 = 4.0 * nu * nu;
  double term = 1.0;
  double previous = 1.0;
  double largest = 1.0;
  bool falling = false;
  p = 1.0;
  q = 0.0;
  sum = 1.0;
  for (int k = 1; k < 400; ++k) {
    double odd = 2.0 * k - 1.0;
    term *= sign * (mu4 - odd * odd) / (8.0 * k * x);
    double magnitude = std::fabs(term);
    if (magnitude > 100.0) return false;
    if (magnitude > previous) {
      if (falling) return false;
    } else {
      falling = true;
    }
    previous = magnitude;
    largest = std::max(largest, magnitude);
    sum += term;
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
    // A zero term ends the series (half-whole orders).
    if (magnitude < kSeriesEps) {
      double scale = sign > 0.0 ? std::max(std::fabs(p), std::fabs(q)) : std::fabs(sum);
      return largest < 8.0 * scale;
    }
  }
  return false;
}

bool HankelPQ(double nu, double x, double& p, double& q) {
  double sum;
  return HankelTerms(nu, x, 1.0, p, q, sum);
}

bool HankelJY(double nu, double x, JY& out) {
  double p;
  double q;
  if (!HankelPQ(nu, x, p, q)) return false;
  // chi = x - (2v + 1) pi / 4, with the phase in whole units of pi kept exact.
  double phase = 0.25 * (2.0 * nu + 1.0);
  double cphi = CosPi(phase);
  double sphi = SinPi(phase);
  double cx = std::cos(x);
  double sx = std::sin(x);
  double cchi = cx * cphi + sx * sphi;
  double schi = sx * cphi - cx * sphi;
  double amplitude = std::sqrt(2.0 / (pi * x));
  out.j = amplitude * (p * cchi - q * schi);
  out.y = amplitude * (p * schi + q * cchi);
  return true;
}

// f = J'_v / J_v = v/x - 1/(b1 - 1/(b2 - ...)), b_k = 2(v + k)/x, by the
// modified Lentz method. The signs of the denominators give the sign of J_v.
bool FractionJ(double nu, double x, double& f, double& sign) {
  double xi2 = 2.0 / x;
  double h = nu / x;
  if (h < kTiny) h = kTiny;
  double b = nu * xi2;
  double d = 0.0;
  double c = h;
  sign = 1.0;
  for (long i = 1; i <= kMaxIterations; ++i) {
    b += xi2;
    d = b - d;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = b - 1.0 / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    double delta = c * d;
    h *= delta;
    if (d < 0.0) sign = -sign;
    if (std::fabs(delta - 1.0) < kFractionEps) {
      f = h;
      return true;
    }
    Poll(i);
  }
  return false;
}

// (1/Gamma(1 - m) - 1/Gamma(1 + m)) / (2m) for |m| <= 1/2. Near m = 0 the
// difference cancels, so there it comes from the Taylor series of 1/Gamma:
// minus the sum of c_2k m^(2k - 2).
double GammaOne(double mu, double reciprocalPlus, double reciprocalMinus) {
  if (std::fabs(mu) >= 0.2) return (reciprocalMinus - reciprocalPlus) / (2.0 * mu);
  constexpr double kEven[] = {0.5772156649015329, -0.0420026350340952, -0.0421977345555443,
                              0.0072189432466630, -0.0002152416741149, -0.0000201348547807,
                              0.0000011330272320, 0.0000000061160950,  -0.0000000011812746,
                              0.0000000000077823};
  double m2 = mu * mu;
  double sum = 0.0;
  for (int k = 9; k >= 0; --k) sum = sum * m2 + kEven[k];
  return -sum;
}

// Y_m and Y_(m+1) for |m| <= 1/2 and 0 < x < 2 by Temme's series.
bool TemmeY(double mu, double x, double& ymu, double& ymu1) {
  double x2 = 0.5 * x;
  double pimu = pi * mu;
  double fact = mu == 0.0 ? 1.0 : pimu / SinPi(mu);
  double d = -std::log(x2);
  double e = mu * d;
  double fact2 = e == 0.0 ? 1.0 : std::sinh(e) / e;
  double reciprocalPlus = 1.0 / GammaReal(1.0 + mu);
  double reciprocalMinus = 1.0 / GammaReal(1.0 - mu);
  double gam1 = GammaOne(mu, reciprocalPlus, reciprocalMinus);
  double gam2 = 0.5 * (reciprocalMinus + reciprocalPlus);
  double ff = 2.0 / pi * fact * (gam1 * std::cosh(e) + gam2 * fact2 * d);
  double ee = std::exp(e);
  double p = ee / (reciprocalPlus * pi);
  double q = 1.0 / (ee * pi * reciprocalMinus);
  double halfPimu = 0.5 * pimu;
  double fact3 = halfPimu == 0.0 ? 1.0 : std::sin(halfPimu) / halfPimu;
  double r = pi * halfPimu * fact3 * fact3;
  double c = 1.0;
  double dd = -x2 * x2;
  double sum = ff + r * q;
  double sum1 = p;
  double mu2 = mu * mu;
  for (int i = 1; i < 1000; ++i) {
    ff = (i * ff + p + q) / (i * i - mu2);
    c *= dd / i;
    p /= i - mu;
    q /= i + mu;
    double del = c * (ff + r * q);
    sum += del;
    double del1 = c * p - i * del;
    sum1 += del1;
    if (std::fabs(del) < (1.0 + std::fabs(sum)) * kSeriesEps &&
        std::fabs(del1) < (1.0 + std::fabs(sum1)) * kSeriesEps) {
      ymu = -sum;
      ymu1 = -sum1 * (2.0 / x);
      return true;
    }
  }
  return false;
}

// p + iq = (J'_m + iY'_m) / (J_m + iY_m) by Steed's continued fraction
//   -1/(2x) + i + (i/x) a1/(b1 + a2/(b2 + ...)),
//   a_k = (k - 1/2)^2 - m^2,  b_k = 2(x + ik).
bool SteedPQ(double mu, double x, double& p, double& q) {
  Cx f(kTiny, 0.0);
  Cx c = f;
  Cx d(0.0, 0.0);
  for (long k = 1; k <= kMaxIterations; ++k) {
    double a = (k - 0.5 - mu) * (k - 0.5 + mu);
    Cx b(2.0 * x, 2.0 * k);
    d = b + a * d;
    if (std::abs(d) < kTiny) d = kTiny;
    c = b + ComplexDivide(Cx(a, 0.0), c);
    if (std::abs(c) < kTiny) c = kTiny;
    d = ComplexReciprocal(d);
    Cx delta = ComplexMultiply(c, d);
    f = ComplexMultiply(f, delta);
    if (std::fabs(delta.real() - 1.0) + std::fabs(delta.imag()) < kFractionEps) {
      p = -0.5 / x - f.imag() / x;
      q = 1.0 + f.real() / x;
      return true;
    }
    Poll(k);
  }
  return false;
}

// The power series (x/2)^v / Gamma(v + 1) * sum (s x^2/4)^k / (k! (v+1)_k),
// s = -1 for J and +1 for I. For I the terms are positive; for J with x < 2
// they fall from the first one, so neither loses accuracy to cancellation.
double PowerSeries(double nu, double x, double sign) {
  double y = sign * 0.25 * x * x;
  double term = 1.0;
  double sum = 1.0;
  for (long k = 1; k <= kMaxIterations; ++k) {
    term *= y / (k * (nu + k));
    sum += term;
    if (std::fabs(term) < kSeriesEps * std::fabs(sum)) break;
    if (std::isinf(sum)) return kInfinity;
    Poll(k);
  }
  double logPower = nu * std::log(0.5 * x);
  double logPrefactor = logPower - std::lgamma(nu + 1.0);
  if (nu < 170.0 && std::fabs(logPower) < 700.0 && std::fabs(logPrefactor) < 700.0) {
    return std::pow(0.5 * x, nu) / GammaPositive(nu + 1.0) * sum;
  }
  return std::copysign(std::exp(logPrefactor + std::log(std::fabs(sum))), sum);
}

// Y_(m+n) from Y_m and Y_(m+1) by the upward recurrence, which is stable.
double RecurY(double mu, double x, long n, double y0, double y1) {
  for (long i = 1; i <= n; ++i) {
    double next = (mu + i) * (2.0 / x) * y1 - y0;
    y0 = y1;
    y1 = next;
    if (std::isinf(y1) && i < n) return y1;  // the magnitude only grows from here on
    Poll(i);
  }
  return y0;
}

// J_v and Y_v for v >= 0 and finite x > 0.
JY JYCore(double nu, double x) {
  JY out;
  if (HankelJY(nu, x, out)) return out;
  // Orders so high that no recurrence could reach them in reasonable time.
  if (nu > kMaxIterations) return FailedJY();
  if (x >= 20.0 && nu < x) {
    // Below the turning point both J and Y are stable upward: start from
    // Hankel's series at the fractional part of the order and recur.
    double mu = nu - std::floor(nu);
    JY low;
    JY high;
    if (HankelJY(mu, x, low) && HankelJY(mu + 1.0, x, high)) {
      long n = static_cast<long>(nu - mu);
      for (long k = 1; k <= n; ++k) {
        double factor = 2.0 * (mu + k) / x;
        JY next{factor * high.j - low.j, factor * high.y - low.y};
        low = high;
        high = next;
        Poll(k);
      }
      return low;
    }
  }

  if (x < 2.0) {
    // Y from Temme's series at m = v - steps, |m| <= 1/2, recurred upward;
    // J from its power series (through the Wronskian it would cancel badly
    // when m < 0 and x is small).
    double steps = std::floor(nu + 0.5);
    double mu = nu - steps;
    double ymu;
    double ymu1;
    if (!TemmeY(mu, x, ymu, ymu1)) return FailedJY();
    out.j = PowerSeries(nu, x, -1.0);
    out.y = RecurY(mu, x, static_cast<long>(steps), ymu, ymu1);
    return out;
  }

  // Work at a low order m = v - steps where Steed's fraction gives Y, and
  // reach v from there: Y upward, J through the ratio from a downward
  // recurrence started at v with the continued fraction for J'/J.
  double steps = std::max(0.0, std::floor(nu - x + 1.5));
  double mu = nu - steps;
  double f;
  double sign;
  if (!FractionJ(nu, x, f, sign)) return FailedJY();

  double jl = sign;
  double jpl = f * sign;
  int rescales = 0;
  long n = static_cast<long>(steps);
  for (long l = n; l >= 1; --l) {
    double order = mu + l;
    double jlower = order / x * jl + jpl;
    jpl = (order - 1.0) / x * jlower - jl;
    jl = jlower;
    if (std::fabs(jl) > kScaleLimit) {
      jl = std::ldexp(jl, -kScaleExponent);
      jpl = std::ldexp(jpl, -kScaleExponent);
      ++rescales;
    }
    Poll(l);
  }
  if (jl == 0.0) jl = kTiny;
  double fmu = jpl / jl;
  double w = 2.0 / (pi * x);

  double p;
  double q;
  if (!SteedPQ(mu, x, p, q)) return FailedJY();
  double gamma = (p - fmu) / q;
  double jmu = std::copysign(std::sqrt(w / ((p - fmu) * gamma + q)), jl);
  double ymu = gamma * jmu;
  double ypmu = q * jmu + p * ymu;
  double ymu1 = mu / x * ymu - ypmu;
  out.j = std::ldexp(jmu * (sign / jl), -kScaleExponent * rescales);

  out.y = RecurY(mu, x, n, ymu, ymu1);
  return out;
}

// I_v for v >= 0 and finite x > 0.
double IPositive(double nu, double x) {
  // I_v(x) ~ e^x / sqrt(2 pi x) (1 - a1/x + a2/x^2 - ...) with Hankel's a_k:
  // the same terms as P and Q, taken with alternating signs.
  double p;
  double q;
  double series;
  if (HankelTerms(nu, x, -1.0, p, q, series)) {
    double half = std::exp(0.5 * x);
    return half * (series / std::sqrt(2.0 * pi * x)) * half;
  }
  return PowerSeries(nu, x, 1.0);
}

// K_v for v >= 0 and finite x > 0: the trapezoidal rule on
//   K_v(x) = integral_0^inf exp(-x cosh t) cosh(v t) dt,
// whose integrand is analytic in the strip |Im t| < pi/2 and falls off
// double-exponentially, so the rule converges geometrically in 1/h. The
// integrand is written exp(phi(t) - x) (1 + e^(-2vt))/2 with
// phi(t) = -2x sinh^2(t/2) + v t, scaled by its largest value at t = asinh(v/x).
double KPositive(double nu, double x) {
  if (x < 1e-300) {
    // K_v(x) ~ (Gamma(v) (2/x)^v + Gamma(-v) (x/2)^v) / 2 as x -> 0
    if (nu == 0.0) return -std::log(0.5 * x) - 0.57721566490153286061;
    double l = nu * std::log(2.0 / x);
    if (l > 709.0) return kInfinity;
    return 0.5 * (GammaReal(nu) * std::exp(l) + GammaReal(-nu) * std::exp(-l));
  }
  double tStar = std::asinh(nu / x);
  auto phi = [&](double t) {
    double s = std::sinh(0.5 * t);
    return -2.0 * x * s * s + nu * t;
  };
  double phiStar = phi(tStar);
  // K is about exp(phiStar - x) times a modest factor: settle the extremes at once.
  double logPeak = phiStar - x;
  if (logPeak > 720.0) return kInfinity;
  if (logPeak < -760.0) return 0.0;
  double h = std::min(0.2, 0.4 / std::sqrt(std::hypot(x, nu)));
  if (tStar / h > 1e15) return UndefinedValue();  // beyond any reasonable sampling
  auto sample = [&](long j) {
    double t = j * h;
    double value = std::exp(phi(t) - phiStar) * 0.5 * (1.0 + std::exp(-2.0 * nu * t));
    return j == 0 ? 0.5 * value : value;  // t = 0 ends the range: half weight
  };
  // The integrand has one peak, at or below t*: sum outward from there until
  // the samples no longer count.
  long peak = static_cast<long>(tStar / h);
  double sum = 0.0;
  for (long j = peak; j >= 0; --j) {
    double value = sample(j);
    sum += value;
    if (value < 1e-18 * sum && j < peak) break;
    Poll(j);
  }
  for (long j = peak + 1; j <= peak + kMaxIterations; ++j) {
    double value = sample(j);
    sum += value;
    if (value < 1e-18 * sum) break;
    Poll(j);
  }
  return h * sum * std::exp(logPeak);
}

constexpr double kThird = 1.0 / 3.0;
constexpr double kSqrt3 = 1.7320508075688772935;
constexpr double kAiryAiZero = 0.35502805388781723926;
constexpr double kAiryBiZero = 0.61492662744600073515;

}  // namespace

double BesselJ(double order, double x) {
  if (std::isnan(order) || std::isnan(x) || std::isinf(order)) return UndefinedValue();
  double mu = std::fabs(order);
  if (IsWhole(order)) {
    double sign = order < 0.0 && IsOddWhole(order) ? -1.0 : 1.0;
    if (x < 0.0) {
      x = -x;
      if (IsOddWhole(order)) sign = -sign;
    }
    if (x == 0.0) return mu == 0.0 ? 1.0 : 0.0;
    if (std::isinf(x)) return 0.0;
    return sign * JYCore(mu, x).j;
  }
  if (x < 0.0) return UndefinedValue();
  if (std::isinf(x)) return 0.0;
  if (x == 0.0) return order > 0.0 ? 0.0 : std::copysign(kInfinity, GammaReal(1.0 - mu));
  JY r = JYCore(mu, x);
  if (order > 0.0) return r.j;
  return r.j * CosPi(mu) - r.y * SinPi(mu);
}

double BesselY(double order, double x) {
  if (std::isnan(order) || std::isnan(x) || std::isinf(order) || x < 0.0) {
    return UndefinedValue();
  }
  double mu = std::fabs(order);
  if (std::isinf(x)) return 0.0;
  if (IsWhole(order)) {
    double sign = order < 0.0 && IsOddWhole(order) ? -1.0 : 1.0;
    if (x == 0.0) return -sign * kInfinity;
    return sign * JYCore(mu, x).y;
  }
  if (x == 0.0) {
    if (order > 0.0) return -kInfinity;
    double c = CosPi(mu);  // Y_-m = Y_m cos(m pi) + J_m sin(m pi), Y_m -> -inf, J_m -> 0
    return c == 0.0 ? 0.0 : std::copysign(kInfinity, -c);
  }
  JY r = JYCore(mu, x);
  if (order > 0.0) return r.y;
  return r.y * CosPi(mu) + r.j * SinPi(mu);
}

double BesselI(double order, double x) {
  if (std::isnan(order) || std::isnan(x) || std::isinf(order)) return UndefinedValue();
  double mu = std::fabs(order);
  if (IsWhole(order)) {
    double sign = x < 0.0 && IsOddWhole(mu) ? -1.0 : 1.0;
    x = std::fabs(x);
    if (x == 0.0) return mu == 0.0 ? 1.0 : 0.0;
    if (std::isinf(x)) return sign * kInfinity;
    return sign * IPositive(mu, x);
  }
  if (x < 0.0) return UndefinedValue();
  if (x == 0.0) return order > 0.0 ? 0.0 : std::copysign(kInfinity, GammaReal(1.0 - mu));
  if (std::isinf(x)) return kInfinity;
  double i = IPositive(mu, x);
  if (order > 0.0) return i;
  return i + 2.0 / pi * SinPi(mu) * KPositive(mu, x);
}

double BesselK(double order, double x) {
  if (std::isnan(order) || std::isnan(x) || std::isinf(order) || x < 0.0) {
    return UndefinedValue();
  }
  if (x == 0.0) return kInfinity;
  if (std::isinf(x)) return 0.0;
  return KPositive(std::fabs(order), x);
}

double AiryAi(double x) {
  if (std::isnan(x)) return UndefinedValue();
  if (x == 0.0) return kAiryAiZero;
  if (std::isinf(x)) return 0.0;
  double ax = std::fabs(x);
  double z = 2.0 / 3.0 * ax * std::sqrt(ax);
  if (x > 0.0) return std::sqrt(ax / 3.0) / pi * KPositive(kThird, z);
  if (std::isinf(z)) return 0.0;
  JY r = JYCore(kThird, z);
  return 0.5 * std::sqrt(ax) * (r.j - r.y / kSqrt3);
}

double AiryBi(double x) {
  if (std::isnan(x)) return UndefinedValue();
  if (x == 0.0) return kAiryBiZero;
  if (x == kInfinity) return kInfinity;
  if (x == -kInfinity) return 0.0;
  double ax = std::fabs(x);
  double z = 2.0 / 3.0 * ax * std::sqrt(ax);
  if (x > 0.0) {
    return std::sqrt(ax) * (2.0 / kSqrt3 * IPositive(kThird, z) + KPositive(kThird, z) / pi);
  }
  if (std::isinf(z)) return 0.0;
  JY r = JYCore(kThird, z);
  return -0.5 * std::sqrt(ax) * (r.j / kSqrt3 + r.y);
}

}  // namespace lemmabox
