// The knowledge tables: numbering, entries of names and subscripted names,
// the failures of getting knowledge, the look-up scope, temporary values.
#include "notebook/knowledge.h"

#include <gtest/gtest.h>

#include "mathobj/dup_dispose.h"
#include "mathobj/slots.h"
#include "notebook/names.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "notebook_fixture.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

using KnowledgeTest = NotebookTest;

// Outer theories are numbered first; sibling Case Theories reuse the numbers
// after their parent's.
TEST_F(KnowledgeTest, NamesAreNumberedOutermostFirst) {
  Handle a = Declare("a");
  Handle t1 = CaseTheory();
  Handle c = Declare("c", kNameVariable, t1);
  Handle t2 = CaseTheory();
  Handle d = Declare("d", kNameVariable, t2);
  Handle e = Declare("e", kNameVariable, t2);
  Handle b = Declare("b");
  Handle pi = DeclarePredefined(kKeyPi);
  Resolve();
  struct {
    Handle decl;
    int number;
  } numbers[] = {{a, 0}, {b, 1}, {c, 2}, {d, 2}, {e, 3}, {pi, kNamePredefined}};
  for (auto [decl, number] : numbers) EXPECT_EQ(number, DeclRecord(decl).nameNumber);
  EXPECT_EQ(2, KnowledgeCount(KnowledgeTableOf(main)));
  EXPECT_EQ(3, KnowledgeCount(KnowledgeTableOf(t1)));
  EXPECT_EQ(4, KnowledgeCount(KnowledgeTableOf(t2)));
  EXPECT_EQ(2, KnowledgeFirstOwn(KnowledgeTableOf(t2)));
  // An inherited entry belongs to the parent's declaration.
  EXPECT_EQ(a, KnowledgeAt(KnowledgeTableOf(t2), 0).declaration);
}

TEST_F(KnowledgeTest, GettingKnowledgeFailsWithTheTableMessages) {
  Declare("x");
  DeclarePredefined(kKeyE);
  Handle t1 = CaseTheory();
  Declare("c", kNameVariable, t1);
  Handle t2 = CaseTheory();
  Declare("k", kNameVariable, t2);
  Handle inT1 = Assume(N("c"), 0, t1);
  Handle prop = Assume(Row({N("u"), N("e"), Op('_', N("x"), Op('+', N("x"), I(1))),
                            Op('_', N("x"), I(40000)), Op('+', N("x"), N("x"))}));
  Resolve();
  Handle row = StatementOf(prop);
  EXPECT_RAISES(kMsgNoNameDeclaration, GetKnowledge(ObjSlot(row, 0)));
  EXPECT_RAISES(kMsgPredefinedMisuse, GetKnowledge(ObjSlot(row, 1)));
  EXPECT_RAISES(kMsgBadSubscript, GetKnowledge(ObjSlot(row, 2)));
  EXPECT_RAISES(kMsgBadSubscript, GetKnowledge(ObjSlot(row, 3)));
  EXPECT_INTERNAL_ERROR("GVK_NotElement", GetKnowledge(ObjSlot(row, 4)));
  // A name of one Case Theory is unknown to its sibling.
  EXPECT_RAISES(kMsgPredefinedMisuse, GetKnowledgeIn(t2, StatementOf(inT1)));
  EXPECT_FALSE(FindKnowledgeIn(t2, StatementOf(inT1)));
  // A declaration that is in no notebook can never be numbered.
  Handle loose = NewNameDecl(N("w"), kNameVariable);
  Handle name = N("w");
  MakeDeclaredName(name, loose);
  EXPECT_RAISES(kMsgIntermediateVar, GetKnowledgeIn(main, name));
  DisposeObj(name);
  DisposeObj(loose);
}

TEST_F(KnowledgeTest, NewDeclarationsAreNumberedWhenFirstNeeded) {
  Handle x = Declare("x");
  Handle use = Assume(N("x"));
  Resolve();
  Handle y = Declare("y");  // inserted after the last pass
  Handle useY = Assume(N("y"));
  ResolveName(StatementOf(useY));
  EXPECT_EQ(kNameNotNumbered, DeclRecord(y).nameNumber);
  KnowledgeRef ref = GetKnowledge(StatementOf(useY));
  EXPECT_EQ(y, ref.Entry().declaration);
  EXPECT_EQ(x, GetKnowledge(StatementOf(use)).Entry().declaration);
}

TEST_F(KnowledgeTest, SubscriptedFormsHaveEntriesOfTheirOwn) {
  Declare("x");
  Declare("k");
  Handle prop =
      Assume(Row({Op('_', N("x"), I(1)), Op('_', N("x"), N("k")), Op('_', N("x"), Op('-', I(1))),
                  Op('_', N("x"), I(1)), N("x"), Op('_', Op('_', N("x"), I(1)), I(2))}));
  Resolve();
  Handle row = StatementOf(prop);
  std::vector<KnowledgeRef> refs;
  for (int i = 0; i < 6; ++i) refs.push_back(GetKnowledge(ObjSlot(row, i)));
  EXPECT_EQ(kIntegerSubscriptKey + 1, refs[0].Entry().key);
  EXPECT_EQ(kNameSubscriptKey + 1, refs[1].Entry().key);
  EXPECT_EQ(kIntegerSubscriptKey - 1, refs[2].Entry().key);
  // The same form finds the same entry; the plain name has its own.
  EXPECT_EQ(refs[0].table, refs[3].table);
  EXPECT_EQ(refs[0].index, refs[3].index);
  EXPECT_NE(refs[0].table, refs[4].table);
  EXPECT_EQ(kIntegerSubscriptKey + 2, refs[5].Entry().key);
  // A sub-table grows past its first room without losing entries.
  for (int i = 10; i < 30; ++i) {
    Handle form = Op('_', DupObj(ObjSlot(row, 4)), I(i));
    Assume(form);
    EXPECT_EQ(kIntegerSubscriptKey + i, GetKnowledge(form).Entry().key);
  }
  EXPECT_EQ(kIntegerSubscriptKey + 1, refs[0].Entry().key);
}

TEST_F(KnowledgeTest, TemporaryValuesBindAndUnwind) {
  Declare("k");
  Handle use = Assume(N("k"));
  Resolve();
  Handle k = StatementOf(use);
  EXPECT_EQ(0, TemporaryValueOf(k).kind);
  TemporaryValue one{kValueInteger, 1};
  TemporaryValue half{kValueReal, 0, 0.5};
  TemporaryValue z{kValueComplex, 0, 1.0, -2.0};
  {
    TemporaryBinding outer(k, one);
    EXPECT_EQ(one, TemporaryValueOf(k));
    {
      TemporaryBinding inner(k, half);
      EXPECT_EQ(half, TemporaryValueOf(k));
      inner.Set(z);
      EXPECT_EQ(z, TemporaryValueOf(k));
    }
    EXPECT_EQ(one, TemporaryValueOf(k));
    EXPECT_TRUE(GetKnowledge(k).Entry().flags & kTemporaryBound);
  }
  EXPECT_EQ(0, TemporaryValueOf(k).kind);
  EXPECT_FALSE(GetKnowledge(k).Entry().flags & kTemporaryBound);
  // A rebuild while bound (a declaration numbered mid-evaluation) is
  // survived: the binding finds the new entry and puts back what was bound.
  BindTemporaryValue(k, one);
  {
    TemporaryBinding binding(k, half);
    Resolve();
  }
  EXPECT_EQ(one, TemporaryValueOf(k));
  ClearTemporaryValue(k);
  EXPECT_EQ(0, TemporaryValueOf(k).kind);
}

TEST_F(KnowledgeTest, LookupScopeAnswersForDetachedNames) {
  Handle x = Declare("x");
  Handle theory = CaseTheory();
  Handle innerX = Declare("x", kNameVariable, theory);
  Resolve();
  Handle name = N("x");
  MakeDeclaredName(name, innerX);
  EXPECT_RAISES(kMsgPredefinedMisuse, GetKnowledge(name));  // the Main Theory answers
  {
    LookupScopeGuard scope(theory);
    EXPECT_EQ(innerX, GetKnowledge(name).Entry().declaration);
  }
  EXPECT_EQ(nullptr, LookupScope());
  MakeDeclaredName(name, x);
  // A copied Case Theory has no table until one is needed.
  Handle copy = DupObj(theory);
  EXPECT_EQ(nullptr, KnowledgeTableOf(copy));
  Append(copy);
  {
    LookupScopeGuard scope(copy);
    EXPECT_EQ(x, GetKnowledge(name).Entry().declaration);
  }
  DisposeObj(name);
  Handle loose = NewAssumption(nullptr);
  EXPECT_INTERNAL_ERROR("SetTheoryImmature", SetLookupScope(loose));
  DisposeObj(loose);
}

}  // namespace
}  // namespace lemmabox::testing
