// Operators that wrap or follow one operand, or join two on one line:
// explicit parentheses, function application, the conditional brace,
// absolute value, factorial, adjoint and for-all.
#include <algorithm>

#include "layout/click.h"
#include "layout/draw_obj.h"
#include "layout/families.h"
#include "layout/highlight.h"
#include "layout/pointer_help.h"
#include "layout/size_obj.h"
#include "mathobj/optables.h"

namespace lemmabox {
namespace {

// The for-all sign and the colon before its condition, in the Symbol font.
constexpr char kForAllSign[] = "\x22";
constexpr char kSuchThat[] = ":";

LayoutBox SizeSlot(Handle obj, int slot, const SizeContext& ctx) {
  Handle child = SlotOrNull(obj, slot);
  return child ? SizeObj(child, ctx) : LayoutBox{};
}

void PlaceSlot(Handle obj, int slot, int32_t x, int32_t y) {
  if (Handle child = SlotOrNull(obj, slot)) PlaceChild(child, x, y);
}

void DrawFirstSlot(Handle obj, const DrawContext& ctx) {
  DrawSlot(obj, 0, ctx);
}

void DrawTwoSlots(Handle obj, const DrawContext& ctx) {
  DrawSlot(obj, 0, ctx);
  DrawSlot(obj, 1, ctx);
}

// The operand's own box; its brackets come from the margin.
void SizeParens(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  out = SizeSlot(obj, 0, ctx);
}

// Two operands side by side on one reference line, `gap` apart, starting at `lead`.
LayoutBox SizeSideBySide(Handle obj, const SizeContext& ctx, int32_t lead, int32_t gap) {
  const LayoutBox first = SizeSlot(obj, 0, ctx);
  const LayoutBox second = SizeSlot(obj, 1, ctx);
  const int32_t baseline = std::max(first.baseline, second.baseline);
  PlaceSlot(obj, 0, lead, baseline - first.baseline);
  PlaceSlot(obj, 1, lead + first.width + gap, baseline - second.baseline);
  return LayoutBox{lead + first.width + gap + second.width,
                   baseline + std::max(first.Depth(), second.Depth()), baseline};
}

// f(x): the argument gets its brackets from the margin.
void SizeApply(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  out = SizeSideBySide(obj, ctx, 0, 0);
}

// For all x: condition, with the sign before and the colon in a gap of one
// level size each.
void SizeForAll(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const int32_t s = ctx.Size();
  out = SizeSideBySide(obj, ctx, s, s);
}

void DrawForAll(Handle obj, const DrawContext& ctx) {
  DrawTwoSlots(obj, ctx);
  const LayoutEnv& env = *ctx.env;
  const int32_t s = ctx.Size();
  const int32_t y = FontBaselineFor(env, ctx.level, ctx.ReferenceY());
  const int32_t signWidth = SymbolTextWidth(env, ctx.level, kForAllSign);
  DrawSymbolText(env, *ctx.port, ctx.level, kForAllSign, ctx.box.left + (s - signWidth) / 2, y);
  Handle expression = SlotOrNull(obj, 0);
  const int32_t gapLeft =
      ctx.box.left +
      (expression ? Hdr(expression).box.right + OwnParenMargin(ctx.Metrics(), expression) : s);
  const int32_t colonWidth = SymbolTextWidth(env, ctx.level, kSuchThat);
  DrawSymbolText(env, *ctx.port, ctx.level, kSuchThat, gapLeft + (s - colonWidth) / 2, y);
}

// Conditional: a brace before a matrix of (value, condition) rows.
void SizeConditional(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const LayoutBox inner = SizeSlot(obj, 0, ctx);
  PlaceSlot(obj, 0, m.Points(9), m.u);
  out = LayoutBox{inner.width + m.Points(9), inner.height + m.u2, inner.baseline + m.u};
}

void DrawConditional(Handle obj, const DrawContext& ctx) {
  DrawFirstSlot(obj, ctx);
  const LayoutMetrics& m = ctx.Metrics();
  const Rect& r = ctx.box;
  const int32_t v = std::max(m.u, m.Points(1));
  const int32_t K = m.parenBase;
  const int32_t middle = (r.top + r.bottom) / 2;
  GraphicsPort& port = *ctx.port;
  port.startLine(v);
  port.moveTo(r.left + m.halfEm, r.top);
  port.line(-2 * v, 0);
  port.line(-2 * v, 2 * v);
  port.lineTo(r.left + K, middle - 2 * v);
  port.line(-K, 2 * v);
  port.line(K, 2 * v);
  port.lineTo(r.left + K, r.bottom - 3 * v);
  port.line(2 * v, 2 * v);
  port.line(2 * v, 0);
  port.endLine();
}

void SizeAbs(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const LayoutBox inner = SizeSlot(obj, 0, ctx);
  PlaceSlot(obj, 0, m.Points(5), m.u);
  out = LayoutBox{inner.width + m.Points(10), inner.height + m.u2, inner.baseline + m.u};
}

void DrawAbs(Handle obj, const DrawContext& ctx) {
  DrawFirstSlot(obj, ctx);
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t t = m.rule[ctx.level];
  const int32_t inset = m.Points(1);
  const Rect& r = ctx.box;
  DrawStroke(*ctx.port, t, Point{r.left + inset, r.top}, Point{r.left + inset, r.bottom - t});
  DrawStroke(*ctx.port, t, Point{r.right - t - inset, r.top},
             Point{r.right - t - inset, r.bottom - t});
}

void SizeFactorial(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutBox inner = SizeSlot(obj, 0, ctx);
  PlaceSlot(obj, 0, 0, 0);
  out = LayoutBox{inner.width + ProgramTextWidth(*ctx.env, kFontMain, ctx.level, "!"), inner.height,
                  inner.baseline};
}

void DrawFactorial(Handle obj, const DrawContext& ctx) {
  DrawFirstSlot(obj, ctx);
  Handle operand = SlotOrNull(obj, 0);
  const int32_t x = operand ? Hdr(operand).box.right + OwnParenMargin(ctx.Metrics(), operand) : 0;
  DrawTextOnReference(ctx, kFontMain, ctx.level, "!", ctx.box.left + x, ctx.ReferenceY());
}

void SizeAdjoint(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutBox inner = SizeSlot(obj, 0, ctx);
  PlaceSlot(obj, 0, 0, 0);
  out = LayoutBox{inner.width + ctx.Metrics().half[ctx.level], inner.height, inner.baseline};
}

// A dagger at the top right.
void DrawAdjoint(Handle obj, const DrawContext& ctx) {
  DrawFirstSlot(obj, ctx);
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t q = m.quarter[ctx.level];
  const int32_t c = (q + 1) / 2;
  const Rect& r = ctx.box;
  DrawStroke(*ctx.port, m.thinLine, Point{r.right - c - q, r.top + c},
             Point{r.right + c - q, r.top + c});
  DrawStroke(*ctx.port, m.thinLine, Point{r.right - q, r.top},
             Point{r.right - q, r.top + m.half[ctx.level]});
}

}  // namespace

void RegisterEnclosureLayout() {
  gSizeTable.Set(kParens, SizeParens);
  gDrawTable.Set(kParens, DrawFirstSlot);
  gSizeTable.Set(kApply, SizeApply);
  gDrawTable.Set(kApply, DrawTwoSlots);
  gSizeTable.Set(kForAll, SizeForAll);
  gDrawTable.Set(kForAll, DrawForAll);
  gSizeTable.Set(kConditional, SizeConditional);
  gDrawTable.Set(kConditional, DrawConditional);
  gSizeTable.Set(kAbs, SizeAbs);
  gDrawTable.Set(kAbs, DrawAbs);
  gSizeTable.Set(kFactorial, SizeFactorial);
  gDrawTable.Set(kFactorial, DrawFactorial);
  gSizeTable.Set(kAdjoint, SizeAdjoint);
  gDrawTable.Set(kAdjoint, DrawAdjoint);
  for (TypeCode type :
       {kParens, kApply, kForAll, kConditional, kAbs, kFactorial, kAdjoint, kSpecialHash}) {
    gHiliteTable.Set(type, HiliteGeneric);
    gClickTable.Set(type, ClickGeneric);
    gCursorTable.Set(type, CursorExpression);
  }
}

}  // namespace lemmabox
