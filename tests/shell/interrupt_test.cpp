// The interrupt check and the stack depth check.
#include "shell/interrupt.h"

#include "shell/alerts.h"
#include "shell/messages.h"
#include "shell/stack_check.h"
#include "support/failure_helpers.h"
#include "support/headless_fixture.h"

namespace lemmabox {
namespace {

class InterruptTest : public testing::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetInterruptCheck();
  }
  void TearDown() override {
    ResetInterruptCheck();
    SetModalOwner(nullptr);
    SetBusyFlag(false);
    HeadlessTest::TearDown();
  }

  // Calls the check up to `calls` times; returns the number of the call that
  // raised 13120, or 0 when none did.
  int CallsUntilInterrupt(int calls) {
    int made = 0;
    MessageNumber raised = testing::RaisedBy([&] {
      while (made < calls) {
        ++made;
        CheckInterrupt();
      }
    });
    if (raised == 0) return 0;
    EXPECT_EQ(raised, kMsgUserInterrupt);
    return made;
  }
};

TEST_F(InterruptTest, LooksAtTheKeyboardOnlyAfter350Milliseconds) {
  platform.escapePresses = 1;
  platform.escapeHeld = true;
  CheckInterrupt();  // the first call notes the time
  platform.now = kInterruptDelayMs - 1;
  EXPECT_EQ(CallsUntilInterrupt(100), 0);
  EXPECT_FALSE(platform.busyCursor);
  EXPECT_EQ(platform.escapePresses, 1);
}

TEST_F(InterruptTest, APendingEscapePressIsSeenOnEverySixteenthCall) {
  platform.escapePresses = 1;
  platform.now = 1000;
  CheckInterrupt();
  platform.now = 1000 + kInterruptDelayMs;
  // Calls 2..16 do not look at the queue; call 17 does.
  EXPECT_EQ(CallsUntilInterrupt(100), 16);
  EXPECT_TRUE(platform.busyCursor);
  EXPECT_TRUE(UserInterrupted());
  EXPECT_TRUE(InterruptKeySeen());
}

TEST_F(InterruptTest, EscapeHeldDownIsSeenOnTheOtherCalls) {
  platform.escapeHeld = true;
  CheckInterrupt();
  platform.now = kInterruptDelayMs;
  // Call 2 does nothing more; call 3 reads the key.
  EXPECT_EQ(CallsUntilInterrupt(100), 2);
  EXPECT_FALSE(InterruptKeySeen());
}

TEST_F(InterruptTest, OtherKeysAreNotedButDoNotInterrupt) {
  platform.otherKeyPending = true;
  CheckInterrupt();
  platform.now = kInterruptDelayMs;
  EXPECT_EQ(CallsUntilInterrupt(200), 0);
  EXPECT_TRUE(InterruptKeySeen());
  EXPECT_FALSE(UserInterrupted());
}

TEST_F(InterruptTest, InterruptsOnceThenOnlyKeepsTheDesktopResponsive) {
  platform.escapeHeld = true;
  platform.autoAdvanceMs = 100;
  EXPECT_EQ(CallsUntilInterrupt(100), 5);  // 350 ms pass during calls 2..5; call 5 reads the key
  int passes = platform.eventPasses;
  EXPECT_EQ(CallsUntilInterrupt(64), 0);
  // Calls 6..69: 32 and 64 let the desktop process its events.
  EXPECT_EQ(platform.eventPasses, passes + 2);

  // The idle pass ends the computation: the cursor comes down and timing starts afresh.
  ResetInterruptCheck();
  EXPECT_FALSE(platform.busyCursor);
  EXPECT_EQ(CallsUntilInterrupt(100), 5);
}

TEST_F(InterruptTest, DoesNothingWhileABoxOrTheBusyFlagIsUp) {
  platform.escapeHeld = true;
  platform.autoAdvanceMs = 1000;
  int dialog = 0;
  SetModalOwner(&dialog);
  EXPECT_EQ(CallsUntilInterrupt(50), 0);
  SetModalOwner(nullptr);
  SetBusyFlag(true);
  EXPECT_EQ(CallsUntilInterrupt(50), 0);
  SetBusyFlag(false);
  EXPECT_FALSE(platform.busyCursor);
  // Those calls did not count: the next one is the first of the computation.
  EXPECT_EQ(CallsUntilInterrupt(50), 3);
}

// Recurses with a sizeable frame until the check answers true; returns the
// depth reached then (or `limit`). Reading the frame after the call keeps the
// compiler from turning the recursion into a loop.
[[gnu::noinline]] int DepthUntilTooDeep(int depth, int limit) {
  volatile char frame[1024];
  frame[0] = 0;
  if (depth >= limit || StackTooDeep()) return depth;
  int reached = DepthUntilTooDeep(depth + 1, limit);
  return reached + frame[0];
}

TEST(StackCheck, AnswersOnlyWhenTheStackGrewByMoreThanTheLimit) {
  RecordStackBase();
  EXPECT_FALSE(StackTooDeep());
  EXPECT_EQ(DepthUntilTooDeep(0, 10), 10);  // some 10 kB deep: fine
  int depth = DepthUntilTooDeep(0, 5000);
  EXPECT_LT(depth, 5000);                         // some 5 MB deep: caught
  EXPECT_GT(depth, 50);                           // not before 50 kB
  EXPECT_LE(depth, kStackDepthLimit / 1024 + 1);  // each level takes a kilobyte at least
  EXPECT_FALSE(StackTooDeep());
}

}  // namespace
}  // namespace lemmabox
