#include "layout/context.h"

namespace lemmabox {
namespace {

// A child's box is kept relative to its parent's top-left corner.
void SetChildPlace(PlaceContext& child, const PlaceContext& parent, Handle obj) {
  const Obj& h = Hdr(obj);
  child.env = parent.env;
  child.box = Rect{parent.box.left + h.box.left, parent.box.top + h.box.top,
                   parent.box.left + h.box.right, parent.box.top + h.box.bottom};
  child.boxWord = h.box5;
  child.baseline = h.baseline;
  child.level = h.sizeLevel & 3;
}

}  // namespace

PlaceContext PlaceContext::Child(Handle child) const {
  PlaceContext result;
  SetChildPlace(result, *this, child);
  return result;
}

DrawContext DrawContext::Child(Handle child) const {
  DrawContext result;
  SetChildPlace(result, *this, child);
  result.port = port;
  result.clip = clip;
  return result;
}

void PlaceChild(Handle child, int32_t x, int32_t y) {
  Rect& box = Hdr(child).box;
  box.left += x;
  box.right += x;
  box.top += y;
  box.bottom += y;
}

}  // namespace lemmabox
