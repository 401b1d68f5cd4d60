#include "ports/port.h"

#include "ports/font_metrics.h"
#include "shell/failure.h"

namespace lemmabox {

bool PortImage::IsWellFormed() const {
  if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return false;
  if (kind != Kind::kMask && kind != Kind::kRgb) return false;
  return data.size() == static_cast<size_t>(RowBytes()) * static_cast<size_t>(height);
}

GraphicsPort::GraphicsPort(int32_t resolution)
    : resolution_(resolution), em_(EmForResolution(resolution)) {}

GraphicsPort::~GraphicsPort() = default;

int32_t GraphicsPort::EmForResolution(int32_t dotsPerInch) {
  return (2 * dotsPerInch + 4) / 9;
}

// The measuring operations are the same for every port: one set of metrics
// serves the screen, the printer and PostScript alike.

TextExtent GraphicsPort::textExtent(std::string_view text, const PortFont& font) {
  return TextExtent{TextWidth(text, font), MeasureFontExtents(font).Height()};
}

void GraphicsPort::selectFont(const PortFont& font) {
  font_ = font;
}

CharMetrics GraphicsPort::charMetrics(std::string_view text, const PortFont& font) {
  CharMetrics metrics;
  metrics.width = TextWidth(text, font);
  metrics.height = MeasureFontExtents(font).Height();
  // A slanted last letter leans well past its advance; an upright one a
  // little, for the serif.
  ResolvedFont resolved = ResolveFont(font);
  bool slanted = resolved.face->italic || resolved.syntheticItalic;
  metrics.overhang = slanted ? metrics.height * 3 / 16 : metrics.height / 16;
  return metrics;
}

void GraphicsPort::drawString(std::string_view text, const PortFont& font, int32_t x, int32_t y) {
  drawDeluxeString(text, font, TextStyle::kPlain, x, y, TextMode::kTransparent);
}

void GraphicsPort::startLine(int32_t width) {
  startDeluxeLine(width, foreground_, LinePattern::kSolid, DrawMode::kNormal);
}

bool GraphicsPort::query() {
  return false;
}

// Every other operation belongs to the concrete port.

std::unique_ptr<GraphicsPort> GraphicsPort::clone() const {
  InternalError("pGr::clone");
}
void GraphicsPort::unsetPort() {
  InternalError("pGr::unsetPort");
}
void GraphicsPort::setPort() {
  InternalError("pGr::setPort");
}
void GraphicsPort::drawDeluxeString(std::string_view, const PortFont&, uint8_t, int32_t, int32_t,
                                    TextMode) {
  InternalError("pGr::drawDeluxeString");
}
void GraphicsPort::drawRotatedString(std::string_view, const PortFont&, uint8_t, int32_t, int32_t) {
  InternalError("pGr::drawRotatedString");
}
void GraphicsPort::drawAsianString(std::string_view, const PortFont&, int32_t, int32_t) {
  InternalError("pGr::drawAsianString");
}
void GraphicsPort::startDeluxeLine(int32_t, RgbColor, LinePattern, DrawMode) {
  InternalError("pGr::startDeluxeLine");
}
void GraphicsPort::moveTo(int32_t, int32_t) {
  InternalError("pGr::moveTo");
}
void GraphicsPort::move(int32_t, int32_t) {
  InternalError("pGr::move");
}
void GraphicsPort::lineTo(int32_t, int32_t) {
  InternalError("pGr::lineTo");
}
void GraphicsPort::line(int32_t, int32_t) {
  InternalError("pGr::line");
}
void GraphicsPort::dotAt(int32_t, int32_t) {
  InternalError("pGr::dotAt");
}
void GraphicsPort::endLine() {
  InternalError("pGr::endLine");
}
void GraphicsPort::paintZone(const Rect&) {
  InternalError("pGr::paintZone");
}
void GraphicsPort::eraseZone(const Rect&) {
  InternalError("pGr::eraseZone");
}
void GraphicsPort::eraseArea(std::span<const Point>) {
  InternalError("pGr::eraseArea");
}
void GraphicsPort::paintPolygon(std::span<const Point>) {
  InternalError("pGr::paintPolygon");
}
void GraphicsPort::frameZone(const Rect&) {
  InternalError("pGr::frameZone");
}
void GraphicsPort::paintCircle(const Rect&) {
  InternalError("pGr::paintCircle");
}
void GraphicsPort::integralSign(const Rect&, int32_t) {
  InternalError("pGr::integralSign");
}
void GraphicsPort::paintHorn(const Horn&) {
  InternalError("pGr::paintHorn");
}
SavedPixels GraphicsPort::savePix(const Rect&) {
  InternalError("pGr::savePix");
}
void GraphicsPort::restorePix(const SavedPixels&) {
  InternalError("pGr::restorePix");
}
void GraphicsPort::restoreStretch(const SavedPixels&, const Rect&) {
  InternalError("pGr::restoreStretch");
}
void GraphicsPort::restoreColorize(const SavedPixels&, RgbColor) {
  InternalError("pGr::restoreColorize");
}
void GraphicsPort::drawImage(const PortImage&, int32_t, int32_t) {
  InternalError("pGr::drawImage");
}
void GraphicsPort::stretchImage(const PortImage&, const Rect&) {
  InternalError("pGr::stretchImage");
}
void GraphicsPort::clipToZone(const Rect&) {
  InternalError("pGr::clipToZone");
}
void GraphicsPort::setColors(RgbColor, RgbColor) {
  InternalError("pGr::setColors");
}

}  // namespace lemmabox
