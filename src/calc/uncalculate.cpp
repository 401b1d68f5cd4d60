#include "calc/uncalculate.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <numeric>
#include <vector>

#include "calc/predefined_math.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/numbers.h"
#include "mathobj/slots.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

constexpr int kFractionDenominator = 1000;
// A fraction with a longer numerator is no familiar number (12345.678 is
// not 6172839/500 to a reader); whole numbers may be as long as they fit.
constexpr int64_t kFractionNumerator = 100000;
constexpr int kMultipleDenominator = 100;
constexpr int kPiDenominator = 360;
constexpr int64_t kMultipleNumerator = 10000;
constexpr int kLargestRoot = 97;
constexpr int kLargestQuadraticRoot = 29;
constexpr int kQuadraticBound = 12;

bool Agrees(double candidate, double x) {
  return std::fabs(candidate - x) <= kNumericTolerance * std::fabs(x);
}

struct Fraction {
  int64_t p = 0;
  int64_t q = 1;
};

// The simplest fraction p/q (q <= maxDenominator, |p| <= maxNumerator) whose
// value agrees with x, searched among the convergents of x's continued
// fraction, which are its best approximations.
bool FindFraction(double x, int maxDenominator, int64_t maxNumerator, Fraction& out) {
  if (!std::isfinite(x)) return false;
  double ax = std::fabs(x);
  double r = ax;
  int64_t p0 = 0, q0 = 1, p1 = 1, q1 = 0;
  for (int step = 0; step < 64; ++step) {
    double a = std::floor(r);
    if (a > 1e12) return false;
    int64_t ai = static_cast<int64_t>(a);
    int64_t p2 = ai * p1 + p0;
    int64_t q2 = ai * q1 + q0;
    if (q2 > maxDenominator || p2 > maxNumerator) return false;
    if (Agrees(static_cast<double>(p2) / static_cast<double>(q2), ax)) {
      out = {x < 0 ? -p2 : p2, q2};
      return true;
    }
    p0 = p1;
    q0 = q1;
    p1 = p2;
    q1 = q2;
    double rest = r - a;
    if (rest <= 0) return false;
    r = 1.0 / rest;
  }
  return false;
}

bool IsSquareFree(int n) {
  for (int d = 2; d * d <= n; ++d)
    if (n % (d * d) == 0) return false;
  return true;
}

// --- Building the forms; every builder makes its predefined name first, so
// that a notebook without it fails before anything else is built. ---

Handle NewWhole(int64_t k) {
  return NewInteger(static_cast<int32_t>(k));
}

Handle Negated(bool negative, Handle h) {
  return negative ? NewNegation(h) : h;
}

Handle FractionObj(Fraction f) {
  int64_t p = f.p < 0 ? -f.p : f.p;
  if (f.q == 1) return Negated(f.p < 0, NewWhole(p));
  return Negated(f.p < 0, NewQuotient(NewWhole(p), NewWhole(f.q)));
}

// (p/q) c: c, p c, c / q or (p c) / q, negated for p < 0.
Handle MultipleObj(Fraction f, Handle c) {
  int64_t p = f.p < 0 ? -f.p : f.p;
  Handle numerator = p == 1 ? c : NewProduct(NewWhole(p), c);
  return Negated(f.p < 0, f.q == 1 ? numerator : NewQuotient(numerator, NewWhole(f.q)));
}

// p / (q c).
Handle DividedObj(Fraction f, Handle c) {
  int64_t p = f.p < 0 ? -f.p : f.p;
  Handle denominator = f.q == 1 ? c : NewProduct(NewWhole(f.q), c);
  return Negated(f.p < 0, NewQuotient(NewWhole(p), denominator));
}

Handle SqrtOf(int n) {
  return NewSqrt(NewInteger(n));
}

// A predefined name, or null when the notebook does not declare it.
Handle TryPredefined(int key) {
  Handle name = nullptr;
  if (CatchFailure([&] { name = NewPredefinedName(key); }) != 0) {
    ClearOffendingObject();
    return nullptr;
  }
  return name;
}

Handle PredefinedMultiple(Fraction f, int key, int power) {
  Handle c = TryPredefined(key);
  if (c == nullptr) return nullptr;
  if (power == 2) c = NewPower(c, NewInteger(2));
  return MultipleObj(f, c);
}

// --- The families ---

Handle RootMultiple(double ax) {
  for (int n = 2; n <= kLargestRoot; ++n) {
    if (!IsSquareFree(n)) continue;
    Fraction f;
    if (FindFraction(ax / std::sqrt(static_cast<double>(n)), kMultipleDenominator,
                     kMultipleNumerator, f) &&
        Agrees(static_cast<double>(f.p) / static_cast<double>(f.q) * std::sqrt(double(n)), ax))
      return MultipleObj(f, SqrtOf(n));
  }
  return nullptr;
}

// (a + b sqrt(n)) / c with a != 0 and b != 0.
Handle QuadraticSurd(double x) {
  for (int n = 2; n <= kLargestQuadraticRoot; ++n) {
    if (!IsSquareFree(n)) continue;
    double root = std::sqrt(static_cast<double>(n));
    for (int c = 1; c <= kQuadraticBound; ++c) {
      for (int magnitude = 1; magnitude <= kQuadraticBound; ++magnitude) {
        for (int b : {magnitude, -magnitude}) {
          double a = std::nearbyint(c * x - b * root);
          if (a == 0 || std::fabs(a) > kMultipleNumerator) continue;
          if (!Agrees((a + b * root) / c, x)) continue;
          if (std::gcd(std::gcd(static_cast<int64_t>(a), int64_t{b}), int64_t{c}) != 1) continue;
          Handle surd =
              b == 1 || b == -1 ? SqrtOf(n) : NewProduct(NewInteger(magnitude), SqrtOf(n));
          Handle sum = NewSum(NewWhole(static_cast<int64_t>(a)), Negated(b < 0, surd));
          return c == 1 ? sum : NewQuotient(sum, NewInteger(c));
        }
      }
    }
  }
  return nullptr;
}

// x = (p/q) k for the constant k of a family.
Handle ConstantMultiple(double ax) {
  struct Family {
    double value;
    int denominator;
    int key;
    int power;
  };
  constexpr double kPi = std::numbers::pi;
  constexpr double kE = std::numbers::e;
  const Family multiples[] = {
      {kPi, kPiDenominator, kKeyPi, 1},
      {kPi * kPi, kMultipleDenominator, kKeyPi, 2},
      {kE, kMultipleDenominator, kKeyE, 1},
      {kE * kE, kMultipleDenominator, kKeyE, 2},
  };
  Fraction f;
  for (const Family& family : multiples) {
    if (FindFraction(ax / family.value, family.denominator, kMultipleNumerator, f) &&
        Agrees(static_cast<double>(f.p) / static_cast<double>(f.q) * family.value, ax)) {
      if (Handle h = PredefinedMultiple(f, family.key, family.power)) return h;
    }
  }
  // sqrt(pi), 1/pi, 1/e.
  if (FindFraction(ax / std::sqrt(kPi), kMultipleDenominator, kMultipleNumerator, f)) {
    if (Handle pi = TryPredefined(kKeyPi)) return MultipleObj(f, NewSqrt(pi));
  }
  for (int key : {kKeyPi, kKeyE}) {
    double k = key == kKeyPi ? kPi : kE;
    if (FindFraction(ax * k, kMultipleDenominator, kMultipleNumerator, f) &&
        Agrees(static_cast<double>(f.p) / (static_cast<double>(f.q) * k), ax)) {
      if (Handle c = TryPredefined(key)) return DividedObj(f, c);
    }
  }
  // Logarithms.
  for (int n : {2, 3, 5, 10}) {
    double ln = std::log(static_cast<double>(n));
    if (!FindFraction(ax / ln, kMultipleDenominator, kMultipleNumerator, f)) continue;
    if (!Agrees(static_cast<double>(f.p) / static_cast<double>(f.q) * ln, ax)) continue;
    Handle apply = nullptr;
    if (CatchFailure([&] { apply = NewApply(kKeyLn, NewInteger(n)); }) != 0) {
      ClearOffendingObject();
      continue;
    }
    return MultipleObj(f, apply);
  }
  return nullptr;
}

bool IsNumberLeaf(TypeCode t) {
  return t == 'i' || t == 'r' || t == 'n';
}

double LeafValue(Handle leaf) {
  switch (ObjType(leaf)) {
    case 'i':
      return IntegerValue(leaf);
    case 'r':
      return RealValue(leaf);
    default:
      return NumberTextValue(ObjText(leaf));
  }
}

}  // namespace

Handle RecogniseReal(double x) {
  if (!std::isfinite(x)) return nullptr;
  if (x == 0) return NewZero();
  // The surd family works on the signed value, the others on |x|.
  double ax = std::fabs(x);
  Fraction f;
  if (FindFraction(ax, kFractionDenominator, INT32_MAX, f) &&
      (f.q == 1 || f.p < kFractionNumerator))
    return Negated(x < 0, FractionObj(f));
  if (Handle h = RootMultiple(ax)) return Negated(x < 0, h);
  if (Handle h = QuadraticSurd(x)) return h;
  if (Handle h = ConstantMultiple(ax)) return Negated(x < 0, h);
  return nullptr;
}

Handle RecogniseComplex(double re, double im) {
  if (im == 0 || ComplexCountsAsReal(re, im)) return RecogniseReal(re);
  Handle imaginary = RecogniseReal(std::fabs(im));
  if (imaginary == nullptr) return nullptr;
  Handle real = nullptr;
  if (re != 0) {
    real = RecogniseReal(re);
    if (real == nullptr) {
      DisposeObj(imaginary);
      return nullptr;
    }
  }
  Handle i = TryPredefined(kKeyImaginary);
  if (i == nullptr) {
    DisposeObj(imaginary);
    DisposeObj(real);
    return nullptr;
  }
  bool one = ObjType(imaginary) == 'i' && IntegerValue(imaginary) == 1;
  Handle part;
  if (one) {
    DisposeObj(imaginary);
    part = i;
  } else {
    part = NewProduct(imaginary, i);
  }
  part = Negated(im < 0, part);
  return real == nullptr ? part : NewSum(real, part);
}

Handle RecogniseScalar(const NumScalar& value) {
  if (value.IsComplex()) return RecogniseComplex(value.re, value.im);
  return RecogniseReal(value.re);
}

Handle UnCalculate(Handle expr) {
  if (expr == nullptr) return nullptr;
  std::vector<Handle> leaves;
  WalkTree(
      expr,
      [&](Handle h) {
        if (IsNumberLeaf(ObjType(h))) leaves.push_back(h);
      },
      [](Handle) {});
  double sum = 0;
  int counted = 0;
  for (Handle leaf : leaves) {
    double v = std::fabs(LeafValue(leaf));
    if (!std::isfinite(v)) continue;
    sum += v;
    ++counted;
  }
  double tiny = counted > 0 ? sum / counted * 30 * kNumericTolerance : 0;
  for (Handle leaf : leaves) {
    if (ObjType(leaf) == 'i') continue;
    double v = LeafValue(leaf);
    if (!std::isfinite(v)) continue;
    Handle exact = std::fabs(v) < tiny ? NewZero() : RecogniseReal(v);
    if (exact == nullptr) continue;
    if (leaf == expr) {
      DisposeObj(expr);
      return exact;
    }
    ReplaceInParent(leaf, exact);
  }
  return expr;
}

}  // namespace lemmabox
