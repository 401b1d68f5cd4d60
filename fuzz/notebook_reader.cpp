// Reads arbitrary bytes as a notebook file, strictly and leniently. Every
// input must either open or raise a message, leave no notebook behind when
// it fails, and never report an internal error; a notebook that opens must
// be whole (every child knows its parent) and must write out again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/registration.h"
#include "files/file_reader.h"
#include "files/file_writer.h"
#include "mathobj/slots.h"
#include "notebook/document.h"
#include "platform/headless_platform.h"
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
  if (size > 16384) return 0;
  RegisterCore();
  HeadlessPlatform platform;
  SetCurrentPlatform(&platform);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (bool lenient : {false, true}) {
    const size_t open = OpenNotebooks().size();
    Handle notebook = nullptr;
    try {
      CatchFailure([&] { notebook = ReadNotebookBytes(bytes, NotebookReadOptions{lenient}); });
      if (notebook != nullptr) {
        if (!LinksAgree(notebook)) std::abort();
        NotebookText(notebook);
        CloseNotebook(notebook);
      }
    } catch (const InternalFailure&) {
      std::abort();
    }
    if (OpenNotebooks().size() != open) std::abort();
  }
  SetCurrentPlatform(nullptr);
  return 0;
}
