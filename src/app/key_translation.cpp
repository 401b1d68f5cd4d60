#include "app/key_translation.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

#include "app/app_window.h"
#include "app/entry_guard.h"
#include "shell/alerts.h"
#include "shell/charset.h"

namespace lemmabox {
namespace {

std::optional<Key> SpecialKeyOf(int qtKey, bool keypad) {
  if (keypad) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return PadDigitKey(qtKey - Qt::Key_0);
    switch (qtKey) {
      case Qt::Key_Asterisk:
        return Key::kPadMultiply;
      case Qt::Key_Plus:
        return Key::kPadAdd;
      case Qt::Key_Minus:
        return Key::kPadSubtract;
      case Qt::Key_Period:
      case Qt::Key_Comma:
        return Key::kPadDecimal;
      case Qt::Key_Slash:
        return Key::kPadDivide;
      default:
        break;
    }
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return FunctionKey(qtKey - Qt::Key_F1 + 1);
  switch (qtKey) {
    case Qt::Key_Backspace:
      return Key::kBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return Key::kTab;
    case Qt::Key_Clear:
      return Key::kClear;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::kReturn;
    case Qt::Key_Shift:
      return Key::kShift;
    case Qt::Key_Control:
      return Key::kControl;
    case Qt::Key_Alt:
      return Key::kAlt;
    case Qt::Key_Pause:
      return Key::kPause;
    case Qt::Key_CapsLock:
      return Key::kCapsLock;
    case Qt::Key_Escape:
      return Key::kEscape;
    case Qt::Key_PageUp:
      return Key::kPageUp;
    case Qt::Key_PageDown:
      return Key::kPageDown;
    case Qt::Key_End:
      return Key::kEnd;
    case Qt::Key_Home:
      return Key::kHome;
    case Qt::Key_Left:
      return Key::kLeft;
    case Qt::Key_Up:
      return Key::kUp;
    case Qt::Key_Right:
      return Key::kRight;
    case Qt::Key_Down:
      return Key::kDown;
    case Qt::Key_Insert:
      return Key::kInsert;
    case Qt::Key_Delete:
      return Key::kDelete;
    case Qt::Key_NumLock:
      return Key::kNumLock;
    case Qt::Key_ScrollLock:
      return Key::kScrollLock;
    default:
      return std::nullopt;
  }
}

bool IsDeadKey(int qtKey) {
  return qtKey >= Qt::Key_Dead_Grave && qtKey <= Qt::Key_Dead_Longsolidusoverlay;
}

// The key (and whether Shift) that types an ASCII character on the layout the
// keyboard map was built for.
std::optional<KeyPress> PressForCharacter(char c, KeyModifiers modifiers) {
  std::optional<ScannedKey> scanned = UsKeyScan(c);
  if (!scanned) return std::nullopt;
  KeyPress press;
  press.key = scanned->key;
  press.modifiers = modifiers;
  press.modifiers.shift = scanned->shift;
  return press;
}

bool InOurWindow(QObject* watched) {
  return watched->isWidgetType() && WindowList::Owning(static_cast<QWidget*>(watched)) != nullptr;
}

}  // namespace

std::optional<KeyPress> KeyPressOf(int qtKey, Qt::KeyboardModifiers qtModifiers,
                                   const QString& text) {
  KeyModifiers modifiers;
  modifiers.shift = qtModifiers.testFlag(Qt::ShiftModifier);
  modifiers.control = qtModifiers.testFlag(Qt::ControlModifier);
  modifiers.alt = qtModifiers.testFlag(Qt::AltModifier);
  const bool keypad = qtModifiers.testFlag(Qt::KeypadModifier);
  if (qtKey == Qt::Key_Backtab) modifiers.shift = true;

  if (std::optional<Key> special = SpecialKeyOf(qtKey, keypad)) {
    KeyPress press;
    press.key = *special;
    press.modifiers = modifiers;
    // Qt names keypad Enter apart from Return.
    press.keypad = qtKey == Qt::Key_Enter;
    return press;
  }
  if (modifiers.control || modifiers.alt) {
    // Text means little under Ctrl and Alt; the key says which it was.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
      KeyPress press;
      press.key = LetterKey(static_cast<char>(qtKey));
      press.modifiers = modifiers;
      return press;
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
      KeyPress press;
      press.key = DigitKey(qtKey - Qt::Key_0);
      press.modifiers = modifiers;
      return press;
    }
    if (qtKey >= 0x20 && qtKey <= 0x7E)
      return PressForCharacter(static_cast<char>(qtKey), modifiers);
    return std::nullopt;
  }
  if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() <= 0x7E) {
    return PressForCharacter(static_cast<char>(text[0].unicode()), modifiers);
  }
  return std::nullopt;
}

std::optional<KeyPress> KeyPressOf(const QKeyEvent& event) {
  return KeyPressOf(event.key(), event.modifiers(), event.text());
}

std::string ProgramBytesOf(const QString& text) {
  std::string bytes;
  for (char32_t u : text.toUcs4()) {
    if (uint8_t byte = ProgramCharFromUnicode(u)) bytes += static_cast<char>(byte);
  }
  return bytes;
}

bool TranslateKeyPress(const QKeyEvent& event) {
  if (IsDeadKey(event.key())) {
    HandleDeadCharacter();
    return true;
  }
  if (std::optional<KeyPress> press = KeyPressOf(event)) {
    if (HandleKeyDown(*press)) return true;
    // A modifier only updates the state; text typed with a key that has no
    // command goes on as characters below.
    if (press->key == Key::kShift || press->key == Key::kControl || press->key == Key::kAlt) {
      return false;
    }
  }
  const QString text = event.text();
  if (text.isEmpty() || event.modifiers().testFlag(Qt::ControlModifier)) return false;
  const std::string bytes = ProgramBytesOf(text);
  // Control characters are the keys' business, not text.
  if (bytes.empty() || static_cast<uint8_t>(bytes[0]) < 0x20) return false;
  for (char byte : bytes) HandleCharacter(static_cast<uint8_t>(byte));
  return true;
}

bool TranslateKeyRelease(const QKeyEvent& event) {
  std::optional<KeyPress> press = KeyPressOf(event);
  if (!press) return false;
  return HandleKeyUp(press->key);
}

void TranslateText(const QString& text) {
  for (char byte : ProgramBytesOf(text)) HandleCharacter(static_cast<uint8_t>(byte));
}

KeyTranslator::KeyTranslator() {
  qApp->installEventFilter(this);
}

KeyTranslator::~KeyTranslator() {
  if (qApp) qApp->removeEventFilter(this);
}

bool KeyTranslator::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::InputMethod) {
    return false;
  }
  // Keys for a box or a dialog, or with no window in front, are Qt's.
  if (ModalIsUp() || !WindowList::Front() || !InOurWindow(watched)) return false;
  bool consumed = false;
  RunEntry([&] {
    if (type == QEvent::KeyPress) {
      consumed = TranslateKeyPress(*static_cast<QKeyEvent*>(event));
    } else if (type == QEvent::KeyRelease) {
      consumed = TranslateKeyRelease(*static_cast<QKeyEvent*>(event));
    } else {
      auto* input = static_cast<QInputMethodEvent*>(event);
      TranslateText(input->commitString());
      consumed = !input->commitString().isEmpty();
    }
  });
  return consumed;
}

}  // namespace lemmabox
