#include "layout/size_obj.h"

#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "notebook/expression_writer.h"
#include "notebook/propositions.h"
#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"
#include "shell/stack_check.h"

namespace lemmabox {
namespace {

// A fresh result larger than this many em across (or half as many down) is
// shown collapsed when the notebook asks for it.
constexpr int32_t kCollapseWidthEms = 32;
constexpr int32_t kCollapseHeightEms = 16;

// The collapsed placeholder: a row of dots two level sizes wide.
LayoutBox SizePlaceholder(Handle obj, const SizeContext& ctx) {
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i)
    if (Handle child = ObjSlot(obj, i)) SetFlag(child, kFlagHidden);
  const LayoutMetrics& m = ctx.Metrics();
  return LayoutBox{m.twice[ctx.level], m.size[ctx.level], m.half[ctx.level]};
}

LayoutBox CallSizeEntry(Handle obj, const SizeContext& ctx) {
  LayoutBox box;
  gSizeTable.Entry(ObjType(obj))(obj, ctx, box);
  return box;
}

}  // namespace

int32_t ParenMargin(const LayoutMetrics& m, Handle parent, Handle child) {
  if (!ShownInBrackets(parent, child)) return 0;
  const Rect& box = Hdr(child).box;
  return m.parenBase + (box.bottom - box.top) / 16;
}

void ApplyParenMargins(const LayoutMetrics& m, Handle obj, int first) {
  for (int i = first; i < ObjCount(obj); ++i) {
    Handle child = ObjSlot(obj, i);
    if (!child) continue;
    int32_t margin = ParenMargin(m, obj, child);
    if (margin == 0) continue;
    Rect& box = Hdr(child).box;
    box.left += margin;
    box.right -= margin;
  }
}

int FirstEntrySlot(Handle obj) {
  return IsContainerType(ObjType(obj)) ? FirstProp(obj) : FirstObjSlot(obj);
}

LayoutBox SizeObj(Handle obj, const SizeContext& ctx) {
  if (!obj) InternalError("SizeObj");
  if (StackTooDeep()) RaiseAtObject(kMsgCircularDefinition, obj);
  const LayoutMetrics& m = ctx.Metrics();
  const TypeCode type = ObjType(obj);
  const bool parens = ShownInBrackets(ObjParent(obj), obj);
  // Whatever is sized is shown; a collapsed parent hides its children again.
  ClearFlag(obj, kFlagHidden);

  LayoutBox box;
  const Obj& cached = Hdr(obj);
  if (HasFlag(obj, kFlagSizeValid) && (cached.sizeLevel & 3) == ctx.level) {
    box = LayoutBox{cached.box.right - cached.box.left, cached.box.bottom - cached.box.top,
                    cached.baseline};
  } else if (IsPropositionType(type)) {
    box = CallSizeEntry(obj, ctx);
    ApplyParenMargins(m, obj, FirstEntrySlot(obj));
  } else if (HasFlag(obj, kFlagCollapsed) && !IsCollapsibleOperandList(type)) {
    box = SizePlaceholder(obj, ctx);
  } else {
    SizeContext inner = ctx;
    if (parens) inner.parenDepth = (ctx.parenDepth + 1) % 3;
    box = CallSizeEntry(obj, inner);
    if (ObjCount(obj) > 0) CheckInterrupt();
    if (HasFlag(obj, kFlagFresh)) {
      ClearFlag(obj, kFlagFresh);
      const bool tooLarge =
          box.width > kCollapseWidthEms * m.em || box.height > kCollapseHeightEms * m.em;
      if (tooLarge && !IsRelationType(type) && ctx.env->style().autoCollapse) {
        SetFlag(obj, kFlagCollapsed);
        box = IsCollapsibleOperandList(type) ? CallSizeEntry(obj, inner) : SizePlaceholder(obj, ctx);
      }
    }
    ApplyParenMargins(m, obj, 0);
    ClearFlag(obj, kFlagDrawn);
  }

  if (parens) box.width += 2 * (m.parenBase + box.height / 16);
  Obj& h = Hdr(obj);
  h.box = Rect{0, 0, box.width, box.height};
  h.baseline = box.baseline;
  h.sizeLevel = static_cast<uint8_t>(ctx.level);
  h.flags = static_cast<uint8_t>((h.flags & ~kParenStyleMask) |
                                 (ctx.parenDepth << kParenStyleShift) | kFlagSizeValid);
  return box;
}

LayoutBox SizeAtLevel(Handle obj, const LayoutEnv& env, int level) {
  LayoutBox box = SizeObj(obj, SizeContext{&env, level, 0});
  if (!ObjParent(obj)) {
    int32_t margin = ParenMargin(env.metrics(), nullptr, obj);
    Rect& r = Hdr(obj).box;
    r.left += margin;
    r.right -= margin;
  }
  return box;
}

}  // namespace lemmabox
