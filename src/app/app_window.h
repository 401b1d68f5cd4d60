// The top-level windows of the program and the list that holds them.
//
// Every window the program opens (notebook windows, the floating palette,
// help windows) is an AppWindow: its Qt widget plus the pane operations the
// main loop calls (idle work, the periodic tick, keys, tips, the close check).
// Windows are kept in creation order. Notebook windows are "document" windows:
// they carry the menu bar, and the program ends when the last one goes. The
// front window is the one that gets idle work and the keyboard.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <list>

#include "shell/command_codes.h"

class QWidget;

namespace lemmabox {

// What the window under the mouse says about the point: where the answer
// stays the same (global coordinates) and the tip to show there ("" for none).
struct TipAnswer {
  QRect hotRect;
  QString text;
};

class AppWindow {
 public:
  enum class Kind { kDocument, kFloating, kPlain };

  explicit AppWindow(Kind kind);
  virtual ~AppWindow();
  AppWindow(const AppWindow&) = delete;
  AppWindow& operator=(const AppWindow&) = delete;

  Kind kind() const { return kind_; }
  bool IsDocument() const { return kind_ == Kind::kDocument; }
  bool IsFloating() const { return kind_ == Kind::kFloating; }
  bool shown() const { return shown_; }

  virtual QWidget* Widget() = 0;

  // --- Pane operations ---
  // Whether the window may close now (a notebook asks about saving here).
  virtual bool MayClose() { return true; }
  // Becoming and ceasing to be the front window.
  virtual void Activate() {}
  virtual void Deactivate() {}
  // Idle work of the front window, at most once per caret blink interval.
  virtual void Idle() {}
  // Every 100 milliseconds on every shown window.
  virtual void Periodic() {}
  // A keystroke code or a single byte of typed text; true when consumed.
  virtual bool Key(KeystrokeCode code) {
    (void)code;
    return false;
  }
  virtual bool DoubleByte(uint16_t character) {
    (void)character;
    return false;
  }
  // The tip at a point (global coordinates).
  virtual TipAnswer TipQuery(QPoint globalPoint) {
    (void)globalPoint;
    return {};
  }

  // The first show: marks the window shown and starts the periodic timer.
  void NoteShown();

 private:
  friend class WindowList;
  Kind kind_;
  bool shown_ = false;
  bool linked_ = false;
  bool timerCounted_ = false;
};

// The windows of the program, in creation order.
class WindowList {
 public:
  static const std::list<AppWindow*>& Windows();
  static int DocumentCount();
  static AppWindow* Front();
  static bool Contains(const AppWindow* window);
  // The window whose widget is `widget` or an ancestor of it; null when none.
  static AppWindow* Owning(const QWidget* widget);

  // Makes a window the front window: the previous one is deactivated first;
  // the keyboard map then sends keys to the new one.
  static void Activate(AppWindow* window);
  // The front window stops being front (the program lost the activation).
  static void DeactivateFront();

  // The close request: asks the window whether it may close; when it agrees,
  // deactivates it, takes it out of the list and deletes it (after the event
  // in hand). Returns whether it closed.
  static bool CloseRequest(AppWindow* window);

  // Links a window at the tail (creation) and unlinks it (deletion).
  static void Link(AppWindow* window);
  static void Unlink(AppWindow* window);
};

}  // namespace lemmabox
