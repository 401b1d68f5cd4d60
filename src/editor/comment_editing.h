// The comment editor: typing, moving, selecting and restyling the rich text
// of a Comment ('Q') in a notebook window.
//
// One comment at a time is being edited, in the window where editing began.
// While it is, the comment is the window's selection (selected whole) and
// every editor code goes here instead of to the expression editor. The
// editor keeps a caret and, for a selection, an anchor; both are units of
// the comment's text (comment_text.h). Editing begins with a click in the
// comment's text, a keystroke or Select In on a selected comment, or Enter
// (a new comment); it ends when anything else is selected, the selection is
// cleared, or with Escape or End at the end of a line, or Select Out.
//
// Each change is made on a copy of the tree, which replaces the stored one
// only when the change succeeded; the comment's row is laid out again. The
// tree before the last change is kept as the comment editor's undo
// snapshot: Undo exchanges it with the current tree (so a second Undo
// redoes), and any other recorded command drops it. Consecutive typing is
// one change.
#pragma once

#include <cstdint>
#include <optional>

#include "editor/comment_tree.h"
#include "editor/selection_list.h"
#include "shell/command_codes.h"

namespace lemmabox {

// Where comment trees are kept (beside their objects, by the notebook files'
// store). Defaults: no content, and a change is refused with 13147.
struct CommentContentHooks {
  const CommentTree* (*content)(Handle comment);
  void (*setContent)(Handle comment, CommentTree tree);
};
extern CommentContentHooks gCommentContent;

// Line moves, which need the comment laid out; the layout fills the hook.
enum class CommentLineMove : uint8_t { kUp, kDown, kLineStart, kLineEnd };
struct CommentGeometryHooks {
  // The caret reached from `unit` of comment (whose content is tree) by the
  // move, keeping to goalX (a horizontal place in the comment's layout; -1
  // for the caret's own) for up and down. False when the comment is not on
  // display; the editor then moves by the comment's own lines.
  bool (*lineMove)(Handle comment, const CommentTree& tree, int32_t unit, CommentLineMove move,
                   int32_t& goalX, int32_t& result);
};
extern CommentGeometryHooks gCommentGeometry;

// What is being edited.
struct CommentEditing {
  NotebookView* view = nullptr;
  Handle comment = nullptr;
  int32_t anchor = 0;  // the other end of a selection; equal to caret without one
  int32_t caret = 0;
  // The look for the next typed text, set by a style command at a caret.
  std::optional<NodeStyle> typingStyle;
  bool HasRange() const { return anchor != caret; }
  int32_t From() const { return anchor < caret ? anchor : caret; }
  int32_t To() const { return anchor < caret ? caret : anchor; }
};

// The comment being edited in the front window, or null.
const CommentEditing* EditedComment();
// The content of a comment (an empty comment when it has none stored).
CommentTree CommentContent(Handle comment);

// Begins editing comment in the front window (which must show it) with the
// given caret and anchor, clamped to its text. The comment becomes the
// window's only selection.
void EditComment(Handle comment, int32_t anchor, int32_t caret);
// A click in a comment's text chose the caret and anchor: editing begins as
// the click's selection of the comment is made (the desktop clears the
// selection first and then selects what the click chose).
void ClickComment(Handle comment, int32_t anchor, int32_t caret);
// Ends editing; the comment stays selected.
void EndCommentEditing();

// A command code while a comment is being edited.
void PerformCommentCode(CommandCode code);
// The codes that act on comment text only: styles (0x60xx), Comment Font
// (0x6400) and colours (0x67xx).
bool IsCommentOnlyCode(CommandCode code);
// Such a code when no comment is being edited: applied to the whole text of
// every selected comment; 13214 when none is selected.
void PerformOnSelectedComments(CommandCode code);

// The comment colour commands of the menus: a colour given as red * 65536 +
// green * 256 + blue, and the colour chooser ("Choose Other Color:"). They
// act as the codes above do.
void SetCommentColour(int32_t rgb);
void ChooseCommentColour();

// Installs the comment editor into the editor's and the Undo record's hooks
// and registers its menu commands. Called by the editor's registration.
void RegisterCommentEditing();

}  // namespace lemmabox
