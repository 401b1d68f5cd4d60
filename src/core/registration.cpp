#include "core/registration.h"

#include "calc/registration.h"
#include "cascade/registration.h"
#include "editor/registration.h"
#include "layout/registration.h"
#include "manip/registration.h"
#include "mathobj/registration.h"
#include "notebook/registration.h"
#include "shell/strings.h"

namespace lemmabox {

void RegisterCore() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  SetVersionText(LEMMABOX_VERSION);
  // Each folder's registration routine, lowest layer first.
  RegisterMathObj();
  RegisterNotebook();
  RegisterCalc();
  RegisterEditor();
  RegisterLayout();
  RegisterManip();
  RegisterCascade();
}

const char* LemmaboxVersion() { return LEMMABOX_VERSION; }

}  // namespace lemmabox
