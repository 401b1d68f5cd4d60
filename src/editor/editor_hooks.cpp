#include "editor/editor_hooks.h"

#include "mathobj/constructors.h"
#include "notebook/expression_writer.h"
#include "shell/charset.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

void Nothing(Handle) {}
void NothingWith(const Selection&) {}
void NotBusy(Handle, bool) {}
void NoPalette() {}
void NoPicture(const Selection&) {
  Raise(kMsgUnimplemented);
}

// The digits of a number as the writer types them, with the exponent marker
// of number texts.
std::string FullNumberText(Handle number) {
  std::string text = ExpressionScript(number);
  for (char& c : text) {
    if (c == 'e' || c == 'E') c = static_cast<char>(kCharExponent);
  }
  return text;
}

bool NotEditing() {
  return false;
}
void NoComment(CommandCode) {}
void NoBegin(Handle, CommandCode) {}
void NoEnd() {}
Handle BareComment() {
  return NewObj('Q', 0);
}

constexpr EditorHooks kEditorDefaults = {
    .propositionChanged = &Nothing,
    .refreshNotebook = &Nothing,
    .scrollIntoView = &NothingWith,
    .setBusy = &NotBusy,
    .paletteNamesChanged = &NoPalette,
    .copyPicture = &NoPicture,
    .numberText = &FullNumberText,
};

constexpr CommentEditorHooks kCommentDefaults = {
    .editing = &NotEditing,
    .perform = &NoComment,
    .begin = &NoBegin,
    .end = &NoEnd,
    .newComment = &BareComment,
};

}  // namespace

EditorHooks gEditorHooks = kEditorDefaults;
CommentEditorHooks gCommentEditor = kCommentDefaults;

void ResetEditorHooks() {
  gEditorHooks = kEditorDefaults;
  gCommentEditor = kCommentDefaults;
}

}  // namespace lemmabox
