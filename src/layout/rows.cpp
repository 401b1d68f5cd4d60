#include "layout/rows.h"

#include <algorithm>

#include "layout/draw_obj.h"
#include "layout/entry_marks.h"
#include "layout/families.h"
#include "layout/hooks.h"
#include "layout/relayout.h"
#include "layout/size_obj.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "notebook/propositions.h"

namespace lemmabox {
namespace {

// Rows deeper than this are hidden; a collapsed row lowers it to its own
// depth until the next row at that depth or shallower.
constexpr int kNothingHidden = 250;

// The Main Theory's reference line.
constexpr int32_t kTheoryBaseline = 8;

void Hide(Handle prop, int32_t x, int32_t y) {
  SetFlag(prop, kFlagHidden);
  ClearFlag(prop, kFlagSizeValid);
  Hdr(prop).box = Rect{x, y, x, y};
}

// --- Main Theory ---

void SizeMainTheory(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const RowsExtent rows = LayOutRows(obj, ctx, 0, 0);
  out = LayoutBox{rows.right, rows.bottom, kTheoryBaseline};
}

void DrawMainTheory(Handle obj, const DrawContext& ctx) {
  DrawRows(obj, ctx);
}

// --- Case Theory ---

void SizeCaseTheory(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const RowsExtent rows = LayOutRows(obj, ctx, m.parenBase + m.u, m.parenBase);
  out = LayoutBox{RoundedEntryWidth(rows.right), std::max(rows.bottom, m.iconSize) + m.parenBase,
                  kTheoryBaseline + m.parenBase};
}

Rect Intersect(const Rect& a, const Rect& b) {
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

void DrawCaseTheory(Handle obj, const DrawContext& ctx) {
  const LayoutMetrics& m = ctx.Metrics();
  GraphicsPort& port = *ctx.port;
  // Whatever was drawn here before (a row that moved) goes first.
  const Rect area = Intersect(ctx.box, ctx.clip);
  if (area.Width() > 0 && area.Height() > 0) {
    const Point corners[] = {{area.left, area.top},
                             {area.right, area.top},
                             {area.right, area.bottom},
                             {area.left, area.bottom}};
    port.eraseArea(corners);
  }
  const RgbColor ink = port.foreground();
  SetPenColor(port, kMarkColor);
  port.frameZone(ctx.box);
  SetPenColor(port, ink);
  const int32_t x = ctx.box.left + m.parenBase + m.u;
  const int32_t y = ctx.box.top + m.parenBase;
  DrawTypeIcon(*ctx.env, port, kCaseTheory, Rect{x, y, x + m.iconSize, y + m.iconSize});
  DrawRows(obj, ctx);
}

// --- Page Break ---

void SizePageBreak(Handle, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t side = 2 * m.u + m.iconSize;
  out = LayoutBox{side, side, side / 2};
}

void DrawPageBreak(Handle, const DrawContext& ctx) {
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t x = ctx.box.left + m.u;
  const int32_t y = ctx.box.top + m.u;
  DrawTypeIcon(*ctx.env, *ctx.port, kPageBreak, Rect{x, y, x + m.iconSize, y + m.iconSize});
}

}  // namespace

RowsExtent LayOutRows(Handle theory, const SizeContext& ctx, int32_t x0, int32_t y0) {
  const LayoutMetrics& m = ctx.Metrics();
  const SizeContext entryCtx{ctx.env, kLevelMain, 0};
  // In a Case Theory showing icons, the rows make room for its icon.
  bool roomForIcon = ObjType(theory) == kCaseTheory && ctx.env->iconsShown();
  int32_t x = x0;
  int32_t y = y0;
  int32_t rowHeight = 0;
  int32_t widest = 0;
  int level = 0;
  int hideDeeper = kNothingHidden;
  bool first = true;
  for (int i = FirstEntrySlot(theory); i < ObjCount(theory); ++i) {
    Handle prop = ObjSlot(theory, i);
    if (!prop) continue;
    const bool startsRow = !IsInline(prop);
    if (startsRow) level = Indentation(prop);
    if (level > hideDeeper) {
      Hide(prop, x, y);
      first = false;
      continue;
    }
    ClearFlag(prop, kFlagHidden);
    if (startsRow) hideDeeper = kNothingHidden;
    const LayoutBox box = SizeObj(prop, entryCtx);
    if (!startsRow) {
      PlaceChild(prop, x, y);
      rowHeight = std::max(rowHeight, box.height);
    } else {
      widest = std::max(widest, x);
      y += rowHeight;
      if (level == 0 && !first) roomForIcon = false;
      x = x0 + m.iconSize * level + (roomForIcon ? m.iconSize + 2 : 0);
      PlaceChild(prop, x, y);
      rowHeight = box.height;
      if (HasFlag(prop, kFlagCollapsed)) {
        rowHeight += kCollapsedRowExtra;
        hideDeeper = level;
      }
    }
    x += box.width;
    first = false;
  }
  return RowsExtent{std::max(widest, x), y + rowHeight};
}

void DrawRows(Handle theory, const DrawContext& ctx) {
  for (int i = FirstEntrySlot(theory); i < ObjCount(theory); ++i) {
    Handle prop = ObjSlot(theory, i);
    if (!prop || HasFlag(prop, kFlagHidden)) continue;
    DrawObj(prop, ctx);
    if (HasFlag(prop, kFlagCollapsed) && !IsInline(prop)) {
      const Rect box = ctx.Child(prop).box;
      if (box.bottom + kCollapsedRowExtra > ctx.clip.top && box.bottom < ctx.clip.bottom)
        DrawCollapsedMarker(*ctx.env, *ctx.port, box.left, box.right, box.bottom + 1);
    }
  }
}

void RelayoutRows(Handle theory) {
  InvalidateSizes(theory);
  DisplayTarget display;
  if (!gLayoutHooks.displayOf(theory, display) || !display.env || !display.root) return;
  const Rect before = Hdr(display.root).box;
  const LayoutBox box = SizeAtLevel(display.root, *display.env, kLevelMain);
  Hdr(display.root).box =
      Rect{before.left, before.top, before.left + box.width, before.top + box.height};
  gLayoutHooks.refreshNotebook(display.root);
}

void RedrawChangedEntry(Handle obj) {
  IncrementalRelayout(obj);
}

void RegisterRowLayout() {
  gSizeTable.Set(kMainTheory, SizeMainTheory);
  gDrawTable.Set(kMainTheory, DrawMainTheory);
  gSizeTable.Set(kCaseTheory, SizeCaseTheory);
  gDrawTable.Set(kCaseTheory, DrawCaseTheory);
  gSizeTable.Set(kPageBreak, SizePageBreak);
  gDrawTable.Set(kPageBreak, DrawPageBreak);
}

}  // namespace lemmabox
