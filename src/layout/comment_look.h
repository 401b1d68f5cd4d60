// A comment's content as the rows lay it out: the comment editor's tree of
// rich-text nodes, read once into items whose look is resolved (font
// family, size in points, emphasis and colour, the size of the surroundings
// filled in) and whose constructs are named by their shape.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lemmabox {

struct CommentTree;

struct CommentLook {
  std::string family = "Times";
  int32_t points = 12;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  // The font's own codes (a Symbol or pi font): drawn as they are, without
  // the program's character set.
  bool ownCodes = false;
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

enum class CommentItemKind : uint8_t {
  kParagraph,  // children flow in lines; tabStops in points
  kWord,       // text
  kSpace,
  kTab,
  kMark,      // a special mark: takes no room
  kPicture,   // an embedded picture: shown as a framed square
  kRow,       // children side by side (sequences, many-slot templates)
  kPile,      // children stacked in one column
  kGrid,      // rows x columns children, row by row
  kFence,     // one child between brackets (leftFence, rightFence)
  kFraction,  // two children, one over the other
  kScript,    // a base and a raised (superscript) or lowered script
  kStack,     // a middle child with one above and one below
  kOverline,  // one child under a bar
};

struct CommentItem {
  CommentItemKind kind = CommentItemKind::kRow;
  CommentLook look;
  std::string text;
  int32_t rows = 0;
  int32_t columns = 0;
  // Bracket kinds of a fence: 0 none, 1 round, 2 brace, 7 square.
  uint8_t leftFence = 0;
  uint8_t rightFence = 0;
  bool superscript = false;
  std::vector<int32_t> tabStops;
  std::vector<CommentItem> children;
};

// Comments nest at most this deep; deeper content is left out.
constexpr int kMaxCommentItemDepth = 200;
// Sizes of comment text are kept within these points.
constexpr int32_t kMinCommentPoints = 1;
constexpr int32_t kMaxCommentPoints = 500;

// The items of a comment's content (its root paragraph).
CommentItem CommentItemsOf(const CommentTree& tree);

}  // namespace lemmabox
