#include "layout/click.h"

#include "layout/size_obj.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"

namespace lemmabox {

bool ClickObj(Handle obj, const PlaceContext& parent, const ClickGesture& gesture, Selection& out) {
  if (!obj || HasFlag(obj, kFlagHidden)) return false;
  const PlaceContext ctx = parent.Child(obj);
  const TypeCode type = ObjType(obj);
  if (gesture.BothIn(ctx.box)) {
    if (HasFlag(obj, kFlagCollapsed) && !IsPropositionType(type) && !IsCollapsibleOperandList(type)) {
      out = Selection{obj, kPosWhole};
    } else {
      out = Selection{nullptr, 0};
      gClickTable.Entry(type)(obj, ctx, gesture, out);
    }
    return true;
  }
  // On the object's automatic brackets.
  const int32_t margin = ParenMargin(ctx.Metrics(), ObjParent(obj), obj);
  if (margin == 0) return false;
  const Rect widened{ctx.box.left - margin, ctx.box.top, ctx.box.right + margin, ctx.box.bottom};
  if (!gesture.BothIn(widened)) return false;
  const int32_t u2 = ctx.Metrics().u2;
  if (gesture.MaxX() <= ctx.box.left + u2) {
    out = Selection{obj, kPosCaretBefore};
  } else if (gesture.MinX() >= ctx.box.right - u2) {
    out = Selection{obj, kPosCaretAfter};
  } else {
    out = Selection{obj, kPosWholeOperand};
  }
  return true;
}

bool ClickSelect(Handle root, const LayoutEnv& env, Point origin, const ClickGesture& gesture,
                 Selection& out) {
  PlaceContext ctx;
  ctx.env = &env;
  ctx.box = Rect{origin.x, origin.y, origin.x, origin.y};
  return ClickObj(root, ctx, gesture, out);
}

bool ClickSlots(Handle obj, int first, const PlaceContext& ctx, const ClickGesture& gesture,
                Selection& out) {
  for (int i = first; i < ObjCount(obj); ++i)
    if (ClickObj(ObjSlot(obj, i), ctx, gesture, out)) return true;
  return false;
}

bool ClickGeneric(Handle obj, const PlaceContext& ctx, const ClickGesture& gesture,
                  Selection& out) {
  if (ClickSlots(obj, FirstObjSlot(obj), ctx, gesture, out)) return true;
  const int32_t u2 = ctx.Metrics().u2;
  if (gesture.MaxX() < ctx.box.left + u2) {
    out = Selection{obj, kPosCaretBefore};
  } else if (gesture.MinX() > ctx.box.right - u2) {
    out = Selection{obj, kPosCaretAfter};
  } else {
    out = Selection{obj, kPosWhole};
  }
  return true;
}

}  // namespace lemmabox
