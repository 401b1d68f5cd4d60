// Where the notebook model calls out to the folders above it.
//
// The model changes the notebook (inserts, deletes, collapses, declares
// names) but does not draw, select or keep the Undo record itself; the layout
// and editor folders fill these hooks at registration, and the cascade fills
// its own. Every hook has a default that does nothing (or the least that keeps
// the model sound), so the model works on its own in the CLI and the tests.
#pragma once

#include <string>

#include "shell/types.h"

namespace lemmabox {

// What the screen should show differently.
struct NotebookDisplayHooks {
  // The look of obj changed (flags, error number, label, statement).
  void (*redraw)(Handle obj);
  // The rows of a theory changed (insertion, deletion, collapse, indentation).
  void (*relayoutRows)(Handle theory);
  // Makes obj the one selected object (a proposition, or a name in it).
  void (*selectOnly)(Handle obj);
  // Adds obj to the selection.
  void (*selectAlso)(Handle obj);
  // Fills the cached sizes of a declaration's name (the layout measures them).
  void (*measureDeclaration)(Handle declaration);
  // A short text for an expression in a list the user chooses from (the file
  // writer's typing script once it exists). Default: "".
  std::string (*describe)(Handle expression);
  // Asks the user to confirm Lock Proposition. Default: yes.
  bool (*confirmLock)(Handle proposition);
};

// What the Undo record must know about a change. The model calls these
// around every insertion and deletion of a proposition and before it changes
// a proposition's outline fields.
struct NotebookChangeObserver {
  // prop was just inserted into its theory as a new slot.
  void (*inserted)(Handle prop);
  // prop is about to be deleted from its theory (its slot goes too).
  void (*deleting)(Handle prop);
  // The occupant of slot index of parent is about to change in place.
  void (*savingSlot)(Handle parent, int index);
};

// The derivation cascade, which sits above this folder.
struct NotebookCascadeHooks {
  // Marks stale what was derived from changed (a working statement was
  // switched off, for instance).
  void (*markDependents)(Handle changed);
  // One idle step of a notebook's cascade; true while work remains.
  bool (*idleStep)(Handle mainTheory);
  // The contingency list (a counted array, notebook/derivation.h) of a graph,
  // or null. Graphs keep theirs among their own settings.
  Handle (*graphContingencies)(Handle graph);
};

extern NotebookDisplayHooks gNotebookDisplay;
extern NotebookChangeObserver gNotebookObserver;
extern NotebookCascadeHooks gNotebookCascade;

// Puts every hook back to its default (tests).
void ResetNotebookHooks();

}  // namespace lemmabox
