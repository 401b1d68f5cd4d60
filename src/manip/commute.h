// Commutativity classes: what kind of quantity an expression is, for the
// canonical order, the function-application test of interpretation, Commute
// and the wildcard kinds of pattern matching.
//
//   1 constant     a number, or a name declared Constant
//   2 variable     a scalar that may vary
//   3 M-linear     an operator that multiplies (a matrix, a name declared so)
//   4 D-linear     an operator that applies to everything after it in a
//                  product (the differential operator, partial derivatives,
//                  summations)
//   5 function     applies to the argument right after it
//
// Two expressions commute when their classes add up to less than 6, or when
// they are structurally equal.
#pragma once

#include "mathobj/object.h"

namespace lemmabox {

enum CommuteClass : int {
  kCommuteConstant = 1,
  kCommuteVariable = 2,
  kCommuteMLinear = 3,
  kCommuteDLinear = 4,
  kCommuteFunction = 5,
};

// The class of obj through the Commute table; a null object is a constant.
int CommutativityClass(Handle obj);
// Whether a and b may trade places in a product.
bool Commutes(Handle a, Handle b);

// Fills the Commute table for every expression type.
void RegisterCommute();

}  // namespace lemmabox
