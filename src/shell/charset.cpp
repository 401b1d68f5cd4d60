#include "shell/charset.h"

#include <algorithm>
#include <array>
#include <utility>

namespace lemmabox {
namespace {

// How each code from 0x80 up is drawn: P the byte itself in the requested
// font, X a rule of its own, anything else the Symbol-font code.
constexpr uint8_t P = 0;
constexpr uint8_t X = 1;
// clang-format off
constexpr uint8_t kHighGlyphs[128] = {
    P,    0xC0, P,    P,    P,    P,    P,    P,    P,   P,    P,   P,   'a',  'c',  P,   P,
    X,    P,    X,    P,    0xF3, 0xF5, P,    P,    P,   P,    P,   P,   P,    P,    P,   P,
    't',  0xB0, P,    P,    0xB6, 0xB7, 0xB4, 's',  'r', 'g',  P,   P,   P,    0xB9, P,   P,
    0xA5, P,    0xA3, 0xB3, 'y',  'm',  'd',  'w',  'P', 'p',  'b', P,   P,    'z',  P,   P,
    P,    P,    'l',  'u',  'f',  'x',  'j',  P,    P,   0xBC, P,   P,   P,    P,    'Q', 'q',
    P,    P,    P,    P,    P,    P,    P,    0xA1, P,   P,    P,   P,   P,    P,    P,   P,
    P,    0xD7, P,    'W',  'e',  0xC2, P,    'Y',  P,   0xC1, 'S', 'D', 'F',  'G',  X,   'J',
    0xF1, 'L',  P,    0xD1, 'X',  0xE1, 'n',  P,    P,   P,    'h', 'k', 0xD1, P,    'X', P,
};
// clang-format on

// The Symbol font's encoding, codes 0x20..0xFF; 0 where it has no character.
// The private-use values are the pieces of big brackets and the serif and
// sans-serif copyright signs, which have no character of their own.
// clang-format off
constexpr char16_t kSymbolToUnicode[224] = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B,  // 0x20
    0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F,  // 0x28
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,  // 0x30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,  // 0x38
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,  // 0x40
    0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,  // 0x48
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9,  // 0x50
    0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,  // 0x58
    0xF8E5, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,  // 0x60
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,  // 0x68
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9,  // 0x70
    0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0x0000,  // 0x78
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  // 0x80
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  // 0x88
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  // 0x90
    0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000,  // 0x98
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663,  // 0xA0
    0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,  // 0xA8
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,  // 0xB0
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0xF8E6, 0xF8E7, 0x21B5,  // 0xB8
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,  // 0xC0
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,  // 0xC8
    0x2220, 0x2207, 0xF6DA, 0xF6D9, 0xF6DB, 0x220F, 0x221A, 0x22C5,  // 0xD0
    0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,  // 0xD8
    0x25CA, 0x2329, 0xF8E8, 0xF8E9, 0xF8EA, 0x2211, 0xF8EB, 0xF8EC,  // 0xE0
    0xF8ED, 0xF8EE, 0xF8EF, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3, 0xF8F4,  // 0xE8
    0x0000, 0x232A, 0x222B, 0x2320, 0xF8F5, 0x2321, 0xF8F6, 0xF8F7,  // 0xF0
    0xF8F8, 0xF8F9, 0xF8FA, 0xF8FB, 0xF8FC, 0xF8FD, 0xF8FE, 0x0000,  // 0xF8
};
// clang-format on

// Windows-1252 from 0x80 to 0x9F; its five empty codes stand for the C1
// controls, as everywhere else. From 0xA0 up it is Latin-1.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The specials stand for these: the exponent marker for the decimal exponent
// symbol, the question glyph for a question mark that cannot be confused with
// the ASCII one, the h-bar for Planck's constant over 2 pi.
constexpr char32_t kExponentUnicode = 0x23E8;
constexpr char32_t kQuestionGlyphUnicode = 0xFF1F;
constexpr char32_t kHBarUnicode = 0x210F;

// Look-alikes accepted from the keyboard and the clipboard.
constexpr std::pair<char32_t, uint8_t> kLookAlikes[] = {
    {0x2212, '-'},   // minus sign
    {0x00B5, 0xB5},  // micro sign: mu
    {0x2126, 0xE3},  // ohm sign: capital omega
    {0x2206, 0xEB},  // increment: capital delta
    {0x3008, 0xF5},  // angle brackets
    {0x27E8, 0xF5},  //
    {0x3009, 0xF0},  //
    {0x27E9, 0xF0},  //
    {0x2219, 0xA5},  // bullet operator: the dot product
};

// The apostrophe map: a Latin letter typed after an apostrophe inside a name.
constexpr std::pair<char, uint8_t> kApostropheMap[] = {
    {'a', 0x8C}, {'A', 0x81}, {'b', 0xBA}, {'B', 0xF5}, {'c', 0x8D}, {'d', 0xB6}, {'D', 0xEB},
    {'e', 0xE4}, {'f', 0xC4}, {'F', 0xEC}, {'g', 0xA9}, {'G', 0xED}, {'h', 0xFA}, {'H', 0xEE},
    {'I', 0xE9}, {'j', 0xC6}, {'J', 0xEF}, {'k', 0xFB}, {'K', 0xF0}, {'l', 0xC2}, {'L', 0xF1},
    {'m', 0xB5}, {'n', 0xF6}, {'N', 0xB0}, {'o', 0xA1}, {'p', 0xB9}, {'P', 0xB8}, {'q', 0xCF},
    {'Q', 0xCE}, {'r', 0xA8}, {'R', 0xE5}, {'s', 0xA7}, {'S', 0xEA}, {'t', 0xA0}, {'u', 0xC3},
    {'U', 0xD7}, {'w', 0xB7}, {'W', 0xE3}, {'x', 0xC5}, {'X', 0xF4}, {'y', 0xB4}, {'Y', 0xE7},
    {'z', 0xBD}, {'Z', 0xF3},
};

// The Symbol-font map: the same letters as the apostrophe map where the
// Symbol font has them on the Latin letter's code (omicron excepted: 'o' of
// the apostrophe map is the degree sign), and the capitals that the Symbol
// font places elsewhere.
constexpr std::pair<uint8_t, uint8_t> kSymbolCodeMap[] = {
    {'a', 0x8C},  {'b', 0xBA},  {'c', 0x8D},  {'d', 0xB6},  {'e', 0xE4},  {'f', 0xC4},
    {'g', 0xA9},  {'h', 0xFA},  {'j', 0xC6},  {'k', 0xFB},  {'l', 0xC2},  {'m', 0xB5},
    {'n', 0xF6},  {'p', 0xB9},  {'q', 0xCF},  {'r', 0xA8},  {'s', 0xA7},  {'t', 0xA0},
    {'u', 0xC3},  {'w', 0xB7},  {'x', 0xC5},  {'y', 0xB4},  {'z', 0xBD},  {'D', 0xEB},
    {'F', 0xEC},  {'G', 0xED},  {'J', 0xEF},  {'L', 0xF1},  {'P', 0xB8},  {'Q', 0xCE},
    {'S', 0xEA},  {'W', 0xE3},  {'X', 0xF4},  {'Y', 0xE7},  {0xC0, 0x81}, {0xE1, 0xF5},
    {0xC1, 0xE9}, {0xF1, 0xF0}, {0xA5, 0xB0}, {0xB0, 0xA1}, {0xC2, 0xE5}, {0xA1, 0xD7},
    {0xD1, 0xF3},
};

// Unicode to byte for the high codes, sorted by character. Where two bytes
// show the same character the lower byte wins: 0xF3 and 0xF4, which typing
// produces, rather than 0xFC and 0xFE; the text ellipsis 0x85 rather than the
// Symbol one 0xC9.
struct ReverseEntry {
  char32_t unicode;
  uint8_t byte;
};

class ReverseTable {
 public:
  ReverseTable() {
    int n = 0;
    for (int c = 0x80; c <= 0xFF; ++c) {
      entries_[n++] = {UnicodeFromProgramChar(static_cast<uint8_t>(c)), static_cast<uint8_t>(c)};
    }
    for (auto [u, byte] : kLookAlikes) entries_[n++] = {u, byte};
    std::stable_sort(
        entries_.begin(), entries_.end(),
        [](const ReverseEntry& a, const ReverseEntry& b) { return a.unicode < b.unicode; });
  }

  uint8_t Find(char32_t u) const {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), u,
                               [](const ReverseEntry& e, char32_t key) { return e.unicode < key; });
    return it != entries_.end() && it->unicode == u ? it->byte : 0;
  }

 private:
  std::array<ReverseEntry, 128 + std::size(kLookAlikes)> entries_{};
};

const ReverseTable& Reverse() {
  static const ReverseTable table;
  return table;
}

// Decodes one UTF-8 character at text[i]; returns its length in bytes, or 0
// when the bytes there are not a well-formed character.
int DecodeUtf8(std::string_view text, size_t i, char32_t& out) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  int length;
  char32_t value;
  if (lead < 0x80) {
    out = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (int k = 1; k < length; ++k) {
    unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) return 0;
    value = (value << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values beyond U+10FFFF are not characters.
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return 0;
  }
  out = value;
  return length;
}

}  // namespace

Glyph GlyphOf(uint8_t c) {
  if (c == '-') return {GlyphKind::kSymbol, 0x2D};
  if (c < 0x80) return {GlyphKind::kPlain, c};
  uint8_t entry = kHighGlyphs[c - 0x80];
  if (entry == P) return {GlyphKind::kPlain, c};
  if (entry == X) return {GlyphKind::kSpecial, c};
  return {GlyphKind::kSymbol, entry};
}

char32_t UnicodeFromSymbolCode(uint8_t code) {
  return code < 0x20 ? 0 : kSymbolToUnicode[code - 0x20];
}

char32_t UnicodeFromProgramChar(uint8_t c) {
  if (c < 0x80) return c;
  Glyph glyph = GlyphOf(c);
  switch (glyph.kind) {
    case GlyphKind::kSymbol:
      return UnicodeFromSymbolCode(glyph.code);
    case GlyphKind::kSpecial:
      return c == kCharExponent ? kExponentUnicode
             : c == kCharHBar   ? kHBarUnicode
                                : kQuestionGlyphUnicode;
    case GlyphKind::kPlain:
      break;
  }
  return c < 0xA0 ? kWindows1252High[c - 0x80] : c;
}

uint8_t ProgramCharFromUnicode(char32_t u) {
  if (u < 0x80) return static_cast<uint8_t>(u);
  return Reverse().Find(u);
}

void AppendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    if (u >= 0xD800 && u <= 0xDFFF) return;
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u <= 0x10FFFF) {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

std::string ProgramTextToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (char c : text) AppendUtf8(out, UnicodeFromProgramChar(static_cast<uint8_t>(c)));
  return out;
}

std::string Utf8ToProgramText(std::string_view utf8, char replacement) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t u = 0;
    int length = DecodeUtf8(utf8, i, u);
    if (length == 0) {
      length = 1;
      u = 0xFFFD;
    }
    i += length;
    uint8_t byte = ProgramCharFromUnicode(u);
    if (byte != 0 || u == 0) {
      out += static_cast<char>(byte);
    } else if (replacement != 0) {
      out += replacement;
    }
  }
  return out;
}

uint8_t GreekForLatin(char letter) {
  for (auto [latin, code] : kApostropheMap) {
    if (latin == letter) return code;
  }
  return 0;
}

uint8_t GreekForSymbolCode(uint8_t code) {
  for (auto [symbol, greek] : kSymbolCodeMap) {
    if (symbol == code) return greek;
  }
  return 0;
}

}  // namespace lemmabox
