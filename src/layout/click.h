// Selecting by clicking and dragging.
//
// A gesture is offered to the tree from the top; every object offers it to
// its sub-objects first, so the innermost object that contains both points
// decides what is selected. Positions are the selection list's position
// words (mathobj/selection.h).
#pragma once

#include <cstdint>

#include "layout/context.h"
#include "mathobj/selection.h"

namespace lemmabox {

// Offers the gesture to obj, whose box is relative to the object `parent`
// describes. Returns whether obj (or something inside it) took it.
bool ClickObj(Handle obj, const PlaceContext& parent, const ClickGesture& gesture, Selection& out);

// The selection for a gesture on a laid-out tree whose root's box is
// relative to `origin`. False when nothing takes the gesture.
bool ClickSelect(Handle root, const LayoutEnv& env, Point origin, const ClickGesture& gesture,
                 Selection& out);

// Offers the gesture to the slots from `first` on, in order; true when one
// took it.
bool ClickSlots(Handle obj, int first, const PlaceContext& ctx, const ClickGesture& gesture,
                Selection& out);

// The generic Click entry: the slots first; otherwise a caret before the
// object when both points lie in its first 2 units, after it when both lie
// in its last 2 units, else the whole object.
bool ClickGeneric(Handle obj, const PlaceContext& ctx, const ClickGesture& gesture, Selection& out);

// The range rule of text objects and operand lists. `offset(k)` is the x of
// position k (0..n) from the object's left edge. A position counts as
// started when the gesture's left end lies beyond the middle of the piece
// before it, and as covered when the right end reaches that middle. For
// operand lists `offerSlot(k)` is asked after position k (k < n) and ends
// the rule when it takes the gesture.
struct RangeResult {
  bool slotTook = false;
  int32_t start = 0;
  int32_t end = 0;
};
template <class Offset, class OfferSlot>
RangeResult ApplyRangeRule(int32_t left, int32_t n, Offset&& offset, const ClickGesture& gesture,
                           OfferSlot&& offerSlot) {
  RangeResult result;
  const int32_t a = gesture.MinX() - left;
  const int32_t b = gesture.MaxX() - left;
  int32_t previous = 0;
  for (int32_t k = 0; k <= n; ++k) {
    const int32_t current = offset(k);
    int32_t middle = (previous + current) / 2;
    if (k == 1 && n == 1) {
      // A single piece is never selected by a click: a press left of its
      // middle gives a caret before it, else a caret after it.
      if (middle - 1 < a) result.start = k;
      middle += 1;
    } else if (middle < a) {
      result.start = k;
    }
    if (middle <= b) result.end = k;
    if (k < n && offerSlot(k)) {
      result.slotTook = true;
      return result;
    }
    previous = current;
  }
  // A press on the very middle of a single piece would give a reversed
  // range; it is the caret after the piece.
  if (result.end < result.start) result.end = result.start;
  return result;
}

// The range rule for objects without slots to offer.
template <class Offset>
RangeResult ApplyRangeRule(int32_t left, int32_t n, Offset&& offset, const ClickGesture& gesture) {
  return ApplyRangeRule(left, n, offset, gesture, [](int32_t) { return false; });
}

// A range or, during a double-click, the whole object.
inline void SelectRange(Handle obj, const RangeResult& range, const ClickGesture& gesture,
                        Selection& out) {
  out = Selection{obj, gesture.doubleClick ? kPosWhole : PackRange(range.start, range.end)};
}

}  // namespace lemmabox
