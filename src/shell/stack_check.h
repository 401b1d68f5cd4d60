// The stack depth check of recursive walkers.
//
// A walker that may follow a circular definition (a name defined in terms of
// itself, through any number of steps) calls StackTooDeep() as it descends;
// when it answers true, the walker raises 13174 at the offending object or
// stops its walk, long before the real stack runs out.
#pragma once

#include <cstddef>

namespace lemmabox {

// How far the stack may grow below the base recorded at start-up. The budget
// is set for 64-bit frames, well inside the 8 MB main-thread stack; builds
// with AddressSanitizer get four times as much, since its frames are larger.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::ptrdiff_t kStackDepthLimit = 4 * 1000000;
#else
constexpr std::ptrdiff_t kStackDepthLimit = 1000000;
#endif

// Records the current stack position as the base (start-up, before any
// walker runs). A walker that runs before any base was recorded records its
// own position as the base.
void RecordStackBase();

// True when the stack has grown by more than kStackDepthLimit bytes below the
// recorded base.
bool StackTooDeep();

}  // namespace lemmabox
