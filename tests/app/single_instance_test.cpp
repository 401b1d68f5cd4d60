// One copy per user: a second start hands its files to the first, which
// opens those that exist and have an extension; stray messages are bounded.
#include "app/single_instance.h"

#include <QLocalSocket>
#include <QTest>

#include "app/documents.h"
#include "app/notebook_window.h"
#include "app_tests.h"
#include "desktop_fixture.h"

namespace lemmabox::testing {
namespace {

QString TestServerName() {
  return QString("lemmabox-test-%1").arg(QCoreApplication::applicationPid());
}

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private slots:
  void handsPathsOver() {
    QStringList received;
    bool arrived = false;
    SingleInstance first(TestServerName(), [&](const QStringList& paths) {
      received = paths;
      arrived = true;
    });
    QVERIFY(first.Listen());
    QTemporaryDir dir;
    const QString a = MakeFile(dir, "a b.axn", "x");
    QVERIFY(SendToRunningInstance(TestServerName(), {a, "relative.axn"}));
    QTRY_VERIFY(arrived);
    QCOMPARE(received, (QStringList{a, QDir::current().absoluteFilePath("relative.axn")}));
  }

  void nobodyListening() {
    QVERIFY(!SendToRunningInstance(TestServerName() + "-none", {"x.axn"}, 200));
  }

  void messageLines_data() {
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("two") << QByteArray("/a/x.axn\n/b/y.axn\n")
                         << QStringList{"/a/x.axn", "/b/y.axn"};
    QTest::newRow("empty lines") << QByteArray("\n\n/a/x.axn\n") << QStringList{"/a/x.axn"};
    QTest::newRow("too long") << (QByteArray(5000, 'a') + "\n/b.axn") << QStringList{"/b.axn"};
    QTest::newRow("nul inside") << QByteArray("/a\0b.axn\n/c.axn", 15) << QStringList{"/c.axn"};
  }
  void messageLines() {
    QFETCH(QByteArray, message);
    QFETCH(QStringList, paths);
    QCOMPARE(PathsOfMessage(message), paths);
  }

  // An oversized message is dropped whole.
  void oversizedMessageIgnored() {
    bool arrived = false;
    SingleInstance first(TestServerName(), [&](const QStringList&) { arrived = true; });
    QVERIFY(first.Listen());
    QLocalSocket socket;
    socket.connectToServer(TestServerName());
    QVERIFY(socket.waitForConnected(1000));
    socket.write(QByteArray(kMaxInstanceMessageBytes + 1024, 'x'));
    socket.waitForBytesWritten(1000);
    QTest::qWait(200);
    socket.disconnectFromServer();
    QTest::qWait(200);
    QVERIFY(!arrived);
  }

  // The running program opens what it is handed: existing files with an
  // extension, each once; anything else is passed over.
  void desktopOpensHandedFiles() {
    QTemporaryDir dir;
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    const QString notebook = MakeNotebookFile(dir, "sent.axn");
    const QString bare = MakeFile(dir, "noextension", "x");
    harness.desktop().OpenFilesFromElsewhere({notebook, bare, dir.filePath("missing.axn")});
    QStringList titles;
    for (NotebookWindow* window : NotebookWindows()) titles << window->windowTitle();
    QCOMPARE(titles.size(), 2);
    QCOMPARE(titles.last(), QString("sent.axn"));
    QVERIFY(harness.boxes.empty());
    harness.desktop().OpenFilesFromElsewhere({notebook});
    QCOMPARE(NotebookWindows().size(), size_t(2));
  }
};

}  // namespace

std::unique_ptr<QObject> MakeSingleInstanceTest() {
  return std::make_unique<SingleInstanceTest>();
}

}  // namespace lemmabox::testing

#include "single_instance_test.moc"
