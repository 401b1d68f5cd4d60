#include "app/desktop.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <cfenv>
#include <limits>

#include "app/app_commands.h"
#include "app/crash_handler.h"
#include "app/documents.h"
#include "app/entry_guard.h"
#include "app/key_translation.h"
#include "app/menu_bar.h"
#include "app/notebook_window.h"
#include "app/palette_window.h"
#include "app/qt_platform.h"
#include "app/question_dialogs.h"
#include "app/single_instance.h"
#include "app/splash.h"
#include "app/tips.h"
#include "core/registration.h"
#include "notebook/document.h"
#include "notebook/notebook_record.h"
#include "ports/font_metrics.h"
#include "shell/alerts.h"
#include "shell/command_line.h"
#include "shell/interrupt.h"
#include "shell/keyboard_map.h"
#include "shell/memory.h"
#include "shell/menus.h"
#include "shell/messages.h"
#include "shell/stack_check.h"
#include "shell/string_cache.h"

namespace lemmabox {
namespace {

Desktop* gDesktop = nullptr;
int gCommandDepth = 0;

// The box of an internal error is up: nothing else may run meanwhile.
const char kInternalErrorOwner = 0;

// Floating-point exceptions never trap: numeric routines report trouble as
// undefined values.
void MaskFloatingPoint() {
  std::fenv_t environment;
  std::feholdexcept(&environment);
}

// The address space the process may still take, from its limit and what it
// has taken.
uint64_t AvailableAddressSpace() {
  struct rlimit limit {};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
    return std::numeric_limits<uint64_t>::max();
  }
  QFile statm("/proc/self/statm");
  if (!statm.open(QIODevice::ReadOnly)) return std::numeric_limits<uint64_t>::max();
  const uint64_t pages = statm.readLine().split(' ').value(0).toULongLong();
  const uint64_t used = pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
  return used >= limit.rlim_cur ? 0 : limit.rlim_cur - used;
}

// Takes a window off the list and away without asking it anything.
void ForceClose(AppWindow* window) {
  QWidget* widget = window->Widget();
  WindowList::Unlink(window);
  widget->hide();
  widget->deleteLater();
}

constexpr uint64_t kMinimumAddressSpace = 4096;

}  // namespace

// --- Entry guards -----------------------------------------------------------------

void ReportInternalError(const char* name) {
  if (gDesktop) {
    gDesktop->ReportInternalError(name);
  } else {
    std::_Exit(kExitInternalError);
  }
}

void AlertLater(MessageNumber n) {
  QTimer::singleShot(0, qApp, [n] { RunEntry([n] { Alert(n); }); });
}

CommandScope::CommandScope() {
  ++gCommandDepth;
}
CommandScope::~CommandScope() {
  --gCommandDepth;
}
bool CommandScope::Running() {
  return gCommandDepth > 0;
}

// --- The desktop --------------------------------------------------------------------

Desktop::Desktop(DesktopOptions options)
    : options_(std::move(options)), availableMemory_(AvailableAddressSpace) {
  gDesktop = this;
  // The platform's filter goes in last so that it sees events first: while a
  // computation looks at the keyboard, keys must not reach the translation.
  translator_ = std::make_unique<KeyTranslator>();
  platform_ = std::make_unique<QtPlatform>();
  tips_ = std::make_unique<TipTracker>();
  tick_.setSingleShot(true);
  connect(&tick_, &QTimer::timeout, this, &Desktop::Tick);
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &Desktop::IdlePass);
  }
}

Desktop::~Desktop() {
  Shutdown();
  tips_.reset();
  SetCurrentPlatform(nullptr);
  platform_.reset();
  translator_.reset();
  if (gDesktop == this) gDesktop = nullptr;
}

Desktop* Desktop::Instance() {
  return gDesktop;
}

int Desktop::Run(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  const bool running = Start(arguments, argc > 0 ? argv[0] : nullptr);
  if (running) Exec();
  Shutdown();
  return exitCode_;
}

int Desktop::Exec() {
  if (quitRequested_) return exitCode_;
  inMainLoop_ = true;
  QApplication::exec();
  inMainLoop_ = false;
  return exitCode_;
}

bool Desktop::Start(const std::vector<std::string>& arguments, const char* argv0) {
  // 1. Busy from the first step to the last.
  SetBusyFlag(true);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  waitCursor_ = true;
  quitRequested_ = false;
  exitCode_ = kExitNormal;
  emergency_ = false;
  closingAll_ = false;
  reportingInternalError_ = false;
  splashShown_ = false;
  nextIdle_ = 0;
  SetCurrentPlatform(platform_.get());
  bool ok = false;
  bool handedOver = false;
  try {
    // 2. The application record: paths, preferences, the command line.
    InitApplication(AppPathInputsOfProcess(argv0), arguments);
    const QString serverName = options_.instanceServerName.isEmpty() ? DefaultInstanceServerName()
                                                                     : options_.instanceServerName;
    if (options_.singleInstance) {
      QStringList files;
      for (const std::string& file : Application().startupFiles) {
        files << QString::fromStdString(file);
      }
      // A copy already running takes the files; this one ends.
      handedOver = SendToRunningInstance(serverName, files);
    }
    if (!handedOver) {
      // 3. The stack base of the recursion guard.
      RecordStackBase();
      // 4. The crash handler.
      if (options_.crashHandler) {
        InstallCrashHandler(CrashActions{[] {
                                           try {
                                             Alert(kMsgSystemError);
                                           } catch (...) {
                                           }
                                         },
                                         [] {
                                           try {
                                             if (gDesktop) gDesktop->CloseEverything(true);
                                           } catch (...) {
                                           }
                                         },
                                         [] {
                                           try {
                                             if (gDesktop) gDesktop->Shutdown();
                                           } catch (...) {
                                           }
                                         }});
      }
      // 5. The rest runs in one failure frame: a failure ends start-up.
      started_ = true;
      const MessageNumber failure = CatchFailure([&] { StartupSteps(arguments, argv0); });
      if (failure != 0) {
        Alert(failure);
        ClearInternalErrorFlag();
      }
      ok = failure == 0 && !quitRequested_;
    }
  } catch (const InternalFailure& failure) {
    ReportInternalError(failure.name);
    ok = false;
  }
  // 21.
  SetBusyFlag(false);
  if (waitCursor_) {
    QApplication::restoreOverrideCursor();
    waitCursor_ = false;
  }
  if (!ok && !quitRequested_ && !handedOver) exitCode_ = kExitStartupFailed;
  return ok;
}

void Desktop::StartupSteps(const std::vector<std::string>&, const char*) {
  // 6. The single-instance server takes the place of the registered window
  // message through which other programs hand us files.
  if (options_.singleInstance) {
    const QString serverName = options_.instanceServerName.isEmpty() ? DefaultInstanceServerName()
                                                                     : options_.instanceServerName;
    instance_ = std::make_unique<SingleInstance>(
        serverName, [this](const QStringList& paths) { OpenFilesFromElsewhere(paths); });
    instance_->Listen();
  }
  // 7.
  quitRequested_ = false;
  // 8. The splash, unless the command line asked for none.
  std::unique_ptr<SplashScreen> splash;
  if (Application().splash) {
    splash = std::make_unique<SplashScreen>(options_.splashMilliseconds);
    splash->Open();
    splashShown_ = true;
  }
  // 9.-11. Object memory, floating point, the string cache.
  InitObjectHeap();
  MaskFloatingPoint();
  ResetStringCache();
  // 12. The display: the fonts every notebook starts with (a missing font
  // package is reported here, before any window opens).
  LoadStartupFonts();
  // 13.-14. The menu bar and the keyboard maps.
  BuildMenus(ProgramName());
  MenuBarMirror::Instance().Install();
  SetKeyScan(nullptr);
  // 16. The busy cursor and the tips.
  tips_->ReadPreferences();
  const int flash = QApplication::cursorFlashTime();
  blinkInterval_ = flash > 0 ? flash / 2 : 500;
  // 17. The notebook application.
  RegisterCore();
  RegisterDesktop();
  // 18. The files of the command line.
  OpenStartupFiles();
  // 20. The splash waits out its time, then the program comes to the front.
  if (splash) splash->Finish();
  splash.reset();
  if (PaletteShown()) {
    palette_->raise();
  } else if (!NotebookWindows().empty()) {
    NotebookWindow* first = NotebookWindows().front();
    first->raise();
    first->activateWindow();
    WindowList::Activate(first);
  }
}

void Desktop::OpenStartupFiles() {
  const AppRecord& application = Application();
  bool opened = false;
  for (const std::string& file : application.startupFiles) {
    // Each file in its own frame: one that cannot be opened shows its alert
    // and the next is tried.
    const MessageNumber failure = CatchFailure([&] {
      OpenNotebookFile(file);
      opened = true;
    });
    if (failure != 0) {
      Alert(failure);
      ClearInternalErrorFlag();
    }
  }
  if (opened || application.suppressUntitled) return;
  if (application.startupFiles.empty()) {
    OpenStartupNotebooks();
  } else {
    NewUntitledNotebook();
  }
}

void Desktop::Shutdown() {
  if (!started_) return;
  closingAll_ = true;
  tips_->Hide(2000);
  // Every window still open goes; the notebooks among them have had their
  // say already (the program ends only after they agreed to close).
  std::list<AppWindow*> windows = WindowList::Windows();
  for (AppWindow* window : windows) {
    if (WindowList::Contains(window)) ForceClose(window);
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  instance_.reset();
  MenuBarMirror::Instance().Uninstall();
  tick_.stop();
  timerCount_ = 0;
  if (options_.crashHandler) UninstallCrashHandler();
  platform_->SetBusyCursor(false);
  SetFrontKeyHandler(nullptr);
  closingAll_ = false;
  started_ = false;
}

// --- Quitting and closing -----------------------------------------------------------

void Desktop::RequestQuit(int exitCode) {
  if (!quitRequested_) {
    quitRequested_ = true;
    exitCode_ = exitCode;
  }
  // A loop told to end makes every modal loop opened afterwards return at
  // once, so questions still to come (the save questions after an internal
  // error) hold the end back; outside the main loop the flag is enough.
  if (inMainLoop_ && quitHeld_ == 0) QCoreApplication::exit(exitCode_);
}

bool Desktop::CloseEverything(bool emergency) {
  emergency_ = emergency;
  closingAll_ = true;
  const std::list<AppWindow*> windows = WindowList::Windows();
  bool closed = true;
  // The palette goes last.
  for (AppWindow* window : windows) {
    if (window == static_cast<AppWindow*>(palette_.data())) continue;
    if (!WindowList::Contains(window)) continue;
    if (!WindowList::CloseRequest(window)) {
      closed = false;
      break;
    }
  }
  if (closed && palette_ && WindowList::Contains(palette_.data())) {
    closed = WindowList::CloseRequest(palette_.data());
  }
  closingAll_ = false;
  if (!closed) {
    emergency_ = false;
    return false;
  }
  RequestQuit(kExitNormal);
  return true;
}

void Desktop::WindowUnlinked(bool wasDocument) {
  if (!wasDocument || WindowList::DocumentCount() > 0) return;
  if (closingAll_ || quitRequested_ || !started_) return;
  // The last notebook window is gone: the program ends.
  RequestQuit(kExitLastWindowClosed);
}

void Desktop::ReportInternalError(const char* name) {
  if (reportingInternalError_) return;
  reportingInternalError_ = true;
  {
    ModalOwnerScope owner(&kInternalErrorOwner);
    MessageBoxRequest box;
    box.text = name;
    box.caption = "Assertion Failure";
    box.icon = BoxIcon::kStop;
    box.buttons = BoxButtons::kOk;
    box.systemModal = true;
    platform_->ShowMessageBox(box);
  }
  // The exit code is fixed now; the loop ends once the questions are over.
  ++quitHeld_;
  RequestQuit(kExitInternalError);
  // Every window is asked to close, so that changed notebooks can be saved;
  // the program ends whatever they answer.
  closingAll_ = true;
  const std::list<AppWindow*> windows = WindowList::Windows();
  for (AppWindow* window : windows) {
    if (!WindowList::Contains(window)) continue;
    bool closed = false;
    try {
      closed = WindowList::CloseRequest(window);
    } catch (...) {
    }
    if (!closed && WindowList::Contains(window)) ForceClose(window);
  }
  closingAll_ = false;
  --quitHeld_;
  RequestQuit(kExitInternalError);
}

// --- The periodic timer ---------------------------------------------------------------

void Desktop::StartPeriodicTimer() {
  if (timerCount_++ == 0) ArmTick();
}

void Desktop::StopPeriodicTimer() {
  if (timerCount_ > 0 && --timerCount_ == 0) tick_.stop();
}

void Desktop::ArmTick() {
  if (timerCount_ > 0) tick_.start(100);
}

void Desktop::Tick() {
  // The tick re-arms itself after its work, so ticks never pile up behind a
  // slow one.
  tick_.stop();
  if (!(ModalIsUp() || painting_ || tickRunning_ || CommandScope::Running() || !started_)) {
    if (WindowList::DocumentCount() == 0) {
      // How the program ends once its last notebook window has gone.
      RunEntry([&] { CloseEverything(false); });
    } else {
      RunEntry([&] {
        MaskFloatingPoint();
        tickRunning_ = true;
        if (availableMemory_() < kMinimumAddressSpace) {
          Alert(kMsgProgramOutOfMemory);
          tickRunning_ = false;
          CloseEverything(true);
          return;
        }
        const std::list<AppWindow*> windows = WindowList::Windows();
        for (AppWindow* window : windows) {
          if (WindowList::Contains(window) && window->shown()) window->Periodic();
        }
      });
      tickRunning_ = false;
    }
  }
  ArmTick();
}

// --- The idle pass ------------------------------------------------------------------------

void Desktop::IdlePass() {
  if (!started_ || inIdle_ || ModalIsUp() || CommandScope::Running()) return;
  inIdle_ = true;
  // What a finished computation held back goes on now.
  platform_->ReleaseHeldInput();
  if (AppWindow* front = WindowList::Front()) {
    RunEntry([&] {
      ResetInterruptCheck();
      platform_->SetBusyCursor(false);
      MaskFloatingPoint();
      const uint64_t now = platform_->TickCount();
      if (now >= nextIdle_) {
        nextIdle_ = now + static_cast<uint64_t>(blinkInterval_);
        front->Idle();
      }
      const QPoint pointer = QCursor::pos();
      tips_->Idle(WindowList::Owning(QApplication::widgetAt(pointer)), pointer, now);
    });
  }
  inIdle_ = false;
}

// --- The palette -----------------------------------------------------------------------------

PaletteWindow* Desktop::Palette() const {
  return palette_.data();
}

bool Desktop::PaletteShown() const {
  return palette_ && WindowList::Contains(palette_.data()) && palette_->isVisible();
}

void Desktop::ShowPalette(bool show) {
  if (show) {
    if (!palette_ || !WindowList::Contains(palette_.data())) {
      palette_ = new PaletteWindow;
      if (NotebookWindow* front = FrontNotebookWindow()) {
        const QRect frame = front->frameGeometry();
        palette_->move(frame.right() + 8, frame.top());
      }
    }
    if (!palette_->isVisible()) palette_->show();
  } else if (palette_) {
    palette_->hide();
  }
  if (Handle notebook = CurrentNotebook()) {
    NotebookRecordOf(notebook).prefs.paletteShown = show ? 1 : 0;
  }
  CheckMenuCommand(kMenuPalette, show);
}

// --- Files from elsewhere ---------------------------------------------------------------------

void Desktop::OpenFilesFromElsewhere(const QStringList& paths) {
  if (!started_ || quitRequested_) return;
  // Not in the middle of a command, a paint, the idle work or a dialog: try
  // again shortly.
  if (ModalIsUp() || CommandScope::Running() || inIdle_ || painting_ || tickRunning_) {
    QTimer::singleShot(200, this, [this, paths] { OpenFilesFromElsewhere(paths); });
    return;
  }
  bool any = false;
  for (const QString& path : paths) {
    const QFileInfo info(path);
    if (!info.isFile() || info.suffix().isEmpty()) continue;
    any = true;
    RunCommand([&] { OpenNotebookFile(info.absoluteFilePath().toStdString()); });
  }
  if (!any) {
    // A second start without files: this copy comes to the front.
    if (NotebookWindow* front = FrontNotebookWindow()) {
      front->raise();
      front->activateWindow();
    }
  }
}

}  // namespace lemmabox
