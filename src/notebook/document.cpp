#include "notebook/document.h"

#include <algorithm>

#include "mathobj/dup_dispose.h"
#include "notebook/declaration_pass.h"
#include "notebook/knowledge.h"
#include "notebook/notebook_hooks.h"
#include "notebook/propositions.h"
#include "shell/commands.h"

namespace lemmabox {
namespace {

std::vector<Handle>& Open() {
  static std::vector<Handle> open;
  return open;
}

Handle gCurrent = nullptr;
ManipulationSettings gSettings;

uint8_t* ToggleByte(NotebookRecord& record, NotebookToggle which) {
  NotebookPrefs& prefs = record.prefs;
  switch (which) {
    case NotebookToggle::kAutoSave:
      return &prefs.autoSave;
    case NotebookToggle::kFortranish:
      return &prefs.fortranish;
    case NotebookToggle::kPaletteAutoToggle:
      return &prefs.paletteAutoToggle;
    case NotebookToggle::kRippleChangesImmediately:
      return &prefs.rippleChangesImmediately;
    case NotebookToggle::kGuessWorkingStmts:
      return &prefs.guessWorkingStmts;
    case NotebookToggle::kShowSteps:
      return &prefs.showSteps;
    case NotebookToggle::kAlwaysReManipulate:
      return &prefs.alwaysReManipulate;
    case NotebookToggle::kAutoSimplify:
      return &prefs.autoSimplify;
    case NotebookToggle::kAutoCasing:
      return &prefs.autoCasing;
    case NotebookToggle::kAutoCollapsar:
      return &record.style.autoCollapse;
    case NotebookToggle::kAlwaysRedraw:
      return &prefs.alwaysRedraw;
    case NotebookToggle::kWithBlankSlots:
      return &prefs.withBlankSlots;
  }
  return nullptr;
}

// The menus' view of the current notebook's preferences.
class CurrentNotebookPrefs : public FrontNotebookPrefs {
 public:
  bool HasFrontNotebook() override { return gCurrent != nullptr; }
  bool Toggle(NotebookToggle which) override {
    uint8_t* byte = ToggleByte(Record(), which);
    return byte != nullptr && *byte != 0;
  }
  void SetToggle(NotebookToggle which, bool on) override {
    if (uint8_t* byte = ToggleByte(Record(), which)) *byte = on ? 1 : 0;
    if (which == NotebookToggle::kAutoSimplify || which == NotebookToggle::kAutoCasing)
      MirrorManipulationSettings(gCurrent);
    if (which == NotebookToggle::kShowSteps || which == NotebookToggle::kAutoCollapsar)
      gNotebookDisplay.relayoutRows(gCurrent);
  }
  int DisplayPrecision() override { return Record().style.significantDigits; }
  void SetDisplayPrecision(int digits) override {
    Record().style.significantDigits = digits;
    gNotebookDisplay.relayoutRows(gCurrent);
  }
  int IconMode() override { return Record().style.iconMode; }
  void SetIconMode(int mode) override {
    Record().style.iconMode = mode;
    gNotebookDisplay.relayoutRows(gCurrent);
  }
  EnterKeyCommands EnterKeys() override { return Record().prefs.enterKeys; }
  void MarkChanged() override { MarkNotebookChanged(gCurrent); }

 private:
  static NotebookRecord& Record() { return NotebookRecordOf(gCurrent); }
};

CurrentNotebookPrefs gFrontPrefs;

}  // namespace

Handle NewNotebook() {
  Handle main = NewMainTheory();
  Open().push_back(main);
  if (gCurrent == nullptr) SetCurrentNotebook(main);
  return main;
}

void CloseNotebook(Handle mainTheory) {
  if (mainTheory == nullptr) return;
  DisposeObj(mainTheory);
}

const std::vector<Handle>& OpenNotebooks() {
  return Open();
}

Handle CurrentNotebook() {
  return gCurrent;
}

void SetCurrentNotebook(Handle mainTheory) {
  gCurrent = mainTheory;
  if (mainTheory != nullptr) MirrorManipulationSettings(mainTheory);
}

Handle CurrentScope() {
  if (Handle scope = LookupScope()) return scope;
  if (gCurrent != nullptr) return gCurrent;
  return Open().empty() ? nullptr : Open().front();
}

ManipulationSettings& CurrentManipulationSettings() {
  return gSettings;
}

void MirrorManipulationSettings(Handle mainTheory) {
  if (mainTheory == nullptr || mainTheory != gCurrent) return;
  const NotebookPrefs& prefs = NotebookRecordOf(mainTheory).prefs;
  gSettings.autoSimplify = prefs.autoSimplify != 0;
  gSettings.autoCasing = prefs.autoCasing != 0;
}

void MarkNotebookChanged(Handle mainTheory) {
  if (mainTheory != nullptr) NotebookRecordOf(mainTheory).changed = 1;
}

bool NotebookIdle(Handle mainTheory) {
  if (mainTheory == nullptr) return false;
  PendingEditsPass(mainTheory);
  return gNotebookCascade.idleStep(mainTheory);
}

void InstallFrontNotebookPrefs() {
  SetFrontNotebookPrefs(&gFrontPrefs);
}

void TheoryGoesAway(Handle theory) {
  if (theory == nullptr) return;
  if (theory == LookupScope()) ClearLookupScope();
  TypeCode type = ObjType(theory);
  if (!IsTheoryType(type) || ObjCount(theory) < 1) return;
  Handle& table = KnowledgeTableOf(theory);
  FreeKnowledgeTable(table);
  table = nullptr;
  if (type != 'M') return;
  if (theory == gCurrent) gCurrent = nullptr;
  std::erase(Open(), theory);
  ReleaseNotebookRecord(theory);
}

}  // namespace lemmabox
