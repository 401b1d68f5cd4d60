// Simplify: reduces an expression to its canonical form.
//
// Sums and products are flattened, their numeric parts folded exactly as
// fractions, like terms and like factors combined and the terms and factors
// put into the canonical order of manip/order.h, so that two equal
// expressions end up structurally equal. One pass of it (SimpOne) is what
// Auto-simplify repeats; every manipulation ends with Auto-simplify.
//
// Every function here takes ownership of the object it is given (a detached
// object) and returns the result, which the caller owns; the result may be
// the argument changed in place. A failure raised by a type's rule (a
// summation over a constant, a bad conditional) propagates to the caller.
#pragma once

#include "mathobj/object.h"

namespace lemmabox {

// How many passes Auto-simplify runs at most.
constexpr int kAutoSimplifyPasses = 10;

// One pass: the type's Simplify entry, then the user's Simplify
// transformation rules on the result (the first that matches replaces it);
// the result is marked fresh. Polls for interruption. Internal error
// "SimpOne" for null.
Handle SimpOne(Handle obj);

// What every manipulation ends with: while "Auto Simplify" is on, up to 10
// passes, stopping when a pass changes nothing. A pass that fails ends the
// loop and the form before it is the result (an interruption by the user is
// raised all the same). With "Auto Simplify" off the object is returned as
// it is.
Handle AutoSimplify(Handle obj);

// The Simplify manipulation (and the command-line "simplify"): Auto-simplify
// while "Auto Simplify" is on, one pass when it is off.
Handle Simplify(Handle obj);

// What Simplify asks of the calculus manipulations, which are built above it.
struct SimplifyHooks {
  // Applies a derivative operator (a partial-derivative operator or the
  // differential operator d) to the simplified product of the factors after
  // it. Takes neither object; returns a new object, or null to leave the
  // product as it is. Default: null.
  Handle (*applyDerivative)(Handle op, Handle operand);
  // Integrates an integral whose parts are simplified. Takes nothing;
  // returns a new object, or null when it cannot (the integral stays).
  // Default: null.
  Handle (*integrate)(Handle integral);
};
extern SimplifyHooks gSimplifyHooks;
void ResetSimplifyHooks();

// Fills the Simplify and Order tables for every expression type.
void RegisterSimplify();

}  // namespace lemmabox
