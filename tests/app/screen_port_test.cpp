// The screen port: every glyph the metrics know is drawn from the same face;
// ink lands where the metrics put it; pens cover the pixels right of and
// below their points; saved pixels come back; the one-open-line rule; and
// the em follows the screen's logical resolution.
#include "app/screen_port.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include "app/screen_fonts.h"
#include "app_tests.h"
#include "ports/font_metrics.h"
#include "shell/failure.h"

namespace lemmabox::testing {
namespace {

// The smallest rectangle of pixels that are not white.
QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (qRed(pixel) < 200 || qGreen(pixel) < 200 || qBlue(pixel) < 200) {
        box = box.united(QRect(x, y, 1, 1));
      }
    }
  }
  return box;
}

QImage WhiteImage(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  return image;
}

std::string InternalErrorOf(const std::function<void()>& work) {
  std::string name;
  try {
    work();
  } catch (const InternalFailure& failure) {
    name = failure.name;
  }
  ClearInternalErrorFlag();
  return name;
}

class ScreenPortTest : public QObject {
  Q_OBJECT

 private slots:
  // Every byte that has a glyph in a face's metrics has one on the screen.
  void everyGlyphDrawable_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    for (const char* family : {"Times", "Helvetica", "Courier", "Symbol"}) {
      QTest::addRow("%s", family) << family << false << false;
      QTest::addRow("%s bold italic", family) << family << true << true;
    }
  }
  void everyGlyphDrawable() {
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    ScreenFace face = ScreenFaceFor(PortFont{family.toStdString(), 20, bold, italic});
    QVERIFY(face.raw.isValid());
    QStringList missing;
    for (int byte = 0x21; byte < 256; ++byte) {
      if (face.metrics->byteGlyph[byte] < 0) continue;
      if ((*face.glyphs)[byte] == 0) missing << QString::number(byte, 16);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(' ')));
  }

  // Text is inked where the metrics say it is.
  void inkFollowsMetrics_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("roman") << "Times" << QByteArray("Mgx");
    QTest::newRow("sans") << "Helvetica" << QByteArray("Wide text");
    QTest::newRow("symbol") << "Symbol" << QByteArray("\x61\x62\xA5\xF2");
  }
  void inkFollowsMetrics() {
    QFETCH(QString, family);
    QFETCH(QByteArray, text);
    const PortFont font{family.toStdString(), 40};
    QImage image = WhiteImage(400, 120);
    QPainter painter(&image);
    ScreenPort port(72);
    port.Begin(&painter, &image, Rect{0, 0, 400, 120});
    port.drawString(text.toStdString(), font, 20, 80);
    port.End();
    painter.end();
    const Rect expected = TextInkBox(text.toStdString(), font);
    const QRect ink = InkBox(image);
    QVERIFY(!ink.isEmpty());
    QVERIFY2(std::abs(ink.left() - (20 + expected.left)) <= 2,
             qPrintable(QString::number(ink.left())));
    QVERIFY2(std::abs(ink.right() + 1 - (20 + expected.right)) <= 2,
             qPrintable(QString::number(ink.right())));
    QVERIFY2(std::abs(ink.top() - (80 + expected.top)) <= 2,
             qPrintable(QString::number(ink.top())));
    QVERIFY2(std::abs(ink.bottom() + 1 - (80 + expected.bottom)) <= 2,
             qPrintable(QString::number(ink.bottom())));
  }

  // A pen of width w through a point covers the w pixels right of and below
  // it, as the printed page assumes.
  void penCoversPixelsBelowAndRight_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("hairline") << 1;
    QTest::newRow("three") << 3;
  }
  void penCoversPixelsBelowAndRight() {
    QFETCH(int, width);
    QImage image = WhiteImage(60, 60);
    QPainter painter(&image);
    ScreenPort port(72);
    port.Begin(&painter, &image, Rect{0, 0, 60, 60});
    port.startDeluxeLine(width, kBlack, LinePattern::kSolid, DrawMode::kNormal);
    port.moveTo(10, 20);
    port.lineTo(40, 20);
    port.endLine();
    port.End();
    painter.end();
    for (int y = 20; y < 20 + width; ++y) QCOMPARE(qRed(image.pixel(25, y)), 0);
    QCOMPARE(qRed(image.pixel(25, 19)), 255);
    QCOMPARE(qRed(image.pixel(25, 20 + width)), 255);
  }

  void savedPixelsComeBack() {
    QImage image = WhiteImage(40, 40);
    QPainter painter(&image);
    ScreenPort port(72);
    port.Begin(&painter, &image, Rect{0, 0, 40, 40});
    port.setColors(RgbColor{200, 0, 0}, kWhite);
    port.paintZone(Rect{5, 5, 15, 15});
    const SavedPixels saved = port.savePix(Rect{0, 0, 20, 20});
    port.eraseZone(Rect{0, 0, 40, 40});
    QCOMPARE(image.pixel(10, 10), qRgb(255, 255, 255));
    port.restorePix(saved);
    port.End();
    painter.end();
    QCOMPARE(image.pixel(10, 10), qRgb(200, 0, 0));
    QCOMPARE(image.pixel(17, 17), qRgb(255, 255, 255));
  }

  // One line open in the whole program; misuse is an internal error, and a
  // port that goes with its line open closes it.
  void openLineRule() {
    ScreenPort first(72);
    first.startDeluxeLine(1, kBlack, LinePattern::kSolid, DrawMode::kNormal);
    ScreenPort second(72);
    QCOMPARE(InternalErrorOf([&] {
               second.startDeluxeLine(1, kBlack, LinePattern::kSolid, DrawMode::kNormal);
             }),
             std::string("missing endLine"));
    first.endLine();
    QCOMPARE(InternalErrorOf([&] { second.lineTo(1, 1); }), std::string("lineTo"));
    QCOMPARE(InternalErrorOf([&] { second.line(1, 1); }), std::string("line"));
    QCOMPARE(InternalErrorOf([&] { second.dotAt(1, 1); }), std::string("dotAt"));
    QCOMPARE(InternalErrorOf([&] { second.endLine(); }), std::string("endLine"));
    {
      ScreenPort interrupted(72);
      interrupted.startDeluxeLine(1, kBlack, LinePattern::kSolid, DrawMode::kNormal);
    }
    QVERIFY(!ScreenPort::LineOpen());
    QCOMPARE(InternalErrorOf([&] {
               second.startDeluxeLine(1, kBlack, LinePattern::kSolid, DrawMode::kNormal);
               second.endLine();
             }),
             std::string());
  }

  // Layout works in logical pixels: the em follows the logical resolution,
  // and on a screen of two device pixels per logical one, a zone covers
  // twice as many device pixels.
  void hiDpi() {
    QCOMPARE(ScreenPort(96).em(), 21);
    QCOMPARE(ScreenPort(144).em(), 32);
    QImage image(80, 80, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    image.fill(Qt::white);
    QPainter painter(&image);
    ScreenPort port(96);
    port.Begin(&painter, &image, Rect{0, 0, 40, 40});
    port.paintZone(Rect{10, 10, 20, 20});
    port.End();
    painter.end();
    QCOMPARE(InkBox(image), QRect(20, 20, 20, 20));
  }
};

}  // namespace

std::unique_ptr<QObject> MakeScreenPortTest() {
  return std::make_unique<ScreenPortTest>();
}

}  // namespace lemmabox::testing

#include "screen_port_test.moc"
