// Notebooks as documents: the open notebooks, the current one, and the
// process-wide settings a current notebook lends its preferences to.
//
// A notebook is its Main Theory (the root of its tree); the notebook record
// in the Main Theory holds its state. The desktop keeps a window per
// notebook; the CLI and the tests use these routines directly.
#pragma once

#include <vector>

#include "mathobj/object.h"
#include "notebook/notebook_record.h"

namespace lemmabox {

// A new empty notebook with the default settings; it is open (and current
// when no other notebook is).
Handle NewNotebook();
// Closes a notebook: it stops being current and is disposed.
void CloseNotebook(Handle mainTheory);
// The open notebooks, oldest first.
const std::vector<Handle>& OpenNotebooks();

// The current notebook's Main Theory, or null.
Handle CurrentNotebook();
// Makes a notebook current and mirrors its Auto Simplify and Auto Casing into
// the process-wide settings. Null: no notebook is current.
void SetCurrentNotebook(Handle mainTheory);
// The theory that answers for objects outside every notebook entry: the look-up
// scope when one is set, else the current notebook, else the first open one.
Handle CurrentScope();

// The settings every manipulation reads. A current notebook lends them its
// preferences; the cascade sets them to a step's recorded values while it
// replays the step.
struct ManipulationSettings {
  bool autoSimplify = true;
  bool autoCasing = true;
};
ManipulationSettings& CurrentManipulationSettings();

// Copies a notebook's Auto Simplify and Auto Casing into the process-wide
// settings when it is the current notebook (after either preference changes).
void MirrorManipulationSettings(Handle mainTheory);

// The notebook is marked as changed since it was read or saved.
void MarkNotebookChanged(Handle mainTheory);

// One idle step of a notebook: names left undeclared by an edit are
// interpreted again, then the cascade runs one step. True while work remains.
bool NotebookIdle(Handle mainTheory);

// The front notebook's preferences as the menus see them (installed with the
// shell at registration).
void InstallFrontNotebookPrefs();

// The theory went away: it stops being current or the look-up scope, and its
// knowledge table (and a Main Theory's record) is released.
void TheoryGoesAway(Handle theory);

}  // namespace lemmabox
