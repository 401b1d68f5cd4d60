// The printable codes of the comment form and of derivation records: compact
// integers and the two-character escape for characters that are not letters
// or digits. Both keep the output inside 7-bit printable text, so it survives
// text files, mail and line-oriented transports.
//
// A compact integer takes one to seven characters:
//   |v| < 32    one character, (v AND 0x3F) + 0x20   (0 is ' ', 31 '?', -1 '_')
//   |v| < 2^11  'b' and 2 base-64 digits, most significant first
//   |v| < 2^17  'c' and 3 digits;  |v| < 2^23 'd' and 4;  |v| < 2^29 'e' and 5
//   otherwise   'f' and 6 digits (the first carries the sign by extension)
// Each digit is written as (digit AND 0x3F) + 0x20. The first digit of a long
// form is signed, so negative values need no separate sign.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {

// The longest compact integer, in characters.
constexpr int kMaxCompactIntegerLength = 7;

void AppendCompactInteger(std::string& out, int32_t value);
std::string CompactIntegerText(int32_t value);

// Decodes one compact integer from a character source: next() returns the
// next byte (0..255) or -1 at the end of the input. Raises 13148 when the
// first character cannot start a compact integer or a digit is missing or not
// a digit. The result may exceed 32 bits (six digits carry 36); callers check
// the range they need.
template <class NextChar>
int64_t DecodeCompactInteger(NextChar&& next) {
  int c = next();
  if (c >= 0x20 && c <= 0x60) return int64_t{c & 0x3F} - 0x20;
  if (c < 'b' || c > 'f') Raise(kMsgCorruptData);
  int digits = c - 'a' + 1;
  int64_t value = 0;
  for (int i = 0; i < digits; ++i) {
    int d = next();
    if (d < 0x20 || d > 0x5F) Raise(kMsgCorruptData);
    if (i == 0) {
      value = int64_t{d & 0x3F} - 0x20;  // signed six bits
    } else {
      value = value * 64 + ((d + 0x20) & 0x3F);
    }
  }
  return value;
}

// Decodes the compact integer that starts at bytes[pos] and advances pos.
int64_t ReadCompactInteger(std::string_view bytes, size_t& pos);

// Letters A..Z, a..z and digits 0..9 stand for themselves in a word; every
// other character is escaped.
constexpr bool IsPlainLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr bool IsPlainDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}
constexpr bool IsPlainWordChar(unsigned char c) {
  return IsPlainLetter(c) || IsPlainDigit(c);
}
// The first character of an escape: one of , - . /
constexpr bool IsEscapeLead(int c) {
  return c >= ',' && c <= '/';
}

// Writes c as (c / 64) + ',' then (c AND 0x3F) + 0x20.
void AppendEscapedChar(std::string& out, unsigned char c);
// Restores an escaped character; raises 13148 when the pair was not written
// by AppendEscapedChar (a missing or unprintable second character).
unsigned char DecodeEscapedChar(int first, int second);

}  // namespace lemmabox
