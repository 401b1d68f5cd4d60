// The evaluator: turns a math object into one element on the calculation
// stack (calc/calc_stack.h) through the per-type Calc table.
//
// An evaluation is bracketed by BeginCalc and EndCalc, or runs inside one.
// BeginCalc discards whatever an interrupted evaluation left on the stack, so
// routines that evaluate while an evaluation is in progress (integrands,
// root searches, tables) call CalcObj directly and never the typed entry
// points. A failure raised during an evaluation is attributed to the object
// being evaluated (RaiseAtObject), so the alert can show where it happened.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>

#include "calc/numlib_integrate.h"
#include "shell/types.h"

namespace lemmabox {

// --- Engine state and entry points ---

// Resets the stack, sets whether names may be looked up in working
// statements and definitions, and empties the wildcard slots.
void BeginCalc(bool allowWorkingStatements);
// Evaluates obj: pushes exactly one element.
void CalcObj(Handle obj);
// The stack must be empty again (internal error "EndCalc").
void EndCalc();

bool WorkingStatementsAllowed();
// The depth check of definitions and user functions that call themselves:
// true when the machine stack has grown by more than kCalcRecursionLimit
// bytes since BeginCalc. The evaluator then raises 13174. The budget is the
// evaluator's own, larger than the general walkers' check, so that a
// recursive function can go about as deep as the calculation stack allows
// (some 1500 calls); on a thread with the usual 8 MB stack it stays far from
// the real end.
constexpr size_t kCalcRecursionLimit = 1 << 20;
bool CalcRecursionTooDeep();
// The object being evaluated (null outside an evaluation).
Handle CurrentCalcObj();
// Raises n at the object being evaluated.
[[noreturn]] void RaiseAtCalcObj(MessageNumber n);

// The typed entry points: BeginCalc(true), CalcObj, the typed pop, EndCalc.
double CalcReal(Handle obj);
int32_t CalcInt(Handle obj);
std::complex<double> CalcComplex(Handle obj);
void Calc2Vector(Handle obj, double& x, double& y);
void Calc3Vector(Handle obj, double& x, double& y, double& z);

// --- Wildcard slots of user-function calls ---

// One slot per wildcard letter 'a'..'z': the stack position (TopPosition) of
// the argument bound to it, or 0 when empty.
constexpr int kWildcardSlotCount = 26;
// A user function takes at most this many arguments.
constexpr int kMaxFunctionArguments = 8;
size_t WildcardSlot(int letter);
void SetWildcardSlot(int letter, size_t position);

// --- Settings and hooks ---

// The "Numeric Integration Settings" the integrals use.
IntegrationSettings& CalcIntegrationSettings();

// What the evaluator asks of the folders above it. Each has a default that
// keeps the engine usable on its own.
struct CalcHooks {
  // Pushes the value of a tabulated function: argument is the argument
  // expression of the call, or null for a tabulated name used without one;
  // the table evaluates it with CalcObj. Default: raises 13264.
  void (*pushTableValue)(Handle table, Handle argument);
  // The graph bound with this key (left, right, ..., radius) of the graph
  // nearest to obj. Default: the undefined value (no graph).
  double (*graphBound)(int key, Handle obj);
};
extern CalcHooks gCalcHooks;
void ResetCalcHooks();

}  // namespace lemmabox
