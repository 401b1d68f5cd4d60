// The desktop program: start-up, the main loop with its idle pass and its
// 100-millisecond tick, quitting, closing everything and shutdown.
//
// The main loop is Qt's. The idle pass runs whenever the loop is about to
// wait for events (QAbstractEventDispatcher::aboutToBlock); the tick is a
// single-shot timer that re-arms itself. Every entry into the program from the
// loop runs in its own failure frame (entry_guard.h).
//
// Exit codes: 0 after Exit (or when the program simply ends), 2 when the last
// notebook window was closed, -13 after an internal error, -1 after a crash
// signal; 1 when start-up failed before any window opened.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "app/app_window.h"

class QLocalServer;

namespace lemmabox {

class KeyTranslator;
class QtPlatform;
class PaletteWindow;
class SingleInstance;
class TipTracker;

constexpr int kExitNormal = 0;
constexpr int kExitLastWindowClosed = 2;
constexpr int kExitStartupFailed = 1;
constexpr int kExitInternalError = -13;
constexpr int kExitCrash = -1;

// Settings a test changes; the program uses the defaults.
struct DesktopOptions {
  // The splash stays up this long unless a key or the mouse dismisses it.
  int splashMilliseconds = 8000;
  // The name of the single-instance server; empty: "AxiomataFileOpen-" + user id.
  QString instanceServerName;
  // Whether start-up looks for a running copy of the program.
  bool singleInstance = true;
  // Whether the crash handler is installed.
  bool crashHandler = true;
};

class Desktop : public QObject {
  Q_OBJECT

 public:
  explicit Desktop(DesktopOptions options = {});
  ~Desktop() override;

  // The one desktop of the process (null before construction).
  static Desktop* Instance();

  // The whole program: start-up, the main loop, shutdown; the exit code.
  int Run(int argc, char** argv);

  // Start-up with the arguments that follow the program's name. False when
  // the program must end without entering the main loop (start-up failed, or
  // another copy of the program took the files).
  bool Start(const std::vector<std::string>& arguments, const char* argv0 = nullptr);
  // The main loop, until the program ends; the exit code.
  int Exec();
  // Closes whatever is still open and releases what start-up built.
  void Shutdown();

  // --- Quitting ---
  // The main loop ends after the event in hand. The first request's code is
  // the exit code.
  void RequestQuit(int exitCode);
  bool QuitRequested() const { return quitRequested_; }
  int ExitCode() const { return exitCode_; }

  // --- The periodic timer, counted: the first start arms it, the stop that
  // brings the count to zero disarms it.
  void StartPeriodicTimer();
  void StopPeriodicTimer();
  bool PeriodicTimerArmed() const { return timerCount_ > 0; }

  // Closes every window, the palette last; false when one refused (then the
  // windows not yet closed stay open). Ends the program when all closed. With
  // the emergency flag, notebooks save themselves under ".rec" names.
  bool CloseEverything(bool emergency);
  bool Emergency() const { return emergency_; }

  // Called when a window has left the window list.
  void WindowUnlinked(bool wasDocument);

  // A paint is in progress (the tick stays away).
  void SetPainting(bool painting) { painting_ = painting; }
  bool TickRunning() const { return tickRunning_; }

  // --- The loop's own work (public for tests) ---
  void IdlePass();
  void Tick();

  // The internal-error report: the box, the save questions, exit code -13.
  void ReportInternalError(const char* name);

  // --- Windows the desktop owns ---
  PaletteWindow* Palette() const;
  void ShowPalette(bool show);
  bool PaletteShown() const;

  // Opens files handed over by another start of the program.
  void OpenFilesFromElsewhere(const QStringList& paths);

  QtPlatform& Host() { return *platform_; }
  TipTracker& Tips() { return *tips_; }
  const DesktopOptions& Options() const { return options_; }

  // Whether the splash was shown by the last start-up (for tests).
  bool SplashWasShown() const { return splashShown_; }

  // How much virtual address space the process may still take, in bytes
  // (a test may pretend that it is nearly used up).
  using AvailableMemoryFn = uint64_t (*)();
  void SetAvailableMemoryFn(AvailableMemoryFn fn) { availableMemory_ = fn; }

 private:
  void StartupSteps(const std::vector<std::string>& arguments, const char* argv0);
  void OpenStartupFiles();
  void ArmTick();

  DesktopOptions options_;
  std::unique_ptr<KeyTranslator> translator_;
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<TipTracker> tips_;
  std::unique_ptr<SingleInstance> instance_;
  QPointer<PaletteWindow> palette_;
  QTimer tick_;
  int timerCount_ = 0;
  bool quitRequested_ = false;
  int exitCode_ = kExitNormal;
  bool started_ = false;
  bool emergency_ = false;
  bool closingAll_ = false;
  bool painting_ = false;
  bool tickRunning_ = false;
  bool reportingInternalError_ = false;
  bool inIdle_ = false;
  bool inMainLoop_ = false;
  int quitHeld_ = 0;
  bool waitCursor_ = false;
  bool splashShown_ = false;
  uint64_t nextIdle_ = 0;
  int blinkInterval_ = 500;
  AvailableMemoryFn availableMemory_;
};

}  // namespace lemmabox
