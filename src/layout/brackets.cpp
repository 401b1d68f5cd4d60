#include "layout/brackets.h"

#include <algorithm>
#include <vector>

#include "shell/failure.h"

namespace lemmabox {
namespace {

// Brackets at least this wide are drawn as big brackets.
constexpr int32_t kBigBracketMargin = 9;
// Points per curved piece of a big bracket's outline.
constexpr int kCurveSteps = 8;

// One thin bracket as a polyline inside its zone. `left`: the opening one,
// whose content side is its right edge.
void DrawThinBracket(GraphicsPort& port, const Rect& zone, int32_t t, int style, int32_t reference,
                     bool left) {
  const int32_t T = zone.top;
  const int32_t Bt = zone.bottom - t;
  const int32_t w = zone.right - zone.left - 2 * t;
  const int32_t c = left ? zone.right - t : zone.left;          // content side
  const int32_t f = left ? zone.left + t : zone.right - 2 * t;  // far side
  const int32_t xm = left ? c - w / 2 : c + w / 2;
  port.startLine(t);
  port.moveTo(c, T);
  switch (style) {
    case 0:  // parenthesis
      port.lineTo(xm, T + w / 2);
      if (Bt - T > 4 * w) {
        port.lineTo(f, T + 2 * w);
        port.lineTo(f, Bt - 2 * w);
      } else {
        port.lineTo(f, (T + Bt) / 2);
      }
      port.lineTo(xm, Bt - w / 2);
      break;
    case 1:  // square bracket
      port.lineTo(f, T);
      port.lineTo(f, Bt);
      break;
    case 2: {  // brace, pointing at the reference line when there is room
      const int32_t y = reference > T + w && reference < Bt - w ? reference : (T + Bt) / 2;
      const int32_t b = w - w / 2;
      port.lineTo(xm, T + w / 2);
      port.lineTo(xm, y - b);
      port.lineTo(f, y);
      port.lineTo(xm, y + b);
      port.lineTo(xm, Bt - w / 2);
      break;
    }
    default:  // the caller has checked the shape
      break;
  }
  port.lineTo(c, Bt);
  port.endLine();
}

struct FPoint {
  double x;
  double y;
};

// Appends the points of a cubic curve after its start point.
void AppendCubic(std::vector<FPoint>& out, FPoint p0, FPoint p1, FPoint p2, FPoint p3) {
  for (int i = 1; i <= kCurveSteps; ++i) {
    double t = static_cast<double>(i) / kCurveSteps;
    double s = 1 - t;
    double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
    out.push_back(
        {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
  }
}

// A quadratic curve as the cubic that traces it.
void AppendQuadratic(std::vector<FPoint>& out, FPoint p0, FPoint control, FPoint p2) {
  FPoint c1{p0.x + 2.0 / 3 * (control.x - p0.x), p0.y + 2.0 / 3 * (control.y - p0.y)};
  FPoint c2{p2.x + 2.0 / 3 * (control.x - p2.x), p2.y + 2.0 / 3 * (control.y - p2.y)};
  AppendCubic(out, p0, c1, c2, p2);
}

std::vector<Point> Rounded(const std::vector<FPoint>& points) {
  std::vector<Point> out;
  out.reserve(points.size());
  for (const FPoint& p : points)
    out.push_back(Point{static_cast<int32_t>(p.x + 0.5), static_cast<int32_t>(p.y + 0.5)});
  return out;
}

// Mirrors x around the middle of the zone, turning an opening bracket into a
// closing one.
void MirrorX(std::vector<FPoint>& points, const Rect& zone) {
  for (FPoint& p : points) p.x = zone.left + zone.right - p.x;
}

// An opening parenthesis as a crescent: thin at the tips, `stem` thick in
// the middle.
std::vector<FPoint> ParenOutline(const Rect& zone, double stem) {
  const double x0 = zone.left, x1 = zone.right, t = zone.top, b = zone.bottom;
  const double w = x1 - x0, h = b - t;
  const double tip = std::max(1.0, stem / 4);
  // Controls a third of the width outside the zone bring the curve's middle
  // to the zone's edge.
  std::vector<FPoint> out{{x1, t}};
  AppendCubic(out, {x1, t}, {x0 - w / 3, t + h / 4}, {x0 - w / 3, b - h / 4}, {x1, b});
  out.push_back({x1 - tip, b});
  double inner = x0 - w / 3 + stem * 4 / 3;
  AppendCubic(out, {x1 - tip, b}, {inner, b - h / 4}, {inner, t + h / 4}, {x1 - tip, t});
  return out;
}

// An opening square bracket: a stem and two arms.
std::vector<FPoint> SquareOutline(const Rect& zone, double stem) {
  const double x0 = zone.left, x1 = zone.right, t = zone.top, b = zone.bottom;
  const double arm = std::max(1.0, stem * 2 / 3);
  return {{x1, t},
          {x0, t},
          {x0, b},
          {x1, b},
          {x1, b - arm},
          {x0 + stem, b - arm},
          {x0 + stem, t + arm},
          {x1, t + arm}};
}

// The centre line of an opening brace, stroked at a constant width.
std::vector<FPoint> BracePath(const Rect& zone) {
  const double x0 = zone.left, x1 = zone.right, t = zone.top, b = zone.bottom;
  const double xm = (x0 + x1) / 2, m = (t + b) / 2;
  const double r = std::min((x1 - x0) / 2, (b - t) / 8);
  std::vector<FPoint> out{{x1, t}};
  AppendQuadratic(out, {x1, t}, {xm, t}, {xm, t + r});
  out.push_back({xm, m - r});
  AppendQuadratic(out, {xm, m - r}, {xm, m}, {x0, m});
  AppendQuadratic(out, {x0, m}, {xm, m}, {xm, m + r});
  out.push_back({xm, b - r});
  AppendQuadratic(out, {xm, b - r}, {xm, b}, {x1, b});
  return out;
}

}  // namespace

void DrawBigBracket(GraphicsPort& port, const Rect& zone, int32_t fontSize, BigBracketKind kind,
                    bool left) {
  if (zone.Width() <= 0 || zone.Height() <= 0) return;
  const double stem = std::max(1.0, std::min(fontSize / 12.0, zone.Width() / 2.0));
  std::vector<FPoint> points;
  switch (kind) {
    case kBigParen:
      points = ParenOutline(zone, stem);
      break;
    case kBigSquare:
      points = SquareOutline(zone, stem);
      break;
    case kBigBrace: {
      // The stroke stays inside the zone.
      const int32_t inset = static_cast<int32_t>(stem / 2 + 0.5);
      Rect inner{zone.left + inset, zone.top + inset, zone.right - inset, zone.bottom - inset};
      points = BracePath(inner);
      if (!left) MirrorX(points, zone);
      std::vector<Point> path = Rounded(points);
      port.startLine(static_cast<int32_t>(stem + 0.5));
      port.moveTo(path[0].x, path[0].y);
      for (size_t i = 1; i < path.size(); ++i) port.lineTo(path[i].x, path[i].y);
      port.endLine();
      return;
    }
  }
  if (!left) MirrorX(points, zone);
  std::vector<Point> polygon = Rounded(points);
  port.paintPolygon(polygon);
}

void DrawAutoParens(const DrawContext& ctx, int style) {
  if (style < 0 || style > 2) InternalError("Bad Paren Style");
  const LayoutMetrics& m = ctx.Metrics();
  const Rect& box = ctx.box;
  const int32_t margin = m.parenBase + (box.bottom - box.top) / 16;
  GraphicsPort& port = *ctx.port;
  if (margin < kBigBracketMargin) {
    const int32_t t = m.thinLine;
    const int32_t reference = ctx.ReferenceY();
    DrawThinBracket(port, Rect{box.left - margin, box.top, box.left, box.bottom}, t, style,
                    reference, true);
    DrawThinBracket(port, Rect{box.right, box.top, box.right + margin, box.bottom}, t, style,
                    reference, false);
    return;
  }
  static constexpr BigBracketKind kKinds[3] = {kBigParen, kBigSquare, kBigBrace};
  const int32_t fontSize = m.size[ctx.level];
  DrawBigBracket(port, Rect{box.left + 1 - margin, box.top, box.left, box.bottom}, fontSize,
                 kKinds[style], true);
  DrawBigBracket(port, Rect{box.right, box.top, box.right + margin - 1, box.bottom}, fontSize,
                 kKinds[style], false);
}

}  // namespace lemmabox
