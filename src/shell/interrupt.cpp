// Placeholder until the interrupt check lands: polls the platform only.
#include "shell/interrupt.h"

#include "platform/platform.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {

void CheckInterrupt() {
  if (CurrentPlatform().EscapePressed()) Raise(kMsgUserInterrupt);
}

void ResetInterruptCheck() {}

}  // namespace lemmabox
