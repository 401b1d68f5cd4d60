// How names find their declarations, how the user is asked for one, and
// what happens to names when their declaration goes.
#include "notebook/names.h"

#include <gtest/gtest.h>

#include "mathobj/dup_dispose.h"
#include "mathobj/encode.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/knowledge.h"
#include "notebook/notebook_edits.h"
#include "notebook/notebook_record.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "notebook_fixture.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox::testing {
namespace {

using NamesTest = NotebookTest;

TEST_F(NamesTest, InnerDeclarationsHideOuterOnes) {
  Handle outerX = Declare("x");
  Handle theory = CaseTheory();
  Handle innerX = Declare("x", kNameConstant, theory);
  Handle inside = Assume(N("x"), 0, theory);
  Handle outside = Assume(N("x"));
  Handle undeclared = Assume(N("X"));  // spellings are case-sensitive
  Resolve();
  EXPECT_EQ(innerX, DeclOfName(StatementOf(inside)));
  EXPECT_EQ(outerX, DeclOfName(StatementOf(outside)));
  EXPECT_EQ("X", Show(StatementOf(undeclared)));
  EXPECT_EQ(innerX, VarLookup(theory, "x"));
  EXPECT_EQ(outerX, VarLookup(main, "x"));
  EXPECT_EQ(nullptr, VarLookup(main, "xx"));
  EXPECT_INTERNAL_ERROR("VarLookup_badname", VarLookup(main, nullptr));
}

TEST_F(NamesTest, ADeclarationsOwnNameNeverResolves) {
  Handle f = Declare("f", kNameFunction);
  // Declared as f(x): the wrappers are not part of the name.
  Handle g = Append(NewNameDecl(Op(';', N("g"), Op('(', N("t"))), kNameFunction));
  Resolve();
  EXPECT_EQ("f", Show(ObjSlot(f, 0)));
  EXPECT_EQ(";(g,((t))", Show(ObjSlot(g, 0)));
  ResolveName(ObjSlot(f, 0));
  EXPECT_EQ('\'', ObjType(ObjSlot(f, 0)));
  Handle use = Assume(Op(';', N("g"), N("y")));
  Resolve();
  EXPECT_EQ(g, DeclOfName(ObjSlot(StatementOf(use), 0)));
  EXPECT_EQ(g, getvardef(ObjSlot(StatementOf(use), 0)));
  EXPECT_STREQ("g", DeclNameText(g));
}

TEST_F(NamesTest, GetvardefRefusesWhatIsNotADeclaredName) {
  Handle name = N("x");
  EXPECT_INTERNAL_ERROR("getvardef", getvardef(name));
  Handle broken = NewAssumption(nullptr);
  MakeDeclaredName(name, broken);
  EXPECT_INTERNAL_ERROR("getvardef_notprop", getvardef(name));
  DisposeObj(name);
  DisposeObj(broken);
}

// Committing an edit asks for the class of each undeclared name.
TEST_F(NamesTest, CommittingAnEditAsksForDeclarations) {
  Append(NewObjN('Q', 1));  // a leading comment, as the template has
  // a * f(y) + b: f is written like a function, the rest like variables.
  Handle statement = Op('+', Op('*', N("a"), Op('*', N("f"), Op('(', N("y")))), N("b"));
  Handle prop = Assume(statement);
  platform.nameAnswers = {kNameConstant, kNameFunction, kNameVariable, kNameVariable};
  EncodeCommit(prop, true);
  ASSERT_EQ(4u, platform.nameQuestions.size());
  struct {
    const char* name;
    int defaultClass;
  } asked[] = {
      {"a", kNameVariable}, {"f", kNameFunction}, {"y", kNameVariable}, {"b", kNameVariable}};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(asked[i].name, platform.nameQuestions[i].name);
    EXPECT_EQ(asked[i].defaultClass, platform.nameQuestions[i].defaultClass);
  }
  // Declarations go after the leading comment, newest first, one level in.
  EXPECT_EQ("Q0 V1 V1 V1 V1 A0", Outline(main));
  Handle a = VarLookup(main, "a");
  ASSERT_NE(nullptr, a);
  EXPECT_EQ(kNameConstant, DeclClass(a));
  EXPECT_EQ(kNameFunction, DeclClass(VarLookup(main, "f")));
  // Every name of the statement now refers to its declaration (the
  // parentheses gave way), and the pass that followed numbered them.
  std::string shown = Show(StatementOf(prop));
  for (const char* name : {"@a", "@f", "@y", "@b"})
    EXPECT_NE(std::string::npos, shown.find(name)) << shown;
  EXPECT_EQ(std::string::npos, shown.find('(' + std::string("(")));
  EXPECT_GE(DeclRecord(a).nameNumber, 0);
  EXPECT_EQ(0, NotebookRecordOf(main).declarationsChanged);
}

TEST_F(NamesTest, CancelStopsAskingForTheRestOfTheCommand) {
  Handle prop = Assume(Op('+', N("p"), N("q")));
  platform.nameAnswers = {0};
  EncodeCommit(prop, true);
  EXPECT_EQ(1u, platform.nameQuestions.size());
  EXPECT_EQ("+(p,q)", Show(StatementOf(prop)));
  EXPECT_EQ("A0", Outline(main));
  // The next Clarify asks again.
  platform.nameAnswers = {kNameVariable, kNameVariable};
  Clarify(main);
  EXPECT_EQ(3u, platform.nameQuestions.size());
  EXPECT_EQ("+(@p,@q)", Show(StatementOf(prop)));
}

TEST_F(NamesTest, NamesSpelledLikeBuiltInsGetTheirBehaviour) {
  Handle prop = Assume(Op('*', N("sin"), Op('(', N("x"))));
  EncodeCommit(prop, true);
  ASSERT_EQ(2u, platform.nameQuestions.size());
  EXPECT_TRUE(platform.nameQuestions[0].builtIn);
  EXPECT_EQ(kNameFunction, platform.nameQuestions[0].defaultClass);
  Handle sin = VarLookup(main, "sin");
  EXPECT_EQ(TrigKey(kTrigPlain, kSin), DeclKey(sin));
  EXPECT_EQ(0, DeclKey(VarLookup(main, "x")));
  // Declared with another class, it is the user's own name.
  Handle prop2 = Assume(N("e"));
  platform.nameAnswers = {kNameVariable};
  EncodeCommit(prop2, true);
  EXPECT_EQ(0, DeclKey(VarLookup(main, "e")));
}

TEST_F(NamesTest, PredefinedNamesComeFromTheirDeclarations) {
  // Without a declaration there is nothing to build the name from.
  EXPECT_RAISES(kMsgNeedPredefinedName, NewPredefinedName(kKeyPi));
  Handle pi = DeclarePredefined(kKeyPi);
  Handle name = NewPredefinedName(kKeyPi);
  EXPECT_EQ('v', ObjType(name));
  EXPECT_EQ(pi, DeclOfName(name));
  EXPECT_EQ(kKeyPi, PredefinedKeyOfName(name));
  DisposeObj(name);
  // A declaration found by its key wins over a shadowing user name ...
  Handle theory = CaseTheory();
  Declare("\xB9", kNameVariable, theory);
  {
    LookupScopeGuard scope(theory);
    Handle inScope = NewPredefinedName(kKeyPi);
    EXPECT_EQ(pi, DeclOfName(inScope));
    DisposeObj(inScope);
  }
  // ... and without a predefined declaration the spelling resolves.
  Handle userE = Declare("e");
  Handle e = NewPredefinedName(kKeyE);
  EXPECT_EQ(userE, DeclOfName(e));
  EXPECT_EQ(0, PredefinedKeyOfName(e));
  DisposeObj(e);
}

TEST_F(NamesTest, DeletingADeclarationTurnsItsNamesBackIntoText) {
  Handle x = Declare("x");
  Handle bad = Append(NewNameDecl(Op('+', N("u"), N("v")), kNameVariable));
  Handle use = Assume(Op('+', N("x"), N("y")));
  Resolve();
  MakeDeclaredName(ObjSlot(StatementOf(use), 1), bad);  // as a damaged file might
  Handle gone[] = {x, bad};
  DeletePropositions(gone);
  EXPECT_EQ("+(x,?)", Show(StatementOf(use)));
  // With another declaration in scope, the name resolves to that one.
  Handle theory = CaseTheory();
  Handle outer = Declare("z");
  Handle inner = Declare("z", kNameVariable, theory);
  Handle inside = Assume(N("z"), 0, theory);
  Resolve();
  EXPECT_EQ(inner, DeclOfName(StatementOf(inside)));
  Handle innerOnly[] = {inner};
  DeletePropositions(innerOnly);
  EXPECT_EQ(outer, DeclOfName(StatementOf(inside)));
}

TEST_F(NamesTest, SameNameComparesNamesAndSubscripts) {
  Handle x = Declare("x");
  Handle k = Declare("k");
  Handle prop = Assume(Row({N("x"), N("x"), Op('_', N("x"), I(1)), Op('_', N("x"), I(1)),
                            Op('_', N("x"), N("k")), Op('_', N("x"), I(2)), N("y")}));
  Resolve();
  Handle row = StatementOf(prop);
  auto at = [&](int i) { return ObjSlot(row, i); };
  EXPECT_TRUE(SameName(at(0), at(1)));
  EXPECT_TRUE(SameName(at(2), at(3)));
  EXPECT_FALSE(SameName(at(2), at(4)));
  EXPECT_FALSE(SameName(at(2), at(5)));
  EXPECT_FALSE(SameName(at(0), at(6)));
  EXPECT_TRUE(MentionsName(at(4), at(0)));
  EXPECT_FALSE(MentionsName(at(0), at(4)));
  (void)x;
  (void)k;
}

}  // namespace
}  // namespace lemmabox::testing
