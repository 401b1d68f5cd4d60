#include "shell/keyboard_map.h"

#include <utility>

#include "shell/commands.h"
#include "shell/keystroke_table.h"
#include "shell/menu_ids.h"

namespace lemmabox {
namespace {

constexpr std::array<SpecialKey, 55> MakeSpecialKeys() {
  std::array<SpecialKey, 55> keys{};
  int n = 0;
  auto add = [&](KeystrokeCode code, Key key, bool marked) { keys[n++] = {code, key, marked}; };
  add(0x7F, Key::kDelete, true);
  add(0x100, Key::kClear, true);
  add(0x101, Key::kHome, true);
  add(0x104, Key::kEnd, true);
  add(0x105, Key::kInsert, true);
  add(0x108, Key::kBackspace, false);
  add(0x109, Key::kTab, false);
  add(0x10B, Key::kPageUp, true);
  add(0x10C, Key::kPageDown, true);
  add(0x10D, Key::kReturn, false);
  add(0x11B, Key::kEscape, false);
  add(0x11C, Key::kLeft, true);
  add(0x11D, Key::kRight, true);
  add(0x11E, Key::kUp, true);
  add(0x11F, Key::kDown, true);
  // Keypad operators (multiply, add, separator, subtract, decimal, divide) and digits.
  for (int i = 0; i < 6; ++i) {
    add(static_cast<KeystrokeCode>(0x12A + i), static_cast<Key>(0x6A + i), false);
  }
  for (int d = 0; d <= 9; ++d) add(static_cast<KeystrokeCode>(0x130 + d), PadDigitKey(d), false);
  for (int f = 1; f <= 24; ++f)
    add(static_cast<KeystrokeCode>(0x180 + f - 1), FunctionKey(f), false);
  return keys;
}

constexpr std::array<SpecialKey, 55> kSpecialKeys = MakeSpecialKeys();

// The US layout's punctuation keys: unshifted character, shifted character.
struct PunctuationKey {
  Key key;
  char plain;
  char shifted;
};
constexpr PunctuationKey kUsPunctuation[] = {
    {Key::kSemicolon, ';', ':'},    {Key::kEquals, '=', '+'},      {Key::kComma, ',', '<'},
    {Key::kMinus, '-', '_'},        {Key::kPeriod, '.', '>'},      {Key::kSlash, '/', '?'},
    {Key::kBackquote, '`', '~'},    {Key::kLeftBracket, '[', '{'}, {Key::kBackslash, '\\', '|'},
    {Key::kRightBracket, ']', '}'}, {Key::kQuote, '\'', '"'},
};
// Shift with the digit keys 0..9.
constexpr char kUsShiftedDigits[] = ")!@#$%^&*(";

struct InputState {
  VirtualKeyTable table = VirtualKeyTable::Build(UsKeyScan);
  KeyHandler keyHandler;
  DoubleByteHandler doubleByteHandler;
  std::function<bool(uint8_t)> isLeadByte;
  bool deadKeyPending = false;
  bool leadBytePending = false;
  uint8_t leadByte = 0;
  bool keyRemembered = false;
  Key rememberedKey = Key::kNone;
  KeyModifiers modifiers;
};

InputState& State() {
  static InputState state;
  return state;
}

bool IsModifierKey(Key key) {
  return key == Key::kShift || key == Key::kControl || key == Key::kAlt;
}

void SetModifierKey(KeyModifiers& modifiers, Key key, bool down) {
  if (key == Key::kShift) modifiers.shift = down;
  if (key == Key::kControl) modifiers.control = down;
  if (key == Key::kAlt) modifiers.alt = down;
}

}  // namespace

std::optional<ScannedKey> UsKeyScan(char c) {
  if (c >= 'a' && c <= 'z') return ScannedKey{LetterKey(static_cast<char>(c - 'a' + 'A')), false};
  if (c >= 'A' && c <= 'Z') return ScannedKey{LetterKey(c), true};
  if (c >= '0' && c <= '9') return ScannedKey{DigitKey(c - '0'), false};
  if (c == ' ') return ScannedKey{Key::kSpace, false};
  for (int d = 0; d <= 9; ++d) {
    if (kUsShiftedDigits[d] == c) return ScannedKey{DigitKey(d), true};
  }
  for (const auto& p : kUsPunctuation) {
    if (p.plain == c) return ScannedKey{p.key, false};
    if (p.shifted == c) return ScannedKey{p.key, true};
  }
  return std::nullopt;
}

std::span<const SpecialKey> SpecialKeyList() {
  return kSpecialKeys;
}

VirtualKeyTable VirtualKeyTable::Build(const KeyScan& scan) {
  VirtualKeyTable table;
  for (int c = 32; c <= 126; ++c) {
    std::optional<ScannedKey> found = scan(static_cast<char>(c));
    if (!found || found->key == Key::kNone) continue;
    table.entries_[static_cast<uint8_t>(found->key)][found->shift ? 1 : 0] =
        static_cast<uint16_t>(c);
  }
  for (const SpecialKey& special : kSpecialKeys) {
    uint16_t marker = special.marked ? kMarker : 0;
    auto& entry = table.entries_[static_cast<uint8_t>(special.key)];
    entry[0] = static_cast<uint16_t>(special.code | marker);
    entry[1] = static_cast<uint16_t>((special.code + kKeySpecialShifted) | marker);
  }
  return table;
}

KeystrokeCode FormKeystrokeCode(const VirtualKeyTable& table, const KeyPress& press) {
  const KeyModifiers& m = press.modifiers;
  uint16_t code = (m.shift ? table.Shifted(press.key) : table.Unshifted(press.key)) & 0x7FFF;
  if (code == 0) return 0;
  // Keypad Enter is a key of its own: 0x10D becomes 0x103, 0x14D becomes 0x143.
  if (press.key == Key::kReturn && press.keypad) code -= 10;
  if (m.alt) code += kKeyAlt;
  if (m.control) code += kKeyCtrl;
  if (m.capsLock) {
    if (code >= 'A' && code <= 'Z') {
      code += 'a' - 'A';
    } else if (code >= 'a' && code <= 'z') {
      code -= 'a' - 'A';
    }
  }
  return code;
}

const VirtualKeyTable& CurrentVirtualKeyTable() {
  return State().table;
}

void SetKeyScan(KeyScan scan) {
  State().table = VirtualKeyTable::Build(scan ? scan : KeyScan(UsKeyScan));
}

void SetFrontKeyHandler(KeyHandler handler) {
  State().keyHandler = std::move(handler);
}
void SetFrontDoubleByteHandler(DoubleByteHandler handler) {
  State().doubleByteHandler = std::move(handler);
}
void SetLeadBytePredicate(std::function<bool(uint8_t)> isLeadByte) {
  State().isLeadByte = std::move(isLeadByte);
}

bool HandleKeyDown(const KeyPress& press) {
  InputState& s = State();
  s.modifiers = press.modifiers;
  if (IsModifierKey(press.key)) {
    SetModifierKey(s.modifiers, press.key, true);
    return false;
  }
  if (!s.keyHandler) return false;
  if (press.key == Key::kF1) {
    s.keyRemembered = true;
    s.rememberedKey = press.key;
    DispatchMenuCommand(press.modifiers.shift ? kMenuHelpSearch : kMenuHelpContents,
                        CommandSource::kAccelerator);
    return true;
  }
  if (s.deadKeyPending || s.leadBytePending) return false;
  KeystrokeCode code = FormKeystrokeCode(s.table, press);
  if (code == 0 || CurrentKeystrokeTable().Command(code) == 0) return false;
  s.keyRemembered = true;
  s.rememberedKey = press.key;
  // Copy the handler: the command may close the front window and replace it.
  KeyHandler handler = s.keyHandler;
  return handler(code);
}

bool HandleKeyUp(Key key) {
  InputState& s = State();
  if (IsModifierKey(key)) {
    SetModifierKey(s.modifiers, key, false);
    return false;
  }
  if (!s.keyRemembered || s.rememberedKey != key) return false;
  s.keyRemembered = false;
  s.rememberedKey = Key::kNone;
  return true;
}

void HandleCharacter(uint8_t byte) {
  InputState& s = State();
  s.deadKeyPending = false;
  if (s.leadBytePending) {
    s.leadBytePending = false;
    uint16_t joined = static_cast<uint16_t>((byte << 8) | s.leadByte);
    if (DoubleByteHandler handler = s.doubleByteHandler) handler(joined);
    return;
  }
  if (s.isLeadByte && s.isLeadByte(byte)) {
    s.leadBytePending = true;
    s.leadByte = byte;
    return;
  }
  if (byte == 0) return;
  if (KeyHandler handler = s.keyHandler) handler(byte);
}

void HandleDeadCharacter() {
  State().deadKeyPending = true;
}

void ResetKeyboardInput() {
  InputState& s = State();
  s.deadKeyPending = false;
  s.leadBytePending = false;
  s.leadByte = 0;
  s.keyRemembered = false;
  s.rememberedKey = Key::kNone;
}

KeyModifiers CurrentModifiers() {
  return State().modifiers;
}
void SetCurrentModifiers(KeyModifiers modifiers) {
  State().modifiers = modifiers;
}

}  // namespace lemmabox
