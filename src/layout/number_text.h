// Numbers as they are shown: the text of an integer or a real for display.
#pragma once

#include <cstdint>
#include <string>

#include "mathobj/object.h"

namespace lemmabox {

enum class RealFormat {
  kDisplay,        // the notebook's significant digits
  kFullPrecision,  // every digit a double holds
  kFourteen,       // always 14 significant digits
};

// The display text of a real: "?" for NaN, the infinity character for
// +infinity, "-" and the infinity character for -infinity; otherwise printed
// with the given significant digits, where a mantissa of nothing but 9s at
// the full 15 digits (or full precision) is printed again with 14 digits so
// that 9.999999999999991 shows as 10. The exponent is written with the
// exponent marker (or 'e' when keepE is set), without '+' and leading zeros.
std::string FormatReal(double value, int32_t digits, RealFormat format = RealFormat::kDisplay,
                       bool keepE = false);

// The display text of an integer value.
std::string FormatInteger(int32_t value);

// The text a number object shows: the typed text of 'n', the formatted value
// of 'i' and 'r'.
std::string NumberDisplayText(Handle number, int32_t digits);

}  // namespace lemmabox
