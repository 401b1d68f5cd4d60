// The interrupt check: every long computation calls CheckInterrupt often.
// After 350 ms of work it shows the busy cursor and, when the user presses
// Escape, raises 13120 ("Canceled by User Interrupt").
#pragma once

namespace lemmabox {

void CheckInterrupt();
// Called by the idle pass: the next long operation starts its timing afresh.
void ResetInterruptCheck();

}  // namespace lemmabox
