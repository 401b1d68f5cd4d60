// Pictures of the running program for the documentation. Runs only when
// LEMMABOX_SCREENSHOT_DIR names a directory; each picture is checked to show
// something before it is saved.
//
//   LEMMABOX_SCREENSHOT_DIR=docs/images QT_QPA_PLATFORM=xcb
//   xvfb-run -a -s "-screen 0 1280x900x24" build-app/tests/test_app
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/desktop.h"
#include "app/documents.h"
#include "app/entry_guard.h"
#include "app/help_window.h"
#include "app/notebook_window.h"
#include "app/palette_window.h"
#include "app/splash.h"
#include "app_tests.h"
#include "desktop_fixture.h"
#include "editor/selection_list.h"
#include "notebook/propositions.h"
#include "shell/commands.h"
#include "shell/menu_ids.h"

namespace lemmabox::testing {
namespace {

QString Directory() {
  return qEnvironmentVariable("LEMMABOX_SCREENSHOT_DIR");
}

// Whether a picture holds more than one colour.
bool ShowsSomething(const QImage& image) {
  if (image.isNull()) return false;
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); y += 3) {
    for (int x = 0; x < image.width(); x += 3) {
      if (image.pixel(x, y) != first) return true;
    }
  }
  return false;
}

void Save(const QImage& image, const QString& name) {
  QVERIFY2(ShowsSomething(image), qPrintable(name));
  QVERIFY(image.save(QDir(Directory()).filePath(name)));
}

void Type(QWidget* target, const QString& text) {
  for (QChar c : text) {
    if (c == '\n') {
      QTest::keyClick(target, Qt::Key_Return);
    } else if (c == QChar(0x2192)) {
      QTest::keyClick(target, Qt::Key_End);
    } else {
      QTest::keyClicks(target, QString(c));
    }
    QCoreApplication::processEvents();
  }
}

// Grabs the dialog that comes up next, then closes it.
void GrabNextDialog(const QString& name) {
  QTimer::singleShot(400, [name] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    Save(dialog->grab().toImage(), name);
    dialog->reject();
  });
}

class Screenshots : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (Directory().isEmpty()) QSKIP("LEMMABOX_SCREENSHOT_DIR is not set");
  }

  void splash() {
    SplashScreen splash(1000);
    splash.Open();
    QTest::qWait(200);
    Save(splash.grab().toImage(), "desktop-splash.png");
    splash.Finish();
  }

  void notebookAndPalette() {
    DesktopHarness harness;
    harness.answers = {BoxAnswer::kNo, BoxAnswer::kNo, BoxAnswer::kNo};
    QVERIFY(harness.Start({":"}));
    // Questions that come up while typing (the class of a new name) are
    // answered with their default; the first is pictured.
    QTimer answerer;
    bool pictured = false;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      if (!pictured && dialog->objectName() == "declareName") {
        pictured = true;
        Save(dialog->grab().toImage(), "desktop-declare-name.png");
      }
      dialog->accept();
    });
    answerer.start(300);
    NotebookWindow* window = FrontNotebookWindow();
    window->move(20, 20);
    window->resize(720, 520);
    QWidget* pane = window->Pane()->viewport();
    QTest::qWait(300);
    Type(pane, QString::fromUtf8("x^2→+2*x+1=0\n"));
    Type(pane, "(a+b)/(c-d)\n");
    Type(pane, QString::fromUtf8("'a*'b→+'p\n"));
    QTest::qWait(200);
    window->Pane()->viewport()->repaint();
    Save(window->grab().toImage(), "desktop-notebook.png");
    PaletteWindow* palette = harness.desktop().Palette();
    QVERIFY(palette);
    Save(palette->grab().toImage(), "desktop-palette.png");
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      palette->move(window->frameGeometry().right() + 10, 20);
      QTest::qWait(300);
      const QImage whole = screen->grabWindow(0).toImage();
      if (ShowsSomething(whole)) Save(whole.copy(0, 0, 1200, 620), "desktop-screen.png");
    }
  }

  // The notebook `./run` opens.
  void welcome() {
    const QString source = qEnvironmentVariable("LEMMABOX_SOURCE_DIR");
    const QString path = QDir(source).filePath("examples/welcome.axn");
    if (!QFile::exists(path)) QSKIP("examples/welcome.axn not found (LEMMABOX_SOURCE_DIR)");
    DesktopHarness harness;
    QVERIFY(harness.Start({":", path}));
    NotebookWindow* window = FrontNotebookWindow();
    QVERIFY(window);
    window->move(20, 20);
    window->resize(760, 600);
    QTest::qWait(300);
    window->Pane()->viewport()->repaint();
    Save(window->grab().toImage(), "desktop-welcome.png");
  }

  // A derivation: an equation typed, then simplified into a conclusion.
  void derivation() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    DialogAcceptor acceptor;
    NotebookWindow* window = FrontNotebookWindow();
    window->move(20, 20);
    window->resize(640, 360);
    QWidget* pane = window->Pane()->viewport();
    Type(pane, "y=x*x+2*x+3*x+x*x\n");
    Handle root = window->Root();
    Handle typed = nullptr;
    for (int i = FirstProp(root); i < ObjCount(root); ++i) {
      Handle prop = ObjSlot(root, i);
      // The last assumption is the empty one Return left.
      if (ObjType(prop) == kAssumption && i < ObjCount(root) - 1) typed = prop;
    }
    QVERIFY(typed);
    ClearSelection();
    Select(StatementOf(typed), kPosWhole);
    RunCommand([] { DispatchMenuCommand(kMenuSimplify); });
    Settle();
    QVERIFY2(harness.boxes.empty(), qPrintable(harness.BoxTexts().join('|')));
    QTest::qWait(200);
    window->Pane()->viewport()->repaint();
    Save(window->grab().toImage(), "desktop-derivation.png");
  }

  void dialogs() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    harness.ShowRealBoxes();
    GrabNextDialog("desktop-notebook-font.png");
    DispatchMenuCommand(kMenuNotebookFont);
    GrabNextDialog("desktop-about.png");
    DispatchMenuCommand(kMenuAbout);
    HelpWindow::ShowContents(false);
    HelpWindow* help = HelpWindow::Open();
    help->resize(640, 560);
    QTest::qWait(300);
    Save(help->grab().toImage(), "desktop-help.png");
  }
};

}  // namespace

std::unique_ptr<QObject> MakeScreenshots() {
  return std::make_unique<Screenshots>();
}

}  // namespace lemmabox::testing

#include "screenshots.moc"
