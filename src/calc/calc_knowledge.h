// What the evaluator asks of the notebook about names: declarations, the
// temporary values the engine binds while it evaluates, definitions and
// declared ranges.
//
// Only this unit includes the notebook's declaration headers, which bring
// the object store's predefined-name constants; the evaluator works with the
// key numbers of the numeric library (calc/predefined_math.h) instead.
// Bindings themselves are the knowledge table's TemporaryBinding.
#pragma once

#include "calc/numlib_scalar.h"
#include "notebook/knowledge.h"
#include "shell/types.h"

namespace lemmabox {

// The predefined key a declared name behaves as; 0 for a user-defined name
// and for anything that is not a declared name.
int PredefinedKeyOfCalcName(Handle name);

// Look-ups of plain names are remembered while no object handle is
// allocated, so that sampling a formula many times looks each name up once;
// a remembered entry is also checked against the theory's current table
// before it is used.

// A declared name, or a subscripted one (x_1, x_k), whose declaration is
// user-defined and of class Variable. Explicit parentheses are looked through.
bool IsVariableName(Handle nameExpr);
// A name the engine can bind a value to: a user-defined declared name, or
// one subscripted by integers (within +-30000) or user-defined names.
bool IsBindableName(Handle nameExpr);
// The same name (the same declaration, with the same subscripts).
bool SameCalcName(Handle a, Handle b);
// Resolves an undeclared name in place; true when it is a declared name now.
bool ResolveUndeclaredName(Handle name);

// The knowledge entry of a name (declared or subscripted) in the scope that
// answers for it, when a temporary value is bound there (kTemporaryBound);
// null otherwise, also when the scope does not know the name. Valid until
// the next look-up.
const KnowledgeEntry* BoundEntryOfName(Handle nameExpr);
// The same for a declared name already known to be user-defined.
const KnowledgeEntry* BoundEntryOfUserName(Handle name);

// The definition of a name: an assumption or conclusion whose statement is
// an equation, or a table; null when there is none.
Handle DefinitionOfName(Handle nameExpr);
// The statement (an equation) of an assumption or conclusion.
Handle StatementOfDefinition(Handle definition);
bool IsTableDefinition(Handle definition);

// One end of a name's declared range: the bound's expression and whether it
// is included. False when the name has no such limit.
bool DeclaredLimit(Handle nameExpr, bool upper, Handle& bound, bool& inclusive);

// The form in which the knowledge table keeps a bound number.
TemporaryValue TemporaryOfScalar(const NumScalar& value);

}  // namespace lemmabox
