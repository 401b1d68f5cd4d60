// The notebook commands that act on the selection, reached from the menus,
// each undoable as one command.
#include <gtest/gtest.h>

#include <string>

#include "editing_helpers.h"
#include "mathobj/types.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "shell/commands.h"
#include "shell/menu_ids.h"
#include "shell/messages.h"
#include "support/typing.h"

namespace lemmabox::testing {
namespace {

// The kinds of the notebook's propositions after the declarations, with
// their indentation ('.' inline, '+' collapsed).
std::string Rows(Handle notebook) {
  std::string rows;
  for (int i = FirstProp(notebook); i < ObjCount(notebook); ++i) {
    Handle prop = ObjSlot(notebook, i);
    if (ObjType(prop) == kDeclaration) continue;
    if (!rows.empty()) rows += ' ';
    rows += static_cast<char>(ObjType(prop));
    rows += IsInline(prop) ? std::string(".") : std::to_string(Indentation(prop));
    if (HasFlag(prop, kFlagCollapsed)) rows += '+';
  }
  return rows;
}

Handle Assumption(TypingSession& s, const char* name) {
  for (int i = FirstProp(s.Notebook()); i < ObjCount(s.Notebook()); ++i) {
    Handle prop = ObjSlot(s.Notebook(), i);
    if (ObjType(prop) == kAssumption && FindName(prop, name) != nullptr) return prop;
  }
  return nullptr;
}

TEST(NotebookCommands, InsertCommandsPlaceNewPropositionsAndUndo) {
  struct Case {
    MenuCommandId menu;
    const char* rows;
  };
  const Case cases[] = {
      {kMenuPageBreak, "A0 B0 A0"},        {kMenuNameDecl, "A0 A0"},
      {kMenuIndependenceDecl, "A0 I0 A0"}, {kMenuTransformRule, "A0 H0 A0"},
      {kMenuCaseTheory, "T0 A0"},
  };
  for (const Case& c : cases) {
    TypingSession s;
    s.Type("a=b{Return}c");
    s.Commit();
    s.Select(Assumption(s, "a"));
    const std::string before = Rows(s.Notebook());
    DispatchMenuCommand(c.menu);
    EXPECT_EQ(Rows(s.Notebook()), c.rows) << c.menu;
    s.Press("Undo");
    EXPECT_EQ(Rows(s.Notebook()), before) << c.menu;
  }
  // A new rule's sides come from the selected equation.
  TypingSession r;
  r.Type("a=b");
  r.Commit();
  r.Select(r.LastProposition());
  DispatchMenuCommand(kMenuTransformRule);
  Handle rule = FindType(r.Notebook(), kRule);
  ASSERT_NE(rule, nullptr);
  EXPECT_NE(FindName(ObjSlot(rule, 0), "a"), nullptr);
}

TEST(NotebookCommands, OutlineCommandsOnTheSelectedRows) {
  TypingSession s;
  s.Type("a{Return}b{Return}c");
  s.Commit();
  s.Select(Assumption(s, "b"));
  s.Press("IndentRight");
  s.Select(Assumption(s, "c"));
  s.Press("IndentRight");
  EXPECT_EQ(Rows(s.Notebook()), "A0 A1 A1");
  s.Press("IndentLeft");
  EXPECT_EQ(Rows(s.Notebook()), "A0 A1 A0");
  s.Select(Assumption(s, "a"));
  DispatchMenuCommand(kMenuCollapse);
  EXPECT_EQ(Rows(s.Notebook()), "A0+ A1 A0");
  s.Press("Undo");
  EXPECT_EQ(Rows(s.Notebook()), "A0 A1 A0");
  s.Press("Undo");
  DispatchMenuCommand(kMenuCollapseAll);
  EXPECT_EQ(Rows(s.Notebook()), "A0+ A1 A0");
  DispatchMenuCommand(kMenuExposeAll);
  EXPECT_EQ(Rows(s.Notebook()), "A0 A1 A0");
  // Lock Proposition needs one collapsed proposition.
  s.Select(Assumption(s, "a"));
  DispatchMenuCommand(kMenuLockProposition);
  EXPECT_TRUE(s.Alerted(kMsgLockNeedsCollapsed));
  DispatchMenuCommand(kMenuCollapse);
  DispatchMenuCommand(kMenuLockProposition);
  EXPECT_TRUE(HasFlag(Assumption(s, "a"), kFlagLocked));
  // A locked proposition refuses edits.
  s.ClearAlerts();
  s.Select(ObjSlot(Assumption(s, "a"), 0), kPosCaretAfter);
  s.Type("+");
  EXPECT_TRUE(s.Alerted(kMsgLockedProposition));
  EXPECT_EQ(s.Statements().front(), "a");
}

TEST(NotebookCommands, EveryEditingActionHasAHandler) {
  TypingSession s;
  for (CommandAction action :
       {CommandAction::kUndo, CommandAction::kInsertPageBreak, CommandAction::kInsertCaseTheory,
        CommandAction::kInsertTransformRule, CommandAction::kInsertNameDecl,
        CommandAction::kInsertIndependenceDecl, CommandAction::kCollapse, CommandAction::kExpose,
        CommandAction::kCollapseAll, CommandAction::kExposeAll, CommandAction::kLockProposition,
        CommandAction::kClarify})
    EXPECT_TRUE(IsCommandRegistered(action)) << CommandActionName(action);
}

}  // namespace
}  // namespace lemmabox::testing
