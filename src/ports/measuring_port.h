// The measuring port: sizes text like every other port and draws nothing.
// Layout uses it to lay out a notebook when there is no device at hand (the
// command-line tool, tests, pagination before a printer is chosen).
#pragma once

#include "ports/port.h"

namespace lemmabox {

class MeasuringPort : public GraphicsPort {
 public:
  explicit MeasuringPort(int32_t resolution = 72) : GraphicsPort(resolution) {}

  std::unique_ptr<GraphicsPort> clone() const override;
  void unsetPort() override {}
  void setPort() override {}
  void drawDeluxeString(std::string_view, const PortFont&, uint8_t, int32_t, int32_t,
                        TextMode) override {}
  void drawRotatedString(std::string_view, const PortFont&, uint8_t, int32_t, int32_t) override {}
  void drawAsianString(std::string_view, const PortFont&, int32_t, int32_t) override {}
  void startDeluxeLine(int32_t width, RgbColor color, LinePattern pattern, DrawMode mode) override;
  void moveTo(int32_t x, int32_t y) override { current_ = Point{x, y}; }
  void move(int32_t dx, int32_t dy) override { moveTo(current_.x + dx, current_.y + dy); }
  void lineTo(int32_t x, int32_t y) override { current_ = Point{x, y}; }
  void line(int32_t dx, int32_t dy) override { lineTo(current_.x + dx, current_.y + dy); }
  void dotAt(int32_t x, int32_t y) override { current_ = Point{x, y}; }
  void endLine() override {}
  void paintZone(const Rect&) override {}
  void eraseZone(const Rect&) override {}
  void eraseArea(std::span<const Point>) override {}
  void paintPolygon(std::span<const Point>) override {}
  void frameZone(const Rect&) override {}
  void paintCircle(const Rect&) override {}
  void integralSign(const Rect&, int32_t) override {}
  void paintHorn(const Horn&) override {}
  // Nothing was drawn, so the saved pixels are an empty picture of the zone.
  SavedPixels savePix(const Rect& zone) override { return SavedPixels{zone, {}}; }
  void restorePix(const SavedPixels&) override {}
  void restoreStretch(const SavedPixels&, const Rect&) override {}
  void restoreColorize(const SavedPixels&, RgbColor) override {}
  void drawImage(const PortImage&, int32_t, int32_t) override {}
  void stretchImage(const PortImage&, const Rect&) override {}
  void clipToZone(const Rect& zone) override { clip_ = zone; }
  void setColors(RgbColor foreground, RgbColor background) override;
};

}  // namespace lemmabox
