// The small questions the core asks through the platform: the class of a
// name that has no declaration, a choice from a list, and how Row/Column
// Number numbers the cells of a matrix. Each runs modally; while it is up it
// is the shell's modal owner, so the tick, the idle work and the key
// translation stay away.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

class QDialog;

namespace lemmabox {

// Makes a dialog the modal owner for as long as it lives and puts the
// previous owner back afterwards.
class ModalOwnerScope {
 public:
  explicit ModalOwnerScope(const void* owner);
  ~ModalOwnerScope();
  ModalOwnerScope(const ModalOwnerScope&) = delete;
  ModalOwnerScope& operator=(const ModalOwnerScope&) = delete;

 private:
  const void* saved_;
};

// Runs a dialog modally as the modal owner; QDialog::exec's result.
int ExecDialog(QDialog& dialog);

// The classes the Declare Name dialog offers.
constexpr int kClassConstant = 1;
constexpr int kClassVariable = 2;
constexpr int kClassFunction = 5;

// "Declare Name": Constant, Variable or Function, the question's default
// chosen; 0 when cancelled.
int RunNameClassDialog(const NameClassQuestion& question);
// The index chosen, -1 when cancelled; perPage items show at a time.
int RunListChoiceDialog(const std::string& prompt, const std::vector<std::string>& items,
                        int perPage);
// "Insert Index", opened with the settings given: false when cancelled.
bool RunInsertIndexDialog(InsertIndexSettings& settings);

// "Big Expand?": the three answers and the check box; Escape and closing the
// box answer "No, not this time".
BigExpandReply RunBigExpandDialog(const BigExpandQuestion& question);
// Open Notebook... or Save as...: the full path chosen, "" when cancelled.
std::string RunFileChooser(const FileChooserRequest& request);
// The colour chooser titled with the prompt ("Choose Other Color:").
std::optional<ColorChoice> RunColorChooser(const std::string& prompt, ColorChoice initial);
// "Comment Font": a family the font metrics know and a size in points.
std::optional<FontChoice> RunCommentFontDialog(const FontChoice& initial);

// The five numberings the Insert Index dialog offers, choices 1 to 5.
constexpr const char* kInsertIndexChoices[] = {
    "Row Index + offset",    "Column Index + offset", "Row + Column + offset",
    "Row - Column + offset", "Column - Row + offset",
};

}  // namespace lemmabox
