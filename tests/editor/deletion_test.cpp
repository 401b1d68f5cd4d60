// Backspace, Clear and Cut on every kind of selected object.
#include <gtest/gtest.h>

#include "editing_helpers.h"
#include "editor/positions.h"
#include "mathobj/types.h"
#include "notebook/propositions.h"
#include "shell/charset.h"
#include "shell/messages.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

TypingOptions Interactive() {
  return {.fortranish = false};
}

// Types a script, selects (the named object, or the number, or the whole
// statement), presses Backspace, and reads back the result and the caret.
struct Deleted {
  std::string written;
  TypeCode caretType = 0;
  int32_t position = 0;
};

Deleted DeleteIn(const char* script, const char* select, int32_t position,
                 CommandCode code = kCmdBackspace) {
  TypingSession s(Interactive());
  s.Type(script);
  Handle target = s.Statement();
  if (*select == '#') {
    target = FindType(s.Statement(), static_cast<TypeCode>(select[1]));
  } else if (*select) {
    target = FindName(s.Statement(), select);
  }
  if (target == nullptr) return {"(nothing to select)"};
  s.Select(target, position);
  s.Press(code);
  Selection caret = s.Primary();
  Deleted result;
  if (caret.obj != nullptr) result.caretType = ObjType(caret.obj);
  result.position = caret.position;
  result.written = s.Written();
  return result;
}

TEST(Deleting, OperandLists) {
  struct Case {
    const char* script;
    int32_t position;
    const char* written;
  };
  const Case cases[] = {
      {"a+b+c", PackRange(1, 2), "a+c"}, {"a+b+c", PackRange(2, 2), "a+c"},
      {"a+b+c", PackRange(0, 0), "b+c"}, {"a+b+c", kPosWhole, "?"},
      {"a+b+c", kPosCaretAfter, "a+b"},  {"a*b*c", PackRange(0, 2), "c"},
      {"a+b", PackRange(1, 2), "a"},     {"a+b", PackRange(0, 1), "b"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeleteIn(c.script, "", c.position).written, c.written)
        << c.script << " at " << std::hex << c.position;
  }
  // The only remaining term keeps a caret where the deleted one was.
  TypingSession s(Interactive());
  s.Type("a+b");
  s.Select(s.Statement(), PackRange(1, 2));
  s.Press("Backspace");
  EXPECT_EQ(s.Primary().position, kPosCaretAfter);
  s.Type("+c");
  EXPECT_EQ(s.Written(), "a+c");
  TypingSession t(Interactive());
  t.Type("a+b");
  t.Select(t.Statement(), PackRange(0, 1));
  t.Press("Backspace");
  EXPECT_EQ(t.Primary().position, kPosCaretBefore);
}

TEST(Deleting, FixedShapesBecomeQuestionMarks) {
  for (const char* script : {"x^2", "a/b", "sqrt(x)", "n!", "a=b", "x_i"}) {
    Deleted d = DeleteIn(script, "", kPosWhole);
    EXPECT_EQ(d.written, "?") << script;
    EXPECT_EQ(d.caretType, kQuestion) << script;
  }
  EXPECT_EQ(DeleteIn("x^2{End}+1", "#^", kPosWhole, kCmdClear).written, "?+1");
}

TEST(Deleting, QuestionMarksTakeTheirPlaceWithThem) {
  struct Case {
    const char* script;
    const char* written;
  };
  // Each script leaves its last question mark selected.
  const Case cases[] = {
      {"a+b+", "a+b"}, {"a+", "a"}, {"a/", "a"},     {"a*b^", "a*b"}, {"\\", "?"},
      {"1,2,", "1,2"}, {"1,", "1"}, {"1;2;", "1;2"}, {"$", "?"},      {"\xA2x:a:", "Integral(x:a)"},
  };
  for (const Case& c : cases) {
    TypingSession s(Interactive());
    s.Type(c.script);
    ASSERT_EQ(ObjType(s.Primary().obj), kQuestion) << c.script;
    s.Press("Backspace");
    EXPECT_EQ(s.Written(), c.written) << c.script;
  }
  // A statement's own question mark stays.
  TypingSession q(Interactive());
  q.Type("?{Backspace}");
  ASSERT_NE(q.Statement(), nullptr);
  EXPECT_EQ(ObjType(q.Statement()), kQuestion);
  EXPECT_EQ(q.Primary().obj, q.Statement());
}

TEST(Deleting, QuestionMarksOfOneObjectAreNotDeletedTogether) {
  TypingSession s(Interactive());
  s.Type("?+?");
  Handle sum = s.Statement();
  s.View().selections = {{ObjSlot(sum, 0), kPosWhole}, {ObjSlot(sum, 1), kPosWhole}};
  s.Press("Backspace");
  EXPECT_TRUE(s.Alerted(kMsgQuestionMarksTooClose));
  EXPECT_EQ(ObjCount(s.Statement()), 2);
}

TEST(Deleting, CharactersOfNamesAndNumbers) {
  EXPECT_EQ(DeleteIn("abc", "abc", PackRange(2, 2)).written, "ac");
  EXPECT_EQ(DeleteIn("abc", "abc", PackRange(0, 2)).written, "c");
  EXPECT_EQ(DeleteIn("abc", "abc", PackRange(0, 0)).written, "abc");
  EXPECT_EQ(DeleteIn("x", "x", PackRange(1, 1)).written, "?");
  // A number cannot start with its exponent: a 1 stands in.
  EXPECT_EQ(DeleteIn("2e5", "#n", PackRange(1, 1)).written, "1e+05");
  EXPECT_EQ(DeleteIn("2.5", "#n", PackRange(3, 3)).written, "2.");
  EXPECT_EQ(DeleteIn("?x", "#`", kPosWhole).written, "?");
}

TEST(Deleting, CommittedNumbersAndNamesAreEditedAsText) {
  TypingSession s(Interactive());
  s.Type("125+x");
  s.Commit();
  Handle number = ObjSlot(s.Statement(), 0);
  ASSERT_EQ(ObjType(number), kInteger);
  s.Select(number, PackRange(2, 2));
  s.Press("Backspace");
  EXPECT_EQ(s.Written(), "15+x");
  Handle name = ObjSlot(s.Statement(), 1);
  ASSERT_EQ(ObjType(name), kName);
  s.Select(name, kPosCaretAfter);
  s.Type("y");
  EXPECT_EQ(s.Written(), "15+xy");
}

TEST(Deleting, MatrixBlocks) {
  struct Case {
    int32_t position;
    const char* written;
  };
  const Case cases[] = {
      {PackBlock(0, 0, 3, 1), "2,3;5,6;8,9"},  // a whole column
      {PackBlock(1, 0, 2, 3), "1,2,3;7,8,9"},  // a whole row
      {PackBlock(0, 0, 2, 2), "?,?,3;?,?,6;7,8,9"},
      {PackBlock(0, 0, 3, 3), "?"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeleteIn("1,2,3;4,5,6;7,8,9", "", c.position).written, c.written)
        << std::hex << c.position;
  }
  // Deleting down to one cell leaves the cell's content.
  EXPECT_EQ(DeleteIn("a,b", "", PackBlock(0, 1, 1, 2)).written, "a");
}

TEST(Deleting, SelectedPropositionsGo) {
  TypingSession s(Interactive());
  s.Type("a{Return}b{Return}c");
  Handle second = nullptr;
  for (int i = FirstProp(s.Notebook()); i < ObjCount(s.Notebook()); ++i) {
    Handle prop = ObjSlot(s.Notebook(), i);
    if (ObjType(prop) == kAssumption && FindName(prop, "b") != nullptr) second = prop;
  }
  ASSERT_NE(second, nullptr);
  s.Select(second, kPosWhole);
  s.Press("Backspace");
  EXPECT_EQ(s.Statements(), (std::vector<std::string>{"a", "c"}));
}

}  // namespace
}  // namespace lemmabox::testing
