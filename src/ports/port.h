// The drawing port: every picture the program makes goes through one of these.
//
// Layout, graphs and windows draw through the 36 operations below without
// knowing whether the pixels end up on the screen, on a printer page, in an
// EPS file or nowhere at all (the measuring port). The operations are
// declared in their slot order; a port that does not replace one of the
// drawing operations reports the internal error "pGr::" + its name when it is
// called, so a missing piece shows up at once instead of drawing nothing.
//
// Coordinates are port units with y growing downwards. A port's two scale
// values are em (device units per 16 points: 16 on a port with one unit per
// point) and unit (one device pixel in port units). A font's size is its em
// height in port units, so a font of P points is P * em / 16 units.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/types.h"

namespace lemmabox {

struct RgbColor {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool IsGrey() const { return red == green && green == blue; }
  friend bool operator==(const RgbColor&, const RgbColor&) = default;
};

constexpr RgbColor kBlack{0, 0, 0};
constexpr RgbColor kWhite{255, 255, 255};

// A font as the drawing code asks for it. The family is the name the user
// chose ("Times", "Helvetica", ...); bold and italic pick the face. Unknown
// families are drawn and measured as "System" (see font_metrics.h).
struct PortFont {
  std::string family = "Times";
  int32_t size = 12;  // em height in port units
  bool bold = false;
  bool italic = false;
  friend bool operator==(const PortFont&, const PortFont&) = default;
};

// Style bits of drawDeluxeString. They emphasise text on top of the face the
// font names (an emboldened Symbol letter, an underlined word of a comment);
// they never change the advance widths.
struct TextStyle {
  static constexpr uint8_t kPlain = 0;
  static constexpr uint8_t kBold = 1;
  static constexpr uint8_t kItalic = 2;
  static constexpr uint8_t kUnderline = 4;
};

// How text meets what is under it: transparent leaves the background alone,
// copy fills the text cell with the background colour first.
enum class TextMode { kTransparent, kCopy };

// How a pen combines with the device: normal paints the colour, invert flips
// what is there (rubber bands and drag feedback on the screen).
enum class DrawMode { kNormal, kInvert };

enum class LinePattern { kSolid, kDotted, kDashed };

struct TextExtent {
  int32_t width = 0;
  int32_t height = 0;
};

struct CharMetrics {
  int32_t width = 0;
  int32_t height = 0;
  // How far the last character's ink leans past its advance.
  int32_t overhang = 0;
};

// The curved stroke of large brackets and radical signs: the region between
// two curves, start -> tip bulging towards control1, and tip -> end bulging
// towards control2. The region is closed from end back to start.
struct Horn {
  Point start;
  Point control1;
  Point tip;
  Point control2;
  Point end;
};

// A bitmap handed to a port. A mask has one bit per pixel, rows padded to
// whole bytes, most significant bit first; a set bit is painted in the
// current colour and a clear bit leaves the page alone. An RGB image has three
// bytes per pixel, rows unpadded, top row first.
struct PortImage {
  enum class Kind { kMask, kRgb };
  Kind kind = Kind::kMask;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> data;

  // Bytes one row occupies in data.
  int32_t RowBytes() const { return kind == Kind::kMask ? (width + 7) / 8 : width * 3; }
  // True when the dimensions are positive and data holds exactly the rows.
  bool IsWellFormed() const;
};

// Pixels saved from a zone of a port, to be put back later.
struct SavedPixels {
  Rect zone;
  PortImage image;
};

class GraphicsPort {
 public:
  // resolution: device dots per inch; it fixes em (see EmForResolution).
  explicit GraphicsPort(int32_t resolution = 72);

  // Slot 0.
  virtual ~GraphicsPort();
  // Slot 1: a copy of the port object that draws to the same device.
  virtual std::unique_ptr<GraphicsPort> clone() const;
  // Slot 2: advance width and line height of text in a font.
  virtual TextExtent textExtent(std::string_view text, const PortFont& font);
  // Slot 3: makes a font current for the measuring operations.
  virtual void selectFont(const PortFont& font);
  // Slot 4: width, height and italic overhang of text in a font.
  virtual CharMetrics charMetrics(std::string_view text, const PortFont& font);
  // Slots 5 and 6: end and begin drawing into this port.
  virtual void unsetPort();
  virtual void setPort();
  // Slot 7: plain, transparent text with its baseline at y.
  virtual void drawString(std::string_view text, const PortFont& font, int32_t x, int32_t y);
  // Slot 8: text with style bits (TextStyle) and its baseline at y.
  virtual void drawDeluxeString(std::string_view text, const PortFont& font, uint8_t style,
                                int32_t x, int32_t y, TextMode mode);
  // Slot 9: text turned a quarter turn so that it reads upwards from (x, y).
  virtual void drawRotatedString(std::string_view text, const PortFont& font, uint8_t style,
                                 int32_t x, int32_t y);
  // Slot 10: double-byte text.
  virtual void drawAsianString(std::string_view text, const PortFont& font, int32_t x, int32_t y);
  // Slot 11: sets the pen; a path may be built until endLine.
  virtual void startDeluxeLine(int32_t width, RgbColor color, LinePattern pattern, DrawMode mode);
  // Slot 12: a solid line of the given width in the current colour.
  virtual void startLine(int32_t width);
  // Slots 13 to 18: the path of the line started last.
  virtual void moveTo(int32_t x, int32_t y);
  virtual void move(int32_t dx, int32_t dy);
  virtual void lineTo(int32_t x, int32_t y);
  virtual void line(int32_t dx, int32_t dy);
  virtual void dotAt(int32_t x, int32_t y);
  virtual void endLine();
  // Slots 19 to 26: filled shapes.
  virtual void paintZone(const Rect& zone);
  virtual void eraseZone(const Rect& zone);
  virtual void eraseArea(std::span<const Point> polygon);
  virtual void paintPolygon(std::span<const Point> polygon);
  virtual void frameZone(const Rect& zone);
  virtual void paintCircle(const Rect& square);
  virtual void integralSign(const Rect& zone, int32_t thickness);
  virtual void paintHorn(const Horn& horn);
  // Slot 27.
  virtual bool query();
  // Slots 28 to 33: pixels and images.
  virtual SavedPixels savePix(const Rect& zone);
  virtual void restorePix(const SavedPixels& pixels);
  virtual void restoreStretch(const SavedPixels& pixels, const Rect& zone);
  virtual void restoreColorize(const SavedPixels& pixels, RgbColor color);
  virtual void drawImage(const PortImage& image, int32_t x, int32_t y);
  virtual void stretchImage(const PortImage& image, const Rect& zone);
  // Slot 34: drawing is limited to the zone until the next call.
  virtual void clipToZone(const Rect& zone);
  // Slot 35: the colour that drawing uses and the colour erasing uses.
  virtual void setColors(RgbColor foreground, RgbColor background);

  // Scale values (see the top of this file).
  int32_t resolution() const { return resolution_; }
  int32_t em() const { return em_; }
  int32_t unit() const { return unit_; }
  Point currentPoint() const { return current_; }
  RgbColor foreground() const { return foreground_; }
  RgbColor background() const { return background_; }
  RgbColor penColor() const { return penColor_; }
  int32_t lineWidth() const { return lineWidth_; }
  LinePattern linePattern() const { return pattern_; }
  const Rect& clipZone() const { return clip_; }
  const PortFont& currentFont() const { return font_; }
  bool flipped() const { return flipped_; }
  int32_t portHeight() const { return height_; }

  // em for a device of d dots per inch: (2d + 4) / 9, so 16 at 72, 21 at 96
  // and 67 at 300. Fonts and layout scale by it, printer and screen alike.
  static int32_t EmForResolution(int32_t dotsPerInch);

 protected:
  GraphicsPort(const GraphicsPort&) = default;
  GraphicsPort& operator=(const GraphicsPort&) = default;

  void setUnit(int32_t unit) { unit_ = unit; }

  // State shared by the operations of every port.
  Point current_;
  RgbColor foreground_ = kBlack;
  RgbColor background_ = kWhite;
  RgbColor penColor_ = kBlack;
  int32_t lineWidth_ = 1;
  LinePattern pattern_ = LinePattern::kSolid;
  DrawMode drawMode_ = DrawMode::kNormal;
  bool flipped_ = false;  // device y grows upwards: y goes out as height - y
  int32_t height_ = 0;
  Rect clip_;
  PortFont font_;

 private:
  int32_t resolution_;
  int32_t em_;
  int32_t unit_ = 1;
};

}  // namespace lemmabox
