// A long computation and the keyboard: Escape pressed meanwhile cancels it
// with "Canceled by User Interrupt"; other keys typed meanwhile wait and are
// delivered when it is over, unless it was cancelled.
#include "shell/interrupt.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>

#include "app/documents.h"
#include "app/entry_guard.h"
#include "app/notebook_window.h"
#include "app_tests.h"
#include "desktop_fixture.h"
#include "editor/notebook_commands.h"
#include "editor/perform.h"
#include "shell/commands.h"
#include "shell/menu_ids.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox::testing {
namespace {

std::vector<CommandCode>& Typed() {
  static std::vector<CommandCode> codes;
  return codes;
}

// A computation of up to a second that polls the interrupt check.
void Compute(int32_t) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 1000) CheckInterrupt();
}

void Post(QWidget* target, int key, const QString& text) {
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

class InterruptTest : public QObject {
  Q_OBJECT

 private slots:
  void keysDuringComputation_data() {
    QTest::addColumn<bool>("escape");
    QTest::addColumn<QStringList>("alerts");
    QTest::addColumn<int>("typedAfterwards");
    QTest::newRow("escape cancels")
        << true << QStringList{QString::fromUtf8(MessageText(kMsgUserInterrupt))} << 0;
    QTest::newRow("other keys wait") << false << QStringList{} << 1;
  }
  void keysDuringComputation() {
    QFETCH(bool, escape);
    QFETCH(QStringList, alerts);
    QFETCH(int, typedAfterwards);
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    QWidget* pane = FrontNotebookWindow()->Pane()->viewport();
    Typed().clear();
    SetEditorCommandHook([](CommandCode code) { Typed().push_back(code); });
    RegisterCommand(CommandAction::kClarify, Compute);
    Post(pane, Qt::Key_X, "x");
    if (escape) Post(pane, Qt::Key_Escape, "\x1b");
    QElapsedTimer clock;
    clock.start();
    RunCommand([] { DispatchMenuCommand(kMenuClarify); });
    const qint64 took = clock.elapsed();
    RegisterSelectionCommands();  // Clarify is the editor's again
    // Nothing typed reached the notebook while it computed.
    QVERIFY(Typed().empty());
    harness.desktop().IdlePass();
    Settle();
    SetEditorCommandHook(&PerformEditorCode);
    QCOMPARE(harness.BoxTexts(), alerts);
    QCOMPARE(int(Typed().size()), typedAfterwards);
    if (escape) QVERIFY2(took < 900, qPrintable(QString::number(took)));
  }
};

}  // namespace

std::unique_ptr<QObject> MakeInterruptTest() {
  return std::make_unique<InterruptTest>();
}

}  // namespace lemmabox::testing

#include "interrupt_test.moc"
