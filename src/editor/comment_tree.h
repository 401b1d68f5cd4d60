// The content of a comment: a tree of rich-text nodes.
//
// A comment is a paragraph (the root) holding words, spaces, tabs, special
// marks, pictures, double-byte words, nested paragraphs and typeset
// constructs (sequences, piles, grids, templates such as fences, fractions
// and scripts) that hold further nodes. Every node carries its own style.
//
// The tree is plain values: copying a node copies its subtree, destroying it
// frees it, == compares whole subtrees. The comment editor walks and changes
// it directly; the text form (comment_writer.h, comment_reader.h) stores it.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "editor/comment_style.h"

namespace lemmabox {

enum class CommentNodeKind : uint8_t {
  kParagraph,  // children, with a paragraph format (ruler)
  kWord,       // text: 8-bit characters
  kSpace,
  kTab,
  kSpecial,   // specialKind
  kPicture,   // text: the recorded picture, opaque bytes
  kWideWord,  // wideText: 16-bit character codes
  kSequence,  // children in a row
  kPile,      // children stacked in one column
  kGrid,      // rows x columns children, row by row
  kTemplate,  // templateCode; children fill its slots
};

// The special marks the form keeps; any other kind reads back as kSpecialS.
constexpr int32_t kSpecialT = 'T';
constexpr int32_t kSpecialS = 's';

// A tab stop: a kind 0..7 and a position 0..0x1FFE. Position 0x1FFF marks a
// free stop, which ends a ruler's list.
struct TabStop {
  uint8_t kind = 0;
  uint16_t position = 0;
  friend bool operator==(const TabStop&, const TabStop&) = default;
};
constexpr size_t kMaxTabStops = 10;
constexpr uint16_t kFreeTabPosition = 0x1FFF;
constexpr uint8_t kMaxTabKind = 7;

// The layout settings of a paragraph. The two settings bytes, the width and
// the ruler byte belong to the comment editor and are carried unchanged.
struct ParagraphFormat {
  std::array<uint8_t, 2> settings{};
  int32_t width = 0;
  std::vector<TabStop> tabStops;  // at most 10, none free
  uint8_t rulerSetting = 0;
  friend bool operator==(const ParagraphFormat&, const ParagraphFormat&) = default;
};

struct CommentNode {
  CommentNodeKind kind = CommentNodeKind::kSpace;
  NodeStyle style;
  std::string text;                // kWord: the characters; kPicture: the picture bytes
  std::vector<uint16_t> wideText;  // kWideWord: each code holds its two bytes, first byte low
  int32_t specialKind = 0;         // kSpecial
  uint16_t templateCode = 0;       // kTemplate
  int32_t rows = 0;                // kGrid
  int32_t columns = 0;             // kGrid
  ParagraphFormat paragraph;       // kParagraph
  std::vector<CommentNode> children;

  bool IsContainer() const;
  friend bool operator==(const CommentNode&, const CommentNode&) = default;
};

// Limits of what a comment holds (and of what its text form can carry).
constexpr size_t kMaxCommentChildren = 32000;  // per paragraph or sequence
constexpr int kMaxCommentDepth = 200;          // nesting of containers
constexpr int32_t kMaxGridSide = 32000;        // rows, columns, pile height

// A place in the tree: child indices from the root down; at a word, a last
// index may give a character offset (0..length).
using CommentPath = std::vector<int32_t>;

struct CommentSelection {
  CommentPath start;
  CommentPath end;
  friend bool operator==(const CommentSelection&, const CommentSelection&) = default;
};

struct CommentTree {
  CommentNode root;  // always a paragraph
  std::optional<CommentSelection> selection;
  // The background the form named (read only; the writer takes its own).
  std::optional<Rgb> background;
  friend bool operator==(const CommentTree&, const CommentTree&) = default;
};

CommentTree NewCommentTree(const NodeStyle& style = {});

CommentNode MakeCommentWord(std::string text, const NodeStyle& style = {});
CommentNode MakeCommentSpace(const NodeStyle& style = {});
CommentNode MakeCommentTab(const NodeStyle& style = {});
CommentNode MakeCommentSpecial(int32_t kind, const NodeStyle& style = {});
CommentNode MakeCommentPicture(std::string bytes, const NodeStyle& style = {});
CommentNode MakeCommentWideWord(std::vector<uint16_t> codes, const NodeStyle& style = {});
CommentNode MakeCommentSequence(std::vector<CommentNode> children, const NodeStyle& style = {});
CommentNode MakeCommentPile(std::vector<CommentNode> children, const NodeStyle& style = {});
// cells row by row; InternalError("MakeCommentGrid") unless there are rows x columns.
CommentNode MakeCommentGrid(int32_t rows, int32_t columns, std::vector<CommentNode> cells,
                            const NodeStyle& style = {});
// InternalError("MakeCommentTemplate") unless the code's count matches the children.
CommentNode MakeCommentTemplate(uint16_t code, std::vector<CommentNode> children,
                                const NodeStyle& style = {});
CommentNode MakeCommentFence(uint8_t fenceStyle, CommentNode content, const NodeStyle& style = {});
CommentNode MakeCommentParagraph(std::vector<CommentNode> children, ParagraphFormat format = {},
                                 const NodeStyle& style = {});

// Template kind codes: bits 12..15 the family, 4..11 the style, 0..3 the
// number of children.
constexpr int TemplateFamily(uint16_t code) {
  return code >> 12;
}
constexpr int TemplateStyle(uint16_t code) {
  return (code >> 4) & 0xFF;
}
constexpr int TemplateCount(uint16_t code) {
  return code & 0xF;
}
constexpr uint16_t MakeTemplateCode(int family, int style, int count) {
  return static_cast<uint16_t>(((family & 0xF) << 12) | ((style & 0xFF) << 4) | (count & 0xF));
}
// The fence style of a fence read from the older fence token.
constexpr uint8_t kPlainFenceStyle = 0x11;
// The three-part construct that has a token of its own.
constexpr uint16_t kThreePartTemplate = 0x5003;

enum class TemplateShape {
  kFence,       // family 1, one child; the style is the fence style
  kThreeSlot,   // family 2, three children
  kOneSlot,     // family 4, one child
  kManySlot,    // family 5, one or more children
  kTwoSlot,     // family 0, style 3, two children
  kScriptLike,  // family 0, style 1, 2, 5, 6 or 7, two children
  kInvalid,     // anything else: read back as a 1 x n grid
};
TemplateShape ClassifyTemplate(uint16_t code);

// The longest prefix of path that names a place in the tree under root.
CommentPath ClampCommentPath(const CommentNode& root, const CommentPath& path);

// A one-line description of a subtree, for diagnostics and test failures.
std::string DescribeCommentNode(const CommentNode& node);
// gtest prints values through PrintTo when it is found by lookup.
void PrintTo(const CommentNode& node, std::ostream* os);
void PrintTo(const CommentTree& tree, std::ostream* os);

}  // namespace lemmabox
