// Operand lists: sums, products, negation, ranges, relations, cross and dot
// products and one-row matrices are a row of operands with an operator text
// between them, all on one reference line. Collapsed, a sum or product shows
// a single operand with dots for the hidden ones.
#include <algorithm>
#include <string_view>

#include "layout/click.h"
#include "layout/draw_obj.h"
#include "layout/families.h"
#include "layout/highlight.h"
#include "layout/pointer_help.h"
#include "layout/size_obj.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"

namespace lemmabox {
namespace {

struct OperatorStyle {
  std::string_view text;
  int32_t before;  // gaps in sixteenths of the level size
  int32_t after;
};

OperatorStyle StyleOf(TypeCode type) {
  switch (type) {
    case kProduct:
      return {"", 0, 0};
    case kSum:
    case kNegation:
      return {type == kSum ? "+" : "-", 2, 2};
    case kRange:
      return {"...", 3, 3};
    case kLess:
      return {"<", 4, 4};
    case kEquals:
      return {"=", 4, 4};
    case kGreater:
      return {">", 4, 4};
    case kLessEqual:
      return {"\xB2", 4, 4};
    case kNotEqual:
      return {"\xAD", 4, 4};
    case kGreaterEqual:
      return {"\xB3", 4, 4};
    case kCross:
      return {"\xA6", 2, 2};
    case kDot:
      return {"\xA5", 2, 2};
    default:  // a one-row matrix
      return {",", 0, 2};
  }
}

// The measures of one operand list at its level.
struct ListGeometry {
  OperatorStyle style;
  int32_t gapBefore;
  int32_t gapAfter;
  int32_t operatorWidth;
  int first;  // the shown operands
  int last;
  int count;
  bool hiddenBefore;
  bool hiddenAfter;

  ListGeometry(Handle obj, const LayoutEnv& env, int level) {
    const TypeCode type = ObjType(obj);
    style = StyleOf(type);
    const int32_t s = env.metrics().size[level];
    gapBefore = (style.before * s + 8) / 16;
    gapAfter = (style.after * s + 8) / 16;
    operatorWidth = ProgramTextWidth(env, kFontMain, level, style.text);
    count = ObjCount(obj);
    const bool collapsed = HasFlag(obj, kFlagCollapsed) && count > 0;
    const int shown = collapsed ? std::min<int>(count - 1, Hdr(obj).aux) : 0;
    first = collapsed ? shown : 0;
    last = collapsed ? shown : count - 1;
    hiddenBefore = collapsed && shown > 0;
    hiddenAfter = collapsed && shown < count - 1;
  }
  int32_t OperatorSpan() const { return gapBefore + operatorWidth + gapAfter; }
};

// Whether operand i is preceded by the operator: every one after the first,
// except that a negated term of a sum brings its own minus sign; a negation
// always shows its sign.
bool CarriesOperator(TypeCode type, int i, Handle operand) {
  if (type == kNegation) return true;
  if (i < 1) return false;
  return !(type == kSum && ObjType(operand) == kNegation);
}

// A number (or a power of one) after the first factor of a product is set
// apart by a multiplication dot: 2 3 would read as 23.
bool NeedsProductDot(TypeCode type, int i, Handle operand) {
  if (type != kProduct || i < 1) return false;
  if (IsNumberType(ObjType(operand))) return true;
  if (ObjType(operand) != kPower) return false;
  Handle base = ObjSlot(operand, 0);
  return base && IsNumberType(ObjType(base));
}

}  // namespace

void SizeOperandList(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const int level = ctx.level;
  const ListGeometry g(obj, *ctx.env, level);
  const TypeCode type = ObjType(obj);
  int32_t ascent = 0;
  int32_t depth = 0;
  for (int i = 0; i < g.count; ++i) {
    Handle operand = ObjSlot(obj, i);
    if (!operand) continue;
    if (i < g.first || i > g.last) {
      SetFlag(operand, kFlagHidden);
      ClearFlag(operand, kFlagSizeValid);
      Hdr(operand).box = Rect{};
      continue;
    }
    LayoutBox box = SizeObj(operand, ctx);
    ascent = std::max(ascent, box.baseline);
    depth = std::max(depth, box.Depth());
  }
  int32_t x = g.hiddenBefore ? m.twice[level] : 0;
  for (int i = g.first; i <= g.last; ++i) {
    Handle operand = ObjSlot(obj, i);
    if (!operand) continue;
    if (CarriesOperator(type, i, operand)) x += g.OperatorSpan();
    if (NeedsProductDot(type, i, operand)) x += m.quarter[level];
    const Obj& h = Hdr(operand);
    const int32_t width = h.box.right;
    PlaceChild(operand, x, ascent - h.baseline);
    x += width;
  }
  if (g.hiddenAfter) x += m.twice[level] + g.OperatorSpan();
  out = LayoutBox{x, ascent + depth, ascent};
}

void DrawOperandList(Handle obj, const DrawContext& ctx) {
  const LayoutMetrics& m = ctx.Metrics();
  const int level = ctx.level;
  const ListGeometry g(obj, *ctx.env, level);
  const TypeCode type = ObjType(obj);
  const int32_t reference = ctx.ReferenceY();
  const int32_t dotsY = reference - m.u;
  GraphicsPort& port = *ctx.port;
  int32_t x = ctx.box.left;
  if (g.hiddenBefore) {
    DrawPlaceholderDots(ctx, x, m.twice[level], dotsY);
    x += m.twice[level];
  }
  for (int i = g.first; i <= g.last; ++i) {
    Handle operand = ObjSlot(obj, i);
    if (!operand) continue;
    if (CarriesOperator(type, i, operand)) {
      DrawTextOnReference(ctx, kFontMain, level, g.style.text, x + g.gapBefore, reference);
    }
    if (NeedsProductDot(type, i, operand)) {
      port.startLine(m.u);
      port.dotAt(x + m.u, reference - m.u2);
      port.endLine();
    }
    DrawObj(operand, ctx);
    x = ctx.box.left + Hdr(operand).box.right + OwnParenMargin(m, operand);
  }
  if (g.hiddenAfter) {
    DrawTextOnReference(ctx, kFontMain, level, g.style.text, x + g.gapBefore, reference);
    DrawPlaceholderDots(ctx, x + g.OperatorSpan(), m.twice[level], dotsY);
  }
}

int32_t OperandBoundary(const PlaceContext& ctx, Handle obj, int32_t k) {
  const int32_t count = ObjCount(obj);
  const int32_t width = ctx.box.Width();
  if (k <= 0) return 0;
  if (k >= count) return width;
  const LayoutMetrics& m = ctx.Metrics();
  if (HasFlag(obj, kFlagCollapsed)) {
    // Only one operand is shown: the boundaries are spread across it.
    Handle shown = ObjSlot(obj, std::min<int32_t>(count - 1, Hdr(obj).aux));
    if (!shown) return width * k / count;
    const int32_t margin = OwnParenMargin(m, shown);
    const int32_t left = Hdr(shown).box.left - margin;
    const int32_t right = Hdr(shown).box.right + margin;
    return left + (right - left) * k / count;
  }
  Handle operand = ObjSlot(obj, k);
  if (!operand) return OperandBoundary(ctx, obj, k - 1);
  return Hdr(operand).box.left - OwnParenMargin(m, operand);
}

namespace {

void HiliteOperands(Handle obj, const PlaceContext& ctx, int32_t position, Rect& out) {
  if (position < 0) {
    HiliteGeneric(obj, ctx, position, out);
    return;
  }
  out = SpanRect(ctx, OperandBoundary(ctx, obj, RangeStart(position)),
                 OperandBoundary(ctx, obj, RangeEnd(position)));
}

bool ClickOperands(Handle obj, const PlaceContext& ctx, const ClickGesture& gesture,
                   Selection& out) {
  const RangeResult range = ApplyRangeRule(
      ctx.box.left, ObjCount(obj), [&](int32_t k) { return OperandBoundary(ctx, obj, k); }, gesture,
      [&](int32_t k) { return ClickObj(ObjSlot(obj, k), ctx, gesture, out); });
  if (!range.slotTook) SelectRange(obj, range, gesture, out);
  return true;
}

// A double-click on the minus sign of a term selects the whole sum.
bool ClickNegation(Handle obj, const PlaceContext& ctx, const ClickGesture& gesture,
                   Selection& out) {
  ClickGeneric(obj, ctx, gesture, out);
  Handle parent = ObjParent(obj);
  if (gesture.doubleClick && out.obj == obj && parent && ObjType(parent) == kSum)
    out = Selection{parent, kPosWhole};
  return true;
}

}  // namespace

void RegisterOperandListLayout() {
  for (TypeCode type : {kProduct, kSum, kNegation, kRange, kLess, kEquals, kGreater, kLessEqual,
                        kNotEqual, kGreaterEqual, kCross, kDot}) {
    gSizeTable.Set(type, SizeOperandList);
    gDrawTable.Set(type, DrawOperandList);
    gCursorTable.Set(type, CursorExpression);
    const bool slots = type == kProduct || type == kSum;
    gHiliteTable.Set(type, slots ? HiliteOperands : HiliteGeneric);
    gClickTable.Set(type, slots ? ClickOperands : ClickGeneric);
  }
  gClickTable.Set(kNegation, ClickNegation);
}

}  // namespace lemmabox
