#include "editor/compact_integer.h"

namespace lemmabox {

void AppendCompactInteger(std::string& out, int32_t value) {
  const int64_t v = value;
  const int64_t magnitude = v < 0 ? -v : v;
  if (magnitude < 32) {
    out.push_back(static_cast<char>((v & 0x3F) + 0x20));
    return;
  }
  int digits = 6;
  if (magnitude < (int64_t{1} << 11)) {
    digits = 2;
  } else if (magnitude < (int64_t{1} << 17)) {
    digits = 3;
  } else if (magnitude < (int64_t{1} << 23)) {
    digits = 4;
  } else if (magnitude < (int64_t{1} << 29)) {
    digits = 5;
  }
  out.push_back(static_cast<char>('a' + digits - 1));
  // Arithmetic shifts of the sign-extended value give the top digit its sign.
  for (int i = digits - 1; i >= 0; --i) {
    out.push_back(static_cast<char>(((v >> (6 * i)) & 0x3F) + 0x20));
  }
}

std::string CompactIntegerText(int32_t value) {
  std::string text;
  AppendCompactInteger(text, value);
  return text;
}

int64_t ReadCompactInteger(std::string_view bytes, size_t& pos) {
  return DecodeCompactInteger([&]() -> int {
    if (pos >= bytes.size()) return -1;
    return static_cast<unsigned char>(bytes[pos++]);
  });
}

void AppendEscapedChar(std::string& out, unsigned char c) {
  out.push_back(static_cast<char>(c / 64 + ','));
  out.push_back(static_cast<char>((c & 0x3F) + 0x20));
}

unsigned char DecodeEscapedChar(int first, int second) {
  if (!IsEscapeLead(first) || second < 0x20 || second > 0x5F) Raise(kMsgCorruptData);
  return static_cast<unsigned char>(((second + 0x20) & 0x3F) | ((first - ',') * 64));
}

}  // namespace lemmabox
