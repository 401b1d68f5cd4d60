#include "mathobj/slots.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/handles.h"
#include "mathobj_fixture.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

using testing::Build;
using testing::CheckLinks;
using testing::Show;
using SlotTest = testing::MathObjTest;

TEST_F(SlotTest, TakePutReplaceDetach) {
  Handle sum = Build("+(a,b,c)");
  Handle b = TakeSlot(sum, 1);
  EXPECT_EQ("+(a,~,c)", Show(sum));
  EXPECT_EQ(nullptr, ObjParent(b));
  EXPECT_EQ(-1, ObjSlotIndex(b));
  EXPECT_EQ(nullptr, TakeSlot(sum, 1)) << "an empty slot gives null";

  PutSlot(sum, 0, b);  // a is disposed
  EXPECT_EQ("+(b,~,c)", Show(sum));
  PutSlot(sum, 0, b);  // already there: nothing changes
  EXPECT_EQ("+(b,~,c)", Show(sum));
  EXPECT_EQ("", CheckLinks(sum));

  Handle c = ObjSlot(sum, 2);
  ReplaceInParent(c, Build("^(x,2)"));
  EXPECT_EQ("+(b,~,^(x,2))", Show(sum));
  Handle power = DetachFromParent(ObjSlot(sum, 2));
  EXPECT_EQ(nullptr, ObjParent(power));
  EXPECT_EQ(power, DetachFromParent(power)) << "detaching a detached object keeps it";
  EXPECT_EQ("", CheckLinks(sum));
  DisposeObj(power);
  DisposeObj(sum);
}

TEST_F(SlotTest, MisuseIsReportedBeforeAnythingChanges) {
  Handle sum = Build("+(a,b)");
  Handle other = Build("-(x)");
  EXPECT_INTERNAL_ERROR("PutSlot", PutSlot(sum, 0, ObjSlot(other, 0)));
  EXPECT_INTERNAL_ERROR("PutSlot", PutSlot(sum, 2, nullptr));
  EXPECT_INTERNAL_ERROR("TakeSlot", TakeSlot(sum, -1));
  EXPECT_INTERNAL_ERROR("InsertSlot", InsertSlot(sum, 3, nullptr));
  EXPECT_INTERNAL_ERROR("ReplaceInParent", ReplaceInParent(sum, nullptr));
  EXPECT_EQ("+(a,b)", Show(sum));
  EXPECT_EQ("-(x)", Show(other));
  DisposeObj(sum);
  DisposeObj(other);
}

TEST_F(SlotTest, InsertAndDeleteKeepOrderAndLinks) {
  struct Case {
    const char* tree;
    int from, to;  // delete, or insert at `from` when to < 0
    const char* expected;
  };
  const Case cases[] = {
      {"+(a,b,c)", 0, -1, "+(new,a,b,c)"}, {"+(a,b,c)", 3, -1, "+(a,b,c,new)"},
      {"+(a,b,c)", 1, -1, "+(a,new,b,c)"}, {"+(a,b,c,d)", 1, 3, "+(a,d)"},
      {"+(a,b,c,d)", 0, 4, "+()"},         {"+(a,b,c,d)", 2, 2, "+(a,b,c,d)"},
      {"+(a,b,c,d)", -5, 1, "+(b,c,d)"},   // clamped
      {"+(a,b,c,d)", 3, 99, "+(a,b,c)"},   // clamped
      {"+(a,b,c,d)", 7, 9, "+(a,b,c,d)"},  // from beyond count: nothing
      {"+(a,b,c,d)", 3, 1, "+(a,b,c,d)"},
  };
  for (const Case& c : cases) {
    Handle h = Build(c.tree);
    if (c.to < 0)
      InsertSlot(h, c.from, NewUndeclaredName("new"));
    else
      DeleteSlots(h, c.from, c.to);
    EXPECT_EQ(c.expected, Show(h)) << c.tree << " " << c.from << ".." << c.to;
    EXPECT_EQ("", CheckLinks(h));
    DisposeObj(h);
  }
}

TEST_F(SlotTest, GrowingAnOperandListOneSlotAtATime) {
  Handle sum = NewObjN(kSum, 0);
  for (int i = 0; i < 2000; ++i) InsertSlot(sum, ObjCount(sum), NewInteger(i));
  EXPECT_EQ(2000, ObjCount(sum));
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(i, IntegerValue(ObjSlot(sum, i)));
  EXPECT_EQ("", CheckLinks(sum));
  DisposeObj(sum);
}

TEST_F(SlotTest, CopyRange) {
  Handle sum = Build("+(a,*(2,b),c,~)");
  struct Case {
    int from, to;
    const char* expected;
  } const cases[] = {
      {1, 1, "~"},                              // empty range: null
      {1, 2, "*(2,b)"},                         // one slot: the copy of its occupant, no wrapper
      {0, 2, "+(a,*(2,b))"}, {2, 9, "+(c,~)"},  // clamped; an empty slot stays empty
      {3, 4, "~"},
  };
  for (const auto& c : cases) {
    Handle copy = CopySlotRange(sum, c.from, c.to);
    EXPECT_EQ(c.expected, Show(copy)) << c.from << ".." << c.to;
    if (copy) {
      EXPECT_EQ(nullptr, ObjParent(copy));
      EXPECT_EQ("", CheckLinks(copy));
    }
    DisposeObj(copy);
  }
  EXPECT_EQ("+(a,*(2,b),c,~)", Show(sum));
  DisposeObj(sum);
}

TEST_F(SlotTest, WalkVisitsFromTheFirstObjectSlotInOrder) {
  Handle theory = Build("T(A(=(x,1)),A(y))");
  DataSlot(theory, 0) = 12345;  // the knowledge table is data, never walked
  std::string trace;
  WalkTree(
      theory, [&](Handle h) { trace += std::string("<") + char(ObjType(h)); },
      [&](Handle h) { trace += std::string(">") + char(ObjType(h)); });
  EXPECT_EQ("<T<A<=<'>'<i>i>=>A<A<'>'>A>T", trace);
  DataSlot(theory, 0) = 0;
  DisposeObj(theory);
}

TEST_F(SlotTest, OwningEntryScopeAndRoot) {
  Handle main = Build("M(A(+(x,1)),T(A(y)))");
  DataSlot(main, 1) = 777;  // the notebook record
  Handle assumption = ObjSlot(main, 2);
  Handle x = ObjSlot(ObjSlot(assumption, 0), 0);
  Handle caseTheory = ObjSlot(main, 3);
  Handle y = ObjSlot(ObjSlot(caseTheory, 1), 0);

  EXPECT_EQ(assumption, GetObjProp(x));
  EXPECT_EQ(assumption, GetObjProp(assumption));
  EXPECT_EQ(main, OwningScope(x));
  EXPECT_EQ(caseTheory, OwningScope(y));
  EXPECT_EQ(777, RootValue(y));

  Handle loose = Build("+(z,1)");
  EXPECT_INTERNAL_ERROR("GetObjProp detached", GetObjProp(ObjSlot(loose, 0)));
  EXPECT_EQ(0, RootValue(ObjSlot(loose, 0)));
  // Outside every entry, the scope is the notebook's current one.
  EXPECT_EQ(nullptr, OwningScope(loose));
  static Handle current;
  current = main;
  gObjStoreHooks.currentScope = [] { return current; };
  EXPECT_EQ(main, OwningScope(loose));

  DataSlot(main, 1) = 0;
  DisposeObj(loose);
  DisposeObj(main);
}

TEST_F(SlotTest, CorrespondingObjectFollowsTheSlotPath) {
  Handle tree = Build("=(+(a,*(b,c)),d)");
  Handle copy = DupObj(tree);
  Handle c = ObjSlot(ObjSlot(ObjSlot(tree, 0), 1), 1);
  Handle found = CorrespondingObj(tree, c, copy);
  EXPECT_NE(c, found);
  EXPECT_EQ("c", Show(found));
  EXPECT_EQ(ObjParent(ObjParent(ObjParent(found))), copy);
  EXPECT_EQ(copy, CorrespondingObj(tree, tree, copy));

  Handle elsewhere = Build("+(q,r)");
  EXPECT_INTERNAL_ERROR("InsideObj", CorrespondingObj(tree, ObjSlot(elsewhere, 0), copy));
  Handle shorter = Build("=(x,d)");
  EXPECT_INTERNAL_ERROR("InsideObj", CorrespondingObj(tree, c, shorter));
  for (Handle h : {tree, copy, elsewhere, shorter}) DisposeObj(h);
}

TEST_F(SlotTest, MatrixRowsAndColumns) {
  Handle m = Build("m2x2(a,b,c,d)");
  EXPECT_EQ(2, MatrixRows(m));
  EXPECT_EQ(2, MatrixCols(m));
  EXPECT_EQ("c", Show(MatrixElement(m, 1, 0)));

  MatrixInsertColumn(m, 1);
  EXPECT_EQ("m2x3(a,~,b,c,~,d)", Show(m));
  MatrixInsertRow(m, 0);
  EXPECT_EQ("m3x3(~,~,~,a,~,b,c,~,d)", Show(m));
  MatrixAppendColumn(m);
  EXPECT_EQ("m3x4(~,~,~,?,a,~,b,?,c,~,d,?)", Show(m));
  MatrixAppendRow(m);
  EXPECT_EQ("m4x4(~,~,~,?,a,~,b,?,c,~,d,?,?,?,?,?)", Show(m));
  EXPECT_EQ(16, ObjCount(m));
  EXPECT_EQ("", CheckLinks(m));
  Handle copy = DupObj(m);
  EXPECT_EQ(Show(m), Show(copy)) << "the dimension word travels with the copy";
  DisposeObj(copy);
  DisposeObj(m);

  // A one-row matrix appended to: the old dimension word must not become an element.
  Handle row = Build("m1x2(a,b)");
  MatrixAppendColumn(row);
  MatrixAppendRow(row);
  EXPECT_EQ("m2x3(a,b,?,?,?,?)", Show(row));
  DisposeObj(row);
}

}  // namespace
}  // namespace lemmabox
