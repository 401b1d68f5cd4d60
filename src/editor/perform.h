// Performing command codes in the front notebook: the editor's entry for
// every code that the program-level handler does not take.
//
// A code is normalised (palette variants of typed characters become the
// characters), then applied to each record of the selection list in turn
// through the Key operation of the record's object type, inside one Undo
// record when fewer than four records are selected. Edits of a proposition
// are interpreted for good (names declared, numbers read, explicit
// parentheses dropped) once the selection has left it.
#pragma once

#include "shell/command_codes.h"

namespace lemmabox {

// The entry installed as the shell's editor hook. Does nothing without a
// front notebook view; hands the code to the comment editor while a comment
// is being edited.
void PerformEditorCode(CommandCode code);

// Applies a typed code to the selection as part of a command already
// running (a paste or a file being replayed): no Undo record of its own, the
// bracket boundaries off.
void ReplayCode(CommandCode code);

// Interprets every edit of the front view that is still pending, as when the
// selection leaves it (before saving, before a manipulation, when the window
// loses the focus).
void CommitPendingEdits();

// The normalised form of a code: palette variants of typed characters
// become the characters (0x47xx, ^ and _ templates, |, (, -).
CommandCode NormaliseCode(CommandCode code);
// The form the Key entries see: a typed character is the character itself;
// a Symbol-font character its name-alphabet letter when it has one.
CommandCode TranslateCode(CommandCode code);

}  // namespace lemmabox
