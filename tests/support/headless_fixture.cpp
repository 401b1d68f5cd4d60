#include "support/headless_fixture.h"

#include "core/registration.h"
#include "shell/failure.h"
#include "shell/interrupt.h"

namespace lemmabox::testing {

void HeadlessTest::SetUp() {
  RegisterCore();
  SetCurrentPlatform(&platform);
  ResetInterruptCheck();
}

void HeadlessTest::TearDown() {
  SetCurrentPlatform(nullptr);
  ClearInternalErrorFlag();
  ClearOffendingObject();
}

}  // namespace lemmabox::testing
