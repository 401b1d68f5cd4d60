// Writing a comment in its printable text form: the body of every comment
// record of a notebook file and the comment form put on the clipboard.
//
// The form is 7-bit printable text between the marks "]|Expr|[" and "]|[".
// A current style is carried from node to node; before each node the writer
// emits commands only for what differs (colour, font, size, style bits).
// Long output is broken into lines by "|" line-tag "|", which the reader
// skips.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/comment_tree.h"

namespace lemmabox {

constexpr std::string_view kCommentOpenMark = "]|Expr|[";
constexpr std::string_view kCommentCloseMark = "]|[";
// The version this program writes; readers warn about anything above
// kNewestCommentVersion but read on.
constexpr int32_t kCommentFormVersion = 32;
constexpr int64_t kNewestCommentVersion = 49;
// At most this many distinct fonts in one comment (13158 beyond).
constexpr size_t kMaxCommentFonts = 50;
// A reader takes at most this many letters, or digits, as one word.
constexpr size_t kMaxWordLetters = 32;
constexpr size_t kMaxWordDigits = 95;
// Notebook files continue a broken line with two blanks.
constexpr std::string_view kNotebookLineTag = "\n  ";

struct CommentWriteOptions {
  // Written between two '|' at each line break; must not hold '|'.
  std::string lineTag{kNotebookLineTag};
  // The background colour written with the form; none writes -1, -1, -1.
  // Notebook files always give white.
  std::optional<Rgb> background = kRgbWhite;
  // Also write tree.selection (when it has one) after the root.
  bool writeSelection = false;
};

// Appends the form of tree to sink. Nothing is appended when writing fails:
// 13158 for a 51st font, 13173 for a paragraph, sequence or pile too long for
// the form to carry, 13157 for containers nested deeper than
// kMaxCommentDepth. A tree that breaks its own rules (a grid whose cell count
// is not rows x columns, a template whose code does not count its children, a
// root that is not a paragraph) is the internal error "WriteComment".
void WriteComment(const CommentTree& tree, std::string& sink,
                  const CommentWriteOptions& options = {});
std::string CommentFormText(const CommentTree& tree, const CommentWriteOptions& options = {});

// How many nodes a reader makes of a word: one per run of letters (at most
// 32) or of digits (at most 95), and one per other character.
size_t WordReadBackCount(std::string_view text);

}  // namespace lemmabox
