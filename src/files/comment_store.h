// The content of the comments of open notebooks: the rich-text tree of each
// Comment ('Q'), kept beside the object. Copies of a comment get their own
// copy of its tree, and the tree goes when the comment is disposed. The rows
// show comments through it, the file writer and Copy write it, and the
// reader and Paste fill it.
#pragma once

#include "editor/comment_tree.h"
#include "mathobj/object.h"

namespace lemmabox {

// The tree of a comment; null for a comment that was never given one (it
// shows and saves as an empty comment).
const CommentTree* CommentContentOf(Handle comment);
void SetCommentContent(Handle comment, CommentTree tree);

// A new detached comment holding tree.
Handle NewCommentWith(CommentTree tree);

// Connects the store to the object store's copy and dispose of comments and
// to the layout's view of comment content.
void InstallCommentStore();

}  // namespace lemmabox
