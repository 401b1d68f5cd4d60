#include "files/comment_store.h"

#include <unordered_map>

#include "layout/hooks.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/hooks.h"

namespace lemmabox {
namespace {

std::unordered_map<Handle, CommentTree>& Store() {
  static auto* store = new std::unordered_map<Handle, CommentTree>();
  return *store;
}

void CopyComment(Handle source, Handle copy) {
  DupObjectSlots(source, copy);
  auto found = Store().find(source);
  if (found != Store().end()) Store()[copy] = found->second;
}

void FreeComment(Handle comment) {
  Store().erase(comment);
}

}  // namespace

const CommentTree* CommentContentOf(Handle comment) {
  auto found = Store().find(comment);
  return found == Store().end() ? nullptr : &found->second;
}

void SetCommentContent(Handle comment, CommentTree tree) {
  Store()[comment] = std::move(tree);
}

Handle NewCommentWith(CommentTree tree) {
  Handle comment = NewObj('Q', 0);
  SetCommentContent(comment, std::move(tree));
  return comment;
}

void InstallCommentStore() {
  gObjStoreHooks.copyComment = &CopyComment;
  gObjStoreHooks.freeComment = &FreeComment;
  gLayoutHooks.commentTree = &CommentContentOf;
}

}  // namespace lemmabox
