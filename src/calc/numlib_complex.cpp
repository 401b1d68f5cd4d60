#include "calc/numlib_complex.h"

#include <cmath>
#include <numbers>

namespace lemmabox {

namespace {

using Cx = std::complex<double>;

// A zero imaginary part is always +0: points on a cut along the negative real
// axis take the value from above.
double Imag(Cx z) {
  return z.imag() == 0.0 ? 0.0 : z.imag();
}

// sin(pi a) and cos(pi a) for 0 <= a <= 1/2.
double SinPiCore(double a) {
  return a <= 0.25 ? std::sin(std::numbers::pi * a) : std::cos(std::numbers::pi * (0.5 - a));
}
double CosPiCore(double a) {
  if (a == 0.5) return 0.0;
  return a <= 0.25 ? std::cos(std::numbers::pi * a) : std::sin(std::numbers::pi * (0.5 - a));
}

// ln(1 + w), accurate for small w.
Cx ComplexLog1p(Cx w) {
  double a = w.real();
  double b = Imag(w);
  return {0.5 * std::log1p(a * (2.0 + a) + b * b), std::atan2(b, 1.0 + a)};
}

}  // namespace

double SinPi(double x) {
  if (!std::isfinite(x)) return std::nan("");
  double r = std::remainder(x, 2.0);  // exact, in [-1, 1]
  double sign = r < 0 ? -1.0 : 1.0;
  double a = std::fabs(r);
  if (a > 0.5) a = 1.0 - a;  // sin(pi a) = sin(pi (1 - a)); exact
  if (a == 0.0) return 0.0;
  return sign * SinPiCore(a);
}

double CosPi(double x) {
  if (!std::isfinite(x)) return std::nan("");
  double a = std::fabs(std::remainder(x, 2.0));
  if (a > 0.5) return -CosPiCore(1.0 - a);
  return CosPiCore(a);
}

Cx ComplexMultiply(Cx a, Cx b) {
  return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

Cx ComplexDivide(Cx a, Cx b) {
  double br = b.real();
  double bi = b.imag();
  if (std::fabs(br) >= std::fabs(bi)) {
    if (bi == 0.0) return {a.real() / br, a.imag() / br};
    double r = bi / br;
    double d = br + bi * r;
    return {(a.real() + a.imag() * r) / d, (a.imag() - a.real() * r) / d};
  }
  double r = br / bi;
  double d = br * r + bi;
  return {(a.real() * r + a.imag()) / d, (a.imag() * r - a.real()) / d};
}

Cx ComplexReciprocal(Cx z) {
  return ComplexDivide(Cx(1.0, 0.0), z);
}

Cx ComplexLog(Cx z) {
  double a = z.real();
  double b = Imag(z);
  double arg = std::atan2(b, a);
  double ax = std::fabs(a);
  double ay = std::fabs(b);
  if (ax < ay) std::swap(ax, ay);
  double modulus = std::hypot(ax, ay);
  double re;
  if (modulus > 0.5 && modulus < 2.0) {
    // Near the unit circle ln|z| is small: form |z|^2 - 1 without cancellation.
    re = 0.5 * std::log1p((ax - 1.0) * (ax + 1.0) + ay * ay);
  } else {
    re = std::log(modulus);
  }
  return {re, arg};
}

Cx ComplexExp(Cx z) {
  double a = z.real();
  double b = z.imag();
  if (b == 0.0) return {std::exp(a), 0.0};
  double c = std::cos(b);
  double s = std::sin(b);
  if (a > 700.0) {
    // exp(a) alone would overflow while exp(a) cos b may not.
    double half = std::exp(0.5 * a);
    return {c * half * half, s * half * half};
  }
  double e = std::exp(a);
  return {e * c, e * s};
}

Cx ComplexSqrt(Cx z) {
  double a = z.real();
  double b = Imag(z);
  if (a == 0.0 && b == 0.0) return {0.0, 0.0};
  if (std::isinf(b)) return {std::fabs(b), b};
  if (std::isnan(a) || std::isnan(b)) return {std::nan(""), std::nan("")};
  double scale = 1.0;
  if (std::fabs(a) > 1e300 || std::fabs(b) > 1e300) {
    a *= 0.25;
    b *= 0.25;
    scale = 2.0;
  } else if (std::fabs(a) < 1e-300 && std::fabs(b) < 1e-300) {
    a *= 0x1p100;
    b *= 0x1p100;
    scale = 0x1p-50;
  }
  double t = std::sqrt(0.5 * (std::fabs(a) + std::hypot(a, b)));
  if (a >= 0.0) return {scale * t, scale * (b / (2.0 * t))};
  return {scale * (std::fabs(b) / (2.0 * t)), scale * std::copysign(t, b)};
}

Cx ComplexPower(Cx z, Cx w) {
  if (z.real() == 0.0 && z.imag() == 0.0) {
    if (w.real() > 0.0) return {0.0, 0.0};
    if (w.real() == 0.0 && w.imag() == 0.0) return {1.0, 0.0};
    return {std::nan(""), std::nan("")};
  }
  return ComplexExp(ComplexMultiply(w, ComplexLog(z)));
}

Cx ComplexSin(Cx z) {
  double a = z.real();
  double b = z.imag();
  double sa = std::sin(a);
  return {sa == 0.0 ? 0.0 : sa * std::cosh(b), std::cos(a) * std::sinh(b)};
}

Cx ComplexCos(Cx z) {
  double a = z.real();
  double b = z.imag();
  double sa = std::sin(a);
  return {std::cos(a) * std::cosh(b), sa == 0.0 ? 0.0 : -sa * std::sinh(b)};
}

Cx ComplexTan(Cx z) {
  double a = z.real();
  double b = z.imag();
  double sa = std::sin(a);
  double ca = std::cos(a);
  if (std::fabs(b) > 20.0) {
    // cosh b dwarfs everything: tan z = +-i up to a term of order e^(-2|b|).
    return {4.0 * sa * ca * std::exp(-2.0 * std::fabs(b)), std::copysign(1.0, b)};
  }
  double sb = std::sinh(b);
  double cb = std::cosh(b);
  // cos 2a + cosh 2b = 2 (cos^2 a + sinh^2 b), free of cancellation near the poles.
  double d = ca * ca + sb * sb;
  return {sa * ca / d, sb * cb / d};
}

Cx ComplexSinh(Cx z) {
  double a = z.real();
  double b = z.imag();
  double sb = std::sin(b);
  return {std::sinh(a) * std::cos(b), sb == 0.0 ? 0.0 : std::cosh(a) * sb};
}

Cx ComplexCosh(Cx z) {
  double a = z.real();
  double b = z.imag();
  double sb = std::sin(b);
  return {std::cosh(a) * std::cos(b), sb == 0.0 ? 0.0 : std::sinh(a) * sb};
}

Cx ComplexTanh(Cx z) {
  // tanh z = -i tan(iz)
  Cx t = ComplexTan(Cx(-z.imag(), z.real()));
  return {t.imag(), -t.real()};
}

Cx ComplexArcsin(Cx z) {
  z = Cx(z.real(), Imag(z));
  Cx s1 = ComplexSqrt(Cx(1.0 - z.real(), -z.imag()));
  Cx s2 = ComplexSqrt(Cx(1.0 + z.real(), z.imag()));
  double re = std::atan2(z.real(), s1.real() * s2.real() - s1.imag() * s2.imag());
  double im = std::asinh(s1.real() * s2.imag() - s1.imag() * s2.real());
  return {re, im};
}

Cx ComplexArccos(Cx z) {
  z = Cx(z.real(), Imag(z));
  Cx s1 = ComplexSqrt(Cx(1.0 - z.real(), -z.imag()));
  Cx s2 = ComplexSqrt(Cx(1.0 + z.real(), z.imag()));
  double re = 2.0 * std::atan2(s1.real(), s2.real());
  double im = std::asinh(s2.real() * s1.imag() - s2.imag() * s1.real());
  return {re, im};
}

Cx ComplexArctanh(Cx z) {
  z = Cx(z.real(), Imag(z));
  if (std::abs(z) < 0.5) {
    Cx d = ComplexLog1p(z) - ComplexLog1p(-z);
    return 0.5 * d;
  }
  Cx q = ComplexDivide(Cx(1.0 + z.real(), z.imag()), Cx(1.0 - z.real(), -z.imag()));
  return 0.5 * ComplexLog(q);
}

Cx ComplexArctan(Cx z) {
  // arctan z = -i arctanh(iz)
  Cx t = ComplexArctanh(Cx(-Imag(z), z.real()));
  return {t.imag(), -t.real()};
}

Cx ComplexArcsinh(Cx z) {
  // arcsinh z = -i arcsin(iz)
  Cx t = ComplexArcsin(Cx(-Imag(z), z.real()));
  return {t.imag(), -t.real()};
}

Cx ComplexArccosh(Cx z) {
  z = Cx(z.real(), Imag(z));
  Cx sm = ComplexSqrt(Cx(z.real() - 1.0, z.imag()));
  Cx sp = ComplexSqrt(Cx(z.real() + 1.0, z.imag()));
  double re = std::asinh(sm.real() * sp.real() + sm.imag() * sp.imag());
  double im = 2.0 * std::atan2(sm.imag(), sp.real());
  return {re, im};
}

}  // namespace lemmabox
