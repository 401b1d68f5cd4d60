#include "shell/alerts.h"

#include "shell/charset.h"
#include "shell/string_cache.h"
#include "shell/strings.h"

namespace lemmabox {
namespace {

const void* gModalOwner = nullptr;
bool gBusy = false;

// The modal owner while one of our boxes is up; no window has this address.
const char kAlertMarkerTarget = 0;
const void* const kAlertMarker = &kAlertMarkerTarget;

// Marks a box as up for as long as it lives, and puts back the modal owner and
// the busy flag as they were before, also when the box fails. Nested boxes
// (a paint that fails while a box is up) restore in turn.
class BoxScope {
 public:
  BoxScope() : savedOwner_(gModalOwner), savedBusy_(gBusy) {
    gModalOwner = kAlertMarker;
    gBusy = true;
  }
  ~BoxScope() {
    gModalOwner = savedOwner_;
    gBusy = savedBusy_;
  }
  BoxScope(const BoxScope&) = delete;
  BoxScope& operator=(const BoxScope&) = delete;

 private:
  const void* savedOwner_;
  bool savedBusy_;
};

BoxAnswer ShowBox(const std::string& text, const std::string& caption, BoxIcon icon,
                  BoxButtons buttons) {
  BoxScope scope;
  Platform& platform = CurrentPlatform();
  platform.Beep();
  return platform.ShowMessageBox({text, caption, icon, buttons, false});
}

std::string Caption(int id) {
  const char* text = StringById(id);
  return text ? ProgramTextToUtf8(text) : std::string();
}

}  // namespace

void Alert(MessageNumber n) {
  std::string caption = ProgramTextToUtf8(ProgramName());
  std::string text = ProgramTextToUtf8(MessageText(n));
  ShowBox(text, caption, BoxIcon::kStop, BoxButtons::kOk);
}

void InformationAlert(MessageNumber n) {
  if (n == 0 || StringTableText(n) == nullptr) return;
  std::string caption = Caption(kStrInformation);
  std::string text = ProgramTextToUtf8(MessageText(n));
  ShowBox(text, caption, BoxIcon::kInformation, BoxButtons::kOk);
}

BoxAnswer MessageBox(const std::string& text, const std::string& caption, BoxIcon icon,
                     BoxButtons buttons) {
  return ShowBox(text, caption.empty() ? ProgramTextToUtf8(ProgramName()) : caption, icon, buttons);
}

const void* ModalOwner() {
  return gModalOwner;
}
void SetModalOwner(const void* owner) {
  gModalOwner = owner;
}
bool ModalIsUp() {
  return gModalOwner != nullptr;
}
bool AlertIsUp() {
  return gModalOwner == kAlertMarker;
}

bool BusyFlag() {
  return gBusy;
}
void SetBusyFlag(bool busy) {
  gBusy = busy;
}

}  // namespace lemmabox
