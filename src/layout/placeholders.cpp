// Tables and graphs as the rows show them until their own drawings take
// over their entries: a framed box with the entry's icon and kind name. A
// table shows the name it tabulates and its number of points; a graph
// keeps the size of its frame and lists its plots as sentences inside it.
// Both round their width up like every table and graph row.
#include <algorithm>
#include <string>

#include "layout/draw_obj.h"
#include "layout/entry_marks.h"
#include "layout/families.h"
#include "layout/hooks.h"
#include "layout/icons.h"
#include "layout/rows.h"
#include "layout/sentences.h"
#include "layout/size_obj.h"
#include "layout/text.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "notebook/propositions.h"

namespace lemmabox {
namespace {

std::string KindName(TypeCode type) {
  const char* name = TypeDisplayName(type);
  return name ? name : "";
}

std::string PointCount(Handle table) {
  const int32_t n = TableRec(table).count;
  return std::to_string(n) + (n == 1 ? " point" : " points");
}

// What a placeholder shows in its top line, left to right, after its icon.
struct TopLine {
  int32_t ascent = 0;
  int32_t descent = 0;
  int32_t titleX = 0;
  int32_t nameX = 0;
  int32_t countX = 0;
  int32_t right = 0;
};

void Hide(Handle obj) {
  SetFlag(obj, kFlagHidden);
  ClearFlag(obj, kFlagSizeValid);
  Hdr(obj).box = Rect{};
}

// --- tables ---

TopLine TableLine(Handle obj, const LayoutEnv& env, LayoutBox name) {
  const LayoutMetrics& m = env.metrics();
  const int32_t pad = m.parenBase;
  const TextBox title = MeasureText(env, kLevelMain, kFontMain, KindName(kTable));
  const TextBox count = MeasureText(env, kLevelMain, kFontMain, PointCount(obj));
  TopLine line;
  line.ascent = std::max({m.iconSize / 2, title.baseline, name.baseline, count.baseline});
  line.descent = std::max(
      {m.iconSize / 2, title.height - title.baseline, name.Depth(), count.height - count.baseline});
  line.titleX = pad + m.iconSize + pad;
  line.nameX = line.titleX + title.width + pad;
  line.countX = line.nameX + name.width + pad;
  line.right = line.countX + count.width + pad;
  return line;
}

void SizeTable(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  Handle name = SlotOrNull(obj, 0);
  const LayoutBox nameBox = name ? SizeObj(name, SizeContext{ctx.env, kLevelMain, 0}) : LayoutBox{};
  // The auxiliary expression is the table's own business.
  if (Handle auxiliary = SlotOrNull(obj, 1)) Hide(auxiliary);
  const TopLine line = TableLine(obj, *ctx.env, nameBox);
  const int32_t reference = m.parenBase + line.ascent;
  if (name) PlaceChild(name, line.nameX, reference - nameBox.baseline);
  out = LayoutBox{RoundedEntryWidth(line.right), reference + line.descent + m.parenBase, reference};
}

void DrawTable(Handle obj, const DrawContext& ctx) {
  const LayoutEnv& env = *ctx.env;
  const LayoutMetrics& m = ctx.Metrics();
  GraphicsPort& port = *ctx.port;
  Handle name = SlotOrNull(obj, 0);
  // The name's box lies inside its automatic brackets, if it has any.
  const LayoutBox nameBox = name ? LayoutBox{ObjBox(name).Width() + 2 * OwnParenMargin(m, name),
                                             ObjBox(name).Height(), ObjBaseline(name)}
                                 : LayoutBox{};
  const TopLine line = TableLine(obj, env, nameBox);
  const int32_t reference = ctx.ReferenceY();
  const RgbColor ink = port.foreground();
  SetPenColor(port, kMarkColor);
  port.frameZone(ctx.box);
  SetPenColor(port, ink);
  const Rect icon = EntryIconBox(m, ctx.box.left + m.parenBase, reference);
  DrawTypeIcon(env, port, kTable, icon);
  if (IsWorkingStatement(obj)) DrawWorkingStatementDot(env, port, icon);
  DrawTextOnReference(ctx, kFontMain, kLevelMain, KindName(kTable), ctx.box.left + line.titleX,
                      reference);
  if (name) DrawObj(name, ctx);
  DrawTextOnReference(ctx, kFontMain, kLevelMain, PointCount(obj), ctx.box.left + line.countX,
                      reference);
}

// --- graphs ---

int32_t FrameWidth(Handle graph, const LayoutMetrics& m) {
  return std::max(1, gLayoutHooks.graphFrameWidth(graph)) * m.em / 16;
}

int32_t FrameHeight(Handle graph, const LayoutMetrics& m) {
  return FrameWidth(graph, m) * kDefaultGraphFrameHeight / kDefaultGraphFrameWidth;
}

void SizeGraph(Handle obj, const SizeContext& ctx, LayoutBox& out) {
  const LayoutMetrics& m = ctx.Metrics();
  const int32_t pad = m.parenBase;
  // The graph's own expressions (bounds, animation) belong to its details.
  for (int i = FirstObjSlot(obj); i < FirstProp(obj) && i < ObjCount(obj); ++i)
    if (Handle own = ObjSlot(obj, i)) Hide(own);
  const TextBox title = MeasureText(*ctx.env, kLevelMain, kFontMain, KindName(ObjType(obj)));
  const int32_t ascent = std::max(m.iconSize / 2, title.baseline);
  const int32_t descent = std::max(m.iconSize / 2, title.height - title.baseline);
  const int32_t plotsTop = pad + ascent + descent + pad;
  const RowsExtent plots = LayOutRows(obj, ctx, pad, plotsTop);
  const int32_t width =
      std::max({FrameWidth(obj, m), plots.right + pad, 3 * pad + m.iconSize + title.width});
  out = LayoutBox{RoundedEntryWidth(width), std::max(FrameHeight(obj, m), plots.bottom + pad),
                  pad + ascent};
}

void DrawGraph(Handle obj, const DrawContext& ctx) {
  const LayoutEnv& env = *ctx.env;
  const LayoutMetrics& m = ctx.Metrics();
  GraphicsPort& port = *ctx.port;
  port.frameZone(ctx.box);
  const int32_t reference = ctx.ReferenceY();
  DrawTypeIcon(env, port, ObjType(obj), EntryIconBox(m, ctx.box.left + m.parenBase, reference));
  DrawTextOnReference(ctx, kFontMain, kLevelMain, KindName(ObjType(obj)),
                      ctx.box.left + 2 * m.parenBase + m.iconSize, reference);
  DrawRows(obj, ctx);
}

}  // namespace

void RegisterPlaceholderLayout() {
  gSizeTable.Set(kTable, SizeTable);
  gDrawTable.Set(kTable, DrawTable);
  for (TypeCode type : {kGraph2D, kGraph3D}) {
    gSizeTable.Set(type, SizeGraph);
    gDrawTable.Set(type, DrawGraph);
  }
}

}  // namespace lemmabox
