// Showing a selection: the rectangle to invert for a selected part, or the
// line of a caret.
#pragma once

#include "layout/context.h"
#include "mathobj/selection.h"

namespace lemmabox {

struct HighlightShape {
  bool shown = false;  // false: nothing to show (detached object, or a space)
  bool caret = false;  // a caret line rather than an inverted area
  Rect rect;           // absolute; a caret is one unit wide (or high)
};

// The highlight of a selection, from the cached layout of its object (which
// must be attached: a notebook's objects always are). Internal error
// "UnHilite" for a type without a Highlight entry.
HighlightShape SelectionHighlight(const LayoutEnv& env, const Selection& selection);

// The absolute place of an attached, laid-out object.
PlaceContext PlaceOf(const LayoutEnv& env, Handle obj);

// The generic Highlight entry: the whole object (-1) or, for the codes -2 to
// -8, the object with its automatic brackets, with -3 and -4 narrowed to a
// caret before or after it.
void HiliteGeneric(Handle obj, const PlaceContext& ctx, int32_t position, Rect& out);

// The object's box between two x offsets from its left edge.
Rect SpanRect(const PlaceContext& ctx, int32_t fromX, int32_t toX);

}  // namespace lemmabox
