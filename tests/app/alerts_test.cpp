// Alerts during commands: the real box comes up captioned "Lemmabox" while
// the tick and the key translation wait; afterwards the notebook works as
// before. Internal errors end the program with -13 after the save questions.
#include "shell/alerts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/documents.h"
#include "app/entry_guard.h"
#include "app/notebook_window.h"
#include "app/palette_window.h"
#include "app_tests.h"
#include "desktop_fixture.h"
#include "editor/notebook_commands.h"
#include "notebook/document.h"
#include "notebook/notebook_record.h"
#include "shell/commands.h"
#include "shell/failure.h"
#include "shell/menu_ids.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox::testing {
namespace {

// A window that counts its ticks.
class CountingWindow : public QWidget, public AppWindow {
 public:
  CountingWindow() : AppWindow(Kind::kPlain) { WindowList::Link(this); }
  ~CountingWindow() override { WindowList::Unlink(this); }
  QWidget* Widget() override { return this; }
  void Periodic() override { ++ticks; }
  int ticks = 0;
};

class AlertTest : public QObject {
  Q_OBJECT

 private slots:
  void alertDuringCommandLeavesNotebookUsable() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    harness.ShowRealBoxes();
    NotebookWindow* window = FrontNotebookWindow();
    QVERIFY(window);
    auto* counter = new CountingWindow;
    counter->NoteShown();
    RegisterCommand(CommandAction::kClarify, [](int32_t) { Raise(kMsgSelectFirst); });

    QString text;
    QString caption;
    bool modalWhileUp = false;
    int ticksWhileUp = -1;
    bool paletteWhileUp = harness.desktop().PaletteShown();
    ClickNextBox(QMessageBox::Ok, &text, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      caption = box->windowTitle();
      modalWhileUp = ModalIsUp();
      // The tick and the keys wait while the box is up.
      harness.desktop().Tick();
      ticksWhileUp = counter->ticks;
      QKeyEvent press(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
      QApplication::sendEvent(window->Pane()->viewport(), &press);
      paletteWhileUp = harness.desktop().PaletteShown();
    });
    DispatchMenuCommand(kMenuClarify);
    RegisterSelectionCommands();  // Clarify is the editor's again

    QCOMPARE(text, QString::fromUtf8(MessageText(kMsgSelectFirst)));
    QCOMPARE(caption, QString("Lemmabox"));
    QVERIFY(modalWhileUp);
    QCOMPARE(ticksWhileUp, 0);
    QVERIFY(paletteWhileUp);
    // Afterwards: nothing is held up any more.
    QVERIFY(!ModalIsUp());
    QVERIFY(!BusyFlag());
    QCOMPARE(FailureDepth(), 0);
    QVERIFY(WindowList::Contains(window));
    harness.desktop().Tick();
    QCOMPARE(counter->ticks, 1);
    QTest::keyClick(window->Pane()->viewport(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!harness.desktop().PaletteShown());
    delete counter;
  }

  // A failure while painting waits for the paint to finish before its box.
  void failureInPaintIsShownAfterwards() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    RunEntry([] { Raise(kMsgCorruptData); }, AlertLater);
    QVERIFY(harness.boxes.empty());
    Settle();
    QCOMPARE(harness.BoxTexts(), QStringList{QString::fromUtf8(MessageText(kMsgCorruptData))});
  }

  // An internal error: the name under "Assertion Failure", then every
  // notebook may be saved, then the program ends with -13.
  void internalErrorEndsProgram() {
    DesktopHarness harness;
    QTemporaryDir dir;
    const QString path = MakeNotebookFile(dir, "work.axn");
    QVERIFY(harness.Start({":", path}));
    NotebookWindow* window = FrontNotebookWindow();
    MarkNotebookChanged(window->Root());
    QFile::remove(path);
    harness.answers = {BoxAnswer::kYes};
    RegisterCommand(CommandAction::kClarify, [](int32_t) { InternalError("pTestRoutine"); });
    RunCommand([] { DispatchMenuCommand(kMenuClarify); });
    RegisterSelectionCommands();  // Clarify is the editor's again
    Settle();

    QCOMPARE(harness.boxes.size(), size_t(2));
    QCOMPARE(QString::fromStdString(harness.boxes[0].text), QString("pTestRoutine"));
    QCOMPARE(QString::fromStdString(harness.boxes[0].caption), QString("Assertion Failure"));
    QVERIFY(harness.boxes[0].systemModal);
    QCOMPARE(QString::fromStdString(harness.boxes[1].text), QString("Save the file work.axn ?"));
    QVERIFY(QFile::exists(path));  // saved as asked
    QVERIFY(harness.desktop().QuitRequested());
    QCOMPARE(harness.desktop().ExitCode(), kExitInternalError);
    QCOMPARE(WindowList::DocumentCount(), 0);
  }

  // The same in the running program with real boxes: the save question
  // still comes up (the main loop is not told to end before it), Yes saves,
  // and the loop then ends with -13.
  void internalErrorInMainLoopStillAsks() {
    DesktopHarness harness;
    QTemporaryDir dir;
    const QString path = MakeNotebookFile(dir, "work.axn");
    QVERIFY(harness.Start({":", path}));
    harness.ShowRealBoxes();
    MarkNotebookChanged(FrontNotebookWindow()->Root());
    QFile::remove(path);
    RegisterCommand(CommandAction::kClarify, [](int32_t) { InternalError("pTestRoutine"); });
    QStringList seen;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || (!seen.isEmpty() && seen.last() == box->text())) return;
      seen << box->text();
      const auto button = box->button(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
      box->button(button)->click();
    });
    clicker.start(20);
    QTimer::singleShot(0, [] { RunCommand([] { DispatchMenuCommand(kMenuClarify); }); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });  // a hang fails, not blocks
    const int exitCode = harness.desktop().Exec();
    RegisterSelectionCommands();
    QCOMPARE(seen, (QStringList{"pTestRoutine", "Save the file work.axn ?"}));
    QVERIFY(QFile::exists(path));
    QCOMPARE(exitCode, kExitInternalError);
  }
};

}  // namespace

std::unique_ptr<QObject> MakeAlertTest() {
  return std::make_unique<AlertTest>();
}

}  // namespace lemmabox::testing

#include "alerts_test.moc"
