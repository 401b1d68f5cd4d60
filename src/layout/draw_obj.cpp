#include "layout/draw_obj.h"

#include <algorithm>

#include "layout/brackets.h"
#include "layout/size_obj.h"
#include "mathobj/optables.h"
#include "notebook/expression_writer.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

bool Meets(const Rect& clip, const Rect& box) {
  return clip.right > box.left && clip.left < box.right && clip.top < box.bottom &&
         clip.bottom > box.top;
}

}  // namespace

void DrawObj(Handle obj, const DrawContext& parent) {
  if (!obj) InternalError("DrawObj");
  const DrawContext ctx = parent.Child(obj);
  if (Meets(ctx.clip, ctx.box)) {
    const TypeCode type = ObjType(obj);
    if (HasFlag(obj, kFlagCollapsed) && !IsPropositionType(type) && !IsCollapsibleOperandList(type)) {
      const LayoutMetrics& m = ctx.Metrics();
      DrawPlaceholderDots(ctx, ctx.box.left, m.twice[ctx.level], ctx.ReferenceY() - m.u);
    } else {
      gDrawTable.Entry(type)(obj, ctx);
      if (ShownInBrackets(ObjParent(obj), obj)) DrawAutoParens(ctx, ParenStyle(obj));
    }
  }
  SetFlag(obj, kFlagDrawn);
  ClearFlag(obj, kFlagHidden);
}

void DrawAtOrigin(Handle root, const LayoutEnv& env, GraphicsPort& port, const Rect& clip,
                  Point origin) {
  DrawContext ctx;
  ctx.env = &env;
  ctx.port = &port;
  ctx.clip = clip;
  ctx.box = Rect{origin.x, origin.y, origin.x, origin.y};
  DrawObj(root, ctx);
}

void DrawSlot(Handle obj, int slot, const DrawContext& ctx) {
  if (Handle child = SlotOrNull(obj, slot)) DrawObj(child, ctx);
}

void DrawPlaceholderDots(const DrawContext& ctx, int32_t x, int32_t width, int32_t y) {
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t step = std::max(1, m.Points(5));
  GraphicsPort& port = *ctx.port;
  port.startLine(m.u2);
  for (int32_t dx = 0; dx < width; dx += step) port.dotAt(x + dx, y);
  port.endLine();
}

void DrawTextOnReference(const DrawContext& ctx, FontSet set, int level, std::string_view text,
                         int32_t x, int32_t referenceY) {
  DrawProgramText(*ctx.env, *ctx.port, set, level, text, x,
                  FontBaselineFor(*ctx.env, level, referenceY));
}

void DrawStroke(GraphicsPort& port, int32_t thickness, Point from, Point to) {
  port.startLine(thickness);
  port.moveTo(from.x, from.y);
  port.lineTo(to.x, to.y);
  port.endLine();
}

}  // namespace lemmabox
