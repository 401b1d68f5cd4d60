#include "calc/numlib_scalar.h"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "calc/numlib_complex.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {

namespace {

constexpr uint64_t kUndefinedBits = 0x7FFFFFFFFFFFFFFFull;
constexpr uint64_t kExponentBits = 0x7FF0000000000000ull;
constexpr uint64_t kQuietBit = 0x0008000000000000ull;

// An exact integer result when it fits in 32 bits, else the real.
NumScalar IntOrReal(int64_t v) {
  if (v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max()) {
    return NumScalar::Int(static_cast<int32_t>(v));
  }
  return NumScalar::Real(static_cast<double>(v));
}

bool IsRealValued(const NumScalar& s) {
  return s.kind != NumKind::kComplex;
}

NumScalar IntegerPower(NumScalar base, int32_t n) {
  if (n == 0) return NumScalar::Int(1);
  uint32_t k = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  if (base.kind == NumKind::kReal) {
    // The same squaring as below on plain doubles: real powers are the
    // common case in tabulating and graphing.
    double b = n < 0 ? 1.0 / base.re : base.re;
    double acc = 1.0;
    while (k != 0) {
      if (k & 1u) acc *= b;
      k >>= 1;
      if (k != 0) b *= b;
    }
    return NumScalar::Real(acc);
  }
  if (n < 0) base = ReciprocalScalar(base);
  NumScalar acc = NumScalar::Int(1);
  while (k != 0) {
    if (k & 1u) acc = MultiplyScalars(acc, base);
    k >>= 1;
    if (k != 0) base = MultiplyScalars(base, base);
  }
  return acc;
}

}  // namespace

double UndefinedValue() {
  return std::bit_cast<double>(kUndefinedBits);
}

bool IsUndefined(double x) {
  uint64_t bits = std::bit_cast<uint64_t>(x);
  return (bits & kExponentBits) == kExponentBits && (bits & kQuietBit) != 0;
}

NumScalar NumScalar::Complex(double re, double im) {
  if (im == 0.0) return Real(re);
  return {NumKind::kComplex, 0, re, im};
}

bool ComplexCountsAsReal(double re, double im) {
  return im == 0.0 || std::fabs(im / re) < 1e-17;
}

double RealOfScalar(const NumScalar& s) {
  if (s.kind != NumKind::kComplex) return s.re;
  return ComplexCountsAsReal(s.re, s.im) ? s.re : UndefinedValue();
}

int32_t IntOfScalar(const NumScalar& s) {
  if (s.kind == NumKind::kInteger) return s.integer;
  double n = std::floor(s.re + 0.5);
  // The lower bound is -2147483647, not the smallest 32-bit integer.
  if (!(n >= -2147483647.0 && n < 2147483647.0)) Raise(kMsgTooLargeOrStrange);
  return static_cast<int32_t>(n);
}

NumScalar AddScalars(const NumScalar& a, const NumScalar& b) {
  switch (LargerKind(a.kind, b.kind)) {
    case NumKind::kInteger:
      return IntOrReal(int64_t{a.integer} + int64_t{b.integer});
    case NumKind::kReal:
      return NumScalar::Real(a.re + b.re);
    case NumKind::kComplex:
      return NumScalar::Complex(a.re + b.re, a.im + b.im);
  }
  InternalError("AddValue");
}

NumScalar MultiplyScalars(const NumScalar& a, const NumScalar& b) {
  switch (LargerKind(a.kind, b.kind)) {
    case NumKind::kInteger: {
      if (std::abs(a.integer) < 32768 && std::abs(b.integer) < 32768) {
        return NumScalar::Int(a.integer * b.integer);
      }
      double p = a.re * b.re;
      if (p >= -2147483648.0 && p < 2147483648.0) return NumScalar::Int(static_cast<int32_t>(p));
      return NumScalar::Real(p);
    }
    case NumKind::kReal:
      return NumScalar::Real(a.re * b.re);
    case NumKind::kComplex:
      return NumScalar::Complex(ComplexMultiply(a.AsComplex(), b.AsComplex()));
  }
  InternalError("MultiplyValue");
}

NumScalar DivideScalars(const NumScalar& dividend, const NumScalar& divisor) {
  switch (LargerKind(dividend.kind, divisor.kind)) {
    case NumKind::kInteger: {
      int64_t a = dividend.integer;
      int64_t b = divisor.integer;
      if (b == 0) {
        if (a == 0) return NumScalar::Undefined();
        return NumScalar::Real(a > 0 ? kInfinity : -kInfinity);
      }
      if (a % b == 0) return IntOrReal(a / b);
      return NumScalar::Real(dividend.re / divisor.re);
    }
    case NumKind::kReal:
      return NumScalar::Real(dividend.re / divisor.re);
    case NumKind::kComplex:
      return NumScalar::Complex(ComplexDivide(dividend.AsComplex(), divisor.AsComplex()));
  }
  InternalError("DivideValue");
}

NumScalar NegateScalar(const NumScalar& s) {
  switch (s.kind) {
    case NumKind::kInteger:
      // The negation of the smallest integer does not fit: it becomes real.
      return IntOrReal(-int64_t{s.integer});
    case NumKind::kReal:
      return NumScalar::Real(-s.re);
    case NumKind::kComplex:
      return NumScalar::Complex(-s.re, -s.im);
  }
  InternalError("NegateValue");
}

NumScalar ReciprocalScalar(const NumScalar& s) {
  if (IsRealValued(s)) return NumScalar::Real(1.0 / s.re);
  return NumScalar::Complex(ComplexReciprocal(s.AsComplex()));
}

NumScalar ConjugateScalar(const NumScalar& s) {
  if (IsRealValued(s)) return s;
  return NumScalar::Complex(s.re, -s.im);
}

NumScalar AbsScalar(const NumScalar& s) {
  if (IsRealValued(s)) return NumScalar::Real(std::fabs(s.re));
  if (std::isnan(s.re) || std::isnan(s.im)) return NumScalar::Undefined();
  return NumScalar::Real(std::hypot(s.re, s.im));
}

NumScalar SqrtScalar(const NumScalar& s) {
  if (IsRealValued(s)) {
    if (std::isnan(s.re)) return NumScalar::Undefined();
    if (s.re >= 0.0) return NumScalar::Real(std::sqrt(s.re));
    return NumScalar::Complex(0.0, std::sqrt(-s.re));
  }
  return NumScalar::Complex(ComplexSqrt(s.AsComplex()));
}

NumScalar RealPower(double x, double y) {
  if (std::isnan(x) || std::isnan(y)) return NumScalar::Undefined();
  if (x >= 0.0) return NumScalar::Real(std::pow(x, y));
  double ax = -x;
  if (std::isinf(y)) {
    // The sign of a negative base alternates; the magnitude has a limit.
    if (ax == 1.0) return NumScalar::Real(1.0);
    bool grows = (ax > 1.0) == (y > 0.0);
    return NumScalar::Real(grows ? kInfinity : 0.0);
  }
  if (std::fabs(y) > 1e9) return NumScalar::Undefined();
  if (y == 0.0) return NumScalar::Int(1);
  double n = std::floor(y + 0.5);
  if (std::fabs((n - y) / n) < 1e-11) {
    double r = std::pow(ax, y);
    return NumScalar::Real(std::fmod(n, 2.0) != 0.0 ? -r : r);
  }
  double m = std::floor(5040.0 * y + 0.5);
  if (std::fabs((m - 5040.0 * y) / m) < 1e-11) {
    int64_t p = static_cast<int64_t>(m);
    int64_t q = 5040;
    int64_t g = std::gcd(p, q);
    p /= g;
    q /= g;
    double r = std::pow(ax, y);
    if (p % 2 == 0) return NumScalar::Real(r);
    if (q % 2 != 0) return NumScalar::Real(-r);
    return NumScalar::Complex(r * CosPi(y), r * SinPi(y));
  }
  return NumScalar::Undefined();
}

NumScalar PowerScalars(const NumScalar& base, const NumScalar& exponent) {
  if (exponent.kind == NumKind::kInteger) return IntegerPower(base, exponent.integer);
  if (IsRealValued(base) && IsRealValued(exponent)) return RealPower(base.re, exponent.re);
  return NumScalar::Complex(ComplexPower(base.AsComplex(), exponent.AsComplex()));
}

bool RealsEqual(double a, double b) {
  if (a == b) return true;  // also both zeros of either sign, and equal infinities
  return std::fabs((a - b) / (std::fabs(a) + std::fabs(b))) < 1e-15;
}

NumScalar EqualScalars(const NumScalar& a, const NumScalar& b) {
  if (IsRealValued(a) && IsRealValued(b)) {
    if (std::isnan(a.re) || std::isnan(b.re)) return NumScalar::Undefined();
    return NumScalar::Int(RealsEqual(a.re, b.re) ? 1 : 0);
  }
  if (std::isnan(a.re) || std::isnan(a.im) || std::isnan(b.re) || std::isnan(b.im)) {
    return NumScalar::Undefined();
  }
  return NumScalar::Int(RealsEqual(a.re, b.re) && RealsEqual(a.im, b.im) ? 1 : 0);
}

}  // namespace lemmabox
