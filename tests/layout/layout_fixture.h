// What the layout tests share: a notebook style, a layout environment on a
// measuring port at 72 dots per inch (16 port units per em, one unit per
// point), expressions built from the object store's compact tree notation,
// and a port that records what is drawn.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "layout/context.h"
#include "layout/metrics.h"
#include "mathobj/object.h"
#include "notebook/notebook_record.h"
#include "ports/measuring_port.h"
#include "support/headless_fixture.h"

namespace lemmabox::testing {

class LayoutTest : public HeadlessTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A tree in the object store's test notation (tests/mathobj/tree_text.h),
  // disposed of after the test.
  Handle Make(const std::string& text);
  // Takes ownership of a tree made some other way.
  Handle Own(Handle obj);
  // A declared name of a new declaration of this spelling and class.
  Handle Declared(const std::string& spelling, int nameClass = 2);

  // Lays out a detached expression at a level.
  LayoutBox Lay(Handle obj, int level = kLevelMain);
  // Puts a detached expression into a new assumption and lays it out as the
  // notebook's rows would: the assumption's box is its own zero box.
  Handle Statement(Handle expr, int level = kLevelMain);

  // The environment again after style changes.
  void Rebuild();

  // The occupant at a path of slot indices.
  static Handle At(Handle obj, std::initializer_list<int> path);
  // A text's width in a font set of env, measured independently of the layout
  // (straight from the font metrics).
  int32_t FontWidth(const std::string& text, FontSet set, int level) const;

  const LayoutMetrics& M() const { return env->metrics(); }

  MeasuringPort port{72};
  NotebookStyle style;
  std::unique_ptr<LayoutEnv> env;

 private:
  std::vector<Handle> owned_;
};

// One drawing call, as the recording port saw it.
struct DrawCall {
  std::string op;      // "text", "line", "dot", "polygon", "frame", "image", "integral"
  std::string text;    // text drawn, or the image's size "WxH"
  std::string family;  // font family of text
  int32_t size = 0;    // font size, or line thickness
  std::vector<Point> points;
  Rect zone;
};

class RecordingPort : public MeasuringPort {
 public:
  RecordingPort() : MeasuringPort(72) {}
  void drawDeluxeString(std::string_view text, const PortFont& font, uint8_t style, int32_t x,
                        int32_t y, TextMode mode) override;
  void startDeluxeLine(int32_t width, RgbColor color, LinePattern pattern, DrawMode mode) override;
  void moveTo(int32_t x, int32_t y) override;
  void lineTo(int32_t x, int32_t y) override;
  void dotAt(int32_t x, int32_t y) override;
  void endLine() override;
  void paintPolygon(std::span<const Point> polygon) override;
  void frameZone(const Rect& zone) override;
  void integralSign(const Rect& zone, int32_t thickness) override;
  void stretchImage(const PortImage& image, const Rect& zone) override;

  std::vector<DrawCall> calls;
  int Count(const std::string& op) const;
  // The text calls, in order.
  std::vector<DrawCall> Texts() const;

 private:
  DrawCall line_;
  bool lineOpen_ = false;
};

}  // namespace lemmabox::testing
