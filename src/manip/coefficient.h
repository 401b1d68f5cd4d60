// Numeric coefficients and exponents of the simplifier.
//
// A Coef is a fraction of two 32-bit integers while it fits, so 1/3 + 1/6
// gives 1/2 exactly; when an operation would need more than 32 bits it goes
// on as a double, and stays one. A zero denominator is kept exactly in
// products (x/0 is Infinity times x, 0/0 unknown); a sum of such a value
// goes on in double precision (an infinity or NaN).
#pragma once

#include <cstdint>

#include "mathobj/object.h"

namespace lemmabox {

class Coef {
 public:
  constexpr Coef() = default;
  static Coef Int(int64_t value);
  // n/d reduced, with d >= 0; a zero d keeps only the sign of n.
  static Coef Frac(int64_t n, int64_t d);
  static Coef Real(double value);

  bool Exact() const { return exact_; }
  // The fraction of an exact value.
  int32_t Num() const { return num_; }
  int32_t Den() const { return den_; }
  double Value() const;

  bool IsZero() const;
  bool IsOne() const;
  bool IsNegative() const;
  // An exact whole number (denominator 1).
  bool IsInteger() const { return exact_ && den_ == 1; }
  // The value is 0/0 or NaN.
  bool IsUndefined() const;

  friend Coef operator+(const Coef& a, const Coef& b);
  friend Coef operator*(const Coef& a, const Coef& b);
  friend Coef operator-(const Coef& a);
  friend Coef operator-(const Coef& a, const Coef& b) { return a + -b; }
  // 1/a; an exact zero gives 1/0.
  Coef Reciprocal() const;
  Coef Abs() const { return IsNegative() ? -*this : *this; }
  // a^n for a whole n (a negative n through the reciprocal).
  Coef Pow(int64_t n) const;

 private:
  // n/d reduced; falls back to a double when either part needs more than 32 bits.
  static Coef Reduced(__int128 n, __int128 d);

  bool exact_ = true;
  int32_t num_ = 0;
  int32_t den_ = 1;
  double real_ = 0;
};

// Bounds of the fractions that are read as exact multipliers and exponents:
// a numerator strictly inside +-50,000,000, a denominator within
// +-49,999,999.
constexpr int32_t kFractionNumeratorLimit = 50000000;
constexpr int32_t kFractionDenominatorLimit = 49999999;

// The value of a numeric literal: an integer, a number text (resolved in
// place), a real, or a negation of one. False for anything else.
bool ReadNumber(Handle obj, Coef& out);
// A quotient of two integer literals, possibly negated (a whole number counts
// too when wholeToo is set), within the bounds above when bounded is set;
// a zero denominator never counts.
bool ReadFraction(Handle obj, Coef& out, bool bounded, bool wholeToo);
// An exponent the simplifier can work with exactly: an integer literal or a
// bounded fraction of integer literals, possibly negated.
bool ReadRationalExponent(Handle obj, Coef& out);

// The coefficient as a term of a sum: an integer or a quotient of integers,
// negated when negative; a double as a real number (an infinity as the
// predefined Infinity, a NaN as a question mark); 1/0 as Infinity, 0/0 as a
// question mark.
Handle CoefObject(const Coef& c);
// An exponent as an expression: p, p/q, negated when negative; a double as a
// real.
Handle ExponentObject(const Coef& c);

}  // namespace lemmabox
