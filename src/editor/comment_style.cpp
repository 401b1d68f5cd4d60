#include "editor/comment_style.h"

#include <algorithm>

namespace lemmabox {
namespace {

// Offsets inside the style record.
constexpr size_t kNameBytes = 36;
constexpr size_t kSizeAt = 36;
constexpr size_t kA0At = 40;
constexpr size_t kSFlagAt = 41;
constexpr size_t kA1At = 42;  // A1..A5 follow one per byte
constexpr size_t kSTAt = 48;
constexpr uint8_t kSTKeptBits = 0x80;

// Bit positions of A1..A5 in the style-bits packing (A0 sits at bit 0).
constexpr int kPackedAttributeShift[6] = {0, 5, 7, 9, 11, 13};
constexpr int kPackedSShift = 2;
constexpr int kPackedTShift = 15;

// Bit positions of A0..A5 in the older packing.
constexpr int kOlderAttributeBit[6] = {0, 2, 3, 4, 5, 6};
constexpr int kOlderSShift = 11;
constexpr int kOlderTBit = 14;

}  // namespace

int32_t PackStyleBits(const StyleBits& bits) {
  int32_t packed = 0;
  for (int i = 0; i < 6; ++i) packed |= (bits.a[i] & 3) << kPackedAttributeShift[i];
  packed |= (bits.s & 7) << kPackedSShift;
  packed |= (bits.t & 3) << kPackedTShift;
  return packed;
}

StyleBits UnpackStyleBits(int64_t packed) {
  const auto bits = static_cast<uint64_t>(packed);
  StyleBits out;
  for (int i = 0; i < 6; ++i)
    out.a[i] = static_cast<uint8_t>((bits >> kPackedAttributeShift[i]) & 3);
  out.s = static_cast<uint8_t>((bits >> kPackedSShift) & 7);
  out.t = static_cast<uint8_t>((bits >> kPackedTShift) & 3);
  return out;
}

StyleBits UnpackOlderStyleBits(int64_t packed) {
  const auto bits = static_cast<uint64_t>(packed);
  StyleBits out;
  for (int i = 0; i < 6; ++i) out.a[i] = static_cast<uint8_t>((bits >> kOlderAttributeBit[i]) & 1);
  out.s = static_cast<uint8_t>((bits >> kOlderSShift) & 7);
  out.t = static_cast<uint8_t>((bits >> kOlderTBit) & 1);
  return out;
}

StyleRecord::StyleRecord() {
  SetFontName(kDefaultCommentFont);
  SetSize(kDefaultCommentSize);
}

StyleRecord StyleRecord::FromBytes(const Bytes& bytes) {
  StyleRecord record;
  record.bytes_ = bytes;
  // The name must stay a C string whatever the bytes held.
  record.bytes_[kNameBytes - 1] = 0;
  return record;
}

std::string StyleRecord::FontName() const {
  const auto* begin = reinterpret_cast<const char*>(bytes_.data());
  return std::string(begin,
                     std::find(bytes_.begin(), bytes_.begin() + kNameBytes, 0) - bytes_.begin());
}

void StyleRecord::SetFontName(std::string_view name) {
  name = name.substr(0, std::min(name.find('\0'), kMaxFontNameLength));
  std::fill(bytes_.begin(), bytes_.begin() + kNameBytes, 0);
  std::copy(name.begin(), name.end(), bytes_.begin());
}

int32_t StyleRecord::Size() const {
  uint32_t size = 0;
  for (int i = 3; i >= 0; --i) size = (size << 8) | bytes_[kSizeAt + i];
  return static_cast<int32_t>(size);
}

void StyleRecord::SetSize(int32_t size) {
  const auto bits = static_cast<uint32_t>(size);
  for (int i = 0; i < 4; ++i) bytes_[kSizeAt + i] = static_cast<uint8_t>(bits >> (8 * i));
}

StyleBits StyleRecord::Bits() const {
  StyleBits bits;
  bits.a[0] = bytes_[kA0At] & 3;
  for (int i = 1; i < 6; ++i) bits.a[i] = bytes_[kA1At + i - 1] & 3;
  bits.s = bytes_[kSTAt] & 7;
  bits.t = (bytes_[kSTAt] >> 4) & 3;
  return bits;
}

void StyleRecord::SetBits(const StyleBits& bits) {
  bytes_[kA0At] = bits.a[0] & 3;
  for (int i = 1; i < 6; ++i) bytes_[kA1At + i - 1] = bits.a[i] & 3;
  const uint8_t s = bits.s & 7;
  bytes_[kSFlagAt] = s != 0 ? 1 : 0;
  bytes_[kSTAt] = static_cast<uint8_t>((bytes_[kSTAt] & kSTKeptBits) | s | ((bits.t & 3) << 4));
}

uint8_t PackColour(Rgb rgb) {
  return static_cast<uint8_t>((rgb.red & 0xE0) | ((rgb.green >> 5) << 2) | (rgb.blue >> 6));
}

Rgb UnpackColour(uint8_t colour) {
  return {static_cast<uint8_t>((colour >> 5) * 255 / 7),
          static_cast<uint8_t>(((colour >> 2) & 7) * 255 / 7),
          static_cast<uint8_t>((colour & 3) * 255 / 3)};
}

std::string ResolvedFontName(std::string_view name) {
  if (name == kDefaultFontAlias) return kDefaultCommentFont;
  return std::string(name);
}

}  // namespace lemmabox
