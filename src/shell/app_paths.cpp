#include "shell/app_paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "shell/prefs.h"

namespace lemmabox {
namespace {

namespace fs = std::filesystem;

AppPaths gPaths;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool FileExists(const std::string& path) {
  std::error_code error;
  fs::file_status status = fs::status(path, error);
  return !error && fs::exists(status) && !fs::is_directory(status);
}

std::string ConfigDirectory(const AppPathInputs& inputs) {
  // A relative XDG_CONFIG_HOME is to be ignored.
  if (!inputs.configHome.empty() && inputs.configHome.front() == '/') {
    return WithTrailingSlash(inputs.configHome) + "lemmabox/";
  }
  if (!inputs.home.empty()) return WithTrailingSlash(inputs.home) + ".config/lemmabox/";
  return WithTrailingSlash(inputs.currentDirectory);
}

}  // namespace

std::string WithTrailingSlash(std::string directory) {
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory;
}

AppPathInputs AppPathInputsOfProcess(const char* argv0) {
  AppPathInputs inputs;
  std::error_code error;
  inputs.currentDirectory = fs::current_path(error).string();
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    inputs.programFile = self.string();
  } else if (argv0 != nullptr && *argv0 != '\0') {
    inputs.programFile = (fs::path(inputs.currentDirectory) / argv0).lexically_normal().string();
  }
  inputs.configHome = Environment("XDG_CONFIG_HOME");
  inputs.home = Environment("HOME");
  return inputs;
}

void InitAppPaths(const AppPathInputs& inputs) {
  AppPaths paths;
  paths.currentDirectory = WithTrailingSlash(inputs.currentDirectory);
  paths.configDirectory = ConfigDirectory(inputs);
  std::string programDirectory = fs::path(inputs.programFile).parent_path().string();
  paths.programDirectory =
      programDirectory.empty() ? paths.currentDirectory : WithTrailingSlash(programDirectory);
  paths.helpFile = kHelpFileName;
  std::string beside = paths.programDirectory + kPreferencesFileName;
  paths.preferencesFile =
      FileExists(beside) ? beside : paths.configDirectory + kPreferencesFileName;
  LoadPreferences(paths.preferencesFile);
  std::string preferencesDirectory = PreferencesDirectorySetting();
  paths.preferencesDirectory = preferencesDirectory.empty()
                                   ? paths.currentDirectory
                                   : WithTrailingSlash(preferencesDirectory);
  gPaths = std::move(paths);
}

const AppPaths& ApplicationPaths() {
  return gPaths;
}

std::optional<std::string> FindSupportFile(const std::string& name) {
  if (name.find_first_of("*?") != std::string::npos) {
    const std::string& directory =
        gPaths.preferencesDirectory.empty() ? gPaths.programDirectory : gPaths.preferencesDirectory;
    return directory + name;
  }
  const std::string places[] = {WithTrailingSlash(Environment("LEMMABOX_SUPPORT_DIR")),
                                gPaths.preferencesDirectory, gPaths.programDirectory,
                                gPaths.configDirectory, gPaths.currentDirectory};
  for (const std::string& directory : places) {
    if (directory.empty()) continue;
    if (FileExists(directory + name)) return directory + name;
  }
  return std::nullopt;
}

}  // namespace lemmabox
