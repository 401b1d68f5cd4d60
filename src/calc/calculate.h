// Calculate: an expression in, its numeric value out, leaving in place what
// cannot be evaluated ("y + 2*3" becomes "y + 6" when y has no value).
#pragma once

#include <optional>

#include "calc/numlib_elements.h"
#include "shell/types.h"

namespace lemmabox {

// Whether a failure only means "this part has no numeric value" (13183,
// 13240, 13255, 13256, 13257, 13261, 13262, 13264), so that Calculate goes
// on with the parts.
bool IsSoftCalcFailure(MessageNumber n);

// The Calculate manipulation's worker. Takes ownership of a detached object
// and returns its value as a number or matrix object; an equation has each
// side calculated. When the value cannot be had for a soft reason the object
// stays and its parts are calculated instead (of a function reference,
// integral or summation every part but the first; of an iterated product
// the body and the limits). Any other failure, an interruption included, is
// raised again; the object then stays the caller's (possibly with some parts
// calculated already), so that the offending object it holds can still be
// shown.
Handle Calculate(Handle obj);

// The value of obj with or without working statements, or nothing when the
// evaluation fails (Simplify folds constants this way). An interruption by
// the user is raised, not swallowed.
std::optional<NumValue> TryCalcValue(Handle obj, bool allowWorkingStatements);
std::optional<NumScalar> TryCalcScalar(Handle obj, bool allowWorkingStatements);

}  // namespace lemmabox
