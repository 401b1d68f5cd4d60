// The derivation cascade: keeping conclusions consistent with what they were
// derived from.
//
// When a proposition changes, every conclusion derived from it (directly or
// through other conclusions) becomes stale. Stale conclusions wait in their
// notebook's to-do queue and are derived again at idle time, one per idle
// step, each after the stale conclusions it depends on, by replaying its
// derivation chain on the current sources. A conclusion that can no longer
// be derived keeps the message of the failure as its error, and the cascade
// goes on with the next one.
//
// A conclusion is fresh (not stale, no error), stale, or failed (an error).
// Marking makes fresh and failed ones stale; deriving again makes a stale one
// fresh or failed; breaking the cascade makes any of them an Assumption.
#pragma once

#include <string>
#include <vector>

#include "mathobj/object.h"
#include "shell/types.h"

namespace lemmabox {

// --- Marking ---

// Marks stale every conclusion in theory (and the containers in it) that was
// derived from changed, and what was derived from those in turn; graphs that
// use changed are redrawn. A newly stale conclusion is queued when the
// notebook has both "Always ReManipulate" and "Ripple Changes Immediately"
// on. With breakFlag the direct dependents are cut off instead: their
// contingencies are dropped and conclusions among them become Assumptions.
void MarkDependents(Handle theory, Handle changed, bool breakFlag);
// An edit changed the content of prop (the editor and Undo report it). A
// change of an Assumption, declaration, table, rule or independence
// declaration marks its dependents; the graph that holds prop is redrawn.
// The editor splits a Conclusion before editing it, but it reports the
// proposition a paste lands on, which may be a Conclusion: its dependents
// are marked too.
void PropositionChanged(Handle prop);

// --- The to-do queue ---

// Puts a conclusion in front of its notebook's queue; internal error
// "QueueReManipulate" when it lies in no notebook.
void QueueReManipulate(Handle conclusion);
// Takes every node of a conclusion out of its notebook's queue.
void DequeueReManipulate(Handle conclusion);
// Queues every stale conclusion of theory and the containers in it, in
// notebook order.
void QueueAllStale(Handle theory);

// --- Deriving again ---

// One idle step of a notebook: the conclusion at the head of the queue (or
// one it waits for) is derived again. True while work remains.
bool CascadeIdleStep(Handle mainTheory);
// Works on a stale conclusion: derives again the first stale conclusion it
// waits for, or itself when it waits for none. Waiting for an Assumption
// that still holds a question mark derives nothing. False when the
// conclusion was not stale; true otherwise.
bool ReManipulate(Handle conclusion);
// Replays the chain of a stale conclusion on its current sources. The result
// is fresh, or failed with the failure's message number as its error. False
// when it was not stale (or its sources were deleted: error 13280).
bool ReDerive(Handle conclusion);
// The conclusions whose re-derivation is under way, innermost last.
const std::vector<Handle>& ReManipulationsInProgress();

// Runs the idle steps of a notebook until its queue is empty or maxSteps
// steps were taken; returns the steps taken.
int RunCascade(Handle mainTheory, int maxSteps);

// --- Re-deriving a whole notebook ---

struct ConclusionCheck {
  Handle conclusion = nullptr;
  MessageNumber error = 0;  // 0: derived again
  bool stale = false;       // still waiting (for a question mark to be filled in)
};
// Marks every conclusion of the notebook stale, derives each again (after
// the ones it depends on), and tells how each came out, in notebook order.
std::vector<ConclusionCheck> RederiveNotebook(Handle mainTheory);

}  // namespace lemmabox
