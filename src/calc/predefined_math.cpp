#include "calc/predefined_math.h"

#include <cmath>
#include <numbers>

#include "calc/numlib_bessel.h"
#include "calc/numlib_complex.h"
#include "calc/numlib_gamma.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {

namespace {

using Cx = std::complex<double>;
using std::numbers::pi;

Cx UndefinedComplex() {
  return {UndefinedValue(), 0.0};
}

double RealLn(double x) {
  if (x == 0.0) return -kInfinity;
  if (x < 0.0) return UndefinedValue();
  return std::log(x);
}

// Halves to even: floor(x + 1/2), less 1 when x + 1/2 is whole and that is odd.
// Doubles from 2^52 on are whole already (and x + 1/2 would round).
double RoundHalfEven(double x) {
  if (!(std::fabs(x) < 0x1p52)) return x;
  double shifted = x + 0.5;
  double n = std::floor(shifted);
  if (n == shifted && std::fmod(n, 2.0) != 0.0) n -= 1.0;
  return n;
}

// The six functions of the family before reciprocals: base 0..2 (sin, cos,
// tan) or, hyperbolic, 0..3 (sinh, cosh, tanh, exp); inverse ones likewise.
double RealFamily(int base, bool inverse, bool hyperbolic, double x) {
  if (!hyperbolic) {
    if (!inverse) return base == 0 ? std::sin(x) : base == 1 ? std::cos(x) : std::tan(x);
    return base == 0 ? std::asin(x) : base == 1 ? std::acos(x) : std::atan(x);
  }
  if (!inverse) {
    switch (base) {
      case 0:
        return std::sinh(x);
      case 1:
        return std::cosh(x);
      case 2:
        return std::tanh(x);
      default:
        return std::exp(x);
    }
  }
  switch (base) {
    case 0:
      return std::asinh(x);
    case 1:
      return std::acosh(x);
    case 2:
      return std::atanh(x);
    default:
      return RealLn(x);
  }
}

Cx ComplexFamily(int base, bool inverse, bool hyperbolic, Cx z) {
  if (!hyperbolic) {
    if (!inverse) return base == 0 ? ComplexSin(z) : base == 1 ? ComplexCos(z) : ComplexTan(z);
    return base == 0 ? ComplexArcsin(z) : base == 1 ? ComplexArccos(z) : ComplexArctan(z);
  }
  if (!inverse) {
    switch (base) {
      case 0:
        return ComplexSinh(z);
      case 1:
        return ComplexCosh(z);
      case 2:
        return ComplexTanh(z);
      default:
        return ComplexExp(z);
    }
  }
  switch (base) {
    case 0:
      return ComplexArcsinh(z);
    case 1:
      return ComplexArccosh(z);
    case 2:
      return ComplexArctanh(z);
    default:
      return ComplexLog(z);
  }
}

double RealElementary(int key, double x) {
  int base = key & 3;
  bool reciprocal = key & kTrigReciprocalBit;
  bool inverse = key & kTrigInverseBit;
  bool hyperbolic = key & kTrigHyperbolicBit;
  if (key == kKeyArccot) {
    // arctan(1/x), moved into (0, pi] for negative x (and x = -0, -infinity).
    double t = 1.0 / x;
    double r = std::atan(t);
    if (t < 0.0 || (t == 0.0 && x < 0.0)) r += pi;
    return r;
  }
  if (reciprocal && inverse) return RealFamily(base, true, hyperbolic, 1.0 / x);
  double r = RealFamily(base, inverse, hyperbolic, x);
  return reciprocal ? 1.0 / r : r;
}

Cx ComplexElementary(int key, Cx z) {
  int base = key & 3;
  bool reciprocal = key & kTrigReciprocalBit;
  bool inverse = key & kTrigInverseBit;
  bool hyperbolic = key & kTrigHyperbolicBit;
  if (reciprocal && inverse) return ComplexFamily(base, true, hyperbolic, ComplexReciprocal(z));
  Cx r = ComplexFamily(base, inverse, hyperbolic, z);
  return reciprocal ? ComplexReciprocal(r) : r;
}

NumScalar FromComplexResult(Cx z) {
  if (std::isnan(z.real()) || std::isnan(z.imag())) return NumScalar::Undefined();
  return NumScalar::Complex(z);
}

NumMatrix RealRow(std::initializer_list<double> values) {
  NumMatrix m(1, static_cast<int>(values.size()), NumKind::kReal);
  int k = 0;
  for (double v : values) m.re[k++] = v;
  return m;
}

// The components of a 2- or 3-vector: shapes 1xn and nx1, real values.
void VectorOf(const NumValue& arg, int n, double* out) {
  const NumMatrix* m = std::get_if<NumMatrix>(&arg);
  if (!m || !m->IsVector() || m->Size() != n)
    Raise(n == 2 ? kMsgNeedReal2Vector : kMsgNeedReal3Vector);
  for (int k = 0; k < n; ++k) out[k] = RealOfScalar(m->At(k));
}

NumScalar FlooredMod(const NumScalar& a, const NumScalar& b) {
  if (a.IsComplex() || b.IsComplex()) return NumScalar::Undefined();
  if (a.IsInteger() && b.IsInteger()) {
    if (b.integer == 0) return NumScalar::Undefined();
    int64_t r = int64_t{a.integer} % int64_t{b.integer};
    if (r != 0 && (a.integer < 0) != (b.integer < 0)) r += b.integer;
    return NumScalar::Int(static_cast<int32_t>(r));
  }
  double r = std::fmod(a.re, b.re);
  if (r != 0.0 && (a.re < 0.0) != (b.re < 0.0)) r += b.re;
  return NumScalar::Real(r);
}

}  // namespace

bool IsConstantKey(int key) {
  return key >= kKeyPi && key <= kKeyDegree;
}
bool IsGraphBoundKey(int key) {
  return key >= kKeyLeft && key <= kKeyRadius;
}
bool IsListKey(int key) {
  return key >= 0x80 && key <= 0xBF;
}
bool IsBesselKey(int key) {
  return key >= kKeyBesselJ && key <= kKeyBesselK;
}

bool IsElementaryKey(int key) {
  if ((key & ~0x37) != kKeyElementary) return false;
  bool hyperbolic = key & kTrigHyperbolicBit;
  bool reciprocal = key & kTrigReciprocalBit;
  // Base 3 exists only as exp and ln, without a reciprocal.
  return (key & 3) != 3 || (hyperbolic && !reciprocal);
}

bool IsOneArgumentKey(int key) {
  return (key >= kKeyLog && key <= kKeyRound) || (key >= kKeyBesselJ && key <= kKeyAiryBi) ||
         IsElementaryKey(key);
}

NumScalar PredefinedConstant(int key) {
  switch (key) {
    case kKeyPi:
      return NumScalar::Real(pi);
    case kKeyE:
      return NumScalar::Real(std::numbers::e);
    case kKeyInfinity:
      return NumScalar::Real(kInfinity);
    case kKeyImaginary:
      return NumScalar::Complex(0.0, 1.0);
    case kKeyDegree:
      return NumScalar::Real(pi / 180.0);
    default:
      Raise(kMsgPredefinedMisuse);
  }
}

double PredefinedReal(int key, double x) {
  if (IsElementaryKey(key)) return RealElementary(key, x);
  switch (key) {
    case kKeyLog:
      return x == 0.0 ? -kInfinity : x < 0.0 ? UndefinedValue() : std::log10(x);
    case kKeyRe:
      return x;
    case kKeyIm:
      return std::isnan(x) ? UndefinedValue() : 0.0;
    case kKeyGamma:
      return GammaReal(x);
    case kKeyFloor:
      return std::floor(x);
    case kKeyCeiling:
      return std::ceil(x);
    case kKeyRound:
      return RoundHalfEven(x);
    case kKeyBesselJ:
      return BesselJ(0.0, x);
    case kKeyBesselY:
      return BesselY(0.0, x);
    case kKeyBesselI:
      return BesselI(0.0, x);
    case kKeyBesselK:
      return BesselK(0.0, x);
    case kKeyAiryAi:
      return AiryAi(x);
    case kKeyAiryBi:
      return AiryBi(x);
    default:
      Raise(kMsgPredefinedMisuse);
  }
}

Cx PredefinedComplex(int key, Cx z) {
  if (IsElementaryKey(key)) return ComplexElementary(key, z);
  switch (key) {
    case kKeyLog:
      return ComplexDivide(ComplexLog(z), Cx(std::numbers::ln10, 0.0));
    case kKeyRe:
      return {z.real(), 0.0};
    case kKeyIm:
      return {z.imag(), 0.0};
    case kKeyGamma:
      return GammaComplex(z);
    case kKeyFloor:
    case kKeyCeiling:
    case kKeyRound:
    case kKeyBesselJ:
    case kKeyBesselY:
    case kKeyBesselI:
    case kKeyBesselK:
    case kKeyAiryAi:
    case kKeyAiryBi:
      return UndefinedComplex();
    default:
      Raise(kMsgPredefinedMisuse);
  }
}

NumScalar ApplyPredefinedFunction(int key, const NumScalar& arg) {
  if (!IsOneArgumentKey(key)) Raise(kMsgPredefinedMisuse);
  if (arg.IsComplex()) return FromComplexResult(PredefinedComplex(key, arg.AsComplex()));
  if (std::isnan(arg.re)) return NumScalar::Undefined();
  if (key == kKeyGamma) return GammaScalar(NumScalar::Real(arg.re));
  double r = PredefinedReal(key, arg.re);
  if (!std::isnan(r)) return NumScalar::Real(r);
  return FromComplexResult(PredefinedComplex(key, Cx(arg.re, 0.0)));
}

NumScalar ApplyBesselFunction(int key, double order, const NumScalar& arg) {
  if (key < kKeyBesselJ || key > kKeyAiryBi) Raise(kMsgPredefinedMisuse);
  if (arg.IsComplex()) return NumScalar::Undefined();
  double x = arg.re;
  switch (key) {
    case kKeyBesselJ:
      return NumScalar::Real(BesselJ(order, x));
    case kKeyBesselY:
      return NumScalar::Real(BesselY(order, x));
    case kKeyBesselI:
      return NumScalar::Real(BesselI(order, x));
    case kKeyBesselK:
      return NumScalar::Real(BesselK(order, x));
    case kKeyAiryAi:
      return NumScalar::Real(AiryAi(x));
    default:
      return NumScalar::Real(AiryBi(x));
  }
}

NumScalar LogWithBase(const NumScalar& x, const NumScalar& base) {
  if (!x.IsComplex()) {
    if (x.re == 0.0) return NumScalar::Real(-kInfinity);
    if (!(x.re > 0.0)) return NumScalar::Undefined();
    if (!base.IsComplex() && base.re > 0.0)
      return NumScalar::Real(std::log(x.re) / std::log(base.re));
  }
  return FromComplexResult(ComplexDivide(ComplexLog(x.AsComplex()), ComplexLog(base.AsComplex())));
}

NumValue ApplyListFunction(int key, const NumValue& arg) {
  double v[3];
  switch (key) {
    case kKeyFromPolar:
      VectorOf(arg, 2, v);
      return RealRow({v[0] * std::cos(v[1]), v[0] * std::sin(v[1])});
    case kKeyToPolar:
      VectorOf(arg, 2, v);
      return RealRow({std::hypot(v[0], v[1]), std::atan2(v[1], v[0])});
    case kKeyFromCylindrical:
      VectorOf(arg, 3, v);
      return RealRow({v[0] * std::cos(v[1]), v[0] * std::sin(v[1]), v[2]});
    case kKeyToCylindrical:
      VectorOf(arg, 3, v);
      return RealRow({std::hypot(v[0], v[1]), std::atan2(v[1], v[0]), v[2]});
    case kKeyFromSpherical: {
      VectorOf(arg, 3, v);
      double planar = v[0] * std::sin(v[2]);
      return RealRow({planar * std::cos(v[1]), planar * std::sin(v[1]), v[0] * std::cos(v[2])});
    }
    case kKeyToSpherical: {
      VectorOf(arg, 3, v);
      double planar = std::hypot(v[0], v[1]);
      return RealRow({std::hypot(planar, v[2]), std::atan2(v[1], v[0]), std::atan2(planar, v[2])});
    }
    case kKeyRowsOf:
    case kKeyElementsOf:
    case kKeyColumnsOf: {
      const NumMatrix* m = std::get_if<NumMatrix>(&arg);
      int rows = m ? m->rows : 1;
      int cols = m ? m->cols : 1;
      int count = key == kKeyRowsOf ? rows : key == kKeyColumnsOf ? cols : rows * cols;
      return NumScalar::Int(count);
    }
    case kKeyMod: {
      const NumMatrix* m = std::get_if<NumMatrix>(&arg);
      if (!m || m->rows != 1 || m->cols != 2) Raise(kMsgPredefinedMisuse);
      return FlooredMod(m->At(0), m->At(1));
    }
    default:
      Raise(kMsgPredefinedMisuse);
  }
}

}  // namespace lemmabox
