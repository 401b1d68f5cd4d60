#include "manip/coefficient.h"

#include <cmath>
#include <limits>

#include "mathobj/constructors.h"
#include "mathobj/numbers.h"
#include "mathobj/predefined.h"
#include "mathobj/types.h"

namespace lemmabox {
namespace {

using Wide = __int128;

// The most negative 32-bit value is left out so that negating never overflows.
bool Fits(Wide v) {
  return v > std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

Wide Gcd(Wide a, Wide b) {
  if (a < 0) a = -a;
  if (b < 0) b = -b;
  while (b != 0) {
    Wide t = a % b;
    a = b;
    b = t;
  }
  return a;
}

bool IsIntegerLiteral(Handle h) {
  return h != nullptr && ObjType(h) == kInteger;
}

}  // namespace

Coef Coef::Int(int64_t value) {
  return Reduced(value, 1);
}

Coef Coef::Frac(int64_t n, int64_t d) {
  return Reduced(n, d);
}

Coef Coef::Reduced(Wide n, Wide d) {
  if (d < 0) {
    n = -n;
    d = -d;
  }
  Coef c;
  if (d == 0) {
    c.num_ = n > 0 ? 1 : n < 0 ? -1 : 0;
    c.den_ = 0;
    return c;
  }
  Wide g = Gcd(n, d);
  if (g > 1) {
    n /= g;
    d /= g;
  }
  if (!Fits(n) || !Fits(d)) return Real(static_cast<double>(n) / static_cast<double>(d));
  c.num_ = static_cast<int32_t>(n);
  c.den_ = static_cast<int32_t>(d);
  return c;
}

Coef Coef::Real(double value) {
  Coef c;
  c.exact_ = false;
  c.real_ = value;
  return c;
}

double Coef::Value() const {
  if (!exact_) return real_;
  if (den_ == 0)
    return num_ > 0   ? std::numeric_limits<double>::infinity()
           : num_ < 0 ? -std::numeric_limits<double>::infinity()
                      : std::numeric_limits<double>::quiet_NaN();
  return static_cast<double>(num_) / static_cast<double>(den_);
}

bool Coef::IsZero() const {
  return exact_ ? num_ == 0 && den_ != 0 : real_ == 0;
}

bool Coef::IsOne() const {
  return exact_ ? num_ == 1 && den_ == 1 : real_ == 1;
}

bool Coef::IsNegative() const {
  return exact_ ? num_ < 0 : real_ < 0;
}

bool Coef::IsUndefined() const {
  return exact_ ? num_ == 0 && den_ == 0 : std::isnan(real_);
}

Coef operator+(const Coef& a, const Coef& b) {
  if (a.exact_ && b.exact_ && a.den_ != 0 && b.den_ != 0)
    return Coef::Reduced(Wide{a.num_} * b.den_ + Wide{b.num_} * a.den_, Wide{a.den_} * b.den_);
  return Coef::Real(a.Value() + b.Value());
}

Coef operator*(const Coef& a, const Coef& b) {
  if (a.exact_ && b.exact_) return Coef::Reduced(Wide{a.num_} * b.num_, Wide{a.den_} * b.den_);
  return Coef::Real(a.Value() * b.Value());
}

Coef operator-(const Coef& a) {
  if (!a.exact_) return Coef::Real(-a.real_);
  Coef c = a;
  c.num_ = -a.num_;
  return c;
}

Coef Coef::Reciprocal() const {
  if (!exact_) return Real(1.0 / real_);
  return Frac(den_, num_);
}

Coef Coef::Pow(int64_t n) const {
  if (n < 0) return Reciprocal().Pow(-n);
  if (exact_ && (IsZero() || IsOne() || (num_ == -1 && den_ == 1)))
    return n == 0 ? Int(1) : (num_ == -1 && n % 2 == 0) ? Int(1) : *this;
  // Anything else exceeds 32 bits long before 64 squarings.
  if (!exact_ || n > 64) return Real(std::pow(Value(), static_cast<double>(n)));
  Coef result = Int(1);
  Coef square = *this;
  for (int64_t k = n; k > 0; k >>= 1) {
    if (k & 1) result = result * square;
    if (k > 1) square = square * square;
  }
  return result;
}

bool ReadNumber(Handle obj, Coef& out) {
  if (obj == nullptr) return false;
  switch (ObjType(obj)) {
    case kInteger:
      out = Coef::Int(IntegerValue(obj));
      return true;
    case kNumberText: {
      TypeCode now = ResolveNumberText(obj);
      if (now == kNumberText) return false;
      return ReadNumber(obj, out);
    }
    case kReal:
      out = Coef::Real(RealValue(obj));
      return true;
    case kNegation:
      if (ObjCount(obj) != 1 || !ReadNumber(ObjSlot(obj, 0), out)) return false;
      out = -out;
      return true;
    default:
      return false;
  }
}

bool ReadFraction(Handle obj, Coef& out, bool bounded, bool wholeToo) {
  if (obj == nullptr) return false;
  if (ObjType(obj) == kNegation) {
    if (ObjCount(obj) != 1 || !ReadFraction(ObjSlot(obj, 0), out, bounded, wholeToo)) return false;
    out = -out;
    return true;
  }
  if (wholeToo && IsIntegerLiteral(obj)) {
    out = Coef::Int(IntegerValue(obj));
    return true;
  }
  if (ObjType(obj) != kQuotient || ObjCount(obj) != 2) return false;
  Handle n = ObjSlot(obj, 0);
  Handle d = ObjSlot(obj, 1);
  if (!IsIntegerLiteral(n) || !IsIntegerLiteral(d) || IntegerValue(d) == 0) return false;
  if (bounded &&
      (IntegerValue(n) >= kFractionNumeratorLimit || IntegerValue(d) > kFractionDenominatorLimit))
    return false;
  out = Coef::Frac(IntegerValue(n), IntegerValue(d));
  return true;
}

bool ReadRationalExponent(Handle obj, Coef& out) {
  return ReadFraction(obj, out, true, true);
}

Handle CoefObject(const Coef& c) {
  if (!c.Exact()) return NewReal(c.Value());
  if (c.Den() == 0) {
    if (c.Num() == 0) return NewQuestionMark();
    Handle infinity = NewPredefinedName(kKeyInfinity);
    return c.Num() < 0 ? NewNegation(infinity) : infinity;
  }
  if (c.Den() == 1) return NewInteger(c.Num());
  Handle q = NewQuotient(NewInteger(c.Num() < 0 ? -c.Num() : c.Num()), NewInteger(c.Den()));
  return c.Num() < 0 ? NewNegation(q) : q;
}

Handle ExponentObject(const Coef& c) {
  return CoefObject(c);
}

}  // namespace lemmabox
