// Failures and internal errors.
//
// A routine that cannot go on raises a message number; the innermost failure
// frame receives it, shows the alert and carries on. Frames are C++
// exceptions underneath: Raise throws Failure, and a frame is entered with
// CatchFailure (or a FailureFrame guard around a try block). At most 32
// frames may be nested; entering a 33rd raises 13130 to the innermost one.
//
// An internal error reports a state that must never occur. It throws
// InternalFailure; the desktop catches it at the top, shows "Assertion
// Failure", lets the notebooks be saved and exits with -13. Tests catch it.
#pragma once

#include <cstdint>
#include <utility>

#include "shell/types.h"

namespace lemmabox {

constexpr int kMaxFailureFrames = 32;

struct Failure {
  MessageNumber message;
};

struct InternalFailure {
  const char* name;
};

// Raise a failure; a message number of 0 arrives as 1. With no frame in use
// the alert is shown and the internal error "Error Stack Underflow" follows.
[[noreturn]] void Raise(MessageNumber n);
// Records the offending object (for displays that show it in place), then raises.
[[noreturn]] void RaiseAtObject(MessageNumber n, Handle obj);
[[noreturn]] void InternalError(const char* name);

// The offending object of the last RaiseAtObject; cleared by whoever consumed it.
Handle OffendingObject();
void ClearOffendingObject();

bool InternalErrorReported();
void ClearInternalErrorFlag();
// The name of the internal error being reported (empty when none).
const char* InternalErrorName();

int FailureDepth();

// Guard for one failure frame. Construction enters the frame (raising 13130
// to the enclosing frame when 32 are in use); destruction leaves it, whether
// the scope ends normally or a failure unwinds through it.
class FailureFrame {
 public:
  FailureFrame();
  ~FailureFrame();
  FailureFrame(const FailureFrame&) = delete;
  FailureFrame& operator=(const FailureFrame&) = delete;
  // Leaves the frame early; the destructor then does nothing.
  void Release();

 private:
  bool entered_ = false;
};

// Runs work inside its own failure frame. Returns 0 when it completed, or the
// message number that a failure delivered to this frame. Internal errors pass
// through.
template <class Work>
MessageNumber CatchFailure(Work&& work) {
  FailureFrame frame;
  try {
    std::forward<Work>(work)();
  } catch (const Failure& failure) {
    frame.Release();
    return failure.message;
  }
  return 0;
}

}  // namespace lemmabox
