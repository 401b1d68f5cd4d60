#include "platform/headless_platform.h"

namespace lemmabox {

namespace {
HeadlessPlatform gDefaultPlatform;
Platform* gPlatform = &gDefaultPlatform;
}  // namespace

Platform& CurrentPlatform() {
  return *gPlatform;
}
void SetCurrentPlatform(Platform* platform) {
  gPlatform = platform ? platform : &gDefaultPlatform;
}

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

int HeadlessPlatform::AskNameClass(const NameClassQuestion& question) {
  nameQuestions.push_back(question);
  if (nameAnswers.empty()) return question.defaultClass;
  int answer = nameAnswers.front();
  nameAnswers.pop_front();
  return answer;
}

int HeadlessPlatform::ChooseFromList(const std::string&, const std::vector<std::string>& items,
                                     int) {
  listsOffered.push_back(items);
  if (listAnswers.empty()) return items.empty() ? -1 : 0;
  int answer = listAnswers.front();
  listAnswers.pop_front();
  return answer;
}

bool HeadlessPlatform::AskInsertIndex(InsertIndexSettings& settings) {
  insertIndexAsked.push_back(settings);
  if (insertIndexAnswers.empty()) return true;
  std::optional<InsertIndexSettings> answer = insertIndexAnswers.front();
  insertIndexAnswers.pop_front();
  if (!answer) return false;
  settings = *answer;
  return true;
}

BigExpandReply HeadlessPlatform::AskBigExpand(const BigExpandQuestion& question) {
  bigExpandAsked.push_back(question);
  if (bigExpandReplies.empty()) return {1, false};
  BigExpandReply reply = bigExpandReplies.front();
  bigExpandReplies.pop_front();
  return reply;
}

std::string HeadlessPlatform::ChooseFile(const FileChooserRequest& request) {
  fileChoosers.push_back(request);
  if (fileAnswers.empty()) return {};
  std::string answer = fileAnswers.front();
  fileAnswers.pop_front();
  return answer;
}

std::vector<std::string> HeadlessPlatform::BoxTexts() const {
  std::vector<std::string> texts;
  for (const auto& box : boxes) texts.push_back(box.text);
  return texts;
}

std::optional<ColorChoice> HeadlessPlatform::AskColor(const std::string& prompt,
                                                      ColorChoice initial) {
  colorsAsked.emplace_back(prompt, initial);
  if (colorAnswers.empty()) return std::nullopt;
  std::optional<ColorChoice> answer = colorAnswers.front();
  colorAnswers.pop_front();
  return answer;
}

std::optional<FontChoice> HeadlessPlatform::AskCommentFont(const FontChoice& initial) {
  fontsAsked.push_back(initial);
  if (fontAnswers.empty()) return std::nullopt;
  std::optional<FontChoice> answer = fontAnswers.front();
  fontAnswers.pop_front();
  return answer;
}

}  // namespace lemmabox
