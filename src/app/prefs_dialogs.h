// The preference dialogs and the information windows of the Notebook and
// Help menus: About, Get Info, Enter Key, Notebook Font and Printing Prefs.
// Each is modal and the shell's modal owner while it is up.
#pragma once

#include <string>

#include "mathobj/selection.h"
#include "shell/keystroke_table.h"

namespace lemmabox {

void RunAboutBox();

// What Get Info says about a selection: the kind of thing selected and its
// help text.
struct SelectionInfo {
  std::string kind;  // the type's display name ("Addition op")
  std::string help;  // what it is and how to work with it
};
// Raises 13211 when nothing is selected.
SelectionInfo InfoAbout(const Selection& selection);
void RunGetInfo();

// The actions the Enter-key preferences choose from.
struct EnterKeyAction {
  CommandCode code;
  const char* label;
};
extern const EnterKeyAction kEnterKeyActions[2];
// Returns the chosen bindings, or the given ones when cancelled.
EnterKeyCommands RunEnterKeyDialog(const EnterKeyCommands& keys, bool* accepted = nullptr);
// For the front notebook: asks, stores, marks it changed and refreshes the keys.
void EditEnterKeys();

// "Notebook Font": family, the three sizes (kept consistent by the layout's
// rules) and whether single letters are italic. For the front notebook.
void EditNotebookFont();

// The header template of printed pages: at most 256 characters; a longer one
// is refused with 13218 and the dialog stays up.
constexpr size_t kMaxPrintHeaderLength = 256;
// True when the header was changed.
bool EditPrintingPrefs(std::string& printHeader);

}  // namespace lemmabox
