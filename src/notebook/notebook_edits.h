// The notebook commands that change the model: deleting propositions, the
// Insert commands, working statements on and off, arbitrary names.
//
// Each takes the selected objects as parameters (any object inside a
// proposition stands for that proposition); the editor wires them to the
// selection list. Every insertion and deletion is reported to the change
// observer (notebook/notebook_hooks.h) for Undo, and what should be shown or
// selected goes through the display hooks.
#pragma once

#include <span>
#include <unordered_set>
#include <vector>

#include "mathobj/object.h"
#include "notebook/notebook_record.h"

namespace lemmabox {

// Deletes the propositions of the given objects, each with its outline group
// (a proposition continuing a row is deleted alone; what continued a deleted
// row then starts the row). Whatever was derived from a deleted proposition
// is cut off (its conclusions become assumptions), names declared by deleted
// declarations become plain names again (or are resolved anew), and the
// knowledge is brought up to date. A locked proposition raises 13209 and
// nothing is deleted. The Main Theory itself is never deleted.
void DeletePropositions(std::span<const Handle> objects);
// What deleting needs done before propositions leave the notebook by other
// means (Undo taking an inserted proposition out): every reference to them
// (contingencies, knowledge, declared names) is dropped. `gone` holds every
// proposition leaving, the ones inside leaving containers included.
void ForgetPropositions(Handle mainTheory, const std::unordered_set<Handle>& gone);
// Every proposition in the trees of these propositions, themselves included.
std::unordered_set<Handle> PropositionsWithin(std::span<const Handle> props);

// Insert > Page Break: after the first selected proposition, or at the end.
Handle InsertPageBreak(std::span<const Handle> selected);
// Insert > Case Theory. Without a selection, appends a Case Theory holding
// one new assumption whose statement is a question mark (selected). With one,
// the selected propositions must lie in nested theories (else 13207); the new
// Case Theory takes the place of the first of them, with its indentation,
// and they move into it. Then the declaration pass runs on the theory that
// received it.
Handle InsertCaseTheory(std::span<const Handle> selected);
// Insert > Transform Rule: for each selected assumption or conclusion, a rule
// from the two sides of its equation (question marks when it is not one),
// after it; with none selected, one rule of question marks. The first rule is
// selected.
std::vector<Handle> InsertTransformRules(std::span<const Handle> selected);
// Insert > Name Decl.: a Variable whose name is a question mark (selected),
// after the first selected proposition or at the end.
Handle InsertNameDecl(std::span<const Handle> selected);
// Insert > Independence Decl.: "each other", a question mark as its variable
// (selected), after the first selected proposition or at the end.
Handle InsertIndependenceDecl(std::span<const Handle> selected);

// Make Working Stmt / Stop Working Stmt on the selected assumptions,
// conclusions and tables (the others are left alone). Making one that cannot
// be a working statement shows why.
void MakeWorkingStatements(std::span<const Handle> selected);
void StopWorkingStatements(std::span<const Handle> selected);

// A new arbitrary name of the notebook that near lies in (the current
// notebook for null): the base text of that kind subscripted with the serial
// number, which then moves on (wrapping at 1,000,000,000). The base name is
// resolved where near lies; it stays undeclared when nothing declares it.
// Raises 13229 when there is no notebook.
Handle NewArbitraryName(Handle near, ArbitraryKind kind);
// The "Arbitrary Names" dialog's setting of a base text (cut to 31 bytes).
void SetArbitraryBase(Handle mainTheory, ArbitraryKind kind, const char* text);

}  // namespace lemmabox
