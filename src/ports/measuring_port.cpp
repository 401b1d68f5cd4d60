#include "ports/measuring_port.h"

namespace lemmabox {

std::unique_ptr<GraphicsPort> MeasuringPort::clone() const {
  return std::unique_ptr<GraphicsPort>(new MeasuringPort(*this));
}

void MeasuringPort::startDeluxeLine(int32_t width, RgbColor color, LinePattern pattern,
                                    DrawMode mode) {
  lineWidth_ = width;
  penColor_ = color;
  pattern_ = pattern;
  drawMode_ = mode;
}

void MeasuringPort::setColors(RgbColor foreground, RgbColor background) {
  foreground_ = foreground;
  background_ = background;
}

}  // namespace lemmabox
