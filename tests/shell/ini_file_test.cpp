// The INI reader and writer.
#include "shell/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>

#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

namespace fs = std::filesystem;

const char* kSample =
    "; written by hand\n"
    "stray=before any section\n"
    "[Directory]\n"
    "  Preferences =  /home/ann/notes  \n"
    "[special]\n"
    "Metafile=\"Enhanced\"\n"
    "metafile=placeable\n"
    "Empty=\n"
    "Quoted=' spaced '\n"
    "# Hidden=1\n"
    "no equals sign here\n"
    "=no key\n"
    "[Help\n"
    "Tips=on\n"
    "[Display]\n"
    "[Directory]\n"
    "Preferences=/second/ignored\n";

TEST(IniFile, ReadsValuesLikeThePreferencesApiDoes) {
  IniFile ini = IniFile::Parse(kSample);
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> value;
  } cases[] = {
      {"Directory", "Preferences", "/home/ann/notes"},  // blanks around it go
      {"DIRECTORY", "preferences", "/home/ann/notes"},  // names in any case
      {"Special", "Metafile", "Enhanced"},              // quotes go; first key wins
      {"Special", "Empty", ""},
      {"Special", "Quoted", " spaced "},
      {"Special", "# Hidden", std::nullopt},  // comment lines hold no keys
      {"Special", "no equals sign here", std::nullopt},
      {"Special", "", std::nullopt},
      {"Help", "Tips", "on"},  // a header without its bracket still counts
      {"Display", "Anything", std::nullopt},
      {"", "stray", std::nullopt},  // keys before any section belong to none
      {"Nowhere", "Tips", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ini.Get(c.section, c.key), c.value) << c.section << "/" << c.key;
  }
}

TEST(IniFile, AcceptsEveryLineEndAndKeepsTheFileAsItWas) {
  struct Case {
    const char* text;
    const char* written;
  } cases[] = {
      {"[Help]\nTips=on\n", "[Help]\nTips=on\n"},
      {"[Help]\r\nTips=on\r\n", "[Help]\r\nTips=on\r\n"},
      {"[Help]\rTips=on", "[Help]\nTips=on\n"},
      {"", ""},
      {"\n\n", "\n\n"},
  };
  for (const Case& c : cases) {
    IniFile ini = IniFile::Parse(c.text);
    EXPECT_EQ(ini.Text(), c.written) << c.text;
    if (std::string(c.text).find("Tips") != std::string::npos) {
      EXPECT_EQ(ini.Get("help", "tips"), "on") << c.text;
    }
  }
}

TEST(IniFile, SurvivesGarbage) {
  std::mt19937 random(12345);
  for (int round = 0; round < 200; ++round) {
    std::string text(random() % 400, '\0');
    for (char& c : text) {
      // Mostly the characters that mean something, some of anything.
      static const char kMeaningful[] = "[]=;#\"' \t\r\nab";
      c = random() % 3 ? kMeaningful[random() % (sizeof kMeaningful - 1)]
                       : static_cast<char>(random());
    }
    IniFile ini = IniFile::Parse(text);
    ini.Get("a", "b");
    ini.Set("a", "b", "value");
    EXPECT_EQ(IniFile::Parse(ini.Text()).Get("a", "b"), "value") << round;
  }
}

TEST(IniFile, SettingAValueKeepsEveryOtherLine) {
  IniFile ini = IniFile::Parse(
      "; keep me\n"
      "[Help]\n"
      "TIPS = off\n"
      "Unknown=1\n"
      "\n"
      "[Mine]\n"
      "x=y\n");
  ini.Set("help", "Tips", "on");               // replaced where it stands, spelling kept
  ini.Set("Help", "Palette Tips", "off");      // added at the end of its section
  ini.Set("Special", "Metafile", "enhanced");  // a new section at the end
  EXPECT_EQ(ini.Text(),
            "; keep me\n"
            "[Help]\n"
            "TIPS=on\n"
            "Unknown=1\n"
            "Palette Tips=off\n"
            "\n"
            "[Mine]\n"
            "x=y\n"
            "\n"
            "[Special]\n"
            "Metafile=enhanced\n");
}

TEST(IniFile, ValuesReadBackAsTheyWereSet) {
  for (const char* value : {"plain", " blanks around ", "\"quoted\"", "'single'", "", "a=b"}) {
    IniFile ini;
    ini.Set("S", "k", value);
    EXPECT_EQ(IniFile::Parse(ini.Text()).Get("S", "k"), value) << value;
  }
  // A line break in a value cannot be kept; it must not end the line.
  IniFile ini;
  ini.Set("S", "k", "one\ntwo\r\n[Evil]");
  IniFile read = IniFile::Parse(ini.Text());
  EXPECT_EQ(read.Get("S", "k"), "one two  [Evil]");
  EXPECT_EQ(read.Get("Evil", "x"), std::nullopt);
}

class IniFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("lemmabox-ini-" + std::to_string(std::random_device()()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  static std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  fs::path dir;
};

TEST_F(IniFileOnDisk, WritesThroughATemporaryFileIntoMissingDirectories) {
  std::string path = (dir / "config" / "lemmabox" / "lemmabox.ini").string();
  EXPECT_EQ(ReadIniFile(path).Text(), "");
  IniFile ini;
  ini.Set("Help", "Tips", "on");
  WriteIniFile(path, ini);
  EXPECT_EQ(Contents(path), "[Help]\nTips=on\n");
  ini.Set("Help", "Tips", "off");
  WriteIniFile(path, ini);
  EXPECT_EQ(ReadIniFile(path).Get("Help", "Tips"), "off");
  EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(IniFileOnDisk, AFailedWriteLeavesTheOldFileAndRaises) {
  // A directory stands where the file should go: the replacement must fail.
  fs::path blocked = dir / "blocked.ini";
  fs::create_directories(blocked / "inside");
  IniFile ini;
  ini.Set("Help", "Tips", "on");
  EXPECT_RAISES(kMsgFileAccessDenied, WriteIniFile(blocked.string(), ini));
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));
  EXPECT_FALSE(fs::exists(blocked.string() + ".tmp"));
}

}  // namespace
}  // namespace lemmabox
