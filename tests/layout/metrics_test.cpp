// The metrics a port gives the layout, the Notebook Font dialog's size
// rules, text measurement and the display text of numbers.
#include "layout/metrics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "layout/font_dialog.h"
#include "layout/number_text.h"
#include "layout/text.h"
#include "layout_fixture.h"
#include "ports/font_metrics.h"
#include "shell/charset.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

using MetricsTest = LayoutTest;

TEST(LevelTest, SteppingDownStopsAtTheSmallest) {
  EXPECT_EQ(kLevelSmaller, StepDown(kLevelMain));
  EXPECT_EQ(kLevelSmallest, StepDown(kLevelSmaller));
  EXPECT_EQ(kLevelSmallest, StepDown(kLevelSmallest));
}

TEST(MetricsTableTest, DerivedFromScaleAndPointSizes) {
  struct Case {
    int32_t em, unit, main, smaller, smallest;
    int32_t s0, s2, eighth2, rule0, K, iconSize, iconStep;
  };
  const Case cases[] = {
      // One unit per point: 12 point text is 12 units; the icon is 8 wide.
      {16, 1, 12, 11, 9, 12, 9, 1, 1, 4, 8, 0},
      // A 96 dpi screen: (15 + 3) / 16 = 1 gives the 16-unit icon.
      {21, 1, 12, 11, 9, 15, 11, 1, 1, 5, 16, 1},
      // A 300 dpi printer.
      {67, 1, 12, 11, 9, 50, 37, 4, 3, 16, 32, 2},
      // Large type on a printer: (301 + 75) / 16 = 23 has five bits.
      {67, 1, 72, 51, 36, 301, 150, 18, 18, 16, 256, 5},
  };
  for (const Case& c : cases) {
    const LayoutMetrics m = ComputeMetrics(c.em, c.unit, c.main, c.smaller, c.smallest);
    EXPECT_EQ(c.s0, m.size[0]) << c.em;
    EXPECT_EQ(c.s2, m.size[2]) << c.em;
    EXPECT_EQ(2 * c.s0, m.twice[0]);
    EXPECT_EQ(c.s0 / 2, m.half[0]);
    EXPECT_EQ(c.s0 / 4, m.quarter[0]);
    EXPECT_EQ(c.eighth2, m.eighth[2]) << c.em;
    EXPECT_EQ(c.rule0, m.rule[0]) << c.em;
    EXPECT_EQ(c.K, m.parenBase) << c.em;
    EXPECT_EQ(c.em / 2, m.halfEm);
    EXPECT_EQ(c.iconSize, m.iconSize) << c.em << " " << c.main;
    EXPECT_EQ(c.iconStep, m.iconStep) << c.em << " " << c.main;
  }
  // Tiny sizes still give a visible eighth and rule.
  const LayoutMetrics tiny = ComputeMetrics(16, 1, 6, 6, 1);
  EXPECT_EQ(1, tiny.eighth[2]);
  EXPECT_EQ(1, tiny.rule[2]);
  // A pixel of two units: thin lines are one unit, hairlines too.
  const LayoutMetrics coarse = ComputeMetrics(16, 2, 12, 11, 9);
  EXPECT_EQ(1, coarse.thinLine);
  EXPECT_EQ(4, coarse.u2);
  const LayoutMetrics fine = ComputeMetrics(16, 6, 12, 11, 9);
  EXPECT_EQ(3, fine.thinLine);
  EXPECT_EQ(1, fine.hairline);
  EXPECT_INTERNAL_ERROR("main size negative", ComputeMetrics(16, 1, -40, 11, 9));
}

TEST(FontDialogTest, SizesStayConsistent) {
  const FontSizes start{12, 11, 9};
  struct Case {
    char field;  // 'm' main, 's' smaller, 't' smallest
    int32_t typed;
    FontSizes expected;
  };
  const Case cases[] = {
      {'m', 18, {18, 15, 12}},    // 18*2/3+3 = 15, 18*4/9+4 = 12
      {'m', 6, {6, 6, 6}},        // smaller limited to main
      {'m', 200, {127, 87, 60}},  // main at most 127
      {'m', 0, {6, 6, 6}},        // below 1 is taken as 6
      {'m', 4, {4, 11, 9}},       // still being typed: nothing else moves
      {'s', 10, {12, 10, 8}},     // smallest = 10*2/3+2
      {'s', 20, {12, 12, 10}},    // limited to main
      {'s', 3, {12, 3, 9}},      {'s', -5, {12, 6, 6}},
      {'t', 10, {12, 11, 10}},   {'t', 30, {12, 11, 11}},  // limited to smaller
      {'t', 2, {12, 11, 2}},
  };
  for (const Case& c : cases) {
    FontSizes result = c.field == 'm'   ? MainSizeChanged(start, c.typed)
                       : c.field == 's' ? SmallerSizeChanged(start, c.typed)
                                        : SmallestSizeChanged(start, c.typed);
    EXPECT_EQ(c.expected, result) << c.field << " " << c.typed;
  }
}

TEST_F(MetricsTest, FontSetsFollowTheStyle) {
  EXPECT_EQ("Symbol", env->font(kFontSymbol, 0).family);
  EXPECT_EQ("Times", env->font(kFontMain, 0).family);
  EXPECT_FALSE(env->font(kFontMain, 0).italic);
  EXPECT_TRUE(env->font(kFontLetter, 1).italic);
  EXPECT_TRUE(env->font(kFontQuestion, 2).bold);
  EXPECT_TRUE(env->font(kFontQuestion, 2).italic);
  EXPECT_EQ(12, env->font(kFontMain, 0).size);
  EXPECT_EQ(11, env->font(kFontLetter, 1).size);
  EXPECT_EQ(9, env->font(kFontSymbol, 2).size);

  style.useItalics = 0;
  std::strcpy(style.fontFamily, "No Such Family");
  Rebuild();
  EXPECT_FALSE(env->font(kFontLetter, 0).italic);
  EXPECT_FALSE(env->font(kFontQuestion, 0).italic);
  EXPECT_EQ("System", env->font(kFontMain, 0).family);
  EXPECT_EQ("Symbol", env->font(kFontSymbol, 0).family);

  // Installing the settings tells the ports the family and whether the
  // digits hang below the baseline (they do not in Times).
  style = DefaultNotebookStyle();
  std::strcpy(style.fontFamily, "helvetica");
  style.digitsBelowBaseline = 1;
  style.portFontWord = 7;
  InstallFontSettings(style);
  EXPECT_EQ(0, style.digitsBelowBaseline);
  EXPECT_EQ('F', CurrentPortFontDescriptor().initial);
  EXPECT_EQ(7, CurrentPortFontDescriptor().styleWord);
  std::strcpy(style.fontFamily, "Times");
  InstallFontSettings(style);
  EXPECT_EQ('T', CurrentPortFontDescriptor().initial);
  EXPECT_EQ(12, CurrentPortFontDescriptor().mainSize);
}

TEST_F(MetricsTest, IconsAreShownByModeOnScreenAndOnPaper) {
  struct Case {
    int mode;
    bool printing;
    bool shown;
  };
  const Case cases[] = {{kIconsAlways, false, true},         {kIconsAlways, true, true},
                        {kIconsUnlessPrinting, false, true}, {kIconsUnlessPrinting, true, false},
                        {kIconsNever, false, false},         {kIconsNever, true, false}};
  for (const Case& c : cases) {
    style.iconMode = c.mode;
    LayoutEnv layout(port, style, c.printing);
    EXPECT_EQ(c.shown, layout.iconsShown()) << c.mode << " " << c.printing;
  }
}

TEST_F(MetricsTest, TextIsMeasuredRunByRun) {
  // Plain text measures as the port measures it.
  EXPECT_EQ(FontWidth("sin", kFontMain, 0), ProgramTextWidth(*env, kFontMain, 0, "sin"));
  // The hyphen is the Symbol font's minus; Greek letters and signs come
  // from the Symbol font at the same level.
  EXPECT_EQ(FontWidth("-", kFontSymbol, 1), ProgramTextWidth(*env, kFontMain, 1, "-"));
  EXPECT_EQ(FontWidth("x", kFontMain, 0) + FontWidth("p", kFontSymbol, 0),
            ProgramTextWidth(*env, kFontMain, 0, "x\xB9"));
  // The specials: the exponent marker is "x10" in the Symbol font, the
  // question glyph a bold "?", h-bar an "h".
  EXPECT_EQ(FontWidth("\xB4"
                      "10",
                      kFontSymbol, 0),
            ProgramTextWidth(*env, kFontMain, 0, "\x90"));
  EXPECT_EQ(FontWidth("?", kFontQuestion, 0), ProgramTextWidth(*env, kFontMain, 0, "\x92"));
  EXPECT_EQ(FontWidth("h", kFontLetter, 0), ProgramTextWidth(*env, kFontLetter, 0, "\xEE"));

  // The box: the reference line a quarter size above the font baseline.
  const TextBox box = MeasureText(*env, 0, kFontMain, "x");
  const FontExtents& font = env->extents(kFontMain, 0);
  EXPECT_EQ(font.ascent + font.descent, box.height);
  EXPECT_EQ(font.ascent - 3, box.baseline);
}

TEST(NumberTextTest, RealsAreFormattedForDisplay) {
  const char marker = static_cast<char>(kCharExponent);
  const std::string infinity(1, static_cast<char>(kCharInfinity));
  struct Case {
    double value;
    int digits;
    RealFormat format;
    std::string expected;
  };
  const Case cases[] = {
      {std::numeric_limits<double>::quiet_NaN(), 15, RealFormat::kDisplay, "?"},
      {std::numeric_limits<double>::infinity(), 15, RealFormat::kDisplay, infinity},
      {-std::numeric_limits<double>::infinity(), 15, RealFormat::kDisplay, "-" + infinity},
      {1.0e20, 15, RealFormat::kDisplay, std::string("1") + marker + "20"},
      {1.5e-7, 6, RealFormat::kDisplay, std::string("1.5") + marker + "-7"},
      {2.5e100, 6, RealFormat::kDisplay, std::string("2.5") + marker + "100"},
      {0.25, 6, RealFormat::kDisplay, "0.25"},
      {3.14159265358979, 6, RealFormat::kDisplay, "3.14159"},
      {2.0 / 3.0, 3, RealFormat::kDisplay, "0.667"},
      // Fifteen 9s would show a number that is not 10: print it with 14.
      {9.999999999999991, 15, RealFormat::kDisplay, "10"},
      {99999.99999999999, 15, RealFormat::kDisplay, "100000"},
      // Only at the full 15 digits.
      {9.9999996, 6, RealFormat::kDisplay, "10"},
      {9.99999, 6, RealFormat::kDisplay, "9.99999"},
      {0.1, 15, RealFormat::kFullPrecision, "0.10000000000000001"},
      {1e23, 15, RealFormat::kFullPrecision, std::string("9.9999999999999992") + marker + "22"},
      {1.0 / 3.0, 6, RealFormat::kFourteen, "0.33333333333333"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, FormatReal(c.value, c.digits, c.format)) << c.value;
  }
  EXPECT_EQ("1e20", FormatReal(1.0e20, 15, RealFormat::kDisplay, true));
  EXPECT_EQ("1e-5", FormatReal(1.0e-5, 15, RealFormat::kDisplay, true));
  EXPECT_EQ("1e100", FormatReal(1.0e100, 15, RealFormat::kDisplay, true));
  EXPECT_EQ("-12", FormatInteger(-12));
  EXPECT_EQ("2147483647", FormatInteger(2147483647));
}

}  // namespace
}  // namespace lemmabox::testing
