// The settings of graphs and plots that the notebook file carries, where they
// live in the objects, and the constructors of empty graphs and plots.
//
// A graph ('G' 2D, 'Z' 3D) keeps its settings in its leading data words; the
// words named here are the ones a notebook file stores, the graph code keeps
// its working state in the others. Its setting expressions (bounds and the
// like) fill the object slots from the first object slot up to its first
// proposition position; its plots follow.
//
// A plot ('L', 'X', 'R', 'O', 'D', 'S') keeps its pop-up choices, colours and
// cached point lists in the plain block of its one data word; its
// expressions follow as object slots.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "mathobj/object.h"

namespace lemmabox {

// --- Graphs ---

enum GraphWord : int {
  kGraphWordTop = 2,  // the graph's rectangle in its row, in points
  kGraphWordLeft = 3,
  kGraphWordBottom = 4,
  kGraphWordRight = 5,
  kGraphWordFlags = 6,   // bits 0, 1 display flags; bit 3 the current animation graph
  kGraphWordAspect = 7,  // Aspect Ratio: 1 "Stretch to Fit", 2 "True Proportions"
  // Word 8 holds the graph's state bits (the copy mark of DupGraph).
  kGraphWordSetting = 9,    // 0..12 (the resolution)
  kGraphWordCropping = 10,  // 1..7, "Very Tightly" .. "Very Wide"
  kGraphWordSpeed = 11,     // animation frame period in 1/60 s, 0 as fast as possible
  kGraphWordUpTo = 12,      // animation "Up To": 0 "one-way", 1 "in a cycle"
  // 3D graphs only.
  kGraphWordRotation = 13,     // nine words: the view's rotation, row-major, as float bits
  kGraphWordPerspective = 22,  // 1 "Very Wide Angle" .. 7 "Infinitely Distant"
};

// Graph flag bits as the file writes them.
constexpr int kGraphFlagDisplayMask = 0x03;
constexpr int kGraphFlagOneWay = 0x04;        // written when "Up To" is 0
constexpr int kGraphFlagAnimationGraph = 0x08;

constexpr int kCroppingModerately = 4;
constexpr int kDefaultAnimationSpeed = 10;
constexpr int kPerspectiveNormal = 4;

struct GraphSettings {
  int32_t top = 0;
  int32_t left = 0;
  int32_t bottom = 216;
  int32_t right = 288;
  int32_t flags = 0;  // display and animation-graph bits (kGraphFlagOneWay comes from upTo)
  int32_t aspect = 1;
  int32_t setting = 2;
  int32_t cropping = kCroppingModerately;
  int32_t speed = kDefaultAnimationSpeed;
  int32_t upTo = 1;
  std::array<float, 9> rotation{1, 0, 0, 0, 1, 0, 0, 0, 1};  // 3D only
  int32_t perspective = kPerspectiveNormal;                   // 3D only
};

GraphSettings GetGraphSettings(Handle graph);
void SetGraphSettings(Handle graph, const GraphSettings& settings);

// A new graph of type 'G' or 'Z' with default settings, a question mark in
// each setting slot and no plots.
Handle NewGraph(TypeCode type);
// The number of setting expressions: 5 for 'G', 6 for 'Z'.
int GraphSettingSlots(TypeCode type);

// --- Plots ---

inline bool IsPlotType(TypeCode type) {
  return type == 'L' || type == 'X' || type == 'R' || type == 'O' || type == 'D' || type == 'S';
}
// The expressions of a plot, as its sentence shows them: Line 2 (at, where),
// Axis 3, Grid 4, Contour 4, Surface 4 (at, where, and, colouring), Scatter 3.
int PlotExpressionCount(TypeCode type);

// One point of a cached point list: the parameter position (0..65535), the
// projected coordinates and the flag byte (bit 0 not evaluated or invalid).
struct PlotPoint {
  uint16_t position = 0;
  int16_t x = 0;
  int16_t y = 0;
  int16_t z = 0;
  uint8_t flags = 0;
  friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};
constexpr uint8_t kPointInvalid = 0x01;
constexpr uint8_t kPointSecondLevel = 0x08;
constexpr int16_t kInvalidCoordinate = -32768;

// A cached point list. Form 'c' is a curve's sample list (its kind byte the
// list's header flags); form 's' also carries two 16-bit values and two reals.
struct PointList {
  int8_t kind = 0;
  char form = 'c';
  std::array<int16_t, 2> values{};
  std::array<double, 2> reals{};
  std::vector<PlotPoint> points;
  friend bool operator==(const PointList&, const PointList&) = default;
};
// Points in one list at most (one per parameter position).
constexpr int32_t kMaxPlotPoints = 65536;

struct PlotSettings {
  std::array<int16_t, 4> choices{};  // pop-up items, in the order the file writes them
  std::array<int32_t, 3> colours{};  // packed red * 65536 + green * 256 + blue
  std::vector<PointList> pointLists;
};

PlotSettings GetPlotSettings(Handle plot);
void SetPlotSettings(Handle plot, const PlotSettings& settings);

// A new plot of this type with question marks for its expressions, its
// choices 1 and its colours black.
Handle NewPlot(TypeCode type);

}  // namespace lemmabox
