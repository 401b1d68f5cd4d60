// Pastes arbitrary clipboard text into a notebook: it is classified, read as
// columns of numbers, converted for a matrix and typed in as a script. Every
// input must either paste or raise one of the editor's messages; the tree
// must stay sound and nothing may report an internal error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/registration.h"
#include "editor/clipboard.h"
#include "editor/selection_list.h"
#include "editor/table_data.h"
#include "editor/undo.h"
#include "mathobj/slots.h"
#include "notebook/document.h"
#include "platform/headless_platform.h"
#include "shell/command_codes.h"
#include "shell/commands.h"
#include "shell/failure.h"

namespace {

bool LinksAgree(lemmabox::Handle root) {
  using namespace lemmabox;
  for (int i = FirstObjSlot(root); i < ObjCount(root); ++i) {
    Handle child = ObjSlot(root, i);
    if (child == nullptr) continue;
    if (ObjParent(child) != root || ObjSlotIndex(child) != i || !LinksAgree(child)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lemmabox;
  if (size > 4096) return 0;
  RegisterCore();
  HeadlessPlatform platform;
  SetCurrentPlatform(&platform);
  const std::string text(reinterpret_cast<const char*>(data), size);
  ClassifyClipboardText(text);
  TabularTypingScript(text);
  ReadTableData(text, false);
  ReadTableData(text, true);

  Handle notebook = NewNotebook();
  NotebookView* view = OpenNotebookView(notebook);
  try {
    // Into a placeholder, over a name, and into a matrix.
    PerformCommandCode(TypeCharCommand('x'));
    platform.clipboard = text;
    PerformCommandCode(kCmdPaste);
    PerformCommandCode(kCmdNewAssumption);
    for (char c : std::string_view("?,?;?,?")) PerformCommandCode(TypeCharCommand(c));
    PerformCommandCode(kCmdSelectAll);
    PerformCommandCode(kCmdSelectIn);
    PerformCommandCode(kCmdPaste);
  } catch (const InternalFailure&) {
    std::abort();
  }
  if (!LinksAgree(notebook)) std::abort();
  StartUndoRecord(false);
  CloseNotebookView(view);
  CloseNotebook(notebook);
  SetCurrentPlatform(nullptr);
  return 0;
}
