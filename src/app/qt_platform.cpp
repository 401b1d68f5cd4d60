#include "app/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QWidget>

#include "app/app_window.h"
#include "app/desktop.h"
#include "app/question_dialogs.h"
#include "shell/interrupt.h"

namespace lemmabox {
namespace {

QMessageBox::Icon IconOf(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::kStop:
      return QMessageBox::Critical;
    case BoxIcon::kInformation:
      return QMessageBox::Information;
    case BoxIcon::kQuestion:
      return QMessageBox::Question;
    case BoxIcon::kWarning:
      return QMessageBox::Warning;
    case BoxIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

// The events that must wait while a computation runs in a window of ours.
bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::InputMethod:
    case QEvent::Close:
    case QEvent::ShortcutOverride:
      return true;
    default:
      return false;
  }
}

}  // namespace

QtPlatform::QtPlatform() {
  clock_.start();
  qApp->installEventFilter(this);
}

QtPlatform::~QtPlatform() {
  if (qApp) qApp->removeEventFilter(this);
  if (busyCursor_) QApplication::restoreOverrideCursor();
}

BoxAnswer QtPlatform::ShowMessageBox(const MessageBoxRequest& request) {
  if (boxHook_) {
    if (std::optional<BoxAnswer> answer = boxHook_(request)) return *answer;
  }
  // The box belongs to the dialog that is up, else to the active window.
  QWidget* owner = QApplication::activeModalWidget();
  if (!owner) owner = QApplication::activeWindow();
  QMessageBox box(owner);
  box.setWindowTitle(QString::fromStdString(request.caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(QString::fromStdString(request.text));
  box.setIcon(IconOf(request.icon));
  box.setWindowModality(Qt::ApplicationModal);
  if (request.systemModal) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  switch (request.buttons) {
    case BoxButtons::kOk:
      box.setStandardButtons(QMessageBox::Ok);
      box.setDefaultButton(QMessageBox::Ok);
      box.setEscapeButton(QMessageBox::Ok);
      break;
    case BoxButtons::kOkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case BoxButtons::kYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      box.setEscapeButton(QMessageBox::No);
      break;
    case BoxButtons::kYesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
  }
  // The pointer is an arrow over the box even while the program is busy.
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int pressed = box.exec();
  QApplication::restoreOverrideCursor();
  switch (pressed) {
    case QMessageBox::Yes:
      return BoxAnswer::kYes;
    case QMessageBox::No:
      return BoxAnswer::kNo;
    case QMessageBox::Cancel:
      return BoxAnswer::kCancel;
    default:
      return BoxAnswer::kOk;
  }
}

void QtPlatform::Beep() {
  QApplication::beep();
}

uint64_t QtPlatform::TickCount() {
  return static_cast<uint64_t>(clock_.elapsed());
}

void QtPlatform::LookAtEvents() {
  if (watching_) return;
  watching_ = true;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  watching_ = false;
}

PendingKey QtPlatform::PeekKeyboardInput() {
  LookAtEvents();
  // Escape counts even behind keys typed ahead of it: the user wants out.
  if (escapePressed_) {
    escapePressed_ = false;
    return PendingKey::kEscapePress;
  }
  return heldKeys_.empty() ? PendingKey::kNone : PendingKey::kOther;
}

bool QtPlatform::EscapeHeldDown() {
  return escapeDown_ && !escapePressed_;
}

void QtPlatform::ProcessPendingEvents() {
  LookAtEvents();
}

bool QtPlatform::eventFilter(QObject* watched, QEvent* event) {
  if (!watching_ || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  // Dialogs and boxes that come up meanwhile work as usual; only the
  // windows the computation belongs to wait.
  if (!WindowList::Owning(widget)) return false;
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
      if (type == QEvent::KeyPress && !key->isAutoRepeat()) escapePressed_ = true;
      escapeDown_ = type == QEvent::KeyPress;
      return true;
    }
    heldKeys_.push_back(
        HeldKey{QPointer<QObject>(watched), std::unique_ptr<QEvent>(event->clone())});
    return true;
  }
  if (type == QEvent::Paint || type == QEvent::UpdateRequest) {
    heldPaints_.emplace_back(widget);
    return true;
  }
  return IsUserInput(type);
}

void QtPlatform::ReleaseHeldInput() {
  std::vector<QPointer<QWidget>> paints = std::move(heldPaints_);
  heldPaints_.clear();
  for (const QPointer<QWidget>& widget : paints) {
    if (widget) widget->update();
  }
  std::vector<HeldKey> keys = std::move(heldKeys_);
  heldKeys_.clear();
  escapePressed_ = false;
  // Keys typed ahead of a computation that Escape cancelled were meant for
  // what came before the cancel, not for what follows it.
  if (UserInterrupted()) return;
  for (HeldKey& held : keys) {
    if (held.receiver) QCoreApplication::postEvent(held.receiver, held.event.release());
  }
}

void QtPlatform::SetBusyCursor(bool busy) {
  if (busy == busyCursor_) return;
  busyCursor_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtPlatform::PostQuit(int exitCode) {
  if (Desktop* desktop = Desktop::Instance()) desktop->RequestQuit(exitCode);
}

std::string QtPlatform::ClipboardText() {
  return QApplication::clipboard()->text(QClipboard::Clipboard).toUtf8().toStdString();
}

void QtPlatform::SetClipboardText(const std::string& text) {
  QApplication::clipboard()->setText(QString::fromUtf8(text.data(), qsizetype(text.size())),
                                     QClipboard::Clipboard);
}

int QtPlatform::AskNameClass(const NameClassQuestion& question) {
  return RunNameClassDialog(question);
}

int QtPlatform::ChooseFromList(const std::string& prompt, const std::vector<std::string>& items,
                               int perPage) {
  if (items.empty()) return -1;
  return RunListChoiceDialog(prompt, items, perPage);
}

bool QtPlatform::AskInsertIndex(InsertIndexSettings& settings) {
  return RunInsertIndexDialog(settings);
}

BigExpandReply QtPlatform::AskBigExpand(const BigExpandQuestion& question) {
  return RunBigExpandDialog(question);
}

bool QtPlatform::AltKeyDown() {
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
}

bool QtPlatform::ControlKeyDown() {
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

std::string QtPlatform::ChooseFile(const FileChooserRequest& request) {
  if (fileHook_) return fileHook_(request);
  return RunFileChooser(request);
}

std::optional<ColorChoice> QtPlatform::AskColor(const std::string& prompt, ColorChoice initial) {
  return RunColorChooser(prompt, initial);
}

std::optional<FontChoice> QtPlatform::AskCommentFont(const FontChoice& initial) {
  return RunCommentFontDialog(initial);
}

}  // namespace lemmabox
