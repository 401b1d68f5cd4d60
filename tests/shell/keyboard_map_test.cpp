// Key presses to keystroke codes, and the input state the desktop drives.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "shell/routing_fixture.h"

namespace lemmabox {
namespace {

using testing::RoutingTest;

KeyModifiers Mods(bool shift, bool control = false, bool alt = false, bool capsLock = false) {
  return {shift, control, alt, capsLock};
}

TEST(KeyboardMap, FormsKeystrokeCodes) {
  const Key kA = LetterKey('A');
  struct Case {
    const char* what;
    KeyPress press;
    KeystrokeCode expected;
  } cases[] = {
      {"a", {kA, Mods(false)}, 0x61},
      {"Shift+a", {kA, Mods(true)}, 0x41},
      {"Caps Lock a", {kA, Mods(false, false, false, true)}, 0x41},
      {"Caps Lock Shift+a", {kA, Mods(true, false, false, true)}, 0x61},
      {"Ctrl+a", {kA, Mods(false, true)}, 0x461},
      {"Caps Lock Ctrl+a", {kA, Mods(false, true, false, true)}, 0x461},
      {"Caps Lock Ctrl+Shift+a", {kA, Mods(true, true, false, true)}, 0x441},
      {"Caps Lock Alt+a", {kA, Mods(false, false, true, true)}, 0x261},
      {"Ctrl+Shift+b", {LetterKey('B'), Mods(true, true)}, 0x442},
      {"Ctrl+Alt+Shift+h", {LetterKey('H'), Mods(true, true, true)}, 0x648},
      {"Caps Lock 1", {DigitKey(1), Mods(false, false, false, true)}, '1'},
      {"Shift+1", {DigitKey(1), Mods(true)}, '!'},
      {"Ctrl+Shift+backslash", {Key::kBackslash, Mods(true, true)}, 0x47C},
      {"Ctrl+[", {Key::kLeftBracket, Mods(false, true)}, 0x45B},
      {"space", {Key::kSpace, Mods(false)}, 0x20},
      {"Shift+space has no code", {Key::kSpace, Mods(true)}, 0},
      {"Return", {Key::kReturn, Mods(false)}, 0x10D},
      {"keypad Enter", {Key::kReturn, Mods(false), true}, 0x103},
      {"Shift+Return", {Key::kReturn, Mods(true)}, 0x14D},
      {"Shift+keypad Enter", {Key::kReturn, Mods(true), true}, 0x143},
      {"Ctrl+keypad Enter", {Key::kReturn, Mods(false, true), true}, 0x503},
      {"Delete", {Key::kDelete, Mods(false)}, 0x7F},
      {"Shift+Delete", {Key::kDelete, Mods(true)}, 0xBF},
      {"Home", {Key::kHome, Mods(false)}, 0x101},
      {"Shift+End", {Key::kEnd, Mods(true)}, 0x144},
      {"Left", {Key::kLeft, Mods(false)}, 0x11C},
      {"Shift+Down", {Key::kDown, Mods(true)}, 0x15F},
      {"keypad 5", {PadDigitKey(5), Mods(false)}, 0x135},
      {"Shift+keypad 5", {PadDigitKey(5), Mods(true)}, 0x175},
      {"keypad divide", {Key::kPadDivide, Mods(false)}, 0x12F},
      {"keypad 5 with the keypad flag", {PadDigitKey(5), Mods(false), true}, 0x135},
      {"F1", {FunctionKey(1), Mods(false)}, 0x180},
      {"Alt+F4", {FunctionKey(4), Mods(false, false, true)}, 0x383},
      {"Ctrl+Alt+F5", {FunctionKey(5), Mods(false, true, true)}, 0x784},
      {"F24", {FunctionKey(24), Mods(false)}, 0x197},
      {"Escape", {Key::kEscape, Mods(false)}, 0x11B},
      {"Pause has no code", {Key::kPause, Mods(false)}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, FormKeystrokeCode(CurrentVirtualKeyTable(), c.press)) << c.what;
  }
}

TEST(KeyboardMap, MarksTheKeysOfTheEditingBlock) {
  const VirtualKeyTable& table = CurrentVirtualKeyTable();
  std::set<Key> marked = {Key::kDelete, Key::kClear,  Key::kHome,     Key::kEnd,
                          Key::kInsert, Key::kPageUp, Key::kPageDown, Key::kLeft,
                          Key::kRight,  Key::kUp,     Key::kDown};
  for (int k = 0; k < 256; ++k) {
    Key key = static_cast<Key>(k);
    bool expected = marked.count(key) > 0;
    EXPECT_EQ(expected, (table.Unshifted(key) & VirtualKeyTable::kMarker) != 0) << k;
    EXPECT_EQ(expected, (table.Shifted(key) & VirtualKeyTable::kMarker) != 0) << k;
  }
}

TEST(KeyboardMap, UsScanTypesEveryPrintableCharacterOnItsOwnKey) {
  std::set<std::pair<Key, bool>> seen;
  for (int c = 32; c <= 126; ++c) {
    auto scanned = UsKeyScan(static_cast<char>(c));
    ASSERT_TRUE(scanned.has_value()) << c;
    EXPECT_TRUE(seen.insert({scanned->key, scanned->shift}).second) << "shared key for " << c;
  }
  EXPECT_FALSE(UsKeyScan('\t').has_value());
  EXPECT_FALSE(UsKeyScan('\x7f').has_value());
}

TEST_F(RoutingTest, DesktopScanReplacesTheCharactersButNotTheSpecialKeys) {
  // A layout with Y and Z swapped, '*' on the keypad only, and no key for '#'.
  SetKeyScan([](char c) -> std::optional<ScannedKey> {
    if (c == 'y') return ScannedKey{LetterKey('Z'), false};
    if (c == 'z') return ScannedKey{LetterKey('Y'), false};
    if (c == '*') return ScannedKey{Key::kPadMultiply, false};
    if (c == '#') return std::nullopt;
    return UsKeyScan(c);
  });
  const VirtualKeyTable& table = CurrentVirtualKeyTable();
  EXPECT_EQ('z', FormKeystrokeCode(table, {LetterKey('Y'), Mods(false)}));
  EXPECT_EQ('y', FormKeystrokeCode(table, {LetterKey('Z'), Mods(false)}));
  EXPECT_EQ(0x12A, FormKeystrokeCode(table, {Key::kPadMultiply, Mods(false)}));
  EXPECT_EQ(0, FormKeystrokeCode(table, {DigitKey(3), Mods(true)}));  // no '#'

  SetKeyScan(nullptr);
  EXPECT_EQ('y', FormKeystrokeCode(CurrentVirtualKeyTable(), {LetterKey('Y'), Mods(false)}));
  EXPECT_EQ('#', FormKeystrokeCode(CurrentVirtualKeyTable(), {DigitKey(3), Mods(true)}));
}

TEST_F(RoutingTest, KeyPressesReachTheFrontWindowOnlyWhenTheyHaveACommand) {
  std::vector<KeystrokeCode> received;
  bool consume = true;
  const Key kA = LetterKey('A');

  EXPECT_FALSE(HandleKeyDown({kA, Mods(false)})) << "no front window";

  SetFrontKeyHandler([&](KeystrokeCode code) {
    received.push_back(code);
    return consume;
  });
  EXPECT_TRUE(HandleKeyDown({kA, Mods(false)}));
  EXPECT_TRUE(HandleKeyUp(kA)) << "the release of a consumed press";
  EXPECT_FALSE(HandleKeyUp(kA)) << "a second release";
  EXPECT_FALSE(HandleKeyDown({LetterKey('L'), Mods(false, true)})) << "Ctrl+L has no command";
  EXPECT_FALSE(HandleKeyUp(LetterKey('L')));
  consume = false;
  EXPECT_FALSE(HandleKeyDown({LetterKey('B'), Mods(false)}));
  EXPECT_EQ((std::vector<KeystrokeCode>{0x61, 0x62}), received);

  // Modifier keys only change the modifier state.
  EXPECT_FALSE(HandleKeyDown({Key::kAlt, Mods(false)}));
  EXPECT_TRUE(CurrentModifiers().alt);
  EXPECT_FALSE(HandleKeyUp(Key::kAlt));
  EXPECT_FALSE(CurrentModifiers().alt);
  EXPECT_EQ(2u, received.size());
}

TEST_F(RoutingTest, DeadKeysAndLeadBytesHoldTranslationUntilTheirCharacterArrives) {
  std::vector<KeystrokeCode> keys;
  std::vector<uint16_t> doubleBytes;
  SetFrontKeyHandler([&](KeystrokeCode code) {
    keys.push_back(code);
    return true;
  });
  SetFrontDoubleByteHandler([&](uint16_t c) {
    doubleBytes.push_back(c);
    return true;
  });
  SetLeadBytePredicate([](uint8_t b) { return b >= 0x81 && b <= 0x9F; });
  const KeyPress a{LetterKey('A'), Mods(false)};

  HandleDeadCharacter();
  EXPECT_FALSE(HandleKeyDown(a)) << "dead key pending";
  HandleCharacter(0xE9);  // the composed character
  EXPECT_TRUE(HandleKeyDown(a));

  HandleCharacter(0x82);  // lead byte, held
  EXPECT_FALSE(HandleKeyDown(a)) << "double-byte character pending";
  HandleCharacter(0x40);  // trail byte
  EXPECT_TRUE(HandleKeyDown(a));

  HandleCharacter(0);  // nothing to deliver
  HandleCharacter(0x82);
  ResetKeyboardInput();  // focus moved away before the trail byte
  EXPECT_TRUE(HandleKeyDown(a));

  EXPECT_EQ((std::vector<KeystrokeCode>{0xE9, 0x61, 0x61, 0x61}), keys);
  EXPECT_EQ((std::vector<uint16_t>{0x4082}), doubleBytes) << "lead byte low, trail byte high";
}

TEST_F(RoutingTest, F1OpensTheHelpAndShiftF1ItsSearch) {
  RecordEveryAction();
  SetFrontKeyHandler([](KeystrokeCode) { return true; });
  EXPECT_TRUE(HandleKeyDown({FunctionKey(1), Mods(false)}));
  EXPECT_TRUE(HandleKeyUp(FunctionKey(1)));
  EXPECT_TRUE(HandleKeyDown({FunctionKey(1), Mods(true)}));
  ASSERT_EQ(2u, actions.size());
  EXPECT_EQ(CommandAction::kHelpContents, actions[0].first);
  EXPECT_EQ(CommandAction::kHelpSearch, actions[1].first);
}

TEST_F(RoutingTest, TypedKeysBecomeCommandsThroughTheKeystrokeTable) {
  RecordEveryAction();
  SetFrontKeyHandler(PerformKeystroke);
  const Key kA = LetterKey('A');
  HandleKeyDown({kA, Mods(false)});
  HandleKeyDown({kA, Mods(false, false, false, true)});
  HandleKeyDown({kA, Mods(true, false, false, true)});
  HandleKeyDown({Key::kReturn, Mods(false)});
  HandleKeyDown({Key::kReturn, Mods(false), true});
  HandleCharacter(0xE9);
  HandleKeyDown({LetterKey('Z'), Mods(false, true, false, true)});  // Ctrl+Z, Caps Lock on
  EXPECT_EQ(
      (std::vector<CommandCode>{0x0F61, 0x0F41, 0x0F61, kCmdNewAssumption, kCmdNewComment, 0x0FE9}),
      editorCodes);
  ASSERT_EQ(1u, actions.size());
  EXPECT_EQ(CommandAction::kUndo, actions[0].first);
  EXPECT_FALSE(PerformKeystroke(0x46C)) << "Ctrl+L";
}

}  // namespace
}  // namespace lemmabox
