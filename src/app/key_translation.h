// From Qt's key events to the keyboard map.
//
// Keys pressed in the program's windows are translated before Qt dispatches
// them (an application-wide event filter), as long as no box or dialog is up
// and a window is in front: a press becomes a KeyPress for HandleKeyDown; text
// that no press took (accented letters, Greek from a Greek layout, composed
// characters) is converted to the program's character set and handed to
// HandleCharacter byte by byte. A key the keyboard map does not take goes on
// to Qt as usual (menu mnemonics, for instance).
//
// Printable keys are identified by the character they type, whatever the
// user's layout: the character is looked up in the built-in key scan, so the
// keystroke code is that character and the keystroke table's bindings hold on
// every layout. Qt has applied Shift and Caps Lock to the text already.
#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "shell/keyboard_map.h"

class QKeyEvent;

namespace lemmabox {

// The press for a key event; nothing for keys the keyboard map has no name
// for (and for plain text that is not ASCII, which goes to HandleCharacter).
std::optional<KeyPress> KeyPressOf(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
std::optional<KeyPress> KeyPressOf(const QKeyEvent& event);

// The program's bytes for typed text; characters the character set lacks are
// left out.
std::string ProgramBytesOf(const QString& text);

// Feeds a key press to the keyboard map: true when it was consumed.
bool TranslateKeyPress(const QKeyEvent& event);
// Feeds a key release: true when it released the key of a translated press.
bool TranslateKeyRelease(const QKeyEvent& event);
// Feeds committed text (input methods, compose sequences).
void TranslateText(const QString& text);

class KeyTranslator : public QObject {
  Q_OBJECT

 public:
  KeyTranslator();
  ~KeyTranslator() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace lemmabox
