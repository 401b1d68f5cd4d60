#include "app/app_commands.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QSvgGenerator>
#include <memory>

#include "app/desktop.h"
#include "app/documents.h"
#include "app/entry_guard.h"
#include "app/help_window.h"
#include "app/notebook_window.h"
#include "app/prefs_dialogs.h"
#include "app/question_dialogs.h"
#include "editor/editor_hooks.h"
#include "layout/hooks.h"
#include "notebook/document.h"
#include "notebook/notebook_hooks.h"
#include "notebook/notebook_record.h"
#include "shell/alerts.h"
#include "shell/app_paths.h"
#include "shell/commands.h"
#include "shell/failure.h"
#include "shell/menus.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

using A = CommandAction;

NotebookWindow* Front() {
  return FrontNotebookWindow();
}

QPrinter& Printer() {
  static QPrinter printer(QPrinter::HighResolution);
  return printer;
}

void PrinterSetupCommand() {
  QPageSetupDialog dialog(&Printer(), QApplication::activeWindow());
  ExecDialog(dialog);
}

void PrintingPrefsCommand() {
  NotebookWindow* window = Front();
  if (!window) return;
  if (EditPrintingPrefs(window->PrintHeader())) MarkNotebookChanged(window->Root());
}

void ExitCommand() {
  if (Desktop* desktop = Desktop::Instance()) desktop->CloseEverything(false);
}

void TogglePaletteCommand() {
  if (Desktop* desktop = Desktop::Instance()) desktop->ShowPalette(!desktop->PaletteShown());
}

// --- Hooks: where the layout and the editor find the windows ---

NotebookPane* PaneShowing(Handle obj) {
  if (!obj) return nullptr;
  NotebookWindow* window = WindowOfNotebook(MainTheoryOf(obj));
  return window ? window->Pane() : nullptr;
}

bool DisplayOf(Handle obj, DisplayTarget& out) {
  NotebookPane* pane = PaneShowing(obj);
  if (!pane) return false;
  out.env = &pane->Env();
  out.root = pane->Root();
  return true;
}

void InvalidateArea(Handle obj, const Rect& area) {
  if (NotebookPane* pane = PaneShowing(obj)) pane->InvalidateContent(area);
}

void RefreshNotebook(Handle root) {
  if (NotebookPane* pane = PaneShowing(root)) pane->Refresh();
}

void ScrollIntoView(const Selection& selection) {
  if (NotebookPane* pane = PaneShowing(selection.obj)) pane->ScrollIntoView(selection);
}

// Copy as Picture: the selected part of the notebook as it is drawn, as a
// scalable picture and as an image at twice the screen's resolution.
void CopyPicture(const Selection& selection) {
  NotebookPane* pane = PaneShowing(selection.obj);
  if (!pane) return;
  const Rect area = pane->PictureArea(selection);
  if (area.Width() <= 0 || area.Height() <= 0) return;
  const QSize size(area.Width(), area.Height());

  QBuffer svg;
  svg.open(QIODevice::WriteOnly);
  {
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(pane->Env().port().resolution());
    generator.setTitle(QStringLiteral("Lemmabox"));
    QPainter painter(&generator);
    pane->DrawPicture(painter, nullptr, area);
  }

  constexpr int kScale = 2;
  QImage image(size * kScale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(kScale);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    pane->DrawPicture(painter, &image, area);
  }

  auto* data = new QMimeData;
  data->setData(QStringLiteral("image/svg+xml"), svg.data());
  data->setImageData(image);
  QApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}

bool ConfirmLock(Handle) {
  return MessageBox("A locked proposition stays collapsed and cannot be changed.  Lock it?",
                    "Confirm Lock Proposition", BoxIcon::kQuestion,
                    BoxButtons::kYesNo) == BoxAnswer::kYes;
}

// The Windows menu's entries bring their window to the front.
void BringToFront(void* window) {
  auto* notebook = static_cast<NotebookWindow*>(window);
  if (!WindowList::Contains(notebook)) return;
  notebook->show();
  notebook->raise();
  notebook->activateWindow();
  WindowList::Activate(notebook);
}

void InstallHooks() {
  InstallNotebookFileEvents();
  SetBringWindowToFront(BringToFront);
  gLayoutHooks.displayOf = DisplayOf;
  gLayoutHooks.invalidateArea = InvalidateArea;
  gLayoutHooks.refreshNotebook = RefreshNotebook;
  gEditorHooks.refreshNotebook = RefreshNotebook;
  gEditorHooks.scrollIntoView = ScrollIntoView;
  gEditorHooks.copyPicture = CopyPicture;
  gNotebookDisplay.confirmLock = ConfirmLock;
}

}  // namespace

void RegisterDesktop() {
  RegisterCommand(A::kPrinterSetup, [](int32_t) { PrinterSetupCommand(); });
  RegisterCommand(A::kPrintingPrefs, [](int32_t) { PrintingPrefsCommand(); });
  RegisterCommand(A::kExit, [](int32_t) { ExitCommand(); });
  RegisterCommand(A::kEnterKeyPrefs, [](int32_t) { EditEnterKeys(); });
  RegisterCommand(A::kGetInfo, [](int32_t) { RunGetInfo(); });
  RegisterCommand(A::kNotebookFont, [](int32_t) { EditNotebookFont(); });
  RegisterCommand(A::kTogglePalette, [](int32_t) { TogglePaletteCommand(); });
  RegisterCommand(A::kHelpContents, [](int32_t) { HelpWindow::ShowContents(false); });
  RegisterCommand(A::kHelpSearch, [](int32_t) { HelpWindow::ShowContents(true); });
  RegisterCommand(A::kHelpOnHelp, [](int32_t) { HelpWindow::ShowPage("index.html#using"); });
  RegisterCommand(A::kAbout, [](int32_t) { RunAboutBox(); });
  InstallHooks();
}

}  // namespace lemmabox
