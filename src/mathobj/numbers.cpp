#include "mathobj/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "mathobj/constructors.h"
#include "mathobj/handles.h"
#include "mathobj/hooks.h"
#include "mathobj/predefined.h"
#include "shell/alerts.h"
#include "shell/charset.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

size_t TextLength(const char* text) {
  return strnlen(text, kTextFieldSize);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Where the first significant digit of a decimal mantissa stands: digits
// before the point count up, zeros right after it count down.
int LeadingDigitPosition(const char* p, const char* end) {
  while (p < end && *p == '0') ++p;
  int position = 0;
  while (p < end && IsDigit(*p)) ++position, ++p;
  if (position > 0 || p == end || *p != '.') return position;
  for (++p; p < end && *p == '0'; ++p) --position;
  return position;
}

// A number too large or too small for a double: infinity or zero, as the C
// library reads it.
double OutOfRange(const char* p, const char* end, bool negative) {
  const char* mark = p;
  while (mark < end && *mark != 'e' && *mark != 'E') ++mark;
  long exponent = 0;
  if (mark < end) {
    const char* q = mark + 1;
    if (q < end && *q == '+') ++q;
    std::from_chars(q, end, exponent);
  }
  bool overflow = LeadingDigitPosition(p, mark) + exponent > 0;
  double magnitude = overflow ? kInfinity : 0.0;
  return negative ? -magnitude : magnitude;
}

// Reads a decimal number from the front of text, as "%lf" does (leading blanks
// and sign allowed, the rest ignored), whatever the process's locale.
double ReadDecimal(const char* p, const char* end) {
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  bool negative = p < end && *p == '-';
  if (p < end && (*p == '+' || *p == '-')) ++p;
  if (p < end && (*p == '+' || *p == '-')) return 0;  // "%lf" takes one sign only
  double value = 0;
  auto [rest, error] = std::from_chars(p, end, value);
  if (error == std::errc::result_out_of_range) return OutOfRange(p, end, negative);
  if (error != std::errc()) return 0;
  (void)rest;
  return negative ? -value : value;
}

// Reads an integer from the front of text, as "%ld" does (leading blanks and
// one sign allowed, the rest ignored).
long ReadInteger(const char* p, const char* end) {
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  bool negative = p < end && *p == '-';
  if (p < end && (*p == '+' || *p == '-')) ++p;
  unsigned long value = 0;
  std::from_chars(p, end, value);
  return negative ? -static_cast<long>(value) : static_cast<long>(value);
}

}  // namespace

double NumberTextValue(const char* text) {
  size_t n = TextLength(text);
  if (n == 0) return 0;
  auto first = static_cast<uint8_t>(text[0]);
  if (first == '?') return kNaN;
  if (first == kCharInfinity) return kInfinity;
  // A signed infinity: only an explicit '+' keeps it positive.
  if (n >= 2 && static_cast<uint8_t>(text[1]) == kCharInfinity)
    return first == '+' ? kInfinity : -kInfinity;

  char buffer[kTextFieldSize + 2];
  size_t k = 0;
  if (text[0] == '.') buffer[k++] = '0';
  for (size_t i = 0; i < n; ++i)
    buffer[k++] = static_cast<uint8_t>(text[i]) == kCharExponent ? 'e' : text[i];
  // A dangling exponent: 'e' at the end, or followed only by a sign.
  if (k >= 1 && buffer[k - 1] == 'e')
    k -= 1;
  else if (k >= 2 && (buffer[k - 1] == '+' || buffer[k - 1] == '-') && buffer[k - 2] == 'e')
    k -= 2;
  double value = ReadDecimal(buffer, buffer + k);
  return std::isnan(value) ? kNaN : value;
}

double ObjNumericValue(Handle obj) {
  if (obj != nullptr) {
    switch (ObjType(obj)) {
      case kReal:
        return RealValue(obj);
      case kInteger:
        return IntegerValue(obj);
      case kNumberText:
        return NumberTextValue(ObjText(obj));
      case kNegation:
        if (ObjCount(obj) >= 1 && ObjSlot(obj, 0) != nullptr)
          return -ObjNumericValue(ObjSlot(obj, 0));
        break;
      default:
        if (gObjStoreHooks.predefinedKeyOf(obj) == kKeyInfinity) return kInfinity;
        break;
    }
  }
  // Callers only ask this of constants; carry on with the undefined value.
  Alert(kMsgNonConstantNumber);
  return kNaN;
}

TypeCode ResolveNumberText(Handle obj) {
  const char* text = ObjText(obj);
  size_t n = TextLength(text);
  auto first = n > 0 ? static_cast<uint8_t>(text[0]) : 0;
  bool special = first == '?' || first == kCharInfinity ||
                 (n >= 2 && static_cast<uint8_t>(text[1]) == kCharInfinity);
  bool plain = !special && n <= 9 && std::memchr(text, '.', n) == nullptr &&
               std::memchr(text, kCharExponent, n) == nullptr;
  if (plain) {
    // At most 9 digits always fit in 32 bits.
    auto value = static_cast<int32_t>(ReadInteger(text, text + n));
    std::memset(ObjPayload(obj), 0, kTextFieldSize);
    Hdr(obj).type = kInteger;
    IntegerValue(obj) = value;
    return kInteger;
  }
  double value = NumberTextValue(text);
  if (std::isnan(value)) return kNumberText;
  std::memset(ObjPayload(obj), 0, kTextFieldSize);
  Hdr(obj).type = kReal;
  RealValue(obj) = value;
  return kReal;
}

void IntegerToNumberText(Handle obj) {
  long value = IntegerValue(obj);
  ResizeObjHandle(obj, kObjHeaderSize + kTextFieldSize);
  std::memset(ObjPayload(obj), 0, kTextFieldSize);
  std::snprintf(ObjText(obj), kTextFieldSize, "%-1ld", value);
  Hdr(obj).type = kNumberText;
}

}  // namespace lemmabox
