// Start-up of the core: fills the operation tables and the other per-folder
// tables in a fixed order. Both the desktop program and the command-line tool
// call RegisterCore once before anything else touches math objects.
#pragma once

namespace lemmabox {

void RegisterCore();

// The program's version, as shown by About and written into notebooks.
const char* LemmaboxVersion();

}  // namespace lemmabox
