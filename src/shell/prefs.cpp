#include "shell/prefs.h"

#include "shell/ini_file.h"

namespace lemmabox {
namespace {

IniFile gPrefs;
std::string gPrefsPath;

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
    char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
    if (x != y) return false;
  }
  return true;
}

}  // namespace

void LoadPreferences(const std::string& path) {
  gPrefsPath = path;
  gPrefs = ReadIniFile(path);
}

const std::string& PreferencesPath() {
  return gPrefsPath;
}

std::string PrefString(std::string_view section, std::string_view key, std::string_view fallback,
                       size_t maxLength) {
  auto value = gPrefs.Get(section, key);
  if (!value || value->size() > maxLength) return std::string(fallback);
  return *value;
}

bool PrefOnOff(std::string_view section, std::string_view key, bool fallback) {
  auto value = gPrefs.Get(section, key);
  if (!value) return fallback;
  return SameWord(*value, "on");
}

void SetPrefString(std::string_view section, std::string_view key, std::string_view value) {
  IniFile changed = gPrefs;
  changed.Set(section, key, value);
  WriteIniFile(gPrefsPath, changed);
  gPrefs = std::move(changed);
}

std::string PreferencesDirectorySetting() {
  return PrefString(kIniDirectory, kIniKeyPreferences, "", kMaxPathLength);
}

int MetafileKindFromText(std::string_view value) {
  // The setting is read into room for eight characters, so only the first
  // eight of each word take part ("placeable" has nine).
  constexpr size_t kRoom = 8;
  value = value.substr(0, kRoom);
  if (SameWord(value, std::string_view("placeable").substr(0, kRoom))) return kMetafilePlaceable;
  if (SameWord(value, std::string_view("enhanced").substr(0, kRoom))) return kMetafileEnhanced;
  return kMetafileStandard;
}

int MetafileKindSetting() {
  auto value = gPrefs.Get(kIniSpecial, kIniKeyMetafile);
  return value ? MetafileKindFromText(*value) : kMetafileStandard;
}

bool TipsSetting() {
  return PrefOnOff(kIniHelp, kIniKeyTips, false);
}
bool PaletteTipsSetting() {
  return PrefOnOff(kIniHelp, kIniKeyPaletteTips, true);
}

}  // namespace lemmabox
