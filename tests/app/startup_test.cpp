// Start-up: the command line, the start-up files with their alerts and the
// untitled fallback, the splash and a missing font package.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "app/documents.h"
#include "app/notebook_window.h"
#include "app/screen_fonts.h"
#include "app_tests.h"
#include "desktop_fixture.h"
#include "ports/font_metrics.h"
#include "shell/app_paths.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox::testing {
namespace {

QStringList Titles() {
  QStringList titles;
  for (NotebookWindow* window : NotebookWindows()) titles << window->windowTitle();
  return titles;
}

QString Text(MessageNumber n) {
  return QString::fromUtf8(MessageText(n));
}

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  // Files are opened in the order given; options are not files; a token
  // beginning with ':' only suppresses the splash.
  void commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<bool>("splash");
    QTest::newRow("blank in a path, options ignored")
        << QStringList{"@/my notes.axn", "-x", "/y", "@/second.axn"}
        << QStringList{"my notes.axn", "second.axn"} << true;
    QTest::newRow("colon suppresses the splash only")
        << QStringList{":", "@/second.axn"} << QStringList{"second.axn"} << false;
    QTest::newRow("semicolon likewise")
        << QStringList{"@/second.axn", ";quiet"} << QStringList{"second.axn"} << false;
  }
  void commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, opened);
    QFETCH(bool, splash);
    QTemporaryDir dir;
    MakeNotebookFile(dir, "my notes.axn");
    MakeNotebookFile(dir, "second.axn");
    for (QString& argument : arguments) argument.replace("@", dir.path());
    DesktopHarness harness;
    QVERIFY(harness.Start(arguments));
    QStringList read;
    for (const NotebookFile* file : OpenNotebookFiles()) {
      read << QString::fromStdString(file->path).section('/', -1);
    }
    QCOMPARE(read, opened);
    QCOMPARE(Titles(), opened);
    QCOMPARE(harness.desktop().SplashWasShown(), splash);
    QVERIFY(harness.boxes.empty());
  }

  // A file that cannot be opened shows its alert and the next one is tried;
  // when none opened, one untitled notebook opens.
  void startupFiles_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("alerts");
    QTest::addColumn<QString>("titles");
    QTest::newRow("first missing, second opens")
        << QStringList{":", "@/missing.axn", "@/second.axn"}
        << QStringList{Text(kMsgFileDoesNotExist)} << "^second\\.axn$";
    QTest::newRow("none given: one untitled")
        << QStringList{":"} << QStringList{} << "^UNTITL\\d+\\.AXN$";
    QTest::newRow("none opened: one untitled")
        << QStringList{":", "@/missing.axn"} << QStringList{Text(kMsgFileDoesNotExist)}
        << "^UNTITL\\d+\\.AXN$";
    QTest::newRow("translation table refused")
        << QStringList{":", "@/table.cat"} << QStringList{Text(kMsgUnimplemented)}
        << "^UNTITL\\d+\\.AXN$";
  }
  void startupFiles() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, alerts);
    QFETCH(QString, titles);
    QTemporaryDir dir;
    MakeNotebookFile(dir, "second.axn");
    MakeFile(dir, "table.cat", "x");
    for (QString& argument : arguments) argument.replace("@", dir.path());
    DesktopHarness harness;
    QVERIFY(harness.Start(arguments));
    QCOMPARE(harness.BoxTexts(), alerts);
    QCOMPARE(Titles().size(), 1);
    QVERIFY2(QRegularExpression(titles).match(Titles().front()).hasMatch(),
             qPrintable(Titles().front()));
  }

  // Without files, the numbered start-up notebooks open (and close without
  // asking); only when there are none does a new notebook open.
  void numberedStartupNotebooks() {
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    MakeNotebookFile(dir, "NOTEBK0.AXN");
    MakeNotebookFile(dir, "NOTEBK3.AXN");
    {
      DesktopHarness harness;
      QVERIFY(harness.Start({":"}));
      QCOMPARE(Titles(), (QStringList{"NOTEBK0.AXN", "NOTEBK3.AXN"}));
      for (NotebookWindow* window : NotebookWindows()) QVERIFY(window->File()->silentSave);
    }
    QDir::setCurrent(previous);
  }

  // A key pressed while the splash is up closes it at once; otherwise it
  // would stay for its full time.
  void keyClosesSplash() {
    DesktopOptions options = DesktopHarness::TestOptions();
    options.splashMilliseconds = 8000;
    DesktopHarness harness(options);
    QTimer::singleShot(150, [] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "splash" && widget->isVisible()) {
          QTest::keyClick(widget, Qt::Key_Space);
        }
      }
    });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(harness.Start({}));
    QVERIFY(harness.desktop().SplashWasShown());
    QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(Titles().size(), 1);
  }

  // Without the font package the program says so and ends before any window
  // opens.
  void missingFonts() {
    const std::string directory = FontDirectory();
    QTemporaryDir empty;
    SetFontDirectory(empty.path().toStdString());
    ResetScreenFonts();
    bool started = true;
    int exitCode = 0;
    QStringList boxes;
    {
      DesktopHarness harness;
      started = harness.Start({":"});
      exitCode = harness.desktop().ExitCode();
      boxes = harness.BoxTexts();
      QCOMPARE(Titles().size(), 0);
    }
    SetFontDirectory(directory);
    ResetScreenFonts();
    QVERIFY(!started);
    QCOMPARE(exitCode, kExitStartupFailed);
    QCOMPARE(boxes, QStringList{Text(kMsgMissingImportantFile)});
  }
};

}  // namespace

std::unique_ptr<QObject> MakeStartupTest() {
  return std::make_unique<StartupTest>();
}

}  // namespace lemmabox::testing

#include "startup_test.moc"
