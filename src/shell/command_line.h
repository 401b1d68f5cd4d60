// The command line and the application record.
//
// The command line names the notebooks to open at start-up. Tokens are
// separated by blanks, tabs, line breaks and NUL; a token that begins with a
// double quote runs to the closing quote (blanks included). A token that
// begins with ':' or ';' only suppresses the splash screen; a token that
// begins with '-', or a '/' switch ("/p", "/Embedding"), is an option this
// program does not take and is ignored. Every other token is a file name,
// kept in order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/app_paths.h"

namespace lemmabox {

struct CommandLine {
  std::vector<std::string> files;
  bool splash = true;
};

// Splits one command-line text into tokens and takes them in order.
CommandLine ParseCommandLine(std::string_view text);
// The same rules for arguments the system has split already (argv[1..]); each
// argument is one token and quotes in it are kept.
CommandLine ParseCommandArguments(const std::vector<std::string>& arguments);

// The longest file name taken; a longer token cannot name a file and is
// ignored.
constexpr size_t kMaxFileNameLength = 4095;

struct AppRecord {
  // The notebooks to open at start-up, in order.
  std::vector<std::string> startupFiles;
  // When set, no untitled notebook is opened if no start-up file could be.
  bool suppressUntitled = false;
  // The splash screen is shown at start-up.
  bool splash = true;
  // The mouse button that drag loops poll: 1 primary, 2 when the buttons are
  // swapped (the desktop's mouse handling already reports the primary one).
  int primaryButton = 1;
  // Metafile kind from the preferences: kMetafileStandard, ...Placeable,
  // ...Enhanced.
  int metafileKind = 0;
  const AppPaths* paths = nullptr;
};

// Start-up: builds the paths record and loads the preferences (InitAppPaths),
// reads the metafile kind, clears the suppress-untitled flag and takes the
// command-line arguments.
void InitApplication(const AppPathInputs& inputs, const std::vector<std::string>& arguments);

const AppRecord& Application();
void SetSuppressUntitled(bool suppress);

}  // namespace lemmabox
