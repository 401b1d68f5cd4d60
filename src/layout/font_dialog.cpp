#include "layout/font_dialog.h"

#include <algorithm>

namespace lemmabox {
namespace {

constexpr int32_t kSmallestPointSize = 6;
constexpr int32_t kLargestMainSize = 127;

// An entry below 1 counts as the smallest size; 1..5 is a size still being
// typed (the user may be on the way to 12), which is left alone.
int32_t EnteredSize(int32_t typed) {
  return typed < 1 ? kSmallestPointSize : typed;
}

bool StillTyping(int32_t size) {
  return size < kSmallestPointSize;
}

}  // namespace

FontSizes MainSizeChanged(FontSizes sizes, int32_t main) {
  main = std::min(EnteredSize(main), kLargestMainSize);
  sizes.main = main;
  if (StillTyping(main)) return sizes;
  sizes.smaller = std::min(main * 2 / 3 + 3, main);
  sizes.smallest = main * 4 / 9 + 4;
  return sizes;
}

FontSizes SmallerSizeChanged(FontSizes sizes, int32_t smaller) {
  smaller = EnteredSize(smaller);
  if (StillTyping(smaller)) {
    sizes.smaller = smaller;
    return sizes;
  }
  sizes.smaller = std::min(smaller, sizes.main);
  sizes.smallest = sizes.smaller * 2 / 3 + 2;
  return sizes;
}

FontSizes SmallestSizeChanged(FontSizes sizes, int32_t smallest) {
  smallest = EnteredSize(smallest);
  sizes.smallest = StillTyping(smallest) ? smallest : std::min(smallest, sizes.smaller);
  return sizes;
}

}  // namespace lemmabox
