// Keys: Qt's key events become the keyboard map's keystroke codes (Shift,
// Ctrl, Alt, keypad Enter, function keys), text no key took arrives in the
// program's character set, and translated keys reach the front notebook as
// command codes; F1 opens the help.
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>
#include <QTextBrowser>

#include "app/documents.h"
#include "app/help_window.h"
#include "app/key_translation.h"
#include "app/notebook_window.h"
#include "app_tests.h"
#include "desktop_fixture.h"
#include "editor/perform.h"
#include "shell/commands.h"
#include "shell/keyboard_map.h"

namespace lemmabox::testing {
namespace {

std::vector<CommandCode>& Performed() {
  static std::vector<CommandCode> codes;
  return codes;
}

// Catches the codes that reach the editor.
class EditorSpy {
 public:
  EditorSpy() {
    Performed().clear();
    SetEditorCommandHook([](CommandCode code) { Performed().push_back(code); });
  }
  ~EditorSpy() { SetEditorCommandHook(&PerformEditorCode); }
};

class KeyTest : public QObject {
  Q_OBJECT

 private slots:
  void keystrokeCodes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    const int shift = Qt::ShiftModifier;
    const int ctrl = Qt::ControlModifier;
    const int alt = Qt::AltModifier;
    const int pad = Qt::KeypadModifier;
    QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << 0x61;
    QTest::newRow("capital") << int(Qt::Key_A) << shift << "A" << 0x41;
    QTest::newRow("caps lock capital") << int(Qt::Key_A) << 0 << "A" << 0x41;
    QTest::newRow("caps lock with shift") << int(Qt::Key_A) << shift << "a" << 0x61;
    QTest::newRow("shifted digit") << int(Qt::Key_Exclam) << shift << "!" << 0x21;
    QTest::newRow("return") << int(Qt::Key_Return) << 0 << "\r" << 0x10D;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << pad << "\r" << 0x103;
    QTest::newRow("shift return") << int(Qt::Key_Return) << shift << "\r" << 0x14D;
    QTest::newRow("shift keypad enter") << int(Qt::Key_Enter) << (shift | pad) << "\r" << 0x143;
    QTest::newRow("ctrl z") << int(Qt::Key_Z) << ctrl << "\x1a" << 0x47A;
    QTest::newRow("ctrl shift b") << int(Qt::Key_B) << (ctrl | shift) << "\x02" << 0x442;
    QTest::newRow("ctrl bar") << int(Qt::Key_Bar) << (ctrl | shift) << "" << 0x47C;
    QTest::newRow("ctrl bracket") << int(Qt::Key_BracketLeft) << ctrl << "" << 0x45B;
    QTest::newRow("ctrl alt a") << int(Qt::Key_A) << (ctrl | alt) << "" << 0x661;
    QTest::newRow("f5") << int(Qt::Key_F5) << 0 << "" << 0x184;
    QTest::newRow("alt f4") << int(Qt::Key_F4) << alt << "" << 0x383;
    QTest::newRow("keypad 5") << int(Qt::Key_5) << pad << "5" << 0x135;
    QTest::newRow("left") << int(Qt::Key_Left) << 0 << "" << 0x11C;
    QTest::newRow("shift left") << int(Qt::Key_Left) << shift << "" << 0x15C;
    QTest::newRow("backtab") << int(Qt::Key_Backtab) << shift << "" << 0x149;
    QTest::newRow("escape") << int(Qt::Key_Escape) << 0 << "\x1b" << 0x11B;
  }
  void keystrokeCodes() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, code);
    std::optional<KeyPress> press = KeyPressOf(key, Qt::KeyboardModifiers(modifiers), text);
    QVERIFY(press.has_value());
    QCOMPARE(int(FormKeystrokeCode(CurrentVirtualKeyTable(), *press)), code);
  }

  // Keys and text typed into a notebook reach the editor as the command the
  // keystroke table gives; Greek and mathematical characters typed directly
  // arrive as the program's own characters.
  void typingReachesEditor_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("command");
    QTest::newRow("x") << int(Qt::Key_X) << 0 << "x" << uint(0x0F78);
    QTest::newRow("plus") << int(Qt::Key_Plus) << int(Qt::ShiftModifier) << "+" << uint(0x0F2B);
    QTest::newRow("pi typed") << int(Qt::Key_unknown) << 0 << QString::fromUtf8("π")
                              << uint(0x0FB9);
    QTest::newRow("alpha typed") << int(Qt::Key_unknown) << 0 << QString::fromUtf8("α")
                                 << uint(0x0F8C);
    QTest::newRow("less or equal")
        << int(Qt::Key_unknown) << 0 << QString::fromUtf8("≤") << uint(0x0FB2);
    QTest::newRow("arrow") << int(Qt::Key_Right) << 0 << "" << uint(kCmdMoveRight);
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << "\b" << uint(kCmdBackspace);
  }
  void typingReachesEditor() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(uint, command);
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    EditorSpy spy;
    QWidget* pane = FrontNotebookWindow()->Pane()->viewport();
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QApplication::sendEvent(pane, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::KeyboardModifiers(modifiers), text);
    QApplication::sendEvent(pane, &release);
    QCOMPARE(Performed(), std::vector<CommandCode>{command});
  }

  // A composed character from an input method, and a dead key: the key after
  // a dead key is not translated on its own.
  void composedAndDeadKeys() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    EditorSpy spy;
    QWidget* pane = FrontNotebookWindow()->Pane()->viewport();
    QInputMethodEvent composed;
    composed.setCommitString(QString::fromUtf8("∞"));
    QApplication::sendEvent(pane, &composed);
    QCOMPARE(Performed(), std::vector<CommandCode>{0x0FB0});
    Performed().clear();
    // After a dead key, keys are not translated until a character arrives.
    QKeyEvent dead(QEvent::KeyPress, Qt::Key_Dead_Acute, Qt::NoModifier);
    QApplication::sendEvent(pane, &dead);
    QTest::keyClick(pane, Qt::Key_Left);
    QVERIFY(Performed().empty());
    QTest::keyClick(pane, Qt::Key_E, Qt::NoModifier);
    QCOMPARE(Performed(), std::vector<CommandCode>{0x0F65});
    QTest::keyClick(pane, Qt::Key_Left);
    QCOMPARE(Performed(), (std::vector<CommandCode>{0x0F65, kCmdMoveLeft}));
  }

  // F1 opens the help at its contents.
  void f1OpensHelp() {
    DesktopHarness harness;
    QVERIFY(harness.Start({":"}));
    QTest::keyClick(FrontNotebookWindow()->Pane()->viewport(), Qt::Key_F1);
    HelpWindow* help = HelpWindow::Open();
    QVERIFY(help->isVisible());
    QVERIFY(help->Browser()->source().toString().endsWith("index.html"));
    QVERIFY(help->Browser()->toPlainText().contains("Lemmabox Help"));
    QVERIFY(harness.boxes.empty());
  }
};

}  // namespace

std::unique_ptr<QObject> MakeKeyTest() {
  return std::make_unique<KeyTest>();
}

}  // namespace lemmabox::testing

#include "keys_test.moc"
