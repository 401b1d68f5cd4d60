// Start-up of the files folder: the writers of the notebook entries join the
// expression writer's table, the record readers take the records of pasted
// text, comments get their store, and the file commands are registered.
// Called once, after the editor and the layout registered.
#pragma once

namespace lemmabox {

void RegisterFiles();

}  // namespace lemmabox
