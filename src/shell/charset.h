// The program's 8-bit character set.
//
// Names, number texts and operator symbols are kept as bytes of the
// program's own character set, in objects and in files alike. Codes below
// 0x80 are ASCII. From 0x80 up, the name alphabet places Greek letters and
// mathematical signs on codes of its own; each is drawn with a character of
// the Symbol font. The remaining high codes are ordinary text characters,
// drawn as they are in the requested font (Windows-1252 characters).
//
// Unicode appears only at the boundaries: the screen, the keyboard and the
// clipboard. Every conversion goes through the one table here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lemmabox {

// Codes of the name alphabet with a meaning of their own.
constexpr uint8_t kCharExponent = 0x90;       // exponent marker in number texts (1.5E3)
constexpr uint8_t kCharQuestionGlyph = 0x92;  // drawn as "?" in the question-mark font
constexpr uint8_t kCharDegree = 0xA1;
constexpr uint8_t kCharPartial = 0xA4;  // the partial derivative sign
constexpr uint8_t kCharBullet = 0xA5;   // the dot product
constexpr uint8_t kCharTimes = 0xA6;    // the cross product
constexpr uint8_t kCharNotEqual = 0xAD;
constexpr uint8_t kCharInfinity = 0xB0;
constexpr uint8_t kCharLessEqual = 0xB2;
constexpr uint8_t kCharGreaterEqual = 0xB3;
constexpr uint8_t kCharPi = 0xB9;
constexpr uint8_t kCharCapitalGamma = 0xED;
constexpr uint8_t kCharHBar = 0xEE;

// How a byte of the character set is drawn.
enum class GlyphKind : uint8_t {
  kPlain,    // the byte as it is, in the requested font
  kSymbol,   // a character of the Symbol font
  kSpecial,  // drawn by a rule of its own: kCharExponent, kCharQuestionGlyph, kCharHBar
};

struct Glyph {
  GlyphKind kind;
  // kPlain: the byte; kSymbol: the Symbol-font code; kSpecial: the byte.
  uint8_t code;
};

// The drawing of one byte. The hyphen '-' is drawn as the Symbol font's minus.
Glyph GlyphOf(uint8_t c);

// The Unicode character of a Symbol-font code (the standard Symbol encoding);
// 0 for a code that the encoding leaves empty.
char32_t UnicodeFromSymbolCode(uint8_t code);

// The Unicode character that a byte stands for. Every byte has one, and no two
// bytes share one except where the character set repeats a character: 0xFC
// is a second nabla (0xF3), 0xFE a second capital xi (0xF4), 0xC9 the Symbol
// font's ellipsis beside the text ellipsis 0x85.
char32_t UnicodeFromProgramChar(uint8_t c);

// The byte for a Unicode character, or 0 when the character set has none
// (NUL itself also gives 0). Where two bytes show the same character, the
// one that typing produces is chosen; a few look-alikes are accepted as well
// (U+2212 minus as '-', U+00B5 micro as mu, U+2126 ohm as capital omega ...).
uint8_t ProgramCharFromUnicode(char32_t u);

// Whole texts. UTF-8 that is not well formed is read byte by byte as
// unmappable characters; each unmappable character becomes `replacement`,
// or is left out when `replacement` is 0.
std::string ProgramTextToUtf8(std::string_view text);
std::string Utf8ToProgramText(std::string_view utf8, char replacement = 0);

// Appends the UTF-8 form of one character (nothing for values above U+10FFFF
// or surrogates).
void AppendUtf8(std::string& out, char32_t u);

// The Greek letter (or sign) that an apostrophe followed by a Latin letter
// gives inside a name: 'a' gives alpha (0x8C), 'p' pi (0xB9), 'N' infinity
// (0xB0) ... 0 when the letter has none.
uint8_t GreekForLatin(char letter);

// The name-alphabet code for a Symbol-font code typed from the palette or a
// symbol keystroke; 0 when the code is not in the map (it is then inserted
// unchanged).
uint8_t GreekForSymbolCode(uint8_t code);

}  // namespace lemmabox
