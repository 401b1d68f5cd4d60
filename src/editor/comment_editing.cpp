#include "editor/comment_editing.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "editor/comment_plain_text.h"
#include "editor/comment_reader.h"
#include "editor/comment_text.h"
#include "editor/editing.h"
#include "editor/editor_hooks.h"
#include "editor/perform.h"
#include "editor/undo.h"
#include "mathobj/encode.h"
#include "mathobj/optables.h"
#include "notebook/document.h"
#include "notebook/notebook_record.h"
#include "notebook/outline.h"
#include "platform/platform.h"
#include "shell/charset.h"
#include "shell/commands.h"
#include "shell/failure.h"
#include "shell/keyboard_map.h"
#include "shell/menu_ids.h"
#include "shell/menus.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

// Style numbers of the style codes, and the attribute each one sets (the
// layout draws A0 bold, A1 italic, A2 underlined).
constexpr int kStylePlain = 3;
constexpr int kStyleBold = 4;
constexpr int kStyleItalic = 5;
constexpr int kStyleUnderline = 12;
constexpr const char* kChooseColourPrompt = "Choose Other Color:";
constexpr int32_t kMaxCommentPoints = 500;

CommentEditing gEditing;
// A click chose the caret; the selection the click makes next must not end
// the editing it begins.
bool gClickPending = false;
// Where up and down aim, kept across consecutive moves.
int32_t gGoalX = -1;

// The tree before the last change, with the carets that go with it and with
// the current tree (for the exchange).
struct Snapshot {
  bool held = false;
  NotebookView* view = nullptr;
  Handle comment = nullptr;
  CommentTree tree;
  int32_t anchor = 0;
  int32_t caret = 0;
  int32_t currentAnchor = 0;
  int32_t currentCaret = 0;
};
Snapshot gSnapshot;
// The last change was typing: more typing belongs to the same change.
bool gTypingRun = false;

DisposeFn gDisposeComment = nullptr;

const CommentTree* NoContent(Handle) {
  return nullptr;
}
void RefuseContent(Handle, CommentTree) {
  Raise(kMsgUnimplemented);
}
bool NoGeometry(Handle, const CommentTree&, int32_t, CommentLineMove, int32_t&, int32_t&) {
  return false;
}

bool IsComment(Handle obj) {
  return obj != nullptr && ObjType(obj) == kComment;
}

bool Listed(const NotebookView* view, Handle comment) {
  if (view == nullptr) return false;
  for (const Selection& record : view->selections)
    if (record.obj == comment) return true;
  return false;
}

int32_t UnitCount(Handle comment) {
  return CommentUnitCount(CommentContent(comment).root);
}

void ForgetComment(Handle comment) {
  if (gEditing.comment == comment) {
    gEditing = CommentEditing{};
    gClickPending = false;
  }
  if (gSnapshot.comment == comment) gSnapshot = Snapshot{};
}

void DisposeWatched(Handle comment) {
  ForgetComment(comment);
  gDisposeComment(comment);
}

void ShowChange(Handle comment) {
  if (Handle main = MainTheoryOf(comment)) MarkNotebookChanged(main);
  gEncodeHooks.relayout(comment);
}

void Reveal() {
  if (gEditing.comment != nullptr) gEditorHooks.scrollIntoView({gEditing.comment, kPosWhole});
}

// --- Changes ---

// The carets a change starts from and leaves: the edited comment's, or the
// whole text of a comment that is not being edited.
struct Carets {
  int32_t anchor = 0;
  int32_t caret = 0;
  int32_t From() const { return std::min(anchor, caret); }
  int32_t To() const { return std::max(anchor, caret); }
};

void KeepForUndo(Handle comment, CommentTree before, const Carets& was, bool typing) {
  NotebookView* view = FrontView();
  const bool sameRun = typing && gTypingRun && gSnapshot.held && gSnapshot.comment == comment &&
                       gSnapshot.view == view;
  if (!sameRun) {
    // Starting a record drops the expression changes and the snapshot before.
    StartUndoRecord(false);
    gSnapshot.held = true;
    gSnapshot.view = view;
    gSnapshot.comment = comment;
    gSnapshot.tree = std::move(before);
    gSnapshot.anchor = was.anchor;
    gSnapshot.caret = was.caret;
  }
  gTypingRun = typing;
}

// Makes a change on a copy of the comment's tree; the copy is kept only when
// the change went through.
template <class Edit>
void ChangeComment(Handle comment, bool typing, Edit&& edit) {
  CheckNotLocked(comment);
  const CommentTree before = CommentContent(comment);
  Carets carets{0, CommentUnitCount(before.root)};
  if (comment == gEditing.comment) carets = Carets{gEditing.anchor, gEditing.caret};
  const Carets was = carets;
  CommentTree after = before;
  edit(after.root, carets);
  const int32_t units = CommentUnitCount(after.root);
  carets.anchor = std::clamp(carets.anchor, 0, units);
  carets.caret = std::clamp(carets.caret, 0, units);
  gCommentContent.setContent(comment, std::move(after));
  KeepForUndo(comment, before, was, typing);
  gSnapshot.currentAnchor = carets.anchor;
  gSnapshot.currentCaret = carets.caret;
  if (comment == gEditing.comment) {
    gEditing.anchor = carets.anchor;
    gEditing.caret = carets.caret;
    gGoalX = -1;
  }
  ShowChange(comment);
}

// Typed text replaces the selection; it takes the look chosen for it, or
// that of its neighbour.
void TypeNode(CommentNode node) {
  const NodeStyle style = gEditing.typingStyle.value_or(
      StyleAtUnit(CommentContent(gEditing.comment).root, gEditing.From()));
  node.style = style;
  ChangeComment(gEditing.comment, true, [&](CommentNode& root, Carets& c) {
    DeleteCommentUnits(root, c.From(), c.To());
    const int32_t at = InsertCommentNodes(root, c.From(), {std::move(node)});
    c = Carets{at, at};
  });
  gEditing.typingStyle.reset();
}

void TypeCharacter(uint8_t c) {
  switch (c) {
    case ' ':
      TypeNode(MakeCommentSpace());
      return;
    case '\t':
      TypeNode(MakeCommentTab());
      return;
    default:
      TypeNode(MakeCommentWord(std::string(1, static_cast<char>(c))));
      return;
  }
}

void BreakLine() {
  ChangeComment(gEditing.comment, true, [](CommentNode& root, Carets& c) {
    DeleteCommentUnits(root, c.From(), c.To());
    BreakCommentLine(root, c.From());
    c = Carets{c.From() + 1, c.From() + 1};
  });
}

// Backspace (forward = false) and Delete: the selection, else one unit.
void DeleteUnits(bool forward) {
  Carets target{gEditing.anchor, gEditing.caret};
  if (!gEditing.HasRange()) {
    const int32_t caret = gEditing.caret;
    if (forward ? caret >= UnitCount(gEditing.comment) : caret <= 0) return;
    target = forward ? Carets{caret, caret + 1} : Carets{caret - 1, caret};
  }
  ChangeComment(gEditing.comment, true, [&](CommentNode& root, Carets& c) {
    DeleteCommentUnits(root, target.From(), target.To());
    c = Carets{target.From(), target.From()};
  });
}

// --- Clipboard ---

void CopyRange() {
  if (!gEditing.HasRange()) return;
  const CommentTree tree = CommentContent(gEditing.comment);
  const std::string text =
      PlainTextFromComment(CopyCommentUnits(tree.root, gEditing.From(), gEditing.To()));
  CurrentPlatform().SetClipboardText(ProgramTextToUtf8(text));
}

// Clipboard text holding a comment form (a comment copied from a notebook)
// keeps its looks; other text is typed in the look at the caret.
void PasteText() {
  const std::string text = Utf8ToProgramText(CurrentPlatform().ClipboardText());
  if (text.empty()) return;
  const NodeStyle style = gEditing.typingStyle.value_or(
      StyleAtUnit(CommentContent(gEditing.comment).root, gEditing.From()));
  std::optional<CommentTree> form = FindCommentForm(text);
  const CommentTree pasted = form ? std::move(*form) : CommentFromPlainText(text, style);
  ChangeComment(gEditing.comment, false, [&](CommentNode& root, Carets& c) {
    DeleteCommentUnits(root, c.From(), c.To());
    const int32_t at = InsertCommentContent(root, c.From(), pasted.root);
    c = Carets{at, at};
  });
}

// --- Looks ---

using LookChange = std::function<void(NodeStyle&)>;

bool AllHave(Handle comment, const Carets& range, int attribute) {
  bool all = true;
  VisitCommentUnits(
      CommentContent(comment).root, range.From(), range.To(),
      [&](const CommentNode& node) { all = all && node.style.record.Bits().a[attribute] != 0; });
  return all;
}

LookChange SetAttribute(int attribute, bool on) {
  return [attribute, on](NodeStyle& style) {
    StyleBits bits = style.record.Bits();
    bits.a[attribute] = on ? 1 : 0;
    style.record.SetBits(bits);
  };
}

LookChange SetColour(uint8_t colour) {
  return [colour](NodeStyle& style) { style.colour = colour; };
}

// The look a command starts from: the typing look at a caret, the first
// node's look in a range.
NodeStyle LookOf(Handle comment, const Carets& range, bool atCaret) {
  const CommentTree tree = CommentContent(comment);
  if (atCaret && gEditing.typingStyle) return *gEditing.typingStyle;
  if (atCaret) return StyleAtUnit(tree.root, range.From());
  std::optional<NodeStyle> first;
  VisitCommentUnits(tree.root, range.From(), range.To(), [&](const CommentNode& node) {
    if (!first) first = node.style;
  });
  return first.value_or(StyleAtUnit(tree.root, range.From()));
}

// The colour a colour code or menu item names: the Comment Color menu's
// item (code & 0xFF).
std::optional<uint8_t> MenuColour(CommandCode code) {
  const auto id = static_cast<MenuCommandId>((kMenuCommentColor << 8) | (code & 0xFF));
  const MenuItem* item = FindMenuItem(id);
  if (item == nullptr || item->action != CommandAction::kSetCommentColor) return std::nullopt;
  const int32_t rgb = item->param;
  return PackColour(Rgb{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                        static_cast<uint8_t>(rgb)});
}

// What a look code does to the text of comment in range; empty when it does
// nothing (an unknown style, a dialog cancelled).
LookChange LookChangeFor(CommandCode code, Handle comment, const Carets& range, bool atCaret) {
  if (code == kCmdCommentFont) {
    const NodeStyle now = LookOf(comment, range, atCaret);
    FontChoice initial{ResolvedFontName(now.record.FontName()), now.record.Size()};
    if (initial.points <= 0) initial.points = kDefaultCommentSize;
    std::optional<FontChoice> chosen = CurrentPlatform().AskCommentFont(initial);
    if (!chosen || chosen->family.empty() || chosen->points <= 0) return {};
    const int32_t points = std::min(chosen->points, kMaxCommentPoints);
    const std::string family = chosen->family;
    return [family, points](NodeStyle& style) {
      style.record.SetFontName(family);
      style.record.SetSize(points);
      style.fontClass = family == "Symbol" ? kFontClassSymbol : kFontClassText;
    };
  }
  if ((code & 0xFF00) == kCmdCommentColorBase) {
    std::optional<uint8_t> colour = MenuColour(code);
    if (!colour) return {};
    return SetColour(*colour);
  }
  int attribute = 0;
  switch (code - kCmdCommentStyleBase) {
    case kStylePlain:
      return [](NodeStyle& style) {
        StyleBits bits = style.record.Bits();
        bits.a = {};
        style.record.SetBits(bits);
      };
    case kStyleBold:
      attribute = 0;
      break;
    case kStyleItalic:
      attribute = 1;
      break;
    case kStyleUnderline:
      attribute = 2;
      break;
    default:
      return {};
  }
  // Each style turns off when all the text already has it.
  const bool on = atCaret ? LookOf(comment, range, true).record.Bits().a[attribute] == 0
                          : !AllHave(comment, range, attribute);
  return SetAttribute(attribute, on);
}

// A look change on the edited comment: its selection, or the typing look at
// its caret.
void ApplyLook(const LookChange& change) {
  if (!change) return;
  if (!gEditing.HasRange()) {
    NodeStyle style = LookOf(gEditing.comment, Carets{gEditing.anchor, gEditing.caret}, true);
    change(style);
    gEditing.typingStyle = style;
    return;
  }
  ChangeComment(gEditing.comment, false, [&](CommentNode& root, Carets& c) {
    RestyleCommentUnits(root, c.From(), c.To(), change);
  });
}

// A look change on the whole text of every selected comment, as the first
// of them asks for it (a dialog is shown once).
void ApplyLookToSelected(const std::function<LookChange(Handle, const Carets&)>& changeFor) {
  std::vector<Handle> comments;
  for (const Selection& record : SelectionList())
    if (IsComment(record.obj)) comments.push_back(record.obj);
  if (comments.empty()) Raise(kMsgCommentSelectionsOnly);
  const LookChange change = changeFor(comments.front(), Carets{0, UnitCount(comments.front())});
  if (!change) return;
  for (Handle comment : comments) {
    ChangeComment(comment, false, [&](CommentNode& root, Carets& c) {
      RestyleCommentUnits(root, c.From(), c.To(), change);
    });
  }
}

// A look command: on the edited comment when there is one, else on the
// selected comments.
void ApplyLookCommand(bool editing,
                      const std::function<LookChange(Handle, const Carets&, bool)>& changeFor) {
  if (editing) {
    const Carets range{gEditing.anchor, gEditing.caret};
    ApplyLook(changeFor(gEditing.comment, range, !gEditing.HasRange()));
    return;
  }
  ApplyLookToSelected(
      [&](Handle comment, const Carets& whole) { return changeFor(comment, whole, false); });
}

// --- Moving ---

// The Style menu's check marks follow the edited comment: the look at its
// caret, or the attributes its whole selection has; nothing is checked when
// no comment is being edited.
void ShowLookInMenus() {
  std::array<bool, 3> has{};  // bold, italic, underline
  if (gEditing.comment != nullptr) {
    const Carets range{gEditing.anchor, gEditing.caret};
    const StyleBits bits = LookOf(gEditing.comment, range, !gEditing.HasRange()).record.Bits();
    for (int attribute = 0; attribute < 3; ++attribute)
      has[attribute] = gEditing.HasRange() ? AllHave(gEditing.comment, range, attribute)
                                           : bits.a[attribute] != 0;
  }
  const bool plain = gEditing.comment != nullptr && !has[0] && !has[1] && !has[2];
  CheckMenuCommand(kMenuStylePlain, plain);
  CheckMenuCommand(kMenuStyleBold, has[0]);
  CheckMenuCommand(kMenuStyleItalic, has[1]);
  CheckMenuCommand(kMenuStyleUnderline, has[2]);
}

void MoveCaret(int32_t to, bool extend) {
  to = std::clamp(to, 0, UnitCount(gEditing.comment));
  gEditing.caret = to;
  if (!extend) gEditing.anchor = to;
  gEditing.typingStyle.reset();
  gTypingRun = false;
}

int32_t LineMove(CommentLineMove move) {
  const CommentTree tree = CommentContent(gEditing.comment);
  int32_t result = gEditing.caret;
  if (gCommentGeometry.lineMove(gEditing.comment, tree, gEditing.caret, move, gGoalX, result))
    return result;
  // Not on display: by the comment's own lines, keeping the column.
  const std::vector<CommentLine> lines = CommentLines(tree.root);
  const size_t li = LineOfUnit(lines, gEditing.caret);
  const CommentLine& line = lines[li];
  // Up and down keep the column a run of them began in.
  if (gGoalX < 0) gGoalX = gEditing.caret - line.firstUnit;
  const int32_t column = gGoalX;
  switch (move) {
    case CommentLineMove::kLineStart:
      return line.firstUnit;
    case CommentLineMove::kLineEnd:
      return line.firstUnit + line.units;
    case CommentLineMove::kUp:
      if (li == 0) return 0;
      return lines[li - 1].firstUnit + std::min(column, lines[li - 1].units);
    case CommentLineMove::kDown:
      if (li + 1 == lines.size()) return line.firstUnit + line.units;
      return lines[li + 1].firstUnit + std::min(column, lines[li + 1].units);
  }
  return gEditing.caret;
}

// Up and down keep aiming at the place where a run of them began.
void MoveByLine(CommentLineMove move, bool extend) {
  MoveCaret(LineMove(move), extend);
  if (move != CommentLineMove::kUp && move != CommentLineMove::kDown) gGoalX = -1;
}

void MoveSideways(int step, bool extend) {
  if (gEditing.HasRange() && !extend) {
    MoveCaret(step < 0 ? gEditing.From() : gEditing.To(), false);
  } else {
    MoveCaret(gEditing.caret + step, extend);
  }
  gGoalX = -1;
}

// End and Escape share their code: at the end of a line it leaves the
// comment, elsewhere it goes to the end of the line.
void EndOrLeave() {
  const int32_t end = LineMove(CommentLineMove::kLineEnd);
  if (!gEditing.HasRange() && gEditing.caret == end) {
    EndCommentEditing();
    return;
  }
  MoveCaret(end, false);
  gGoalX = -1;
}

void NewCommentAfter() {
  NotebookView* view = gEditing.view;
  Handle comment = gEditing.comment;
  RunCommand(*view, false, [&] {
    Handle next = gCommentEditor.newComment();
    InsertAfter(next, comment);
    ClearSelection();
    AppendSelection(next, kPosWhole);
    gEditing = CommentEditing{view, next, 0, 0, std::nullopt};
    Command().scroll = true;
  });
}

void IndentComment(bool right) {
  Handle comment = gEditing.comment;
  RunCommand(*gEditing.view, false, [&] {
    const Handle objects[] = {comment};
    if (right) {
      IndentRight(objects);
    } else {
      IndentLeft(objects);
    }
  });
}

bool IsLookCode(CommandCode code) {
  return (code & 0xFF00) == kCmdCommentStyleBase || code == kCmdCommentFont ||
         (code & 0xFF00) == kCmdCommentColorBase;
}

// --- Hooks ---

bool EditingHook() {
  return EditedComment() != nullptr;
}

void BeginHook(Handle comment, CommandCode code) {
  if (!IsComment(comment) || FrontView() == nullptr) return;
  const int32_t units = UnitCount(comment);
  gClickPending = false;
  gGoalX = -1;
  // Select In and a new comment take all of the text; typing goes on at its end.
  gEditing = CommentEditing{FrontView(), comment, code == 0 ? 0 : units, units, std::nullopt};
  if (IsLookCode(code)) gEditing.anchor = 0;
  if (code != 0) PerformCommentCode(code);
  ShowLookInMenus();
}

void EndHook() {
  if (gClickPending) {
    gClickPending = false;
    return;
  }
  gEditing = CommentEditing{};
  ShowLookInMenus();
}

bool SnapshotHeld(UndoOwner front) {
  return gSnapshot.held && gSnapshot.view == front && gSnapshot.view == FrontView();
}

// Undo exchanges the snapshot with the comment's tree and goes on editing
// the comment with the caret that belongs to the tree put back.
void UndoSnapshot(UndoOwner) {
  Handle comment = gSnapshot.comment;
  CommentTree current = CommentContent(comment);
  gCommentContent.setContent(comment, std::move(gSnapshot.tree));
  gSnapshot.tree = std::move(current);
  std::swap(gSnapshot.anchor, gSnapshot.currentAnchor);
  std::swap(gSnapshot.caret, gSnapshot.currentCaret);
  gTypingRun = false;
  EditComment(comment, gSnapshot.currentAnchor, gSnapshot.currentCaret);
  ShowChange(comment);
  Reveal();
}

void ClearSnapshot() {
  gSnapshot = Snapshot{};
  gTypingRun = false;
}

}  // namespace

CommentContentHooks gCommentContent = {&NoContent, &RefuseContent};
CommentGeometryHooks gCommentGeometry = {&NoGeometry};

const CommentEditing* EditedComment() {
  if (gEditing.comment == nullptr || gEditing.view == nullptr || gEditing.view != FrontView() ||
      !Listed(gEditing.view, gEditing.comment))
    return nullptr;
  return &gEditing;
}

CommentTree CommentContent(Handle comment) {
  if (const CommentTree* tree = gCommentContent.content(comment)) return *tree;
  return NewCommentTree();
}

void EditComment(Handle comment, int32_t anchor, int32_t caret) {
  NotebookView* view = FrontView();
  if (view == nullptr) InternalError("Select_Nowin");
  const int32_t units = UnitCount(comment);
  gClickPending = false;
  ClearSelection();
  AppendSelection(comment, kPosWhole);
  gEditing = CommentEditing{view, comment, std::clamp(anchor, 0, units),
                            std::clamp(caret, 0, units), std::nullopt};
  gGoalX = -1;
  ShowLookInMenus();
}

void ClickComment(Handle comment, int32_t anchor, int32_t caret) {
  const int32_t units = UnitCount(comment);
  gEditing = CommentEditing{FrontView(), comment, std::clamp(anchor, 0, units),
                            std::clamp(caret, 0, units), std::nullopt};
  gClickPending = true;
  gTypingRun = false;
  gGoalX = -1;
  ShowLookInMenus();
}

void EndCommentEditing() {
  gClickPending = false;
  gEditing = CommentEditing{};
  ShowLookInMenus();
}

bool IsCommentOnlyCode(CommandCode code) {
  return IsLookCode(code);
}

void PerformCommentCode(CommandCode code) {
  if (gEditing.comment == nullptr) return;
  // Whichever way the command ends, the Style menu shows the look it left.
  struct ShowLookAfter {
    ~ShowLookAfter() { ShowLookInMenus(); }
  } showLookAfter;
  code = NormaliseCode(code);
  const bool extend = CurrentModifiers().shift;
  if (IsLookCode(code)) {
    ApplyLookCommand(true, [code](Handle comment, const Carets& range, bool atCaret) {
      return LookChangeFor(code, comment, range, atCaret);
    });
    return;
  }
  switch (code) {
    case kCmdMoveLeft:
      MoveSideways(-1, extend);
      break;
    case kCmdMoveRight:
      MoveSideways(1, extend);
      break;
    case kCmdMoveUp:
      MoveByLine(CommentLineMove::kUp, extend);
      break;
    case kCmdMoveDown:
      MoveByLine(CommentLineMove::kDown, extend);
      break;
    case kCmdSelectFirst:
      MoveByLine(CommentLineMove::kLineStart, extend);
      break;
    case kCmdCaretAfterOperand:
      EndOrLeave();
      return;
    case kCmdSelectOut:
      EndCommentEditing();
      return;
    case kCmdSelectAll:
    case kCmdSelectEverything:
      gEditing.anchor = 0;
      MoveCaret(UnitCount(gEditing.comment), true);
      break;
    case kCmdSelectIn:
      break;
    case kCmdCopy:
      CopyRange();
      return;
    case kCmdCut:
      CopyRange();
      if (gEditing.HasRange()) DeleteUnits(false);
      break;
    case kCmdPaste:
      PasteText();
      break;
    case kCmdCopyAsPicture:
      return;
    case kCmdBackspace:
      DeleteUnits(false);
      break;
    case kCmdClear:
      DeleteUnits(true);
      break;
    case kCmdNewAssumption:
      BreakLine();
      break;
    case kCmdNewComment:
      NewCommentAfter();
      return;
    case kCmdNextQuestionMark:
      TypeCharacter('\t');
      break;
    case kCmdIndentLeft:
    case kCmdIndentRight:
      IndentComment(code == kCmdIndentRight);
      break;
    default: {
      const CommandCode c = TranslateCode(code);
      if (c == 8) {
        DeleteUnits(false);
      } else if (c == 0x7F) {
        DeleteUnits(true);
      } else if (c == '\n' || c == '\r') {
        BreakLine();
      } else if (c == '\t' || (c >= 0x20 && c <= 0xFF)) {
        TypeCharacter(static_cast<uint8_t>(c));
      } else {
        return;
      }
      break;
    }
  }
  Reveal();
}

void PerformOnSelectedComments(CommandCode code) {
  ApplyLookToSelected([code](Handle comment, const Carets& whole) {
    return LookChangeFor(code, comment, whole, false);
  });
}

void SetCommentColour(int32_t rgb) {
  const uint8_t colour = PackColour(Rgb{static_cast<uint8_t>(rgb >> 16),
                                        static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)});
  ApplyLookCommand(EditedComment() != nullptr,
                   [colour](Handle, const Carets&, bool) { return SetColour(colour); });
}

void ChooseCommentColour() {
  ApplyLookCommand(EditedComment() != nullptr,
                   [](Handle comment, const Carets& range, bool atCaret) -> LookChange {
                     const Rgb now = UnpackColour(LookOf(comment, range, atCaret).colour);
                     std::optional<ColorChoice> chosen = CurrentPlatform().AskColor(
                         kChooseColourPrompt, ColorChoice{now.red, now.green, now.blue});
                     if (!chosen) return {};
                     return SetColour(PackColour(Rgb{chosen->red, chosen->green, chosen->blue}));
                   });
}

void RegisterCommentEditing() {
  gCommentEditor.editing = &EditingHook;
  gCommentEditor.perform = &PerformCommentCode;
  gCommentEditor.begin = &BeginHook;
  gCommentEditor.end = &EndHook;
  gUndoHooks.commentUndoPending = &SnapshotHeld;
  gUndoHooks.commentUndo = &UndoSnapshot;
  gUndoHooks.clearCommentSnapshot = &ClearSnapshot;
  RegisterCommand(CommandAction::kSetCommentColor, [](int32_t rgb) { SetCommentColour(rgb); });
  RegisterCommand(CommandAction::kChooseCommentColor, [](int32_t) { ChooseCommentColour(); });
  // A comment that goes away takes its editing and its snapshot with it.
  if (gDisposeComment == nullptr && gDisposeTable.Has(kComment)) {
    gDisposeComment = gDisposeTable.Entry(kComment);
    gDisposeTable.Set(kComment, &DisposeWatched);
  }
}

}  // namespace lemmabox
