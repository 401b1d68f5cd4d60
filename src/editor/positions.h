// Reading position words, and the parts of an object a selection stands for.
//
// A text object (a name, a number, a declared name, a wildcard) is selected by
// a character range, an operand list ('*', '+', ',') by a slot range, a matrix
// by a block of cells; every object can also be selected whole (-1, or -2 as
// the operand of what follows) or hold a caret before (-3) or after (-4) it.
#pragma once

#include <string>

#include "mathobj/object.h"
#include "mathobj/selection.h"

namespace lemmabox {

// Marks a character range made by a space typed at the end of a text: the
// next character starts a new object rather than extending the text.
constexpr int32_t kSpaceSplitMark = 0x8000;

inline bool IsWholePosition(int32_t position) {
  return position == kPosWhole || position == kPosWholeOperand;
}
inline bool IsCaretPosition(int32_t position) {
  return position == kPosCaretBefore || position == kPosCaretAfter;
}
// A range or block rather than one of the special words.
inline bool IsRangePosition(int32_t position) {
  return position < -8 || position >= 0;
}

// Objects selected by characters: ' n i r v and the wildcard.
bool IsTextType(TypeCode type);
// Operand lists selected by slot ranges.
inline bool IsOperandListType(TypeCode type) {
  return type == '*' || type == '+' || type == ',';
}

// The characters of a text object as the user edits them (a declared name's
// spelling, an integer's digits, a real's shown digits, a wildcard's kind).
std::string EditableText(Handle obj);
// The number of characters of a text object, or the count of any other.
int SelectionLength(Handle obj);

struct Range {
  int start = 0;
  int end = 0;
  bool Empty() const { return start == end; }
  int Size() const { return end - start; }
};
// The range a position stands for: -1, -2 and -3 start at 0, -4 at the
// length; -1, -2 and -4 end at the length, -3 at 0. Ranges are clamped to
// 0..length; the space-split mark is masked off.
Range RangeOf(Handle obj, int32_t position);

struct Block {
  int row0 = 0;
  int col0 = 0;
  int row1 = 0;  // one past the last row
  int col1 = 0;  // one past the last column
  int Cells() const { return (row1 - row0) * (col1 - col0); }
};
constexpr int32_t PackBlock(int row0, int col0, int row1, int col1) {
  return static_cast<int32_t>((static_cast<uint32_t>(row0 & 0xFF) << 24) | ((col0 & 0xFF) << 16) |
                              ((row1 & 0xFF) << 8) | (col1 & 0xFF));
}
// The block a position stands for in a matrix, clamped to it; the whole
// matrix for the special words.
Block BlockOf(Handle matrix, int32_t position);
inline bool IsBlockPosition(Handle obj, int32_t position) {
  return ObjType(obj) == 'm' && IsRangePosition(position);
}

// Where a selection lies for inserting beside it: -1 at the start (a caret
// before it, a text or slot caret at 0, a block starting in column 0), +1 at
// the end (a caret after it, a range starting at the end), 0 when it covers
// the whole object or lies in the middle.
int SideOf(const Selection& selection);
// Whether the selection covers its whole object.
bool CoversWhole(const Selection& selection);

// A new object holding a copy of the selected part; null for a caret. With
// `check`, a product range that cuts through a D-linear operator raises 13172.
Handle ExtractSelection(const Selection& selection, bool check = false);
// Puts replacement (which it takes) in place of the selected part and returns
// what now stands there: a caret before or after the object gives the product
// of replacement and the object; a slot range is replaced in its slots; a
// block cell by cell; anything else replaces the object whole.
Handle ReplaceSelection(const Selection& selection, Handle replacement);

}  // namespace lemmabox
