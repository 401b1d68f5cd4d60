// Working statements: the statements the notebook uses as facts about names.
//
// A working statement is registered in the knowledge entry of the name it
// constrains, in the theory that holds it: a definition ("x = 3", a function
// definition "f(?x) = ?x^2", a table), a limit ("x > 0", "x <= 1"), an
// increment ("Δx = 0.01") or an order of approximation ("ε^3 = 0").
// Independence declarations are registered the same way.
//
// Kinds, as characters: 'f' function definition, '<', '>', '[' (<=), ']'
// (>=), 'd' increment, 'o' order, '=' value definition; 'n' stands for
// tables in the sets of kinds a look-up wants.
#pragma once

#include "mathobj/object.h"
#include "notebook/knowledge.h"
#include "shell/types.h"

namespace lemmabox {

// Registers the statement of an assumption or conclusion as a working
// statement of one kind; requiredName, when given, must be the name it
// constrains. Returns 0, or the message number that says why it cannot be
// one (13191, 13192, 13194..13201, and the knowledge failures). An order
// outside 2..250 shows alert 13227 and is registered all the same. A working
// statement of the same theory that held the slot is switched off first.
// Internal error "RecordDefinition" for a proposition that is not an
// assumption or conclusion inside a theory, or an unknown kind.
MessageNumber RecordDefinition(Handle prop, Handle requiredName, char kind);
// Registers a table as the definition of the name it tabulates: a
// Function-class name written alone, or another user-defined name applied to
// an argument (else 13302).
MessageNumber RecordTable(Handle table, Handle requiredName);
// Registers an independence declaration in the entries of its names. With
// validate, a malformed declaration shows 13225 and a name that another
// declaration already names shows 13226.
void RecordIndependence(Handle decl, bool validate);

// Working statement on/off. Switching on tries every kind (an assumption or
// conclusion) or the table registration; when nothing fits the bit is cleared
// again and, with check, the most telling message is shown. Switching off
// forgets the registration and marks the dependents stale. True when the
// proposition ends up as asked.
bool SetWorkingStatement(Handle prop, bool on, bool check, bool redraw);

// The statement in a knowledge slot of a name, looked up in the name's scope
// and the theories around it; a slot not looked up yet is filled by guessing
// from the theories' statements when "Guess Working Stmts" is on. What is
// found becomes a contingency of the conclusion being derived. Null: none.
Handle LookupKnowledge(Handle nameExpr, KnowledgeSlot slot);
// The definition of a name (an assumption, conclusion or table), or null. A
// conclusion that carries an error raises that error; one whose statement is
// no longer an equation raises 13232.
Handle LookupDefinition(Handle nameExpr);
// A lower (or upper) limit and whether it includes its bound.
struct LimitStatement {
  Handle statement = nullptr;
  bool inclusive = false;
};
LimitStatement LookupLimit(Handle nameExpr, bool upper);
// The order of approximation of a name, or 0 when none is stated.
int ApproximationOrder(Handle nameExpr);

// Whether x is independent of v: x is not v and does not contain it, and
// one of them is a predefined name other than the differential d, or both are
// named by one "each other" independence declaration, or either is named by
// an "all variables" one.
bool NamesIndependent(Handle x, Handle v);
// Whether expr is v, mentions v, or mentions a name whose definition depends
// on v (through any number of definitions). A circular definition ends with
// 13174, raised at the name where the stack ran out.
bool DependsOn(Handle expr, Handle v);

// After the statement of a working statement was edited: its registration is
// made again from the new statement, or it stops being one.
void RefreshWorkingStatement(Handle prop);

// A table's follow-up after its name was edited: a table that is a working
// statement is registered again, or stops being one.
void RecheckTable(Handle table);

}  // namespace lemmabox
