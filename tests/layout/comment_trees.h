// Comment entries with content, for the tests of comment rows. The layout
// finds their trees through TestCommentTree, which a test installs as the
// comment hook.
#pragma once

#include <cstdint>
#include <string>

#include "shell/types.h"

namespace lemmabox {
struct CommentTree;
}

namespace lemmabox::testing {

// The content kept for a comment entry made below, or null.
const CommentTree* TestCommentTree(Handle comment);
// Forgets every content (the entries themselves belong to their notebook).
void ForgetTestComments();

// A comment entry holding plain text in one look: words, blanks and tabs,
// each line a paragraph of its own. colour is the one-byte colour.
Handle NewPlainComment(const std::string& text, int32_t points = 12, bool bold = false,
                       uint8_t colour = 0);
// A comment whose words take the size of their surroundings, inside a
// sequence set at `points`.
Handle NewInheritingComment(int32_t points);
// A comment of one word, a fraction, a 2 x 2 grid, a fence, a
// superscript, a picture and a nested paragraph.
Handle NewConstructsComment();

}  // namespace lemmabox::testing
