// Placeholder until the string table lands.
#include "shell/alerts.h"

namespace lemmabox {

void Alert(MessageNumber n) {
  CurrentPlatform().ShowMessageBox({std::to_string(n), "Lemmabox", BoxIcon::kStop, BoxButtons::kOk, false});
}

void InformationAlert(MessageNumber n) {
  CurrentPlatform().ShowMessageBox({std::to_string(n), "Information", BoxIcon::kInformation, BoxButtons::kOk, false});
}

BoxAnswer MessageBox(const std::string& text, const std::string& caption, BoxIcon icon, BoxButtons buttons) {
  return CurrentPlatform().ShowMessageBox({text, caption.empty() ? "Lemmabox" : caption, icon, buttons, false});
}

}  // namespace lemmabox
