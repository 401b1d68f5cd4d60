// Number texts come from typing, pasting and notebook files: any bytes must
// read as some value, and resolving them must give a well-formed number
// object, without crashing or hanging.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/numbers.h"
#include "mathobj/registration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lemmabox;
  static bool registered = [] {
    RegisterMathObj();
    return true;
  }();
  (void)registered;
  // The text field holds at most 32 bytes; the reader must not look further.
  char text[kTextFieldSize];
  size_t n = size < sizeof text ? size : sizeof text;
  std::memcpy(text, data, n);
  if (n < sizeof text) text[n] = 0;
  (void)NumberTextValue(text);

  char terminated[kTextFieldSize] = {};
  std::memcpy(terminated, data, n < sizeof terminated ? n : sizeof terminated - 1);
  Handle number = NewNumberText(terminated);
  switch (ResolveNumberText(number)) {
    case kInteger:
      break;
    case kReal:
      if (std::isnan(RealValue(number))) std::abort();
      break;
    case kNumberText:
      break;
    default:
      std::abort();
  }
  DisposeObj(number);
  return 0;
}
