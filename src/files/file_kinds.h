// The kinds of files the open and save commands know, told apart by their
// extensions, and the names the program gives new notebooks.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace lemmabox {

struct FileKind {
  char kind;              // 'n' notebook, 'N' notebook opened as untitled, 't' text ...
  int flag;               // 1 for the notebook kinds offered besides the plain notebook
  int group;              // the file chooser's filter group
  const char* extension;  // ".AXN"
  const char* name;       // the kind's name in the file chooser
};

// The table of file kinds, in the order the file choosers list them.
std::span<const FileKind> FileKinds();

// The kind of a file name, looked up from the last '.' of its final
// component: the first three characters of the extension, compared without
// regard to case. No extension gives '?', a name ending in '.' gives 't', an
// unknown extension '?'.
char FileKindOfName(std::string_view path);

inline bool IsNotebookKind(char kind) {
  return kind == 'n' || kind == 'N';
}

// The name Save gives a notebook: the name as it is when it already has a
// notebook extension; otherwise the notebook extension takes the place of an
// extension of another known kind, or is added. With asText, the text
// extension instead.
std::string NotebookFileName(const std::string& path, bool asText = false);

// The file name of untitled notebook n ("UNTITL1.AXN"), of start-up notebook
// n ("NOTEBK0.AXN") and of the new-notebook template ("NEWNOTE.AXN").
std::string UntitledFileName(int n);
std::string StartupFileName(int n);
std::string TemplateFileName();
// Start-up notebooks are numbered 0 to 10.
constexpr int kLastStartupNotebook = 10;

// The emergency name of a notebook: the same directory and name with the
// extension ".rec".
std::string RecoveryFileName(const std::string& path);

// The final component of a path.
std::string_view FileNamePart(std::string_view path);

}  // namespace lemmabox
