// The platform for the command-line tool and the tests: no windows. Message
// boxes are recorded and answered from a script; the clipboard lives in
// memory; the clock and the keyboard are under the caller's control. To
// interrupt a computation in a test, queue an Escape press and let the clock
// run (autoAdvanceMs), since the interrupt check looks only after 350 ms.
#pragma once

#include <deque>
#include <optional>
#include <utility>

#include "platform/platform.h"

namespace lemmabox {

class HeadlessPlatform : public Platform {
 public:
  BoxAnswer ShowMessageBox(const MessageBoxRequest& request) override;
  void Beep() override { ++beeps; }
  uint64_t TickCount() override;
  PendingKey PeekKeyboardInput() override;
  bool EscapeHeldDown() override { return escapeHeld; }
  void ProcessPendingEvents() override { ++eventPasses; }
  void SetBusyCursor(bool busy) override { busyCursor = busy; }
  void PostQuit(int exitCode) override {
    quitPosted = true;
    quitCode = exitCode;
  }
  std::string ClipboardText() override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  int AskNameClass(const NameClassQuestion& question) override;
  int ChooseFromList(const std::string& prompt, const std::vector<std::string>& items,
                     int perPage) override;
  bool AskInsertIndex(InsertIndexSettings& settings) override;
  BigExpandReply AskBigExpand(const BigExpandQuestion& question) override;
  bool AltKeyDown() override { return altDown; }
  bool ControlKeyDown() override { return controlDown; }
  std::string ChooseFile(const FileChooserRequest& request) override;
  std::optional<ColorChoice> AskColor(const std::string& prompt, ColorChoice initial) override;
  std::optional<FontChoice> AskCommentFont(const FontChoice& initial) override;

  // Every box shown, in order.
  std::vector<MessageBoxRequest> boxes;
  // Answers for the next boxes that ask a question; when empty, a question box
  // is answered with its default: Cancel for Ok/Cancel and Yes/No/Cancel, No
  // for Yes/No. An Ok box is always answered Ok.
  std::deque<BoxAnswer> answers;
  // When set, the clock advances by this many milliseconds at every reading.
  uint64_t autoAdvanceMs = 0;
  uint64_t now = 0;
  // Escape presses waiting for the program. A peek reports the first one and
  // takes it, as the desktop's loop would deliver it right after the
  // computation it cancels has unwound.
  int escapePresses = 0;
  // Another key press waits behind the Escape presses (never taken).
  bool otherKeyPending = false;
  // Escape is held down without its press having been delivered.
  bool escapeHeld = false;
  // How often the platform was let process pending events.
  int eventPasses = 0;
  int beeps = 0;
  bool busyCursor = false;
  bool quitPosted = false;
  int quitCode = 0;
  std::string clipboard;
  // Every Declare Name question asked, in order, and the answers for the next
  // ones (a class 1..5, or 0 to cancel); when none is left, a question is
  // answered with its default class, as the command-line tool declares names
  // on the fly.
  std::vector<NameClassQuestion> nameQuestions;
  std::deque<int> nameAnswers;
  // Every list offered for a choice, and the answers for the next ones (an
  // index, or -1 to cancel); when none is left, the first item is chosen.
  std::vector<std::vector<std::string>> listsOffered;
  std::deque<int> listAnswers;

  // Every "Insert Index" dialog shown (the settings it opened with), and the
  // answers for the next ones (nullopt to cancel); when none is left, the
  // dialog is confirmed as it opened.
  std::vector<InsertIndexSettings> insertIndexAsked;
  std::deque<std::optional<InsertIndexSettings>> insertIndexAnswers;

  // Every "Big Expand?" question asked, and the replies for the next ones;
  // when none is left the answer is "Yes, go ahead", so that the
  // command-line tool does what it was asked.
  std::vector<BigExpandQuestion> bigExpandAsked;
  std::deque<BigExpandReply> bigExpandReplies;
  // The Alt key is held down.
  bool altDown = false;
  // The Control key is held down.
  bool controlDown = false;

  // Every file chooser shown, and the paths for the next ones ("" to
  // cancel); when none is left, the chooser is cancelled.
  std::vector<FileChooserRequest> fileChoosers;
  std::deque<std::string> fileAnswers;

  // Every colour chooser shown (its prompt and the colour it opened at), and
  // the answers for the next ones (nullopt to cancel); when none is left, the
  // chooser is cancelled.
  std::vector<std::pair<std::string, ColorChoice>> colorsAsked;
  std::deque<std::optional<ColorChoice>> colorAnswers;
  // Every Comment Font dialog shown (the font it opened at), and the answers
  // for the next ones (nullopt to cancel); when none is left, it is cancelled.
  std::vector<FontChoice> fontsAsked;
  std::deque<std::optional<FontChoice>> fontAnswers;

  // The texts of the boxes shown so far, for assertions.
  std::vector<std::string> BoxTexts() const;
};

}  // namespace lemmabox
