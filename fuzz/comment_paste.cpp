// Pastes arbitrary clipboard text into comment text, as the comment editor
// does: a comment form found in the bytes keeps its looks, anything else is
// plain text. Whatever was pasted is then cut again in pieces and broken
// into lines. Every step must succeed or raise a message of its own, and
// the units must add up.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "editor/comment_plain_text.h"
#include "editor/comment_reader.h"
#include "editor/comment_text.h"
#include "platform/headless_platform.h"
#include "shell/failure.h"
#include "shell/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lemmabox;
  HeadlessPlatform platform;
  SetCurrentPlatform(&platform);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CommentTree pasted;
  MessageNumber raised = CatchFailure([&] {
    std::optional<CommentTree> form = FindCommentForm(bytes);
    pasted = form ? std::move(*form) : CommentFromPlainText(bytes);
  });
  if (raised != 0 && raised != kMsgCorruptData && raised != kMsgTooManyFontFamilies) std::abort();
  if (raised == 0) {
    CommentNode root = CommentFromPlainText("ab cd\nef").root;
    raised = CatchFailure([&] {
      const int32_t before = CommentUnitCount(root);
      const int32_t added = CommentUnitCount(pasted.root);
      const int32_t at = InsertCommentContent(root, 3, pasted.root);
      if (at != 3 + added || CommentUnitCount(root) != before + added) std::abort();
      const int32_t middle = CommentUnitCount(root) / 2;
      BreakCommentLine(root, middle);
      DeleteCommentUnits(root, 1, middle + 2);
      DeleteCommentUnits(root, 0, CommentUnitCount(root));
      if (CommentUnitCount(root) != 0) std::abort();
    });
    if (raised != 0 && raised != kMsgExpressionTooLarge) std::abort();
  }
  SetCurrentPlatform(nullptr);
  return 0;
}
