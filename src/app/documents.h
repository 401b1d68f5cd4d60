// Notebooks as documents of the desktop: one window per open notebook file.
//
// The file layer (files/notebook_files.h) keeps the open notebook files and
// runs the file commands; the desktop shows each file it makes or opens in a
// window, brings a window to the front when its file is asked for again, and
// takes the windows away when a file closes.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "files/notebook_files.h"
#include "shell/types.h"

namespace lemmabox {

class NotebookWindow;

// Routes the file layer's events to the windows (called at registration).
void InstallNotebookFileEvents();

// The file name of a notebook file, shown as its window title.
QString DisplayFileName(const NotebookFile& file);

// A window for a notebook file just made or opened, shown and in front.
NotebookWindow* ShowNotebookWindow(NotebookFile& file);

// A new untitled notebook in a new window (the NEWNOTE.AXN template when it
// can be read, else an empty notebook).
NotebookWindow* NewUntitledNotebook();
// Opens a notebook file in a new window, or brings its window to the front
// when it is open already. Raises what opening raises (13132 for a missing
// file, 13148 for a corrupt one); nothing opens then. Held Ctrl and Alt make
// the reading lenient.
NotebookWindow* OpenNotebookFile(const std::string& path);
// With no files on the command line: the numbered start-up notebooks, or
// else a new notebook.
void OpenStartupNotebooks();

// The notebook windows, oldest first, the one in front (or null), and the
// window of a notebook.
std::vector<NotebookWindow*> NotebookWindows();
NotebookWindow* FrontNotebookWindow();
NotebookWindow* WindowOfNotebook(Handle mainTheory);

}  // namespace lemmabox
