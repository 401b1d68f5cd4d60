// Copy, Cut and Paste: typing scripts on the clipboard, numbers pasted as a
// table, tables of numbers pasted into a matrix.
#include "editor/clipboard.h"

#include <gtest/gtest.h>

#include <cmath>

#include "editing_helpers.h"
#include "editor/positions.h"
#include "editor/table_data.h"
#include "mathobj/types.h"
#include "notebook/propositions.h"
#include "shell/messages.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

TypingOptions Interactive() {
  return {.fortranish = false};
}

TEST(Clipboard, CopyWritesTheSelectedPart) {
  TypingSession s(Interactive());
  s.Type("a+b*c+d");
  s.Commit();
  Handle sum = s.Statement();
  struct Case {
    Selection selection;
    const char* text;
  };
  const Case cases[] = {
      {{sum, kPosWhole}, "a+b*c+d"},
      {{sum, PackRange(1, 3)}, "b*c+d"},
      {{ObjSlot(sum, 1), kPosWhole}, "b*c"},
      {{FindName(sum, "d"), kPosCaretAfter}, ""},
  };
  for (const Case& c : cases) {
    s.Platform().clipboard = "unchanged";
    s.Select(c.selection.obj, c.selection.position);
    s.Press("Copy");
    EXPECT_EQ(s.Platform().clipboard, *c.text ? c.text : "unchanged");
  }
  // Several selections are copied as one list.
  s.View().selections = {{FindName(sum, "a"), kPosWhole}, {ObjSlot(sum, 1), kPosWhole}};
  s.Press("Copy");
  EXPECT_EQ(s.Platform().clipboard, "a,b*c");
}

TEST(Clipboard, CutCopiesAndDeletes) {
  TypingSession s(Interactive());
  s.Type("x^2+1");
  s.Select(s.Statement(), kPosWhole);
  s.Press("Cut");
  EXPECT_EQ(s.Platform().clipboard, "x^(2+1)");
  EXPECT_EQ(s.Written(), "?");
  s.Press("Paste");
  EXPECT_EQ(s.Written(), "x^(2+1)");
}

TEST(Clipboard, PastedExpressionsStayTogether) {
  struct Case {
    const char* script;
    const char* select;
    const char* clipboard;
    const char* written;
  };
  const Case cases[] = {
      {"2*x", "x", "a+b", "2*(a+b)"}, {"x^2", "x", "a+b", "(a+b)^2"},
      {"x+1", "", "y", "y"},          {"?", "", "sin(t)", "sin(t)"},
      {"y=x", "x", "u-v", "y=u-v"},   {"x", "", "x^2+2*x+1", "x^2+2*x+1"},
  };
  for (const Case& c : cases) {
    TypingSession s(Interactive());
    s.Type(c.script);
    s.Select(*c.select ? FindName(s.Statement(), c.select) : s.Statement());
    s.Platform().clipboard = c.clipboard;
    s.Press("Paste");
    EXPECT_EQ(s.Written(), c.written) << c.clipboard << " into " << c.script;
  }
}

TEST(Clipboard, PasteIsOneCommandForUndo) {
  TypingSession s(Interactive());
  s.Type("2*x");
  s.Select(FindName(s.Statement(), "x"));
  s.Platform().clipboard = "a+b";
  s.Press("Paste");
  EXPECT_EQ(s.Written(), "2*(a+b)");
  s.Press("Undo");
  EXPECT_EQ(s.Written(), "2*x");
}

TEST(Clipboard, ColumnsOfNumbersBecomeATable) {
  TypingSession s(Interactive());
  s.Type("x");
  s.Platform().clipboard = "10\t1.25\n11\t2.25\n12\t3.25\n";
  s.Press("Paste");
  Handle table = nullptr;
  for (int i = FirstProp(s.Notebook()); i < ObjCount(s.Notebook()); ++i)
    if (ObjType(ObjSlot(s.Notebook(), i)) == kTable) table = ObjSlot(s.Notebook(), i);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(TableRec(table).count, 3);
  EXPECT_DOUBLE_EQ(TableRec(table).start, 10);
  EXPECT_DOUBLE_EQ(TableRec(table).step, 1);
  EXPECT_DOUBLE_EQ(TableValues(table)[2], 3.25);
  EXPECT_EQ(s.Primary().obj, ObjSlot(table, 0));
  // Three columns do not fit a real table; a complex one takes them.
  TypingSession c(Interactive());
  c.Platform().clipboard = "10\t11\t12\n13\t14\t15\n";
  c.Press("Paste");
  Handle complex = nullptr;
  for (int i = FirstProp(c.Notebook()); i < ObjCount(c.Notebook()); ++i)
    if (ObjType(ObjSlot(c.Notebook(), i)) == kTable) complex = ObjSlot(c.Notebook(), i);
  ASSERT_NE(complex, nullptr);
  EXPECT_TRUE(TableRec(complex).flags & kTableComplex);
  EXPECT_DOUBLE_EQ(TableValues(complex)[3], 15);
}

TEST(Clipboard, TabularTextFillsAMatrix) {
  TypingSession s(Interactive());
  s.Type("?,?;?,?");
  s.Select(s.Statement(), kPosWhole);
  s.Platform().clipboard = "1\t2\r\n3\t4\r\n";
  s.Press("Paste");
  EXPECT_EQ(s.Written(), "1,2;3,4");
  // Into a block, the pasted cells fill the block.
  TypingSession b(Interactive());
  b.Type("a,b,c;d,e,f");
  b.Select(b.Statement(), PackBlock(0, 1, 2, 3));
  b.Platform().clipboard = "1\t2\n3\t4";
  b.Press("Paste");
  EXPECT_EQ(b.Written(), "a,1,2;d,3,4");
}

TEST(ClipboardText, Classification) {
  struct Case {
    const char* text;
    ClipboardTextKind kind;
  };
  const Case cases[] = {
      {"12\t34\n56\t78\n", ClipboardTextKind::kNumericData},
      {"125\t-250\r\n", ClipboardTextKind::kNumericData},
      {"12 34\n", ClipboardTextKind::kPlainText},
      {"12", ClipboardTextKind::kPlainText},
      {"x^2+1", ClipboardTextKind::kTypingText},
      {"f(x)", ClipboardTextKind::kTypingText},
      {"f(x", ClipboardTextKind::kPlainText},
      {"hello world", ClipboardTextKind::kPlainText},
      {"f'x", ClipboardTextKind::kTypingText},
      {"x1\n", ClipboardTextKind::kPlainText},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyClipboardText(c.text), c.kind) << c.text;
}

TEST(ClipboardText, TabularTextForMatrices) {
  EXPECT_EQ(TabularTypingScript("1\t2\n3\t4\n"), "1,2;3,4 ");
  EXPECT_EQ(TabularTypingScript("1\t2\r\n3\t4"), "1,2;3,4");
  EXPECT_EQ(TabularTypingScript("alpha\tbeta"), "alpha\tbeta");
  EXPECT_EQ(TabularTypingScript("1\n"), "1\n");
}

TEST(TableData, LayoutsAndFailures) {
  TableData real = ReadTableData("1\n2\n3\n", false);
  EXPECT_EQ(real.failure, 0);
  EXPECT_EQ(real.points, 3);
  EXPECT_EQ(real.values, (std::vector<double>{1, 2, 3}));
  TableData domain = ReadTableData("0.5 1\n1.5 2\n2.5 ?\n", false);
  EXPECT_EQ(domain.failure, 0);
  EXPECT_DOUBLE_EQ(domain.start, 0.5);
  EXPECT_DOUBLE_EQ(domain.step, 1);
  EXPECT_TRUE(std::isnan(domain.values[2]));
  TableData uneven = ReadTableData("0 1\n1 1\n2 1\n3.5 1\n", false);
  EXPECT_TRUE(uneven.unevenDomain);
  EXPECT_DOUBLE_EQ(uneven.start, 1);
  EXPECT_DOUBLE_EQ(uneven.step, 1);
  EXPECT_EQ(ReadTableData("1 2 3\n", false).failure, kMsgThreeColumnData);
  EXPECT_EQ(ReadTableData("1 2 3 4\n", true).failure, kMsgTooManyDataColumns);
  TableData ragged = ReadTableData("1 2\n3\n", false);
  EXPECT_EQ(ragged.failure, kMsgRaggedDataLines);
  EXPECT_EQ(ragged.offendingLine, "3");
  ragged.offendingLine = "12345678901234567890";
  EXPECT_NE(TableDataFailureText(ragged).find("\"1234567890123...\""), std::string::npos);
  TableData infinite = ReadTableData("\xB0 -\xB0\n", true);
  EXPECT_EQ(infinite.values, (std::vector<double>{INFINITY, -INFINITY}));
}

// Whole propositions are copied as the notebook file writes them.
TEST(Clipboard, CopyingPropositionsWritesTheirRecords) {
  TypingSession s(Interactive());
  s.Type("a");
  s.Select(s.LastProposition());
  s.Platform().clipboard = "unchanged";
  s.Press("Copy");
  EXPECT_FALSE(s.Alerted(kMsgUnimplemented));
  EXPECT_EQ(s.Platform().clipboard, "~A(a)~p0\n0 ~e\n");
  s.Press(kCmdCopyAsPicture);
  EXPECT_TRUE(s.Alerted(kMsgUnimplemented));
  s.ClearAlerts();
  s.View().selections.push_back({s.Statement(), kPosWhole});
  s.Press(kCmdCopyAsPicture);
  EXPECT_TRUE(s.Alerted(kMsgCopyMultipleSelection));
}

}  // namespace
}  // namespace lemmabox::testing
