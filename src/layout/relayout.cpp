#include "layout/relayout.h"

#include <algorithm>

#include "layout/hooks.h"
#include "layout/image_cache.h"
#include "layout/size_obj.h"
#include "mathobj/slots.h"
#include "notebook/document.h"
#include "notebook/propositions.h"

namespace lemmabox {
namespace {

// Longest parent chain that is re-laid out incrementally.
constexpr int kMaxRecordedChain = 30;

struct SavedBox {
  Handle obj;
  Rect box;       // relative to the parent, as the header held it
  Rect absolute;  // where it was on the display
};

Rect Union(const Rect& a, const Rect& b) {
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

void MarkObject(Handle obj, const LayoutMetrics* m) {
  MarkAreaForRedraw(obj, m ? AbsoluteBoxWithParens(*m, obj) : AbsoluteBox(obj));
}

// Walks the re-laid-out chain from just below the root down to the changed
// object and redraws what moved. `chain` runs from the changed object up.
void RedrawChanges(const SavedBox* chain, int count, const LayoutMetrics& m) {
  for (int i = count - 2; i >= 0; --i) {
    Handle obj = chain[i].obj;
    Handle parent = ObjParent(obj);
    const Rect& now = Hdr(obj).box;
    const bool rightChanged = now.right != chain[i].box.right;
    const bool bottomChanged = now.bottom != chain[i].box.bottom;
    if (!rightChanged && !bottomChanged) continue;
    const Rect& oldParentArea = chain[i + 1].absolute;
    if (ClassBits(ObjType(parent)) & kClass10) {
      // Inside an operand list the later operands move along with a change
      // of width; a change of height may move everything in the row.
      Rect area = Union(AbsoluteBoxWithParens(m, parent), oldParentArea);
      if (bottomChanged) {
        MarkAreaForRedraw(parent, area);
        return;
      }
      area.left = std::min(AbsoluteBox(obj).left, area.right);
      MarkAreaForRedraw(parent, area);
    } else if (IsContainerType(ObjType(parent))) {
      gLayoutHooks.reflowEntries(parent, obj, rightChanged, bottomChanged);
      return;
    } else {
      MarkAreaForRedraw(parent, Union(AbsoluteBoxWithParens(m, parent), oldParentArea));
      return;
    }
  }
}

}  // namespace

Rect AbsoluteBox(Handle obj) {
  Rect r = Hdr(obj).box;
  for (Handle p = ObjParent(obj); p; p = ObjParent(p)) {
    const Rect& box = Hdr(p).box;
    r.left += box.left;
    r.right += box.left;
    r.top += box.top;
    r.bottom += box.top;
  }
  return r;
}

Rect AbsoluteBoxWithParens(const LayoutMetrics& m, Handle obj) {
  Rect r = AbsoluteBox(obj);
  int32_t margin = OwnParenMargin(m, obj);
  r.left -= margin;
  r.right += margin;
  return r;
}

void MarkAreaForRedraw(Handle obj, const Rect& area) {
  ClearFlag(obj, kFlagDrawn);
  gLayoutHooks.invalidateArea(obj, area);
}

void InvalidateSizes(Handle obj) {
  bool imageDropped = false;
  for (Handle h = obj; h; h = ObjParent(h)) {
    ClearFlag(h, kFlagSizeValid);
    if (!imageDropped && IsPropositionType(ObjType(h))) {
      RemoveCachedImage(h);
      imageDropped = true;
    }
  }
}

void IncrementalRelayout(Handle obj) {
  DisplayTarget display;
  const bool shown = gLayoutHooks.displayOf(obj, display) && display.env && display.root;
  const LayoutMetrics* metrics = shown ? &display.env->metrics() : nullptr;
  MarkObject(obj, metrics);
  Handle parent = ObjParent(obj);
  // The data of a table is drawn by the table itself.
  if (parent && ObjType(parent) == kTable && ObjSlotIndex(obj) == 1) return;

  SavedBox chain[kMaxRecordedChain];
  int count = 0;
  bool tooLong = false;
  for (Handle h = obj; h; h = ObjParent(h)) {
    if (count < kMaxRecordedChain) {
      Rect absolute = metrics ? AbsoluteBoxWithParens(*metrics, h) : AbsoluteBox(h);
      chain[count++] = SavedBox{h, Hdr(h).box, absolute};
    } else {
      tooLong = true;
    }
    if (IsPropositionType(ObjType(h))) RemoveCachedImage(h);
    // Every ancestor is cleared, also beyond the recorded ones, so that the
    // next layout of the notebook cannot reuse a stale size.
    ClearFlag(h, kFlagSizeValid);
  }
  if (!shown) return;
  if (tooLong || count >= kMaxRecordedChain) {
    gLayoutHooks.refreshNotebook(display.root);
    return;
  }
  Handle root = chain[count - 1].obj;
  SizeAtLevel(root, *display.env, kLevelMain);
  // The root keeps its place in the window.
  Rect& box = Hdr(root).box;
  const Rect& saved = chain[count - 1].box;
  box = Rect{saved.left, saved.top, saved.left + box.Width(), saved.top + box.Height()};
  RedrawChanges(chain, count, *metrics);
}

void InvalidateTree(Handle obj) {
  WalkTree(
      obj, [](Handle h) { ClearFlag(h, kFlagSizeValid); }, [](Handle) {});
}

void InvalidateAll(Handle root) {
  WalkTree(
      root,
      [](Handle h) {
        ClearFlag(h, kFlagSizeValid);
        ClearFlag(h, kFlagDrawn);
        const TypeCode type = ObjType(h);
        if (type == kDeclaration) {
          DeclRecord(h).measured = 0;
        } else if (type == kComment) {
          gLayoutHooks.forgetCommentLayout(h);
        }
      },
      [](Handle) {});
  FlushImageCache();
}

void InvalidateOpenNotebooks() {
  for (Handle notebook : OpenNotebooks()) InvalidateAll(notebook);
}

}  // namespace lemmabox
