// The selection list of a notebook view.
#include "editor/selection_list.h"

#include <gtest/gtest.h>

#include "editing_helpers.h"
#include "mathobj/constructors.h"
#include "mathobj/slots.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "shell/messages.h"
#include "support/failure_helpers.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

TEST(SelectionList, SelectingAgainOrInsideDeselects) {
  TypingSession s({.fortranish = false});
  s.Type("a+b");
  s.Select(nullptr);
  Handle sum = s.Statement();
  Handle a = ObjSlot(sum, 0);
  Select(a, kPosWhole);
  Select(ObjSlot(sum, 1), kPosWhole);
  EXPECT_EQ(SelectionList().size(), 2u);
  Select(a, kPosCaretAfter);  // the same object: its record goes
  ASSERT_EQ(SelectionList().size(), 1u);
  EXPECT_EQ(PrimarySelection().obj, ObjSlot(sum, 1));
  Select(sum, kPosWhole);  // around the selected b: b's record goes, sum is not added
  EXPECT_TRUE(SelectionList().empty());
  SelectRange(sum, 0, 1);
  EXPECT_EQ(PrimarySelection(), (Selection{sum, PackRange(0, 1)}));
}

TEST(SelectionList, UnselectCopyAndRestore) {
  TypingSession s({.fortranish = false});
  s.Type("a+b*c");
  Handle sum = s.Statement();
  s.Select(nullptr);
  Select(ObjSlot(sum, 0), kPosWhole);
  Select(FindName(sum, "c"), kPosWhole);
  const std::vector<Selection> saved = CopySelectionList();
  Unselect(ObjSlot(sum, 1));  // c lies inside b*c
  ASSERT_EQ(SelectionList().size(), 1u);
  Unselect(nullptr);
  EXPECT_TRUE(SelectionList().empty());
  RestoreSelectionList(saved);
  EXPECT_EQ(CopySelectionList(), saved);
  ClearSelection();
  EXPECT_TRUE(SelectionList().empty());
}

TEST(SelectionList, TheTwoHundredAndFiftyFirstSelectionIsRefused) {
  TypingSession s({.fortranish = false});
  s.Type("?");
  Handle statement = s.Statement();
  s.Select(nullptr);
  for (int i = 0; i < kMaxSelections; ++i) AppendSelection(statement, kPosWhole);
  EXPECT_RAISES(kMsgTooManySelections, AppendSelection(statement, kPosWhole));
  EXPECT_EQ(SelectionList().size(), static_cast<size_t>(kMaxSelections));
  // A command that would reach 251 stops there and keeps the first 250.
  s.Select(nullptr);
  for (int i = 0; i < 126; ++i) {
    Handle sum = NewSum(NewUndeclaredName("a"), NewUndeclaredName("b"));
    InsertProp(NewAssumption(sum), s.Notebook(), ObjCount(s.Notebook()), 0);
    s.View().selections.push_back({sum, kPosWhole});
  }
  s.Press("SelectIn");
  EXPECT_TRUE(s.Alerted(kMsgTooManySelections));
  EXPECT_EQ(s.View().selections.size(), static_cast<size_t>(kMaxSelections));
}

TEST(SelectionList, DisposedObjectsLeaveTheList) {
  TypingSession s({.fortranish = false});
  s.Type("a+b");
  Handle sum = s.Statement();
  Handle b = ObjSlot(sum, 1);
  s.Select(b, kPosWhole);
  DeleteSlots(sum, 1, 2);
  ASSERT_EQ(s.View().selections.size(), 1u);
  EXPECT_EQ(s.View().selections.front().obj, nullptr);
  DropStaleSelections();
  EXPECT_TRUE(s.View().selections.empty());
}

TEST(SelectionList, WithoutANotebookWindow) {
  HeadlessPlatform platform;
  SetCurrentPlatform(&platform);
  {
    TypingSession s;
    SetFrontView(nullptr);
    EXPECT_INTERNAL_ERROR("Select_Nowin", Select(s.Notebook(), kPosWhole));
    EXPECT_INTERNAL_ERROR("Unselect_nowin", Unselect(nullptr));
    EXPECT_TRUE(SelectionList().empty());
    SetFrontView(&s.View());
  }
  SetCurrentPlatform(nullptr);
}

}  // namespace
}  // namespace lemmabox::testing
