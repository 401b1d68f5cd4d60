#include "core/registration.h"

#include "calc/registration.h"
#include "cascade/registration.h"
#include "editor/comment_editing.h"
#include "editor/registration.h"
#include "files/comment_store.h"
#include "files/registration.h"
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
  RegisterFiles();
  // The comment editor edits the trees the notebook files keep.
  gCommentContent = {&CommentContentOf, &SetCommentContent};
}

const char* LemmaboxVersion() { return LEMMABOX_VERSION; }

}  // namespace lemmabox
