// The Notebook Font dialog's rules for its three point sizes (main, smaller,
// smallest), kept here beside the layout that the sizes drive. The dialog
// calls one of these after each entry and shows the sizes that come back.
//
// Every size is kept at 6 points or more, except that a size typed as 1 to 5
// is left as typed (the user may be on the way to 12) and then nothing else
// is adjusted; an entry below 1 is taken as 6. Main is at most 127.
#pragma once

#include <cstdint>

namespace lemmabox {

struct FontSizes {
  int32_t main = 12;
  int32_t smaller = 11;
  int32_t smallest = 9;
  friend bool operator==(const FontSizes&, const FontSizes&) = default;
};

// Main changed: Smaller = min(Main x 2/3 + 3, Main), Smallest = Main x 4/9 + 4.
FontSizes MainSizeChanged(FontSizes sizes, int32_t main);
// Smaller changed: at most Main; Smallest = Smaller x 2/3 + 2.
FontSizes SmallerSizeChanged(FontSizes sizes, int32_t smaller);
// Smallest changed: at most Smaller.
FontSizes SmallestSizeChanged(FontSizes sizes, int32_t smallest);

}  // namespace lemmabox
