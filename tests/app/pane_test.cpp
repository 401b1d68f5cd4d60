// The notebook pane: clicks and drags select through the layout, what is
// laid out is painted with the selection tinted, pointer help gives the
// cursor and the tip, and Get Info describes the selection.
#include <QMouseEvent>
#include <QTest>

#include "app/documents.h"
#include "app/notebook_window.h"
#include "app/prefs_dialogs.h"
#include "app_tests.h"
#include "desktop_fixture.h"
#include "editor/selection_list.h"
#include "layout/relayout.h"
#include "mathobj/constructors.h"
#include "notebook/expression_writer.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "shell/alerts.h"
#include "shell/charset.h"
#include "shell/string_cache.h"
#include "shell/strings.h"

namespace lemmabox::testing {
namespace {

struct SumNotebook {
  NotebookWindow* window = nullptr;
  Handle sum = nullptr;
  Handle x = nullptr;
  Handle y = nullptr;
};

// A notebook holding the assumption x + y.
SumNotebook MakeSumNotebook() {
  SumNotebook notebook;
  notebook.window = FrontNotebookWindow();
  notebook.x = NewUndeclaredName("x");
  notebook.y = NewUndeclaredName("y");
  notebook.sum = NewSum(notebook.x, notebook.y);
  AddAssumption(notebook.window->Root(), notebook.sum);
  notebook.window->Pane()->Refresh();
  return notebook;
}

QPoint Middle(NotebookPane* pane, Handle obj) {
  const Rect box = AbsoluteBox(obj);
  return pane->ViewportPoint(Point{(box.left + box.right) / 2, (box.top + box.bottom) / 2});
}

class PaneTest : public QObject {
  Q_OBJECT

 private slots:
  void clickAndDragSelect() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    SumNotebook notebook = MakeSumNotebook();
    NotebookPane* pane = notebook.window->Pane();
    QWidget* viewport = pane->viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, Middle(pane, notebook.y));
    QCOMPARE(SelectionList().size(), size_t(1));
    QCOMPARE(PrimarySelection().obj, notebook.y);

    // A drag from x to y takes both terms of the sum.
    QTest::mousePress(viewport, Qt::LeftButton, {}, Middle(pane, notebook.x));
    QMouseEvent move(QEvent::MouseMove, Middle(pane, notebook.y),
                     viewport->mapToGlobal(Middle(pane, notebook.y)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, Middle(pane, notebook.y));
    QCOMPARE(SelectionList().size(), size_t(1));
    QCOMPARE(PrimarySelection().obj, notebook.sum);
    QCOMPARE(PrimarySelection().position, PackRange(0, 2));
    QVERIFY(!BusyFlag());

    // Shift adds a second selection.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, pane->ViewportPoint(Point{-4, -4}));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, Middle(pane, notebook.x));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, Middle(pane, notebook.y));
    QCOMPARE(SelectionList().size(), size_t(2));
  }

  // The statement is drawn, and a selected range is tinted over it.
  void paintsNotebookAndSelection() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    SumNotebook notebook = MakeSumNotebook();
    NotebookPane* pane = notebook.window->Pane();
    pane->viewport()->repaint();
    const Rect box = AbsoluteBox(notebook.sum);
    const QPoint topLeft = pane->ViewportPoint(Point{box.left, box.top});
    const QRect area(topLeft, QSize(box.Width(), box.Height()));
    auto count = [&](auto&& test) {
      const QImage frame = pane->Frame();
      int n = 0;
      for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
          if (test(frame.pixel(x, y))) ++n;
        }
      }
      return n;
    };
    auto dark = [](QRgb p) { return qRed(p) < 100 && qGreen(p) < 100 && qBlue(p) < 100; };
    auto tinted = [](QRgb p) { return qBlue(p) > qRed(p) + 40; };
    QVERIFY(count(dark) > 10);
    QCOMPARE(count(tinted), 0);
    Select(notebook.sum, kPosWhole);
    pane->viewport()->repaint();
    QVERIFY(count(tinted) > area.width() * area.height() / 3);
    QVERIFY(count(dark) > 0);
  }

  // Pointer help: over a name the text cursor and the name's help.
  void pointerHelp() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    SumNotebook notebook = MakeSumNotebook();
    NotebookPane* pane = notebook.window->Pane();
    const QPoint point = Middle(pane, notebook.x);
    QTest::mouseMove(pane->viewport(), point);
    QCOMPARE(pane->viewport()->cursor().shape(), Qt::IBeamCursor);
    const TipAnswer tip = notebook.window->TipQuery(pane->viewport()->mapToGlobal(point));
    QCOMPARE(tip.text,
             QString::fromStdString(ProgramTextToUtf8(StringById(kStrHelpUndeclaredName))));
    QVERIFY(tip.hotRect.contains(pane->viewport()->mapToGlobal(point)));
  }

  void getInfo() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    SumNotebook notebook = MakeSumNotebook();
    const SelectionInfo info = InfoAbout(Selection{notebook.sum, kPosWhole});
    QCOMPARE(QString::fromStdString(info.kind), QString("Addition op"));
    QCOMPARE(QString::fromStdString(info.help),
             QString::fromStdString(ProgramTextToUtf8(StringById(kStrHelpSum))));
  }
};

}  // namespace

std::unique_ptr<QObject> MakePaneTest() {
  return std::make_unique<PaneTest>();
}

}  // namespace lemmabox::testing

#include "pane_test.moc"
