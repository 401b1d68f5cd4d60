// The application paths, the preferences and the support-file search.
#include "shell/app_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "shell/command_line.h"
#include "shell/prefs.h"

namespace lemmabox {
namespace {

namespace fs = std::filesystem;

// A scratch tree: program/, config/, current/, prefs/ under a fresh temporary
// directory, with LEMMABOX_SUPPORT_DIR out of the way.
class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("lemmabox-paths-" + std::to_string(std::random_device()()));
    for (const char* sub : {"program", "config", "current", "prefs", "support"}) {
      fs::create_directories(root / sub);
    }
    const char* support = std::getenv("LEMMABOX_SUPPORT_DIR");
    if (support) savedSupport = support;
    unsetenv("LEMMABOX_SUPPORT_DIR");
  }
  void TearDown() override {
    if (savedSupport) {
      setenv("LEMMABOX_SUPPORT_DIR", savedSupport->c_str(), 1);
    } else {
      unsetenv("LEMMABOX_SUPPORT_DIR");
    }
    fs::remove_all(root);
    InitAppPaths(AppPathInputs{});
  }
  std::string Dir(const char* sub) const { return (root / sub).string() + "/"; }
  void Write(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  AppPathInputs Inputs() const {
    AppPathInputs inputs;
    inputs.programFile = Dir("program") + "lemmabox";
    inputs.currentDirectory = (root / "current").string();
    inputs.configHome = (root / "config").string();
    inputs.home = (root / "home").string();
    return inputs;
  }

  fs::path root;
  std::optional<std::string> savedSupport;
};

TEST_F(PathsTest, ThePreferencesFileLiesBesideTheProgramOrInTheConfigDirectory) {
  InitAppPaths(Inputs());
  const AppPaths& paths = ApplicationPaths();
  EXPECT_EQ(paths.currentDirectory, Dir("current"));
  EXPECT_EQ(paths.programDirectory, Dir("program"));
  EXPECT_EQ(paths.configDirectory, Dir("config") + "lemmabox/");
  EXPECT_EQ(paths.preferencesFile, Dir("config") + "lemmabox/lemmabox.ini");
  EXPECT_EQ(paths.preferencesDirectory, Dir("current"));
  EXPECT_EQ(PreferencesPath(), paths.preferencesFile);

  Write(Dir("program") + "lemmabox.ini", "[Directory]\nPreferences=" + Dir("prefs") + "\n");
  InitAppPaths(Inputs());
  EXPECT_EQ(ApplicationPaths().preferencesFile, Dir("program") + "lemmabox.ini");
  EXPECT_EQ(ApplicationPaths().preferencesDirectory, Dir("prefs"));
}

TEST_F(PathsTest, TheConfigDirectoryFollowsTheEnvironment) {
  struct Case {
    std::string configHome;
    std::string home;
    std::string expected;
  } cases[] = {
      {(root / "config").string(), "/ignored", Dir("config") + "lemmabox/"},
      {"relative/config", (root / "home").string(), Dir("home") + ".config/lemmabox/"},
      {"", (root / "home").string() + "/", Dir("home") + ".config/lemmabox/"},
      {"", "", Dir("current")},
  };
  for (const Case& c : cases) {
    AppPathInputs inputs = Inputs();
    inputs.configHome = c.configHome;
    inputs.home = c.home;
    InitAppPaths(inputs);
    EXPECT_EQ(ApplicationPaths().configDirectory, c.expected) << c.configHome << "|" << c.home;
  }
}

TEST_F(PathsTest, PreferencesAreReadLenientlyAndWrittenBackWholly) {
  Write(Dir("config") + "lemmabox/lemmabox.ini",
        "[Special]\nMetafile=PLACEABLE\n[Help]\nTips=On\nPalette Tips=maybe\n"
        "[Directory]\nPreferences=" +
            std::string(5000, 'x') + "\n[Unknown]\nkeep=me\n");
  InitAppPaths(Inputs());
  EXPECT_EQ(MetafileKindSetting(), kMetafilePlaceable);
  EXPECT_TRUE(TipsSetting());
  EXPECT_FALSE(PaletteTipsSetting());
  // An over-long directory cannot be meant; the current directory serves.
  EXPECT_EQ(ApplicationPaths().preferencesDirectory, Dir("current"));
  EXPECT_EQ(PrefString("Unknown", "keep", "?", 2), "me");
  EXPECT_EQ(PrefString("Unknown", "keep", "?", 1), "?");

  SetPrefString(kIniHelp, kIniKeyTips, "off");
  EXPECT_FALSE(TipsSetting());
  LoadPreferences(PreferencesPath());
  EXPECT_FALSE(TipsSetting());
  EXPECT_EQ(PrefString("Unknown", "keep", ""), "me");
  EXPECT_EQ(MetafileKindSetting(), kMetafilePlaceable);
}

TEST_F(PathsTest, SettingsHaveTheirDefaults) {
  InitAppPaths(Inputs());
  EXPECT_EQ(MetafileKindSetting(), kMetafileStandard);
  EXPECT_FALSE(TipsSetting());
  EXPECT_TRUE(PaletteTipsSetting());
  EXPECT_EQ(PreferencesDirectorySetting(), "");
}

TEST(Prefs, MetafileKindComesFromTheFirstEightCharacters) {
  struct Case {
    const char* text;
    int kind;
  } cases[] = {
      {"placeable", kMetafilePlaceable},        {"PlaceAble", kMetafilePlaceable},
      {"enhanced", kMetafileEnhanced},          {"ENHANCED", kMetafileEnhanced},
      {"Standard", kMetafileStandard},          {"", kMetafileStandard},
      {"enhance", kMetafileStandard},           {"wmf", kMetafileStandard},
      {"enhanced metafile", kMetafileEnhanced},
  };
  for (const Case& c : cases) EXPECT_EQ(MetafileKindFromText(c.text), c.kind) << c.text;
}

TEST_F(PathsTest, SupportFilesAreFoundInOrder) {
  Write(Dir("program") + "lemmabox.ini", "[Directory]\nPreferences=" + Dir("prefs") + "\n");
  InitAppPaths(Inputs());
  const std::string name = "NEWNOTE.AXN";
  EXPECT_EQ(FindSupportFile(name), std::nullopt);
  // Each place found shadows the ones after it.
  const char* order[] = {"current", "config/lemmabox", "program", "prefs"};
  for (const char* place : order) {
    Write(Dir(place) + name, "x");
    EXPECT_EQ(FindSupportFile(name), Dir(place) + name) << place;
  }
  setenv("LEMMABOX_SUPPORT_DIR", (root / "support").string().c_str(), 1);
  EXPECT_EQ(FindSupportFile(name), Dir("prefs") + name);
  Write(Dir("support") + name, "x");
  EXPECT_EQ(FindSupportFile(name), Dir("support") + name);
  // A directory of that name is not the file.
  fs::create_directories(root / "support" / "help");
  EXPECT_EQ(FindSupportFile("help"), std::nullopt);
  // Wildcards are not looked up.
  EXPECT_EQ(FindSupportFile("*.AXN"), Dir("prefs") + "*.AXN");
}

TEST_F(PathsTest, StartUpFillsTheApplicationRecord) {
  Write(Dir("config") + "lemmabox/lemmabox.ini", "[Special]\nMetafile=enhanced\n");
  SetSuppressUntitled(true);
  InitApplication(Inputs(), {"first.axn", "-geometry", ":", "/home/ann/second.axn"});
  const AppRecord& app = Application();
  EXPECT_EQ(app.startupFiles, (std::vector<std::string>{"first.axn", "/home/ann/second.axn"}));
  EXPECT_FALSE(app.splash);
  EXPECT_FALSE(app.suppressUntitled);
  EXPECT_EQ(app.metafileKind, kMetafileEnhanced);
  EXPECT_EQ(app.paths, &ApplicationPaths());
}

}  // namespace
}  // namespace lemmabox
