#include "core/registration.h"

namespace lemmabox {

void RegisterCore() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  // Each folder's registration routine, lowest layer first.
}

const char* LemmaboxVersion() { return LEMMABOX_VERSION; }

}  // namespace lemmabox
