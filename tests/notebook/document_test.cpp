// Notebooks as documents: the current notebook, its preferences as the menus
// see them, and copies of whole notebooks.
#include "notebook/document.h"

#include <gtest/gtest.h>

#include "mathobj/dup_dispose.h"
#include "notebook/notebook_record.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "notebook_fixture.h"
#include "shell/commands.h"
#include "shell/menu_ids.h"

namespace lemmabox::testing {
namespace {

using DocumentTest = NotebookTest;

TEST_F(DocumentTest, TheCurrentNotebookLendsItsSettings) {
  Handle other = NewNotebook();
  EXPECT_EQ(main, CurrentNotebook());  // a second notebook does not take over
  NotebookRecordOf(other).prefs.autoSimplify = 0;
  NotebookRecordOf(other).prefs.autoCasing = 1;
  SetCurrentNotebook(other);
  EXPECT_FALSE(CurrentManipulationSettings().autoSimplify);
  EXPECT_TRUE(CurrentManipulationSettings().autoCasing);
  SetCurrentNotebook(main);
  EXPECT_TRUE(CurrentManipulationSettings().autoSimplify);
  EXPECT_EQ(2u, OpenNotebooks().size());
  CloseNotebook(other);
  EXPECT_EQ(std::vector<Handle>{main}, OpenNotebooks());
  EXPECT_EQ(main, CurrentScope());
}

TEST_F(DocumentTest, MenuTogglesChangeTheCurrentNotebook) {
  NotebookRecord& record = NotebookRecordOf(main);
  struct {
    MenuCommandId id;
    uint8_t* byte;
  } toggles[] = {
      {kMenuGuessWorkingStmts, &record.prefs.guessWorkingStmts},
      {kMenuShowSteps, &record.prefs.showSteps},
      {kMenuAutoCollapsar, &record.style.autoCollapse},
      {kMenuRippleChanges, &record.prefs.rippleChangesImmediately},
      {kMenuFortranish, &record.prefs.fortranish},
  };
  for (auto& t : toggles) {
    uint8_t before = *t.byte;
    record.changed = 0;
    DispatchMenuCommand(t.id);
    EXPECT_NE(before != 0, *t.byte != 0) << t.id;
    EXPECT_EQ(1, record.changed);
  }
  DispatchMenuCommand(kMenuAutoSimplify);
  EXPECT_EQ(0, record.prefs.autoSimplify);
  EXPECT_FALSE(CurrentManipulationSettings().autoSimplify);
  DispatchMenuCommand(kMenuIconsAlways);
  EXPECT_EQ(kIconsAlways, record.style.iconMode);
  DispatchMenuCommand(kMenuPrecisionLast);
  EXPECT_EQ(15, record.style.significantDigits);
}

TEST_F(DocumentTest, WholeNotebookCommandsWorkOnTheCurrentNotebook) {
  Assume(nullptr, 0);
  Assume(nullptr, 1);
  DispatchMenuCommand(kMenuCollapseAll);
  EXPECT_EQ("A0+ A1", Outline(main));
  DispatchMenuCommand(kMenuExposeAll);
  EXPECT_EQ("A0 A1", Outline(main));
  Assume(N("new"));
  DispatchMenuCommand(kMenuClarify);
  EXPECT_EQ(1u, platform.nameQuestions.size());
}

// A copy of a whole notebook keeps the settings but has its own record.
TEST_F(DocumentTest, ACopiedNotebookHasItsOwnRecord) {
  NotebookRecordOf(main).prefs.fortranish = 1;
  Handle copy = DupObj(main);
  NotebookRecord& copied = NotebookRecordOf(copy);
  EXPECT_EQ(1, copied.prefs.fortranish);
  copied.prefs.fortranish = 0;
  EXPECT_EQ(1, NotebookRecordOf(main).prefs.fortranish);
  DisposeObj(copy);
  EXPECT_EQ(1, NotebookRecordOf(main).prefs.fortranish);
}

}  // namespace
}  // namespace lemmabox::testing
