#include "layout/highlight.h"

#include "layout/comment_caret.h"
#include "layout/relayout.h"
#include "layout/size_obj.h"
#include "mathobj/optables.h"

namespace lemmabox {

PlaceContext PlaceOf(const LayoutEnv& env, Handle obj) {
  PlaceContext ctx;
  ctx.env = &env;
  ctx.box = AbsoluteBox(obj);
  ctx.boxWord = Hdr(obj).box5;
  ctx.baseline = Hdr(obj).baseline;
  ctx.level = Hdr(obj).sizeLevel & 3;
  return ctx;
}

HighlightShape SelectionHighlight(const LayoutEnv& env, const Selection& selection) {
  HighlightShape shape;
  Handle obj = selection.obj;
  if (!obj || !ObjParent(obj) || ObjType(obj) < '!') return shape;
  // A comment being edited shows its caret or its selected text.
  if (ObjType(obj) == kComment && CommentEditingHighlight(env, selection, shape)) return shape;
  Rect rect;
  gHiliteTable.Entry(ObjType(obj))(obj, PlaceOf(env, obj), selection.position, rect);
  shape.shown = true;
  const int32_t unit = env.metrics().u;
  if (rect.Width() <= 0) {
    rect.left = rect.right - unit;
    shape.caret = true;
  }
  if (rect.Height() <= 0) {
    rect.top = rect.bottom - unit;
    shape.caret = true;
  }
  shape.rect = rect;
  return shape;
}

void HiliteGeneric(Handle obj, const PlaceContext& ctx, int32_t position, Rect& out) {
  out = ctx.box;
  if (position >= kPosWhole || position < -8) return;
  const int32_t margin = OwnParenMargin(ctx.Metrics(), obj);
  out.left -= margin;
  out.right += margin;
  if (position == kPosCaretBefore) out.right = out.left;
  if (position == kPosCaretAfter) out.left = out.right;
}

Rect SpanRect(const PlaceContext& ctx, int32_t fromX, int32_t toX) {
  return Rect{ctx.box.left + fromX, ctx.box.top, ctx.box.left + toX, ctx.box.bottom};
}

}  // namespace lemmabox
