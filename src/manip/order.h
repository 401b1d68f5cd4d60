// The canonical order of factors and terms.
//
// Simplify sorts the factors of every product with CompareFactors and the
// terms of every sum with CompareTerms, so that two equal expressions end up
// structurally equal; Collect, Factor and the other manipulations use the
// same order. Both answer one of three values. Each type ranks its objects
// twice (one rank among factors, one among terms: a lower rank sorts first);
// objects of equal rank are compared by their type's Order entry
// (gOrderTable), filled here for every expression type.
#pragma once

#include <cstdint>

#include "mathobj/object.h"

namespace lemmabox {

enum OrderResult : int {
  kFirstBefore = 1,   // a sorts before b
  kSecondBefore = 2,  // b sorts before a
  kOrderEqual = 3,
};

// The ranks by type code; 255 for codes that are never compared.
uint8_t FactorRank(TypeCode code);
uint8_t TermRank(TypeCode code);

// The order inside products, and the general canonical order: the lower
// commutativity class first; powers, subscripts and square roots by their
// base (a plain object before a power of it); then by factor rank; then by
// the type's Order entry. Null (an empty slot) sorts first.
int CompareFactors(Handle a, Handle b);
// The order inside sums: the higher commutativity class first (constants
// last); products compared factor by factor from their last factor; powers
// and square roots by their base, a power before the plain base and higher
// powers first; then by term rank and the type's Order entry.
int CompareTerms(Handle a, Handle b);

// The same comparisons for two objects whose commutativity classes the
// caller knows to be equal (the sorts keep each entry's class).
int CompareFactorsSameClass(Handle a, Handle b);
int CompareTermsSameClass(Handle a, Handle b);

// The commutativity class the order uses: that of the Commute table, or 2
// (a variable) for a type without a Commute entry (a list).
int OrderClass(Handle obj);

// A two-factor product of the differential operator d and a user-defined
// name that is not a Function: the dx of an integrand.
bool IsDifferential(Handle obj);

// Whether a is the negation of b: -x against x (either way round), or two
// sums whose terms are each other's negations position by position.
bool IsNegationOf(Handle a, Handle b);

// Fills the Order table for every expression type.
void RegisterOrder();

}  // namespace lemmabox
