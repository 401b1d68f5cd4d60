// Fuzzes the preferences-file reader and writer with arbitrary file contents.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/ini_file.h"
#include "shell/prefs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  lemmabox::IniFile ini = lemmabox::IniFile::Parse(text);
  for (const char* section : {lemmabox::kIniDirectory, lemmabox::kIniSpecial, lemmabox::kIniHelp}) {
    for (const char* key :
         {lemmabox::kIniKeyPreferences, lemmabox::kIniKeyMetafile, lemmabox::kIniKeyTips}) {
      if (auto value = ini.Get(section, key)) lemmabox::MetafileKindFromText(*value);
    }
  }
  // Writing a value and reading the text back must give the value, and must
  // not disturb what the file held under other keys.
  auto before = ini.Get("Display", "Other");
  std::string value(text.substr(0, text.size() % 40));
  ini.Set("Help", "Tips", value);
  lemmabox::IniFile again = lemmabox::IniFile::Parse(ini.Text());
  auto read = again.Get("Help", "Tips");
  std::string expected = value;
  for (char& c : expected) {
    if (c == '\n' || c == '\r' || c == '\0') c = ' ';
  }
  if (!read || *read != expected) std::abort();
  if (again.Get("Display", "Other") != before) std::abort();
  return 0;
}
