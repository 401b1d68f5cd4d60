// The notebook commands that act on the selection (the Insert submenu,
// Collapse and Expose, Lock Proposition, Make and Stop Working Stmt,
// Clarify) and Undo, each run as an editor command so that what it changes
// can be undone.
#pragma once

namespace lemmabox {

// Registers the handlers of their command actions.
void RegisterSelectionCommands();

}  // namespace lemmabox
