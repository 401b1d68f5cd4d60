// The small marks that notebook rows draw besides their content: the icons
// of entries that have no bitmap of their own (declarations, rules, plots,
// tables, graphs), the dot of a working statement, the marker under a
// collapsed row, the frame of a stale statement, and the colours rows use.
#pragma once

#include "layout/context.h"

namespace lemmabox {

// The colour of a conclusion that could not be derived again because one of
// the equations it depends on has an error (13289), and of every other
// failure.
constexpr RgbColor kDependencyErrorColor{196, 98, 0};
constexpr RgbColor kErrorColor{200, 0, 0};
// Frames and markers that should not compete with the mathematics.
constexpr RgbColor kMarkColor{128, 128, 128};

// Draws the icon of an entry type into its icon box when the notebook shows
// icons: the bitmaps of case theories, comments and page breaks, a drawn
// mark for the others.
void DrawTypeIcon(const LayoutEnv& env, GraphicsPort& port, TypeCode type, const Rect& box);

// The dot in the icon of a working statement.
void DrawWorkingStatementDot(const LayoutEnv& env, GraphicsPort& port, const Rect& iconBox);

// The marker in the extra units below a collapsed row: a dotted rule.
void DrawCollapsedMarker(const LayoutEnv& env, GraphicsPort& port, int32_t left, int32_t right,
                         int32_t y);

// A dotted frame around a box (a stale statement).
void DrawStaleFrame(const LayoutEnv& env, GraphicsPort& port, const Rect& box);

// Sets the port's drawing colour, keeping its background.
void SetPenColor(GraphicsPort& port, RgbColor color);

}  // namespace lemmabox
