// Plain text to and from comments, for the clipboard and the command-line
// tool. Text is in the program's 8-bit character set (the clipboard and
// terminal conversions happen at their own boundaries).
#pragma once

#include <string>
#include <string_view>

#include "editor/comment_tree.h"

namespace lemmabox {

// A comment holding the text: one paragraph per line (LF, CR LF or a lone
// CR ends a line), each line a row of words, spaces and tabs in the given
// style. One line fills the root paragraph itself; several lines become
// paragraphs inside it. A line too long for one paragraph continues in the
// next.
CommentTree CommentFromPlainText(std::string_view text, const NodeStyle& style = {});

// The text of a comment: words, spaces and tabs as they are, one line per
// paragraph (lines joined by LF). Constructs give their content in order,
// the cells of piles and grids separated by a blank; pictures and special
// marks give nothing. A double-byte code gives its low byte, then its high
// byte when that is not zero.
std::string PlainTextFromComment(const CommentNode& root);

}  // namespace lemmabox
