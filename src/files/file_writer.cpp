#include "files/file_writer.h"

#include <algorithm>

#include "editor/comment_writer.h"
#include "editor/compact_integer.h"
#include "editor/perform.h"
#include "files/comment_store.h"
#include "files/file_records.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

constexpr char kMarker = '~';
// Contingency records carry at most this many (the reader's limit).
constexpr int kMaxContingencies = 30000;

bool gWritingFile = false;

class WritingFile {
 public:
  WritingFile() : saved_(gWritingFile) { gWritingFile = true; }
  ~WritingFile() { gWritingFile = saved_; }
  WritingFile(const WritingFile&) = delete;
  WritingFile& operator=(const WritingFile&) = delete;

 private:
  bool saved_;
};

void Record(TextWriter& w, char tag) {
  w.Put(kMarker);
  w.Put(tag);
}

// "(" expression ")"
void WriteParenthesised(Handle expr, TextWriter& w) {
  w.Put('(');
  WriteObj(expr, w);
  w.Put(')');
}

// --- The header ---

void WriteHeader(Handle main, const WindowPlacement& window, std::string& out) {
  AppendFormat(out, "%cv%d %d ", kMarker, kFileFormatVersion, kOldestReaderVersion);
  AppendFormat(out, "%cw%ld %ld %ld %ld ", kMarker, long{window.top}, long{window.left},
               long{window.height}, long{window.width});
  AppendFormat(out, "%ld %ld %ld %ld ", long{window.verticalScroll},
               long{std::max(0, window.verticalExtent)}, long{window.horizontalScroll},
               long{std::max(0, window.horizontalExtent)});

  const NotebookRecord& record = NotebookRecordOf(main);
  const NotebookPrefs& p = record.prefs;
  const CarriedPreferences& c = p.carried;
  const NotebookStyle& s = record.style;
  // A text field cannot carry its own quote.
  auto text = [&](const char* field) {
    out.push_back('"');
    for (const char* q = field; *q != '\0'; ++q)
      if (*q != '"' && *q != '\n' && *q != '\r') out.push_back(*q);
    out.append("\" ");
  };
  AppendFormat(out, "%cf? %d %d %d\n", kMarker, c.headerWords[0], c.headerWords[1],
               c.headerWords[2]);
  AppendFormat(out, "? %d %d %d %d ", s.iconMode, p.paletteShown, p.autoSimplify, p.autoCasing);
  out.append("? ? ? ");
  text(c.leadingText);
  AppendFormat(out, "? ? ? %d ? ", c.flagAfterText);
  AppendFormat(out, "%d %d\n", p.fortranish, p.paletteAutoToggle);
  out.append("\"Times\" 12 ? ? ");
  AppendFormat(out, "%d %d ", s.significantDigits, s.autoCollapse);
  text(p.constantBase);
  text(p.integerBase);
  AppendFormat(out, "%ld ", long{p.arbitrarySerial});
  AppendFormat(out, "%d %d %d ", c.flagBeforeAlwaysRedraw, p.alwaysRedraw, c.byteAfterAlwaysRedraw);
  text(p.variableBase);
  AppendFormat(out, "%d\n", c.wordAfterVariableBase);
  // The style table: the notebook's fonts and the display settings that are
  // not preferences of their own above.
  text(s.fontFamily);
  AppendFormat(out, "%ld %ld %ld %d %d %ld ", long{s.mainSize}, long{s.smallerSize},
               long{s.smallestSize}, s.useItalics, s.zeroIntegralsDiffer, long{s.portFontWord});
  out.push_back('\n');
  AppendFormat(out, "%d %d ", c.wordBeforeShowSteps, p.showSteps);
  AppendFormat(out, "%d %d %d %d ", p.enterKeys.returnKey, p.enterKeys.enterKey,
               p.enterKeys.shiftReturn, p.enterKeys.shiftEnter);
  AppendFormat(out, "%d ", p.alwaysReManipulate);
  AppendFormat(out, "%d %d %d ", c.bytesAfterAlwaysReManipulate[0],
               c.bytesAfterAlwaysReManipulate[1], c.bytesAfterAlwaysReManipulate[2]);
  AppendFormat(out, "%d %d\n", c.byteBeforeLineEnd, c.wordBeforeLineEnd);
  AppendFormat(out, "%ld ", long{c.colour[0]} * 65536 + c.colour[1] * 256 + c.colour[2]);
  AppendFormat(out, "%d %d %d %d %d ", p.autoSave, c.wordAfterAutoSave, c.flagAfterAutoSave,
               p.withBlankSlots, c.wordAfterBlankSlots);
  AppendFormat(out, "%d %d %d %d ", c.words[0], c.words[1], c.words[2], c.words[3]);
  AppendFormat(out, "%d %d ", p.guessWorkingStmts, p.rippleChangesImmediately);
  out.append("? ? \n");
}

// --- Contingency and derivation records ---

// The position of obj: at each level up to the Main Theory, its index among
// its container's propositions, innermost first, then -1. An object that
// cannot be placed is "-1" alone.
void WritePath(Handle obj, Handle main, std::string& out) {
  std::vector<int> words;
  bool placed = false;
  for (Handle h = obj; h != nullptr;) {
    Handle parent = ObjParent(h);
    if (parent == nullptr || !IsContainerType(ObjType(parent))) break;
    const int index = ObjSlotIndex(h) - FirstProp(parent);
    if (index < 0) break;
    words.push_back(index);
    if (parent == main) {
      placed = true;
      break;
    }
    h = parent;
  }
  if (!placed) {
    CurrentPlatform().Beep();
    words.clear();
  }
  for (int word : words) AppendFormat(out, "%d ", word);
  out.append("-1 ");
}

void CollectConclusions(Handle container, std::vector<Handle>& out) {
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop == nullptr) continue;
    if (ObjType(prop) == kConclusion) out.push_back(prop);
    if (IsTheoryType(ObjType(prop))) CollectConclusions(prop, out);
  }
}

void WriteContingencyRecords(Handle main, TextWriter& w) {
  std::vector<Handle> conclusions;
  CollectConclusions(main, conclusions);
  for (Handle conclusion : conclusions) {
    Handle list = ContingenciesOf(conclusion);
    const int n = std::min(ContingencyCount(list), kMaxContingencies);
    AppendFormat(w.out, "%cc%d\n", kMarker, n);
    WritePath(conclusion, main, w.out);
    for (int i = 0; i < n; ++i) WritePath(ContingencyAt(list, i), main, w.out);
    w.ResetBreak();
  }
}

void WriteDerivation(Handle conclusion, TextWriter& w) {
  Record(w, 's');
  for (Handle step : DerivationSteps(conclusion)) {
    const DerivationStep& s = StepOf(step);
    AppendCompactInteger(w.out, s.manipulation);
    AppendCompactInteger(w.out, s.pathLength);
    AppendCompactInteger(w.out, s.autoSimplify);
    AppendCompactInteger(w.out, s.autoCasing);
    AppendCompactInteger(w.out, s.answer);
    const int32_t* path = StepPath(step);
    for (int32_t i = 0; i < s.pathLength; ++i) AppendCompactInteger(w.out, path[i]);
    w.Put("}\n");
  }
  int32_t state = IsStale(conclusion) ? 1 : 0;
  if (ErrorNumber(conclusion) != 0) state |= 2;
  AppendCompactInteger(w.out, -2);
  AppendCompactInteger(w.out, state);
  AppendCompactInteger(w.out, -1);
}

// --- Proposition writers ---

char ClassCharacter(Handle decl) {
  switch (DeclClass(decl)) {
    case kNameConstant:
      return 'c';
    case kNameVariable:
      return 'v';
    case kNameMLinearOperator:
      return 'm';
    case kNameDLinearOperator:
      return 'd';
    case kNameFunction:
      return 'f';
    default:
      return '-';
  }
}

void WriteStatement(Handle prop, TextWriter& w) {
  Record(w, 'A');
  WriteParenthesised(ObjCount(prop) > 0 ? ObjSlot(prop, 0) : nullptr, w);
  WriteTrailer(prop, w);
  if (IsWorkingStatement(prop)) Record(w, 'd');
  if (ObjType(prop) == kConclusion) WriteDerivation(prop, w);
}

void WritePageBreak(Handle prop, TextWriter& w) {
  Record(w, 'B');
  w.Put('?');
  WriteTrailer(prop, w);
}

void WriteDeclaration(Handle decl, TextWriter& w) {
  AppendFormat(w.out, "%cV?%c%d ", kMarker, ClassCharacter(decl), DeclBehaviour(decl));
  WriteParenthesised(ObjSlot(decl, 0), w);
  WriteTrailer(decl, w);
}

void WriteIndependence(Handle decl, TextWriter& w) {
  Record(w, 'I');
  w.Put(IndependencePopup(decl).item == kIndependentOfAllVariables ? 'a' : 'e');
  WriteParenthesised(ObjSlot(decl, 0), w);
  WriteTrailer(decl, w);
}

void WriteRule(Handle rule, TextWriter& w) {
  Record(w, 'H');
  const int item = RulePopup(rule).item;
  w.Put(item == kRuleSimplify ? 's' : item == kRuleExpand ? 'e' : 't');
  WriteParenthesised(ObjSlot(rule, 0), w);
  w.Put(':');
  WriteParenthesised(ObjSlot(rule, 1), w);
  WriteTrailer(rule, w);
}

void WriteCommentEntry(Handle comment, TextWriter& w) {
  Record(w, 'Q');
  w.Put('\n');
  const CommentTree* tree = CommentContentOf(comment);
  WriteComment(tree != nullptr ? *tree : NewCommentTree(), w.out);
  WriteTrailer(comment, w);
}

void WriteCaseTheory(Handle theory, TextWriter& w) {
  Record(w, 'T');
  WriteContainerContents(theory, w);
  Record(w, 't');
  WriteTrailer(theory, w);
}

// The Main Theory writes no record of its own: its propositions, then the
// contingencies of its conclusions, then the end record.
void WriteMainTheory(Handle main, TextWriter& w) {
  WriteContainerContents(main, w);
  WriteContingencyRecords(main, w);
  Record(w, 'e');
  w.Put('\n');
}

// A picture entry has no typing script; it is left out rather than losing
// the whole notebook.
void WriteNothing(Handle, TextWriter&) {}

std::string WithFileLineEnds(const std::string& text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 32);
  for (char c : text) {
    if (c == '\n') bytes.push_back('\r');
    bytes.push_back(c);
  }
  return bytes;
}

}  // namespace

void WriteTrailer(Handle prop, TextWriter& w) {
  const int flags = (HasFlag(prop, kFlagCollapsed) ? 1 : 0) | (HasFlag(prop, kFlagLocked) ? 2 : 0);
  AppendFormat(w.out, "%cp%d\n%d ", kMarker, flags, Indentation(prop));
  w.ResetBreak();
}

void WriteContainerContents(Handle container, TextWriter& w) {
  const int first = FirstObjSlot(container);
  const int props = FirstProp(container);
  for (int i = first; i < ObjCount(container); ++i) {
    Handle child = ObjSlot(container, i);
    if (i < props) {
      if (i > first) w.Put(':');
      WriteParenthesised(child, w);
    } else if (child != nullptr) {
      WriteObj(child, w);
    }
  }
}

bool WritingNotebookFile() {
  return gWritingFile;
}

std::string NotebookText(Handle mainTheory, const WindowPlacement& window) {
  if (mainTheory == nullptr || ObjType(mainTheory) != kMainTheory) InternalError("NotebookText");
  WritingFile writing;
  std::string text;
  WriteHeader(mainTheory, window, text);
  TextWriter writer(text);
  WriteObj(mainTheory, writer);
  return text;
}

std::string NotebookFileBytes(Handle mainTheory, const WindowPlacement& window) {
  return WithFileLineEnds(NotebookText(mainTheory, window));
}

void WriteNotebookFile(Handle mainTheory, const std::string& path) {
  WriteNotebookFileAt(mainTheory, path, WindowPlacement{});
}

void WriteNotebookFileAt(Handle mainTheory, const std::string& path,
                         const WindowPlacement& window) {
  if (FrontView() != nullptr && FrontView()->notebook == mainTheory) CommitPendingEdits();
  // The whole text is made before the disk is touched: a failure while
  // writing leaves the old file as it was.
  const std::string bytes = NotebookFileBytes(mainTheory, window);
  if (!ReplaceFileDurably(path, bytes)) Raise(kMsgFileAccessDenied);
}

void RegisterNotebookWriters() {
  OpTable<TextExportFn>& t = gTextExportTable;
  t.Set(kAssumption, &WriteStatement);
  t.Set(kConclusion, &WriteStatement);
  t.Set(kPageBreak, &WritePageBreak);
  t.Set(kDeclaration, &WriteDeclaration);
  t.Set(kIndependence, &WriteIndependence);
  t.Set(kRule, &WriteRule);
  t.Set(kComment, &WriteCommentEntry);
  t.Set(kCaseTheory, &WriteCaseTheory);
  t.Set(kMainTheory, &WriteMainTheory);
  t.Set(kPicture, &WriteNothing);
  RegisterGraphWriters();
}

}  // namespace lemmabox
