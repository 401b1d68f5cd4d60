// The user's controls over the cascade: the Manipulate menu's "ReManipulate
// Now", "Break Cascade Above", "Break Cascade Below" and "Divert Cascade",
// and a click on the icon of a stale or failed conclusion. Each acts on the
// front notebook window's selection.
#pragma once

#include "mathobj/object.h"

namespace lemmabox {

// Queues every stale conclusion of the front notebook; the idle steps then
// derive them.
void ReManipulateNowCommand();
// Every selected Conclusion becomes an Assumption. A selected proposition
// that is not a Conclusion is then selected alone and 13284 raised; so is
// an empty selection.
void BreakCascadeAboveCommand();
// What was derived from each selected proposition is cut off from it (13284
// without a selection).
void BreakCascadeBelowCommand();
// Two different Assumptions or Conclusions of one theory (else 13287),
// neither derived from the other (else 13288), exchange their derivations
// and statements, so that what depended on the one now depends on the other's
// derivation. One that then carries an error is deleted, one without a
// derivation becomes an Assumption, the others are redrawn, their dependents
// marked, and selected.
void DivertCascadeCommand();
// A click on the icon of a conclusion that is stale or failed: it is
// queued to be derived again.
void RedoConclusion(Handle conclusion);

}  // namespace lemmabox
