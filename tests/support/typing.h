// Typing into a notebook, as the user does, and reading back what was built
// as the file writer writes it.
//
//   TypingSession s;
//   s.Type("x^2+2*x");
//   EXPECT_EQ(s.Written(), "x^2+2*x");
//
// A session makes a notebook with a window (view) in front and starts with
// nothing selected, so the first character typed opens an assumption. Each
// character goes through PerformCommandCode as 0x0F00 + byte; "{Name}" in a
// script sends a named command ({Return}, {Backspace}, {Left}, {Undo} ...;
// see CommandNamed). Names nobody declared are declared when an edit is
// committed, with the class the declaration question proposes (Variable, or
// Function before a parenthesised argument), unless the platform's scripted
// answers say otherwise.
//
// By default the notebook is Fortranish, so that scripts read back exactly
// as notebook files and pastes are read; sessions that test interactive
// typing turn it off.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/selection_list.h"
#include "platform/headless_platform.h"
#include "shell/command_codes.h"

namespace lemmabox::testing {

struct TypingOptions {
  // Operators climb over exponents, indices and fractions (as when a file
  // is read); off: they stay in them, as when the user types.
  bool fortranish = true;
  // The built-in names (pi, e, d, sin ...) are declared first, as the
  // new-notebook template declares them.
  bool predefinedNames = false;
};

// The command code of a name used in "{Name}": Return, Enter, Backspace,
// Delete (Clear), Tab, End, Escape, Left, Right, Up, Down, SelectIn,
// SelectOut, SelectAll, SelectFirst, Undo, Cut, Copy, Paste, NewRow,
// NewColumn, IndentLeft, IndentRight, RowColumnNumber. 0 for an unknown name.
CommandCode CommandNamed(std::string_view name);

class TypingSession {
 public:
  explicit TypingSession(TypingOptions options = {});
  // Uses the caller's platform (a HeadlessTest fixture's) instead of its own.
  explicit TypingSession(HeadlessPlatform& platform, TypingOptions options = {});
  ~TypingSession();
  TypingSession(const TypingSession&) = delete;
  TypingSession& operator=(const TypingSession&) = delete;

  TypingSession& Type(std::string_view script);
  TypingSession& Press(CommandCode code);
  TypingSession& Press(std::string_view name);

  // The statement of the last assumption or conclusion, after committing
  // every pending edit.
  std::string Written();
  // Every statement of the notebook's assumptions and conclusions, in order.
  std::vector<std::string> Statements();
  // What Copy would put on the clipboard for the current selection.
  std::string WrittenSelection();

  Handle Notebook() const { return notebook_; }
  NotebookView& View() const { return *view_; }
  HeadlessPlatform& Platform() const { return *platform_; }
  // The last assumption or conclusion (null when there is none) and its statement.
  Handle LastProposition() const;
  Handle Statement() const;
  Selection Primary() const;
  // Replaces the selection.
  void Select(Handle obj, int32_t position = kPosWhole);
  void Commit();
  // Whether the alert of message n was shown since the session began (or
  // since the last ClearAlerts).
  bool Alerted(MessageNumber n) const;
  void ClearAlerts();

 private:
  void Start(TypingOptions options);

  std::unique_ptr<HeadlessPlatform> ownPlatform_;
  HeadlessPlatform* platform_ = nullptr;
  Handle notebook_ = nullptr;
  NotebookView* view_ = nullptr;
  size_t alertsSeen_ = 0;
};

}  // namespace lemmabox::testing
