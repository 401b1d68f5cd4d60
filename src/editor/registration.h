// Start-up of the editing folder: connects the notebook model's change
// observer to the Undo record, so that every proposition the model inserts,
// deletes or changes during a recorded command can be put back. Called once,
// right after the notebook's registration.
#pragma once

namespace lemmabox {

void RegisterEditor();

}  // namespace lemmabox
