// The entries shown as sentences: name declarations, independence
// declarations, transformation rules and the plots of graphs. Each fills
// the slots of its template from its own record and sub-objects.
#include <algorithm>
#include <vector>

#include "layout/families.h"
#include "layout/hooks.h"
#include "layout/sentences.h"
#include "layout/size_obj.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "notebook/propositions.h"
#include "shell/string_cache.h"
#include "shell/strings.h"

namespace lemmabox {
namespace {

// How many lines each kind of sentence may take.
constexpr int kDeclarationLines = 3;
constexpr int kIndependenceLines = 2;
constexpr int kRuleLines = 2;
constexpr int kPlotLines = 6;
constexpr int kContourLines = 8;
constexpr int kColouringLines = 4;

std::string PopupText(const Popup& popup) {
  const char* text = PopupItemText(popup.menu, popup.item);
  return text ? text : "";
}

// Records the sentence's size and hides the sub-objects it left out (a
// template that does not mention them, or slots beyond the last line).
void FinishEntry(Handle entry, SentenceLayout& layout, const std::vector<Handle>& placed,
                 const LayoutBox& box, LayoutBox& out) {
  HideUnplacedSlots(entry, FirstObjSlot(entry), placed);
  layout.box = box;
  out = box;
}

std::vector<Handle> PlacedObjects(const SentenceLayout& layout, const SentenceSlots& slots,
                                  int sentence) {
  std::vector<Handle> placed;
  for (const SentencePiece& piece : layout.pieces) {
    if (piece.kind == SentencePieceKind::kSlot && piece.sentence == sentence && piece.slot >= 0 &&
        piece.slot < kMaxSentenceSlots && slots[piece.slot].object)
      placed.push_back(slots[piece.slot].object);
  }
  return placed;
}

void SizeSentenceEntry(Handle entry, const SizeContext& ctx, int templateId, int lines,
                       const SentenceSlots& slots, LayoutBox& out) {
  SentenceLayout& layout = RecordSentenceLayout(entry);
  const LayoutMetrics& m = ctx.Metrics();
  const LayoutBox box =
      LayOutSentence(ctx, m.u, templateId, AvailableSentenceWidth(entry, m), lines, slots, layout);
  FinishEntry(entry, layout, PlacedObjects(layout, slots, 0), box, out);
}

// "&1i A &2p named &3t behaves as &4p."
void SizeDeclaration(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  if (!DeclRecord(obj).measured) {
    // The name is measured for the screen when there is one.
    const LayoutEnv* display = DisplayLayoutEnv();
    MeasureDeclarationName(obj, display ? *display : *ctx.env);
  }
  const DeclarationRecord& record = DeclRecord(obj);
  SentenceSlots slots;
  slots[1].popupText = PopupText(record.classPopup);
  slots[2].object = SlotOrNull(obj, 0);
  slots[3].popupText = PopupText(record.behaviourPopup);
  SizeSentenceEntry(obj, ctx, kStrNameDeclarationSentence, kDeclarationLines, slots, out);
}

// "&1i The variables &2t are independent of &3p."
void SizeIndependence(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  SentenceSlots slots;
  slots[1].object = SlotOrNull(obj, 0);
  slots[2].popupText = PopupText(IndependencePopup(obj));
  SizeSentenceEntry(obj, ctx, kStrIndependenceSentence, kIndependenceLines, slots, out);
}

// "&1i Upon &2p transform &3t into &4t."
void SizeRule(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  SentenceSlots slots;
  slots[1].popupText = PopupText(RulePopup(obj));
  slots[2].object = SlotOrNull(obj, 0);
  slots[3].object = SlotOrNull(obj, 1);
  SizeSentenceEntry(obj, ctx, kStrTransformationRuleSentence, kRuleLines, slots, out);
}

// --- plots ---

struct PlotSentence {
  int templateId;
  int lines;
};

Handle GraphAbove(Handle entry) {
  for (Handle h = ObjParent(entry); h; h = ObjParent(h))
    if (IsGraphType(ObjType(h))) return h;
  return nullptr;
}

PlotSentence SentenceOfPlot(Handle plot) {
  switch (ObjType(plot)) {
    case kLinePlot:
      return {kStrLinePlotSentence, kPlotLines};
    case kAxisPlot:
      return {kStrAxisPlotSentence, kPlotLines};
    case kGridPlot:
      return {kStrGridPlotSentence, kPlotLines};
    case kContourPlot:
      return {kStrContourPlotSentence, kContourLines};
    case kScatterPlot:
      return {kStrScatterPlotSentence, kPlotLines};
    default: {
      // A surface seen flat in a 2D graph is a density plot.
      Handle graph = GraphAbove(plot);
      return graph && ObjType(graph) == kGraph2D
                 ? PlotSentence{kStrDensityPlotSentence, kPlotLines}
                 : PlotSentence{kStrSurfacePlotSentence, kPlotLines};
    }
  }
}

// The colouring line below a surface plot's sentence, or 0 for none.
int ColouringSentence(Handle plot, int firstTemplate) {
  if (firstTemplate != kStrSurfacePlotSentence) return 0;
  switch (gLayoutHooks.surfaceColouring(plot)) {
    case 1:
      return kStrSolidColoringSentence;
    case 2:
      return kStrColorRangeSentence;
    case 3:
      return kStrColorSchemeSentence;
    case 5:
      return kStrBrightnessHueSentence;
    case 6:
      return kStrColorComponentsSentence;
    default:
      return 0;
  }
}

// A plot's expressions fill the expression slots of its sentences in
// order; the graph says what its pop-ups show.
SentenceSlots PlotSlots(Handle plot, int templateId, int sentence, int& nextSlot) {
  SentenceSlots slots;
  const char* stored = StringById(templateId);
  const std::string text = stored ? stored : "";
  for (size_t i = 0; i + 2 < text.size(); ++i) {
    if (text[i] != '&') continue;
    const int index = text[i + 1] - '1';
    if (index < 0 || index >= kMaxSentenceSlots) continue;
    if (text[i + 2] == 't') {
      slots[index].object = nextSlot < ObjCount(plot) ? ObjSlot(plot, nextSlot) : nullptr;
      ++nextSlot;
    } else if (text[i + 2] == 'p') {
      const char* item = gLayoutHooks.plotPopupText(plot, sentence, index + 1);
      slots[index].popupText = item ? item : "";
    }
  }
  return slots;
}

void SizePlot(Handle plot, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t width = AvailableSentenceWidth(plot, m);
  const PlotSentence first = SentenceOfPlot(plot);
  int nextSlot = FirstObjSlot(plot);
  const SentenceSlots slots = PlotSlots(plot, first.templateId, 0, nextSlot);
  SentenceLayout& layout = RecordSentenceLayout(plot);
  LayoutBox box = LayOutSentence(ctx, m.u, first.templateId, width, first.lines, slots, layout);
  std::vector<Handle> placed = PlacedObjects(layout, slots, 0);
  if (const int colouring = ColouringSentence(plot, first.templateId)) {
    const SentenceSlots more = PlotSlots(plot, colouring, 1, nextSlot);
    const LayoutBox second =
        LayOutSentence(ctx, box.height, colouring, width, kColouringLines, more, layout, 1);
    box.width = std::max(box.width, second.width);
    box.height = second.height;
    for (Handle h : PlacedObjects(layout, more, 1)) placed.push_back(h);
  }
  FinishEntry(plot, layout, placed, box, out);
}

}  // namespace

void RegisterSentenceLayout() {
  gSizeTable.Set(kDeclaration, SizeDeclaration);
  gSizeTable.Set(kIndependence, SizeIndependence);
  gSizeTable.Set(kRule, SizeRule);
  for (TypeCode type : {kLinePlot, kAxisPlot, kGridPlot, kContourPlot, kSurfacePlot, kScatterPlot})
    gSizeTable.Set(type, SizePlot);
  for (TypeCode type : {kDeclaration, kIndependence, kRule, kLinePlot, kAxisPlot, kGridPlot,
                        kContourPlot, kSurfacePlot, kScatterPlot})
    gDrawTable.Set(type, DrawSentence);
}

}  // namespace lemmabox
