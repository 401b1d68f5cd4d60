// Pointer help: what lies under the mouse pointer, which cursor it shows and
// which help text describes it.
#pragma once

#include <span>

#include "layout/context.h"
#include "mathobj/selection.h"

namespace lemmabox {

// Dragging a selection away is armed (the desktop arms it after a press on
// a selection): over a selection the pointer then offers to pick it up.
struct PickupState {
  bool armed = false;
  std::span<const Selection> selections;
};

// The innermost shown object under `point` in a laid-out tree whose root's
// box is relative to `origin`, with its cursor, help string id and the area
// (within `window`) where the answer stays the same. Nothing hit: only the
// area is set. Internal error "nb:cursor" without a layout environment,
// "UnCursor" for a type without a Cursor entry.
CursorInfo PointerHelp(const LayoutEnv* env, Handle root, Point origin, Point point,
                       const Rect& window, const PickupState& pickup = {});

// The help string id of a name ('\'' or 'v') by its declaration.
int32_t NameHelpId(Handle name);

// The Cursor entry of every expression type.
void CursorExpression(Handle obj, const PlaceContext& ctx, Point point, CursorInfo& out);

}  // namespace lemmabox
