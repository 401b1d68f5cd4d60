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

const CommentTree* NoComment(Handle) {
  return nullptr;
}
std::string NoDetail(Handle) {
  return {};
}
const char* NoPopupText(Handle, int, int) {
  return nullptr;
}
int NoColouring(Handle) {
  return 0;
}
int32_t DefaultFrameWidth(Handle) {
  return kDefaultGraphFrameWidth;
}

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
    .commentTree = NoComment,
    .conclusionErrorDetail = NoDetail,
    .plotPopupText = NoPopupText,
    .surfaceColouring = NoColouring,
    .graphFrameWidth = DefaultFrameWidth,
};

}  // namespace

LayoutHooks gLayoutHooks = kDefaultLayoutHooks;

void ResetLayoutHooks() {
  gLayoutHooks = kDefaultLayoutHooks;
}

}  // namespace lemmabox
