// The crash handler: each of the four signals tells the user, closes
// everything with the emergency flag, shuts down and ends with -1, in that
// order. Run in a child process, which the signal ends.
#include <sys/wait.h>
#include <unistd.h>

#include <QTest>
#include <csignal>

#include "app/crash_handler.h"
#include "app_tests.h"

namespace lemmabox::testing {
namespace {

int gPipe = -1;

void Note(char what) {
  if (write(gPipe, &what, 1) != 1) std::_Exit(3);
}

class CrashTest : public QObject {
  Q_OBJECT

 private slots:
  void signalsEndTheProgram_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGFPE") << SIGFPE;
    QTest::newRow("SIGSEGV") << SIGSEGV;
    QTest::newRow("SIGABRT") << SIGABRT;
    QTest::newRow("SIGILL") << SIGILL;
  }
  void signalsEndTheProgram() {
    QFETCH(int, signal);
    int fds[2];
    QCOMPARE(pipe(fds), 0);
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
      close(fds[0]);
      gPipe = fds[1];
      InstallCrashHandler(CrashActions{[] { Note('a'); }, [] { Note('c'); }, [] { Note('s'); }});
      std::raise(signal);
      std::_Exit(0);  // not reached: the handler ends the program
    }
    close(fds[1]);
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    char notes[8] = {};
    const ssize_t got = read(fds[0], notes, sizeof notes - 1);
    close(fds[0]);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), kCrashExitCode & 0xFF);
    QCOMPARE(QByteArray(notes, int(got)), QByteArray("acs"));
  }

  // A second fault while the handler runs ends the program at once.
  void faultInsideHandler() {
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
      InstallCrashHandler(CrashActions{[] { std::raise(SIGSEGV); }, nullptr, nullptr});
      std::raise(SIGABRT);
      std::_Exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), kCrashExitCode & 0xFF);
  }
};

}  // namespace

std::unique_ptr<QObject> MakeCrashTest() {
  return std::make_unique<CrashTest>();
}

}  // namespace lemmabox::testing

#include "crash_test.moc"
