// The state that the equivalence dispatcher shares with the order-free
// matcher of sums and products. Only mathobj/equivalence.cpp and
// mathobj/order_free_match.cpp include this; everyone else goes through
// mathobj/equivalence.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "mathobj/equivalence.h"
#include "mathobj/object.h"

namespace lemmabox::match {

struct Switches {
  bool pattern = false;
  bool questionMarks = false;
  bool kindOnly = false;
  // -1 at the start of a top-level call, so the outermost per-type
  // comparison runs at 0.
  int nesting = -1;
  // Work left to the order-free searches of this top-level call.
  int32_t budget = kOrderFreeBudget;
  int32_t trials = 0;
  bool exhausted = false;
  // Order-free searches running (nested ones count too): comparisons and
  // binding copies made meanwhile are charged to the budget.
  int searching = 0;
};
extern Switches gSwitches;

// Sets the switches for the length of a scope and puts the previous ones back
// (also when a failure unwinds through it). A top-level scope starts the
// nesting counter and the search budget afresh.
class SwitchScope {
 public:
  SwitchScope(bool pattern, bool questionMarks, bool topLevel);
  ~SwitchScope();
  SwitchScope(const SwitchScope&) = delete;
  SwitchScope& operator=(const SwitchScope&) = delete;

 private:
  Switches saved_;
  bool topLevel_;
};

// Charges work to the budget of the top-level call; false when it is spent
// (and from then on). A trial is one candidate pairing.
bool ChargeWork(int32_t units);
bool ChargeTrial();

// Explicit parentheses the user typed do not count in comparisons.
Handle StripParens(Handle h);

// Backtracking: every binding made after a mark is undone by UnbindTo(mark).
size_t BindingMark();
void UnbindTo(size_t mark);
// Binds a letter to an object the table takes over.
void BindOwned(char kind, Handle value);
// Stores the unused operands of a top-level order-free match; takes
// ownership of operands (an object of type op).
void SetRest(int which, TypeCode op, Handle operands);

// The objects in a tree (what walking or copying it costs).
int32_t CountNodes(Handle h);

// The kind test of a wildcard, its cost charged while searching.
bool KindTest(char kind, Handle obj);

// The commutativity class of an object for order checks; an object whose
// type has no Commute entry counts as a variable.
int CommuteClassOf(Handle obj);

// Order-free matching of a sum or product pattern (both of type op, the
// subject with at most kMaxOrderFreeOperands operands and at least as many
// as the pattern), with pattern mode on.
bool OrderFreeMatch(Handle subject, Handle pattern);

}  // namespace lemmabox::match
