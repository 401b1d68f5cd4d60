// Comments in the rows: their rich text flowed into lines that wrap at the
// notebook's width, beside the comment icon.
//
// Words keep their own font, size, emphasis and colour; blanks and tabs
// (at the paragraph's tab stops, else every half inch) separate them, and a
// line breaks only between words unless a single word is wider than the
// line. Nested paragraphs start on a line of their own. The typeset
// constructs (piles, grids, fences, fractions, scripts) are set as boxes in
// the line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/comment_tree.h"
#include "layout/comment_look.h"
#include "layout/context.h"

namespace lemmabox {

// One thing to draw, relative to the top-left corner of its block.
struct CommentInk {
  enum class Kind : uint8_t { kText, kLine, kFrame, kBracket };
  Kind kind = Kind::kText;
  Rect r;  // text: left and top are the origin on the baseline; line: from
           // (left, top) to (right, bottom); frame and bracket: the zone
  std::string text;
  PortFont font;
  uint8_t style = 0;  // TextStyle bits
  RgbColor color;
  int32_t thickness = 1;
  int bracket = 0;  // kind of a bracket
  bool left = false;
};

// A place where the caret can stand in laid-out text: before child `index`
// of a paragraph of the comment, or `offset` characters into it when it is a
// word; relative to the top-left corner of its block, with the box of its
// line.
struct CommentStop {
  CommentPath paragraph;
  int32_t index = 0;
  int32_t offset = 0;
  int32_t x = 0;
  int32_t top = 0;
  int32_t bottom = 0;
  int32_t line = 0;  // the line of the block, from 0
};

struct CommentBlock {
  int32_t width = 0;
  int32_t height = 0;
  int32_t baseline = 0;  // of the first line
  int32_t lines = 0;     // lines of a paragraph
  std::vector<CommentInk> ink;
  // Only when asked for (LayOutCommentWithStops): in reading order.
  std::vector<CommentStop> stops;
};

// Lays out comment content (a paragraph) to wrap at width port units.
CommentBlock LayOutCommentItems(const LayoutEnv& env, const CommentItem& root, int32_t width);

// The same for a comment's whole content, also recording where the caret
// can stand among the text of its paragraphs (constructs count as a whole).
CommentBlock LayOutCommentWithStops(const LayoutEnv& env, const CommentTree& tree, int32_t width);

// Draws a laid-out block with its top-left corner at origin.
void DrawCommentBlock(GraphicsPort& port, const CommentBlock& block, Point origin);

// The width a comment's text wraps at: the printable width less the icon
// column and the indentation of its row, but at least 16 main sizes.
int32_t CommentWrapWidth(Handle comment, const LayoutMetrics& m);

// The laid-out content of a comment entry (empty when it has none).
CommentBlock LayOutCommentEntry(Handle comment, const LayoutEnv& env);

// Where a comment's laid-out content starts, relative to the top-left
// corner of the comment's box.
Point CommentContentOffset(const CommentBlock& block, const LayoutMetrics& m);

}  // namespace lemmabox
