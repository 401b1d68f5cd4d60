// Notebooks as files: where each open notebook is stored, the lock on its
// file, and the file commands (New Notebook, Open, Save, Save as, Revert to
// Saved, the close check, AutoSave, Copy HTML Tag).
//
// The desktop shows one window per notebook file and learns through
// NotebookFileHooks when one is made, opened again or closed; the command-line
// tool and the tests use these routines directly.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_reader.h"
#include "files/file_writer.h"
#include "platform/file_system.h"

namespace lemmabox {

struct NotebookFile {
  Handle root = nullptr;  // the Main Theory
  // The full path. An untitled notebook gets a numbered name in the
  // preferences directory, under which only Save as (or an emergency) saves it.
  std::string path;
  bool untitled = false;
  // A start-up notebook: closing it saves it without asking.
  bool silentSave = false;
  // The lock held on the file while it is open (kNoFileLock for none).
  int lock = kNoFileLock;
  // Another program had the file open: it can only be saved elsewhere.
  bool lockRefused = false;
  // Where its window is; the desktop keeps it up to date, the file stores it.
  WindowPlacement window;
  // How many windows show it (the desktop's count).
  int windows = 1;
};

// Where the file commands reach the desktop. Every hook has a default that
// keeps the documents working without windows.
struct NotebookFileEvents {
  // A notebook file was made or opened: show it. Default: nothing.
  void (*shown)(NotebookFile& file);
  // An open notebook file was asked for again: bring its window to the front.
  // Default: nothing.
  void (*broughtToFront)(NotebookFile& file);
  // The file is about to be closed: its windows go. Default: nothing.
  void (*closing)(NotebookFile& file);
  // The notebook file of the front window, or null. Default: the file of the
  // current notebook.
  NotebookFile* (*front)();
};
extern NotebookFileEvents gNotebookFileEvents;
void ResetNotebookFileEvents();

// The open notebook files, oldest first, and the one of a notebook.
std::vector<NotebookFile*> OpenNotebookFiles();
NotebookFile* NotebookFileOf(Handle root);

// New Notebook: the "NEWNOTE.AXN" template found through the support-file
// search, as a new untitled notebook, or else an empty notebook with the
// default preferences.
NotebookFile& NewUntitledNotebookFile();
// A new notebook started from the template, not registered as a file (the
// command-line tool's scratch notebooks). Null when there is no template.
Handle NewNotebookFromTemplate();

// Opens a notebook file, or returns the open one of that path (13178 as
// information when it has several windows). A translation table ('c') is
// refused (13147); a missing file raises 13132; kind 'N' (.AXS) opens as an
// untitled copy. When the file cannot be locked, 13216 is shown as
// information and the notebook can only be saved elsewhere.
NotebookFile& OpenNotebookFileAt(const std::string& path, const NotebookReadOptions& options = {});
// Start-up without files: every existing "NOTEBK0.AXN" .. "NOTEBK10.AXN" is
// opened (those whose file could be locked are saved silently on closing);
// when none exists, New Notebook. A file that cannot be opened shows its alert.
std::vector<NotebookFile*> OpenStartupNotebookFiles();

// Save: an untitled notebook goes through Save as; otherwise the notebook is
// written over its file (whose name first gets the notebook extension when
// it has another). The old file stays as it was when saving fails.
// Returns false when the user cancelled Save as.
bool SaveNotebookFile(NotebookFile& file);
// Saves under a new path (asText: the text extension instead of the
// notebook one) and remembers it. 13216 when another program holds that file.
void SaveNotebookFileAs(NotebookFile& file, const std::string& path, bool asText = false);
// Save as through the platform's file chooser (Ctrl and Alt held: as text);
// false when the user cancels.
bool ChooseAndSaveNotebookFileAs(NotebookFile& file);

// AutoSave: a changed notebook with AutoSave on and a file of its own is
// saved; a failure shows its alert. True when it was saved. The desktop
// calls it from its periodic work.
bool AutoSaveNotebookFile(NotebookFile& file);

// The close check. With several windows a window closes without questions.
// During an emergency the notebook takes its ".rec" name first. A changed
// notebook is saved silently (start-up notebooks) or after "Save the file %s ?"
// (Yes saves, No does not, Cancel refuses). A failed save refuses the close.
// When the close may go on, the file's lock is released.
bool MayCloseNotebookFile(NotebookFile& file, bool emergency = false);
// Closes the notebook and forgets the file.
void CloseNotebookFile(NotebookFile& file);

// Revert to Saved: after "Confirm Revert", the notebook is read again from its
// file in place of the open one (the same Main Theory, so its windows stay).
// False when the user declined or the notebook has no file.
bool RevertNotebookFile(NotebookFile& file);

// Copy HTML Tag: the embedding tag of the file on the clipboard (13217 as
// information unless its name ends in ".AXP").
void CopyHtmlTag(NotebookFile& file);
// The tag itself, for a file name and the notebook's content size and base
// font size (in the same units).
std::string HtmlTagText(std::string_view fileName, int32_t contentWidth, int32_t contentHeight,
                        int32_t baseFontSize);

// Registers the File menu's commands and Copy HTML Tag.
void RegisterFileCommands();

}  // namespace lemmabox
