// Undo after editing commands, editing several selections at once, and
// editing a conclusion (which moves the edit into a new assumption).
#include <gtest/gtest.h>

#include <vector>

#include "editing_helpers.h"
#include "editor/editor_hooks.h"
#include "editor/positions.h"
#include "editor/undo.h"
#include "mathobj/types.h"
#include "notebook/derivation.h"
#include "notebook/propositions.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

TypingOptions Interactive() {
  return {.fortranish = false};
}

using Statements = std::vector<std::string>;

TEST(UndoEditing, EachCommandIsTakenBackAndRedone) {
  struct Case {
    const char* script;
    const char* select;  // a name, "" the statement, "#t" the first object of type t
    int32_t position;
    CommandCode code;
  };
  const Case cases[] = {
      {"a+b", "b", kPosCaretAfter, TypeCharCommand('+')},
      {"a+b", "b", PackRange(1, 1), TypeCharCommand('c')},
      {"a+b", "", kPosWhole, TypeCharCommand('*')},
      {"a+b+c", "", PackRange(1, 2), kCmdBackspace},
      {"abc", "abc", PackRange(2, 2), kCmdBackspace},
      {"xy", "xy", PackRange(1, 1), TypeCharCommand(' ')},
      {"x", "x", kPosWhole, kCmdTemplatePower},
      {"x", "x", kPosWhole, kCmdNewAssumption},
      {"x", "", kPosWhole, MatrixCommand(2, 2)},
      {"1,2", "", kPosWhole, kCmdNewMatrixRow},
      {"x<y", "y", kPosWhole, TypeCharCommand('=')},
      {"x^2", "#^", kPosWhole, kCmdClear},
  };
  for (const Case& c : cases) {
    TypingSession s(Interactive());
    s.Type(c.script);
    const Statements before = s.Statements();
    Handle target = s.Statement();
    if (c.select[0] == '#') {
      target = FindType(target, static_cast<TypeCode>(c.select[1]));
    } else if (*c.select) {
      target = FindName(target, c.select);
    }
    ASSERT_NE(target, nullptr) << c.script;
    s.Select(target, c.position);
    s.Press(c.code);
    const Statements after = s.Statements();
    EXPECT_NE(after, before) << c.script << " " << std::hex << c.code;
    s.Press("Undo");
    EXPECT_EQ(s.Statements(), before) << c.script << " " << std::hex << c.code;
    s.Press("Undo");
    EXPECT_EQ(s.Statements(), after) << c.script << " " << std::hex << c.code;
  }
}

TEST(UndoEditing, DeletedPropositionsComeBackInPlace) {
  TypingSession s(Interactive());
  s.Type("a{Return}b{Return}c");
  Handle notebook = s.Notebook();
  Handle second = nullptr;
  for (int i = FirstProp(notebook); i < ObjCount(notebook); ++i) {
    Handle prop = ObjSlot(notebook, i);
    if (ObjType(prop) == kAssumption && FindName(prop, "b") != nullptr) second = prop;
  }
  ASSERT_NE(second, nullptr);
  s.Select(second);
  s.Press("Backspace");
  EXPECT_EQ(s.Statements(), (Statements{"a", "c"}));
  s.Press("Undo");
  EXPECT_EQ(s.Statements(), (Statements{"a", "b", "c"}));
}

TEST(UndoEditing, SeveralSelectionsAreEditedTogether) {
  TypingSession s(Interactive());
  s.Type("?{Return}?{Return}?");
  std::vector<Selection> marks;
  for (int i = FirstProp(s.Notebook()); i < ObjCount(s.Notebook()); ++i)
    marks.push_back({StatementOf(ObjSlot(s.Notebook(), i)), kPosWhole});
  ASSERT_EQ(marks.size(), 3u);
  s.View().selections = marks;
  s.Type("x+1");
  EXPECT_EQ(s.Statements(), (Statements{"x+1", "x+1", "x+1"}));
  EXPECT_EQ(s.View().selections.size(), 3u);
  // Fewer than four selections: the command can be undone.
  s.Press("Undo");
  EXPECT_EQ(s.Statements(), (Statements{"x+?", "x+?", "x+?"}));
}

TEST(UndoEditing, FourOrMoreSelectionsCannotBeUndone) {
  TypingSession s(Interactive());
  s.Type("?{Return}?{Return}?{Return}?");
  std::vector<Selection> marks;
  for (int i = FirstProp(s.Notebook()); i < ObjCount(s.Notebook()); ++i)
    marks.push_back({StatementOf(ObjSlot(s.Notebook(), i)), kPosWhole});
  ASSERT_EQ(marks.size(), 4u);
  s.View().selections = marks;
  s.Type("y");
  EXPECT_EQ(UndoEntryCount(), 0);
  s.Press("Undo");
  EXPECT_EQ(s.Statements(), (Statements{"y", "y", "y", "y"}));
}

std::vector<Handle> gChanged;

TEST(UndoEditing, EditingAConclusionMovesTheEditIntoANewAssumption) {
  gChanged.clear();
  gEditorHooks.propositionChanged = [](Handle prop) { gChanged.push_back(prop); };
  TypingSession s(Interactive());
  s.Type("a+b{Return}c");
  Handle notebook = s.Notebook();
  Handle source = s.LastProposition();
  Handle conclusion = nullptr;
  for (int i = FirstProp(notebook); i < ObjCount(notebook); ++i) {
    Handle prop = ObjSlot(notebook, i);
    if (ObjType(prop) == kAssumption && FindName(prop, "a") != nullptr) conclusion = prop;
  }
  ASSERT_NE(conclusion, nullptr);
  MakeConclusion(conclusion, source);
  s.Select(FindName(conclusion, "b"), PackRange(1, 1));
  s.Type("2");
  EXPECT_EQ(ObjType(conclusion), kConclusion);
  EXPECT_EQ(ObjSlotIndex(conclusion) + 1, ObjSlotIndex(GetObjProp(s.Primary().obj)));
  Handle edited = GetObjProp(s.Primary().obj);
  EXPECT_EQ(ObjType(edited), kAssumption);
  EXPECT_EQ(StmtRecord(edited).contingencies, nullptr);
  EXPECT_EQ(s.Statements(), (Statements{"a+b", "a+b2", "c"}));
  EXPECT_NE(std::find(gChanged.begin(), gChanged.end(), edited), gChanged.end());
  s.Press("Undo");
  EXPECT_EQ(s.Statements(), (Statements{"a+b", "c"}));
  EXPECT_EQ(ObjType(ObjSlot(notebook, ObjSlotIndex(conclusion))), kConclusion);
  ResetEditorHooks();
}

}  // namespace
}  // namespace lemmabox::testing
