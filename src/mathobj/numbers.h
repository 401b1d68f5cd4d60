// Conversions between the forms of a number: the text typed ('n'), the
// integer ('i') and the real ('r').
#pragma once

#include "mathobj/object.h"

namespace lemmabox {

// The value of a number text (at most 32 bytes are read): '?' first gives
// NaN, the infinity character first +infinity, the infinity character second
// a signed infinity; anything else is read as a decimal number after a '0' is
// put before a leading '.', the exponent marker becomes 'e' and a dangling
// exponent ('e' with at most a sign) is dropped. Unreadable text gives 0.
double NumberTextValue(const char* text);

// The value of a number, a number text, a negated one or the predefined name
// infinity. Anything else shows alert 13170 and gives NaN.
double ObjNumericValue(Handle obj);

// Rewrites a number text in place: up to 9 characters without '.' or exponent
// marker make an integer, anything else a real, except that a text whose value
// is NaN stays a number text. Returns the new type code.
TypeCode ResolveNumberText(Handle obj);

// Rewrites an integer in place into the number text of its value.
void IntegerToNumberText(Handle obj);

}  // namespace lemmabox
