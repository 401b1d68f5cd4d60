#include "calc/numlib_integrate.h"

#include <algorithm>
#include <cmath>

#include "shell/interrupt.h"

namespace lemmabox {

namespace {

using Cx = std::complex<double>;

// Offset of the outer Gauss-Legendre nodes from the centre, per unit width:
// sqrt(3/5) / 2.
constexpr double kNode = 0.3872983346207417;
constexpr double kOuterWeight = 5.0 / 18.0;
constexpr double kCentreWeight = 8.0 / 18.0;

int gNestingLevel = 0;

// Raises the nesting level while an integrand is evaluated; a failure
// unwinding through restores it.
class NestingGuard {
 public:
  NestingGuard() { ++gNestingLevel; }
  ~NestingGuard() { --gNestingLevel; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;
};

bool HasUndefinedPart(Cx z) {
  return std::isnan(z.real()) || std::isnan(z.imag());
}

Cx Undefined() {
  return {UndefinedValue(), 0.0};
}

double Magnitude(double v) {
  return std::isfinite(v) ? std::fabs(v) : 0.0;
}

// A middle value of the positive ones among |Re f| and |Im f| of the samples
// (non-finite ones counted as 0): in ascending order, index (i + n - 1) / 2
// where i is the first positive one; 0 when none is positive.
double TypicalMagnitude(const Cx* samples, int count) {
  double values[18];
  int n = 0;
  for (int k = 0; k < count; ++k) {
    values[n++] = Magnitude(samples[k].real());
    values[n++] = Magnitude(samples[k].imag());
  }
  std::sort(values, values + n);
  int first = 0;
  while (first < n && values[first] <= 0.0) ++first;
  if (first == n) return 0.0;
  return values[(first + n - 1) / 2];
}

// A panel: its ends and the samples at its centre and its two Gauss nodes.
struct Panel {
  double a;
  double b;
  Cx left;
  Cx centre;
  Cx right;
};

Cx Estimate(const Panel& p) {
  return (p.b - p.a) * (kOuterWeight * (p.left + p.right) + kCentreWeight * p.centre);
}

class PieceIntegrator {
 public:
  PieceIntegrator(const Integrand& f, bool mapped, double relativeTolerance,
                  const IntegrationSettings& settings)
      : f_(f),
        mapped_(mapped),
        relativeTolerance_(relativeTolerance),
        minDepth_(settings.coarsestDepth),
        maxDepth_(settings.finestDepth) {}

  Cx Integrate(double a, double b) {
    if (a == b) return {0.0, 0.0};
    double centre = 0.5 * (a + b);
    Panel p{a, b, {}, Sample(centre), {}};
    double offset = kNode * (b - a);
    p.left = Sample(centre - offset);
    p.right = Sample(centre + offset);
    Cx first[3] = {p.left, p.centre, p.right};
    tolerance_ = relativeTolerance_ * TypicalMagnitude(first, 3);
    return Refine(p, Estimate(p), 0);
  }

 private:
  // The integrand in the piece's own variable: x, or t = 1/x with the
  // Jacobian -1/t^2.
  Cx Sample(double u) {
    Cx value;
    {
      NestingGuard guard;
      value = f_(mapped_ ? 1.0 / u : u);
    }
    if (mapped_) value *= -1.0 / (u * u);
    return value;
  }

  // A sub-panel centred on a known sample.
  Panel SubPanel(double a, double b, Cx centre) {
    double c = 0.5 * (a + b);
    double offset = kNode * (b - a);
    return Panel{a, b, Sample(c - offset), centre, Sample(c + offset)};
  }

  Cx Refine(const Panel& p, Cx coarse, int depth) {
    CheckInterrupt();
    double offset = kNode * (p.b - p.a);
    double x1 = 0.5 * (p.a + p.b) - offset;
    double x3 = 0.5 * (p.a + p.b) + offset;
    Panel sub[3] = {SubPanel(p.a, 2.0 * x1 - p.a, p.left),
                    SubPanel(2.0 * x1 - p.a, 2.0 * x3 - p.b, p.centre),
                    SubPanel(2.0 * x3 - p.b, p.b, p.right)};
    Cx fine = Estimate(sub[0]) + Estimate(sub[1]) + Estimate(sub[2]);
    if (HasUndefinedPart(fine)) return fine;
    if (depth >= maxDepth_) return Undefined();
    if (tolerance_ == 0.0) {
      // Every first sample was 0: take the scale from the finer samples, so
      // that an integrand vanishing at those three points does not refine
      // down to the finest depth.
      Cx samples[9];
      for (int k = 0; k < 3; ++k) {
        samples[3 * k] = sub[k].left;
        samples[3 * k + 1] = sub[k].centre;
        samples[3 * k + 2] = sub[k].right;
      }
      tolerance_ = relativeTolerance_ * TypicalMagnitude(samples, 9);
    }
    double change = std::fabs(fine.real() - coarse.real()) + std::fabs(fine.imag() - coarse.imag());
    if (depth < minDepth_ || change > tolerance_) {
      return Refine(sub[0], Estimate(sub[0]), depth + 1) +
             Refine(sub[1], Estimate(sub[1]), depth + 2) +
             Refine(sub[2], Estimate(sub[2]), depth + 2);
    }
    return 0.5 * (3.0 * fine - coarse);
  }

  const Integrand& f_;
  bool mapped_;
  double relativeTolerance_;
  int minDepth_;
  int maxDepth_;
  double tolerance_ = 0.0;
};

// One piece, in x or (mapped) in t = 1/x between 1/lo and 1/hi. An undefined
// result is retried once as two halves split a little off the middle.
Cx IntegratePiece(const Integrand& f, double lo, double hi, bool mapped, double tolerance,
                  const IntegrationSettings& settings) {
  double a = mapped ? 1.0 / lo : lo;
  double b = mapped ? 1.0 / hi : hi;
  Cx result = PieceIntegrator(f, mapped, tolerance, settings).Integrate(a, b);
  if (!HasUndefinedPart(result)) return result;
  double m = 0.512345 * a + 0.487655 * b;
  result = PieceIntegrator(f, mapped, tolerance, settings).Integrate(a, m) +
           PieceIntegrator(f, mapped, tolerance, settings).Integrate(m, b);
  return HasUndefinedPart(result) ? Undefined() : result;
}

}  // namespace

int IntegrationNestingLevel() {
  return gNestingLevel;
}

NumScalar IntegrateNumerically(const Integrand& f, double lower, double upper,
                               const IntegrationSettings& settings) {
  if (std::isnan(lower) || std::isnan(upper)) return NumScalar::Undefined();
  double sign = 1.0;
  if (lower > upper) {
    std::swap(lower, upper);
    sign = -1.0;
  }
  if (lower == upper) return NumScalar::Int(0);
  double tolerance = gNestingLevel == 0   ? settings.tolerance
                     : gNestingLevel == 1 ? settings.doubleTolerance
                                          : settings.tripleTolerance;
  auto plain = [&](double lo, double hi) {
    return IntegratePiece(f, lo, hi, false, tolerance, settings);
  };
  auto mapped = [&](double lo, double hi) {
    return IntegratePiece(f, lo, hi, true, tolerance, settings);
  };
  bool fromMinusInfinity = std::isinf(lower);
  bool toInfinity = std::isinf(upper);
  Cx sum;
  if (fromMinusInfinity && toInfinity) {
    sum = mapped(lower, -3.0) + plain(-3.0, 3.0) + mapped(3.0, upper);
  } else if (fromMinusInfinity) {
    double c = upper == 0.0 ? -3.0 : -2.0 * std::fabs(upper);
    sum = mapped(lower, c) + plain(c, upper);
  } else if (toInfinity) {
    double c = lower == 0.0 ? 3.0 : 2.0 * std::fabs(lower);
    sum = plain(lower, c) + mapped(c, upper);
  } else {
    sum = plain(lower, upper);
  }
  if (HasUndefinedPart(sum)) return NumScalar::Undefined();
  return NumScalar::Complex(sign * sum.real(), sign * sum.imag());
}

}  // namespace lemmabox
