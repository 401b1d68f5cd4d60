// What the tests of notebook rows share: a notebook built through the
// notebook model, laid out on the measuring port, and a port that records
// colours and line patterns besides what RecordingPort sees.
#pragma once

#include <string>
#include <vector>

#include "layout/rows.h"
#include "layout_fixture.h"

namespace lemmabox::testing {

class RowsTest : public LayoutTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Appends prop to a theory (the Main Theory by default) with an
  // indentation (255: it continues the row before it).
  Handle Add(Handle prop, int indentation = 0, Handle theory = nullptr);
  // An assumption of an expression in tree notation.
  Handle Assume(const std::string& tree, int indentation = 0, Handle theory = nullptr);
  Handle Collapsed(Handle prop);

  // Lays the notebook out on the fixture's environment, afresh.
  LayoutBox LayOut();
  // Shows icons or not (the Case Theory makes room for its icon only then).
  void ShowIcons(bool shown);

  static Rect BoxOf(Handle obj);
  static bool Hidden(Handle obj) { return HasFlag(obj, kFlagHidden); }

  Handle main = nullptr;
};

// A recording port that also notes the colour of each text and the pattern
// of each line.
class InkPort : public RecordingPort {
 public:
  struct Text {
    std::string text;
    RgbColor color;
    Point at;
    int32_t size = 0;
    bool italic = false;
  };
  void drawDeluxeString(std::string_view text, const PortFont& font, uint8_t style, int32_t x,
                        int32_t y, TextMode mode) override;
  void startDeluxeLine(int32_t width, RgbColor color, LinePattern pattern, DrawMode mode) override;
  void eraseArea(std::span<const Point> polygon) override;
  void paintCircle(const Rect& square) override;

  std::vector<Text> texts;
  std::vector<LinePattern> patterns;
  int erased = 0;
  int circles = 0;
  // The texts drawn, joined by blanks.
  std::string AllText() const;
};

}  // namespace lemmabox::testing
