// The look of comment text: the style record, the packed style bits, the
// one-byte colour and the font classes.
//
// Every node of a comment carries a full NodeStyle. The meaning of the style
// attributes (which of them is bold, italic, underline ...) belongs to the
// comment editor; here they are kept and carried unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lemmabox {

// Font classes, the letter kept with each font of the font table.
constexpr char kFontClassText = 't';     // a text font of the ANSI character set
constexpr char kFontClassSymbol = 's';   // any other font (symbol and pi fonts)
constexpr char kFontClassMapped = 'm';   // older files: characters go through the editor's mapping
constexpr char kFontClassUnknown = '?';  // selected by an index the font table does not hold

constexpr const char* kDefaultCommentFont = "Times";
// A font name of "*" stands for the default font.
constexpr const char* kDefaultFontAlias = "*";
constexpr int32_t kDefaultCommentSize = 12;
// A size of -1000 means "the size of the surroundings".
constexpr int32_t kSurroundingsSize = -1000;
// A font name occupies 36 bytes including its terminating NUL.
constexpr size_t kMaxFontNameLength = 35;

// The attributes of a style: A0..A5 two bits each, S three bits, T two bits.
struct StyleBits {
  std::array<uint8_t, 6> a{};
  uint8_t s = 0;
  uint8_t t = 0;
  friend bool operator==(const StyleBits&, const StyleBits&) = default;
};

// The packing of the style-bits command: A0 in bits 0..1, S in 2..4, A1 in
// 5..6, A2 in 7..8, A3 in 9..10, A4 in 11..12, A5 in 13..14, T in 15..16.
int32_t PackStyleBits(const StyleBits& bits);
StyleBits UnpackStyleBits(int64_t packed);
// The older packing: A0 bit 0, A1 bit 2, A2 bit 3, A3 bit 4, A4 bit 5, A5
// bit 6 (each attribute 0 or 1), S in bits 11..13, T = 1 when bit 14 is set.
StyleBits UnpackOlderStyleBits(int64_t packed);

// The 52-byte style record: the font name (36 bytes, NUL-terminated), the
// size (signed 32-bit, little-endian), then the attribute bytes A0, a flag
// (1 when S is not zero), A1..A5, a spare byte, the byte holding S in bits
// 0..2 and T in bits 4..5, and three spare bytes. The spare bytes and bit 7
// of the S/T byte belong to the editor: setting the bits keeps them.
class StyleRecord {
 public:
  static constexpr size_t kSize = 52;
  using Bytes = std::array<uint8_t, kSize>;

  // "Times", size 12, all attributes zero.
  StyleRecord();
  static StyleRecord FromBytes(const Bytes& bytes);
  const Bytes& bytes() const { return bytes_; }

  std::string FontName() const;
  // Keeps at most 35 characters, up to the first NUL.
  void SetFontName(std::string_view name);
  int32_t Size() const;
  void SetSize(int32_t size);
  StyleBits Bits() const;
  void SetBits(const StyleBits& bits);

  friend bool operator==(const StyleRecord&, const StyleRecord&) = default;

 private:
  Bytes bytes_{};
};

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb kRgbWhite{255, 255, 255};

// The one-byte colour: red in bits 5..7, green in 2..4, blue in 0..1.
uint8_t PackColour(Rgb rgb);
// Spreads each field over the full 0..255 range, so PackColour gives the
// byte back.
Rgb UnpackColour(uint8_t colour);
constexpr uint8_t kBlackColour = 0;

// Everything a node of a comment looks like.
struct NodeStyle {
  StyleRecord record;
  char fontClass = kFontClassText;
  uint8_t colour = kBlackColour;
  friend bool operator==(const NodeStyle&, const NodeStyle&) = default;
};

// The font name a style stands for: "*" is the default font.
std::string ResolvedFontName(std::string_view name);

}  // namespace lemmabox
