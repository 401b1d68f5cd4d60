// A fixture for the keyboard and command routing tests: every test starts with
// freshly built menus, the shipped keystroke table, no registered actions and
// no hooks, and records what reaches the editor and the action handlers.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless_platform.h"
#include "shell/alerts.h"
#include "shell/commands.h"
#include "shell/keyboard_map.h"
#include "shell/keystroke_table.h"
#include "shell/menus.h"
#include "support/headless_fixture.h"

namespace lemmabox::testing {

inline void ResetRouting() {
  BuildMenus();
  for (int i = 0; i < static_cast<int>(CommandAction::kCount); ++i) {
    UnregisterCommand(static_cast<CommandAction>(i));
  }
  SetEditorCommandHook(nullptr);
  SetFrontNotebookPrefs(nullptr);
  SetMenuObserver(nullptr);
  SetBringWindowToFront(nullptr);
  SetFrontKeyHandler(nullptr);
  SetFrontDoubleByteHandler(nullptr);
  SetLeadBytePredicate(nullptr);
  SetKeyScan(nullptr);
  ResetKeyboardInput();
  SetCurrentModifiers({});
  CurrentKeystrokeTable() = ShippedKeystrokeTable();
}

// The text the alert of a message number shows, whatever the string table holds.
inline std::string AlertTextOf(MessageNumber n) {
  HeadlessPlatform probe;
  Platform& previous = CurrentPlatform();
  SetCurrentPlatform(&probe);
  Alert(n);
  SetCurrentPlatform(&previous);
  return probe.boxes.empty() ? std::string() : probe.boxes.front().text;
}

// The front notebook's preferences, held in plain fields.
class FakePrefs : public FrontNotebookPrefs {
 public:
  bool HasFrontNotebook() override { return hasNotebook; }
  bool Toggle(NotebookToggle which) override { return toggles[which]; }
  void SetToggle(NotebookToggle which, bool on) override { toggles[which] = on; }
  int DisplayPrecision() override { return precision; }
  void SetDisplayPrecision(int digits) override { precision = digits; }
  int IconMode() override { return iconMode; }
  void SetIconMode(int mode) override { iconMode = mode; }
  EnterKeyCommands EnterKeys() override { return enterKeys; }
  void MarkChanged() override { ++changes; }

  bool hasNotebook = true;
  std::map<NotebookToggle, bool> toggles;
  int precision = 6;
  int iconMode = 3;
  EnterKeyCommands enterKeys;
  int changes = 0;
};

class RoutingTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetRouting();
    SetEditorCommandHook([this](CommandCode code) { editorCodes.push_back(code); });
  }
  void TearDown() override {
    ResetRouting();
    HeadlessTest::TearDown();
  }

  // Registers a handler on every action that records the action and parameter.
  void RecordEveryAction() {
    for (int i = 0; i < static_cast<int>(CommandAction::kCount); ++i) {
      auto action = static_cast<CommandAction>(i);
      if (action == CommandAction::kNone || action == CommandAction::kPerformCode ||
          action == CommandAction::kToggle || action == CommandAction::kSetDisplayPrecision ||
          action == CommandAction::kSetIconMode) {
        continue;
      }
      RegisterCommand(action,
                      [this, action](int32_t param) { actions.emplace_back(action, param); });
    }
  }

  std::vector<CommandCode> editorCodes;
  std::vector<std::pair<CommandAction, int32_t>> actions;
};

}  // namespace lemmabox::testing
