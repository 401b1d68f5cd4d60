// A small INI file reader and writer for the preferences file.
//
// The file is a list of lines: "[Section]" headers, "key=value" lines, and
// anything else (comments, blank lines, text the program does not know),
// which is kept as it is. Section and key names are compared without regard
// to case; the first section and the first key of a name count. Any bytes are
// accepted; a line that means nothing is simply kept.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lemmabox {

class IniFile {
 public:
  IniFile() = default;
  static IniFile Parse(std::string_view text);

  // The value of key in section: blanks around it removed, and one pair of
  // matching quotes around it taken off; nullopt when the key is absent.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Sets the value, replacing the key's line or adding one at the end of the
  // section (adding the section at the end of the file when it is missing).
  // Every other line stays as it was.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // The file's text, with the line ends it was read with.
  std::string Text() const;

 private:
  // Index of the line of the first section header named section, or -1.
  int FindSection(std::string_view section) const;
  // Index of the line of key in the section whose header is at line
  // `header`, or -1.
  int FindKey(int header, std::string_view key) const;

  std::vector<std::string> lines_;
  std::string newline_ = "\n";
};

// Reads a file; a missing or unreadable file reads as an empty one.
IniFile ReadIniFile(const std::string& path);

// Writes the file without ever destroying the old one: the text goes to a
// temporary file in the same directory (created when missing), which then
// replaces the old file. A failure leaves the old file as it was and raises
// 13127 ("File access denied").
void WriteIniFile(const std::string& path, const IniFile& ini);

}  // namespace lemmabox
