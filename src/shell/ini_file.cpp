#include "shell/ini_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsComment(std::string_view line) {
  line = Trim(line);
  return !line.empty() && (line.front() == ';' || line.front() == '#');
}

// The name of a section header line, or nullopt when the line is none.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  size_t close = line.find(']');
  if (close != std::string_view::npos) line = line.substr(0, close);
  return Trim(line);
}

// The key and raw value of a "key=value" line, or false when the line is none.
bool SplitKeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  if (IsComment(line) || SectionName(line)) return false;
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  key = Trim(line.substr(0, equals));
  value = Trim(line.substr(equals + 1));
  return !key.empty();
}

// Line breaks and NUL would end the line early or break the file; they
// become blanks.
std::string Clean(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c == '\n' || c == '\r' || c == '\0') c = ' ';
  }
  return out;
}

// A value that would not read back as itself (blanks around it, quotes
// around it) is written in double quotes.
std::string QuoteIfNeeded(const std::string& value) {
  if (value.empty()) return value;
  bool blanks = IsBlank(value.front()) || IsBlank(value.back());
  bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front();
  return blanks || quoted ? '"' + value + '"' : value;
}

}  // namespace

IniFile IniFile::Parse(std::string_view text) {
  IniFile ini;
  size_t start = 0;
  bool newlineChosen = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    ini.lines_.emplace_back(text.substr(start, i - start));
    bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
    if (!newlineChosen) {
      ini.newline_ = crlf ? "\r\n" : "\n";
      newlineChosen = true;
    }
    if (crlf) ++i;
    start = i + 1;
  }
  if (start < text.size()) ini.lines_.emplace_back(text.substr(start));
  return ini;
}

int IniFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    auto name = SectionName(lines_[i]);
    if (name && SameName(*name, section)) return static_cast<int>(i);
  }
  return -1;
}

int IniFile::FindKey(int header, std::string_view key) const {
  for (size_t i = header + 1; i < lines_.size(); ++i) {
    if (SectionName(lines_[i])) break;
    std::string_view name, value;
    if (SplitKeyLine(lines_[i], name, value) && SameName(name, key)) return static_cast<int>(i);
  }
  return -1;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  int header = FindSection(section);
  if (header < 0) return std::nullopt;
  int line = FindKey(header, key);
  if (line < 0) return std::nullopt;
  std::string_view name, value;
  SplitKeyLine(lines_[line], name, value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  // A NUL cannot be part of a value anyone uses (a path, a word).
  value = value.substr(0, value.find('\0'));
  return std::string(value);
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string cleanKey = Clean(Trim(key));
  std::string cleanValue = QuoteIfNeeded(Clean(value));
  int header = FindSection(section);
  if (header < 0) {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back('[' + Clean(section) + ']');
    lines_.push_back(cleanKey + '=' + cleanValue);
    return;
  }
  int line = FindKey(header, cleanKey);
  if (line >= 0) {
    std::string_view oldKey, oldValue;
    SplitKeyLine(lines_[line], oldKey, oldValue);
    lines_[line] = std::string(oldKey) + '=' + cleanValue;
    return;
  }
  // After the last line of the section that is not blank.
  size_t end = header + 1;
  while (end < lines_.size() && !SectionName(lines_[end])) ++end;
  size_t insert = end;
  while (insert > static_cast<size_t>(header) + 1 && Trim(lines_[insert - 1]).empty()) --insert;
  lines_.insert(lines_.begin() + insert, cleanKey + '=' + cleanValue);
}

std::string IniFile::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + newline_;
  return text;
}

IniFile ReadIniFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return IniFile();
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return IniFile::Parse(text);
}

void WriteIniFile(const std::string& path, const IniFile& ini) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path target(path);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
  std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    std::string text = ini.Text();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      fs::remove(temporary, error);
      Raise(kMsgFileAccessDenied);
    }
  }
  fs::rename(temporary, target, error);
  if (error) {
    fs::remove(temporary, error);
    Raise(kMsgFileAccessDenied);
  }
}

}  // namespace lemmabox
