// Failure frames, raises and internal errors.
#include "shell/failure.h"

#include <functional>
#include <vector>

#include "shell/messages.h"
#include "support/failure_helpers.h"
#include "support/headless_fixture.h"

namespace lemmabox {
namespace {

using FailureTest = testing::HeadlessTest;

TEST_F(FailureTest, ThirtyTwoFramesNestAndTheThirtyThirdFailsToTheInnermost) {
  ASSERT_EQ(FailureDepth(), 0);
  // What each frame received, by nesting level.
  std::vector<MessageNumber> received(40, -1);
  int deepestEntered = 0;
  std::function<void(int)> nest = [&](int level) {
    received[level] = CatchFailure([&] {
      deepestEntered = level;
      EXPECT_EQ(FailureDepth(), level);
      nest(level + 1);
    });
  };
  nest(1);
  EXPECT_EQ(deepestEntered, kMaxFailureFrames);
  EXPECT_EQ(received[kMaxFailureFrames], kMsgRunawayRecursion);
  for (int level = 1; level < kMaxFailureFrames; ++level) EXPECT_EQ(received[level], 0) << level;
  EXPECT_EQ(FailureDepth(), 0);
}

TEST_F(FailureTest, ARaiseArrivesAtItsFrameWithTheDepthAsBefore) {
  int changed = 0;
  MessageNumber outer = CatchFailure([&] {
    int before = FailureDepth();
    MessageNumber inner = CatchFailure([&] {
      CatchFailure([&] {
        changed = 1;  // work done before the raise stays done
        Raise(kMsgCorruptData);
      });
      // The innermost frame took the first failure; this one is raised anew.
      Raise(kMsgFileLocked);
    });
    EXPECT_EQ(inner, kMsgFileLocked);
    EXPECT_EQ(FailureDepth(), before);
  });
  EXPECT_EQ(outer, 0);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(FailureDepth(), 0);
}

TEST_F(FailureTest, RaisingZeroDeliversOne) {
  EXPECT_RAISES(1, Raise(0));
  EXPECT_RAISES(kMsgUserInterrupt, Raise(kMsgUserInterrupt));
}

TEST_F(FailureTest, RaiseAtObjectRecordsTheObjectUntilCleared) {
  Obj* master = nullptr;
  Handle object = &master;
  EXPECT_RAISES(kMsgCircularDefinition, RaiseAtObject(kMsgCircularDefinition, object));
  EXPECT_EQ(OffendingObject(), object);
  ClearOffendingObject();
  EXPECT_EQ(OffendingObject(), nullptr);
}

TEST_F(FailureTest, ARaiseWithNoFrameShowsItsAlertThenReportsStackUnderflow) {
  ASSERT_EQ(FailureDepth(), 0);
  EXPECT_INTERNAL_ERROR("Error Stack Underflow", Raise(kMsgCorruptData));
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text,
            "Sorry, the data has been corrupted; it cannot be reconstructed.");
  EXPECT_EQ(platform.boxes[0].caption, "Lemmabox");
}

TEST_F(FailureTest, AnInternalErrorKeepsItsNameVerbatim) {
  try {
    InternalError("pGr::line");
    FAIL() << "InternalError returned";
  } catch (const InternalFailure& failure) {
    EXPECT_STREQ(failure.name, "pGr::line");
  }
  EXPECT_TRUE(InternalErrorReported());
  EXPECT_STREQ(InternalErrorName(), "pGr::line");
  EXPECT_EQ(platform.beeps, 1);
  EXPECT_FALSE(platform.quitPosted);
  ClearInternalErrorFlag();
  EXPECT_FALSE(InternalErrorReported());
  EXPECT_STREQ(InternalErrorName(), "");
}

TEST_F(FailureTest, AFailureWhileAnInternalErrorIsReportedEndsTheProgram) {
  auto reportTwice = [&] {
    try {
      InternalError("DupObj");
    } catch (const InternalFailure&) {
      // Still reporting: a raise now only beeps three times and quits with its number.
      EXPECT_RAISES(kMsgCorruptData, Raise(kMsgCorruptData));
      EXPECT_EQ(platform.beeps, 1 + 3);
      EXPECT_TRUE(platform.quitPosted);
      EXPECT_EQ(platform.quitCode, kMsgCorruptData);
      // A second internal error quits with -1.
      InternalError("UnSimp");
    }
  };
  EXPECT_INTERNAL_ERROR("UnSimp", reportTwice());
  EXPECT_EQ(platform.beeps, 1 + 3 + 3);
  EXPECT_EQ(platform.quitCode, -1);
  EXPECT_TRUE(platform.boxes.empty());
}

}  // namespace
}  // namespace lemmabox
