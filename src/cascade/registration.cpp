#include "cascade/registration.h"

#include "cascade/cascade.h"
#include "cascade/cascade_commands.h"
#include "editor/editor_hooks.h"
#include "layout/hooks.h"
#include "mathobj/slots.h"
#include "notebook/notebook_hooks.h"
#include "notebook/notebook_record.h"
#include "shell/commands.h"

namespace lemmabox {
namespace {

// What was derived from a working statement that was switched off.
void MarkDependentsInNotebook(Handle changed) {
  Handle main = MainTheoryOf(changed);
  MarkDependents(main != nullptr ? main : OwningScope(changed), changed, false);
}

}  // namespace

void RegisterCascade() {
  gNotebookCascade.markDependents = &MarkDependentsInNotebook;
  gNotebookCascade.idleStep = &CascadeIdleStep;
  gEditorHooks.propositionChanged = &PropositionChanged;
  gLayoutHooks.redoConclusion = &RedoConclusion;
  RegisterCommand(CommandAction::kReManipulateNow, [](int32_t) { ReManipulateNowCommand(); });
  RegisterCommand(CommandAction::kBreakCascadeAbove, [](int32_t) { BreakCascadeAboveCommand(); });
  RegisterCommand(CommandAction::kBreakCascadeBelow, [](int32_t) { BreakCascadeBelowCommand(); });
  RegisterCommand(CommandAction::kDivertCascade, [](int32_t) { DivertCascadeCommand(); });
}

}  // namespace lemmabox
