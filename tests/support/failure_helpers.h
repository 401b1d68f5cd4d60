// Assertions on failures and internal errors.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "shell/failure.h"

namespace lemmabox::testing {

// Runs work in a failure frame and returns the message number it raised
// (0 when it completed).
template <class Work>
MessageNumber RaisedBy(Work&& work) {
  return CatchFailure(std::forward<Work>(work));
}

// Runs work and returns the name of the internal error it reported ("" when
// none), clearing the internal-error flag afterwards.
template <class Work>
std::string InternalErrorOf(Work&& work) {
  std::string name;
  try {
    std::forward<Work>(work)();
  } catch (const InternalFailure& failure) {
    name = failure.name;
  }
  ClearInternalErrorFlag();
  return name;
}

}  // namespace lemmabox::testing

#define EXPECT_RAISES(message, statement) \
  EXPECT_EQ((message), ::lemmabox::testing::RaisedBy([&] { statement; }))
#define EXPECT_INTERNAL_ERROR(name, statement) \
  EXPECT_EQ(std::string(name), ::lemmabox::testing::InternalErrorOf([&] { statement; }))
