#include "shell/stack_check.h"

#include <cstdint>

namespace lemmabox {
namespace {

uintptr_t gStackBase = 0;

// The address of a frame is on the real stack, which the address of a local
// variable is not always (sanitizers may move locals to the heap).
[[gnu::noinline]] uintptr_t StackPosition() {
  return reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
}

}  // namespace

void RecordStackBase() {
  gStackBase = StackPosition();
}

bool StackTooDeep() {
  uintptr_t here = StackPosition();
  if (gStackBase == 0) gStackBase = here;
  // The stack grows downward; a position above the base (a walker called from
  // a shallower frame than the one that recorded it) is not deep at all.
  return here < gStackBase && gStackBase - here > static_cast<uintptr_t>(kStackDepthLimit);
}

}  // namespace lemmabox
