// The desktop program's test suite: every test class in turn, on Qt's
// offscreen platform unless another is asked for, in a home of its own so
// that no preferences or start-up notebooks of the user get in the way.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "app_tests.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  QDir(home.path()).mkpath("config");
  qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
  QDir::setCurrent(home.path());
  QApplication application(argc, argv);
  using namespace lemmabox::testing;
  std::unique_ptr<QObject> (*const suites[])() = {
      MakeStartupTest, MakeAlertTest, MakeInterruptTest,  MakeCloseTest,   MakeClipboardTest,
      MakeMenuTest,    MakeKeyTest,   MakeScreenPortTest, MakeCrashTest,   MakeSingleInstanceTest,
      MakeTipTest,     MakePaneTest,  MakeEditingTest,    MakeScreenshots,
  };
  // "test_app KeyTest,PaneTest [options]" runs those suites; options go to
  // Qt Test.
  QStringList only;
  std::vector<char*> arguments(argv, argv + argc);
  if (argc > 1 && argv[1][0] != '-') {
    only = QString::fromLocal8Bit(argv[1]).split(',');
    arguments.erase(arguments.begin() + 1);
  }
  int status = 0;
  for (auto make : suites) {
    std::unique_ptr<QObject> suite = make();
    const QString name = QString::fromLatin1(suite->metaObject()->className()).section("::", -1);
    if (!only.isEmpty() && !only.contains(name)) continue;
    status |= QTest::qExec(suite.get(), int(arguments.size()), arguments.data());
  }
  return status;
}
