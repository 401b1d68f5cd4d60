// Size levels, the metrics derived from an output port, and the layout
// environment that every layout pass carries down the tree.
//
// A LayoutEnv is made for one port and one notebook's font settings. It is
// never changed while a pass runs: sizing, drawing, highlighting, clicking
// and pointer help all read the same metrics and fonts from it. All layout
// arithmetic is integer, in port units, with divisions truncating toward zero.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "notebook/notebook_record.h"
#include "ports/font_metrics.h"
#include "ports/port.h"

namespace lemmabox {

// Objects are laid out at one of three size levels.
constexpr int kLevelMain = 0;
constexpr int kLevelSmaller = 1;
constexpr int kLevelSmallest = 2;
constexpr int kLevelCount = 3;

// One level smaller: 0 -> 1, 1 -> 2, 2 -> 2.
constexpr int StepDown(int level) {
  return level < kLevelSmallest ? level + 1 : kLevelSmallest;
}

struct LayoutMetrics {
  int32_t em = 16;                             // port units per 16 points
  int32_t unit = 1;                            // one device pixel in port units
  std::array<int32_t, kLevelCount> size{};     // s[k]: the level's size in port units
  std::array<int32_t, kLevelCount> twice{};    // 2 s[k]
  std::array<int32_t, kLevelCount> half{};     // s[k] / 2
  std::array<int32_t, kLevelCount> quarter{};  // s[k] / 4
  std::array<int32_t, kLevelCount> eighth{};   // max(1, s[k] / 8)
  std::array<int32_t, kLevelCount> rule{};     // max(1, s[k] / 16): rule thickness
  int32_t parenBase = 4;                       // K = em / 4, the base of the bracket margin
  int32_t halfEm = 8;
  int32_t u = 1;
  int32_t u2 = 2;
  int32_t thinLine = 1;  // max(1, unit / 2)
  int32_t hairline = 1;  // max(1, thin line / 2)
  // Side of an entry icon's box: 8 x 2^n. n also picks the icon image.
  int32_t iconSize = 8;
  int32_t iconStep = 0;

  // A length given in points at the 16-per-em scale, in port units.
  int32_t Points(int32_t points) const { return points * em / 16; }
};

// The metrics for a port's two scale values and the three point sizes.
// Internal error "main size negative" when the main size is negative.
LayoutMetrics ComputeMetrics(int32_t em, int32_t unit, int32_t mainSize, int32_t smallerSize,
                             int32_t smallestSize);

// The four font sets, each with one font per size level.
enum FontSet : int {
  kFontSymbol = 0,    // the Symbol font, plain: mapped characters, big operators
  kFontMain = 1,      // the notebook's family, plain: words, numbers, operators
  kFontLetter = 2,    // single letters: italic when "Use Italics" is set
  kFontQuestion = 3,  // question marks and wildcards: bold, italic with "Use Italics"
  kFontSetCount = 4,
};

class LayoutEnv {
 public:
  // Derives the metrics for `port` and builds the font sets from a
  // notebook's style record. While printing, icons are shown only for the
  // icon mode "Always".
  LayoutEnv(GraphicsPort& port, const NotebookStyle& style, bool printing = false);
  LayoutEnv(const LayoutEnv&) = delete;
  LayoutEnv& operator=(const LayoutEnv&) = delete;

  GraphicsPort& port() const { return *port_; }
  const LayoutMetrics& metrics() const { return metrics_; }
  const NotebookStyle& style() const { return style_; }
  const PortFont& font(FontSet set, int level) const { return fonts_[set][level]; }
  const FontExtents& extents(FontSet set, int level) const { return extents_[set][level]; }
  // The face a font set is measured with (resolved once, here).
  const FaceMetrics& face(FontSet set) const { return *faces_[set]; }
  // Whether the main font's digits reach below its baseline; numbers are
  // boxed down to the baseline only when they do not.
  bool digitsDescend() const { return digitsDescend_; }
  bool iconsShown() const { return iconsShown_; }
  // Tells cached measurements made under other metrics or fonts apart.
  uint32_t stamp() const { return stamp_; }

 private:
  GraphicsPort* port_;
  NotebookStyle style_;
  LayoutMetrics metrics_;
  std::array<std::array<PortFont, kLevelCount>, kFontSetCount> fonts_;
  std::array<std::array<FontExtents, kLevelCount>, kFontSetCount> extents_;
  std::array<const FaceMetrics*, kFontSetCount> faces_{};
  bool digitsDescend_ = false;
  bool iconsShown_ = false;
  uint32_t stamp_ = 0;
};

// What the output ports keep of the current notebook's font: its family, main
// size, the family's initial ('F' unless it begins with a capital A..Z) and
// the notebook's port font word.
struct PortFontDescriptor {
  std::string family = "Times";
  int32_t mainSize = 12;
  char initial = 'T';
  int32_t styleWord = 0;
};
const PortFontDescriptor& CurrentPortFontDescriptor();

// Makes a notebook's font settings current: records in the style whether
// its main font's digits reach below the baseline, and hands the family and
// main size to the output ports' font descriptor.
void InstallFontSettings(NotebookStyle& style);

// The layout of the screen, set by the desktop whenever its port or the
// front notebook's fonts change (null: none). Names whose sizes are not
// measured yet are measured for it.
void SetDisplayLayoutEnv(const LayoutEnv* env);
const LayoutEnv* DisplayLayoutEnv();

}  // namespace lemmabox
