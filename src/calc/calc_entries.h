// The entries of the per-type Calc table, by the unit that holds them, and
// the helpers those units share. Only the calc folder includes this; others
// evaluate through CalcObj (calc/calc_engine.h).
#pragma once

#include "calc/numlib_scalar.h"
#include "shell/types.h"

namespace lemmabox {

// calc_table.cpp: fills gCalcTable.
void RegisterCalcTable();

// calc_names.cpp: names, subscripts, function application, wildcards.
void CalcDeclaredName(Handle obj);    // 'v'
void CalcUndeclaredName(Handle obj);  // '\''
void CalcIndex(Handle obj);           // '_'
void CalcApply(Handle obj);           // ';'
void CalcWildcard(Handle obj);        // '`'

// calc_operators.cpp: products with their operator factors, iterations,
// Evaluate At, integrals and the root search.
void CalcProduct(Handle obj);    // '*'
void CalcPiProduct(Handle obj);  // 'x'
void CalcEvalAt(Handle obj);     // ')'
void CalcIntegral(Handle obj);   // 'j'
void CalcForAll(Handle obj);     // 'f'

// Shared helpers.
Handle StripCalcParens(Handle h);
// Evaluates obj and pops its value as a scalar (13255 for a matrix).
NumScalar CalcScalarOf(Handle obj);

}  // namespace lemmabox
