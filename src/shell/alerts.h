// Alerts and message boxes, shown through the platform.
#pragma once

#include <string>

#include "platform/platform.h"
#include "shell/types.h"

namespace lemmabox {

// The stop alert for a message number (the default message when it has no text).
void Alert(MessageNumber n);
// The same text captioned "Information" with the information icon; nothing is
// shown when the number has no text.
void InformationAlert(MessageNumber n);
// The general box; the caption defaults to the program name.
BoxAnswer MessageBox(const std::string& text, const std::string& caption, BoxIcon icon,
                     BoxButtons buttons);

}  // namespace lemmabox
