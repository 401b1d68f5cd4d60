#include "app/crash_handler.h"

#include <signal.h>

#include <csignal>
#include <cstdlib>

namespace lemmabox {
namespace {

constexpr int kSignals[] = {SIGFPE, SIGSEGV, SIGABRT, SIGILL};

CrashActions gActions{};
volatile std::sig_atomic_t gHandling = 0;

void OnCrash(int);

void Install() {
  struct sigaction action {};
  action.sa_handler = OnCrash;
  sigemptyset(&action.sa_mask);
  // A fault inside the handler comes back here (and ends the program)
  // instead of being held back until the handler returns, which it never does.
  action.sa_flags = SA_NODEFER;
  for (int signal : kSignals) sigaction(signal, &action, nullptr);
}

void OnCrash(int) {
  if (gHandling) std::_Exit(kCrashExitCode);
  gHandling = 1;
  Install();
  if (gActions.alert) gActions.alert();
  if (gActions.closeEverything) gActions.closeEverything();
  if (gActions.shutdown) gActions.shutdown();
  std::_Exit(kCrashExitCode);
}

}  // namespace

void InstallCrashHandler(const CrashActions& actions) {
  gActions = actions;
  gHandling = 0;
  Install();
}

void UninstallCrashHandler() {
  for (int signal : kSignals) std::signal(signal, SIG_DFL);
  gActions = CrashActions{};
}

}  // namespace lemmabox
