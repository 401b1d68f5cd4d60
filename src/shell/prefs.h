// The program's preferences file (lemmabox.ini) and the settings it holds.
//
// The file is read once at start-up and kept in memory; a setting changed by
// the program is written back at once, keeping every other line of the file.
// Values are read leniently: a missing, over-long or meaningless value gives
// the default.
#pragma once

#include <string>
#include <string_view>

namespace lemmabox {

// Sections and keys.
constexpr const char* kIniDirectory = "Directory";
constexpr const char* kIniSpecial = "Special";
constexpr const char* kIniDisplay = "Display";
constexpr const char* kIniHelp = "Help";
constexpr const char* kIniKeyPreferences = "Preferences";   // in Directory
constexpr const char* kIniKeyMetafile = "Metafile";         // in Special
constexpr const char* kIniKeyTips = "Tips";                 // in Help
constexpr const char* kIniKeyPaletteTips = "Palette Tips";  // in Help

// The kind of metafile that pictures are written as.
constexpr int kMetafileStandard = 0;
constexpr int kMetafilePlaceable = 1;
constexpr int kMetafileEnhanced = 2;

// The longest directory value used; a longer one cannot name a directory.
constexpr size_t kMaxPathLength = 4095;

// Reads the preferences file at path (an absent file holds no settings) and
// remembers the path for SetPrefString.
void LoadPreferences(const std::string& path);
// The path given to LoadPreferences ("" before).
const std::string& PreferencesPath();

// The value of key in section, or fallback when it is absent or longer than
// maxLength characters.
std::string PrefString(std::string_view section, std::string_view key, std::string_view fallback,
                       size_t maxLength = 255);
// An on/off setting: on only when the value is "on" (in any case).
bool PrefOnOff(std::string_view section, std::string_view key, bool fallback);
// Changes a setting and writes the file (raises 13127 when it cannot be
// written; the old file then stays as it was).
void SetPrefString(std::string_view section, std::string_view key, std::string_view value);

// The settings of the program.
// "Preferences" in "Directory": where the user keeps notebooks and support
// files ("" when not set).
std::string PreferencesDirectorySetting();
// "Metafile" in "Special": "placeable" 1, "enhanced" 2, anything else 0.
int MetafileKindSetting();
// The same rule for a value as written in the file.
int MetafileKindFromText(std::string_view value);
// "Tips" in "Help" (default off) and "Palette Tips" (default on).
bool TipsSetting();
bool PaletteTipsSetting();

}  // namespace lemmabox
