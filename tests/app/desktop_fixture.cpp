#include "desktop_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTest>
#include <QTimer>

#include "app/documents.h"
#include "app/qt_platform.h"
#include "core/registration.h"
#include "files/file_writer.h"
#include "layout/hooks.h"
#include "notebook/document.h"
#include "notebook/notebook_hooks.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"
#include "shell/failure.h"

namespace lemmabox::testing {

DesktopOptions DesktopHarness::TestOptions() {
  DesktopOptions options;
  options.splashMilliseconds = 50;
  options.singleInstance = false;
  options.crashHandler = false;
  return options;
}

DesktopHarness::DesktopHarness() : DesktopHarness(TestOptions()) {}

DesktopHarness::DesktopHarness(const DesktopOptions& options)
    : desktop_(std::make_unique<Desktop>(options)) {
  HookBoxes();
}

DesktopHarness::~DesktopHarness() {
  desktop_->Shutdown();
  desktop_.reset();
  Settle();
  ClearInternalErrorFlag();
}

void DesktopHarness::HookBoxes() {
  desktop_->Host().SetBoxHook([this](const MessageBoxRequest& request) {
    boxes.push_back(request);
    if (request.buttons == BoxButtons::kOk) return std::optional<BoxAnswer>(BoxAnswer::kOk);
    BoxAnswer answer = BoxAnswer::kCancel;
    if (!answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    }
    return std::optional<BoxAnswer>(answer);
  });
}

void DesktopHarness::ShowRealBoxes() {
  desktop_->Host().SetBoxHook(nullptr);
}

bool DesktopHarness::Start(const QStringList& arguments) {
  std::vector<std::string> args;
  for (const QString& argument : arguments) args.push_back(argument.toStdString());
  const bool started = desktop_->Start(args, nullptr);
  Settle();
  if (!started) {
    for (const MessageBoxRequest& box : boxes)
      qWarning("box: %s / %s", box.caption.c_str(), box.text.c_str());
  }
  return started;
}

QStringList DesktopHarness::BoxTexts() const {
  QStringList texts;
  for (const MessageBoxRequest& box : boxes) texts << QString::fromStdString(box.text);
  return texts;
}

QString MakeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& contents) {
  const QString path = dir.filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(contents);
  return path;
}

QString MakeNotebookFile(const QTemporaryDir& dir, const QString& name) {
  const QString path = dir.filePath(name);
  RegisterCore();
  Handle notebook = NewNotebook();
  WriteNotebookFileAt(notebook, path.toStdString(), WindowPlacement{});
  CloseNotebook(notebook);
  return path;
}

void Settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }
}

void ClickNextBox(QMessageBox::StandardButton button, QString* text,
                  std::function<void()> whileUp) {
  auto* timer = new QTimer(qApp);
  auto* waited = new int(0);
  QObject::connect(timer, &QTimer::timeout, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      if (++*waited > 250) {
        timer->stop();
        timer->deleteLater();
        delete waited;
      }
      return;
    }
    timer->stop();
    if (text) *text = box->text();
    if (whileUp) whileUp();
    if (QAbstractButton* chosen = box->button(button)) chosen->click();
    timer->deleteLater();
    delete waited;
  });
  timer->start(20);
}

DialogAcceptor::DialogAcceptor() : timer_(new QTimer) {
  QObject::connect(timer_, &QTimer::timeout, [this] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      if (qobject_cast<QMessageBox*>(dialog)) return;
      accepted << dialog->objectName();
      dialog->accept();
    }
  });
  timer_->start(30);
}

DialogAcceptor::~DialogAcceptor() {
  delete timer_;
}

Handle AddAssumption(Handle mainTheory, Handle expr) {
  Handle prop = NewAssumption(expr);
  InsertProp(prop, mainTheory, ObjCount(mainTheory), 0);
  gNotebookDisplay.relayoutRows(mainTheory);
  return prop;
}

}  // namespace lemmabox::testing
