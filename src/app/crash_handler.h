// The crash handler: on a floating-point, segment-violation, abort or
// illegal-instruction signal, the user is told ("A system error has occurred
// - please contact Tarno."), every notebook is closed with the emergency flag
// (changed ones are saved under ".rec" names), the program shuts down and ends
// with exit code -1. A second signal while this runs ends the program at once.
#pragma once

namespace lemmabox {

struct CrashActions {
  void (*alert)();
  void (*closeEverything)();
  void (*shutdown)();
};

// Installs the handler for SIGFPE, SIGSEGV, SIGABRT and SIGILL.
void InstallCrashHandler(const CrashActions& actions);
// Gives the signals back to the system.
void UninstallCrashHandler();

// The exit status of a crash: -1.
constexpr int kCrashExitCode = -1;

}  // namespace lemmabox
