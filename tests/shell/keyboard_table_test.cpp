// The shipped keystroke table, the Enter-key bindings and the keystroke texts.
#include <gtest/gtest.h>

#include <set>

#include "shell/routing_fixture.h"

namespace lemmabox {
namespace {

using testing::RoutingTest;

TEST(KeystrokeTable, ShippedEntriesByFamily) {
  const KeystrokeTable table = ShippedKeystrokeTable();
  struct Case {
    KeystrokeCode key;
    CommandCode command;
  } cases[] = {
      // Typed characters insert themselves; Delete clears.
      {0x20, 0x0F20},
      {'a', 0x0F61},
      {'~', 0x0F7E},
      {0x7F, kCmdClear},
      {0x80, 0x0F80},
      {0xFF, 0x0FFF},
      // Special keys.
      {0x100, kCmdClear},
      {0x101, 0x6303},
      {0x103, kCmdNewComment},
      {0x104, 0x6305},
      {0x108, kCmdBackspace},
      {0x109, 0x6304},
      {0x10B, kCmdSelectOut},
      {0x10C, kCmdSelectIn},
      {0x10D, kCmdNewAssumption},
      {0x11B, 0x6305},
      {0x11C, 0x6310},
      {0x11F, 0x6313},
      {0x12A, 0x0F2A},
      {0x12F, 0x0F2F},
      {0x130, 0x0F30},
      {0x139, 0x0F39},
      // Shifted special keys.
      {0x144, 0x6302},
      {0x145, kCmdPaste},
      {0x149, 0x6303},
      {0x15B, kCmdSelectOut},
      {0x15C, 0x6310},
      {0x15F, 0x6313},
      {0x170, 0x0F30},
      {0x179, 0x0F39},
      // Function keys, also with Ctrl+Alt (but not F10), and Alt+F4.
      {0x181, kCmdToggleAutoSimplify},
      {0x182, kCmdToggleAutoCasing},
      {0x183, 0x700F},
      {0x184, 0x7004},
      {0x185, 0x7002},
      {0x186, 0x7006},
      {0x187, 0x7007},
      {0x188, 0x7003},
      {0x189, 0x700D},
      {0x18A, 0x7001},
      {0x783, 0x700F},
      {0x788, 0x7003},
      {0x78A, 0x7001},
      {0x383, kCmdExit},
      // Ctrl with a letter or bracket.
      {0x461, 0x6306},
      {0x462, 0x6004},
      {0x463, kCmdCopy},
      {0x464, kCmdMakeWorkingStmt},
      {0x465, kCmdSelectIn},
      {0x466, kCmdCopyAsPicture},
      {0x467, 0x7400},
      {0x468, 0x4202},
      {0x469, 0x6005},
      {0x46A, 0x4600},
      {0x46B, 0x7401},
      {0x46D, 0x7403},
      {0x46E, kCmdNewNotebook},
      {0x46F, kCmdOpenNotebook},
      {0x470, kCmdPrintNotebook},
      {0x471, 0x0F11},
      {0x472, 0x4304},
      {0x473, kCmdSaveNotebook},
      {0x474, 0x6003},
      {0x475, 0x600C},
      {0x476, kCmdPaste},
      {0x477, kCmdCloseNotebook},
      {0x478, kCmdCut},
      {0x479, kCmdInsertTransformRule},
      {0x47A, kCmdUndo},
      {0x47C, kCmdCollapse},
      {0x47E, 0x0F1E},
      {0x45B, kCmdIndentLeft},
      {0x45D, kCmdIndentRight},
      // Ctrl+Shift with a letter.
      {0x442, kCmdTogglePalette},
      {0x443, kCmdCommentFont},
      {0x444, 0x7506},
      {0x446, 0x7508},
      {0x447, 0x7520},
      {0x448, 0x740A},
      {0x44A, 0x7507},
      {0x44B, 0x7404},
      {0x44C, 0x7421},
      {0x44D, 0x7431},
      {0x44F, 0x7521},
      {0x450, 0x7504},
      {0x452, 0x7408},
      {0x453, 0x7406},
      {0x454, 0x7505},
      {0x455, 0x7405},
      {0x456, 0x7402},
      {0x457, 0x7424},
      {0x459, 0x7407},
      {0x45A, 0x7409},
      // Ctrl+Alt with a letter: symbol-font characters.
      {0x661, 0x1261},
      {0x67A, 0x127A},
      {0x641, 0x12C0},
      {0x642, 0x12E1},
      {0x643, 0x1243},
      {0x648, 0x5321},
      {0x649, 0x1259},
      {0x64B, 0x12F1},
      {0x64D, 0x12C2},
      {0x65A, 0x12D1},
      {0x659, 0x1259},
      // Keys without a command.
      {0x14D, 0},
      {0x143, 0},
      {0x180, 0},
      {0x46C, 0},
      {0x441, 0},
      {0x445, 0},
      {0x789, 0},
      {0x1F, 0},
      {0x148, 0},
      {0x16A, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.command, table.Command(c.key)) << std::hex << c.key;
  }
  EXPECT_EQ(0u, table.Command(0x800)) << "out of range";
}

// Every binding beyond the typed bytes must be a code that some key press forms;
// a slip in an offset would leave a dead entry and an unbound key.
TEST(KeystrokeTable, EveryKeyBindingCanBeTyped) {
  std::set<KeystrokeCode> typeable;
  for (int k = 0; k < 256; ++k) {
    for (int m = 0; m < 8; ++m) {
      for (bool keypad : {false, true}) {
        KeyPress press{
            static_cast<Key>(k), {(m & 1) != 0, (m & 2) != 0, (m & 4) != 0, false}, keypad};
        typeable.insert(FormKeystrokeCode(CurrentVirtualKeyTable(), press));
      }
    }
  }
  const KeystrokeTable table = ShippedKeystrokeTable();
  for (int code = 0x100; code < kKeystrokeTableSize; ++code) {
    if (table.Command(static_cast<KeystrokeCode>(code)) != 0) {
      EXPECT_TRUE(typeable.count(static_cast<KeystrokeCode>(code))) << std::hex << code;
    }
  }
}

TEST_F(RoutingTest, EnterKeyPreferencesRebindReturnAndEnterSeparately) {
  ApplyEnterKeyCommands({kCmdNewComment, kCmdNewAssumption, kCmdReManipulateNow, 0});
  const KeystrokeTable& table = CurrentKeystrokeTable();
  EXPECT_EQ(kCmdNewComment, table.Command(kKeystrokeReturn));
  EXPECT_EQ(kCmdNewAssumption, table.Command(kKeystrokeEnter));
  EXPECT_EQ(kCmdReManipulateNow, table.Command(kKeystrokeShiftReturn));
  EXPECT_EQ(0u, table.Command(kKeystrokeShiftEnter));
  EXPECT_EQ(kCmdSelectIn, table.Command(0x10C)) << "neighbours untouched";

  RecordEveryAction();
  SetFrontKeyHandler(PerformKeystroke);
  EXPECT_TRUE(HandleKeyDown({Key::kReturn, {}}));
  EXPECT_TRUE(HandleKeyDown({Key::kReturn, {}, true}));
  EXPECT_TRUE(HandleKeyDown({Key::kReturn, {true}}));
  EXPECT_FALSE(HandleKeyDown({Key::kReturn, {true}, true})) << "Shift+Enter now unbound";
  EXPECT_EQ((std::vector<CommandCode>{kCmdNewComment, kCmdNewAssumption}), editorCodes);
  ASSERT_EQ(1u, actions.size());
  EXPECT_EQ(CommandAction::kReManipulateNow, actions[0].first);
}

TEST(KeystrokeTable, KeystrokeTexts) {
  struct Case {
    KeystrokeCode code;
    const char* text;
  } cases[] = {
      {0x461, "Ctrl+A"},      {0x442, "Ctrl+Shift+B"},
      {0x383, "Alt+F4"},      {0x784, "Ctrl+Alt+F5"},
      {0x10B, "PgUp"},        {0x7F, "Del"},
      {0x47C, "Ctrl+|"},      {0x45B, "Ctrl+["},
      {0x143, "Shift+Enter"}, {0x135, "Num 5"},
      {0x175, "Shift+Num 5"}, {0x15B, "Shift+Esc"},
      {0x181, "F2"},          {0x1C1, "Shift+F2"},
      {0x20, "Space"},        {0x64D, "Ctrl+Alt+Shift+M"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, KeystrokeText(c.code)) << std::hex << c.code;
}

TEST_F(RoutingTest, AcceleratorsPreferCtrlThenPlainKeys) {
  struct Case {
    CommandCode command;
    const char* text;
  } cases[] = {
      {kCmdPaste, "Ctrl+V"},     // not Shift+Ins
      {kCmdSelectIn, "Ctrl+E"},  // not PgDn
      {kCmdSelectOut, "PgUp"},   // not Shift+Esc
      {kCmdClear, "Del"},        // not Clear
      {kCmdCalculate, "F5"},     // not Ctrl+Alt+F5
      {kCmdExit, "Alt+F4"},     {kCmdExpose, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.text, AcceleratorTextFor(c.command)) << std::hex << c.command;
}

}  // namespace
}  // namespace lemmabox
