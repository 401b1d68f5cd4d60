// Fractions, powers, subscripts, square roots and the partial derivative
// operator: operands set above, below or beside each other, some smaller.
#include <algorithm>

#include "layout/click.h"
#include "layout/draw_obj.h"
#include "layout/families.h"
#include "layout/highlight.h"
#include "layout/pointer_help.h"
#include "layout/size_obj.h"
#include "mathobj/optables.h"
#include "shell/charset.h"

namespace lemmabox {
namespace {

constexpr char kPartialSign[] = {static_cast<char>(kCharPartial), 0};

LayoutBox SizeSlot(Handle obj, int slot, const SizeContext& ctx) {
  Handle child = SlotOrNull(obj, slot);
  return child ? SizeObj(child, ctx) : LayoutBox{};
}

void PlaceSlot(Handle obj, int slot, int32_t x, int32_t y) {
  if (Handle child = SlotOrNull(obj, slot)) PlaceChild(child, x, y);
}

bool IsNumberSlot(Handle obj, int slot) {
  Handle child = SlotOrNull(obj, slot);
  return child && IsNumberType(ObjType(child));
}

// Exponents and indices are set one level smaller, or two when they are a
// single name or number.
SizeContext ScriptContext(Handle obj, const SizeContext& ctx) {
  Handle script = SlotOrNull(obj, 1);
  return script && ObjCount(script) == 0 ? ctx.SmallerTwice() : ctx.Smaller();
}

// --- quotient ---

void SizeQuotient(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  // A fraction of two numbers (3/4) is set entirely at the smallest level.
  const SizeContext inner =
      IsNumberSlot(obj, 0) && IsNumberSlot(obj, 1) ? ctx.AtLevel(kLevelSmallest) : ctx;
  const int32_t t = ctx.Metrics().rule[ctx.level];
  const LayoutBox num = SizeSlot(obj, 0, inner);
  const LayoutBox den = SizeSlot(obj, 1, inner);
  const int32_t width = std::max(num.width, den.width) + 2 * t;
  PlaceSlot(obj, 0, (width - num.width) / 2, 0);
  PlaceSlot(obj, 1, (width - den.width) / 2, num.height + 3 * t);
  out = LayoutBox{width, num.height + den.height + 3 * t, num.height + t};
}

// The fraction rule along the reference line.
void DrawRule(const DrawContext& ctx) {
  const int32_t t = ctx.Metrics().rule[ctx.level];
  const int32_t y = ctx.ReferenceY();
  DrawStroke(*ctx.port, t, Point{ctx.box.left + t, y}, Point{ctx.box.right - 2 * t, y});
}

void DrawQuotient(Handle obj, const DrawContext& ctx) {
  DrawSlot(obj, 0, ctx);
  DrawSlot(obj, 1, ctx);
  DrawRule(ctx);
}

// --- power and index ---

void SizePower(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutBox base = SizeSlot(obj, 0, ctx);
  const LayoutBox exponent = SizeSlot(obj, 1, ScriptContext(obj, ctx));
  const int32_t baseline = std::max(base.baseline + exponent.baseline / 2, exponent.height);
  PlaceSlot(obj, 0, 0, baseline - base.baseline);
  PlaceSlot(obj, 1, base.width, 0);
  out = LayoutBox{base.width + exponent.width, base.Depth() + baseline, baseline};
}

void SizeIndex(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutBox base = SizeSlot(obj, 0, ctx);
  const LayoutBox index = SizeSlot(obj, 1, ScriptContext(obj, ctx));
  // The index's reference line sits on the base's bottom, and the whole
  // reaches at least as far down as the base.
  const int32_t above = base.height - index.baseline;
  int32_t height = above + index.height;
  if (above < base.baseline) height += base.baseline - above;
  PlaceSlot(obj, 0, 0, 0);
  PlaceSlot(obj, 1, base.width, height - index.height);
  out = LayoutBox{base.width + index.width, height, base.baseline};
}

void DrawTwoSlots(Handle obj, const DrawContext& ctx) {
  DrawSlot(obj, 0, ctx);
  DrawSlot(obj, 1, ctx);
}

// --- square root ---

void SizeSqrt(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t t = m.rule[ctx.level];
  const LayoutBox radicand = SizeSlot(obj, 0, ctx);
  PlaceSlot(obj, 0, m.u2 + radicand.height / 2, 2 * t);
  out = LayoutBox{radicand.width + m.parenBase + radicand.height / 2, radicand.height + 2 * t,
                  radicand.baseline + 2 * t};
}

void DrawSqrt(Handle obj, const DrawContext& ctx) {
  DrawSlot(obj, 0, ctx);
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t t = m.rule[ctx.level];
  const Rect& r = ctx.box;
  const int32_t q = r.Height() / 4;
  GraphicsPort& port = *ctx.port;
  port.startLine(t);
  port.moveTo(r.right - t - m.u, r.top);
  port.lineTo(r.left + 2 * q, r.top);
  port.lineTo(r.left + q, r.bottom - t);
  port.lineTo(r.left + q / 2, ctx.ReferenceY());
  port.line(-q / 2, q / 2);
  port.endLine();
}

// --- partial derivative operator: a sign over a sign and the variable ---

struct PartialGeometry {
  TextBox sign;
  int32_t rule;
};

PartialGeometry PartialSign(const LayoutEnv& env, int level) {
  return PartialGeometry{MeasureText(env, level, kFontMain, kPartialSign),
                         env.metrics().rule[level]};
}

void SizePartial(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const PartialGeometry g = PartialSign(*ctx.env, ctx.level);
  const int32_t t = g.rule;
  const LayoutBox variable = SizeSlot(obj, 0, ctx);
  const int32_t baseline = t + g.sign.height;
  const int32_t rowAscent = std::max(g.sign.baseline, variable.baseline);
  PlaceSlot(obj, 0, t + g.sign.width, baseline + 2 * t + rowAscent - variable.baseline);
  const int32_t below = std::max(baseline - g.sign.baseline - ctx.Metrics().u, variable.Depth());
  out = LayoutBox{variable.width + g.sign.width + 2 * t, baseline + rowAscent + 2 * t + below,
                  baseline};
}

void DrawPartial(Handle obj, const DrawContext& ctx) {
  DrawSlot(obj, 0, ctx);
  DrawRule(ctx);
  const PartialGeometry g = PartialSign(*ctx.env, ctx.level);
  const Rect& r = ctx.box;
  // The numerator's sign, centred above the rule.
  DrawTextOnReference(ctx, kFontMain, ctx.level, kPartialSign,
                      r.left + (r.Width() - g.sign.width) / 2, r.top + g.sign.baseline);
  // The denominator's sign, before the variable and on its reference line.
  Handle variable = SlotOrNull(obj, 0);
  const int32_t rowReference =
      variable ? ctx.Child(variable).ReferenceY() : ctx.ReferenceY() + 2 * g.rule + g.sign.baseline;
  DrawTextOnReference(ctx, kFontMain, ctx.level, kPartialSign, r.left + g.rule, rowReference);
}

}  // namespace

void RegisterScriptLayout() {
  gSizeTable.Set(kQuotient, SizeQuotient);
  gDrawTable.Set(kQuotient, DrawQuotient);
  gSizeTable.Set(kPower, SizePower);
  gDrawTable.Set(kPower, DrawTwoSlots);
  gSizeTable.Set(kIndex, SizeIndex);
  gDrawTable.Set(kIndex, DrawTwoSlots);
  gSizeTable.Set(kSqrt, SizeSqrt);
  gDrawTable.Set(kSqrt, DrawSqrt);
  gSizeTable.Set(kPartial, SizePartial);
  gDrawTable.Set(kPartial, DrawPartial);
  for (TypeCode type : {kQuotient, kPower, kIndex, kSqrt, kPartial}) {
    gHiliteTable.Set(type, HiliteGeneric);
    gClickTable.Set(type, ClickGeneric);
    gCursorTable.Set(type, CursorExpression);
  }
}

}  // namespace lemmabox
