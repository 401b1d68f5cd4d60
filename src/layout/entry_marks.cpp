#include "layout/entry_marks.h"

#include <algorithm>
#include <array>

#include "layout/draw_obj.h"
#include "layout/icons.h"

namespace lemmabox {
namespace {

// A mark drawn with thin strokes inside an icon box, on a grid of eighths.
struct IconGrid {
  Rect box;
  int32_t X(int eighths) const { return box.left + box.Width() * eighths / 8; }
  int32_t Y(int eighths) const { return box.top + box.Height() * eighths / 8; }
  Point At(int x, int y) const { return Point{X(x), Y(y)}; }
};

void Polyline(GraphicsPort& port, int32_t thickness, std::initializer_list<Point> points) {
  port.startLine(thickness);
  bool first = true;
  for (Point p : points) {
    if (first) {
      port.moveTo(p.x, p.y);
    } else {
      port.lineTo(p.x, p.y);
    }
    first = false;
  }
  port.endLine();
}

void DrawDeclarationMark(GraphicsPort& port, const IconGrid& g) {
  // A tag: the label that names something.
  const std::array<Point, 5> tag = {g.At(1, 2), g.At(5, 2), g.At(7, 4), g.At(5, 6), g.At(1, 6)};
  port.paintPolygon(tag);
}

void DrawIndependenceMark(GraphicsPort& port, const IconGrid& g, int32_t t) {
  Polyline(port, t, {g.At(2, 1), g.At(2, 7)});
  Polyline(port, t, {g.At(5, 1), g.At(5, 7)});
}

void DrawRuleMark(GraphicsPort& port, const IconGrid& g, int32_t t) {
  Polyline(port, t, {g.At(1, 4), g.At(6, 4)});
  const std::array<Point, 3> head = {g.At(5, 2), g.At(8, 4), g.At(5, 6)};
  port.paintPolygon(head);
}

void DrawPlotMark(GraphicsPort& port, const IconGrid& g, int32_t t) {
  Polyline(port, t, {g.At(1, 7), g.At(3, 3), g.At(5, 5), g.At(7, 1)});
}

void DrawTableMark(GraphicsPort& port, const IconGrid& g, int32_t t) {
  port.frameZone(g.box);
  Polyline(port, t, {g.At(0, 3), g.At(8, 3)});
  Polyline(port, t, {g.At(3, 0), g.At(3, 8)});
}

void DrawGraphMark(GraphicsPort& port, const IconGrid& g, int32_t t) {
  port.frameZone(g.box);
  Polyline(port, t, {g.At(1, 6), g.At(3, 3), g.At(5, 4), g.At(7, 2)});
}

}  // namespace

void DrawTypeIcon(const LayoutEnv& env, GraphicsPort& port, TypeCode type, const Rect& box) {
  if (!env.iconsShown() || box.Width() <= 0 || box.Height() <= 0) return;
  const IconGrid grid{box};
  const int32_t t = env.metrics().thinLine;
  switch (type) {
    case kCaseTheory:
      DrawEntryIcon(env, port, EntryIcon::kCaseTheory, box);
      break;
    case kComment:
      DrawEntryIcon(env, port, EntryIcon::kComment, box);
      break;
    case kPageBreak:
      DrawEntryIcon(env, port, EntryIcon::kPageBreak, box);
      break;
    case kDeclaration:
      DrawDeclarationMark(port, grid);
      break;
    case kIndependence:
      DrawIndependenceMark(port, grid, t);
      break;
    case kRule:
      DrawRuleMark(port, grid, t);
      break;
    case kTable:
      DrawTableMark(port, grid, t);
      break;
    case kGraph2D:
    case kGraph3D:
      DrawGraphMark(port, grid, t);
      break;
    case kLinePlot:
    case kAxisPlot:
    case kGridPlot:
    case kContourPlot:
    case kSurfacePlot:
    case kScatterPlot:
      DrawPlotMark(port, grid, t);
      break;
    default:
      break;
  }
}

void DrawWorkingStatementDot(const LayoutEnv& env, GraphicsPort& port, const Rect& iconBox) {
  if (!env.iconsShown()) return;
  const int32_t side = std::max(2 * env.metrics().u, iconBox.Width() / 3);
  const int32_t x = iconBox.left + (iconBox.Width() - side) / 2;
  const int32_t y = iconBox.top + (iconBox.Height() - side) / 2;
  port.paintCircle(Rect{x, y, x + side, y + side});
}

void DrawCollapsedMarker(const LayoutEnv& env, GraphicsPort& port, int32_t left, int32_t right,
                         int32_t y) {
  if (right <= left) return;
  port.startDeluxeLine(env.metrics().thinLine, kMarkColor, LinePattern::kDotted, DrawMode::kNormal);
  port.moveTo(left, y);
  port.lineTo(right, y);
  port.endLine();
}

void DrawStaleFrame(const LayoutEnv& env, GraphicsPort& port, const Rect& box) {
  if (box.Width() <= 0 || box.Height() <= 0) return;
  port.startDeluxeLine(env.metrics().thinLine, kMarkColor, LinePattern::kDotted, DrawMode::kNormal);
  port.moveTo(box.left, box.top);
  port.lineTo(box.right, box.top);
  port.lineTo(box.right, box.bottom);
  port.lineTo(box.left, box.bottom);
  port.lineTo(box.left, box.top);
  port.endLine();
}

void SetPenColor(GraphicsPort& port, RgbColor color) {
  port.setColors(color, port.background());
}

}  // namespace lemmabox
