// Feeds arbitrary bytes to the comment reader. Every input must either read
// or raise one of the reader's messages; whatever reads must write again, and
// that text must read back to itself.
#include "editor/comment_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "editor/comment_writer.h"
#include "platform/headless_platform.h"
#include "shell/failure.h"
#include "shell/messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lemmabox;
  // A fresh platform for each input, so that the log of boxes shown (the
  // version warning) does not grow from run to run.
  HeadlessPlatform platform;
  SetCurrentPlatform(&platform);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CommentTree tree;
  MessageNumber raised = CatchFailure([&] { tree = ReadComment(bytes); });
  if (raised != 0 && raised != kMsgCorruptData && raised != kMsgTooManyFontFamilies) std::abort();
  if (raised == 0) {
    // What was read fits the form again, and settles: writing what that
    // reads gives the same text.
    MessageNumber again = CatchFailure([&] {
      const std::string text = CommentFormText(tree);
      if (CommentFormText(ReadComment(text)) != text) std::abort();
    });
    if (again != 0) std::abort();
  }
  SetCurrentPlatform(nullptr);
  return 0;
}
