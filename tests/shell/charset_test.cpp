// The program's character set and its Unicode mapping.
#include "shell/charset.h"

#include <gtest/gtest.h>

#include <string>

namespace lemmabox {
namespace {

TEST(Charset, NamedCodesStandForTheirCharacters) {
  struct Case {
    uint8_t code;
    char32_t unicode;
  } cases[] = {
      {kCharPi, U'\u03C0'},
      {kCharInfinity, U'\u221E'},
      {kCharDegree, U'\u00B0'},
      {kCharLessEqual, U'\u2264'},
      {kCharGreaterEqual, U'\u2265'},
      {kCharNotEqual, U'\u2260'},
      {kCharPartial, U'\u2202'},
      {kCharBullet, U'\u2022'},
      {kCharTimes, U'\u00D7'},
      {kCharHBar, U'\u210F'},
      {kCharExponent, U'\u23E8'},
      {kCharCapitalGamma, U'\u0393'},
      {0x8C, U'\u03B1'},
      {0xEA, U'\u03A3'},
      {0xE3, U'\u03A9'},
      {0x81, U'\u2135'},
      {0xC9, U'\u2026'},
      // Plain high codes are Windows-1252 characters.
      {0x80, U'\u20AC'},
      {0x8A, U'\u0160'},
      {0x9F, U'\u0178'},
      {0xB1, U'\u00B1'},
      {0xFF, U'\u00FF'},
      {0x8F, U'\u008F'},
      {'a', U'a'},
      {'-', U'-'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UnicodeFromProgramChar(c.code), c.unicode) << std::hex << int(c.code);
  }
}

TEST(Charset, EveryByteRoundTripsExceptTheRepeatedCharacters) {
  for (int c = 1; c < 256; ++c) {
    char32_t u = UnicodeFromProgramChar(static_cast<uint8_t>(c));
    ASSERT_NE(u, 0u) << std::hex << c;
    uint8_t back = ProgramCharFromUnicode(u);
    switch (c) {
      case 0xC9:  // the Symbol font's ellipsis reads back as the text one
        EXPECT_EQ(back, 0x85);
        break;
      case 0xFC:  // a second nabla
        EXPECT_EQ(back, 0xF3);
        break;
      case 0xFE:  // a second capital xi
        EXPECT_EQ(back, 0xF4);
        break;
      default:
        EXPECT_EQ(back, c) << std::hex << c;
    }
  }
}

TEST(Charset, KeyboardCharactersWithoutACodeGiveZero) {
  struct Case {
    char32_t unicode;
    uint8_t code;
  } cases[] = {
      {U'\u00E9', 0},  // e acute: its Windows-1252 code is the Symbol capital I
      {U'\u03B9', 0},  // iota is not in the name alphabet
      {U'\u4E2D', 0},    {U'\U0001F600', 0}, {U'\uFFFD', 0},
      {0x110000, 0},     {U'\u2212', '-'},  // look-alikes
      {U'\u00B5', 0xB5}, {U'\u2126', 0xE3},  {U'\u27E8', 0xF5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgramCharFromUnicode(c.unicode), c.code) << std::hex << uint32_t(c.unicode);
  }
}

TEST(Charset, GlyphsFollowTheDrawingTable) {
  struct Case {
    uint8_t code;
    GlyphKind kind;
    uint8_t glyph;
  } cases[] = {
      {'-', GlyphKind::kSymbol, 0x2D},
      {'a', GlyphKind::kPlain, 'a'},
      {kCharInfinity, GlyphKind::kSymbol, 0xA5},
      {kCharPi, GlyphKind::kSymbol, 'p'},
      {kCharTimes, GlyphKind::kSymbol, 0xB4},
      {0xF5, GlyphKind::kSymbol, 0xE1},
      {kCharExponent, GlyphKind::kSpecial, 0x90},
      {kCharQuestionGlyph, GlyphKind::kSpecial, 0x92},
      {kCharHBar, GlyphKind::kSpecial, 0xEE},
      {0x80, GlyphKind::kPlain, 0x80},
      {0xFF, GlyphKind::kPlain, 0xFF},
  };
  for (const Case& c : cases) {
    Glyph g = GlyphOf(c.code);
    EXPECT_EQ(g.kind, c.kind) << std::hex << int(c.code);
    EXPECT_EQ(g.code, c.glyph) << std::hex << int(c.code);
  }
  int plain = 0, symbol = 0, special = 0;
  for (int c = 0x80; c < 0x100; ++c) {
    switch (GlyphOf(static_cast<uint8_t>(c)).kind) {
      case GlyphKind::kPlain:
        ++plain;
        break;
      case GlyphKind::kSymbol:
        ++symbol;
        // A symbol glyph must be a character of the Symbol font.
        EXPECT_NE(UnicodeFromSymbolCode(GlyphOf(static_cast<uint8_t>(c)).code), 0u) << c;
        break;
      case GlyphKind::kSpecial:
        ++special;
        break;
    }
  }
  EXPECT_EQ(plain, 70);
  EXPECT_EQ(symbol, 55);
  EXPECT_EQ(special, 3);
}

TEST(Charset, ConvertsWholeTextsAndDropsWhatItCannotHold) {
  struct Case {
    std::string utf8;
    std::string program;
  } cases[] = {
      {"x\u2264\u03C0/2", "x\xB2\xB9/2"},
      {"\u0394t \u2260 \u221E", "\xEBt \xAD \xB0"},
      {"caf\u00E9", "caf"},  // unmappable character
      {"a\xFF"
       "b",
       "ab"},          // a byte that starts nothing
      {"a\xC3", "a"},  // cut short at the end
      {"\xC0\xAF"
       "x",
       "x"},  // overlong '/'
      {"\xED\xA0\x80"
       "y",
       "y"},  // an encoded surrogate
      {"\xE2\x88"
       "z",
       "z"},  // missing continuation
      {std::string("n\0m", 3), std::string("n\0m", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToProgramText(c.utf8), c.program) << c.utf8;
  }
  EXPECT_EQ(Utf8ToProgramText("caf\u00E9 \xFF", '?'), "caf? ?");
  EXPECT_EQ(ProgramTextToUtf8("x\xB2\xB9/2"), "x\u2264\u03C0/2");

  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  std::string back = Utf8ToProgramText(ProgramTextToUtf8(all));
  ASSERT_EQ(back.size(), all.size());
  for (size_t i = 0; i < all.size(); ++i) {
    uint8_t c = static_cast<uint8_t>(all[i]);
    if (c != 0xC9 && c != 0xFC && c != 0xFE) {
      EXPECT_EQ(back[i], all[i]) << std::hex << int(c);
    }
  }
}

TEST(Charset, ApostropheMapGivesGreekLettersOfTheNameAlphabet) {
  struct Case {
    char letter;
    char32_t shown;
  } cases[] = {
      {'a', U'\u03B1'}, {'A', U'\u2135'}, {'b', U'\u03B2'}, {'D', U'\u0394'}, {'G', U'\u0393'},
      {'H', U'\u210F'}, {'N', U'\u221E'}, {'o', U'\u00B0'}, {'p', U'\u03C0'}, {'P', U'\u03A0'},
      {'W', U'\u03A9'}, {'z', U'\u03B6'}, {'Z', U'\u2207'}, {'B', U'\u2329'}, {'I', U'\u2111'},
      {'K', U'\u232A'}, {'R', U'\u211C'}, {'U', U'\u03D2'},
  };
  for (const Case& c : cases) {
    uint8_t code = GreekForLatin(c.letter);
    ASSERT_NE(code, 0) << c.letter;
    EXPECT_EQ(UnicodeFromProgramChar(code), c.shown) << c.letter;
  }
  int mapped = 0;
  for (int c = 0; c < 128; ++c) mapped += GreekForLatin(static_cast<char>(c)) != 0;
  EXPECT_EQ(mapped, 44);
  for (char c : {'i', 'v', 'E', 'C', 'O', '1', '\''}) EXPECT_EQ(GreekForLatin(c), 0) << c;
  // Where the Symbol font has the letter on the Latin code, typing it either way agrees.
  for (char c = 'A'; c <= 'z'; ++c) {
    uint8_t bySymbol = GreekForSymbolCode(static_cast<uint8_t>(c));
    if (bySymbol != 0) {
      EXPECT_EQ(GreekForLatin(c), bySymbol) << c;
    }
  }
}

TEST(Charset, SymbolCodeMapGivesTheCodeThatDrawsAsThatSymbol) {
  int mapped = 0;
  for (int code = 0; code < 256; ++code) {
    uint8_t greek = GreekForSymbolCode(static_cast<uint8_t>(code));
    if (greek == 0) continue;
    ++mapped;
    Glyph glyph = GlyphOf(greek);
    EXPECT_EQ(glyph.kind, GlyphKind::kSymbol) << std::hex << code;
    EXPECT_EQ(glyph.code, code) << std::hex << code;
  }
  EXPECT_EQ(mapped, 43);
  EXPECT_EQ(GreekForSymbolCode('o'), 0);  // omicron: not in the name alphabet
  EXPECT_EQ(GreekForSymbolCode(0xB0), kCharDegree);
  EXPECT_EQ(GreekForSymbolCode(0xA5), kCharInfinity);
}

}  // namespace
}  // namespace lemmabox
