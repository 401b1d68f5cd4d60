// The predefined functions by key number: real and complex versions, the
// real-then-complex retry, rounding, the list functions and misuse.
#include "calc/predefined_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "calc/numlib_bessel.h"
#include "calc/numlib_reference.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

using S = NumScalar;
using Cx = std::complex<double>;
constexpr double kPi = 3.141592653589793;

TEST(PredefinedKeys, ConstantsAndTheFamilyEncoding) {
  EXPECT_EQ(PredefinedConstant(kKeyPi).re, kPi);
  EXPECT_EQ(PredefinedConstant(kKeyE).re, 2.718281828459045);
  EXPECT_EQ(PredefinedConstant(kKeyInfinity).re, kInfinity);
  S i = PredefinedConstant(kKeyImaginary);
  EXPECT_TRUE(i.IsComplex());
  EXPECT_EQ(i.im, 1.0);
  EXPECT_EQ(PredefinedConstant(kKeyDegree).re, 0.017453292519943295);
  EXPECT_RAISES(kMsgPredefinedMisuse, PredefinedConstant(kKeyDifferential));
  // 256 + 16 * family + function: exactly the 26 names of the family.
  int count = 0;
  for (int key = 0x100; key < 0x140; ++key) count += IsElementaryKey(key) ? 1 : 0;
  EXPECT_EQ(count, 26);
  for (int key : {0x103, 0x107, 0x113, 0x127, 0x137, 0x140, 0x1FF})
    EXPECT_FALSE(IsElementaryKey(key));
  for (int key : {0x123, 0x133, 0x106, 0x136}) EXPECT_TRUE(IsElementaryKey(key));
  for (int key : {0x00, 0x10, 0x27, 0x36, 0x40, 0x80, 0xA0, 0x103}) {
    EXPECT_RAISES(kMsgPredefinedMisuse, ApplyPredefinedFunction(key, S::Real(1.0))) << key;
  }
  EXPECT_TRUE(IsGraphBoundKey(kKeyRadius));
  EXPECT_TRUE(IsListKey(kKeyMod));
}

TEST(PredefinedFunctions, RealValuesOfTheFamily) {
  struct Case {
    int key;
    double x;
    double want;
  };
  const Case cases[] = {
      {0x100, 0.5, std::sin(0.5)},
      {0x101, 0.5, std::cos(0.5)},
      {0x102, 0.5, std::tan(0.5)},
      {0x104, 0.5, 1 / std::sin(0.5)},
      {0x105, 0.5, 1 / std::cos(0.5)},
      {0x106, 0.5, 1 / std::tan(0.5)},
      {0x110, 0.5, kPi / 6},
      {0x111, 0.5, kPi / 3},
      {0x112, 1.0, kPi / 4},
      {0x114, 2.0, kPi / 6},
      {0x115, 2.0, kPi / 3},
      {0x116, 1.0, kPi / 4},
      {0x116, -1.0, 3 * kPi / 4},
      {0x116, 0.0, kPi / 2},
      {0x116, -0.0, kPi / 2},
      {0x116, -kInfinity, kPi},
      {0x120, 1.0, std::sinh(1.0)},
      {0x121, 1.0, std::cosh(1.0)},
      {0x122, 1.0, std::tanh(1.0)},
      {0x123, 1.0, 2.718281828459045},
      {0x124, 1.0, 1 / std::sinh(1.0)},
      {0x125, 1.0, 1 / std::cosh(1.0)},
      {0x126, 1.0, 1 / std::tanh(1.0)},
      {0x130, -1e8, -std::log(2e8)},
      {0x130, 1e-20, 1e-20},
      {0x131, 1e200, std::log(2.0) + 200 * std::log(10.0)},
      {0x132, 1e-20, 1e-20},
      {0x132, 1.0, kInfinity},
      {0x133, 0.0, -kInfinity},
      {0x133, 1.0, 0.0},
      {0x134, 2.0, std::asinh(0.5)},
      {0x135, 0.5, std::acosh(2.0)},
      {0x136, 2.0, std::atanh(0.5)},
      {kKeyLog, 1000.0, 3.0},
      {kKeyLog, 0.0, -kInfinity},
      {kKeyRe, -2.5, -2.5},
      {kKeyIm, -2.5, 0.0},
      {kKeyFloor, -2.5, -3.0},
      {kKeyCeiling, -2.5, -2.0},
      {kKeyRound, 2.5, 2.0},
      {kKeyRound, 3.5, 4.0},
      {kKeyRound, -2.5, -2.0},
      {kKeyRound, -3.5, -4.0},
      {kKeyRound, 0.49999999999999994, 0.0},
      {kKeyRound, 4503599627370497.0, 4503599627370497.0},
      {kKeyBesselJ, 2.0, BesselJ(0, 2.0)},
      {kKeyAiryAi, 0.0, 0.35502805388781724},
  };
  for (const Case& c : cases) {
    S r = ApplyPredefinedFunction(c.key, S::Real(c.x));
    EXPECT_EQ(r.kind, NumKind::kReal) << std::hex << c.key << " " << c.x;
    if (std::isinf(c.want)) {
      EXPECT_EQ(r.re, c.want) << std::hex << c.key;
    } else {
      EXPECT_NEAR(r.re, c.want, 4e-16 * std::fabs(c.want) + 1e-300)
          << std::hex << c.key << " " << c.x;
    }
  }
  // An integer argument goes to the real version too.
  EXPECT_NEAR(ApplyPredefinedFunction(kKeySin, S::Int(1)).re, std::sin(1.0), 1e-16);
  S gamma = ApplyPredefinedFunction(kKeyGamma, S::Int(6));
  EXPECT_EQ(gamma.kind, NumKind::kInteger);
  EXPECT_EQ(gamma.integer, 120);
}

// Where the real version has no value the complex one is tried at (x, 0).
TEST(PredefinedFunctions, ComplexRetryAndComplexArguments) {
  struct Case {
    int key;
    S arg;
    Cx want;
  };
  const double a = std::log(2.0 + std::sqrt(3.0));
  const Case cases[] = {
      {kKeyLn, S::Real(-1.0), {0.0, kPi}},
      {kKeyLn, S::Real(-2.0), {std::log(2.0), kPi}},
      {kKeyLog, S::Real(-10.0), {1.0, kPi / std::log(10.0)}},
      {kKeyArcsin, S::Real(2.0), {kPi / 2, -a}},
      {kKeyArccos, S::Real(2.0), {0.0, a}},
      {kKeyArccosh, S::Real(0.5), {0.0, kPi / 3}},
      {kKeyArctanh, S::Real(2.0), {0.5 * std::log(3.0), kPi / 2}},
      {0x115, S::Real(0.5), {0.0, a}},  // arcsec 0.5 = arccos 2
      {kKeyExp, S::Complex(0.0, kPi / 2), {0.0, 1.0}},
      {kKeySin, S::Complex(0.0, 1.0), {0.0, std::sinh(1.0)}},
      {kKeyCot, S::Complex(0.0, 1.0), {0.0, -1 / std::tanh(1.0)}},
      {kKeyArccot, S::Complex(0.0, 2.0), {0.0, -0.5 * std::log(3.0)}},
      {kKeyRe, S::Complex(3.0, 4.0), {3.0, 0.0}},
      {kKeyIm, S::Complex(3.0, 4.0), {4.0, 0.0}},
      {kKeyLog, S::Complex(0.0, 10.0), {1.0, kPi / 2 / std::log(10.0)}},
  };
  for (const Case& c : cases) {
    S r = ApplyPredefinedFunction(c.key, c.arg);
    EXPECT_NEAR(r.re, c.want.real(), 4e-16 * std::max(1.0, std::abs(c.want))) << std::hex << c.key;
    EXPECT_NEAR(r.im, c.want.imag(), 4e-16 * std::max(1.0, std::abs(c.want))) << std::hex << c.key;
    EXPECT_EQ(r.IsComplex(), c.want.imag() != 0.0) << std::hex << c.key;
  }
  // No complex version: floor, round, the Bessel and Airy functions.
  for (int key : {kKeyFloor, kKeyRound, kKeyBesselJ, kKeyAiryBi}) {
    EXPECT_TRUE(IsUndefined(ApplyPredefinedFunction(key, S::Complex(1.0, 1.0)).re)) << key;
  }
  EXPECT_TRUE(IsUndefined(ApplyPredefinedFunction(kKeyBesselY, S::Real(-1.0)).re));
  EXPECT_TRUE(IsUndefined(ApplyPredefinedFunction(kKeyIm, S::Undefined()).re));
  EXPECT_TRUE(IsUndefined(ApplyPredefinedFunction(kKeySin, S::Undefined()).re));
  S gamma = ApplyPredefinedFunction(kKeyGamma, S::Complex(1.0, 1.0));
  EXPECT_NEAR(gamma.re, 0.4980156681183560, 1e-14);
}

TEST(PredefinedFunctions, SubscriptedBesselAndLogarithms) {
  EXPECT_DOUBLE_EQ(ApplyBesselFunction(kKeyBesselJ, 2.5, S::Real(3.0)).re, BesselJ(2.5, 3.0));
  EXPECT_DOUBLE_EQ(ApplyBesselFunction(kKeyBesselK, -1.0, S::Int(2)).re, BesselK(1.0, 2.0));
  EXPECT_TRUE(IsUndefined(ApplyBesselFunction(kKeyBesselI, 1.0, S::Complex(1, 1)).re));
  EXPECT_RAISES(kMsgPredefinedMisuse, ApplyBesselFunction(kKeyLog, 1.0, S::Real(1.0)));

  EXPECT_NEAR(LogWithBase(S::Real(8.0), S::Int(2)).re, 3.0, 1e-15);
  EXPECT_EQ(LogWithBase(S::Real(0.0), S::Int(2)).re, -kInfinity);
  EXPECT_TRUE(IsUndefined(LogWithBase(S::Real(-8.0), S::Int(2)).re));
  S z = LogWithBase(S::Complex(0.0, 1.0), S::Real(std::exp(1.0)));
  EXPECT_NEAR(z.re, 0.0, 1e-16);
  EXPECT_NEAR(z.im, kPi / 2, 1e-15);
}

NumMatrix Row(std::initializer_list<NumScalar> entries) {
  return PackMatrix(1, static_cast<int>(entries.size()), entries);
}

void ExpectRow(const NumValue& v, std::vector<double> want) {
  const NumMatrix& m = std::get<NumMatrix>(v);
  EXPECT_EQ(m.rows, 1);
  EXPECT_EQ(m.kind, NumKind::kReal);
  ASSERT_EQ(m.re.size(), want.size());
  for (size_t k = 0; k < want.size(); ++k) EXPECT_NEAR(m.re[k], want[k], 1e-15) << k;
}

TEST(ListFunctions, CoordinateConversions) {
  ExpectRow(ApplyListFunction(kKeyFromPolar, Row({S::Int(2), S::Real(kPi / 2)})), {0.0, 2.0});
  ExpectRow(ApplyListFunction(kKeyToPolar, Row({S::Int(-1), S::Int(0)})), {1.0, kPi});
  ExpectRow(ApplyListFunction(kKeyFromCylindrical, Row({S::Int(1), S::Real(kPi), S::Int(5)})),
            {-1.0, 0.0, 5.0});
  ExpectRow(ApplyListFunction(kKeyToCylindrical, Row({S::Int(0), S::Int(3), S::Int(-1)})),
            {3.0, kPi / 2, -1.0});
  ExpectRow(ApplyListFunction(kKeyFromSpherical, Row({S::Int(2), S::Int(0), S::Real(kPi / 2)})),
            {2.0, 0.0, 0.0});
  ExpectRow(ApplyListFunction(kKeyToSpherical, Row({S::Int(0), S::Int(0), S::Int(-3)})),
            {3.0, 0.0, kPi});
  // A column works too; a complex component that is practically real is its real part.
  NumMatrix column = PackMatrix(2, 1, {S::Complex(1.0, 1e-20), S::Int(0)});
  ExpectRow(ApplyListFunction(kKeyToPolar, column), {1.0, 0.0});
  NumValue round = ApplyListFunction(kKeyToPolar, Row({S::Complex(1, 1), S::Int(0)}));
  EXPECT_TRUE(IsUndefined(std::get<NumMatrix>(round).re[0]));
  EXPECT_RAISES(kMsgNeedReal2Vector, ApplyListFunction(kKeyFromPolar, Row({S::Int(1)})));
  EXPECT_RAISES(kMsgNeedReal2Vector, ApplyListFunction(kKeyToPolar, S::Int(1)));
  EXPECT_RAISES(kMsgNeedReal3Vector,
                ApplyListFunction(kKeyToSpherical, Row({S::Int(1), S::Int(2)})));
}

TEST(ListFunctions, SizesAndMod) {
  NumMatrix m(2, 3, NumKind::kReal);
  EXPECT_EQ(std::get<S>(ApplyListFunction(kKeyRowsOf, m)).integer, 2);
  EXPECT_EQ(std::get<S>(ApplyListFunction(kKeyColumnsOf, m)).integer, 3);
  EXPECT_EQ(std::get<S>(ApplyListFunction(kKeyElementsOf, m)).integer, 6);
  EXPECT_EQ(std::get<S>(ApplyListFunction(kKeyElementsOf, S::Real(1))).integer, 1);

  struct Case {
    S a;
    S b;
    NumKind kind;
    double want;
  };
  const Case cases[] = {
      {S::Int(7), S::Int(3), NumKind::kInteger, 1},
      {S::Int(-7), S::Int(3), NumKind::kInteger, 2},
      {S::Int(7), S::Int(-3), NumKind::kInteger, -2},
      {S::Int(-7), S::Int(-3), NumKind::kInteger, -1},
      {S::Int(6), S::Int(-3), NumKind::kInteger, 0},
      {S::Int(-2147483647 - 1), S::Int(-1), NumKind::kInteger, 0},
      {S::Real(-7.5), S::Int(2), NumKind::kReal, 0.5},
      {S::Real(7.5), S::Real(-2), NumKind::kReal, -0.5},
      {S::Int(5), S::Int(0), NumKind::kReal, std::nan("")},
      {S::Real(5), S::Real(0), NumKind::kReal, std::nan("")},
      {S::Complex(5, 1), S::Int(2), NumKind::kReal, std::nan("")},
  };
  for (const Case& c : cases) {
    S r = std::get<S>(ApplyListFunction(kKeyMod, Row({c.a, c.b})));
    EXPECT_EQ(r.kind, c.kind);
    if (std::isnan(c.want)) {
      EXPECT_TRUE(IsUndefined(r.re));
    } else {
      EXPECT_EQ(r.re, c.want) << c.a.re << " mod " << c.b.re;
    }
  }
  EXPECT_RAISES(kMsgPredefinedMisuse, ApplyListFunction(kKeyMod, S::Int(3)));
  EXPECT_RAISES(kMsgPredefinedMisuse,
                ApplyListFunction(kKeyMod, PackMatrix(2, 1, {S::Int(1), S::Int(2)})));
  EXPECT_RAISES(kMsgPredefinedMisuse, ApplyListFunction(0x86, Row({S::Int(1), S::Int(2)})));
  EXPECT_RAISES(kMsgPredefinedMisuse, ApplyListFunction(0xBF, Row({S::Int(1), S::Int(2)})));
}

}  // namespace
}  // namespace lemmabox
