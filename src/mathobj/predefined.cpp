#include "mathobj/predefined.h"

#include <cstring>

namespace lemmabox {
namespace {

constexpr uint32_t Info(NameClass nameClass, HelpTopic topic) {
  return (static_cast<uint32_t>(nameClass) << 16) | topic;
}

constexpr uint32_t kConstant = Info(kNameConstant, kHelpConstants);
constexpr uint32_t kBound = Info(kNameConstant, kHelpGraphBounds);
constexpr uint32_t kNumeric = Info(kNameFunction, kHelpNumericFunctions);
constexpr uint32_t kBessel = Info(kNameFunction, kHelpBesselAiry);
constexpr uint32_t kCoordinates = Info(kNameFunction, kHelpCoordinates);
constexpr uint32_t kMatrix = Info(kNameFunction, kHelpMatrixFunctions);
constexpr uint32_t kTrig = Info(kNameFunction, kHelpTrigonometric);
constexpr uint32_t kArcTrig = Info(kNameFunction, kHelpInverseTrigonometric);
constexpr uint32_t kHyp = Info(kNameFunction, kHelpHyperbolic);
constexpr uint32_t kArcHyp = Info(kNameFunction, kHelpInverseHyperbolic);
constexpr uint32_t kExpLog = Info(kNameFunction, kHelpExpLog);

// clang-format off
constexpr PredefinedName kNames[kPredefinedNameCount] = {
    {kConstant, 1, 0, "\xB9"},  // pi
    {kConstant, 2, 0, "e"},
    {kConstant, 3, 0, "\xB0"},  // infinity
    {kConstant, 4, 0, "i"},
    {kConstant, 5, 0, "\xA1"},  // degree
    {Info(kNameDLinearOperator, kHelpDifferential), 16, 0, "d"},
    {kNumeric, 32, 0, "log"},
    {kNumeric, 33, 0, "Re"},
    {kNumeric, 34, 0, "Im"},
    {kNumeric, 35, 0, "\xED"},  // Gamma
    {kNumeric, 36, 0, "floor"},
    {kNumeric, 37, 0, "ceiling"},
    {kNumeric, 38, 0, "round"},
    {kBessel, 48, 0, "J"},
    {kBessel, 49, 0, "Y"},
    {kBessel, 50, 0, "I"},
    {kBessel, 51, 0, "K"},
    {kBessel, 52, 0, "Ai"},
    {kBessel, 53, 0, "Bi"},
    {kBound, 64, 0, "left"},
    {kBound, 65, 0, "right"},
    {kBound, 66, 0, "bottom"},
    {kBound, 67, 0, "top"},
    {kBound, 68, 0, "east"},
    {kBound, 69, 0, "west"},
    {kBound, 70, 0, "south"},
    {kBound, 71, 0, "north"},
    {kBound, 72, 0, "radius"},
    {kCoordinates, 128, 0, "FromPolar"},
    {kCoordinates, 129, 0, "ToPolar"},
    {kCoordinates, 130, 0, "FromCylindrical"},
    {kCoordinates, 131, 0, "ToCylindrical"},
    {kCoordinates, 132, 0, "FromSpherical"},
    {kCoordinates, 133, 0, "ToSpherical"},
    {kMatrix, 144, 0, "RowsOf"},
    {kMatrix, 145, 0, "ElementsOf"},
    {kMatrix, 146, 0, "ColumnsOf"},
    {kNumeric, 160, 0, "mod"},
    {kTrig, 256, 0, "sin"},
    {kTrig, 257, 0, "cos"},
    {kTrig, 258, 0, "tan"},
    {kTrig, 260, 0, "csc"},
    {kTrig, 261, 0, "sec"},
    {kTrig, 262, 0, "cot"},
    {kArcTrig, 272, 0, "arcsin"},
    {kArcTrig, 273, 0, "arccos"},
    {kArcTrig, 274, 0, "arctan"},
    {kArcTrig, 276, 0, "arccsc"},
    {kArcTrig, 277, 0, "arcsec"},
    {kArcTrig, 278, 0, "arccot"},
    {kHyp, 288, 0, "sinh"},
    {kHyp, 289, 0, "cosh"},
    {kHyp, 290, 0, "tanh"},
    {kExpLog, 291, 0, "exp"},
    {kHyp, 292, 0, "csch"},
    {kHyp, 293, 0, "sech"},
    {kHyp, 294, 0, "coth"},
    {kArcHyp, 304, 0, "arcsinh"},
    {kArcHyp, 305, 0, "arccosh"},
    {kArcHyp, 306, 0, "arctanh"},
    {kExpLog, 307, 0, "ln"},
    {kArcHyp, 308, 0, "arccsch"},
    {kArcHyp, 309, 0, "arcsech"},
    {kArcHyp, 310, 0, "arccoth"},
};

constexpr OpName kOpNames[] = {
    {1, kAbs, "abs"},
    {1, kSqrt, "sqrt"},
    {1, kPartial, "Diff"},
    {1, kPartial, "Partial"},
    {1, kPartial, "Derivative"},
    {1, kAdjoint, "Adjoint"},
    {2, kCross, "CrossProduct"},
    {2, kDot, "DotProduct"},
    {1, kConditional, "Conditional"},
    {1, kIntegral, "Integral"},
    {2, kEvalAt, "EvaluateAt"},
    {3, kSummation, "Summation"},
    {4, kPiProduct, "PiProduct"},
};
// clang-format on

}  // namespace

std::span<const PredefinedName> PredefinedNames() {
  return kNames;
}

const PredefinedName* PredefinedByKey(int key) {
  for (const PredefinedName& name : kNames)
    if (name.key == key) return &name;
  return nullptr;
}

const PredefinedName* PredefinedBySpelling(const char* text) {
  if (text == nullptr) return nullptr;
  for (const PredefinedName& name : kNames)
    if (std::strcmp(name.spelling, text) == 0) return &name;
  return nullptr;
}

const char* PredefinedSpelling(int key) {
  const PredefinedName* name = PredefinedByKey(key);
  return name ? name->spelling : "normal";
}

bool DecodeTrigKey(int key, TrigFamily& family, TrigFunction& function) {
  int offset = key - 256;
  if (offset < 0 || offset >= 64) return false;
  int f = offset % 16;
  if (f == 3 || f > 6) return false;
  family = static_cast<TrigFamily>(offset / 16);
  function = static_cast<TrigFunction>(f);
  return true;
}

std::span<const OpName> OpNames() {
  return kOpNames;
}

const OpName* OpNameForType(TypeCode type) {
  for (const OpName& op : kOpNames)
    if (op.type == type) return &op;
  return nullptr;
}

const OpName* OpNameByName(const char* text) {
  if (text == nullptr) return nullptr;
  for (const OpName& op : kOpNames)
    if (std::strcmp(op.name, text) == 0) return &op;
  return nullptr;
}

}  // namespace lemmabox
