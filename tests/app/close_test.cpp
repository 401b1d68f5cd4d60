// Closing: the save question and its answers, Exit that stops at a
// cancelled question, the program ending with its last notebook window, and
// the emergency close that keeps changed notebooks under ".rec" names.
#include <QDir>
#include <QFile>
#include <QTest>

#include "app/documents.h"
#include "app/notebook_window.h"
#include "app/palette_window.h"
#include "app_tests.h"
#include "desktop_fixture.h"
#include "mathobj/constructors.h"
#include "notebook/document.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox::testing {
namespace {

NotebookWindow* WindowTitled(const QString& title) {
  for (NotebookWindow* window : NotebookWindows()) {
    if (window->windowTitle() == title) return window;
  }
  return nullptr;
}

class CloseTest : public QObject {
  Q_OBJECT

 private slots:
  // The answer to "Save the file ... ?" decides: Yes saves and closes, No
  // closes, Cancel keeps the window; a save that fails keeps it too.
  void saveQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveFails");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QStringList>("boxes");
    const QString question = "Save the file b.axn ?";
    QTest::newRow("yes") << int(BoxAnswer::kYes) << false << true << true << QStringList{question};
    QTest::newRow("no") << int(BoxAnswer::kNo) << false << true << false << QStringList{question};
    QTest::newRow("cancel") << int(BoxAnswer::kCancel) << false << false << false
                            << QStringList{question};
    QTest::newRow("yes, save fails")
        << int(BoxAnswer::kYes) << true << false << false
        << QStringList{question, QString::fromUtf8(MessageText(kMsgFileAccessDenied))};
  }
  void saveQuestion() {
    QFETCH(int, answer);
    QFETCH(bool, saveFails);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    QFETCH(QStringList, boxes);
    QTemporaryDir dir;
    const QString b = MakeNotebookFile(dir, "b.axn");
    DesktopHarness harness;
    QVERIFY(harness.Start({":", MakeNotebookFile(dir, "a.axn"), b}));
    NotebookWindow* window = WindowTitled("b.axn");
    MarkNotebookChanged(window->Root());
    // A save puts the file back; without its directory the save fails.
    QFile::remove(b);
    if (saveFails) QDir(dir.path()).removeRecursively();
    harness.answers = {BoxAnswer(answer)};
    QCOMPARE(WindowList::CloseRequest(window), closed);
    Settle();
    QCOMPARE(harness.BoxTexts(), boxes);
    QVERIFY(harness.boxes[0].buttons == BoxButtons::kYesNoCancel);
    QCOMPARE(QFile::exists(b), saved);
    QCOMPARE(WindowTitled("b.axn") != nullptr, !closed);
    QVERIFY(!harness.desktop().QuitRequested());
  }

  // Exit closes in order and stops at the first refusal: the windows not yet
  // closed stay open and the program goes on.
  void exitStopsAtCancel() {
    QTemporaryDir dir;
    DesktopHarness harness;
    QVERIFY(harness.Start({":", MakeNotebookFile(dir, "a.axn"), MakeNotebookFile(dir, "b.axn"),
                           MakeNotebookFile(dir, "c.axn")}));
    MarkNotebookChanged(WindowTitled("b.axn")->Root());
    MarkNotebookChanged(WindowTitled("c.axn")->Root());
    harness.answers = {BoxAnswer::kCancel};
    QVERIFY(!harness.desktop().CloseEverything(false));
    Settle();
    QCOMPARE(harness.boxes.size(), size_t(1));
    QVERIFY(!WindowTitled("a.axn"));
    QVERIFY(WindowTitled("b.axn"));
    QVERIFY(WindowTitled("c.axn"));
    QVERIFY(harness.desktop().Palette() && WindowList::Contains(harness.desktop().Palette()));
    QVERIFY(!harness.desktop().QuitRequested());
    QVERIFY(!harness.desktop().Emergency());
  }

  // Exit that closes everything ends the program normally.
  void exitClosesEverything() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    QVERIFY(harness.desktop().CloseEverything(false));
    Settle();
    QVERIFY(WindowList::Windows().empty());
    QVERIFY(harness.desktop().QuitRequested());
    QCOMPARE(harness.desktop().ExitCode(), kExitNormal);
  }

  // Closing the palette leaves the program running; closing the last
  // notebook window ends it with exit code 2.
  void lastNotebookWindowEndsProgram() {
    QTemporaryDir dir;
    DesktopHarness harness;
    QVERIFY(harness.Start({":", MakeNotebookFile(dir, "a.axn"), MakeNotebookFile(dir, "b.axn")}));
    PaletteWindow* palette = harness.desktop().Palette();
    QVERIFY(palette);
    QVERIFY(WindowList::CloseRequest(palette));
    QVERIFY(WindowList::CloseRequest(WindowTitled("a.axn")));
    Settle();
    QVERIFY(!harness.desktop().QuitRequested());
    QVERIFY(WindowList::CloseRequest(WindowTitled("b.axn")));
    Settle();
    QVERIFY(harness.desktop().QuitRequested());
    QCOMPARE(harness.desktop().ExitCode(), kExitLastWindowClosed);
  }

  // Too little memory at a tick: the alert, then every notebook closes; a
  // changed one is kept beside its file with the extension ".rec" without a
  // question, and the file itself is left as it was.
  void lowMemoryClosesEverything() {
    QTemporaryDir dir;
    DesktopHarness harness;
    QVERIFY(harness.Start(
        {":", MakeNotebookFile(dir, "work.axn"), MakeNotebookFile(dir, "plain.axn")}));
    NotebookWindow* work = WindowTitled("work.axn");
    AddAssumption(work->Root(), NewInteger(7));
    MarkNotebookChanged(work->Root());
    harness.desktop().SetAvailableMemoryFn([]() -> uint64_t { return 100; });
    harness.desktop().Tick();
    Settle();
    QCOMPARE(harness.BoxTexts(),
             QStringList{QString::fromUtf8(MessageText(kMsgProgramOutOfMemory))});
    QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(files, (QStringList{"plain.axn", "work.axn", "work.rec"}));
    QFile saved(dir.filePath("work.rec"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("~A"));
    QCOMPARE(WindowList::DocumentCount(), 0);
    QVERIFY(harness.desktop().QuitRequested());
  }
};

}  // namespace

std::unique_ptr<QObject> MakeCloseTest() {
  return std::make_unique<CloseTest>();
}

}  // namespace lemmabox::testing

#include "close_test.moc"
