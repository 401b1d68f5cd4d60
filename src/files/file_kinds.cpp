#include "files/file_kinds.h"

#include <cctype>
#include <cstdio>

#include "shell/string_cache.h"
#include "shell/strings.h"

namespace lemmabox {
namespace {

constexpr FileKind kKinds[] = {
    {'t', 0, 4, ".TXT", "Text"},
    {'p', 0, 4, ".EPS", "EPS Files"},
    {'c', 0, 3, ".CAT", "Translation Table"},
    {'n', 0, 0, ".AXN", "Notebook"},
    {'n', 1, 0, ".AXP", "Notebook"},
    {'N', 1, 0, ".AXS", "Notebook"},
    {'*', 0, 4, ".WMF", "Metafiles"},
    {'*', 0, 4, ".EMF", "Enhanced Metafile"},
    {'a', 0, 4, ".AVI", "Video"},
    {'v', 0, 4, ".ANI", "Animation"},
    {'?', 0, 5, ".*", "All Files"},
};

constexpr const char* kNotebookExtension = ".axn";
constexpr const char* kTextExtension = ".txt";

// The position of the extension's dot in path, or npos.
size_t ExtensionDot(std::string_view path) {
  const size_t nameStart = path.size() - FileNamePart(path).size();
  const size_t dot = path.rfind('.');
  return dot == std::string_view::npos || dot < nameStart ? std::string_view::npos : dot;
}

std::string Numbered(int id, int n) {
  const char* pattern = StringById(id);
  if (pattern == nullptr) return {};
  char text[64];
  std::snprintf(text, sizeof text, pattern, n);
  return text;
}

}  // namespace

std::span<const FileKind> FileKinds() {
  return kKinds;
}

std::string_view FileNamePart(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

char FileKindOfName(std::string_view path) {
  const size_t dot = ExtensionDot(path);
  if (dot == std::string_view::npos) return '?';
  if (dot + 1 == path.size()) return 't';
  std::string extension(path.substr(dot + 1, 3));
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const FileKind& kind : kKinds) {
    if (kind.kind != '?' && extension == kind.extension + 1) return kind.kind;
  }
  return '?';
}

std::string NotebookFileName(const std::string& path, bool asText) {
  const char kind = FileKindOfName(path);
  const char wanted = asText ? 't' : 'n';
  if (kind == wanted || (!asText && IsNotebookKind(kind))) return path;
  const char* extension = asText ? kTextExtension : kNotebookExtension;
  const size_t dot = ExtensionDot(path);
  // A name ending in '.' or with an extension of a known kind has it
  // replaced; an unknown extension is part of the name.
  if (dot != std::string::npos && (dot + 1 == path.size() || kind != '?'))
    return path.substr(0, dot) + extension;
  return path + extension;
}

std::string UntitledFileName(int n) {
  return Numbered(kStrUntitledPattern, n);
}

std::string StartupFileName(int n) {
  return Numbered(kStrStartupPattern, n);
}

std::string TemplateFileName() {
  const char* name = StringById(kStrNewNotebookTemplate);
  return name != nullptr ? name : "";
}

std::string RecoveryFileName(const std::string& path) {
  const size_t dot = ExtensionDot(path);
  return (dot == std::string::npos ? path : path.substr(0, dot)) + ".rec";
}

}  // namespace lemmabox
