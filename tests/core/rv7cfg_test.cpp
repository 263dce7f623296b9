#include "rv7cfg.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "settings_fixture.h"

namespace {

constexpr char kConfigHeader[] =
    "\n# comment:\n# current configuration.\n# do not modify.\n\n[Config]\n";

using ConfigIniTest = SettingsTest;

std::string config_file(const std::string& bitmap, const std::string& dir,
                        const std::string& delays) {
  return std::string(kConfigHeader) + "BitMapSet = " + bitmap + "\nImportDir = " + dir + "\n" +
         delays + "\n";
}

TEST_F(ConfigIniTest, DefaultsAreWrittenInTheFixedLayout) {
  EXPECT_EQ(writeConfigIni(), 0);
  EXPECT_EQ(ReadFile("Ini\\Config.Ini"),
            config_file("1", "\"\"",
                        "Delay1    = 100\nDelay2    = 50\nDelay3    = 33\nDelay4    = 25\n"));
  EXPECT_FALSE(FileExists("Ini\\Config.Ini.tmp"));
}

TEST_F(ConfigIniTest, ReadValuesAreWrittenBackWithQuotesAroundTheDirectory) {
  WriteFile("Ini\\Config.Ini",
            "[Config]\nBitMapSet = 5213\nImportDir = \"/home/a b/levels\"\n"
            "Delay4=7\nDelay1 = 250ms\nDelay2 = fast\nDelay3 = -5\n");
  EXPECT_EQ(ConfigIni(), 0);
  EXPECT_EQ(bitmap_set(), 5213);
  EXPECT_STREQ(import_dir(), "/home/a b/levels");
  EXPECT_EQ(replay_delay(0), 250);
  EXPECT_EQ(replay_delay(1), 0);
  EXPECT_EQ(replay_delay(2), -5);
  EXPECT_EQ(replay_delay(3), 7);
  writeConfigIni();
  EXPECT_EQ(ReadFile("Ini\\Config.Ini"),
            config_file("5213", "\"/home/a b/levels\"",
                        "Delay1    = 250\nDelay2    = 0\nDelay3    = -5\nDelay4    = 7\n"));
}

TEST_F(ConfigIniTest, UnquotedOrHalfQuotedDirectoriesLoseOnlyTheirOuterQuotes) {
  struct Case {
    const char* written;
    const char* read;
  };
  const Case cases[] = {{"C:\\Levels", "C:\\Levels"},
                        {"\"only-leading", "only-leading"},
                        {"only-trailing\"", "only-trailing"},
                        {"\"\"twice\"\"", "\"twice\""},
                        {"\"", ""}};
  for (const Case& test : cases) {
    WriteFile("Ini\\Config.Ini", std::string("[Config]\nImportDir = ") + test.written + "\n");
    ConfigIni();
    EXPECT_STREQ(import_dir(), test.read) << test.written;
  }
}

TEST_F(ConfigIniTest, BitMapSetOutsideTheKnownSetsBecomesOne) {
  for (const char* value : {"3", "0", "-1", "x", "5214"}) {
    set_bitmap_set(2);
    WriteFile("Ini\\Config.Ini", std::string("[Config]\nBitMapSet = ") + value + "\n");
    ConfigIni();
    EXPECT_EQ(bitmap_set(), 1) << value;
  }
  WriteFile("Ini\\Config.Ini", "[Config]\nBitMapSet = 2\n");
  ConfigIni();
  EXPECT_EQ(bitmap_set(), 2);
  set_bitmap_set(7);
  EXPECT_EQ(bitmap_set(), 1);
}

TEST_F(ConfigIniTest, OtherKeysSectionsAndCasesAreDropped) {
  WriteFile("Ini\\Config.Ini",
            "Delay1 = 1\n[config]\nDelay1 = 2\n[Config]\nbitmapset = 2\nDELAY2 = 3\n"
            "Unknown = 4\nDelay5 = 5\n[Other]\nDelay3 = 6\n");
  ConfigIni();
  EXPECT_EQ(bitmap_set(), 1);
  for (int index = 0; index < kDelayCount; ++index) {
    EXPECT_EQ(replay_delay(index), (std::array<int, 4>{100, 50, 33, 25}[index]));
  }
}

TEST_F(ConfigIniTest, MissingFileKeepsTheCurrentValuesAndDefaultsRestoreThem) {
  set_bitmap_set(2);
  set_import_dir("dir");
  set_replay_delay(1, 9);
  EXPECT_EQ(ConfigIni(), 0);
  EXPECT_EQ(bitmap_set(), 2);
  EXPECT_STREQ(import_dir(), "dir");
  EXPECT_EQ(replay_delay(1), 9);
  CfgDefaults();
  EXPECT_EQ(bitmap_set(), 1);
  EXPECT_STREQ(import_dir(), "");
  EXPECT_EQ(replay_delay(1), 50);
}

TEST_F(ConfigIniTest, DelayIndexOutsideTheFourIsRefused) {
  set_replay_delay(-1, 5);
  set_replay_delay(kDelayCount, 5);
  EXPECT_EQ(replay_delay(-1), 0);
  EXPECT_EQ(replay_delay(kDelayCount), 0);
  EXPECT_EQ(replay_delay(0), 100);
}

TEST_F(ConfigIniTest, LongDirectoriesAreCutAndHostileFilesAreSurvived) {
  set_import_dir(std::string(400, 'd'));
  EXPECT_EQ(std::strlen(import_dir()), static_cast<std::size_t>(kMaxImportDir));
  WriteFile("Ini\\Config.Ini", "[Config]\nImportDir = \"" + std::string(600, 'e') + "\"\n" +
                                   std::string("Delay1 = 4\0\n", 12) + "\xff\xfe=\x01\n");
  EXPECT_EQ(ConfigIni(), 0);
  EXPECT_EQ(std::string(import_dir()), std::string(kMaxImportDir, 'e'));
  EXPECT_EQ(replay_delay(0), 4);
}

TEST_F(ConfigIniTest, AlwaysWrittenButNeverIntoAMissingDirectory) {
  WriteFile("Ini\\Config.Ini", "old");
  writeConfigIni();
  EXPECT_NE(ReadFile("Ini\\Config.Ini"), "old");
  std::filesystem::remove_all("Ini");
  EXPECT_EQ(writeConfigIni(), ENOENT);
  EXPECT_FALSE(FileExists("Ini"));
}

}  // namespace
