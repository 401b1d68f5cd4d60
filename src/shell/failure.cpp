#include "shell/failure.h"

#include <cstring>

#include "shell/alerts.h"
#include "shell/messages.h"
#include "platform/platform.h"

namespace lemmabox {
namespace {

int gDepth = 0;
bool gInternalErrorFlag = false;
char gInternalErrorName[256] = {};
Handle gOffendingObject = nullptr;

void BeepTimes(int n) {
  for (int i = 0; i < n; ++i) CurrentPlatform().Beep();
}

}  // namespace

FailureFrame::FailureFrame() {
  if (gDepth >= kMaxFailureFrames) Raise(kMsgRunawayRecursion);
  ++gDepth;
  entered_ = true;
}

FailureFrame::~FailureFrame() { Release(); }

void FailureFrame::Release() {
  if (!entered_) return;
  entered_ = false;
  --gDepth;
}

int FailureDepth() { return gDepth; }

void Raise(MessageNumber n) {
  if (n == 0) n = 1;
  if (gInternalErrorFlag) {
    // The program is already ending after an internal error.
    BeepTimes(3);
    CurrentPlatform().PostQuit(n);
    throw Failure{n};
  }
  if (gDepth <= 0) {
    Alert(n);
    gInternalErrorFlag = false;
    InternalError("Error Stack Underflow");
  }
  throw Failure{n};
}

void RaiseAtObject(MessageNumber n, Handle obj) {
  gOffendingObject = obj;
  Raise(n);
}

Handle OffendingObject() { return gOffendingObject; }
void ClearOffendingObject() { gOffendingObject = nullptr; }

void InternalError(const char* name) {
  if (gInternalErrorFlag) {
    BeepTimes(3);
    CurrentPlatform().PostQuit(-1);
    throw InternalFailure{name};
  }
  gInternalErrorFlag = true;
  std::strncpy(gInternalErrorName, name, sizeof gInternalErrorName - 1);
  BeepTimes(1);
  throw InternalFailure{name};
}

bool InternalErrorReported() { return gInternalErrorFlag; }
void ClearInternalErrorFlag() {
  gInternalErrorFlag = false;
  gInternalErrorName[0] = '\0';
}
const char* InternalErrorName() { return gInternalErrorName; }

}  // namespace lemmabox
