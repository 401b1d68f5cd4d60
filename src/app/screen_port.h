// The screen port: the drawing operations on a QPainter.
//
// Port units are the screen's logical pixels, and the port's resolution is
// the screen's logical dots per inch, so fonts and layout scale with the
// desktop's text size while Qt maps logical pixels to device pixels on HiDPI
// screens. Text is measured by the shared AFM metrics and drawn glyph by
// glyph with the same faces (screen_fonts.h).
//
// A pen is laid out as on the printed page: a line of width w through a point
// covers the w pixels right of and below it, and PostScript output moves its
// points by half a pen for the same reason.
//
// One line may be open at a time in the whole program. Starting a line while
// one is open is the internal error "missing endLine"; lineTo, line, dotAt and
// endLine outside a line report "lineTo", "line", "dotAt" and "endLine". A port
// that goes away with its line still open (a failure cut the drawing short)
// closes it, so the next drawing does not trip over it.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include "ports/port.h"

namespace lemmabox {

class ScreenPort : public GraphicsPort {
 public:
  // A port that measures; it draws once Begin has given it a painter.
  explicit ScreenPort(int32_t resolution);
  ~ScreenPort() override;

  // Drawing goes to painter until End. `device` is the image the painter draws
  // on, when there is one: saving pixels reads them back from it. `base` is
  // the area being painted; clipping never reaches beyond it.
  void Begin(QPainter* painter, QImage* device, const Rect& base);
  void End();
  bool Drawing() const { return painter_ != nullptr; }

  std::unique_ptr<GraphicsPort> clone() const override;
  void unsetPort() override;
  void setPort() override;
  void drawDeluxeString(std::string_view text, const PortFont& font, uint8_t style, int32_t x,
                        int32_t y, TextMode mode) override;
  void drawRotatedString(std::string_view text, const PortFont& font, uint8_t style, int32_t x,
                         int32_t y) override;
  void drawAsianString(std::string_view text, const PortFont& font, int32_t x, int32_t y) override;
  void startDeluxeLine(int32_t width, RgbColor color, LinePattern pattern, DrawMode mode) override;
  void moveTo(int32_t x, int32_t y) override;
  void move(int32_t dx, int32_t dy) override;
  void lineTo(int32_t x, int32_t y) override;
  void line(int32_t dx, int32_t dy) override;
  void dotAt(int32_t x, int32_t y) override;
  void endLine() override;
  void paintZone(const Rect& zone) override;
  void eraseZone(const Rect& zone) override;
  void eraseArea(std::span<const Point> polygon) override;
  void paintPolygon(std::span<const Point> polygon) override;
  void frameZone(const Rect& zone) override;
  void paintCircle(const Rect& square) override;
  void integralSign(const Rect& zone, int32_t thickness) override;
  void paintHorn(const Horn& horn) override;
  SavedPixels savePix(const Rect& zone) override;
  void restorePix(const SavedPixels& pixels) override;
  void restoreStretch(const SavedPixels& pixels, const Rect& zone) override;
  void restoreColorize(const SavedPixels& pixels, RgbColor color) override;
  void drawImage(const PortImage& image, int32_t x, int32_t y) override;
  void stretchImage(const PortImage& image, const Rect& zone) override;
  void clipToZone(const Rect& zone) override;
  void setColors(RgbColor foreground, RgbColor background) override;

  // Whether some port has a line open (for tests).
  static bool LineOpen();

 private:
  ScreenPort(const ScreenPort& other);

  void DrawText(std::string_view text, const PortFont& font, uint8_t style, QPointF origin);
  void FillPolygon(std::span<const Point> polygon, RgbColor color);
  void StrokeTo(QPointF to);
  QPointF PenPoint(int32_t x, int32_t y) const;
  QImage ImageOf(const PortImage& image, RgbColor maskColor) const;
  void DrawQImage(const QImage& image, const Rect& zone);

  QPainter* painter_ = nullptr;
  QImage* device_ = nullptr;
  Rect base_;
  bool lineOwner_ = false;
  QPainterPath path_;
  QPen pen_;
};

QColor ToQColor(RgbColor color);

}  // namespace lemmabox
