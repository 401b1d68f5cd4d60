// The constancy and linearity tests.
//
// is-constant(obj, v) answers whether obj contains no variable (v null), or
// does not depend on the variable v; is-linear(obj, x) whether obj is
// constant or of degree at most one in x. Both are operation tables by type
// code (gIsConLinTable, gIsConLin2Table), filled here; Simplify, Expand,
// Factor, Isolate, integration and the wildcard kinds all ask them.
//
// Both answer on the safe side: "not constant" and "not linear" only cost a
// manipulation a simplification it could have made, never a wrong result.
// A name's answer depends on what the notebook knows about it (its
// declaration, its working statements, independence declarations), looked
// up in the theory that answers for the name; the working statements it
// consults become contingencies of the conclusion being derived.
#pragma once

#include "mathobj/object.h"

namespace lemmabox {

// Null (an empty slot) is neither constant nor linear.
bool IsConstant(Handle obj, Handle variable = nullptr);
bool IsLinear(Handle obj, Handle variable);

// Fills both tables for every type that has the tests.
void RegisterConLin();

}  // namespace lemmabox
