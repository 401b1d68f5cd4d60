#include "shell/interrupt.h"

#include <cstdint>

#include "platform/platform.h"
#include "shell/alerts.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

struct InterruptState {
  uint32_t calls = 0;  // since the last idle pass
  uint64_t start = 0;  // the tick of the first call
  bool interrupted = false;
  bool keySeen = false;
  bool cursorShown = false;
};

InterruptState gState;

[[noreturn]] void Interrupt() {
  gState.interrupted = true;
  Raise(kMsgUserInterrupt);
}

}  // namespace

void CheckInterrupt() {
  // A box or dialog runs its own modal loop, and the busy flag covers work
  // that must not be cut off half-way (start-up, mouse tracking).
  if (ModalIsUp() || BusyFlag()) return;
  Platform& platform = CurrentPlatform();
  uint32_t call = ++gState.calls;
  if (call == 1) {
    gState.start = platform.TickCount();
    gState.interrupted = false;
    gState.keySeen = false;
    return;
  }
  uint64_t now = platform.TickCount();
  if (now < gState.start) gState.start = now;  // a different clock was installed
  if (now - gState.start < kInterruptDelayMs) return;
  if (!gState.cursorShown) {
    platform.SetBusyCursor(true);
    gState.cursorShown = true;
  }
  if (gState.interrupted) {
    // The failure is unwinding; keep the desktop responsive meanwhile.
    if (call % 32 == 0) platform.ProcessPendingEvents();
    return;
  }
  // Looking at the event queue costs more than reading the key state, so it
  // is done on one call in sixteen; the physical key catches a press that has
  // not reached the queue yet.
  switch (call % 16) {
    case 1: {
      PendingKey key = platform.PeekKeyboardInput();
      if (key != PendingKey::kNone) gState.keySeen = true;
      if (key == PendingKey::kEscapePress) Interrupt();
      break;
    }
    case 2:
      break;
    default:
      if (platform.EscapeHeldDown()) Interrupt();
      break;
  }
}

void ResetInterruptCheck() {
  if (gState.cursorShown) CurrentPlatform().SetBusyCursor(false);
  gState.calls = 0;
  gState.cursorShown = false;
}

bool UserInterrupted() {
  return gState.interrupted;
}
bool InterruptKeySeen() {
  return gState.keySeen;
}

}  // namespace lemmabox
