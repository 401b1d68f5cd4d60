// The clipboard: the program's text goes out as UTF-8 text/plain and comes
// back as the same bytes; text other programs put there reads as the
// program's characters.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

#include "app/qt_platform.h"
#include "app_tests.h"
#include "desktop_fixture.h"
#include "shell/charset.h"

namespace lemmabox::testing {
namespace {

class ClipboardTest : public QObject {
  Q_OBJECT

 private slots:
  void roundTrip_data() {
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<QString>("unicode");
    QTest::newRow("ascii") << QByteArray("x^2+2*x") << QString("x^2+2*x");
    QTest::newRow("pi and infinity") << QByteArray("\xB9+\xB0") << QString::fromUtf8("π+∞");
    QTest::newRow("relations") << QByteArray(
                                      "a\xB2"
                                      "b\xAD"
                                      "c\xB3"
                                      "d")
                               << QString::fromUtf8("a≤b≠c≥d");
    QTest::newRow("degree, cross, Greek") << QByteArray(
                                                 "90\xA1 a\xA6"
                                                 "b \x8C\xBA")
                                          << QString::fromUtf8("90° a×b αβ");
    QTest::newRow("line breaks") << QByteArray("a=1\nb=2\n") << QString("a=1\nb=2\n");
  }
  void roundTrip() {
    QFETCH(QByteArray, program);
    QFETCH(QString, unicode);
    QtPlatform platform;
    platform.SetClipboardText(ProgramTextToUtf8(program.toStdString()));
    QCOMPARE(QApplication::clipboard()->text(), unicode);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data && data->hasText());
    QCOMPARE(QString::fromUtf8(data->data("text/plain")), unicode);
    const std::string back = Utf8ToProgramText(platform.ClipboardText());
    QCOMPARE(QByteArray::fromStdString(back), program);
  }

  // Text from elsewhere: characters the program has no code for are left out.
  void foreignText() {
    QtPlatform platform;
    QApplication::clipboard()->setText(QString::fromUtf8("α+β \u4E2Dcafé"));
    const std::string bytes = Utf8ToProgramText(platform.ClipboardText());
    QCOMPARE(QString::fromStdString(ProgramTextToUtf8(bytes)), QString::fromUtf8("α+β caf"));
  }
};

}  // namespace

std::unique_ptr<QObject> MakeClipboardTest() {
  return std::make_unique<ClipboardTest>();
}

}  // namespace lemmabox::testing

#include "clipboard_test.moc"
