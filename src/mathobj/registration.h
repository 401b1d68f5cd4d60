// Start-up of the object store: fills this folder's operation table entries
// (Dup, Dispose, Encode) and starts the object heap. Called once, before any
// higher folder registers.
#pragma once

namespace lemmabox {

void RegisterMathObj();

}  // namespace lemmabox
