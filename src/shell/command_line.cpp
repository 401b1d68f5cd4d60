#include "shell/command_line.h"

#include "shell/prefs.h"

namespace lemmabox {
namespace {

AppRecord gApp;

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\0';
}

// A '/' token is a switch when it is a single word ("/p", "/Embedding"). A
// path of this system begins with '/' as well, and holds a further '/' or a
// '.' ("/home/ann/orbit.axn", "/orbit.axn"); those are file names.
bool IsSlashSwitch(std::string_view token) {
  return token.front() == '/' && token.find_first_of("/.", 1) == std::string_view::npos;
}

void TakeToken(std::string_view token, CommandLine& line) {
  if (token.empty()) return;
  char first = token.front();
  if (first == ':' || first == ';') {
    line.splash = false;
  } else if (first == '-' || IsSlashSwitch(token)) {
    // Not ours.
  } else if (token.size() <= kMaxFileNameLength) {
    line.files.emplace_back(token);
  }
}

}  // namespace

CommandLine ParseCommandLine(std::string_view text) {
  CommandLine line;
  size_t i = 0;
  while (i < text.size()) {
    if (IsSeparator(text[i])) {
      ++i;
      continue;
    }
    size_t start = i;
    size_t end;
    if (text[i] == '"') {
      start = i + 1;
      end = text.find('"', start);
      if (end == std::string_view::npos) end = text.size();
      i = end + 1;
    } else {
      while (i < text.size() && !IsSeparator(text[i])) ++i;
      end = i;
    }
    TakeToken(text.substr(start, end - start), line);
  }
  return line;
}

CommandLine ParseCommandArguments(const std::vector<std::string>& arguments) {
  CommandLine line;
  for (const std::string& argument : arguments) TakeToken(argument, line);
  return line;
}

void InitApplication(const AppPathInputs& inputs, const std::vector<std::string>& arguments) {
  AppRecord app;
  InitAppPaths(inputs);
  app.paths = &ApplicationPaths();
  app.metafileKind = MetafileKindSetting();
  app.suppressUntitled = false;
  CommandLine line = ParseCommandArguments(arguments);
  app.startupFiles = std::move(line.files);
  app.splash = line.splash;
  gApp = std::move(app);
}

const AppRecord& Application() {
  return gApp;
}

void SetSuppressUntitled(bool suppress) {
  gApp.suppressUntitled = suppress;
}

}  // namespace lemmabox
