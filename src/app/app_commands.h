// The desktop's part of the notebook application's start-up: the commands
// that windows and dialogs carry out (file commands, the palette, help, the
// preference dialogs), and the hooks through which the layout and the editor
// reach the windows that show a notebook.
#pragma once

namespace lemmabox {

// Registers the desktop's commands and fills the display hooks. Safe to call
// again (tests start the desktop more than once).
void RegisterDesktop();

}  // namespace lemmabox
