// The port abstraction: what a port gets for free, what it must supply, and
// the measuring port.
#include "ports/port.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ports/font_metrics.h"
#include "ports/measuring_port.h"
#include "support/failure_helpers.h"
#include "support/headless_fixture.h"

namespace lemmabox {
namespace {

using testing::HeadlessTest;

class PortTest : public HeadlessTest {};

// A port that supplies nothing of its own.
class BarePort : public GraphicsPort {};

// A port that records the calls the common entries forward to.
class RecordingPort : public GraphicsPort {
 public:
  void drawDeluxeString(std::string_view text, const PortFont& font, uint8_t style, int32_t x,
                        int32_t y, TextMode mode) override {
    log += "text " + std::string(text) + " " + font.family + " " + std::to_string(style) + " " +
           std::to_string(x) + "," + std::to_string(y) +
           (mode == TextMode::kTransparent ? " transparent" : " copy") + ";";
  }
  void startDeluxeLine(int32_t width, RgbColor color, LinePattern pattern, DrawMode mode) override {
    log += "line " + std::to_string(width) + " " + std::to_string(color.red) + "/" +
           std::to_string(color.green) + "/" + std::to_string(color.blue) +
           (pattern == LinePattern::kSolid ? " solid" : " patterned") +
           (mode == DrawMode::kNormal ? " normal" : " invert") + ";";
  }
  void setColors(RgbColor foreground, RgbColor background) override {
    foreground_ = foreground;
    background_ = background;
  }
  std::string log;
};

// Every operation that draws belongs to the concrete port; the abstract one
// names the missing operation.
TEST_F(PortTest, OperationsAPortDoesNotSupplyAreInternalErrors) {
  BarePort port;
  PortFont font;
  Point triangle[] = {{0, 0}, {5, 0}, {0, 5}};
  Rect zone{0, 0, 10, 10};
  SavedPixels pixels;
  PortImage image;
  struct Case {
    const char* name;
    std::function<void()> call;
  } cases[] = {
      {"pGr::clone", [&] { port.clone(); }},
      {"pGr::unsetPort", [&] { port.unsetPort(); }},
      {"pGr::setPort", [&] { port.setPort(); }},
      {"pGr::drawDeluxeString",
       [&] { port.drawDeluxeString("x", font, 0, 0, 0, TextMode::kTransparent); }},
      {"pGr::drawDeluxeString", [&] { port.drawString("x", font, 0, 0); }},
      {"pGr::drawRotatedString", [&] { port.drawRotatedString("x", font, 0, 0, 0); }},
      {"pGr::drawAsianString", [&] { port.drawAsianString("x", font, 0, 0); }},
      {"pGr::startDeluxeLine",
       [&] { port.startDeluxeLine(1, kBlack, LinePattern::kSolid, DrawMode::kNormal); }},
      {"pGr::startDeluxeLine", [&] { port.startLine(1); }},
      {"pGr::moveTo", [&] { port.moveTo(1, 1); }},
      {"pGr::move", [&] { port.move(1, 1); }},
      {"pGr::lineTo", [&] { port.lineTo(1, 1); }},
      {"pGr::line", [&] { port.line(1, 1); }},
      {"pGr::dotAt", [&] { port.dotAt(1, 1); }},
      {"pGr::endLine", [&] { port.endLine(); }},
      {"pGr::paintZone", [&] { port.paintZone(zone); }},
      {"pGr::eraseZone", [&] { port.eraseZone(zone); }},
      {"pGr::eraseArea", [&] { port.eraseArea(triangle); }},
      {"pGr::paintPolygon", [&] { port.paintPolygon(triangle); }},
      {"pGr::frameZone", [&] { port.frameZone(zone); }},
      {"pGr::paintCircle", [&] { port.paintCircle(zone); }},
      {"pGr::integralSign", [&] { port.integralSign(zone, 1); }},
      {"pGr::paintHorn", [&] { port.paintHorn(Horn{}); }},
      {"pGr::savePix", [&] { port.savePix(zone); }},
      {"pGr::restorePix", [&] { port.restorePix(pixels); }},
      {"pGr::restoreStretch", [&] { port.restoreStretch(pixels, zone); }},
      {"pGr::restoreColorize", [&] { port.restoreColorize(pixels, kBlack); }},
      {"pGr::drawImage", [&] { port.drawImage(image, 0, 0); }},
      {"pGr::stretchImage", [&] { port.stretchImage(image, zone); }},
      {"pGr::clipToZone", [&] { port.clipToZone(zone); }},
      {"pGr::setColors", [&] { port.setColors(kBlack, kWhite); }},
  };
  for (const Case& c : cases) {
    EXPECT_INTERNAL_ERROR(c.name, c.call());
  }
  // Measuring and the query are the same for every port.
  EXPECT_FALSE(port.query());
  EXPECT_EQ(TextWidth("Ax", font), port.textExtent("Ax", font).width);
}

TEST_F(PortTest, CommonEntriesForwardToTheFullOperations) {
  RecordingPort port;
  port.setColors(RgbColor{10, 20, 30}, kWhite);
  port.drawString("ab", PortFont{"Courier", 10}, 3, 4);
  port.startLine(2);
  EXPECT_EQ("text ab Courier 0 3,4 transparent;line 2 10/20/30 solid normal;", port.log);
}

TEST_F(PortTest, EmFollowsTheDeviceResolution) {
  struct Case {
    int32_t dotsPerInch;
    int32_t em;
  } cases[] = {{72, 16}, {96, 21}, {300, 67}, {600, 133}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.em, GraphicsPort::EmForResolution(c.dotsPerInch)) << c.dotsPerInch;
    EXPECT_EQ(c.em, MeasuringPort(c.dotsPerInch).em());
  }
  EXPECT_EQ(1, MeasuringPort().unit());
}

TEST_F(PortTest, MeasuringUsesTheSharedMetrics) {
  MeasuringPort port;
  PortFont roman{"Times", 24};
  PortFont italic{"Times", 24, false, true};
  TextExtent extent = port.textExtent("Lemmabox", roman);
  EXPECT_EQ(TextWidth("Lemmabox", roman), extent.width);
  EXPECT_EQ(MeasureFontExtents(roman).Height(), extent.height);
  CharMetrics upright = port.charMetrics("f", roman);
  CharMetrics slanted = port.charMetrics("f", italic);
  EXPECT_EQ(TextWidth("f", roman), upright.width);
  EXPECT_EQ(extent.height, upright.height);
  EXPECT_GT(slanted.overhang, upright.overhang);
  EXPECT_GT(upright.overhang, 0);
  port.selectFont(italic);
  EXPECT_EQ(italic, port.currentFont());
}

TEST_F(PortTest, MeasuringPortAcceptsEveryDrawingAndKeepsItsState) {
  MeasuringPort port(300);
  PortFont font;
  Point triangle[] = {{0, 0}, {5, 0}, {0, 5}};
  port.setPort();
  port.setColors(RgbColor{1, 2, 3}, RgbColor{4, 5, 6});
  port.drawString("x", font, 1, 2);
  port.drawDeluxeString("x", font, TextStyle::kBold, 1, 2, TextMode::kCopy);
  port.drawRotatedString("x", font, 0, 1, 2);
  port.startDeluxeLine(3, kWhite, LinePattern::kDotted, DrawMode::kInvert);
  port.moveTo(10, 10);
  port.line(5, 5);
  port.move(1, -1);
  EXPECT_EQ((Point{16, 14}), port.currentPoint());
  port.dotAt(7, 8);
  port.endLine();
  port.paintZone(Rect{0, 0, 4, 4});
  port.eraseArea(triangle);
  port.paintCircle(Rect{0, 0, 3, 7});  // measuring never checks shapes
  port.integralSign(Rect{0, 0, 4, 10}, 1);
  SavedPixels saved = port.savePix(Rect{1, 2, 3, 4});
  port.restorePix(saved);
  port.clipToZone(Rect{1, 1, 9, 9});
  port.unsetPort();
  EXPECT_EQ((Rect{1, 2, 3, 4}), saved.zone);
  EXPECT_EQ((Rect{1, 1, 9, 9}), port.clipZone());
  EXPECT_EQ((RgbColor{1, 2, 3}), port.foreground());
  EXPECT_EQ(3, port.lineWidth());
  EXPECT_EQ(LinePattern::kDotted, port.linePattern());

  std::unique_ptr<GraphicsPort> copy = port.clone();
  EXPECT_EQ(67, copy->em());
  EXPECT_EQ((Rect{1, 1, 9, 9}), copy->clipZone());
  EXPECT_EQ((RgbColor{1, 2, 3}), copy->foreground());
}

}  // namespace
}  // namespace lemmabox
