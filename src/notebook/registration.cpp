#include "notebook/registration.h"

#include "mathobj/encode.h"
#include "mathobj/equivalence.h"
#include "mathobj/hooks.h"
#include "notebook/declaration_pass.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/names.h"
#include "notebook/notebook_record.h"
#include "notebook/outline.h"
#include "notebook/working_statements.h"
#include "shell/commands.h"

namespace lemmabox {
namespace {

bool DeclareFromEncode(Handle name) {
  return DeclareName(name, false);
}

void MarkPendingEdits(Handle obj) {
  Handle main = MainTheoryOf(obj);
  if (main == nullptr) main = CurrentNotebook();
  if (main != nullptr) NotebookRecordOf(main).pendingEdits = 1;
}

bool ZeroIntegralsDiffer(Handle integral) {
  Handle main = MainTheoryOf(integral);
  if (main == nullptr) main = CurrentNotebook();
  return main != nullptr && NotebookRecordOf(main).style.zeroIntegralsDiffer != 0;
}

void OnCurrentNotebook(void (*action)(Handle mainTheory)) {
  if (Handle main = CurrentNotebook()) action(main);
}

}  // namespace

void RegisterNotebook() {
  ObjStoreHooks& store = gObjStoreHooks;
  store.currentScope = &CurrentScope;
  store.predefinedName = &PredefinedNameInScope;
  store.predefinedKeyOf = &PredefinedKeyOfName;
  store.copyDerivation = &CopyDerivation;
  store.freeDerivation = &FreeDerivation;
  store.theoryGoesAway = &TheoryGoesAway;

  EncodeHooks& encode = gEncodeHooks;
  encode.resolveName = &ResolveName;
  encode.declareName = &DeclareFromEncode;
  encode.markPendingEdits = &MarkPendingEdits;
  encode.tableFollowUp = &RecheckTable;
  encode.followUp = &NotebookFollowUp;

  gEquivalenceHooks.indefiniteZeroIntegralsDiffer = &ZeroIntegralsDiffer;

  InstallFrontNotebookPrefs();
  // The whole-notebook commands need no selection; the editor registers the
  // ones that act on the selection (and may take these over for Undo).
  RegisterCommand(CommandAction::kCollapseAll, [](int32_t) { OnCurrentNotebook(&CollapseAll); });
  RegisterCommand(CommandAction::kExposeAll, [](int32_t) { OnCurrentNotebook(&ExposeAll); });
  RegisterCommand(CommandAction::kClarify, [](int32_t) { OnCurrentNotebook(&Clarify); });
}

}  // namespace lemmabox
