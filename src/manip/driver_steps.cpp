// Recording derivation steps: the path buffer, the answer word of the
// "Big Expand?" question, and the replay of recorded answers.
#include <algorithm>

#include "manip/driver.h"
#include "manip/selection_paths.h"
#include "notebook/derivation.h"
#include "notebook/document.h"
#include "notebook/expression_writer.h"
#include "notebook/propositions.h"
#include "platform/platform.h"
#include "shell/charset.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

std::vector<int32_t> gPath;
int32_t gAnswerWord = kAnswerWordStart;

// Replayed answers: the stored word, read two bits at a time.
struct ReplayedAnswers {
  bool on = false;
  uint32_t word = 0;
  int given = 0;
  int last = kAnswerNo;
};
ReplayedAnswers gReplay;

// The next recorded answer. A step keeps at most seven; should the replay
// ask more often than that, the seventh answer stands for the rest.
int NextReplayedAnswer() {
  if (gReplay.given >= kMaxRecordedAnswers) return gReplay.last;
  int answer = static_cast<int>(gReplay.word & 3);
  gReplay.word >>= 2;
  ++gReplay.given;
  // Two bits can hold a 3, which no button gives: the safe answer.
  if (answer > kAnswerNumerically) answer = kAnswerNo;
  gReplay.last = answer;
  return answer;
}

BigExpandQuestion BigExpandTexts(Handle shown, int variant) {
  BigExpandQuestion question;
  question.caption = "Big Expand?";
  question.text =
      "Lemmabox is about to process this expression.  It may take a long time and/or grow to be "
      "very large.  Are you sure you want to do it?";
  if (shown != nullptr) question.expression = ProgramTextToUtf8(ExpressionScript(shown));
  question.yes = "Yes, go ahead";
  question.numerically = "do it Numerically";
  question.no = "No, not this time";
  question.dontAskAgain =
      "Don't Ask Again (Check here so that this answer will be used in all such future "
      "situations.)";
  question.variant = variant;
  return question;
}

}  // namespace

// --- The path buffer ---

void RememberPath(Handle prop, Handle obj, int32_t position) {
  Handle statement = StatementOf(prop);
  if (obj == prop) {
    AppendSelectionPath(gPath, statement, statement, kPosWhole);
  } else {
    AppendSelectionPath(gPath, statement, obj, position);
  }
}

void RememberWord(int32_t word) {
  gPath.push_back(word);
}

std::vector<int32_t> RememberedPath() {
  return gPath;
}

void RestoreRemember(const std::vector<int32_t>& saved) {
  if (!gPath.empty()) InternalError("RestoreRemember");
  gPath = saved;
}

void ClearRemembered() {
  gPath.clear();
}

void RecordStep(int32_t number, Handle prop) {
  if (prop != nullptr && ObjType(prop) == kConclusion) {
    const ManipulationSettings& settings = CurrentManipulationSettings();
    Handle step = NewDerivationStep(number, settings.autoSimplify, settings.autoCasing,
                                    FoldAnswerWord(gAnswerWord), gPath);
    AppendDerivationStep(prop, step);
  }
  gPath.clear();
  gAnswerWord = kAnswerWordStart;
}

// --- The answer word ---

int32_t AnswerWord() {
  return gAnswerWord;
}

void ResetAnswerWord() {
  gAnswerWord = kAnswerWordStart;
}

int32_t PackAnswer(int32_t word, int answer) {
  const auto w = static_cast<uint32_t>(word);
  // The marker has reached bit 0 (seven answers), or there is none.
  if ((w & 1) != 0 || (w & 0x7FFF) == 0) return word;
  return static_cast<int32_t>((w >> 2) | (static_cast<uint32_t>(answer & 3) << 13));
}

int32_t FoldAnswerWord(int32_t word) {
  auto w = static_cast<uint32_t>(word) & 0x7FFF;
  while (w != 0 && (w & 1) == 0) w >>= 2;
  return static_cast<int32_t>(w >> 1);
}

int AskBig(Handle shown, uint8_t& memory, int variant) {
  if (gReplay.on) return NextReplayedAnswer();
  int answer = memory;
  if (answer == kAnswerNo) {
    const BigExpandReply reply = CurrentPlatform().AskBigExpand(BigExpandTexts(shown, variant));
    answer = std::clamp(reply.answer, kAnswerNo, kAnswerNumerically);
    if (reply.dontAskAgain) memory = static_cast<uint8_t>(answer);
  }
  gAnswerWord = PackAnswer(gAnswerWord, answer);
  return answer;
}

// --- Replay ---

bool ReplayFlag() {
  return gReplay.on;
}

void SetReplayFlag(bool on) {
  gReplay.on = on;
}

void SetReplayAnswers(int32_t storedWord) {
  gReplay.word = static_cast<uint32_t>(storedWord);
  gReplay.given = 0;
  gReplay.last = kAnswerNo;
}

}  // namespace lemmabox
