// The declaration pass and the follow-up after an edit.
#include "notebook/declaration_pass.h"

#include <gtest/gtest.h>

#include "mathobj/encode.h"
#include "mathobj/slots.h"
#include "notebook/document.h"
#include "notebook/knowledge.h"
#include "notebook/names.h"
#include "notebook/notebook_edits.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "notebook/working_statements.h"
#include "notebook_fixture.h"
#include "shell/charset.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox::testing {
namespace {

class DeclarationPassTest : public NotebookTest {
 protected:
  int Shown(MessageNumber n) {
    std::string expected = ProgramTextToUtf8(MessageText(n));
    int count = 0;
    for (const std::string& text : platform.BoxTexts()) count += text == expected;
    return count;
  }
};

TEST_F(DeclarationPassTest, DoubledAndBadDeclarationsAreReportedAndSelected) {
  Handle first = Declare("x");
  Declare("x", kNameConstant);
  Handle bad = Append(NewNameDecl(nullptr, kNameVariable));  // a name not yet typed
  Clarify(main);
  EXPECT_EQ(1, Shown(kMsgDeclaredTwice));
  EXPECT_EQ(1, Shown(kMsgBadDeclarationName));
  EXPECT_EQ((std::vector<Handle>{first, bad}), selected);
  // Without validation nothing is reported.
  platform.boxes.clear();
  Resolve();
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(DeclarationPassTest, ADeclarationRepeatedInACaseTheoryIsReportedToo) {
  Handle theory = CaseTheory();
  Handle inner = Declare("y", kNameVariable, theory);
  Declare("y");
  Clarify(main);
  EXPECT_EQ(1, Shown(kMsgDeclaredTwice));
  EXPECT_EQ(std::vector<Handle>{inner}, selected);  // the first in the notebook
}

TEST_F(DeclarationPassTest, WorkingStatementsAreRegisteredAgain) {
  Declare("x");
  Handle def = Assume(Op('=', N("x"), I(1)));
  Handle notRelation = Assume(Op('+', N("x"), I(1)));
  Handle use = Assume(N("x"));
  SetWorkingBit(def, true);  // as read from a file
  SetWorkingBit(notRelation, true);
  NotebookRecordOf(main).prefs.guessWorkingStmts = 0;
  Resolve();
  EXPECT_TRUE(IsWorkingStatement(def));
  EXPECT_FALSE(IsWorkingStatement(notRelation));
  EXPECT_EQ(def, LookupDefinition(StatementOf(use)));
}

// A name declared while a Case Theory is interpreted goes into the Main
// Theory; the pass starts again from there so that the numbering fits.
TEST_F(DeclarationPassTest, DeclaringDuringThePassStartsItAgainFromTheTop) {
  Handle theory = CaseTheory();
  Declare("a", kNameVariable, theory);
  Handle inside = Assume(Op('+', N("a"), N("q")), 0, theory);
  DeclarationPass(theory, true);
  ASSERT_EQ(1u, platform.nameQuestions.size());
  Handle q = VarLookup(main, "q");
  ASSERT_NE(nullptr, q);
  EXPECT_EQ(0, DeclRecord(q).nameNumber);
  Handle a = VarLookup(theory, "a");
  EXPECT_EQ(1, DeclRecord(a).nameNumber);
  KnowledgeRef ref = GetKnowledge(ObjSlot(StatementOf(inside), 1));
  EXPECT_EQ(q, ref.Entry().declaration);
  EXPECT_EQ(0, NotebookRecordOf(main).declarationsChanged);
}

TEST_F(DeclarationPassTest, CommittingANameDeclarationRunsThePass) {
  Handle decl = InsertNameDecl({});
  EXPECT_EQ(kNameNotNumbered, DeclRecord(decl).nameNumber);
  PutSlot(decl, 0, N("w"));  // the user types the name into the question mark
  EncodeCommit(ObjSlot(decl, 0), true);
  EXPECT_EQ(0, DeclRecord(decl).nameNumber);
  EXPECT_TRUE(platform.boxes.empty());  // the name is a good one now
}

TEST_F(DeclarationPassTest, CommittingAWorkingStatementRegistersItAgain) {
  Declare("x");
  Declare("y");
  Handle def = Assume(Op('=', N("x"), I(1)));
  Handle useX = Assume(N("x"));
  Handle useY = Assume(N("y"));
  Resolve();
  NotebookRecordOf(main).prefs.guessWorkingStmts = 0;
  ASSERT_TRUE(SetWorkingStatement(def, true, false, false));
  PutSlot(def, 0, Op('=', N("y"), I(1)));
  EncodeCommit(ObjSlot(def, 0), true);
  EXPECT_EQ(def, LookupDefinition(StatementOf(useY)));
  EXPECT_EQ(nullptr, LookupDefinition(StatementOf(useX)));
}

TEST_F(DeclarationPassTest, AQuietInterpretationLeavesThePassForLater) {
  Handle decl = Append(NewNameDecl(N("v"), kNameVariable));
  {
    QuietEncoding reading;
    EncodeCommit(ObjSlot(decl, 0), true);
  }
  EXPECT_EQ(kNameNotNumbered, DeclRecord(decl).nameNumber);
  EXPECT_EQ(1, NotebookRecordOf(main).declarationsChanged);
}

TEST_F(DeclarationPassTest, NamesLeftUndeclaredResolveAtIdleTime) {
  Handle prop = Assume(N("s"));
  EncodeCommit(StatementOf(prop), false);  // typing, not yet committed
  EXPECT_EQ(1, NotebookRecordOf(main).pendingEdits);
  Declare("s");
  NotebookIdle(main);
  EXPECT_EQ("@s", Show(StatementOf(prop)));
  EXPECT_EQ(0, NotebookRecordOf(main).pendingEdits);
}

}  // namespace
}  // namespace lemmabox::testing
