// The icons of notebook entries: case theories, comments and page breaks
// show one in the icon column of their row.
#pragma once

#include <cstdint>

#include "layout/context.h"

namespace lemmabox {

enum class EntryIcon { kCaseTheory, kComment, kPageBreak };

// The image for an icon at the metrics' icon step: 8 x 8 pixels at step 0,
// 16 x 16 at step 1, 32 x 32 from step 2 on (drawn stretched to the icon box).
int32_t EntryIconImageId(EntryIcon icon, int32_t iconStep);
// The mask image of an icon image id; internal error "EntryIconImage" for
// an unknown id.
const PortImage& EntryIconImage(int32_t imageId);

// The icon box of a row whose left edge is x and whose reference line is at
// y: a square of the icon size, its reference line halfway down.
Rect EntryIconBox(const LayoutMetrics& m, int32_t x, int32_t referenceY);

// Draws the icon into its box when the notebook shows icons.
void DrawEntryIcon(const LayoutEnv& env, GraphicsPort& port, EntryIcon icon, const Rect& box);

}  // namespace lemmabox
