#include "layout/hooks.h"

#include "layout/relayout.h"

namespace lemmabox {
namespace {

bool No(Handle) {
  return false;
}
void Nothing(Handle) {}
bool NoParts(Handle, const PlaceContext&, const ClickGesture&, Selection&) {
  return false;
}
bool NoDisplay(Handle, DisplayTarget&) {
  return false;
}
void NoArea(Handle, const Rect&) {}

void ReflowByRedrawing(Handle container, Handle entry, bool, bool) {
  Rect area = AbsoluteBox(container);
  area.top = AbsoluteBox(entry).top;
  MarkAreaForRedraw(container, area);
}

constexpr LayoutHooks kDefaultLayoutHooks = {
    .tabulatedFunction = No,
    .redoConclusion = Nothing,
    .clickEntryParts = NoParts,
    .displayOf = NoDisplay,
    .invalidateArea = NoArea,
    .refreshNotebook = Nothing,
    .reflowEntries = ReflowByRedrawing,
    .forgetCommentLayout = Nothing,
};

}  // namespace

LayoutHooks gLayoutHooks = kDefaultLayoutHooks;

void ResetLayoutHooks() {
  gLayoutHooks = kDefaultLayoutHooks;
}

}  // namespace lemmabox
