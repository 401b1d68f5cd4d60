// What the desktop tests share: a desktop started in-process with a command
// line, notebook files to open, message boxes answered from a script (or
// real boxes clicked), and helpers to build notebook content.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/desktop.h"
#include "platform/platform.h"
#include "shell/types.h"

namespace lemmabox::testing {

class DesktopHarness {
 public:
  DesktopHarness();
  explicit DesktopHarness(const DesktopOptions& options);
  ~DesktopHarness();

  // Starts the desktop with the arguments after the program's name.
  bool Start(const QStringList& arguments);
  Desktop& desktop() { return *desktop_; }

  // Every box shown, in order, and the answers for the questions among them
  // (an Ok box is answered Ok; a question with no answer left gets Cancel).
  std::vector<MessageBoxRequest> boxes;
  std::deque<BoxAnswer> answers;
  QStringList BoxTexts() const;
  // Lets boxes show for real (a test that clicks them).
  void ShowRealBoxes();

  static DesktopOptions TestOptions();

 private:
  void HookBoxes();
  std::unique_ptr<Desktop> desktop_;
};

// Creates a file in dir and returns its full path.
QString MakeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& contents);
// Writes an empty notebook file in dir and returns its full path.
QString MakeNotebookFile(const QTemporaryDir& dir, const QString& name);

// Lets posted events (deferred deletions in particular) run.
void Settle();

// Clicks a button of the next message box that comes up, after running
// whileUp with the box on screen; returns the box's text ("" when none came
// within the timeout).
void ClickNextBox(QMessageBox::StandardButton button, QString* text = nullptr,
                  std::function<void()> whileUp = {});

// While it lives, every modal dialog that comes up (the class of a new name,
// say) is accepted as it opened; their object names are kept.
class DialogAcceptor {
 public:
  DialogAcceptor();
  ~DialogAcceptor();
  QStringList accepted;

 private:
  QTimer* timer_;
};

// Appends an assumption holding expr to a notebook and lays the notebook out
// again.
Handle AddAssumption(Handle mainTheory, Handle expr);

}  // namespace lemmabox::testing
