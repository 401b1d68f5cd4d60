// The interrupt check: every long computation calls CheckInterrupt often.
// After 350 ms of work it shows the busy cursor and, when the user presses
// Escape, raises 13120 ("Canceled by User Interrupt").
#pragma once

namespace lemmabox {

// How long a computation runs before the check starts looking at the keyboard.
constexpr int kInterruptDelayMs = 350;

void CheckInterrupt();
// Called by the idle pass: the next long operation starts its timing afresh,
// and the busy cursor that the check showed is taken down.
void ResetInterruptCheck();

// Whether the running computation was interrupted since the last idle pass;
// the check raises only once per computation.
bool UserInterrupted();
// Whether the check saw keyboard input waiting since the last idle pass.
bool InterruptKeySeen();

}  // namespace lemmabox
