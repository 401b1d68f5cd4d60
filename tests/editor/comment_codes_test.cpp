// Compact integers, the character escape and the style packing of the
// comment form.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "editor/comment_style.h"
#include "editor/compact_integer.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

int64_t Decode(const std::string& text, size_t* used = nullptr) {
  size_t pos = 0;
  const int64_t value = ReadCompactInteger(text, pos);
  if (used != nullptr) *used = pos;
  return value;
}

TEST(CompactInteger, KnownTexts) {
  const struct {
    int32_t value;
    std::string text;
  } cases[] = {
      {0, " "},       {31, "?"},       {-1, "_"},   {-31, "A"},    {1, "!"},
      {32, "b @"},    {-32, "b_@"},    {64, "b! "}, {2047, "b?_"}, {-2047, "b@!"},
      {2048, "c @ "}, {-2048, "c_@ "}, {-9, "W"},   {255, "b#_"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompactIntegerText(c.value), c.text) << c.value;
    EXPECT_EQ(Decode(c.text), c.value) << c.text;
  }
}

// Every length class at both edges and both signs: the length letter is the
// one the magnitude calls for and the value reads back.
TEST(CompactInteger, EveryLengthBoundary) {
  const struct {
    int64_t low;
    int64_t high;
    char letter;  // 0: one character
  } classes[] = {{0, 31, 0},
                 {32, 2047, 'b'},
                 {2048, (1 << 17) - 1, 'c'},
                 {1 << 17, (1 << 23) - 1, 'd'},
                 {1 << 23, (1 << 29) - 1, 'e'},
                 {1 << 29, std::numeric_limits<int32_t>::max(), 'f'}};
  for (const auto& c : classes) {
    for (int64_t magnitude : {c.low, c.high}) {
      for (int sign : {1, -1}) {
        const auto value = static_cast<int32_t>(sign * magnitude);
        const std::string text = CompactIntegerText(value);
        if (c.letter == 0) {
          EXPECT_EQ(text.size(), 1u) << value;
        } else {
          ASSERT_EQ(text[0], c.letter) << value;
          EXPECT_EQ(text.size(), static_cast<size_t>(c.letter - 'a' + 2)) << value;
        }
        size_t used = 0;
        EXPECT_EQ(Decode(text + "tail", &used), value) << text;
        EXPECT_EQ(used, text.size()) << text;
        for (char ch : text) EXPECT_TRUE(ch >= 0x20 && ch <= 0x66) << value;
      }
    }
  }
  const int32_t lowest = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(CompactIntegerText(lowest)[0], 'f');
  EXPECT_EQ(Decode(CompactIntegerText(lowest)), lowest);
}

TEST(CompactInteger, ReaderAcceptsWhatOnlyOtherWritersProduce) {
  EXPECT_EQ(Decode("`"), 0);  // 0x60 is a one-character zero
  EXPECT_EQ(Decode("b  "), 0);
  // A six-digit form carries 36 bits; the reader gives them all.
  EXPECT_EQ(Decode("f!     "), int64_t{1} << 30);
}

TEST(CompactInteger, MalformedRaisesCorruptData) {
  for (const std::string text :
       {"", "a", "g", "}", "~", "\x1f", "\x7f", "b", "b ", "c  ", "b \x01", "b `", "f     "}) {
    EXPECT_RAISES(kMsgCorruptData, Decode(text)) << text;
  }
}

TEST(CharacterEscape, EveryByteRoundTrips) {
  for (int c = 0; c < 256; ++c) {
    const auto u = static_cast<unsigned char>(c);
    std::string text;
    AppendEscapedChar(text, u);
    ASSERT_EQ(text.size(), 2u);
    EXPECT_TRUE(IsEscapeLead(text[0])) << c;
    EXPECT_TRUE(text[1] >= 0x20 && text[1] <= 0x5F) << c;
    EXPECT_EQ(DecodeEscapedChar(text[0], text[1]), u) << c;
  }
  std::string text;
  AppendEscapedChar(text, '-');
  AppendEscapedChar(text, 0xB9);
  EXPECT_EQ(text, ",M.Y");
}

TEST(CharacterEscape, BadPairsRaise) {
  EXPECT_RAISES(kMsgCorruptData, DecodeEscapedChar(',', -1));
  EXPECT_RAISES(kMsgCorruptData, DecodeEscapedChar(',', 0x10));
  EXPECT_RAISES(kMsgCorruptData, DecodeEscapedChar(',', '}'));
  EXPECT_RAISES(kMsgCorruptData, DecodeEscapedChar('+', 'A'));
}

TEST(StyleBits, PackingPlacesEveryField) {
  const struct {
    StyleBits bits;
    int32_t packed;
  } cases[] = {
      {{{3, 0, 0, 0, 0, 0}, 0, 0}, 0x3},
      {{{0, 0, 0, 0, 0, 0}, 7, 0}, 0x1C},
      {{{0, 3, 0, 0, 0, 0}, 0, 0}, 0x60},
      {{{0, 0, 3, 0, 0, 0}, 0, 0}, 0x180},
      {{{0, 0, 0, 3, 0, 0}, 0, 0}, 0x600},
      {{{0, 0, 0, 0, 3, 0}, 0, 0}, 0x1800},
      {{{0, 0, 0, 0, 0, 3}, 0, 0}, 0x6000},
      {{{0, 0, 0, 0, 0, 0}, 0, 3}, 0x18000},
      {{{1, 2, 3, 1, 2, 3}, 5, 2}, 0x1 | 0x14 | 0x40 | 0x180 | 0x200 | 0x1000 | 0x6000 | 0x10000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PackStyleBits(c.bits), c.packed);
    EXPECT_EQ(UnpackStyleBits(c.packed), c.bits);
  }
  // The reader takes T from bits 15..16 only.
  EXPECT_EQ(UnpackStyleBits(0x20000).t, 0);
}

TEST(StyleBits, OlderPacking) {
  const struct {
    int32_t packed;
    StyleBits bits;
  } cases[] = {
      {0x1, {{1, 0, 0, 0, 0, 0}, 0, 0}},
      {0x2, {}},  // bit 1 carries nothing
      {0x4, {{0, 1, 0, 0, 0, 0}, 0, 0}},
      {0x8, {{0, 0, 1, 0, 0, 0}, 0, 0}},
      {0x10, {{0, 0, 0, 1, 0, 0}, 0, 0}},
      {0x20, {{0, 0, 0, 0, 1, 0}, 0, 0}},
      {0x40, {{0, 0, 0, 0, 0, 1}, 0, 0}},
      {0x3800, {{}, 7, 0}},
      {0x4000, {{}, 0, 1}},
  };
  for (const auto& c : cases) EXPECT_EQ(UnpackOlderStyleBits(c.packed), c.bits) << c.packed;
}

TEST(StyleRecord, ByteLayout) {
  StyleRecord record;
  EXPECT_EQ(record.FontName(), "Times");
  EXPECT_EQ(record.Size(), 12);
  record.SetFontName("Helvetica");
  record.SetSize(-1000);
  record.SetBits({{1, 2, 3, 1, 2, 3}, 5, 2});
  const auto& b = record.bytes();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data())), "Helvetica");
  EXPECT_EQ(b[36] | b[37] << 8 | b[38] << 16 | b[39] << 24, -1000);
  EXPECT_EQ(b[40], 1);  // A0
  EXPECT_EQ(b[41], 1);  // S is not zero
  EXPECT_EQ(b[42], 2);  // A1
  EXPECT_EQ(b[46], 3);  // A5
  EXPECT_EQ(b[48], 5 | 2 << 4);
  record.SetBits({});
  EXPECT_EQ(b[41], 0);
  EXPECT_EQ(StyleRecord::FromBytes(b), record);
}

TEST(StyleRecord, KeepsWhatTheFormDoesNotCarry) {
  StyleRecord::Bytes bytes = StyleRecord().bytes();
  bytes[47] = 0x5A;
  bytes[48] = 0x80;
  bytes[51] = 0x33;
  StyleRecord record = StyleRecord::FromBytes(bytes);
  record.SetBits({{}, 3, 1});
  EXPECT_EQ(record.bytes()[48], 0x80 | 3 | 1 << 4);
  EXPECT_EQ(record.bytes()[47], 0x5A);
  EXPECT_EQ(record.bytes()[51], 0x33);
}

TEST(StyleRecord, FontNameFitsItsField) {
  StyleRecord record;
  record.SetFontName(std::string(40, 'x'));
  EXPECT_EQ(record.FontName(), std::string(35, 'x'));
  record.SetFontName(std::string("Ab\0cd", 5));
  EXPECT_EQ(record.FontName(), "Ab");
  StyleRecord::Bytes bytes{};
  bytes.fill('y');
  EXPECT_EQ(StyleRecord::FromBytes(bytes).FontName(), std::string(35, 'y'));
}

TEST(Colour, PackedBytesRoundTripAndKnownColours) {
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(PackColour(UnpackColour(static_cast<uint8_t>(c))), c);
  }
  EXPECT_EQ(PackColour({255, 255, 255}), 0xFF);
  EXPECT_EQ(PackColour({255, 0, 0}), 0xE0);
  EXPECT_EQ(PackColour({0, 255, 0}), 0x1C);
  EXPECT_EQ(PackColour({0, 0, 255}), 0x03);
  EXPECT_EQ(UnpackColour(0xE0), (Rgb{255, 0, 0}));
}

}  // namespace
}  // namespace lemmabox
