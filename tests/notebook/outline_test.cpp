// The outline: rows, outline groups, where new propositions go, collapsing,
// indenting and locking.
#include "notebook/outline.h"

#include <gtest/gtest.h>

#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/notebook_hooks.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "notebook_fixture.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

using OutlineTest = NotebookTest;

// Levels 0, 1, 2, inline, 1, 0, 1: the rows and outline groups a user sees.
TEST_F(OutlineTest, RowsAndOutlineGroups) {
  for (int level : {0, 1, 2, 255, 1, 0, 1}) Assume(nullptr, level);
  const int f = FirstProp(main);
  struct Case {
    int index;
    int rowStart, nextRow, rowLevel, outlineEnd;
  } cases[] = {
      {0, 0, 1, 0, 5},                   // the first row's group reaches the next row at level 0
      {1, 1, 2, 1, 4}, {2, 2, 4, 2, 4},  // the inline proposition rides on row 2
      {3, 2, 4, 2, 4}, {4, 4, 5, 1, 5}, {5, 5, 6, 0, 7}, {6, 6, 7, 1, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(f + c.rowStart, StartOfRowIndex(main, f + c.index));
    EXPECT_EQ(f + c.nextRow, NextRow(main, f + c.index));
    EXPECT_EQ(c.rowLevel, RowIndentation(main, f + c.index));
    EXPECT_EQ(f + c.outlineEnd, OutlineEnd(main, f + c.index));
  }
}

TEST_F(OutlineTest, RowStartWalkAndFirstPropRefuseImpossibleStates) {
  Handle inlineFirst = Assume(nullptr, 255);
  // Inserting at the first position turns inline into 0 ...
  EXPECT_EQ(0, Indentation(inlineFirst));
  // ... but a theory can still be made to start inline (a damaged file).
  Hdr(inlineFirst).aux = kInline;
  EXPECT_INTERNAL_ERROR("StartOfRowProp: All inline.", StartOfRowProp(inlineFirst));
  Handle sum = Op('+', N("a"), N("b"));
  EXPECT_INTERNAL_ERROR("FirstProp", FirstProp(sum));
  DisposeObj(sum);
  struct {
    Handle container;
    int first;
  } firsts[] = {{main, 2}, {CaseTheory(), 1}};
  for (auto [container, first] : firsts) EXPECT_EQ(first, FirstProp(container));
}

// A collapsed row hides the rows of its group, not the rows after it.
TEST_F(OutlineTest, ShownFollowsCollapsedRows) {
  std::vector<Handle> props;
  for (int level : {0, 1, 2, 1, 0, 1}) props.push_back(Assume(nullptr, level));
  SetFlag(props[0], kFlagCollapsed);
  std::vector<bool> shown;
  for (Handle p : props) shown.push_back(IsPropositionShown(p));
  EXPECT_EQ((std::vector<bool>{true, false, false, false, true, true}), shown);
  // Inside a collapsed group, a Case Theory's propositions are hidden too.
  Handle theory = CaseTheory(1);
  Handle inner = Assume(nullptr, 0, theory);
  Hdr(props[4]).flags |= kFlagCollapsed;
  EXPECT_FALSE(IsPropositionShown(inner));
}

TEST_F(OutlineTest, InsertAfterLandsAfterTheGroup) {
  Handle source = Assume(N("a"), 0);
  Assume(nullptr, 1);
  Assume(nullptr, 2);
  Handle next = Assume(nullptr, 0);
  // A new conclusion goes after the source's group, one level deeper.
  Handle conclusion = NewAssumption(nullptr);
  InsertionPoint point = InsertAfter(conclusion, ObjSlot(source, 0), nullptr, 1);
  EXPECT_EQ(main, point.theory);
  EXPECT_EQ(ObjSlotIndex(next) - 1, ObjSlotIndex(conclusion));
  EXPECT_EQ("A0 A1 A2 A1 A0", Outline(main));
  EXPECT_EQ(conclusion, inserted.back());

  // An inline anchor takes the indentation of its row.
  Handle rowStart = Assume(nullptr, 3);
  Handle rider = Assume(nullptr, 255);
  InsertionPoint p2 = FindInsertionPoint(rider, nullptr);
  EXPECT_EQ(3, p2.indentation);
  EXPECT_EQ(ObjSlotIndex(rider) + 1, p2.index);
  (void)rowStart;

  // Into an empty Case Theory: at its first position.
  Handle theory = CaseTheory();
  InsertionPoint p3 = FindInsertionPoint(theory, nullptr);
  EXPECT_EQ(theory, p3.theory);
  EXPECT_EQ(1, p3.index);
  // Neither anchor nor selection: the end of the Main Theory.
  InsertionPoint p4 = FindInsertionPoint(nullptr, nullptr);
  EXPECT_EQ(main, p4.theory);
  EXPECT_EQ(ObjCount(main), p4.index);
  EXPECT_EQ(0, p4.indentation);
  // An anchor that lies in no notebook entry gives no theory.
  Handle loose = N("x");
  EXPECT_RAISES(kMsgCorruptData, FindInsertionPoint(loose, nullptr));
  DisposeObj(loose);
  Handle detached = NewAssumption(nullptr);
  EXPECT_RAISES(kMsgCorruptData, FindInsertionPoint(ObjSlot(detached, 0), nullptr));
  DisposeObj(detached);
}

TEST_F(OutlineTest, InsertDeclGoesFirstOrAfterALeadingComment) {
  Assume(nullptr);
  Handle d1 = NewNameDecl(N("x"), kNameVariable);
  NotebookRecordOf(main).declarationsChanged = 0;
  InsertDecl(d1, main);
  EXPECT_EQ(FirstProp(main), ObjSlotIndex(d1));
  EXPECT_EQ(0, Indentation(d1));
  EXPECT_EQ(1, NotebookRecordOf(main).declarationsChanged);

  Handle theory = CaseTheory();
  Append(NewObjN('Q', 1), 0, theory);
  Handle d2 = NewNameDecl(N("y"), kNameVariable);
  InsertDecl(d2, theory);
  EXPECT_EQ("Q0 V1", Outline(theory));

  Handle loose = NewCaseTheory();
  Handle d3 = NewNameDecl(N("z"), kNameVariable);
  EXPECT_INTERNAL_ERROR("InsertDecl", InsertDecl(d3, loose));
  DisposeObj(d3);
  DisposeObj(loose);
}

TEST_F(OutlineTest, CollapseKeepsOnlyRowsWithAGroup) {
  Handle a = Assume(nullptr, 0);
  Handle b = Assume(nullptr, 1);
  Handle c = Assume(nullptr, 1);
  Handle d = Assume(nullptr, 0);
  Handle e = Assume(nullptr, 255);
  Handle all[] = {a, b, c, d, e};
  Collapse(all);
  EXPECT_EQ("A0+ A1 A1 A0 A.", Outline(main));
  ExposeAll(main);
  EXPECT_EQ("A0 A1 A1 A0 A.", Outline(main));
  CollapseAll(main);
  EXPECT_EQ("A0+ A1 A1 A0 A.", Outline(main));
  // Moving the group away leaves nothing to hide: the pass expands the row.
  Handle rows[] = {b, c};
  IndentLeft(rows);
  EXPECT_EQ("A0 A0 A0 A0 A.", Outline(main));
  // A collapsed proposition without a group (read from a file) is expanded.
  SetFlag(d, kFlagCollapsed | kFlagLocked);
  EXPECT_TRUE(CollapsePass(main));
  EXPECT_EQ("A0 A0 A0 A0 A.", Outline(main));
}

TEST_F(OutlineTest, IndentStaysWithinTheOutlineRange) {
  Handle a = Assume(nullptr, 0);
  Handle b = Assume(nullptr, 254);
  Handle both[] = {a, b};
  IndentLeft(both);  // a cannot go further left
  EXPECT_EQ("A0 A253", Outline(main));
  IndentRight(both);
  IndentRight(both);
  EXPECT_EQ("A2 A254", Outline(main));  // 255 would make b inline
  // Indenting an inline proposition indents its row.
  Handle rider = Assume(nullptr, 255);
  Handle one[] = {rider};
  IndentLeft(one);
  EXPECT_EQ("A2 A253 A.", Outline(main));
}

TEST_F(OutlineTest, LockNeedsOneCollapsedPropositionAndRefusesChanges) {
  Handle a = Assume(N("a"), 0);
  Handle b = Assume(nullptr, 1);
  Handle both[] = {a, b};
  Handle justA[] = {ObjSlot(a, 0)};  // a selection inside the proposition
  EXPECT_RAISES(kMsgLockNeedsCollapsed, LockProposition(both));
  EXPECT_RAISES(kMsgLockNeedsCollapsed, LockProposition(justA));  // not collapsed
  Collapse(justA);
  gNotebookDisplay.confirmLock = [](Handle) { return false; };
  EXPECT_FALSE(LockProposition(justA));
  EXPECT_FALSE(IsLocked(a));
  gNotebookDisplay.confirmLock = [](Handle) { return true; };
  EXPECT_TRUE(LockProposition(justA));
  EXPECT_EQ("A0+# A1", Outline(main));
  // A locked row refuses to be exposed, indented, or changed inside.
  EXPECT_RAISES(kMsgLockedProposition, Expose(justA));
  EXPECT_RAISES(kMsgLockedProposition, IndentRight(justA));
  EXPECT_RAISES(kMsgLockedProposition, CheckNotLocked(ObjSlot(a, 0)));
  ExposeAll(main);
  EXPECT_EQ("A0+# A1", Outline(main));
}

}  // namespace
}  // namespace lemmabox::testing
