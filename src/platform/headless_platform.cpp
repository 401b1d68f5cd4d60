#include "platform/headless_platform.h"

namespace lemmabox {

namespace {
HeadlessPlatform gDefaultPlatform;
Platform* gPlatform = &gDefaultPlatform;
}  // namespace

Platform& CurrentPlatform() { return *gPlatform; }
void SetCurrentPlatform(Platform* platform) { gPlatform = platform ? platform : &gDefaultPlatform; }

BoxAnswer HeadlessPlatform::ShowMessageBox(const MessageBoxRequest& request) {
  boxes.push_back(request);
  if (request.buttons == BoxButtons::kOk) return BoxAnswer::kOk;
  if (!answers.empty()) {
    BoxAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return request.buttons == BoxButtons::kYesNo ? BoxAnswer::kNo : BoxAnswer::kCancel;
}

uint64_t HeadlessPlatform::TickCount() {
  uint64_t t = now;
  now += autoAdvanceMs;
  return t;
}

PendingKey HeadlessPlatform::PeekKeyboardInput() {
  if (escapePresses > 0) {
    --escapePresses;
    return PendingKey::kEscapePress;
  }
  return otherKeyPending ? PendingKey::kOther : PendingKey::kNone;
}

std::vector<std::string> HeadlessPlatform::BoxTexts() const {
  std::vector<std::string> texts;
  for (const auto& box : boxes) texts.push_back(box.text);
  return texts;
}

}  // namespace lemmabox
