// Reading the printable text form of a comment (see comment_writer.h).
//
// The reader accepts the current form (marked with a version after '#') and
// the older form without one. It never trusts its input: any malformed byte
// sequence raises 13148 ("Sorry, the data has been corrupted; it cannot be
// reconstructed."), a 51st font raises 13158, Escape raises 13120; nothing
// of a failed read is kept. A form newer than this program understands shows
// 13155 and is read as far as it is understood.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "editor/comment_tree.h"

namespace lemmabox {

// Reads the form that starts at bytes[0] with its opening mark. When consumed
// is given it receives the length of the form, up to and including the
// closing mark; whatever follows is left to the caller.
CommentTree ReadComment(std::string_view bytes, size_t* consumed = nullptr);

// Looks for the opening mark anywhere in bytes (clipboard text, for
// instance) and reads the form that starts there; none when there is no mark.
std::optional<CommentTree> FindCommentForm(std::string_view bytes);

}  // namespace lemmabox
