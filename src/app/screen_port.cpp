#include "app/screen_port.h"

#include <QGlyphRun>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "app/screen_fonts.h"
#include "ports/font_metrics.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

// The one line open in the whole program.
bool gLineOpen = false;

QRect ToQRect(const Rect& r) {
  return QRect(r.left, r.top, r.Width(), r.Height());
}

Rect Intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

bool IsWhite(QRgb pixel) {
  return qRed(pixel) == 255 && qGreen(pixel) == 255 && qBlue(pixel) == 255;
}

}  // namespace

QColor ToQColor(RgbColor color) {
  return QColor(color.red, color.green, color.blue);
}

ScreenPort::ScreenPort(int32_t resolution) : GraphicsPort(resolution) {}

ScreenPort::ScreenPort(const ScreenPort& other)
    : GraphicsPort(other),
      painter_(other.painter_),
      device_(other.device_),
      base_(other.base_),
      pen_(other.pen_) {}

ScreenPort::~ScreenPort() {
  if (lineOwner_) gLineOpen = false;
}

bool ScreenPort::LineOpen() {
  return gLineOpen;
}

std::unique_ptr<GraphicsPort> ScreenPort::clone() const {
  return std::unique_ptr<GraphicsPort>(new ScreenPort(*this));
}

void ScreenPort::Begin(QPainter* painter, QImage* device, const Rect& base) {
  painter_ = painter;
  device_ = device;
  base_ = base;
  clip_ = base;
  if (painter_) {
    painter_->setRenderHint(QPainter::Antialiasing, true);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter_->setClipRect(ToQRect(base));
  }
}

void ScreenPort::End() {
  if (lineOwner_) {
    gLineOpen = false;
    lineOwner_ = false;
    path_ = QPainterPath();
  }
  painter_ = nullptr;
  device_ = nullptr;
}

void ScreenPort::unsetPort() {}
void ScreenPort::setPort() {}

void ScreenPort::setColors(RgbColor foreground, RgbColor background) {
  foreground_ = foreground;
  background_ = background;
}

// ---------------------------------------------------------------------------
// Text.

void ScreenPort::DrawText(std::string_view text, const PortFont& font, uint8_t style,
                          QPointF origin) {
  if (!painter_ || text.empty() || font.size <= 0) return;
  ScreenFace face = ScreenFaceFor(font);
  const bool bold = (style & TextStyle::kBold) || face.syntheticBold;
  const bool italic = (style & TextStyle::kItalic) || face.syntheticItalic;
  const bool underline = (style & TextStyle::kUnderline) != 0;
  PlacedGlyphs placed = PlaceGlyphs(face, text, font.size);

  painter_->save();
  painter_->translate(origin);
  // A slant of a quarter, leaning right above the baseline, as PostScript
  // imitates an italic that the face does not have.
  if (italic) painter_->setTransform(QTransform(1, 0, -0.25, 1, 0, 0), true);
  painter_->setPen(ToQColor(foreground_));
  const double boldShift = font.size / 24.0;
  if (face.raw.isValid()) {
    QGlyphRun run;
    run.setRawFont(face.raw);
    run.setGlyphIndexes(placed.glyphs);
    run.setPositions(placed.positions);
    painter_->drawGlyphRun(QPointF(0, 0), run);
    if (bold) painter_->drawGlyphRun(QPointF(boldShift, 0), run);
  } else {
    // Without the face's file the system's copy of the family stands in,
    // still placed by the metrics.
    QFont stand(QString::fromStdString(face.metrics->familyName));
    stand.setPixelSize(std::max(font.size, 1));
    stand.setHintingPreference(QFont::PreferNoHinting);
    painter_->setFont(stand);
    int64_t thousandths = 0;
    for (char c : text) {
      const uint8_t byte = static_cast<uint8_t>(c);
      const int32_t index = face.metrics->byteGlyph[byte];
      if (index < 0) continue;
      const char32_t code = UnicodeOfFaceByte(*face.metrics, byte);
      const double x = thousandths * font.size / 1000.0;
      if (code != 0) {
        const QString glyph = QString::fromUcs4(&code, 1);
        painter_->drawText(QPointF(x, 0), glyph);
        if (bold) painter_->drawText(QPointF(x + boldShift, 0), glyph);
      }
      thousandths += face.metrics->glyphs[index].width;
    }
  }
  if (underline) {
    const double thickness = std::max(1.0, font.size / 24.0);
    painter_->fillRect(QRectF(0, font.size / 12.0, placed.advance, thickness),
                       ToQColor(foreground_));
  }
  painter_->restore();
}

void ScreenPort::drawDeluxeString(std::string_view text, const PortFont& font, uint8_t style,
                                  int32_t x, int32_t y, TextMode mode) {
  current_ = Point{x, y};
  if (!painter_ || text.empty()) return;
  if (mode == TextMode::kCopy) {
    // The text's cell is filled with the background first.
    const FontExtents extents = MeasureFontExtents(font);
    const int32_t width = TextWidth(text, font);
    painter_->fillRect(QRect(x, y - extents.ascent, width, extents.Height()),
                       ToQColor(background_));
  }
  DrawText(text, font, style, QPointF(x, y));
}

void ScreenPort::drawRotatedString(std::string_view text, const PortFont& font, uint8_t style,
                                   int32_t x, int32_t y) {
  if (!painter_ || text.empty()) return;
  painter_->save();
  painter_->translate(x, y);
  painter_->rotate(-90);
  DrawText(text, font, style, QPointF(0, 0));
  painter_->restore();
}

void ScreenPort::drawAsianString(std::string_view text, const PortFont& font, int32_t x,
                                 int32_t y) {
  if (!painter_ || text.empty()) return;
  // Double-byte text arrives as UTF-8 here; the system's fonts show it.
  QFont system(QString::fromStdString(ResolveFont(font).face->familyName));
  system.setPixelSize(std::max(font.size, 1));
  painter_->save();
  painter_->setFont(system);
  painter_->setPen(ToQColor(foreground_));
  painter_->drawText(QPointF(x, y), QString::fromUtf8(text.data(), qsizetype(text.size())));
  painter_->restore();
}

// ---------------------------------------------------------------------------
// Lines.

QPointF ScreenPort::PenPoint(int32_t x, int32_t y) const {
  const double half = lineWidth_ / 2.0;
  return QPointF(x + half, y + half);
}

void ScreenPort::startDeluxeLine(int32_t width, RgbColor color, LinePattern pattern,
                                 DrawMode mode) {
  if (gLineOpen) InternalError("missing endLine");
  gLineOpen = true;
  lineOwner_ = true;
  lineWidth_ = std::max(width, 1);
  penColor_ = color;
  pattern_ = pattern;
  drawMode_ = mode;
  path_ = QPainterPath();
  pen_ = QPen(mode == DrawMode::kInvert ? QColor(Qt::white) : ToQColor(color));
  pen_.setWidthF(lineWidth_);
  pen_.setCapStyle(Qt::RoundCap);
  pen_.setJoinStyle(Qt::MiterJoin);
  if (pattern != LinePattern::kSolid) {
    // Dotted is u on and 3u off, dashed 6u on and 6u off, with u a 32nd of an
    // inch; Qt counts dashes in pen widths.
    const double u = std::max(resolution() / 32, 1);
    const double w = lineWidth_;
    pen_.setCapStyle(Qt::FlatCap);
    pen_.setDashPattern(pattern == LinePattern::kDotted ? QVector<qreal>{u / w, 3 * u / w}
                                                        : QVector<qreal>{6 * u / w, 6 * u / w});
  }
}

void ScreenPort::moveTo(int32_t x, int32_t y) {
  current_ = Point{x, y};
  if (lineOwner_) path_.moveTo(PenPoint(x, y));
}

void ScreenPort::move(int32_t dx, int32_t dy) {
  moveTo(current_.x + dx, current_.y + dy);
}

void ScreenPort::StrokeTo(QPointF to) {
  if (path_.elementCount() == 0) path_.moveTo(PenPoint(current_.x, current_.y));
  path_.lineTo(to);
}

void ScreenPort::lineTo(int32_t x, int32_t y) {
  if (!lineOwner_) InternalError("lineTo");
  StrokeTo(PenPoint(x, y));
  current_ = Point{x, y};
}

void ScreenPort::line(int32_t dx, int32_t dy) {
  if (!lineOwner_) InternalError("line");
  lineTo(current_.x + dx, current_.y + dy);
}

void ScreenPort::dotAt(int32_t x, int32_t y) {
  if (!lineOwner_) InternalError("dotAt");
  // With round caps a line a tenth of a pixel long is a dot of the pen.
  const QPointF p = PenPoint(x, y);
  path_.moveTo(p);
  path_.lineTo(p + QPointF(0.1, 0));
  current_ = Point{x, y};
}

void ScreenPort::endLine() {
  if (!lineOwner_) InternalError("endLine");
  if (painter_ && !path_.isEmpty()) {
    painter_->save();
    if (drawMode_ == DrawMode::kInvert) {
      painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      painter_->setRenderHint(QPainter::Antialiasing, false);
    }
    painter_->strokePath(path_, pen_);
    painter_->restore();
  }
  path_ = QPainterPath();
  gLineOpen = false;
  lineOwner_ = false;
}

// ---------------------------------------------------------------------------
// Zones and shapes.

void ScreenPort::paintZone(const Rect& zone) {
  if (painter_ && zone.Width() > 0 && zone.Height() > 0) {
    painter_->fillRect(ToQRect(zone), ToQColor(foreground_));
  }
}

void ScreenPort::eraseZone(const Rect& zone) {
  if (painter_ && zone.Width() > 0 && zone.Height() > 0) {
    painter_->fillRect(ToQRect(zone), ToQColor(background_));
  }
}

void ScreenPort::FillPolygon(std::span<const Point> polygon, RgbColor color) {
  if (!painter_ || polygon.size() < 3) return;
  QPolygonF shape;
  for (const Point& p : polygon) shape << QPointF(p.x, p.y);
  painter_->save();
  painter_->setPen(Qt::NoPen);
  painter_->setBrush(ToQColor(color));
  painter_->drawPolygon(shape);
  painter_->restore();
}

void ScreenPort::eraseArea(std::span<const Point> polygon) {
  FillPolygon(polygon, background_);
}

void ScreenPort::paintPolygon(std::span<const Point> polygon) {
  FillPolygon(polygon, foreground_);
}

void ScreenPort::frameZone(const Rect& zone) {
  if (!painter_ || zone.Width() <= 0 || zone.Height() <= 0) return;
  // A border one pixel wide inside the zone.
  const QColor color = ToQColor(foreground_);
  const int32_t t = unit();
  if (zone.Width() <= 2 * t || zone.Height() <= 2 * t) {
    painter_->fillRect(ToQRect(zone), color);
    return;
  }
  painter_->fillRect(QRect(zone.left, zone.top, zone.Width(), t), color);
  painter_->fillRect(QRect(zone.left, zone.bottom - t, zone.Width(), t), color);
  painter_->fillRect(QRect(zone.left, zone.top + t, t, zone.Height() - 2 * t), color);
  painter_->fillRect(QRect(zone.right - t, zone.top + t, t, zone.Height() - 2 * t), color);
}

void ScreenPort::paintCircle(const Rect& square) {
  if (!painter_ || square.Width() <= 0 || square.Height() <= 0) return;
  painter_->save();
  painter_->setPen(Qt::NoPen);
  painter_->setBrush(ToQColor(foreground_));
  painter_->drawEllipse(QRectF(ToQRect(square)));
  painter_->restore();
}

void ScreenPort::integralSign(const Rect& zone, int32_t thickness) {
  if (!painter_ || zone.Width() <= 0 || zone.Height() <= 0) return;
  thickness = std::max(thickness, 1);
  // The shape the printed page draws: a hook curling down at the top right, a
  // slightly leaning stem, and the hook turned over at the bottom left, in
  // fractions of the zone inside half the pen.
  static constexpr double kShape[13][2] = {{1.00, 0.10},  {1.00, 0.00}, {0.75, 0.00}, {0.62, 0.10},
                                           {0.55, 0.154}, {0.52, 0.35}, {0.50, 0.50}, {0.48, 0.65},
                                           {0.45, 0.846}, {0.38, 0.90}, {0.25, 1.00}, {0.00, 1.00},
                                           {0.00, 0.90}};
  const double half = thickness / 2.0;
  const double left = zone.left + half;
  const double width = std::max(zone.Width() - 2 * half, 0.0);
  const double top = zone.top + half;
  const double height = std::max(zone.Height() - 2 * half, 0.0);
  auto point = [&](int i) {
    return QPointF(left + kShape[i][0] * width, top + kShape[i][1] * height);
  };
  QPainterPath path(point(0));
  for (int i = 1; i < 13; i += 3) path.cubicTo(point(i), point(i + 1), point(i + 2));
  QPen pen(ToQColor(foreground_));
  pen.setWidthF(thickness);
  pen.setCapStyle(Qt::RoundCap);
  painter_->strokePath(path, pen);
}

void ScreenPort::paintHorn(const Horn& horn) {
  if (!painter_) return;
  auto p = [](Point q) { return QPointF(q.x, q.y); };
  // The same curves the printed page fills: start to tip bulging towards the
  // first control point, tip to end bulging towards the second, closed back.
  QPainterPath path(p(horn.start));
  path.cubicTo(p(horn.control1), p(horn.tip), p(horn.tip));
  path.cubicTo(p(horn.control2), p(horn.end), p(horn.end));
  path.closeSubpath();
  painter_->fillPath(path, ToQColor(foreground_));
}

// ---------------------------------------------------------------------------
// Pixels and images.

SavedPixels ScreenPort::savePix(const Rect& zone) {
  SavedPixels saved{zone, {}};
  if (!device_ || zone.Width() <= 0 || zone.Height() <= 0) return saved;
  const double ratio = device_->devicePixelRatio();
  const QRect area = QRect(std::lround(zone.left * ratio), std::lround(zone.top * ratio),
                           std::lround(zone.Width() * ratio), std::lround(zone.Height() * ratio))
                         .intersected(device_->rect());
  if (area.isEmpty()) return saved;
  QImage copy = device_->copy(area).convertToFormat(QImage::Format_RGB888);
  saved.image.kind = PortImage::Kind::kRgb;
  saved.image.width = copy.width();
  saved.image.height = copy.height();
  saved.image.data.resize(static_cast<size_t>(copy.width()) * 3 * copy.height());
  for (int row = 0; row < copy.height(); ++row) {
    std::copy_n(copy.constScanLine(row), copy.width() * 3,
                saved.image.data.begin() + static_cast<std::ptrdiff_t>(row) * copy.width() * 3);
  }
  return saved;
}

QImage ScreenPort::ImageOf(const PortImage& image, RgbColor maskColor) const {
  if (image.kind == PortImage::Kind::kRgb) {
    QImage result(image.width, image.height, QImage::Format_RGB888);
    for (int row = 0; row < image.height; ++row) {
      std::copy_n(image.data.begin() + static_cast<std::ptrdiff_t>(row) * image.RowBytes(),
                  image.RowBytes(), result.scanLine(row));
    }
    return result;
  }
  QImage result(image.width, image.height, QImage::Format_ARGB32_Premultiplied);
  result.fill(Qt::transparent);
  const QRgb ink = qRgb(maskColor.red, maskColor.green, maskColor.blue);
  for (int row = 0; row < image.height; ++row) {
    const uint8_t* bits = image.data.data() + static_cast<std::ptrdiff_t>(row) * image.RowBytes();
    QRgb* line = reinterpret_cast<QRgb*>(result.scanLine(row));
    for (int column = 0; column < image.width; ++column) {
      if (bits[column / 8] & (0x80 >> (column % 8))) line[column] = ink;
    }
  }
  return result;
}

void ScreenPort::DrawQImage(const QImage& image, const Rect& zone) {
  if (!painter_ || zone.Width() <= 0 || zone.Height() <= 0) return;
  painter_->drawImage(QRectF(ToQRect(zone)), image);
}

void ScreenPort::restorePix(const SavedPixels& pixels) {
  if (pixels.image.data.empty()) return;
  if (!pixels.image.IsWellFormed()) InternalError("pScreenPort::restorePix");
  DrawQImage(ImageOf(pixels.image, foreground_), pixels.zone);
}

void ScreenPort::restoreStretch(const SavedPixels& pixels, const Rect& zone) {
  if (pixels.image.data.empty()) return;
  if (!pixels.image.IsWellFormed()) InternalError("pScreenPort::restoreStretch");
  DrawQImage(ImageOf(pixels.image, foreground_), zone);
}

void ScreenPort::restoreColorize(const SavedPixels& pixels, RgbColor color) {
  if (pixels.image.data.empty()) return;
  if (!pixels.image.IsWellFormed()) InternalError("pScreenPort::restoreColorize");
  QImage ink = ImageOf(pixels.image, color).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (pixels.image.kind == PortImage::Kind::kRgb) {
    // Everything that is not white is ink, shown in the colour.
    const QRgb paint = qRgb(color.red, color.green, color.blue);
    for (int row = 0; row < ink.height(); ++row) {
      QRgb* line = reinterpret_cast<QRgb*>(ink.scanLine(row));
      for (int column = 0; column < ink.width(); ++column) {
        line[column] = IsWhite(line[column]) ? qRgba(0, 0, 0, 0) : paint;
      }
    }
  }
  DrawQImage(ink, pixels.zone);
}

void ScreenPort::drawImage(const PortImage& image, int32_t x, int32_t y) {
  if (!image.IsWellFormed()) InternalError("pScreenPort::drawImage");
  DrawQImage(ImageOf(image, foreground_), Rect{x, y, x + image.width, y + image.height});
}

void ScreenPort::stretchImage(const PortImage& image, const Rect& zone) {
  if (!image.IsWellFormed()) InternalError("pScreenPort::stretchImage");
  DrawQImage(ImageOf(image, foreground_), zone);
}

void ScreenPort::clipToZone(const Rect& zone) {
  clip_ = zone;
  if (painter_) painter_->setClipRect(ToQRect(Intersect(base_, zone)));
}

}  // namespace lemmabox
