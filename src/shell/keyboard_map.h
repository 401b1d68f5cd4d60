// The keyboard map: from a key press to a keystroke code.
//
// Keys are named by a platform-neutral list numbered like the classic PC
// virtual keys; the desktop maps its own key events onto it. The virtual-key
// table gives every key an unshifted and a shifted keystroke code: characters
// 32..126 come from a key scan (which key, and whether Shift, types each
// character on the user's layout; a US layout is built in), and the special
// keys (arrows, editing keys, keypad, function keys) from a fixed list.
//
// A key press then forms its keystroke code from the table, the keypad flag
// (keypad Enter is a key of its own), Alt, Ctrl and Caps Lock. Character input
// that no key press translated (accented letters, dead-key compositions,
// double-byte characters) arrives separately as bytes of the program's 8-bit
// character set.
//
// The desktop drives the state here: HandleKeyDown and HandleKeyUp for every
// key event, HandleCharacter for text the key press did not consume, and
// HandleDeadCharacter for a dead key. The front window receives the results
// through the handlers it installs (SetFrontKeyHandler).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "shell/command_codes.h"

namespace lemmabox {

// Platform-neutral keys. The values are those of the classic PC virtual keys, so
// the table below has one row per value 0..255.
enum class Key : uint8_t {
  kNone = 0x00,
  kBackspace = 0x08,
  kTab = 0x09,
  kClear = 0x0C,  // keypad 5 without Num Lock
  kReturn = 0x0D,
  kShift = 0x10,
  kControl = 0x11,
  kAlt = 0x12,
  kPause = 0x13,
  kCapsLock = 0x14,
  kEscape = 0x1B,
  kSpace = 0x20,
  kPageUp = 0x21,
  kPageDown = 0x22,
  kEnd = 0x23,
  kHome = 0x24,
  kLeft = 0x25,
  kUp = 0x26,
  kRight = 0x27,
  kDown = 0x28,
  kInsert = 0x2D,
  kDelete = 0x2E,
  k0 = 0x30,  // digits '0'..'9' are 0x30..0x39 (DigitKey)
  k9 = 0x39,
  kA = 0x41,  // letters 'A'..'Z' are 0x41..0x5A (LetterKey)
  kZ = 0x5A,
  kPad0 = 0x60,  // keypad digits 0x60..0x69 (PadDigitKey)
  kPad9 = 0x69,
  kPadMultiply = 0x6A,
  kPadAdd = 0x6B,
  kPadSeparator = 0x6C,
  kPadSubtract = 0x6D,
  kPadDecimal = 0x6E,
  kPadDivide = 0x6F,
  kF1 = 0x70,  // function keys F1..F24 are 0x70..0x87 (FunctionKey)
  kF24 = 0x87,
  kNumLock = 0x90,
  kScrollLock = 0x91,
  kSemicolon = 0xBA,     // ; :
  kEquals = 0xBB,        // = +
  kComma = 0xBC,         // , <
  kMinus = 0xBD,         // - _
  kPeriod = 0xBE,        // . >
  kSlash = 0xBF,         // / ?
  kBackquote = 0xC0,     // ` ~
  kLeftBracket = 0xDB,   // [ {
  kBackslash = 0xDC,     // \ |
  kRightBracket = 0xDD,  // ] }
  kQuote = 0xDE,         // ' "
};

constexpr Key LetterKey(char upperCase) {
  return static_cast<Key>(upperCase);
}
constexpr Key DigitKey(int digit) {
  return static_cast<Key>(0x30 + digit);
}
constexpr Key PadDigitKey(int digit) {
  return static_cast<Key>(0x60 + digit);
}
// n = 1..24.
constexpr Key FunctionKey(int n) {
  return static_cast<Key>(0x70 + n - 1);
}

struct KeyModifiers {
  bool shift = false;
  bool control = false;
  bool alt = false;
  bool capsLock = false;
  friend bool operator==(const KeyModifiers&, const KeyModifiers&) = default;
};

struct KeyPress {
  Key key = Key::kNone;
  KeyModifiers modifiers;
  // The key came from the numeric keypad; it tells keypad Enter from Return.
  bool keypad = false;
};

// Which key, and whether with Shift, types a character.
struct ScannedKey {
  Key key = Key::kNone;
  bool shift = false;
};
// A key scan answers for one character 32..126; nullopt when no key types it.
using KeyScan = std::function<std::optional<ScannedKey>(char)>;

// The US layout.
std::optional<ScannedKey> UsKeyScan(char c);

// One record of the special-key list: the key's keystroke code (its shifted
// code is that plus 0x40) and whether the key is one of the marked keys that
// exist both on the keypad and in the editing block.
struct SpecialKey {
  KeystrokeCode code;
  Key key;
  bool marked;
};
// Delete, Clear, Home, End, Insert, Backspace, Tab, Page Up and Down, Return,
// Escape, the arrows, the keypad operators and digits, and F1..F24.
std::span<const SpecialKey> SpecialKeyList();

class VirtualKeyTable {
 public:
  // Bit 15 of an entry marks the keys of the special list with the marked flag;
  // it is masked off when a code is formed.
  static constexpr uint16_t kMarker = 0x8000;

  // Characters from the scan first, then the special keys over them.
  static VirtualKeyTable Build(const KeyScan& scan);

  uint16_t Unshifted(Key key) const { return entries_[static_cast<uint8_t>(key)][0]; }
  uint16_t Shifted(Key key) const { return entries_[static_cast<uint8_t>(key)][1]; }

 private:
  std::array<std::array<uint16_t, 2>, 256> entries_{};
};

// The keystroke code of a key press, 0 when the key has none: the table's
// unshifted or shifted code, keypad Enter lowered by 10 (0x10D -> 0x103), Alt
// adds 0x200, Ctrl 0x400, and Caps Lock swaps the case of a plain letter.
KeystrokeCode FormKeystrokeCode(const VirtualKeyTable& table, const KeyPress& press);

// --- The process-wide keyboard map and input state ---------------------------

// The table in use, built from the US scan until the desktop supplies its own.
const VirtualKeyTable& CurrentVirtualKeyTable();
// Rebuilds the table from the desktop's scan of the user's layout; an empty
// scan goes back to the US layout.
void SetKeyScan(KeyScan scan);

// The front window's key operation: given a keystroke code or a single byte of
// the program's character set, returns true when it consumed it. Without a
// handler there is no front window and nothing is translated.
using KeyHandler = std::function<bool(KeystrokeCode)>;
// The front window's double-byte operation: lead byte low, trail byte high.
using DoubleByteHandler = std::function<bool(uint16_t)>;
void SetFrontKeyHandler(KeyHandler handler);
void SetFrontDoubleByteHandler(DoubleByteHandler handler);

// Whether a byte of the user's character set begins a double-byte character.
// None does until the desktop says otherwise.
void SetLeadBytePredicate(std::function<bool(uint8_t)> isLeadByte);

// A key press. Shift, Ctrl and Alt only update the modifier state. F1 opens
// the help contents, Shift+F1 the help search. Otherwise, unless a dead key or
// a double-byte character is pending, the keystroke code is formed; when the
// keystroke table has a command for it the code is remembered and handed to the
// front window. Returns true when the press was consumed; the desktop then
// sends no text for it.
bool HandleKeyDown(const KeyPress& press);
// A key release: consumed when it releases the key of the last translated press.
bool HandleKeyUp(Key key);
// A byte of text input. Clears the dead-key state; holds a lead byte until its
// trail byte arrives; passes any other non-zero byte to the front window.
void HandleCharacter(uint8_t byte);
// A dead key was pressed: the next key press is not translated.
void HandleDeadCharacter();
// Forgets pending dead keys, lead bytes and the remembered key (focus changes).
void ResetKeyboardInput();

// The modifiers as the last key event or SetCurrentModifiers left them; mouse
// commands read them (Alt makes a manipulation work in place).
KeyModifiers CurrentModifiers();
void SetCurrentModifiers(KeyModifiers modifiers);

}  // namespace lemmabox
