// The outline of a theory: rows, indentation, outline groups, collapsing and
// locking, and where new propositions go.
//
// A proposition whose indentation is 0..254 starts a row at that depth; one
// whose indentation is 255 continues the row before it. The outline group of
// a row is the run of rows after it that are indented deeper; a collapsed row
// hides its group, and only a collapsed row with a group may stay collapsed.
#pragma once

#include <span>
#include <vector>

#include "mathobj/object.h"

namespace lemmabox {

// --- Rows ---

// The index of the proposition that starts the row of the one at index i;
// internal error "StartOfRowProp: All inline." when every proposition from i
// back to the first is inline.
int StartOfRowIndex(Handle theory, int i);
Handle StartOfRowProp(Handle prop);
// The first index after i that starts a row (the count when none does).
int NextRow(Handle theory, int i);
// The indentation of the row that index i lies in.
int RowIndentation(Handle theory, int i);
// The index after the outline group of the row that index i lies in.
int OutlineEnd(Handle theory, int i);
// Whether no collapsed row (in its theory, or around its theory) hides prop.
bool IsPropositionShown(Handle prop);

// The distinct propositions that hold the given objects, in the order given
// (detached objects are left out).
std::vector<Handle> PropositionsOf(std::span<const Handle> objects);

// --- Inserting ---

struct InsertionPoint {
  Handle theory = nullptr;
  int index = 0;
  int indentation = 0;
};

// Where a proposition goes that is inserted "after" anchor: into an empty
// container anchor's proposition is, at its first proposition position with
// indentation 0; otherwise after the outline group of the anchor's
// proposition, in its theory, with its row's indentation. Without an anchor
// the same for firstSelected; without either, at the end of the current
// notebook's Main Theory with indentation 0. Raises 13148 when no theory
// results.
InsertionPoint FindInsertionPoint(Handle anchor, Handle firstSelected);
// Inserts prop at index of theory with this indentation (an inline
// indentation at the first position becomes 0), tells the change observer
// and asks for the theory's rows to be laid out again. Inserting a Name
// Declaration marks the notebook's declarations changed.
void InsertProp(Handle prop, Handle theory, int index, int indentation);
// FindInsertionPoint, then InsertProp with the indentation plus `deeper`
// (at most 254). Returns the point used.
InsertionPoint InsertAfter(Handle prop, Handle anchor, Handle firstSelected = nullptr,
                           int deeper = 0);
// Inserts a declaration at the theory's first proposition position, or after
// a leading Comment with indentation 1; marks the notebook's declarations
// changed. Internal error "InsertDecl" when the theory is in no notebook.
void InsertDecl(Handle decl, Handle theory);

// --- Collapsing, indentation, locking ---

// Clears the collapsed (and locked) bit of every proposition in container and
// the containers in it whose outline group is empty. True when any changed.
bool CollapsePass(Handle container);
// Collapse All / Expose All: every proposition of the notebook that is not
// locked (rows without a group stay expanded).
void CollapseAll(Handle mainTheory);
void ExposeAll(Handle mainTheory);
// Collapse / Expose the rows of the given objects. Exposing a locked row
// raises 13209 and changes nothing.
void Collapse(std::span<const Handle> objects);
void Expose(std::span<const Handle> objects);
// Indent Left / Indent Right the rows of the given objects (0..254). A locked
// row raises 13209 and nothing changes.
void IndentLeft(std::span<const Handle> objects);
void IndentRight(std::span<const Handle> objects);
// Lock Proposition: exactly one proposition, already collapsed, else 13208;
// then, when the user confirms, it is locked. True when it was locked.
bool LockProposition(std::span<const Handle> objects);

bool IsLocked(Handle prop);
// Raises 13209 when obj lies in a locked proposition.
void CheckNotLocked(Handle obj);

}  // namespace lemmabox
