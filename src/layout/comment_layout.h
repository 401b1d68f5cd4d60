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

struct CommentBlock {
  int32_t width = 0;
  int32_t height = 0;
  int32_t baseline = 0;  // of the first line
  int32_t lines = 0;     // lines of a paragraph
  std::vector<CommentInk> ink;
};

// Lays out comment content (a paragraph) to wrap at width port units.
CommentBlock LayOutCommentItems(const LayoutEnv& env, const CommentItem& root, int32_t width);

// Draws a laid-out block with its top-left corner at origin.
void DrawCommentBlock(GraphicsPort& port, const CommentBlock& block, Point origin);

// The width a comment's text wraps at: the printable width less the icon
// column and the indentation of its row, but at least 16 main sizes.
int32_t CommentWrapWidth(Handle comment, const LayoutMetrics& m);

// The laid-out content of a comment entry (empty when it has none).
CommentBlock LayOutCommentEntry(Handle comment, const LayoutEnv& env);

}  // namespace lemmabox
