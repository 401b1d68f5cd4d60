// Sizing: the SizeObj dispatcher and the rules every type shares.
//
// SizeObj adds to each type's Size entry: the size cache (a box stays valid
// for the level it was computed at), automatic brackets with their margins
// and shapes, the collapsed placeholder, automatic collapsing of oversized
// results, and the user-interrupt poll. A sized object's box has its
// top-left at 0, 0 until its parent places it; a parenthesised object's
// stored box excludes its brackets, which are drawn outside it.
#pragma once

#include "layout/context.h"

namespace lemmabox {

// Sizes obj at ctx's level and caches the box in its header; the result's
// width includes automatic brackets. Internal error "SizeObj" for null,
// "UnSize" for a type without a Size entry; 13120 when the user interrupts,
// 13174 when the tree is nested too deeply to walk.
LayoutBox SizeObj(Handle obj, const SizeContext& ctx);

// Sizes obj at a level with the bracket depth starting afresh (the root of a
// notebook entry, or an expression on its own). A detached obj's box is then
// moved inside its own brackets (its parent would do that otherwise).
LayoutBox SizeAtLevel(Handle obj, const LayoutEnv& env, int level);

// The width of each bracket: K + the child's box height / 16, or 0 without
// brackets.
int32_t ParenMargin(const LayoutMetrics& m, Handle parent, Handle child);
// The bracket width of obj inside its own parent (0 when it has none).
inline int32_t OwnParenMargin(const LayoutMetrics& m, Handle obj) {
  return ParenMargin(m, ObjParent(obj), obj);
}

// Moves each bracketed child's box inside its brackets (slots from `first`).
void ApplyParenMargins(const LayoutMetrics& m, Handle obj, int first);

// The bracket shape (0 round, 1 square, 2 brace) obj was sized with.
inline int ParenStyle(Handle obj) {
  return (Hdr(obj).flags & kParenStyleMask) >> kParenStyleShift;
}

// Measures a declaration's name at the three levels for env; the declaration
// keeps the sizes until the fonts or the port change.
void MeasureDeclarationName(Handle declaration, const LayoutEnv& env);

// Sums and products: collapsed, they still show one operand.
inline bool IsCollapsibleOperandList(TypeCode type) {
  return type == kSum || type == kProduct;
}

// The slot of a container's first notebook entry (Main Theory 2, Case Theory
// 1, 2D graph 68, 3D graph 92), or the first object slot of anything else.
int FirstEntrySlot(Handle obj);

}  // namespace lemmabox
