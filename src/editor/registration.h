// Start-up of the editing folder: fills the Key table and the expression
// writer's entries, connects the notebook model's change observer to the
// Undo record (so that every proposition the model inserts, deletes or
// changes during a recorded command can be put back), gives the model, the
// interpreter and the Undo record the selection list, installs the editor as
// the shell's editor hook and registers the commands that act on the
// selection. Called once, right after the notebook's registration.
#pragma once

namespace lemmabox {

void RegisterEditor();

}  // namespace lemmabox
