#include "mathobj/encode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "mathobj_fixture.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

using testing::Build;
using testing::CheckLinks;
using testing::Show;

// A small notebook for the tests: declarations (V entries) by spelling, some
// of them functions, a log of what the store asked of the notebook, and a
// selection list.
struct TestNotebook {
  std::vector<Handle> declarations;
  std::vector<std::string> functions;
  std::vector<std::string> log;
  std::vector<Selection> selections;
  bool answerDeclare = true;
  bool quietSeen = false;
};
TestNotebook* gBook = nullptr;

Handle FindDeclaration(const char* spelling) {
  for (Handle decl : gBook->declarations)
    if (std::strcmp(ObjText(ObjSlot(decl, 0)), spelling) == 0) return decl;
  return nullptr;
}

void ResolveName(Handle name) {
  Handle decl = FindDeclaration(ObjText(name));
  if (decl == nullptr || ObjParent(name) == decl) return;
  std::memset(ObjPayload(name), 0, kTextFieldSize);
  Hdr(name).type = kName;
  DeclOfName(name) = decl;
}

bool IsFunctionName(Handle name) {
  if (ObjType(name) != kName) return false;
  const char* spelling = ObjText(ObjSlot(DeclOfName(name), 0));
  for (const std::string& f : gBook->functions)
    if (f == spelling) return true;
  return false;
}

class EncodeTest : public testing::MathObjTest {
 protected:
  void SetUp() override {
    MathObjTest::SetUp();
    gBook = &book;
    EncodeHooks& h = gEncodeHooks;
    h.resolveName = &ResolveName;
    h.declareName = [](Handle name) {
      gBook->log.push_back(std::string("declare ") + ObjText(name));
      if (!gBook->answerDeclare) return false;
      gBook->declarations.push_back(NewObj1(kDeclaration, NewUndeclaredName(ObjText(name))));
      return true;
    };
    h.refreshDisplay = [](Handle) { gBook->log.push_back("refresh"); };
    h.markPendingEdits = [](Handle) { gBook->log.push_back("pending"); };
    h.selectName = [](Handle name) {
      gBook->log.push_back(std::string("select ") + ObjText(name));
    };
    h.relayout = [](Handle obj) { gBook->log.push_back(std::string("relayout ") + Show(obj)); };
    h.invalidateSizes = [](Handle) { gBook->log.push_back("invalidate"); };
    h.tableFollowUp = [](Handle) { gBook->log.push_back("table"); };
    h.followUp = [](Handle) { gBook->log.push_back("followUp"); };
    h.selectionList = [] { return std::span<Selection>(gBook->selections); };
    // Only names declared as functions apply to what follows them.
    savedCommute = gCommuteTable;
    gCommuteTable.Reset();
    gCommuteTable.Set(kName, [](Handle h) { return IsFunctionName(h) ? 5 : 1; });
    for (const char* name : {"x", "y", "a", "f", "sin", "cos"}) Declare(name);
    book.functions = {"f", "sin", "cos"};
  }
  void TearDown() override {
    gCommuteTable = savedCommute;
    for (Handle decl : book.declarations) DisposeObj(decl);
    gBook = nullptr;
    MathObjTest::TearDown();
  }
  void Declare(const char* name) {
    book.declarations.push_back(NewObj1(kDeclaration, NewUndeclaredName(name)));
  }
  // Interprets a tree held by an assumption, as edits are committed.
  std::string Commit(const std::string& tree, bool finalising = true) {
    Handle entry = NewObj1(kAssumption, Build(tree));
    EncodeCommit(entry, finalising);
    std::string shown = Show(ObjSlot(entry, 0));
    EXPECT_EQ("", CheckLinks(entry)) << tree;
    DisposeObj(entry);
    return shown;
  }
  TestNotebook book;
  OpTable<CommuteFn> savedCommute;
};

TEST_F(EncodeTest, FunctionApplicationsFromJuxtaposition) {
  struct Case {
    const char* typed;
    const char* interpreted;
  } const cases[] = {
      {"*(sin,x)", ";(@sin,@x)"},
      {"*(x,sin)", "*(@x,@sin)"},  // a variable is not applied
      {"*(a,f,x)", "*(@a,;(@f,@x))"},
      {"*(sin,cos,x)", ";(@sin,;(@cos,@x))"},  // nested from the right
      {"*(f,x,f,y)", "*(;(@f,@x),;(@f,@y))"},
      {"*(x,;(y,((+(x,1))))",
       "*(@x,@y,+(@x,1))"},  // a variable before parentheses: a product, merged
      {";(x,2)", "*(@x,2)"},
      {";(f,x)", ";(@f,@x)"},
      {";(f,sin)", "*(@f,@sin)"},     // both function-like: no application
      {"((+(x,#1.5))", "+(@x,1.5)"},  // parentheses give way, numbers resolve
      {"_(x,((#12))", "_(@x,12)"},
      {"*(sin,((x))", ";(@sin,@x)"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.interpreted, Commit(c.typed)) << c.typed;
}

TEST_F(EncodeTest, WithoutFinalisingParenthesesAndNumbersWait) {
  // (parentheses show as "((" and their content)
  EXPECT_EQ("+(((x),#1.5)", Commit("+(((x),#1.5)", false));
  EXPECT_EQ("+(@x,1.5)", Commit("+(((x),#1.5)", true));
  EXPECT_FALSE(EncodeFinalising()) << "finalising lasts only as long as the commit";
}

TEST_F(EncodeTest, UndeclaredNamesAreOfferedForDeclaration) {
  EXPECT_EQ("+(@q,1)", Commit("+(q,1)"));
  EXPECT_EQ((std::vector<std::string>{"declare q", "refresh", "pending", "followUp"}), book.log);
  EXPECT_TRUE(AutoDeclareOn());

  // Cancelling leaves the name undeclared, selects it and asks no more.
  book.log.clear();
  book.answerDeclare = false;
  EXPECT_EQ("+(r,s)", Commit("+(r,s)"));
  EXPECT_EQ((std::vector<std::string>{"declare r", "select r", "followUp"}), book.log);
  EXPECT_FALSE(AutoDeclareOn());

  // While editing (not finalising) the notebook is only told of pending edits.
  SetAutoDeclare(true);
  book.log.clear();
  EXPECT_EQ("t", Commit("t", false));
  EXPECT_EQ((std::vector<std::string>{"pending", "followUp"}), book.log);
}

TEST_F(EncodeTest, QuietRunsLayNothingOut) {
  {
    QuietEncoding quiet;
    EXPECT_EQ("*(@a,;(@f,@x))", Commit("*(a,f,((x))"));
    EXPECT_EQ("+(@x,2)", Commit("+(x,#2)"));
  }
  for (const std::string& entry : book.log) EXPECT_EQ(std::string::npos, entry.find("relayout"));
  EXPECT_NE(book.log.end(), std::find(book.log.begin(), book.log.end(), "invalidate"));
  EXPECT_FALSE(EncodeQuiet());
  book.log.clear();
  Commit("*(f,x)");
  EXPECT_EQ("relayout ;(@f,@x)", book.log.front());
}

TEST_F(EncodeTest, SelectionsFollowTheObjectsThatReplaceThem) {
  Handle entry = NewObj1(kAssumption, Build("+(((x),*(y,;(a,((+(x,1)))))"));
  Handle sum = ObjSlot(entry, 0);
  Handle parens = ObjSlot(sum, 0);
  Handle x = ObjSlot(parens, 0);
  Handle product = ObjSlot(sum, 1);
  Handle apply = ObjSlot(product, 1);
  book.selections = {{parens, PackRange(0, 1)}, {apply, kPosWhole}};
  Handle fx = Build(";(f,x)");
  Handle fxEntry = NewObj1(kAssumption, fx);
  book.selections.push_back({fx, PackRange(0, 1)});

  EncodeCommit(entry, true);
  EXPECT_EQ("+(@x,*(@y,@a,+(@x,1)))", Show(sum));
  // The selection on the parentheses moved to their content; the one on the
  // dissolved application to the factors that replaced it.
  EXPECT_EQ(x, book.selections[0].obj);
  EXPECT_EQ(kPosWhole, book.selections[0].position);
  EXPECT_EQ(product, book.selections[1].obj);
  EXPECT_EQ(PackRange(1, 3), book.selections[1].position);
  // A range inside a function application becomes the whole application.
  EXPECT_EQ(kPosWhole, book.selections[2].position);
  DisposeObj(entry);
  DisposeObj(fxEntry);
}

TEST_F(EncodeTest, DeclarationsAndTables) {
  // A declaration's own name is never interpreted: it must not resolve to
  // the declaration itself, and is not offered for declaration either.
  Handle decl = NewObj1(kDeclaration, Build("((((zeta))"));
  EncodeCommit(decl, true);
  EXPECT_EQ("V(zeta)", Show(decl));
  EXPECT_EQ(kUndeclaredName, ObjType(ObjSlot(decl, 0)));
  EXPECT_EQ((std::vector<std::string>{"followUp"}), book.log);
  DisposeObj(decl);

  // A table's name typed as "y x" is the application y(x) whatever y is.
  book.log.clear();
  Handle table = Build("N(*(y,x),0)");
  EncodeCommit(table, true);
  EXPECT_EQ("N(;(@y,@x),0)", Show(table));
  EXPECT_EQ((std::vector<std::string>{"table", "followUp"}), book.log);
  DisposeObj(table);
}

TEST_F(EncodeTest, EveryCataloguedTypeHasAnEntry) {
  EXPECT_INTERNAL_ERROR("EncodeObj", EncodeObj(nullptr));
  Handle odd = NewObj('#', 0);
  EXPECT_INTERNAL_ERROR("UnEncode", EncodeObj(odd));
  Hdr(odd).type = kQuestion;
  DisposeObj(odd);
  // Leaves and notebook entries interpret without asking anything.
  for (const char* tree : {"?", "`a", "7", "2.5", "B()", "Q(x)", "m1x2(x,y)", ",(x,y)"}) {
    Handle h = Build(tree);
    EncodeObj(h);
    DisposeObj(h);
  }
  EXPECT_TRUE(book.log.empty());
}

}  // namespace
}  // namespace lemmabox
