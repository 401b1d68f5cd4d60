// Where the program finds its files: the application paths record, set once
// at start-up, and the search for support files.
//
// Every directory ends in '/'. The configuration directory takes the role
// that the system directory has for a desktop program elsewhere: it holds
// the preferences file when none lies beside the program.
#pragma once

#include <optional>
#include <string>

namespace lemmabox {

constexpr const char* kPreferencesFileName = "lemmabox.ini";
// The first page of the help, looked up like a support file.
constexpr const char* kHelpFileName = "help/index.html";

struct AppPaths {
  std::string currentDirectory;      // at start-up
  std::string configDirectory;       // $XDG_CONFIG_HOME/lemmabox/ or ~/.config/lemmabox/
  std::string programDirectory;      // the directory of the program's own file
  std::string helpFile;              // kHelpFileName
  std::string preferencesFile;       // beside the program if there, else in configDirectory
  std::string preferencesDirectory;  // "Preferences" of "Directory", else currentDirectory
};

// What the paths are made from, gathered from the process so that tests can
// give their own.
struct AppPathInputs {
  std::string programFile;  // the program's own file (may be empty)
  std::string currentDirectory;
  std::string configHome;  // $XDG_CONFIG_HOME (may be empty)
  std::string home;        // $HOME (may be empty)
};

// The inputs of this process; argv0 serves when the program's own file
// cannot be found otherwise.
AppPathInputs AppPathInputsOfProcess(const char* argv0);

// Builds the paths record, loads the preferences file it names
// (LoadPreferences) and takes the preferences directory from it.
void InitAppPaths(const AppPathInputs& inputs);
const AppPaths& ApplicationPaths();

// A directory with '/' at its end ("" stays "").
std::string WithTrailingSlash(std::string directory);

// The full path of a support file: the first that exists of
// $LEMMABOX_SUPPORT_DIR, the preferences directory, the program directory,
// the configuration directory and the current directory, each + name;
// nullopt when none exists. A name with a wildcard ('*' or '?') is not looked
// up: the result is the preferences directory (or the program directory when
// that is empty) + name, for a file chooser to expand.
std::optional<std::string> FindSupportFile(const std::string& name);

}  // namespace lemmabox
