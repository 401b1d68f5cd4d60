// Tips: shown once the pointer has rested in a hot area longer than the
// delay, hidden when it leaves; the next delay depends on how the last tip
// went; the preferences switch notebook and palette tips apart.
#include "app/tips.h"

#include <QTest>

#include "app_tests.h"
#include "desktop_fixture.h"

namespace lemmabox::testing {
namespace {

// A window with one hot area and its tip.
class TipWindow : public QWidget, public AppWindow {
 public:
  explicit TipWindow(Kind kind) : AppWindow(kind) {
    WindowList::Link(this);
    NoteShown();
  }
  ~TipWindow() override { WindowList::Unlink(this); }
  QWidget* Widget() override { return this; }
  TipAnswer TipQuery(QPoint point) override {
    ++queries;
    if (QRect(100, 100, 50, 20).contains(point)) return {QRect(100, 100, 50, 20), "A sum."};
    return {QRect(point, QSize(1, 1)), ""};
  }
  int queries = 0;
};

class TipTest : public QObject {
  Q_OBJECT

 private slots:
  void shownAfterDelay() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    TipWindow window(AppWindow::Kind::kPlain);
    TipTracker tips;
    tips.SetTipsOn(true);
    tips.PointerMoved(&window, QPoint(110, 105), 1000);
    tips.Idle(&window, QPoint(110, 105), 2900);
    QVERIFY(!tips.TipShown());
    tips.Idle(&window, QPoint(112, 106), 3100);
    QVERIFY(tips.TipShown());
    QCOMPARE(tips.TipText(), QString("A sum."));
    // Moving inside the area asks nothing new.
    QCOMPARE(window.queries, 1);
    // Leaving the area hides the tip; the next comes sooner.
    tips.PointerMoved(&window, QPoint(10, 10), 3200);
    QVERIFY(!tips.TipShown());
    QCOMPARE(tips.Delay(), 150);
    tips.PointerMoved(&window, QPoint(120, 110), 3300);
    tips.Idle(&window, QPoint(120, 110), 3500);
    QVERIFY(tips.TipShown());
  }

  void delaysAfterChanges() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    TipWindow first(AppWindow::Kind::kPlain);
    TipWindow second(AppWindow::Kind::kPlain);
    TipTracker tips;
    tips.SetTipsOn(true);
    QCOMPARE(tips.Delay(), 2000);
    tips.PointerMoved(&first, QPoint(110, 105), 0);
    tips.PointerMoved(&second, QPoint(110, 105), 10);
    QCOMPARE(tips.Delay(), 3000);
    tips.Idle(&first, QPoint(110, 105), 20);
    QCOMPARE(tips.Delay(), 2000);
    tips.PointerMoved(&second, QPoint(110, 105), 30);
    QCOMPARE(tips.Delay(), 3000);
    // Leaving the program and coming back to the same window.
    tips.PointerMoved(nullptr, QPoint(0, 0), 40);
    QCOMPARE(tips.Delay(), 2000);
    tips.PointerMoved(&second, QPoint(110, 105), 50);
    QCOMPARE(tips.Delay(), 2000);
  }

  // Notebook tips are off unless asked for; palette tips are on.
  void preferences_data() {
    QTest::addColumn<bool>("tipsOn");
    QTest::addColumn<bool>("paletteTipsOn");
    QTest::addColumn<bool>("floating");
    QTest::addColumn<bool>("shown");
    QTest::newRow("notebook, tips off") << false << true << false << false;
    QTest::newRow("notebook, tips on") << true << true << false << true;
    QTest::newRow("palette, palette tips on") << false << true << true << true;
    QTest::newRow("palette, palette tips off") << true << false << true << false;
  }
  void preferences() {
    QFETCH(bool, tipsOn);
    QFETCH(bool, paletteTipsOn);
    QFETCH(bool, floating);
    QFETCH(bool, shown);
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    TipWindow window(floating ? AppWindow::Kind::kFloating : AppWindow::Kind::kPlain);
    TipTracker tips;
    tips.SetTipsOn(tipsOn);
    tips.SetPaletteTipsOn(paletteTipsOn);
    tips.PointerMoved(&window, QPoint(110, 105), 0);
    tips.Idle(&window, QPoint(110, 105), 5000);
    QCOMPARE(tips.TipShown(), shown);
  }

  // The defaults come from the preferences file: Tips off, Palette Tips on.
  void defaultsFromPreferences() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    TipTracker tips;
    tips.ReadPreferences();
    QVERIFY(!tips.TipsOn());
    QVERIFY(tips.PaletteTipsOn());
  }
};

}  // namespace

std::unique_ptr<QObject> MakeTipTest() {
  return std::make_unique<TipTest>();
}

}  // namespace lemmabox::testing

#include "tips_test.moc"
