#include "layout/metrics.h"

#include <algorithm>
#include <cstring>

#include "shell/failure.h"

namespace lemmabox {
namespace {

// The digits of some faces (old-style figures) hang below the baseline. The
// overshoot of round digits, a percent or two of the em, does not count: it
// must not decide the box of every number, and differently at every
// resolution.
constexpr int32_t kDigitDescentThreshold = 50;  // 1/1000 em

bool FaceDigitsDescend(const FaceMetrics& face) {
  int32_t lowest = 0;
  for (char digit = '0'; digit <= '9'; ++digit) {
    int32_t index = face.byteGlyph[static_cast<uint8_t>(digit)];
    if (index >= 0 && !face.glyphs[index].box.IsEmpty())
      lowest = std::min(lowest, face.glyphs[index].box.bottom);
  }
  return lowest < -kDigitDescentThreshold;
}

uint32_t Mix(uint32_t hash, uint32_t value) {
  return (hash ^ value) * 16777619u;
}

uint32_t MixText(uint32_t hash, const std::string& text) {
  for (char c : text) hash = Mix(hash, static_cast<uint8_t>(c));
  return Mix(hash, 0);
}

PortFontDescriptor& Descriptor() {
  static PortFontDescriptor descriptor;
  return descriptor;
}

const LayoutEnv* gDisplayEnv = nullptr;

std::string FamilyOf(const NotebookStyle& style) {
  return std::string(style.fontFamily, strnlen(style.fontFamily, sizeof style.fontFamily));
}

}  // namespace

LayoutMetrics ComputeMetrics(int32_t em, int32_t unit, int32_t mainSize, int32_t smallerSize,
                             int32_t smallestSize) {
  LayoutMetrics m;
  m.em = em;
  m.unit = unit;
  const int32_t points[kLevelCount] = {mainSize, smallerSize, smallestSize};
  for (int k = 0; k < kLevelCount; ++k) {
    int32_t s = points[k] * em / 16;
    m.size[k] = s;
    m.twice[k] = 2 * s;
    m.half[k] = s / 2;
    m.quarter[k] = s / 4;
    m.eighth[k] = std::max(1, s / 8);
    m.rule[k] = std::max(1, s / 16);
  }
  m.parenBase = em / 4;
  m.halfEm = em / 2;
  m.u = unit;
  m.u2 = 2 * unit;
  m.thinLine = std::max(1, unit / 2);
  m.hairline = std::max(1, m.thinLine / 2);
  int32_t iconMeasure = (m.size[0] + m.size[0] / 4) / 16;
  if (iconMeasure < 0) InternalError("main size negative");
  int32_t bits = 0;
  while (iconMeasure >> bits) ++bits;
  m.iconStep = bits;
  m.iconSize = 8 << std::min(bits, 20);
  return m;
}

LayoutEnv::LayoutEnv(GraphicsPort& port, const NotebookStyle& style, bool printing)
    : port_(&port), style_(style) {
  metrics_ =
      ComputeMetrics(port.em(), port.unit(), style.mainSize, style.smallerSize, style.smallestSize);
  const bool italics = style.useItalics != 0;
  const std::string family = FamilyOf(style);
  struct Style {
    bool symbol;
    bool bold;
    bool italic;
  };
  const Style styles[kFontSetCount] = {
      {true, false, false}, {false, false, false}, {false, false, italics}, {false, true, italics}};
  uint32_t hash = 2166136261u;
  for (int set = 0; set < kFontSetCount; ++set) {
    PortFont request;
    request.family = styles[set].symbol ? "Symbol" : family;
    request.bold = styles[set].bold;
    request.italic = styles[set].italic;
    // A family that cannot be found is replaced, and the font says so.
    ResolvedFont resolved = ResolveFont(request);
    request.family = resolved.family;
    faces_[set] = resolved.face;
    for (int level = 0; level < kLevelCount; ++level) {
      PortFont font = request;
      // A font is never made smaller than one device pixel.
      font.size = std::max(metrics_.size[level], metrics_.unit);
      fonts_[set][level] = font;
      extents_[set][level] = MeasureFontExtents(font);
    }
    hash = MixText(hash, request.family);
    hash = Mix(hash, (request.bold ? 1u : 0u) | (request.italic ? 2u : 0u));
  }
  digitsDescend_ = FaceDigitsDescend(*faces_[kFontMain]);
  iconsShown_ = printing ? style.iconMode == kIconsAlways
                         : style.iconMode == kIconsAlways || style.iconMode == kIconsUnlessPrinting;
  for (int32_t value :
       {metrics_.em, metrics_.unit, metrics_.size[0], metrics_.size[1], metrics_.size[2]})
    hash = Mix(hash, static_cast<uint32_t>(value));
  stamp_ = hash == 0 ? 1 : hash;
}

void InstallFontSettings(NotebookStyle& style) {
  PortFont main;
  main.family = FamilyOf(style);
  style.digitsBelowBaseline = FaceDigitsDescend(*ResolveFont(main).face) ? 1 : 0;
  PortFontDescriptor& descriptor = Descriptor();
  descriptor.family = main.family;
  descriptor.mainSize = style.mainSize;
  const char first = main.family.empty() ? 0 : main.family[0];
  descriptor.initial = first >= 'A' && first <= 'Z' ? first : 'F';
  descriptor.styleWord = style.portFontWord;
}

void SetDisplayLayoutEnv(const LayoutEnv* env) {
  gDisplayEnv = env;
}

const LayoutEnv* DisplayLayoutEnv() {
  return gDisplayEnv;
}

const PortFontDescriptor& CurrentPortFontDescriptor() {
  return Descriptor();
}

}  // namespace lemmabox
