// Where the layout asks the folders around it.
//
// The layout knows the shapes of expressions and reads the notebook's own
// records (declarations, statements, the outline) directly. Which windows
// show a notebook, what a sentence's pop-ups are, which functions are
// tabulated and how a conclusion is derived again belong to the folders
// above; they fill these hooks when they register. Every hook has a default
// that lets the layout work on its own (as it does for exporting a single
// expression and in the tests).
#pragma once

#include <string>

#include "layout/context.h"
#include "mathobj/selection.h"

namespace lemmabox {

struct CommentTree;

// The window that shows a notebook: the layout it is drawn with and the
// notebook's root object (its Main Theory).
struct DisplayTarget {
  const LayoutEnv* env = nullptr;
  Handle root = nullptr;
};

struct LayoutHooks {
  // --- Tables and the cascade ---
  // Whether the function a declaration names is defined by a table. Default: false.
  bool (*tabulatedFunction)(Handle declaration);
  // Asks the cascade to derive a failed conclusion again. Default: nothing.
  void (*redoConclusion)(Handle conclusion);

  // --- Notebook entries ---
  // The parts of an entry that take a gesture before the entry itself: the
  // pop-ups of a sentence, the comment editor, a graph's plots and controls.
  // Returns whether the gesture was taken. Default: false.
  bool (*clickEntryParts)(Handle entry, const PlaceContext& ctx, const ClickGesture& gesture,
                          Selection& out);

  // --- Display (editor and desktop) ---
  // The display of the notebook that holds obj. Default: none (false).
  bool (*displayOf)(Handle obj, DisplayTarget& out);
  // Marks an area (absolute, in the display's port units) of the windows
  // that show obj for redrawing. Default: nothing.
  void (*invalidateArea)(Handle obj, const Rect& area);
  // Redraws the whole display of the notebook with this root. Default: nothing.
  void (*refreshNotebook)(Handle root);
  // An entry of a container changed its right edge or bottom: the entries
  // after it flow horizontally or vertically. Default: the container's area
  // from the entry on is marked for redrawing.
  void (*reflowEntries)(Handle container, Handle entry, bool widthChanged, bool heightChanged);
  // Forgets the layout of a comment (fonts changed). Default: nothing.
  void (*forgetCommentLayout)(Handle comment);

  // --- What the rows show of other folders' entries ---
  // The content of a comment, kept by whoever stores comment bodies (the
  // comment editor, the file reader). Default: none, shown as an empty
  // comment.
  const CommentTree* (*commentTree)(Handle comment);
  // What the last failed re-derivation of a conclusion blamed, as text
  // (shown after its message). Default: "".
  std::string (*conclusionErrorDetail)(Handle conclusion);
  // The item shown by pop-up slot `slot` (the template's slot number, from
  // 1) of sentence `sentence` (0, or 1 for a surface plot's colouring line)
  // of a plot; null for an empty pop-up. Default: null.
  const char* (*plotPopupText)(Handle plot, int sentence, int slot);
  // A surface plot's colouring kind (1 solid, 2 colour range, 3 colour
  // scheme, 5 brightness and hue, 6 colour components; others have no
  // colouring line). Default: 0.
  int (*surfaceColouring)(Handle plot);
  // A graph's frame width in points. Default: kDefaultGraphFrameWidth.
  int32_t (*graphFrameWidth)(Handle graph);
};

// The frame of a graph whose own layout does not say otherwise: 4 inches by 3.
constexpr int32_t kDefaultGraphFrameWidth = 288;
constexpr int32_t kDefaultGraphFrameHeight = 216;

extern LayoutHooks gLayoutHooks;
void ResetLayoutHooks();

}  // namespace lemmabox
