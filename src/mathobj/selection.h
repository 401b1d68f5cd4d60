// A selection: an object and a position word saying which part of it.
#pragma once

#include <cstdint>

#include "shell/types.h"

namespace lemmabox {

// Position words. Other values pack a character or slot range
// (start << 16 | end, end exclusive) or a matrix block
// (first row << 24 | first column << 16 | end row << 8 | end column).
constexpr int32_t kPosWhole = -1;          // the whole object
constexpr int32_t kPosWholeOperand = -2;   // the whole object, as the operand to its left
constexpr int32_t kPosCaretBefore = -3;
constexpr int32_t kPosCaretAfter = -4;

struct Selection {
  Handle obj = nullptr;
  int32_t position = kPosWhole;
  friend bool operator==(const Selection&, const Selection&) = default;
};

constexpr int32_t PackRange(int32_t start, int32_t end) { return (start << 16) | (end & 0xFFFF); }
constexpr int32_t RangeStart(int32_t position) { return (position >> 16) & 0xFFFF; }
constexpr int32_t RangeEnd(int32_t position) { return position & 0xFFFF; }

}  // namespace lemmabox
