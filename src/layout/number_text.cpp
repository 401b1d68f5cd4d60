#include "layout/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "shell/charset.h"

namespace lemmabox {
namespace {

constexpr int32_t kMaxDisplayDigits = 15;
// More digits than a double holds only print noise.
constexpr int32_t kMaxPrintedDigits = 17;

std::string PrintG(double value, int32_t digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%-1.*g", std::clamp(digits, 0, kMaxPrintedDigits), value);
  return text;
}

// No digit 0..8 before the exponent.
bool MantissaAllNines(const std::string& text) {
  bool anyDigit = false;
  for (char c : text) {
    if (c == 'e' || c == 'E') break;
    if (c >= '0' && c <= '8') return false;
    if (c == '9') anyDigit = true;
  }
  return anyDigit;
}

// 'e' becomes the exponent marker (unless kept), a '+' after it goes, and
// the exponent loses its leading zeros; a '-' stays.
std::string RewriteExponent(const std::string& text, bool keepE) {
  size_t e = text.find('e');
  if (e == std::string::npos) return text;
  std::string out = text.substr(0, e);
  out += keepE ? 'e' : static_cast<char>(kCharExponent);
  size_t i = e + 1;
  if (i < text.size() && text[i] == '+') ++i;
  if (i < text.size() && text[i] == '-') out += text[i++];
  while (i + 1 < text.size() && text[i] == '0') ++i;
  out += text.substr(i);
  return out;
}

}  // namespace

std::string FormatReal(double value, int32_t digits, RealFormat format, bool keepE) {
  if (std::isnan(value)) return "?";
  if (std::isinf(value)) {
    std::string infinity(1, static_cast<char>(kCharInfinity));
    return value > 0 ? infinity : "-" + infinity;
  }
  std::string text;
  switch (format) {
    case RealFormat::kDisplay:
      text = PrintG(value, digits);
      if (digits == kMaxDisplayDigits && MantissaAllNines(text)) text = PrintG(value, 14);
      break;
    case RealFormat::kFullPrecision:
      text = PrintG(value, 17);
      if (MantissaAllNines(text)) text = PrintG(value, 14);
      break;
    case RealFormat::kFourteen:
      text = PrintG(value, 14);
      break;
  }
  return RewriteExponent(text, keepE);
}

std::string FormatInteger(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%-1ld", static_cast<long>(value));
  return text;
}

std::string NumberDisplayText(Handle number, int32_t digits) {
  switch (ObjType(number)) {
    case kInteger:
      return FormatInteger(IntegerValue(number));
    case kReal:
      return FormatReal(RealValue(number), digits);
    default:
      return std::string(ObjText(number), strnlen(ObjText(number), kTextFieldSize));
  }
}

}  // namespace lemmabox
