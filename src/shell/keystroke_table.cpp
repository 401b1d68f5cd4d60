#include "shell/keystroke_table.h"

#include <algorithm>
#include <tuple>

namespace lemmabox {
namespace {

// Key bindings by letter: Ctrl with a lower-case letter (Ctrl+letter), or with
// an upper-case one (Ctrl+Shift+letter).
struct LetterBinding {
  char letter;
  CommandCode command;
};

constexpr LetterBinding kCtrlLetters[] = {
    {'a', kCmdSelectEverything},
    {'b', kCmdStyleBold},
    {'c', kCmdCopy},
    {'d', kCmdMakeWorkingStmt},
    {'e', kCmdSelectIn},
    {'f', kCmdCopyAsPicture},
    {'g', kCmdNewLinearGraph},
    {'h', kCmdTemplatePower},
    {'i', kCmdStyleItalic},
    {'j', kCmdTemplateDefiniteIntegral},
    {'k', kCmdNewColor3DGraph},
    {'m', kCmdNewContourGraph},
    {'n', kCmdNewNotebook},
    {'o', kCmdOpenNotebook},
    {'p', kCmdPrintNotebook},
    {'q', TypeCharCommand(0x11)},
    {'r', kCmdTemplateSquareRootAlt},
    {'s', kCmdSaveNotebook},
    {'t', kCmdStylePlain},
    {'u', kCmdStyleUnderline},
    {'v', kCmdPaste},
    {'w', kCmdCloseNotebook},
    {'x', kCmdCut},
    {'y', kCmdInsertTransformRule},
    {'z', kCmdUndo},
};

constexpr LetterBinding kCtrlShiftLetters[] = {
    {'B', kCmdTogglePalette},
    {'C', kCmdCommentFont},
    {'D', kCmdStopWorkingStmt},
    {'F', kCmdNotebookFont},
    {'G', kCmdGenerateTable},
    {'H', kCmdNewImplicitGraph},
    {'J', kCmdGetInfo},
    {'K', kCmdNewComplex3DGraph},
    {'L', kCmdAddLinePlot},
    {'M', kCmdAnimationStart},
    {'O', kCmdIntegrateDifferentialEquation},
    {'P', kCmdInsertPageBreak},
    {'R', kCmdNewParametricGraph},
    {'S', kCmdNewSphericalGraph},
    {'T', kCmdInsertCaseTheory},
    {'U', kCmdNewIllum3DGraph},
    {'V', kCmdNewScatterGraph},
    {'W', kCmdAddScatterPlot},
    {'Y', kCmdNewCylindricalGraph},
    {'Z', kCmdNewSpaceCurveGraph},
};

// Ctrl+Alt+Shift+letter inserts the symbol-font capital, except where the
// symbol font keeps that Greek capital under another code.
constexpr LetterBinding kSymbolCapitalExceptions[] = {
    {'A', 0x12C0}, {'B', 0x12E1}, {'H', kCmdInsertCapitalEta}, {'I', 0x1259}, {'K', 0x12F1},
    {'M', 0x12C2}, {'Z', 0x12D1},
};

// F4..F11, in order.
constexpr CommandCode kFunctionKeys4To11[] = {
    kCmdIntegrateByParts, kCmdCalculate, kCmdExpand, kCmdCollect,
    kCmdFactor,           kCmdTransform, kCmdApply,  kCmdSimplify,
};

constexpr KeystrokeCode kSpecialF1 = 0x180;

KeystrokeTable& ProcessTable() {
  static KeystrokeTable table = ShippedKeystrokeTable();
  return table;
}

}  // namespace

void KeystrokeTable::Set(KeystrokeCode code, CommandCode command) {
  if (code < kKeystrokeTableSize) entries_[code] = command;
}

void KeystrokeTable::ApplyEnterKeys(const EnterKeyCommands& keys) {
  entries_[kKeystrokeReturn] = keys.returnKey;
  entries_[kKeystrokeEnter] = keys.enterKey;
  entries_[kKeystrokeShiftReturn] = keys.shiftReturn;
  entries_[kKeystrokeShiftEnter] = keys.shiftEnter;
}

std::vector<KeystrokeCode> KeystrokeTable::KeystrokesFor(CommandCode command) const {
  std::vector<KeystrokeCode> codes;
  if (command == 0) return codes;
  for (int code = 0; code < kKeystrokeTableSize; ++code) {
    if (entries_[code] == command) codes.push_back(static_cast<KeystrokeCode>(code));
  }
  return codes;
}

KeystrokeTable ShippedKeystrokeTable() {
  KeystrokeTable t;
  // Typed characters insert themselves; Delete clears.
  for (int c = 0x20; c <= 0xFF; ++c) {
    t.Set(static_cast<KeystrokeCode>(c), TypeCharCommand(static_cast<uint8_t>(c)));
  }
  t.Set(0x7F, kCmdClear);

  // Special keys.
  t.Set(0x100, kCmdClear);
  t.Set(0x101, kCmdSelectFirst);  // Home
  t.Set(kKeystrokeEnter, kCmdNewComment);
  t.Set(0x104, kCmdCaretAfterOperand);  // End
  t.Set(0x108, kCmdBackspace);
  t.Set(0x109, kCmdNextQuestionMark);  // Tab
  t.Set(0x10B, kCmdSelectOut);         // Page Up
  t.Set(0x10C, kCmdSelectIn);          // Page Down
  t.Set(kKeystrokeReturn, kCmdNewAssumption);
  t.Set(0x11B, kCmdCaretAfterOperand);  // Escape
  for (int i = 0; i < 4; ++i) {
    t.Set(static_cast<KeystrokeCode>(0x11C + i), kCmdMoveLeft + i);  // arrows
    t.Set(static_cast<KeystrokeCode>(0x15C + i), kCmdMoveLeft + i);  // with Shift
  }
  for (int code = 0x12A; code <= 0x139; ++code) {  // keypad operators and digits
    t.Set(static_cast<KeystrokeCode>(code), TypeCharCommand(code & 0xFF));
  }
  for (int digit = 0; digit <= 9; ++digit) {  // shifted keypad digits
    t.Set(static_cast<KeystrokeCode>(0x170 + digit), TypeCharCommand('0' + digit));
  }
  t.Set(0x144, kCmdSelectAll);    // Shift+End
  t.Set(0x145, kCmdPaste);        // Shift+Insert
  t.Set(0x149, kCmdSelectFirst);  // Shift+Tab
  t.Set(0x15B, kCmdSelectOut);    // Shift+Escape

  // Function keys.
  t.Set(kSpecialF1 + 1, kCmdToggleAutoSimplify);  // F2
  t.Set(kSpecialF1 + 2, kCmdToggleAutoCasing);    // F3
  for (int i = 0; i < 8; ++i) {
    KeystrokeCode fkey = static_cast<KeystrokeCode>(kSpecialF1 + 3 + i);  // F4..F11
    t.Set(fkey, kFunctionKeys4To11[i]);
    if (i != 6) t.Set(fkey | kKeyCtrl | kKeyAlt, kFunctionKeys4To11[i]);  // not F10
  }
  t.Set((kSpecialF1 + 3) | kKeyAlt, kCmdExit);  // Alt+F4

  // Ctrl with a letter or a bracket.
  for (const auto& b : kCtrlLetters) t.Set(kKeyCtrl | b.letter, b.command);
  t.Set(kKeyCtrl | '|', kCmdCollapse);
  t.Set(kKeyCtrl | '~', TypeCharCommand(0x1E));
  t.Set(kKeyCtrl | '[', kCmdIndentLeft);
  t.Set(kKeyCtrl | ']', kCmdIndentRight);
  for (const auto& b : kCtrlShiftLetters) t.Set(kKeyCtrl | b.letter, b.command);

  // Ctrl+Alt with a letter: symbol-font characters.
  for (char c = 'a'; c <= 'z'; ++c) {
    t.Set(kKeyCtrl | kKeyAlt | c, SymbolCharCommand(static_cast<uint8_t>(c)));
  }
  for (char c = 'A'; c <= 'Z'; ++c) {
    t.Set(kKeyCtrl | kKeyAlt | c, SymbolCharCommand(static_cast<uint8_t>(c)));
  }
  for (const auto& b : kSymbolCapitalExceptions) t.Set(kKeyCtrl | kKeyAlt | b.letter, b.command);
  return t;
}

KeystrokeTable& CurrentKeystrokeTable() {
  return ProcessTable();
}

void ApplyEnterKeyCommands(const EnterKeyCommands& keys) {
  ProcessTable().ApplyEnterKeys(keys);
}

namespace {

const char* SpecialKeyName(int number) {
  switch (number) {
    case 0x00:
      return "Clear";
    case 0x01:
      return "Home";
    case 0x03:
      return "Enter";
    case 0x04:
      return "End";
    case 0x05:
      return "Ins";
    case 0x08:
      return "Backspace";
    case 0x09:
      return "Tab";
    case 0x0B:
      return "PgUp";
    case 0x0C:
      return "PgDn";
    case 0x0D:
      return "Return";
    case 0x1B:
      return "Esc";
    case 0x1C:
      return "Left";
    case 0x1D:
      return "Right";
    case 0x1E:
      return "Up";
    case 0x1F:
      return "Down";
    case 0x2A:
      return "Num *";
    case 0x2B:
      return "Num +";
    case 0x2C:
      return "Num ,";
    case 0x2D:
      return "Num -";
    case 0x2E:
      return "Num .";
    case 0x2F:
      return "Num /";
    default:
      return nullptr;
  }
}

}  // namespace

std::string KeystrokeText(KeystrokeCode code) {
  std::string text;
  if (code & kKeyCtrl) text += "Ctrl+";
  if (code & kKeyAlt) text += "Alt+";
  int low = code & 0xFF;
  if (code & kKeySpecial) {
    bool shifted = (low & kKeySpecialShifted) != 0;
    int number = low & ~kKeySpecialShifted;
    if (shifted) text += "Shift+";
    if (number >= 0x30 && number <= 0x39) {
      text += "Num ";
      text += static_cast<char>(number);
    } else if (number >= 0x80 && number <= 0x97) {
      text += "F" + std::to_string(number - 0x80 + 1);
    } else if (const char* name = SpecialKeyName(number)) {
      text += name;
    } else {
      text += "Key " + std::to_string(number);
    }
    return text;
  }
  if (low == 0x7F) return text + "Del";
  if (low == ' ') return text + "Space";
  if (low >= 'A' && low <= 'Z') {
    text += "Shift+";
    text += static_cast<char>(low);
  } else if (low >= 'a' && low <= 'z') {
    text += static_cast<char>(low - 'a' + 'A');
  } else if (low > ' ' && low < 0x7F) {
    text += static_cast<char>(low);
  } else {
    text += "Char " + std::to_string(low);
  }
  return text;
}

std::string AcceleratorTextFor(CommandCode command) {
  std::vector<KeystrokeCode> codes = CurrentKeystrokeTable().KeystrokesFor(command);
  if (codes.empty()) return "";
  // Rank: Ctrl without Alt first, then keys without any modifier, then the rest;
  // fewer modifiers before more, and the lower code on a tie.
  auto rank = [](KeystrokeCode code) {
    bool ctrl = code & kKeyCtrl;
    bool alt = code & kKeyAlt;
    int low = code & 0xFF;
    bool shift =
        (code & kKeySpecial) ? (low & kKeySpecialShifted) != 0 : (low >= 'A' && low <= 'Z');
    int group = (ctrl && !alt) ? 0 : (!ctrl && !alt && !shift) ? 1 : 2;
    return std::make_tuple(group, int(ctrl) + int(alt) + int(shift), code);
  };
  auto best = std::min_element(codes.begin(), codes.end(),
                               [&](KeystrokeCode a, KeystrokeCode b) { return rank(a) < rank(b); });
  return KeystrokeText(*best);
}

}  // namespace lemmabox
