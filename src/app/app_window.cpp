#include "app/app_window.h"

#include <QWidget>
#include <algorithm>

#include "app/desktop.h"
#include "shell/keyboard_map.h"

namespace lemmabox {
namespace {

std::list<AppWindow*> gWindows;
int gDocumentCount = 0;
AppWindow* gFront = nullptr;

}  // namespace

AppWindow::AppWindow(Kind kind) : kind_(kind) {}

AppWindow::~AppWindow() {
  WindowList::Unlink(this);
}

void AppWindow::NoteShown() {
  if (shown_) return;
  shown_ = true;
  if (!timerCounted_ && Desktop::Instance()) {
    timerCounted_ = true;
    Desktop::Instance()->StartPeriodicTimer();
  }
}

const std::list<AppWindow*>& WindowList::Windows() {
  return gWindows;
}

int WindowList::DocumentCount() {
  return gDocumentCount;
}

AppWindow* WindowList::Front() {
  return gFront;
}

bool WindowList::Contains(const AppWindow* window) {
  return std::find(gWindows.begin(), gWindows.end(), window) != gWindows.end();
}

AppWindow* WindowList::Owning(const QWidget* widget) {
  if (!widget) return nullptr;
  const QWidget* top = widget->window();
  for (AppWindow* window : gWindows) {
    if (window->Widget() == top) return window;
  }
  return nullptr;
}

void WindowList::Activate(AppWindow* window) {
  if (!window || window == gFront || !Contains(window)) return;
  if (gFront) gFront->Deactivate();
  gFront = window;
  // The keyboard map hands every translated key to the front window.
  SetFrontKeyHandler([](KeystrokeCode code) { return gFront && gFront->Key(code); });
  SetFrontDoubleByteHandler([](uint16_t c) { return gFront && gFront->DoubleByte(c); });
  ResetKeyboardInput();
  window->Activate();
}

void WindowList::DeactivateFront() {
  if (!gFront) return;
  AppWindow* front = gFront;
  gFront = nullptr;
  SetFrontKeyHandler(nullptr);
  SetFrontDoubleByteHandler(nullptr);
  front->Deactivate();
}

bool WindowList::CloseRequest(AppWindow* window) {
  if (!window || !Contains(window)) return true;
  if (!window->MayClose()) return false;
  if (window == gFront) DeactivateFront();
  QWidget* widget = window->Widget();
  Unlink(window);
  // The widget may be in the middle of handling the event that closes it
  // (its own menu, its own button): it goes when that event is done.
  widget->hide();
  widget->deleteLater();
  return true;
}

void WindowList::Link(AppWindow* window) {
  if (window->linked_) return;
  window->linked_ = true;
  gWindows.push_back(window);
  if (window->IsDocument()) ++gDocumentCount;
}

void WindowList::Unlink(AppWindow* window) {
  if (!window->linked_) return;
  window->linked_ = false;
  if (window == gFront) DeactivateFront();
  gWindows.remove(window);
  const bool document = window->IsDocument();
  if (document) --gDocumentCount;
  Desktop* desktop = Desktop::Instance();
  if (window->timerCounted_) {
    window->timerCounted_ = false;
    if (desktop) desktop->StopPeriodicTimer();
  }
  if (desktop) desktop->WindowUnlinked(document);
}

}  // namespace lemmabox
