// The fixture of the object store's tests: a fresh headless platform, the
// store's hooks at their defaults, the interrupt check at rest.
#pragma once

#include "mathobj/encode.h"
#include "mathobj/hooks.h"
#include "shell/interrupt.h"
#include "support/headless_fixture.h"
#include "tree_text.h"

namespace lemmabox::testing {

class MathObjTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetObjStoreHooks();
    ResetEncodeHooks();
    ResetInterruptCheck();
    SetAutoDeclare(true);
  }
  void TearDown() override {
    ResetObjStoreHooks();
    ResetEncodeHooks();
    ResetInterruptCheck();
    HeadlessTest::TearDown();
  }
};

}  // namespace lemmabox::testing
