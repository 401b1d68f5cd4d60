// The Undo record, on a notebook changed the way commands change it: slots
// saved before they are replaced, propositions inserted and deleted through
// the notebook model, which reports them to the record.
#include "editor/undo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/encode.h"
#include "mathobj/slots.h"
#include "notebook/declaration_pass.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/names.h"
#include "notebook/notebook_edits.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "shell/charset.h"
#include "shell/interrupt.h"
#include "shell/messages.h"
#include "shell/string_cache.h"
#include "support/failure_helpers.h"
#include "support/headless_fixture.h"

namespace lemmabox {
namespace {

Handle N(const char* name) {
  return NewUndeclaredName(name);
}
Handle I(int value) {
  return NewInteger(value);
}

// The expression form used in these tests: names by spelling (a declared
// name as @spelling), integers, ?, type(operands...).
std::string Show(Handle obj) {
  if (obj == nullptr) return "~";
  switch (ObjType(obj)) {
    case kUndeclaredName:
      return ObjText(obj);
    case kName: {
      const char* text = DeclNameText(DeclOfName(obj));
      return std::string("@") + (text ? text : "?");
    }
    case kInteger:
      return std::to_string(IntegerValue(obj));
    case kQuestion:
      return "?";
    default:
      break;
  }
  std::string text(1, static_cast<char>(ObjType(obj)));
  text += '(';
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) {
    if (i > FirstObjSlot(obj)) text += ',';
    text += Show(ObjSlot(obj, i));
  }
  return text + ')';
}

int gWindow1, gWindow2;

struct Seen {
  UndoOwner front = &gWindow1;
  std::vector<Handle> selected, reported;
  int commentUndos = 0;
  bool commentPending = false;
};
Seen gSeen;

class UndoTest : public testing::HeadlessTest {
 public:
  void SetUp() override {
    HeadlessTest::SetUp();
    gSeen = Seen{};
    ResetUndoHooks();
    gUndoHooks.frontWindow = [] { return gSeen.front; };
    gUndoHooks.selectRestored = [](Handle obj) { gSeen.selected.push_back(obj); };
    gUndoHooks.reportChanged = [](Handle prop) { gSeen.reported.push_back(prop); };
    gUndoHooks.commentUndoPending = [](UndoOwner) { return gSeen.commentPending; };
    gUndoHooks.commentUndo = [](UndoOwner) { ++gSeen.commentUndos; };
    SetAutoDeclare(true);
    main_ = NewNotebook();
    SetCurrentNotebook(main_);
    for (int k = 1; k <= 3; ++k) props_.push_back(Assume(I(k)));
    // Whatever earlier tests left in the record goes.
    StartUndoRecord();
    StopUndoRecording();
  }
  void TearDown() override {
    StartUndoRecord();
    StopUndoRecording();
    ResetUndoHooks();
    CloseNotebook(main_);
    HeadlessTest::TearDown();
  }

  Handle Assume(Handle statement) {
    Handle prop = NewAssumption(statement);
    InsertProp(prop, main_, ObjCount(main_), 0);
    return prop;
  }
  // The statements of the Main Theory's propositions, in order ("V" for a
  // declaration).
  std::string Notebook() {
    std::string text;
    for (int i = FirstProp(main_); i < ObjCount(main_); ++i) {
      Handle prop = ObjSlot(main_, i);
      if (!text.empty()) text += ' ';
      text += IsAssumptionOrConclusion(ObjType(prop)) ? Show(StatementOf(prop))
                                                      : std::string(1, ObjType(prop));
    }
    return text;
  }
  // Replaces the statement of prop the way a command does: saved first.
  void Change(Handle prop, Handle statement) {
    UndoSaveSlot(prop, 0);
    PutSlot(prop, 0, statement);
  }
  int First() { return FirstProp(main_); }
  bool Alerted(MessageNumber n) {
    std::string expected = ProgramTextToUtf8(MessageText(n));
    for (const std::string& text : platform.BoxTexts())
      if (text == expected) return true;
    return false;
  }

  Handle main_ = nullptr;
  std::vector<Handle> props_;
};

TEST_F(UndoTest, UndoIsItsOwnInverse) {
  {
    RecordedCommand command;
    Change(props_[1], I(5));
    Change(props_[2], N("x"));
  }
  EXPECT_EQ("1 5 x", Notebook());
  const char* states[] = {"1 2 3", "1 5 x", "1 2 3", "1 5 x"};
  for (const char* expected : states) {
    UndoCommand();
    EXPECT_EQ(expected, Notebook());
  }
  // The restored statements were shown and reported, the assumptions as changed.
  EXPECT_EQ(8u, gSeen.selected.size());
  EXPECT_EQ(8u, gSeen.reported.size());
  EXPECT_EQ(props_[2], gSeen.reported.front());  // newest change first
}

TEST_F(UndoTest, TwoChangesToOneSlotGoBackToTheFirstState) {
  {
    RecordedCommand command;
    Change(props_[0], I(5));
    Change(props_[0], I(6));
  }
  EXPECT_EQ(1, UndoEntryCount());
  UndoCommand();
  EXPECT_EQ("1 2 3", Notebook());
  UndoCommand();
  EXPECT_EQ("6 2 3", Notebook());
}

TEST_F(UndoTest, ADeletedPropositionComesBackAtItsPlace) {
  {
    RecordedCommand command;
    Handle gone[] = {props_[1]};
    DeletePropositions(gone);
  }
  EXPECT_EQ("1 3", Notebook());
  ASSERT_EQ(1, UndoEntryCount());
  EXPECT_EQ(kUndoDeleted, UndoEntryAt(0).kind);
  UndoCommand();
  EXPECT_EQ("1 2 3", Notebook());
  UndoCommand();
  EXPECT_EQ("1 3", Notebook());
  UndoCommand();
  EXPECT_EQ("1 2 3", Notebook());
}

// Each entry's place is right when its turn comes, also when several changes
// happen at one place or before one another.
TEST_F(UndoTest, ChangesAtTheSamePlaceKeepTheirOrder) {
  const struct {
    const char* what;
    void (*command)(UndoTest&);
    const char* after;
  } cases[] = {
      {"two insertions at one index",
       [](UndoTest& t) {
         InsertProp(NewAssumption(N("x")), t.main_, t.First() + 1, 0);
         InsertProp(NewAssumption(N("y")), t.main_, t.First() + 1, 0);
       },
       "1 y x 2 3"},
      {"an insertion before a changed slot",
       [](UndoTest& t) {
         InsertProp(NewAssumption(N("x")), t.main_, t.First() + 1, 0);
         t.Change(t.props_[1], I(7));
       },
       "1 x 7 3"},
      {"a change, then an insertion before it",
       [](UndoTest& t) {
         t.Change(t.props_[2], I(7));
         InsertProp(NewAssumption(N("x")), t.main_, t.First(), 0);
       },
       "x 1 2 7"},
      {"a proposition replaced, then one deleted before it, then replaced again",
       [](UndoTest& t) {
         int i = ObjSlotIndex(t.props_[2]);
         UndoSaveSlot(t.main_, i);
         PutSlot(t.main_, i, NewAssumption(I(7)));
         Handle gone[] = {t.props_[0]};
         DeletePropositions(gone);
         // The same slot, one place further up now: already saved.
         UndoSaveSlot(t.main_, i - 1);
         PutSlot(t.main_, i - 1, NewAssumption(I(8)));
         EXPECT_EQ(2, UndoEntryCount());
       },
       "2 8"},
      {"two deletions",
       [](UndoTest& t) {
         Handle first[] = {t.props_[0]};
         DeletePropositions(first);
         Handle second[] = {t.props_[2]};
         DeletePropositions(second);
       },
       "2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    StartUndoRecord();
    c.command(*this);
    StopUndoRecording();
    EXPECT_EQ(c.after, Notebook());
    UndoCommand();
    EXPECT_EQ("1 2 3", Notebook());
    UndoCommand();
    EXPECT_EQ(c.after, Notebook());
    UndoCommand();
    EXPECT_EQ("1 2 3", Notebook());
    // The propositions restored are the original ones, for the next case.
    props_.clear();
    for (int i = First(); i < ObjCount(main_); ++i) props_.push_back(ObjSlot(main_, i));
  }
}

// What was recorded inside an object that is then replaced or deleted is
// folded into the save of that object.
TEST_F(UndoTest, ChangesInsideAReplacedOrDeletedObjectFold) {
  PutSlot(props_[0], 0, NewSum(N("a"), N("b")));
  {
    RecordedCommand command;
    Handle sum = StatementOf(props_[0]);
    UndoSaveSlot(sum, 1);
    PutSlot(sum, 1, N("c"));
    UndoWiden(sum);
    PutSlot(props_[0], 0, I(4));
  }
  EXPECT_EQ(1, UndoEntryCount());
  EXPECT_EQ("4 2 3", Notebook());
  UndoCommand();
  EXPECT_EQ("+(a,b) 2 3", Notebook());

  {
    RecordedCommand command;
    Change(props_[1], I(7));
    Handle gone[] = {props_[1]};
    DeletePropositions(gone);
  }
  EXPECT_EQ("+(a,b) 3", Notebook());
  EXPECT_EQ(1, UndoEntryCount());
  UndoCommand();
  EXPECT_EQ("+(a,b) 2 3", Notebook());  // as before the command, not as deleted
  UndoCommand();
  EXPECT_EQ("+(a,b) 3", Notebook());
}

// The notebook registers every proposition of a deletion before it deletes
// any of them: a row deleted with its outline group comes back in order.
TEST_F(UndoTest, ARowDeletedWithItsGroupComesBackInOrder) {
  Hdr(props_[1]).aux = 1;
  Handle more = NewAssumption(N("x"));
  InsertProp(more, main_, First() + 2, 2);
  EXPECT_EQ("1 2 x 3", Notebook());
  {
    RecordedCommand command;
    Handle gone[] = {props_[0]};
    DeletePropositions(gone);
  }
  EXPECT_EQ("3", Notebook());
  EXPECT_EQ(3, UndoEntryCount());
  UndoCommand();
  EXPECT_EQ("1 2 x 3", Notebook());
  EXPECT_EQ(1, Indentation(ObjSlot(main_, First() + 1)));
  UndoCommand();
  EXPECT_EQ("3", Notebook());
  UndoCommand();
  EXPECT_EQ("1 2 x 3", Notebook());
}

// A conclusion deleted together with what it was derived from comes back
// derived from nothing that is gone.
TEST_F(UndoTest, RestoredConclusionsNameOnlyLivePropositions) {
  MakeConclusion(props_[1], props_[0]);
  AddContingency(StmtRecord(props_[1]).contingencies, props_[2]);
  {
    RecordedCommand command;
    Handle gone[] = {props_[0], props_[1]};
    DeletePropositions(gone);
  }
  UndoCommand();
  EXPECT_EQ("1 2 3", Notebook());
  Handle conclusion = ObjSlot(main_, First() + 1);
  ASSERT_EQ(kConclusion, ObjType(conclusion));
  Handle list = ContingenciesOf(conclusion);
  ASSERT_EQ(1, ContingencyCount(list));
  EXPECT_EQ(props_[2], ContingencyAt(list, 0));
}

TEST_F(UndoTest, ChangesInsideAnInsertedObjectNeedNoEntry) {
  Handle added = NewAssumption(NewQuestionMark());
  {
    RecordedCommand command;
    InsertProp(added, main_, First() + 1, 0);
    Change(added, I(9));
  }
  EXPECT_EQ(1, UndoEntryCount());
  EXPECT_EQ("1 9 2 3", Notebook());
  UndoCommand();
  EXPECT_EQ("1 2 3", Notebook());
  UndoCommand();
  EXPECT_EQ("1 9 2 3", Notebook());
}

TEST_F(UndoTest, AFullRecordWarnsAndRestoresWhatItHolds) {
  const int count = kUndoCapacity + 20;
  Handle sum = NewObjN(kSum, count);
  for (int i = 0; i < count; ++i) PutSlot(sum, i, I(i));
  PutSlot(props_[0], 0, sum);
  {
    RecordedCommand command;
    for (int i = 0; i < count; ++i) {
      UndoSaveSlot(sum, i);
      PutSlot(sum, i, N("x"));
    }
  }
  EXPECT_EQ(kUndoCapacity, UndoEntryCount());
  EXPECT_TRUE(UndoRecordFull());
  UndoCommand();
  EXPECT_TRUE(Alerted(kMsgTooManyChangesToUndo));
  int restored = 0;
  for (int i = 0; i < count; ++i) restored += ObjType(ObjSlot(sum, i)) == kInteger;
  EXPECT_EQ(kUndoCapacity, restored);
  EXPECT_EQ(kInteger, ObjType(ObjSlot(sum, kUndoCapacity - 1)));
  EXPECT_EQ(kUndeclaredName, ObjType(ObjSlot(sum, kUndoCapacity)));
}

TEST_F(UndoTest, UndoBelongsToTheWindowThatWasEdited) {
  {
    RecordedCommand command;
    Change(props_[0], I(5));
  }
  EXPECT_TRUE(UndoHasOwner());
  gSeen.front = &gWindow2;
  UndoCommand();
  EXPECT_EQ("5 2 3", Notebook());
  gSeen.front = &gWindow1;
  UndoCommand();
  EXPECT_EQ("1 2 3", Notebook());

  // A record made for one window cannot take saves for another.
  StartUndoRecord();
  Change(props_[0], I(6));
  gSeen.front = &gWindow2;
  EXPECT_INTERNAL_ERROR("UndoSaveNB", UndoSaveSlot(props_[1], 0));
  StopUndoRecording();
}

TEST_F(UndoTest, ACommandOnManySelectionsCannotBeUndone) {
  {
    RecordedCommand command(false);
    Change(props_[0], I(5));
  }
  EXPECT_EQ(0, UndoEntryCount());
  UndoCommand();
  EXPECT_EQ("5 2 3", Notebook());
}

TEST_F(UndoTest, TheCommentEditorsUndoComesFirst) {
  {
    RecordedCommand command;
    Change(props_[0], I(5));
  }
  gSeen.commentPending = true;
  UndoCommand();
  EXPECT_EQ(1, gSeen.commentUndos);
  EXPECT_EQ("5 2 3", Notebook());
}

TEST_F(UndoTest, ConclusionsAreNotReportedAsChanged) {
  MakeConclusion(props_[1], props_[0]);
  {
    RecordedCommand command;
    Change(props_[0], I(5));
    Change(props_[1], I(6));
  }
  UndoCommand();
  ASSERT_EQ(1u, gSeen.reported.size());
  EXPECT_EQ(props_[0], gSeen.reported[0]);
}

// A saved copy does not point at declarations: its names are text again.
TEST_F(UndoTest, SavedCopiesHoldNamesAsText) {
  Handle decl = NewNameDecl(N("x"), kNameVariable);
  InsertProp(decl, main_, First(), 0);
  Handle odd = NewNameDecl(NewIndex(N("v"), I(1)), kNameVariable);
  InsertProp(odd, main_, First(), 0);
  PutSlot(props_[0], 0, NewSum(N("x"), N("m")));
  DeclarationPass(main_, false);
  Handle sum = StatementOf(props_[0]);
  MakeDeclaredName(ObjSlot(sum, 1), odd);
  EXPECT_EQ("+(@x,@?)", Show(sum));
  {
    RecordedCommand command;
    Change(props_[0], I(5));
  }
  ASSERT_EQ(1, UndoEntryCount());
  EXPECT_EQ("+(x,?)", Show(UndoEntryAt(0).saved));
  UndoCommand();
  // The declaration pass after Undo resolves the names again.
  EXPECT_EQ("+(@x,?)", Show(StatementOf(props_[0])));
}

// Undoing the insertion of a declaration: the names it declared let go of it.
TEST_F(UndoTest, UndoingADeclarationReleasesItsNames) {
  PutSlot(props_[0], 0, N("n"));
  {
    RecordedCommand command;
    InsertProp(NewNameDecl(N("n"), kNameVariable), main_, First(), 0);
    DeclarationPass(main_, false);
  }
  EXPECT_EQ("V @n 2 3", Notebook());
  UndoCommand();
  EXPECT_EQ("n 2 3", Notebook());
  UndoCommand();
  EXPECT_EQ("V @n 2 3", Notebook());
}

TEST_F(UndoTest, ACopyThatFailsLeavesNoHalfRecord) {
  {
    RecordedCommand command;
    Change(props_[0], I(5));
    Handle big = NewObjN(kSum, 64);
    for (int i = 0; i < 64; ++i) PutSlot(big, i, NewSum(I(i), N("x")));
    PutSlot(props_[1], 0, big);
    // Escape is held while the copy runs.
    platform.autoAdvanceMs = 100;
    platform.escapeHeld = true;
    ResetInterruptCheck();
    Change(props_[1], I(6));
    platform.escapeHeld = false;
    platform.autoAdvanceMs = 0;
    Change(props_[2], I(7));
  }
  EXPECT_TRUE(Alerted(kMsgUserInterrupt));
  EXPECT_EQ(0, UndoEntryCount());
  UndoCommand();
  EXPECT_EQ("5 6 7", Notebook());
}

}  // namespace
}  // namespace lemmabox
