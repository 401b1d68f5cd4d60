#include "app/documents.h"

#include <QFileInfo>

#include "app/app_window.h"
#include "app/notebook_window.h"
#include "files/file_kinds.h"
#include "notebook/document.h"
#include "platform/platform.h"

namespace lemmabox {
namespace {

void BringWindowForward(NotebookWindow* window) {
  if (!window) return;
  if (window->isMinimized()) window->showNormal();
  window->show();
  window->raise();
  window->activateWindow();
  WindowList::Activate(window);
}

NotebookWindow* WindowOfFile(const NotebookFile& file) {
  for (NotebookWindow* window : NotebookWindows()) {
    if (window->File() == &file) return window;
  }
  return nullptr;
}

void Shown(NotebookFile& file) {
  ShowNotebookWindow(file);
}

void BroughtToFront(NotebookFile& file) {
  BringWindowForward(WindowOfFile(file));
}

// The file layer closes the file: its windows go without further questions.
void Closing(NotebookFile& file) {
  for (NotebookWindow* window : NotebookWindows()) {
    if (window->File() != &file) continue;
    window->ReleaseFile();
    WindowList::CloseRequest(window);
  }
}

NotebookFile* FrontFile() {
  if (NotebookWindow* window = FrontNotebookWindow()) return window->File();
  // No notebook window in front (the palette or a dialog is): the notebook
  // the commands work on.
  return NotebookFileOf(CurrentNotebook());
}

bool LenientReading() {
  Platform& platform = CurrentPlatform();
  return platform.ControlKeyDown() && platform.AltKeyDown();
}

}  // namespace

void InstallNotebookFileEvents() {
  gNotebookFileEvents.shown = Shown;
  gNotebookFileEvents.broughtToFront = BroughtToFront;
  gNotebookFileEvents.closing = Closing;
  gNotebookFileEvents.front = FrontFile;
}

QString DisplayFileName(const NotebookFile& file) {
  return QString::fromStdString(std::string(FileNamePart(file.path)));
}

NotebookWindow* ShowNotebookWindow(NotebookFile& file) {
  auto* window = new NotebookWindow(file);
  if (file.window.width > 0 && file.window.height > 0) window->Place(file.window);
  BringWindowForward(window);
  return window;
}

NotebookWindow* NewUntitledNotebook() {
  return ShowNotebookWindow(NewUntitledNotebookFile());
}

NotebookWindow* OpenNotebookFile(const std::string& path) {
  NotebookReadOptions options;
  options.lenient = LenientReading();
  const size_t before = OpenNotebookFiles().size();
  NotebookFile& file = OpenNotebookFileAt(path, options);
  if (OpenNotebookFiles().size() > before) return ShowNotebookWindow(file);
  NotebookWindow* window = WindowOfFile(file);
  BringWindowForward(window);
  return window;
}

void OpenStartupNotebooks() {
  // The file layer shows each one through the events above.
  OpenStartupNotebookFiles();
}

std::vector<NotebookWindow*> NotebookWindows() {
  std::vector<NotebookWindow*> windows;
  for (AppWindow* window : WindowList::Windows()) {
    if (auto* notebook = dynamic_cast<NotebookWindow*>(window)) windows.push_back(notebook);
  }
  return windows;
}

NotebookWindow* FrontNotebookWindow() {
  return dynamic_cast<NotebookWindow*>(WindowList::Front());
}

NotebookWindow* WindowOfNotebook(Handle mainTheory) {
  if (!mainTheory) return nullptr;
  for (NotebookWindow* window : NotebookWindows()) {
    if (window->Root() == mainTheory) return window;
  }
  return nullptr;
}

}  // namespace lemmabox
