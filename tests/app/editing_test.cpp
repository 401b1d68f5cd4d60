// Working in a notebook window as a user does: typing equations with the
// keyboard, selecting with the mouse, deleting, Undo, the clipboard, and
// notebooks that are saved, closed and opened again unchanged; files that
// cannot be opened leave the open windows as they were.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QTest>

#include "app/documents.h"
#include "app/entry_guard.h"
#include "app/notebook_window.h"
#include "app/qt_platform.h"
#include "app_tests.h"
#include "desktop_fixture.h"
#include "editor/comment_editing.h"
#include "editor/comment_plain_text.h"
#include "editor/selection_list.h"
#include "layout/relayout.h"
#include "notebook/expression_writer.h"
#include "notebook/notebook_record.h"
#include "notebook/propositions.h"
#include "shell/charset.h"
#include "shell/commands.h"
#include "shell/menu_ids.h"
#include "shell/messages.h"
#include "shell/string_cache.h"

namespace lemmabox::testing {
namespace {

// The statements of a notebook's assumptions, as typing scripts; Return
// leaves an empty one ("?") ready for the next equation, which is left out.
std::vector<Handle> StatementHandles(Handle root) {
  std::vector<Handle> statements;
  for (int i = FirstProp(root); i < ObjCount(root); ++i) {
    Handle prop = ObjSlot(root, i);
    if (!prop || ObjType(prop) != kAssumption) continue;
    Handle statement = StatementOf(prop);
    if (ExpressionScript(statement) != "?") statements.push_back(statement);
  }
  return statements;
}

QStringList Statements(Handle root) {
  QStringList scripts;
  for (Handle statement : StatementHandles(root)) {
    scripts << QString::fromStdString(ProgramTextToUtf8(ExpressionScript(statement)));
  }
  return scripts;
}

Handle LastStatement(Handle root) {
  const std::vector<Handle> statements = StatementHandles(root);
  return statements.empty() ? nullptr : statements.back();
}

QPoint Middle(NotebookPane* pane, Handle obj) {
  const Rect box = AbsoluteBox(obj);
  return pane->ViewportPoint(Point{(box.left + box.right) / 2, (box.top + box.bottom) / 2});
}

// Types text into the front window, one key at a time. Characters beyond
// ASCII arrive as a keyboard layout that has them sends them.
void Type(const QString& text) {
  QWidget* viewport = FrontNotebookWindow()->Pane()->viewport();
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(viewport, c.toLatin1());
      continue;
    }
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(viewport, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(viewport, &release);
  }
}

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(FrontNotebookWindow()->Pane()->viewport(), key, modifiers);
}

class EditingTest : public QObject {
  Q_OBJECT

 private slots:
  // Typing an equation and Return makes an assumption; Return ends it so the
  // next typing starts a new one. π typed directly is the predefined π
  // (written 'p in notebook files).
  void typeEquations() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    DialogAcceptor acceptor;
    Handle root = FrontNotebookWindow()->Root();
    const int before = Statements(root).size();
    Type("a=b+1");
    Press(Qt::Key_Return);
    Type(QString::fromUtf8("c=2π"));
    Press(Qt::Key_Return);
    QCOMPARE(Statements(root).mid(before), (QStringList{"a=b+1", "c=2*'p"}));
    QVERIFY(harness.boxes.empty());
  }

  // A click selects the name under the pointer; Backspace deletes it and
  // Undo brings it back.
  void clickBackspaceUndo() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    DialogAcceptor acceptor;
    NotebookWindow* window = FrontNotebookWindow();
    Handle root = window->Root();
    Type("x+y");
    Press(Qt::Key_Return);
    Handle sum = LastStatement(root);
    QVERIFY(sum && ObjCount(sum) == 2);
    window->Pane()->Refresh();
    QTest::mouseClick(window->Pane()->viewport(), Qt::LeftButton, {},
                      Middle(window->Pane(), ObjSlot(sum, 1)));
    QCOMPARE(PrimarySelection().obj, ObjSlot(sum, 1));
    Press(Qt::Key_Backspace);
    const QString deleted = Statements(root).last();
    QVERIFY2(!deleted.contains('y'), qPrintable(deleted));
    Press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Statements(root).last(), QString("x+y"));
  }

  // Save, close and open again: the same statements in the same order.
  void saveCloseReopen() {
    QTemporaryDir dir;
    const QString path = MakeNotebookFile(dir, "work.axn");
    QStringList typed;
    {
      DesktopHarness harness;
      QVERIFY(harness.Start({":", path}));
      DialogAcceptor acceptor;
      Type("y=m*x+c");
      Press(Qt::Key_Return);
      Type("E=m*c^2");
      Press(Qt::Key_Return);
      Handle root = FrontNotebookWindow()->Root();
      typed = Statements(root);
      QCOMPARE(typed.size(), 2);
      QVERIFY(NotebookRecordOf(root).changed);
      Press(Qt::Key_S, Qt::ControlModifier);
      QCOMPARE(NotebookRecordOf(root).changed, uint8_t(0));
      // Saved: closing asks nothing.
      QVERIFY(WindowList::CloseRequest(FrontNotebookWindow()));
      Settle();
      QVERIFY(harness.boxes.empty());
      QVERIFY(OpenNotebookFiles().empty());
    }
    DesktopHarness harness;
    QVERIFY(harness.Start({":", path}));
    QCOMPARE(Statements(FrontNotebookWindow()->Root()), typed);
    QCOMPARE(FrontNotebookWindow()->windowTitle(), QString("work.axn"));
    QVERIFY(harness.boxes.empty());
  }

  // Enter starts a comment; typed text and Backspace edit it; the comment
  // is saved and read back with the same text.
  void typeCommentSaveReopen() {
    QTemporaryDir dir;
    const QString path = MakeNotebookFile(dir, "notes.axn");
    auto lastCommentText = [](Handle root) {
      std::string text;
      for (int i = FirstProp(root); i < ObjCount(root); ++i)
        if (Handle prop = ObjSlot(root, i); prop && ObjType(prop) == kComment)
          text = PlainTextFromComment(CommentContent(prop).root);
      return QString::fromStdString(text);
    };
    {
      DesktopHarness harness;
      QVERIFY(harness.Start({":", path}));
      DialogAcceptor acceptor;
      Press(Qt::Key_Enter, Qt::KeypadModifier);
      QVERIFY(EditedComment() != nullptr);
      Type("Hello worlds");
      Press(Qt::Key_Backspace);
      Handle root = FrontNotebookWindow()->Root();
      QCOMPARE(lastCommentText(root), QString("Hello world"));
      Press(Qt::Key_S, Qt::ControlModifier);
      QVERIFY(WindowList::CloseRequest(FrontNotebookWindow()));
      Settle();
      QVERIFY(harness.boxes.empty());
    }
    DesktopHarness harness;
    QVERIFY(harness.Start({":", path}));
    QCOMPARE(lastCommentText(FrontNotebookWindow()->Root()), QString("Hello world"));
  }

  // Save as through the file chooser takes the new name (the title follows
  // at the next tick); Revert to Saved brings back what was saved, in the
  // same window.
  void saveAsAndRevert() {
    QTemporaryDir dir;
    DesktopHarness harness;
    QVERIFY(harness.Start({":", MakeNotebookFile(dir, "first.axn")}));
    DialogAcceptor acceptor;
    NotebookWindow* window = FrontNotebookWindow();
    Handle root = window->Root();
    Type("p=1");
    Press(Qt::Key_Return);
    const QString second = dir.filePath("second");
    std::vector<FileChooserRequest> asked;
    harness.desktop().Host().SetFileHook([&](const FileChooserRequest& request) {
      asked.push_back(request);
      return second.toStdString();
    });
    RunCommand([] { DispatchMenuCommand(kMenuSaveAs); });
    QCOMPARE(asked.size(), size_t(1));
    QVERIFY(asked[0].save);
    QCOMPARE(QString::fromStdString(asked[0].suggestedName), QString("first.axn"));
    // The notebook extension is added to a name without one.
    QVERIFY(QFile::exists(second + ".AXN") || QFile::exists(second + ".axn"));
    harness.desktop().Tick();
    QVERIFY2(window->windowTitle().startsWith("second."), qPrintable(window->windowTitle()));

    Type("q=2");
    Press(Qt::Key_Return);
    QCOMPARE(Statements(root), (QStringList{"p=1", "q=2"}));
    harness.answers = {BoxAnswer::kYes};
    RunCommand([] { DispatchMenuCommand(kMenuRevertToSaved); });
    Settle();
    QCOMPARE(harness.boxes.size(), size_t(1));
    QCOMPARE(FrontNotebookWindow(), window);
    QCOMPARE(window->Root(), root);
    QCOMPARE(Statements(root), QStringList{"p=1"});
    QCOMPARE(NotebookRecordOf(root).changed, uint8_t(0));
  }

  // Copy puts the selection on the clipboard as text; Paste types clipboard
  // text in; Copy as Picture offers SVG and PNG.
  void clipboardRoundTrip() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    DialogAcceptor acceptor;
    Handle root = FrontNotebookWindow()->Root();
    Type("u+v^2");
    Press(Qt::Key_Return);
    ClearSelection();
    Select(LastStatement(root), kPosWhole);
    Press(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("u+v^2"));
    // Pasted into the empty equation Return left.
    ClearSelection();
    Select(StatementOf(ObjSlot(root, ObjCount(root) - 1)), kPosWhole);
    Press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Statements(root), (QStringList{"u+v^2", "u+v^2"}));

    // Text from another program, in Unicode.
    ClearSelection();
    Select(LastStatement(root), kPosWhole);
    QApplication::clipboard()->setText(QString::fromUtf8("α≤β"));
    Press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Statements(root).last(), QString("'a<='b"));  // as notebook files write them

    ClearSelection();
    Select(LastStatement(root), kPosWhole);
    Press(Qt::Key_F, Qt::ControlModifier);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data);
    QVERIFY2(data->data("image/svg+xml").contains("<svg"), qPrintable(data->formats().join(',')));
    const QImage image = qvariant_cast<QImage>(data->imageData());
    QVERIFY(!image.isNull());
    // Drawn: some dark pixels on the white ground.
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 100;
    }
    QVERIFY(dark > 20);
    QVERIFY(harness.boxes.empty());
  }

  // Whatever bytes the clipboard holds, Paste leaves a working notebook
  // (at worst with an alert).
  void pasteAnything_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("unbalanced") << QByteArray("((((a+]]/^^");
    QTest::newRow("records") << QByteArray("~A~C~Z~v200 ~w1 2 3\n~Q]|[");
    QTest::newRow("control bytes") << QByteArray("\x01\x02\x1b\x7f\r\n\t", 7);
    QTest::newRow("invalid UTF-8") << QByteArray("\xff\xfe\xc3(\xe2\x82");
    QByteArray longText;
    for (int i = 0; i < 2000; ++i) longText += "x^(";
    QTest::newRow("deep") << longText;
  }
  void pasteAnything() {
    QFETCH(QByteArray, bytes);
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    DialogAcceptor acceptor;
    auto* data = new QMimeData;
    data->setData("text/plain", bytes);
    QApplication::clipboard()->setMimeData(data);
    Press(Qt::Key_V, Qt::ControlModifier);
    Settle();
    // Still working: an equation can be typed after it.
    ClearSelection();
    Type("q=1");
    Press(Qt::Key_Return);
    QVERIFY(Statements(FrontNotebookWindow()->Root()).contains("q=1"));
    QVERIFY(WindowList::Contains(FrontNotebookWindow()));
  }

  // A corrupt file shows 13148 and a missing one 13132; the windows open
  // before are left as they were, and nothing new opens.
  void filesThatCannotOpen_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("message");
    QTest::newRow("corrupt") << QByteArray("~v200 200 ~w\x01\x02 garbage ~Q]|[[[[")
                             << int(kMsgCorruptData);
    QTest::newRow("missing") << QByteArray() << int(kMsgFileDoesNotExist);
  }
  void filesThatCannotOpen() {
    QFETCH(QByteArray, contents);
    QFETCH(int, message);
    QTemporaryDir dir;
    DesktopHarness harness;
    QVERIFY(harness.Start({":", MakeNotebookFile(dir, "good.axn")}));
    DialogAcceptor acceptor;
    Type("k=3");
    Handle root = FrontNotebookWindow()->Root();
    const QStringList before = Statements(root);
    const QString bad =
        contents.isEmpty() ? dir.filePath("bad.axn") : MakeFile(dir, "bad.axn", contents);
    // File > Open Notebook..., the file chosen in its dialog.
    std::vector<FileChooserRequest> asked;
    harness.desktop().Host().SetFileHook([&](const FileChooserRequest& request) {
      asked.push_back(request);
      return bad.toStdString();
    });
    RunCommand([] { DispatchMenuCommand(kMenuOpenNotebook); });
    Settle();
    QCOMPARE(asked.size(), size_t(1));
    QVERIFY(!asked[0].save);
    QVERIFY(!asked[0].filters.empty());
    QCOMPARE(harness.BoxTexts(),
             QStringList{QString::fromUtf8(MessageText(MessageNumber(message)))});
    QCOMPARE(NotebookWindows().size(), size_t(1));
    QCOMPARE(OpenNotebookFiles().size(), size_t(1));
    QCOMPARE(FrontNotebookWindow()->Root(), root);
    QCOMPARE(Statements(root), before);
    // Typing goes on where it was.
    Type("+1");
    QCOMPARE(Statements(root).last(), QString("k=3+1"));
  }
};

}  // namespace

std::unique_ptr<QObject> MakeEditingTest() {
  return std::make_unique<EditingTest>();
}

}  // namespace lemmabox::testing

#include "editing_test.moc"
