// Assumption and conclusion rows, as far as other code needs them: the
// label font, and the text a failed conclusion shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "layout/metrics.h"

namespace lemmabox {

// The font of conclusion labels and error texts: the notebook's family in
// italics at the smallest size.
PortFont LabelFont(const LayoutEnv& env);

// What a conclusion that could not be derived again shows: "Cannot
// ReManipulate this Conclusion:  ", the message text of its error, and,
// when the failure blamed something, " -- " and that. "" without an error.
std::string ConclusionErrorText(Handle conclusion);

// Breaks text at blanks into lines no wider than width in font; a word
// wider than a line is broken between characters.
std::vector<std::string> WrapLabelText(std::string_view text, const PortFont& font, int32_t width);

}  // namespace lemmabox
