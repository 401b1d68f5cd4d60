// Deleting propositions and the Insert commands, as a user does them.
#include <gtest/gtest.h>

#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/derivation.h"
#include "notebook/knowledge.h"
#include "notebook/notebook_edits.h"
#include "notebook/notebook_record.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"
#include "notebook_fixture.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

using EditsTest = NotebookTest;

TEST_F(EditsTest, DeletingTakesTheOutlineGroupAlong) {
  Handle a = Assume(N("a"), 0);
  Assume(nullptr, 1);
  Assume(nullptr, 2);
  Handle rider = Assume(nullptr, 255);
  Handle b = Assume(N("b"), 0);
  Handle selection[] = {ObjSlot(a, 0)};
  DeletePropositions(selection);
  EXPECT_EQ("A0", Outline(main));
  EXPECT_EQ(b, ObjSlot(main, FirstProp(main)));
  EXPECT_EQ(4u, deleting.size());
  EXPECT_NE(std::find(deleting.begin(), deleting.end(), rider), deleting.end());
}

TEST_F(EditsTest, WhatContinuedADeletedRowStartsIt) {
  Handle a = Assume(nullptr, 2);
  Handle rider = Assume(nullptr, 255);
  Handle second = Assume(nullptr, 255);
  Handle justA[] = {a};
  DeletePropositions(justA);
  EXPECT_EQ("A2 A.", Outline(main));
  EXPECT_EQ(rider, ObjSlot(main, FirstProp(main)));
  // Deleting a proposition that continues a row takes it alone.
  Handle justSecond[] = {second};
  DeletePropositions(justSecond);
  EXPECT_EQ("A2", Outline(main));
}

TEST_F(EditsTest, DeletingCutsOffWhatWasDerived) {
  Declare("x");
  Handle def = Assume(Op('=', N("x"), I(1)));
  Handle derived = Assume(Op('=', N("x"), I(2)), 1);
  Handle later = Assume(N("x"));
  Resolve();
  ASSERT_TRUE(SetWorkingStatement(def, true, false, false));
  MakeConclusion(derived, def);
  MakeConclusion(later, derived);
  AppendDerivationStep(later, NewDerivationStep(1, true, true, 0, {}));
  Handle justDef[] = {def};
  // Deleting def deletes its group (the conclusion derived from it) and cuts
  // off what came from either.
  DeletePropositions(justDef);
  EXPECT_EQ("V0 A0", Outline(main));
  EXPECT_EQ('A', ObjType(later));
  EXPECT_EQ(nullptr, StmtRecord(later).chain);
  // The knowledge no longer holds the deleted definition.
  Handle use = Assume(N("x"));
  Resolve();
  NotebookRecordOf(main).prefs.guessWorkingStmts = 0;
  EXPECT_EQ(nullptr, LookupDefinition(StatementOf(use)));
}

TEST_F(EditsTest, ALockedPropositionIsNotDeleted) {
  Handle a = Assume(nullptr, 0);
  Assume(nullptr, 1);
  SetFlag(a, kFlagCollapsed | kFlagLocked);
  Handle both[] = {a};
  EXPECT_RAISES(kMsgLockedProposition, DeletePropositions(both));
  EXPECT_EQ("A0+# A1", Outline(main));
  EXPECT_TRUE(deleting.empty());
}

TEST_F(EditsTest, InsertingACaseTheoryWithoutASelection) {
  Assume(nullptr);
  Handle theory = InsertCaseTheory({});
  EXPECT_EQ("A0 T0", Outline(main));
  EXPECT_EQ("A0", Outline(theory));
  ASSERT_EQ(1u, selected.size());
  EXPECT_EQ('?', ObjType(selected[0]));
  EXPECT_EQ(theory, ObjParent(GetObjProp(selected[0])));
  EXPECT_NE(nullptr, KnowledgeTableOf(theory));
}

TEST_F(EditsTest, InsertingACaseTheoryAroundTheSelection) {
  Handle x = Declare("x");
  Handle a = Assume(N("x"), 1);
  Handle b = Assume(nullptr, 2);
  Handle c = Assume(nullptr, 1);
  Handle selection[] = {ObjSlot(a, 0), c};
  Handle theory = InsertCaseTheory(selection);
  EXPECT_EQ("V0 T1 A2", Outline(main));
  EXPECT_EQ("A0 A0", Outline(theory));
  EXPECT_EQ(a, ObjSlot(theory, 1));
  EXPECT_EQ(c, ObjSlot(theory, 2));
  EXPECT_EQ(x, DeclOfName(StatementOf(a)));
  (void)b;
  // Selections from two sibling Case Theories are not nested.
  Handle other = CaseTheory();
  Handle d = Assume(nullptr, 0, other);
  Handle apart[] = {a, d};
  int before = ObjCount(main);
  EXPECT_RAISES(kMsgSelectionsFromDifferentTheories, InsertCaseTheory(apart));
  EXPECT_EQ(before, ObjCount(main));
  // A proposition and one inside a Case Theory around it are nested.
  Handle e = Assume(nullptr);
  Handle nested[] = {d, e};
  Handle around = InsertCaseTheory(nested);
  EXPECT_EQ(other, ObjParent(around));
  EXPECT_EQ(around, ObjParent(e));
}

TEST_F(EditsTest, InsertingRulesPageBreaksAndDeclarations) {
  Declare("x");
  Handle eq = Assume(Op('=', N("x"), I(1)));
  Handle expr = Assume(N("x"), 1);
  Resolve();
  Handle both[] = {eq, expr};
  std::vector<Handle> rules = InsertTransformRules(both);
  ASSERT_EQ(2u, rules.size());
  // Each rule goes after its proposition's group, at its level.
  EXPECT_EQ("V0 A0 A1 H1 H0", Outline(main));
  EXPECT_EQ("@x", Show(ObjSlot(rules[0], 0)));
  EXPECT_EQ("1", Show(ObjSlot(rules[0], 1)));
  EXPECT_EQ("?", Show(ObjSlot(rules[1], 0)));
  EXPECT_EQ(kRuleTransform, RulePopup(rules[0]).item);
  EXPECT_EQ(rules[0], selected.back());

  Handle pageBreak = InsertPageBreak(both);
  EXPECT_EQ("V0 A0 A1 H1 B0 H0", Outline(main));
  EXPECT_EQ(pageBreak, inserted.back());

  NotebookRecordOf(main).declarationsChanged = 0;
  Handle decl = InsertNameDecl({});
  EXPECT_EQ(decl, ObjSlot(main, ObjCount(main) - 1));
  EXPECT_EQ(kNameVariable, DeclClass(decl));
  EXPECT_EQ(ObjSlot(decl, 0), selected.back());
  EXPECT_EQ(1, NotebookRecordOf(main).declarationsChanged);

  Handle independence = InsertIndependenceDecl({});
  EXPECT_EQ(kIndependentOfEachOther, IndependencePopup(independence).item);
  EXPECT_EQ('?', ObjType(ObjSlot(independence, 0)));
  EXPECT_EQ(ObjSlot(independence, 0), selected.back());
}

TEST_F(EditsTest, ArbitraryNamesCountAndWrap) {
  Handle c = Declare("C", kNameConstant);
  Resolve();
  Handle first = NewArbitraryName(nullptr, ArbitraryKind::kConstant);
  EXPECT_EQ("_(@C,1)", Show(first));
  EXPECT_EQ(c, DeclOfName(ObjSlot(first, 0)));
  NotebookRecordOf(main).prefs.arbitrarySerial = kArbitrarySerialLimit - 1;
  Handle last = NewArbitraryName(nullptr, ArbitraryKind::kInteger);
  EXPECT_EQ("_(n,999999999)", Show(last));  // nothing declares n
  EXPECT_EQ(0, NotebookRecordOf(main).prefs.arbitrarySerial);
  SetArbitraryBase(main, ArbitraryKind::kVariable, "s");
  Handle variable = NewArbitraryName(nullptr, ArbitraryKind::kVariable);
  EXPECT_EQ("_(s,0)", Show(variable));
  EXPECT_EQ(1, NotebookRecordOf(main).changed);
  for (Handle h : {first, last, variable}) DisposeObj(h);
}

}  // namespace
}  // namespace lemmabox::testing
