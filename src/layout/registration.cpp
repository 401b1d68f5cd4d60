#include "layout/registration.h"

#include "layout/families.h"
#include "layout/image_cache.h"
#include "layout/relayout.h"
#include "layout/rows.h"
#include "layout/sentences.h"
#include "layout/size_obj.h"
#include "mathobj/encode.h"
#include "mathobj/hooks.h"
#include "notebook/notebook_hooks.h"

namespace lemmabox {

void RegisterLayout() {
  RegisterOperandListLayout();
  RegisterLeafLayout();
  RegisterScriptLayout();
  RegisterEnclosureLayout();
  RegisterBigOperatorLayout();
  RegisterMatrixLayout();
  RegisterEntryLayout();
  RegisterRowLayout();
  RegisterStatementLayout();
  RegisterSentenceLayout();
  RegisterCommentLayout();
  RegisterPlaceholderLayout();
  // An entry going away takes its cached image and its sentence with it.
  gObjStoreHooks.dropCachedImage = [](Handle entry) {
    RemoveCachedImage(entry);
    ForgetSentenceLayout(entry);
  };
  gEncodeHooks.relayout = IncrementalRelayout;
  gEncodeHooks.invalidateSizes = InvalidateSizes;
  // The model's changes reach the rows and the windows showing them.
  gNotebookDisplay.relayoutRows = RelayoutRows;
  gNotebookDisplay.redraw = RedrawChangedEntry;
  // Names are measured for the screen when their declaration asks; without
  // a screen they are measured when first laid out.
  gNotebookDisplay.measureDeclaration = [](Handle declaration) {
    if (const LayoutEnv* env = DisplayLayoutEnv()) MeasureDeclarationName(declaration, *env);
  };
}

}  // namespace lemmabox
