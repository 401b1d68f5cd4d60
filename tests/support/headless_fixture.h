// A test fixture that gives every test a fresh headless platform and a
// registered core.
#pragma once

#include <gtest/gtest.h>

#include "platform/headless_platform.h"

namespace lemmabox::testing {

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  HeadlessPlatform platform;
};

}  // namespace lemmabox::testing
