// Where the comment being edited shows its caret and selection, and where a
// click in a comment's text puts the caret.
//
// Everything is measured on the comment laid out as its row draws it, in the
// absolute coordinates of the display (those of SelectionHighlight), so the
// comment must be laid out in the display's notebook.
#pragma once

#include <cstdint>
#include <vector>

#include "layout/context.h"
#include "layout/highlight.h"
#include "mathobj/selection.h"

namespace lemmabox {

struct CommentEditShape {
  bool shown = false;  // false when no comment of the front window is being edited
  bool caret = false;  // no selection: the caret shows
  Rect caretRect;      // one unit wide, the height of its line
  // A selection: one rectangle per line it covers, top to bottom.
  std::vector<Rect> selection;
};

// The caret and selection of the comment being edited in the front window.
CommentEditShape CommentEditingShape(const LayoutEnv& env);

// The caret a point (absolute) in comment's text stands for: the nearest
// place on the line at the point's height.
int32_t CommentCaretAt(const LayoutEnv& env, Handle comment, Point point);

// The highlight of the edited comment's selection record: its caret, or the
// rectangle around its selection. False for any other record.
bool CommentEditingHighlight(const LayoutEnv& env, const Selection& selection, HighlightShape& out);

// A click in a comment's text goes to the comment editor; clicks beside it
// select the comment as before. Also gives the comment editor its line moves.
void RegisterCommentCaret();

}  // namespace lemmabox
