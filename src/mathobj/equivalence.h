// Equivalence and pattern matching.
//
// Every question "are these two expressions the same?" goes through the
// Equivalence operation table and its dispatcher, EquivObj: like-term
// collection, Substitute's replace-all, the cascade finding a selection again
// and the transformation rules, whose pattern side holds wildcards that bind
// to parts of the expression being transformed.
//
// Three process-wide switches steer a comparison; the entry points below set
// them and put them back when they return:
//   pattern mode        a wildcard in the second expression binds;
//   question-mark mode  a question mark in the second expression matches anything;
//   kind-only mode      an unbound wildcard checks its kind without binding
//                       (the feasibility pass of order-free matching).
//
// Bindings live in a table of 28 slots: one per wildcard letter 'a'..'z',
// holding a copy of what the letter was bound to, and two rest slots, which
// keep the operands of a top-level sum or product that a match did not use so
// that instantiating the rule's other side puts them back. The table lives
// from one match to the next: each match starts by clearing it, and the
// instantiation that follows a successful match reads it.
//
// Matching never changes the structure of the subject or the pattern. Like
// every comparison it resolves undeclared names and number texts in place.
#pragma once

#include <cstdint>

#include "mathobj/object.h"

namespace lemmabox {

constexpr int kWildcardLetters = 26;
constexpr int kRestSlots = 2;
constexpr int kBindingSlots = kWildcardLetters + kRestSlots;
// Sums and products with more operands than this are only matched position
// by position: the order-free assignment keeps one bit per subject operand.
constexpr int kMaxOrderFreeOperands = 16;
// How much work the order-free searches of one top-level call may do, in
// units of one candidate pairing, one comparison of two objects inside a
// search, or one object copied into a binding there. A search that needs
// more gives up (the match fails); ordinary rules need a few hundred.
constexpr int32_t kOrderFreeBudget = 2000000;

// --- Comparing ---

// Exact comparison: a + b is equivalent to a + b but not to b + a. Explicit
// parentheses are ignored, reals are equal within the numeric tolerance,
// question marks are never equal to anything. Two null handles are equivalent.
bool Equivalent(Handle a, Handle b);
// As Equivalent, but a question mark in b matches anything.
bool EquivalentWithQuestionMarks(Handle a, Handle b);

// Clears the binding table, then compares exactly and, when that fails, with
// pattern mode on, so the wildcards of pattern bind to parts of subject. On
// failure the table is left clean.
bool MatchPattern(Handle subject, Handle pattern);
// Takes ownership of templ and returns it with every bound wildcard replaced
// by a copy of its binding (unbound ones stay). The operands in the first
// rest slot then go in front (the result becomes a sum or product of the
// slot's operator when it is not one already), those in the second behind.
Handle InstantiatePattern(Handle templ);
// Rule application: when subject matches from, a new expression made from a
// copy of to; otherwise null. The bindings stay in the table.
Handle ApplyRule(Handle subject, Handle from, Handle to);
// Takes ownership of expr and returns it with every sub-expression exactly
// equivalent to pattern replaced by a copy of replacement: top-down, so a
// replaced part is not searched again. The replaced parts are disposed. When
// expr is attached, a replacement of expr itself takes its slot.
Handle ReplaceAll(Handle expr, Handle pattern, Handle replacement);
// True when a and b are sums of the same length whose terms are each other's
// negations position by position (-x against x, x against -x; two negations
// or two plain terms make it false). Two empty sums are negated sums.
bool IsNegatedSum(Handle a, Handle b);

// The dispatcher, under the current switches: what the per-type entries call
// for their operands. Strips explicit parentheses, resolves names and number
// texts, applies the wildcard rule in pattern mode, answers false for
// different type codes, else asks the type's entry.
bool EquivObj(Handle a, Handle b);

// --- Wildcards ---

// The letters 'a'..'z' bind; a wildcard of any other kind is compared as a
// literal.
inline bool IsBindableKind(char kind) {
  return kind >= 'a' && kind <= 'z';
}
// The kind test: 'a'..'h' a constant expression; 'i'..'n' an integer object;
// 'o'..'r' anything; 's'..'z' a constant expression or one of commutativity
// class 1 or 2 (not an operator or a function).
bool WildcardKindAccepts(char kind, Handle obj);

// --- The binding table ---

// The binding of a letter, or null.
Handle WildcardBinding(char kind);
// A rest slot: the operator and an object of that type holding the unused
// operands in subject order (null when the slot is empty).
struct RestBinding {
  TypeCode op = 0;
  Handle operands = nullptr;
};
RestBinding RestSlot(int which);
bool BindingTableClean();
// Disposes every binding and empties the rest slots.
void ClearBindingTable();

// Figures of the order-free searches since the last top-level entry.
struct OrderFreeFigures {
  int32_t trials = 0;  // candidate pairings tried
  int32_t work = 0;    // units of the budget spent
  bool budgetExhausted = false;
};
OrderFreeFigures LastOrderFreeFigures();

// --- Hooks ---

struct EquivalenceHooks {
  // The notebook setting under which two indefinite integrals of zero are not
  // equivalent (each stands for its own arbitrary constant), as it stands in
  // the notebook that holds this integral (or the current one). Default: off.
  bool (*indefiniteZeroIntegralsDiffer)(Handle integral);
};
extern EquivalenceHooks gEquivalenceHooks;
void ResetEquivalenceHooks();

// Fills the Equivalence table.
void RegisterEquivalence();

}  // namespace lemmabox
