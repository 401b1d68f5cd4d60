// The platform on Qt: message boxes, the clock, the keyboard during long
// computations, the busy cursor, the clipboard and the small questions the
// core asks (the class of a new name, a choice from a list, matrix index
// numbering).
//
// While a long computation runs, the interrupt check asks now and then
// whether Escape was pressed. Qt delivers keys only while events are
// processed, so those looks process pending events with an event filter in
// front: Escape is recorded and taken, other keys are held back and delivered
// once the computation is over (dropped when it was cancelled), mouse presses
// are dropped, and paints wait until the program is idle again, so nothing
// runs in the middle of the command that is working.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/platform.h"

class QEvent;
class QWidget;

namespace lemmabox {

class QtPlatform : public QObject, public Platform {
  Q_OBJECT

 public:
  QtPlatform();
  ~QtPlatform() override;

  BoxAnswer ShowMessageBox(const MessageBoxRequest& request) override;
  void Beep() override;
  uint64_t TickCount() override;
  PendingKey PeekKeyboardInput() override;
  bool EscapeHeldDown() override;
  void ProcessPendingEvents() override;
  void SetBusyCursor(bool busy) override;
  void PostQuit(int exitCode) override;
  std::string ClipboardText() override;
  void SetClipboardText(const std::string& text) override;
  int AskNameClass(const NameClassQuestion& question) override;
  int ChooseFromList(const std::string& prompt, const std::vector<std::string>& items,
                     int perPage) override;
  bool AskInsertIndex(InsertIndexSettings& settings) override;
  BigExpandReply AskBigExpand(const BigExpandQuestion& question) override;
  bool AltKeyDown() override;
  bool ControlKeyDown() override;
  std::string ChooseFile(const FileChooserRequest& request) override;
  std::optional<ColorChoice> AskColor(const std::string& prompt, ColorChoice initial) override;
  std::optional<FontChoice> AskCommentFont(const FontChoice& initial) override;

  // The computation is over: keys held back are delivered (unless Escape
  // cancelled it) and windows whose paint waited are painted.
  void ReleaseHeldInput();

  // A test answers boxes itself: the hook sees every box and returns the
  // answer, or nothing to let the box show.
  using BoxHook = std::function<std::optional<BoxAnswer>(const MessageBoxRequest&)>;
  void SetBoxHook(BoxHook hook) { boxHook_ = std::move(hook); }
  // A test chooses files itself: the hook answers every file chooser.
  using FileHook = std::function<std::string(const FileChooserRequest&)>;
  void SetFileHook(FileHook hook) { fileHook_ = std::move(hook); }

  bool BusyCursorShown() const { return busyCursor_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LookAtEvents();

  QElapsedTimer clock_;
  BoxHook boxHook_;
  FileHook fileHook_;
  bool busyCursor_ = false;
  bool watching_ = false;
  bool escapePressed_ = false;
  bool escapeDown_ = false;
  struct HeldKey {
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event;
  };
  std::vector<HeldKey> heldKeys_;
  std::vector<QPointer<QWidget>> heldPaints_;
};

}  // namespace lemmabox
