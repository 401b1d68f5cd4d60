// The keystroke table: from a keystroke code to the command it performs.
//
// 2048 entries indexed by the 11-bit keystroke code; 0 means the key has no
// command and is left to the desktop. The program ships one table; the four
// entries of Return, keypad Enter and their shifted forms follow the front
// notebook's Enter-key preferences.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "shell/command_codes.h"

namespace lemmabox {

constexpr int kKeystrokeTableSize = 2048;

// The keystroke codes of the keys that the Enter-key preferences rebind.
constexpr KeystrokeCode kKeystrokeReturn = 0x10D;
constexpr KeystrokeCode kKeystrokeEnter = 0x103;  // keypad Enter
constexpr KeystrokeCode kKeystrokeShiftReturn = 0x14D;
constexpr KeystrokeCode kKeystrokeShiftEnter = 0x143;

// What Return, keypad Enter, Shift+Return and Shift+Enter do in a notebook.
struct EnterKeyCommands {
  CommandCode returnKey = kCmdNewAssumption;
  CommandCode enterKey = kCmdNewComment;
  CommandCode shiftReturn = kCmdNewAssumption;
  CommandCode shiftEnter = kCmdNewComment;
  friend bool operator==(const EnterKeyCommands&, const EnterKeyCommands&) = default;
};

class KeystrokeTable {
 public:
  // The command for a keystroke code; 0 for none and for codes out of range.
  CommandCode Command(KeystrokeCode code) const {
    return code < kKeystrokeTableSize ? entries_[code] : 0;
  }
  void Set(KeystrokeCode code, CommandCode command);
  void ApplyEnterKeys(const EnterKeyCommands& keys);
  // Every keystroke code bound to a command, lowest first.
  std::vector<KeystrokeCode> KeystrokesFor(CommandCode command) const;

 private:
  std::array<CommandCode, kKeystrokeTableSize> entries_{};
};

// The table as the program ships it.
KeystrokeTable ShippedKeystrokeTable();

// The process-wide table, the shipped one until changed.
KeystrokeTable& CurrentKeystrokeTable();
// Rebinds the four Enter entries of the process-wide table (called whenever the
// menus are refreshed from the front notebook).
void ApplyEnterKeyCommands(const EnterKeyCommands& keys);

// How a keystroke reads in a menu: "Ctrl+Shift+B", "F5", "Alt+F4", "PgUp", "Del".
std::string KeystrokeText(KeystrokeCode code);
// The keystroke to show beside a menu item that performs this command: a Ctrl
// combination when there is one, else a plain key, else the first other
// binding; "" when no key performs it.
std::string AcceleratorTextFor(CommandCode command);

}  // namespace lemmabox
