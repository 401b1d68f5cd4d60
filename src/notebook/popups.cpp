#include "notebook/popups.h"

#include <array>
#include <span>

#include "mathobj/predefined.h"

namespace lemmabox {
namespace {

constexpr const char* kClassItems[] = {"Constant", "Variable", "M-Linear Operator",
                                       "D-Linear Operator", "Function"};
constexpr const char* kIndependenceItems[] = {"each other", "all variables"};
constexpr const char* kRuleItems[] = {"Simplify", "Expand", "Transform"};

// One text per predefined name, in the order of the predefined-name table.
// clang-format off
constexpr const char* kBehaviourItems[] = {
    "defined by user",
    "pi: circle ratio", "e: natural log base", "Infinity", "i: Square root of -1",
    "degree: pi/180",
    "d: differential",
    "log: common logarithm", "Re: real part", "Im: imaginary part", "Gamma function",
    "floor", "ceiling", "round",
    "J: Bessel function", "Y: Bessel function, 2nd kind", "I: modified Bessel function",
    "K: modified Bessel function, 2nd kind", "Ai: Airy function", "Bi: Airy function, 2nd kind",
    "left: graph bound", "right: graph bound", "bottom: graph bound", "top: graph bound",
    "east: graph bound", "west: graph bound", "south: graph bound", "north: graph bound",
    "radius: graph bound",
    "FromPolar", "ToPolar", "FromCylindrical", "ToCylindrical", "FromSpherical", "ToSpherical",
    "RowsOf: matrix rows", "ElementsOf: matrix elements", "ColumnsOf: matrix columns",
    "mod: remainder",
    "sin", "cos", "tan", "csc", "sec", "cot",
    "arcsin", "arccos", "arctan", "arccsc", "arcsec", "arccot",
    "sinh", "cosh", "tanh", "exp: exponential", "csch", "sech", "coth",
    "arcsinh", "arccosh", "arctanh", "ln: natural logarithm", "arccsch", "arcsech", "arccoth",
};
// clang-format on
static_assert(std::size(kBehaviourItems) == kPredefinedNameCount + 1);

std::span<const char* const> ItemsOf(uint16_t menu) {
  switch (menu) {
    case kPopupBehavior:
      return kBehaviourItems;
    case kPopupClass:
      return kClassItems;
    case kPopupIndependence:
      return kIndependenceItems;
    case kPopupRule:
      return kRuleItems;
    default:
      return {};
  }
}

}  // namespace

int ClassItemCount() {
  return static_cast<int>(std::size(kClassItems));
}
int BehaviourItemCount() {
  return static_cast<int>(std::size(kBehaviourItems));
}

bool IsBehaviourItem(int item) {
  return item >= 1 && item <= BehaviourItemCount();
}

int BehaviourKey(int item) {
  if (item <= kBehaviourDefinedByUser || item > BehaviourItemCount()) return 0;
  return PredefinedNames()[item - 2].key;
}

int BehaviourItemForKey(int key) {
  auto names = PredefinedNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i].key == key) return static_cast<int>(i) + 2;
  return 0;
}

const char* PopupItemText(uint16_t menu, int item) {
  auto items = ItemsOf(menu);
  if (item < 1 || item > static_cast<int>(items.size())) return nullptr;
  return items[item - 1];
}

int PopupItemCount(uint16_t menu) {
  return static_cast<int>(ItemsOf(menu).size());
}

}  // namespace lemmabox
