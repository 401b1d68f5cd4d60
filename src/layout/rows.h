// The rows of a theory: how the Main Theory and Case Theories stack their
// propositions, with indentation, propositions sharing a row, collapsed
// outline groups and the rows they hide.
//
// A proposition whose indentation is below 255 starts a row at that depth
// (an icon width per level); one whose indentation is 255 continues the row
// before it, to the right of the previous proposition. A collapsed row hides
// the deeper rows after it and is drawn a little taller, with a marker
// below it. In a Case Theory that shows icons, the rows up to its first
// later row at depth 0 move right to make room for the theory's own icon.
#pragma once

#include <cstdint>

#include "layout/context.h"

namespace lemmabox {

// A collapsed row is this many units taller: the room for its marker.
constexpr int32_t kCollapsedRowExtra = 3;

// Case Theories, tables and graphs round their width up to the next
// multiple of 32 that leaves at least 3 units to spare: (w + 34) / 32 * 32.
constexpr int32_t RoundedEntryWidth(int32_t width) {
  return (width + 34) / 32 * 32;
}

struct RowsExtent {
  int32_t right = 0;
  int32_t bottom = 0;
};

// Sizes and places the propositions of theory (a container) from (x0, y0),
// relative to the theory's top-left corner; hidden propositions get their
// `hidden` bit and an empty box. Returns the right edge of the widest row
// and the bottom of the last.
RowsExtent LayOutRows(Handle theory, const SizeContext& ctx, int32_t x0, int32_t y0);

// Draws the shown propositions of a container (and the markers of its
// collapsed rows).
void DrawRows(Handle theory, const DrawContext& ctx);

// The notebook's display hooks: the rows of a theory changed (insertions,
// deletions, collapsing, indentation) and the look of an object changed.
// Both bring the layout up to date and ask the windows showing it to redraw.
void RelayoutRows(Handle theory);
void RedrawChangedEntry(Handle obj);

}  // namespace lemmabox
