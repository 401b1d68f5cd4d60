// The contexts that the layout passes hand down the tree.
//
// Sizing goes down with a SizeContext (environment, size level, bracket
// depth) and comes back with a LayoutBox; each object's box is then cached in
// its header, relative to its parent's top-left corner. Drawing, highlighting,
// clicking and pointer help go down with the absolute position of the object
// at hand (a PlaceContext), computed from those cached boxes. Contexts are
// values: a child's context is made from its parent's, never changed in place.
#pragma once

#include <cstdint>

#include "layout/metrics.h"
#include "mathobj/object.h"
#include "shell/types.h"

namespace lemmabox {

// The results of sizing an object: its width (including any automatic
// brackets around it), height, and the reference line's offset from the top.
struct LayoutBox {
  int32_t width = 0;
  int32_t height = 0;
  int32_t baseline = 0;
  int32_t Depth() const { return height - baseline; }
};

struct SizeContext {
  const LayoutEnv* env = nullptr;
  int level = kLevelMain;
  int parenDepth = 0;  // bracket nesting modulo 3: picks the bracket shape

  const LayoutMetrics& Metrics() const { return env->metrics(); }
  int32_t Size() const { return env->metrics().size[level]; }
  SizeContext AtLevel(int newLevel) const { return {env, newLevel, parenDepth}; }
  SizeContext Smaller() const { return AtLevel(StepDown(level)); }
  SizeContext SmallerTwice() const { return AtLevel(StepDown(StepDown(level))); }
};

// Where a laid-out object lies, in absolute port units.
struct PlaceContext {
  const LayoutEnv* env = nullptr;
  Rect box;              // the object's box (inside any automatic brackets)
  int32_t boxWord = 0;   // the fifth box word, carried along
  int32_t baseline = 0;  // the reference line's offset from box.top
  int level = kLevelMain;

  const LayoutMetrics& Metrics() const { return env->metrics(); }
  int32_t Size() const { return env->metrics().size[level]; }
  int32_t ReferenceY() const { return box.top + baseline; }
  // The absolute position of a child of this object.
  PlaceContext Child(Handle child) const;
};

// Drawing: the place, plus the port and the area that needs drawing.
struct DrawContext : PlaceContext {
  GraphicsPort* port = nullptr;
  Rect clip;

  DrawContext Child(Handle child) const;
};

// A mouse gesture: the press point and the current point, in port units.
struct ClickGesture {
  Point press;
  Point current;
  bool doubleClick = false;

  int32_t MinX() const { return press.x < current.x ? press.x : current.x; }
  int32_t MaxX() const { return press.x < current.x ? current.x : press.x; }
  int32_t MinY() const { return press.y < current.y ? press.y : current.y; }
  int32_t MaxY() const { return press.y < current.y ? current.y : press.y; }
  bool BothIn(const Rect& r) const { return r.Contains(press) && r.Contains(current); }
};

// Cursor shapes of pointer help.
enum CursorKind : int32_t {
  kCursorNone = 0,
  kCursorArrow = 1,     // over an operator or a notebook entry
  kCursorText = 2,      // over a name or number: a click puts the caret in it
  kCursorIcon = 3,      // over an entry's icon
  kCursorDragCopy = 5,  // over a selection that can be picked up and dragged
};

// The result of pointer help.
struct CursorInfo {
  Handle obj = nullptr;
  int32_t cursorKind = kCursorNone;
  int32_t helpId = 0;
  // Where the answer stays the same: the pointer can move within it without
  // asking again.
  Rect sensitive;
};

// Offsets the box of a child that SizeObj has just sized (its box starts at
// 0, 0) to (x, y) relative to its parent's top-left corner.
void PlaceChild(Handle child, int32_t x, int32_t y);

inline Rect ObjBox(Handle obj) {
  return Hdr(obj).box;
}
inline int32_t ObjBaseline(Handle obj) {
  return Hdr(obj).baseline;
}
// A slot's occupant, or null when the object has no such slot.
inline Handle SlotOrNull(Handle obj, int slot) {
  return slot < ObjCount(obj) ? ObjSlot(obj, slot) : nullptr;
}

}  // namespace lemmabox
