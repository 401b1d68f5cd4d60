// Every entry from the event loop into the program runs through RunEntry:
// inside its own failure frame, so that a failure anywhere below shows its
// alert and the loop goes on, and with internal errors caught here, before
// they could unwind through Qt, and reported by the desktop.
#pragma once

#include <utility>

#include "shell/alerts.h"
#include "shell/failure.h"

namespace lemmabox {

// Shows "Assertion Failure", lets the notebooks be saved and ends the program
// with -13 (desktop.cpp).
void ReportInternalError(const char* name);

// Shows the alert of n once the event in hand is done (for failures while
// painting).
void AlertLater(MessageNumber n);

// Runs work; true when it completed. A failure shows its alert (or, when
// `deferAlert` is given, hands the message number to it instead: painting
// must not open a box in the middle of a paint).
template <class Work>
bool RunEntry(Work&& work, void (*deferAlert)(MessageNumber) = nullptr) {
  try {
    MessageNumber failure = CatchFailure(std::forward<Work>(work));
    if (failure == 0) return true;
    if (deferAlert) {
      deferAlert(failure);
    } else {
      Alert(failure);
    }
    ClearInternalErrorFlag();
  } catch (const InternalFailure& failure) {
    ReportInternalError(failure.name);
  } catch (const Failure& failure) {
    // A failure that reached no frame of ours (a box failed while showing).
    Alert(failure.message);
  }
  return false;
}

// Marks a user command (a key, a menu item, a palette button, a mouse
// gesture) as running while it lives: the idle pass and the tick wait until
// it is done (desktop.cpp). Commands may nest (a dialog's own commands).
class CommandScope {
 public:
  CommandScope();
  ~CommandScope();
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;
  static bool Running();
};

// RunEntry for a user command.
template <class Work>
bool RunCommand(Work&& work) {
  CommandScope scope;
  return RunEntry(std::forward<Work>(work));
}

}  // namespace lemmabox
