// What the core asks of the desktop.
//
// The core never talks to Qt or the operating system directly; everything it
// needs from the user's desktop goes through this interface. The desktop
// program implements it on Qt; HeadlessPlatform implements it for the
// command-line tool and the tests (scripted answers, an in-memory clipboard, a
// log of every box shown).
//
// Text crossing this interface is UTF-8; the core converts its own 8-bit
// character set at the boundary (shell/charset.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lemmabox {

enum class BoxIcon { kNone, kStop, kInformation, kQuestion, kWarning };
enum class BoxButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class BoxAnswer { kOk, kCancel, kYes, kNo };
// The first keyboard event waiting for the program.
enum class PendingKey { kNone, kEscapePress, kOther };

// The Declare Name question: which class a name that has no declaration
// should get. Classes: 1 Constant, 2 Variable, 3 M-Linear Operator, 4 D-Linear
// Operator, 5 Function.
struct NameClassQuestion {
  std::string name;      // the name as the user typed it (UTF-8)
  int defaultClass = 2;  // Variable, or Function for a name written like f(x)
  bool builtIn = false;  // spelled like a built-in constant or function
};

// The "Insert Index" dialog of Row/Column Number: which number each matrix
// cell gets. Choices: 1 "Row Index + offset", 2 "Column Index + offset",
// 3 "Row + Column + offset", 4 "Row - Column + offset", 5 "Column - Row +
// offset"; the offset is the "Top Left element gets:" value.
struct InsertIndexSettings {
  int choice = 1;
  int offset = 1;
  friend bool operator==(const InsertIndexSettings&, const InsertIndexSettings&) = default;
};

// The "Big Expand?" question, asked before an operation whose result may
// grow very large. The texts are the program's own words (UTF-8); the
// expression is shown as its typing script.
struct BigExpandQuestion {
  std::string caption;       // "Big Expand?"
  std::string text;          // what is about to happen
  std::string expression;    // the expression concerned
  std::string yes;           // "Yes, go ahead": answer 1
  std::string numerically;   // "do it Numerically": answer 2
  std::string no;            // "No, not this time": answer 0
  std::string dontAskAgain;  // the check box and its explanation
  int variant = 0;           // which caller asks (the kind of expansion)
};
struct BigExpandReply {
  int answer = 0;  // 0 no, 1 yes, 2 numerically
  bool dontAskAgain = false;
  friend bool operator==(const BigExpandReply&, const BigExpandReply&) = default;
};

// A file chooser: Open Notebook... (an existing file) or Save as... (a new
// name). Paths are UTF-8.
struct FileChooserRequest {
  bool save = false;
  std::string title;
  std::string directory;      // where the chooser starts
  std::string suggestedName;  // Save as: the name proposed
  // Filters as "Notebook (*.axn *.axp *.axs)", the first one chosen at first.
  std::vector<std::string> filters;
};

// A colour as the colour chooser shows it, 0..255 per component.
struct ColorChoice {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const ColorChoice&, const ColorChoice&) = default;
};

// The font of comment text: a family name (as the font metrics know it,
// "Times", "Helvetica" ...) and a size in points.
struct FontChoice {
  std::string family;
  int32_t points = 12;
  friend bool operator==(const FontChoice&, const FontChoice&) = default;
};

struct MessageBoxRequest {
  std::string text;
  std::string caption;
  BoxIcon icon = BoxIcon::kStop;
  BoxButtons buttons = BoxButtons::kOk;
  bool systemModal = false;  // the internal-error box
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Alerts and questions. The box is modal for all of the program's windows.
  virtual BoxAnswer ShowMessageBox(const MessageBoxRequest& request) = 0;
  virtual void Beep() = 0;

  // Milliseconds since some fixed point; only differences matter.
  virtual uint64_t TickCount() = 0;
  // The interrupt check's two looks at the keyboard during a long
  // computation. PeekKeyboardInput tells what the first keyboard event waiting
  // for the program is, without taking it (the desktop may gather input from
  // the system first). EscapeHeldDown tells whether Escape is down at this
  // moment although no press of it has been delivered to the program yet.
  virtual PendingKey PeekKeyboardInput() = 0;
  virtual bool EscapeHeldDown() = 0;
  // Lets the desktop process pending events during a long computation.
  virtual void ProcessPendingEvents() {}
  virtual void SetBusyCursor(bool busy) = 0;
  // Asks the main loop to end with this exit code after the current event.
  virtual void PostQuit(int exitCode) = 0;

  // The system clipboard as UTF-8 text.
  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(const std::string& text) = 0;

  // Asks for the class of an undeclared name: the class chosen, or 0 when the
  // user cancels (then nothing more is asked for the rest of the command).
  virtual int AskNameClass(const NameClassQuestion& question) { return question.defaultClass; }
  // Shows the "Insert Index" dialog opened with `settings`; true with the
  // user's settings in `settings`, false when the user cancels.
  virtual bool AskInsertIndex(InsertIndexSettings& settings) {
    (void)settings;
    return true;
  }
  // The "Big Expand?" question. Without a dialog nothing risky is done:
  // "No, not this time".
  virtual BigExpandReply AskBigExpand(const BigExpandQuestion& question) {
    (void)question;
    return {};
  }
  // Whether the Alt key is held down as a command starts (a manipulation
  // then works in place).
  virtual bool AltKeyDown() { return false; }
  // Whether the Control key is held down as a command starts (with Alt: a
  // notebook is read leniently, or saved as text).
  virtual bool ControlKeyDown() { return false; }
  // Asks the user for a file; the full path chosen, or "" when the user
  // cancels. Without a dialog nothing is chosen.
  virtual std::string ChooseFile(const FileChooserRequest& request) {
    (void)request;
    return {};
  }
  // Lets the user choose one of several items, shown `perPage` at a time (the
  // results of a Transform that matched more than one rule): the index
  // chosen, or -1 when the user cancels.
  virtual int ChooseFromList(const std::string& prompt, const std::vector<std::string>& items,
                             int perPage) {
    (void)prompt;
    (void)perPage;
    return items.empty() ? -1 : 0;
  }
  // The colour chooser, opened at `initial` with the prompt as its title
  // ("Choose Other Color:"): the colour chosen, or nullopt when the user
  // cancels. Without a dialog nothing is chosen.
  virtual std::optional<ColorChoice> AskColor(const std::string& prompt, ColorChoice initial) {
    (void)prompt;
    (void)initial;
    return std::nullopt;
  }
  // The Comment Font dialog, opened at `initial`: the family and size
  // chosen, or nullopt when the user cancels. Without a dialog nothing is
  // chosen.
  virtual std::optional<FontChoice> AskCommentFont(const FontChoice& initial) {
    (void)initial;
    return std::nullopt;
  }
};

// The platform the core talks to. There is always one: the headless platform
// until the desktop installs its own.
Platform& CurrentPlatform();
void SetCurrentPlatform(Platform* platform);

}  // namespace lemmabox
