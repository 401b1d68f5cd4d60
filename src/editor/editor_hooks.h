// Where the editor asks the folders above it and the desktop.
//
// The editor changes the notebook and keeps the selection; drawing, the
// derivation cascade, the comment editor and the palette live elsewhere.
// Each hook has a default that keeps the editor working on its own (in the
// command-line tool and the tests).
#pragma once

#include <string>

#include "mathobj/selection.h"
#include "shell/command_codes.h"

namespace lemmabox {

struct EditorHooks {
  // The cascade: a proposition whose content an edit changed. Default: nothing.
  void (*propositionChanged)(Handle prop);
  // Draws the whole notebook again (after a command on many selections, or a
  // paste). Default: nothing.
  void (*refreshNotebook)(Handle mainTheory);
  // Scrolls the primary selection into view. Default: nothing.
  void (*scrollIntoView)(const Selection& selection);
  // Marks the notebook busy while a command runs. Default: nothing.
  void (*setBusy)(Handle mainTheory, bool busy);
  // The palette's lists of declared names are out of date. Default: nothing.
  void (*paletteNamesChanged)();
  // Copy as Picture of a selection. Default: 13147 (unimplemented).
  void (*copyPicture)(const Selection& selection);
  // The characters shown for an integer or real, to which the caret
  // positions of a clicked number refer (program characters, exponent marker
  // 0x90). Default: the shortest text that reads back as the same value.
  std::string (*numberText)(Handle number);
};
extern EditorHooks gEditorHooks;

// The rich-text comment editor.
struct CommentEditorHooks {
  // Whether a comment of the front window is being edited. Default: false.
  bool (*editing)();
  // A command code while a comment is being edited. Default: nothing.
  void (*perform)(CommandCode code);
  // Starts editing comment and hands it the code (0 for none). Default: nothing.
  void (*begin)(Handle comment, CommandCode code);
  // Ends any comment editing. Default: nothing.
  void (*end)();
  // A new empty Comment proposition, detached. Default: a 'Q' with no content.
  Handle (*newComment)();
};
extern CommentEditorHooks gCommentEditor;

void ResetEditorHooks();

}  // namespace lemmabox
