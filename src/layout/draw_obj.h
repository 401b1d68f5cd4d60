// Drawing: the DrawObj dispatcher and the pieces Draw entries share.
//
// Drawing reuses the boxes that sizing cached; nothing is measured again for
// placement. DrawObj draws only what meets the clip rectangle, draws
// collapsed objects as a row of dots, and adds the automatic brackets.
#pragma once

#include <string_view>

#include "layout/context.h"
#include "layout/text.h"

namespace lemmabox {

// Draws obj, whose box is relative to the object `parent` describes; sets
// its `drawn` bit and clears `hidden`, also when it lies outside the clip
// rectangle. Internal error "DrawObj" for null.
void DrawObj(Handle obj, const DrawContext& parent);

// Draws a tree whose root's box is relative to `origin` (the position of the
// root's parent: (0, 0) for a notebook's root).
void DrawAtOrigin(Handle root, const LayoutEnv& env, GraphicsPort& port, const Rect& clip,
                  Point origin = {});

// Draws slot `slot` of the object ctx describes, when it holds an object.
void DrawSlot(Handle obj, int slot, const DrawContext& ctx);

// The dots that stand for collapsed content: from x, every 5 points while
// below x + width, on the line y.
void DrawPlaceholderDots(const DrawContext& ctx, int32_t x, int32_t width, int32_t y);

// Text at x with its font baseline placed for a reference line at referenceY.
void DrawTextOnReference(const DrawContext& ctx, FontSet set, int level, std::string_view text,
                         int32_t x, int32_t referenceY);

// A straight line of the given thickness.
void DrawStroke(GraphicsPort& port, int32_t thickness, Point from, Point to);

}  // namespace lemmabox
