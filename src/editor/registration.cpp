#include "editor/registration.h"

#include "editor/undo.h"
#include "notebook/notebook_hooks.h"

namespace lemmabox {
namespace {

// The model also changes notebooks outside recorded commands (reading a
// file, the cascade at idle time); only a recorded command's changes count.
void Inserted(Handle prop) {
  if (UndoRecording()) UndoRegisterInsertion(prop);
}

void Deleting(Handle prop) {
  if (UndoRecording()) UndoRegisterDeletion(prop);
}

void SavingSlot(Handle parent, int index) {
  if (UndoRecording()) UndoSaveSlot(parent, index);
}

}  // namespace

void RegisterEditor() {
  gNotebookObserver.inserted = &Inserted;
  gNotebookObserver.deleting = &Deleting;
  gNotebookObserver.savingSlot = &SavingSlot;
}

}  // namespace lemmabox
