// Big operators with limits: integrals, evaluate-at, iterated sums and
// products, and limits. Their limits and index rows are set smaller, beside
// or under a large sign.
#include <algorithm>
#include <string_view>

#include "layout/click.h"
#include "layout/draw_obj.h"
#include "layout/families.h"
#include "layout/highlight.h"
#include "layout/pointer_help.h"
#include "layout/size_obj.h"
#include "mathobj/optables.h"
#include "shell/string_cache.h"
#include "shell/strings.h"

namespace lemmabox {
namespace {

// Symbol-font codes of the signs.
constexpr std::string_view kSigmaSign = "\xE5";
constexpr std::string_view kPiSign = "\xD5";
constexpr std::string_view kArrowSign = "\xAE";

LayoutBox SizeSlot(Handle obj, int slot, const SizeContext& ctx) {
  Handle child = SlotOrNull(obj, slot);
  return child ? SizeObj(child, ctx) : LayoutBox{};
}

void PlaceSlot(Handle obj, int slot, int32_t x, int32_t y) {
  if (Handle child = SlotOrNull(obj, slot)) PlaceChild(child, x, y);
}

void DrawSlots(Handle obj, const DrawContext& ctx) {
  for (int i = 0; i < ObjCount(obj); ++i) DrawSlot(obj, i, ctx);
}

// The absolute place of a slot, or of an empty spot at the object's top-left.
PlaceContext SlotPlace(Handle obj, int slot, const PlaceContext& ctx) {
  Handle child = SlotOrNull(obj, slot);
  if (child) return ctx.Child(child);
  PlaceContext empty = ctx;
  empty.box = Rect{ctx.box.left, ctx.box.top, ctx.box.left, ctx.box.top};
  empty.baseline = 0;
  return empty;
}

std::string_view LimWord() {
  const char* text = StringById(kStrLim);
  return text ? text : "lim";
}

// The sign of a relation between an index row's two parts ("=" or the
// arrow), a quarter of the way into the gap after the variable, on the
// variable's reference line.
int32_t RowSignX(const PlaceContext& variable, const PlaceContext& value, int32_t left) {
  return left + (3 * (variable.box.right - left) + (value.box.left - left)) / 4;
}

// --- integral ---

void SizeIntegral(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const int32_t s = ctx.Size();
  const int32_t h = s / 2;
  const int32_t g = h / 4;
  const LayoutBox integrand = SizeSlot(obj, 0, ctx);
  const LayoutBox lower = SizeSlot(obj, 1, ctx.Smaller());
  const LayoutBox upper = SizeSlot(obj, 2, ctx.Smaller());
  const int32_t width = std::max(lower.width - g, g + upper.width) + 2 * h + integrand.width;
  const int32_t baseline = std::max(upper.baseline + s, integrand.baseline);
  const int32_t height = baseline + std::max(lower.Depth() + s, integrand.Depth());
  PlaceSlot(obj, 0, width - integrand.width - h, baseline - integrand.baseline);
  PlaceSlot(obj, 1, h - g, height - lower.height);
  PlaceSlot(obj, 2, g + h, 0);
  out = LayoutBox{width, height, baseline};
}

void DrawIntegral(Handle obj, const DrawContext& ctx) {
  DrawSlots(obj, ctx);
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t s = ctx.Size();
  Handle lower = SlotOrNull(obj, 1);
  Handle upper = SlotOrNull(obj, 2);
  const int32_t top = ctx.box.top + (upper ? ObjBaseline(upper) : 0);
  const int32_t lowerDepth = lower ? ObjBox(lower).Height() - ObjBaseline(lower) : 0;
  const Rect zone{ctx.box.left, top, ctx.box.left + m.half[ctx.level], ctx.box.bottom - lowerDepth};
  ctx.port->integralSign(zone, std::max(m.u2, (s + 7) / 8));
}

// --- evaluate at: values, a bar, then the expression ---

void SizeEvalAt(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const LayoutBox expression = SizeSlot(obj, 0, ctx);
  const LayoutBox lower = SizeSlot(obj, 1, ctx.SmallerTwice());
  const LayoutBox upper = SizeSlot(obj, 2, ctx.SmallerTwice());
  const int32_t v = std::max(lower.width, upper.width);
  const int32_t width = expression.width + m.em + v;
  const int32_t baseline = std::max(upper.height + m.u, expression.baseline);
  const int32_t height = baseline + std::max(lower.height + m.u, expression.Depth());
  PlaceSlot(obj, 0, width - expression.width - m.parenBase, baseline - expression.baseline);
  PlaceSlot(obj, 1, v - lower.width, height - lower.height);
  PlaceSlot(obj, 2, v - upper.width, 0);
  out = LayoutBox{width, height, baseline};
}

void DrawEvalAt(Handle obj, const DrawContext& ctx) {
  DrawSlots(obj, ctx);
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t K = m.parenBase;
  Handle expression = SlotOrNull(obj, 0);
  const int32_t expressionLeft =
      expression ? ctx.Child(expression).box.left - OwnParenMargin(m, expression)
                 : ctx.box.right - K;
  const int32_t x = expressionLeft - K;
  const int32_t bottom = ctx.box.bottom - m.u2;
  GraphicsPort& port = *ctx.port;
  port.startLine(m.u2);
  port.moveTo(x + K, ctx.box.top);
  port.lineTo(x, ctx.box.top);
  port.lineTo(x, bottom);
  port.lineTo(x + K, bottom);
  port.endLine();
}

// --- iterated sum: the sign with the end value above and "variable =
// start" below, all at the smallest level; it sums what it multiplies ---

struct IndexRow {
  LayoutBox variable;
  LayoutBox start;
  int32_t width;   // variable, "=" with room around it, start
  int32_t ascent;  // of the row: at least half the smallest size
  int32_t descent;
};

IndexRow MeasureIndexRow(const SizeContext& ctx, Handle obj, int firstSlot) {
  const SizeContext small = ctx.AtLevel(kLevelSmallest);
  IndexRow row;
  row.variable = SizeSlot(obj, firstSlot, small);
  row.start = SizeSlot(obj, firstSlot + 1, small);
  const int32_t e = ProgramTextWidth(*ctx.env, kFontMain, kLevelSmallest, "=");
  const int32_t r = ctx.Metrics().size[kLevelSmallest] / 2;
  row.width = 2 * e + row.variable.width + row.start.width;
  row.ascent = std::max({row.variable.baseline, r, row.start.baseline});
  row.descent = std::max({row.variable.Depth(), r, row.start.Depth()});
  return row;
}

void PlaceIndexRow(Handle obj, int firstSlot, const IndexRow& row, int32_t columnWidth, int32_t y) {
  PlaceSlot(obj, firstSlot, (columnWidth - row.width) / 2, y - row.variable.baseline);
  PlaceSlot(obj, firstSlot + 1, (row.width + columnWidth) / 2 - row.start.width,
            y - row.start.baseline);
}

void SizeSummation(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t s = ctx.Size();
  const int32_t half = m.half[ctx.level];
  const IndexRow row = MeasureIndexRow(ctx, obj, 0);
  const LayoutBox end = SizeSlot(obj, 2, ctx.AtLevel(kLevelSmallest));
  const int32_t sigma = SymbolTextWidth(*ctx.env, ctx.level, kSigmaSign);
  const int32_t r = m.size[kLevelSmallest] / 2;
  const int32_t width = std::max({end.width, sigma, row.width});
  const int32_t baseline = r + end.height + half;
  PlaceIndexRow(obj, 0, row, width, half + row.ascent + baseline);
  PlaceSlot(obj, 2, (width - end.width) / 2, 0);
  out = LayoutBox{width, r + s + end.height + row.descent + row.ascent, baseline};
}

void DrawBigSign(const DrawContext& ctx, std::string_view sign, int32_t x) {
  DrawSymbolText(*ctx.env, *ctx.port, ctx.level, sign, x,
                 FontBaselineFor(*ctx.env, ctx.level, ctx.ReferenceY()));
}

void DrawRowSign(const DrawContext& ctx, Handle obj, int firstSlot) {
  const PlaceContext variable = SlotPlace(obj, firstSlot, ctx);
  const PlaceContext start = SlotPlace(obj, firstSlot + 1, ctx);
  DrawProgramText(*ctx.env, *ctx.port, kFontMain, kLevelSmallest, "=",
                  RowSignX(variable, start, ctx.box.left),
                  variable.ReferenceY() + ctx.Metrics().u2);
}

void DrawSummation(Handle obj, const DrawContext& ctx) {
  DrawSlots(obj, ctx);
  const int32_t sigma = SymbolTextWidth(*ctx.env, ctx.level, kSigmaSign);
  DrawBigSign(ctx, kSigmaSign, (ctx.box.left + ctx.box.right - sigma) / 2);
  DrawRowSign(ctx, obj, 0);
}

// --- iterated product: the same column before its body ---

void SizePiProduct(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t s = ctx.Size();
  const int32_t half = m.half[ctx.level];
  const int32_t r = m.size[kLevelSmallest] / 2;
  const LayoutBox body = SizeSlot(obj, 0, ctx);
  const IndexRow row = MeasureIndexRow(ctx, obj, 1);
  const LayoutBox end = SizeSlot(obj, 3, ctx.AtLevel(kLevelSmallest));
  const int32_t pi = SymbolTextWidth(*ctx.env, ctx.level, kPiSign);
  const int32_t column = std::max({end.width, pi, row.width});
  const int32_t signTop = r + end.height;  // above the sign: the end value
  const int32_t baseline = std::max(signTop + half, body.baseline);
  const int32_t rowY = m.u + row.ascent + half + baseline;
  const int32_t width = column + body.width + m.parenBase;
  // A body taller than the sign pushes the sign down; the end value stays
  // just above the sign and the index row just below it, inside the box.
  const int32_t columnHeight = r + s + end.height + row.descent + row.ascent + m.u;
  const int32_t height = std::max({baseline + body.Depth(), columnHeight, rowY + row.descent});
  PlaceIndexRow(obj, 1, row, column, rowY);
  PlaceSlot(obj, 3, (column - end.width) / 2, baseline - half - signTop);
  PlaceSlot(obj, 0, width - body.width - m.u2, baseline - body.baseline);
  out = LayoutBox{width, height, baseline};
}

void DrawPiProduct(Handle obj, const DrawContext& ctx) {
  DrawSlots(obj, ctx);
  const int32_t pi = SymbolTextWidth(*ctx.env, ctx.level, kPiSign);
  const PlaceContext body = SlotPlace(obj, 0, ctx);
  const int32_t bodyLeft =
      (SlotOrNull(obj, 0) ? body.box.left - OwnParenMargin(ctx.Metrics(), ObjSlot(obj, 0))
                          : ctx.box.right) -
      ctx.box.left;
  DrawBigSign(ctx, kPiSign, ctx.box.left + (bodyLeft - pi) / 2);
  DrawRowSign(ctx, obj, 1);
}

// --- limit: "lim" over "variable -> value", then the expression ---

void SizeLimit(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t half = m.half[ctx.level];
  const SizeContext small = ctx.AtLevel(kLevelSmallest);
  const LayoutBox variable = SizeSlot(obj, 0, small);
  const LayoutBox value = SizeSlot(obj, 1, small);
  const LayoutBox expression = SizeSlot(obj, 2, ctx);
  const int32_t lim = ProgramTextWidth(*ctx.env, kFontMain, ctx.level, LimWord());
  const int32_t arrow = SymbolTextWidth(*ctx.env, kLevelSmallest, kArrowSign);
  const int32_t rowWidth = 2 * arrow + variable.width + value.width;
  const int32_t ascent = std::max({variable.baseline, value.baseline, 0});
  const int32_t descent = std::max({variable.Depth(), value.Depth(), 0});
  const int32_t column = std::max(lim, rowWidth);
  const int32_t baseline = std::max(half, expression.baseline);
  const int32_t rowY = m.u + ascent + half + baseline;
  const int32_t width = column + m.parenBase + expression.width;
  PlaceSlot(obj, 0, (column - rowWidth) / 2, rowY - variable.baseline);
  PlaceSlot(obj, 1, (column + rowWidth) / 2 - value.width, rowY - value.baseline);
  PlaceSlot(obj, 2, width - expression.width - m.u2, baseline - expression.baseline);
  const int32_t height = baseline + std::max(half + m.u2 + ascent + descent, expression.Depth());
  out = LayoutBox{width, height, baseline};
}

void DrawLimit(Handle obj, const DrawContext& ctx) {
  DrawSlots(obj, ctx);
  const LayoutEnv& env = *ctx.env;
  const std::string_view lim = LimWord();
  const int32_t limWidth = ProgramTextWidth(env, kFontMain, ctx.level, lim);
  const PlaceContext expression = SlotPlace(obj, 2, ctx);
  const int32_t expressionLeft =
      (SlotOrNull(obj, 2) ? expression.box.left - OwnParenMargin(ctx.Metrics(), ObjSlot(obj, 2))
                          : ctx.box.right) -
      ctx.box.left;
  DrawTextOnReference(ctx, kFontMain, ctx.level, lim,
                      ctx.box.left + (expressionLeft - limWidth) / 2, ctx.ReferenceY());
  const PlaceContext variable = SlotPlace(obj, 0, ctx);
  const PlaceContext value = SlotPlace(obj, 1, ctx);
  DrawSymbolText(env, *ctx.port, kLevelSmallest, kArrowSign,
                 RowSignX(variable, value, ctx.box.left), variable.ReferenceY() + ctx.Metrics().u2);
}

}  // namespace

void RegisterBigOperatorLayout() {
  gSizeTable.Set(kIntegral, SizeIntegral);
  gDrawTable.Set(kIntegral, DrawIntegral);
  gSizeTable.Set(kEvalAt, SizeEvalAt);
  gDrawTable.Set(kEvalAt, DrawEvalAt);
  gSizeTable.Set(kSummation, SizeSummation);
  gDrawTable.Set(kSummation, DrawSummation);
  gSizeTable.Set(kPiProduct, SizePiProduct);
  gDrawTable.Set(kPiProduct, DrawPiProduct);
  gSizeTable.Set(kLimit, SizeLimit);
  gDrawTable.Set(kLimit, DrawLimit);
  for (TypeCode type : {kIntegral, kEvalAt, kSummation, kPiProduct, kLimit}) {
    gHiliteTable.Set(type, HiliteGeneric);
    gClickTable.Set(type, ClickGeneric);
    gCursorTable.Set(type, CursorExpression);
  }
}

}  // namespace lemmabox
