#include "notebook/notebook_hooks.h"

namespace lemmabox {
namespace {

void Nothing(Handle) {}
void NothingAt(Handle, int) {}
std::string NoText(Handle) {
  return {};
}
bool Yes(Handle) {
  return true;
}
bool NoWork(Handle) {
  return false;
}
Handle NoList(Handle) {
  return nullptr;
}

constexpr NotebookDisplayHooks kDisplayDefaults = {
    .redraw = &Nothing,
    .relayoutRows = &Nothing,
    .selectOnly = &Nothing,
    .selectAlso = &Nothing,
    .measureDeclaration = &Nothing,
    .describe = &NoText,
    .confirmLock = &Yes,
};

constexpr NotebookChangeObserver kObserverDefaults = {
    .inserted = &Nothing,
    .deleting = &Nothing,
    .savingSlot = &NothingAt,
};

constexpr NotebookCascadeHooks kCascadeDefaults = {
    .markDependents = &Nothing,
    .idleStep = &NoWork,
    .graphContingencies = &NoList,
};

}  // namespace

NotebookDisplayHooks gNotebookDisplay = kDisplayDefaults;
NotebookChangeObserver gNotebookObserver = kObserverDefaults;
NotebookCascadeHooks gNotebookCascade = kCascadeDefaults;

void ResetNotebookHooks() {
  gNotebookDisplay = kDisplayDefaults;
  gNotebookObserver = kObserverDefaults;
  gNotebookCascade = kCascadeDefaults;
}

}  // namespace lemmabox
