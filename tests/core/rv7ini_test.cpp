#include "rv7ini.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "file_size_limit.h"
#include "rv7log.h"
#include "settings_fixture.h"
#include "settings_round_trip.h"
#include "write_failure.h"

namespace {

constexpr char kGameHeader[] = "\n# comment:\n# current game setup.\n# do not modify.\n\n[Game]\n";
constexpr char kMazesHeader[] =
    "\n# comment:\n# to identify number of mazes in each set.\n# do not modify.\n\n[Mazes]\n";

using GameIniTest = SettingsTest;
using MazesIniTest = SettingsTest;
using IniDefaultsTest = SettingsTest;
using IniTraceTest = SettingsTest;

std::vector<std::string> level_set_names() {
  std::vector<std::string> names;
  for (LevelSetEntry* entry = first_level_set(); entry != nullptr; entry = next_level_set(entry)) {
    names.emplace_back(entry->name);
  }
  return names;
}

// ---------------------------------------------------------------------------------------
// Game.Ini

TEST_F(GameIniTest, WriterKeepsFirstTwoEntriesSortsTheRestAndPadsKeys) {
  WriteFile("Ini\\Game.Ini", std::string(kGameHeader) +
                                 "Player=Ann\n"
                                 "  Maze   =   Screens  \n"
                                 "zeta = 3\n"
                                 "Beta = 7\n"
                                 "abc = 2\n"
                                 "Screens = 12\n");
  EXPECT_EQ(GameIni(), 0);
  EXPECT_EQ(key_width(), 7);
  set_game_number("abc", 4);
  EXPECT_EQ(game_dirty(), 1);
  EXPECT_EQ(writeGameIni(), 0);
  EXPECT_EQ(game_dirty(), 0);
  EXPECT_EQ(ReadFile("Ini\\Game.Ini"), std::string(kGameHeader) +
                                           "Player  = Ann\n"
                                           "Maze    = Screens\n"
                                           "abc     = 4\n"
                                           "Beta    = 7\n"
                                           "Screens = 12\n"
                                           "zeta    = 3\n"
                                           "\n");
  EXPECT_FALSE(FileExists("Ini\\Game.Ini.tmp"));
}

TEST_F(GameIniTest, OnlyEntriesOfTheExactGameSectionAreRead) {
  WriteFile("Ini\\Game.Ini",
            "Early = before any header\n"
            "[game]\nLower = lower-case header\n"
            "[ Game ]\nBlank = blanks inside brackets\n"
            "[]\nEmpty = empty section name\n"
            "[Game]\nPlayer = Bo\nNoValue\n# Hash = comment\n; Semi = x\n/ Slash = x\n=\n\n"
            "[Other]\nOther = 1\n"
            "[Game\nOpen = 2\n");
  GameIni();
  set_game_dirty(1);
  writeGameIni();
  EXPECT_EQ(ReadFile("Ini\\Game.Ini"), std::string(kGameHeader) +
                                           "Player = Bo\n"
                                           "Open   = 2\n"
                                           "\n");
}

// Failed writes as the reporter sees them: path and error code.
std::vector<std::string> g_reported;
void RecordFailure(std::string_view path, int error) {
  g_reported.push_back(std::string(path) + " " + std::to_string(error));
}

TEST_F(GameIniTest, WritesOnlyWhenDirtyAndKeepsTheFlagWhenItCannotWrite) {
  WriteFile("Ini\\Game.Ini", "[Game]\nPlayer = Ann\n");
  GameIni();
  game_chk("New");  // a new key alone does not make the table dirty
  writeGameIni();
  EXPECT_EQ(ReadFile("Ini\\Game.Ini"), "[Game]\nPlayer = Ann\n");
  std::filesystem::remove_all("Ini");
  set_game_value("Player", "Cy");
  EXPECT_EQ(game_dirty(), 1);
  EXPECT_EQ(writeGameIni(), ENOENT);
  EXPECT_EQ(game_dirty(), 1);  // the change is not lost: a later write may still succeed
  EXPECT_FALSE(FileExists("Ini"));
  ASSERT_EQ(MakeDirectory("Ini"), 0);
  EXPECT_EQ(writeGameIni(), 0);
  EXPECT_EQ(game_dirty(), 0);
  EXPECT_NE(ReadFile("Ini\\Game.Ini").find("Player = Cy"), std::string::npos);
}

TEST_F(GameIniTest, FullDiskLeavesTheOldFilesAndReportsEachFailure) {
  WriteFile("Ini\\Game.Ini", "[Game]\nPlayer = Ann\n");
  WriteFile("Ini\\Mazes.Ini", "[Mazes]\nOld = 3\n");
  WriteFile("Ini\\Config.Ini", "[Config]\nDelay1 = 7\n");
  GameIni();
  MazesIni();
  set_game_value("Player", "Cy");
  set_level_count("New", 4);
  set_mazes_dirty(1);
  g_reported.clear();
  SetWriteFailureReporter(&RecordFailure);
  {
    const FileSizeLimit full_disk(16);
    EXPECT_EQ(writeGameIni(), EFBIG);
    EXPECT_EQ(writeMazesIni(), EFBIG);
    EXPECT_EQ(writeConfigIni(), EFBIG);
  }
  SetWriteFailureReporter(nullptr);
  std::string full = " ";
  full += std::to_string(EFBIG);
  EXPECT_EQ(g_reported, (std::vector<std::string>{"Ini\\Game.Ini" + full, "Ini\\Mazes.Ini" + full,
                                                  "Ini\\Config.Ini" + full}));
  EXPECT_EQ(ReadFile("Ini\\Game.Ini"), "[Game]\nPlayer = Ann\n");
  EXPECT_EQ(ReadFile("Ini\\Mazes.Ini"), "[Mazes]\nOld = 3\n");
  EXPECT_EQ(ReadFile("Ini\\Config.Ini"), "[Config]\nDelay1 = 7\n");
  EXPECT_EQ(game_dirty(), 1);
  EXPECT_EQ(mazes_dirty(), 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("Ini"),
                          std::filesystem::directory_iterator()),
            3);  // no temporary file stays behind
}

TEST_F(GameIniTest, GameCheckAddsOneWithoutDirtyAndSetValueNeverAdds) {
  WriteFile("Ini\\Game.Ini", "[Game]\nSet = 5\nSet = 9\n");
  GameIni();
  EXPECT_STREQ(game_chk("Set"), "5");
  EXPECT_STREQ(game_chk("set"), "1");  // keys compare with case
  EXPECT_EQ(game_dirty(), 0);
  set_game_value("Missing", "x");
  EXPECT_EQ(game_dirty(), 0);
  set_game_number("Set", -2);
  EXPECT_STREQ(game_chk("Set"), "-2");
  EXPECT_STREQ(game_chk("Missing"), "1");  // added only now, by the game check
  writeGameIni();
  // The long key added by game check is written unpadded and sets the column, so that the
  // file reads back with the same width; duplicates stay.
  EXPECT_EQ(ReadFile("Ini\\Game.Ini"), std::string(kGameHeader) +
                                           "Set     = -2\n"
                                           "Set     = 9\n"
                                           "Missing = 1\n"
                                           "set     = 1\n"
                                           "\n");
}

TEST_F(GameIniTest, RewritingWrittenFilesGivesTheSameBytes) {
  struct Case {
    const char* what;
    std::string game;
    std::string mazes;
    std::string config;
  };
  const std::string long_value(500, 'p');
  const std::string widest_set(kMaxSetName, 'w');
  const Case cases[] = {
      {"no files: keys added by the game check set the column", "", "", ""},
      {"a value ending in carriage returns and blanks", "[Game]\nPlayer = Ann \r\r\n", "", ""},
      {"a line that padding would take past the reader's piece",
       "[Game]\nPlayer = " + long_value + "\n", "[Mazes]\n" + widest_set + " = 2\n", ""},
      {"a key that leaves no room for a value", "[Game]\n" + std::string(509, 'k') + " = 1\n", "",
       ""},
      {"found by the random test with its draws in the other order",
       "o]Delay1\n/\n!;\"ImportDir\n]-b e\nz\nno\n\r\"\n+\n3\xf8\n",
       "[Mazes]\n\x87[Mazes]Delay1\x10"
       "e\n\n" +
           std::string(1019, 'i') + "Y=5213\n\n.29\n\n\nP[ = z\n",
       " = =i\xd8[Config]\n9 a\n-\n.[Config]\n"},
  };
  for (const Case& test : cases) {
    WriteFile("Ini\\Game.Ini", test.game);
    WriteFile("Ini\\Mazes.Ini", test.mazes);
    WriteFile("Ini\\Config.Ini", test.config);
    ReadAndWriteSettings();
    const std::string game = ReadFile("Ini\\Game.Ini");
    const std::string mazes = ReadFile("Ini\\Mazes.Ini");
    const std::string config = ReadFile("Ini\\Config.Ini");
    for (int rewrite = 1; rewrite <= 2; ++rewrite) {
      ReadAndWriteSettings();
      EXPECT_EQ(ReadFile("Ini\\Game.Ini"), game) << test.what << ", rewrite " << rewrite;
      EXPECT_EQ(ReadFile("Ini\\Mazes.Ini"), mazes) << test.what << ", rewrite " << rewrite;
      EXPECT_EQ(ReadFile("Ini\\Config.Ini"), config) << test.what << ", rewrite " << rewrite;
    }
    for (const std::string& file : {game, mazes, config}) {
      for (std::size_t start = 0, end = 0; start < file.size(); start = end + 1) {
        end = file.find('\n', start);
        EXPECT_LT(end - start, kMaxLine) << test.what << ": a line the reader takes in pieces";
      }
    }
  }
}

TEST_F(GameIniTest, CarriageReturnsAreNotPartOfValues) {
  WriteFile("Ini\\Game.Ini", "\r\n# c\r\n[Game]\r\nPlayer = Ann\r\nMaze = S\r\n");
  GameIni();
  EXPECT_STREQ(game_chk("Player"), "Ann");
  EXPECT_STREQ(game_chk("Maze"), "S");
}

TEST_F(GameIniTest, HostileContentNeitherCrashesNorOverruns) {
  std::string binary = "[Game]\nBin\x01\xff = \x7f\x80\n";
  binary += std::string("Nul = a\0b\n", 10);
  binary += "Long = " + std::string(3000, 'v') + "\n";
  binary += std::string(2000, 'k') + " = 1\n";
  binary += std::string("[").append(1000, 's').append("]\nAfter = 1\n");
  WriteFile("Ini\\Game.Ini", binary);
  EXPECT_EQ(GameIni(), 0);
  EXPECT_EQ(std::strlen(game_chk("Long")), kMaxLine - std::strlen("Long = "));
  EXPECT_STREQ(game_chk("Nul"), "a");
  EXPECT_LE(key_width(), static_cast<int>(kMaxLine));
  set_game_dirty(1);
  EXPECT_EQ(writeGameIni(), 0);
  EXPECT_NE(ReadFile("Ini\\Game.Ini").find("Long"), std::string::npos);
}

TEST_F(GameIniTest, UnreadableOrMissingFilesLeaveTheTablesEmpty) {
  ASSERT_EQ(MakeDirectory("Ini\\Game.Ini"), 0);  // opens, but cannot be read
  EXPECT_EQ(GameIni(), 0);
  std::filesystem::remove_all("Ini");
  EXPECT_EQ(GameIni(), 0);
  EXPECT_EQ(MazesIni(), 0);
  EXPECT_EQ(level_set_count(), 0);
  EXPECT_EQ(key_width(), 0);
}

// ---------------------------------------------------------------------------------------
// Mazes.Ini

TEST_F(MazesIniTest, CountsAreLeadingDecimalNumbers) {
  WriteFile("Ini\\Mazes.Ini",
            "[Mazes]\nA = 12abc\nB = x\nC = -3\nD = +5\nE = 99999999999\nA = 7\nF =\n");
  MazesIni();
  EXPECT_EQ(level_set_names(), (std::vector<std::string>{"A", "B", "C", "D", "E", "A"}));
  EXPECT_EQ(level_count("A"), 12);  // the first entry of a name counts
  EXPECT_EQ(level_count("B"), 0);
  EXPECT_EQ(level_count("C"), -3);
  EXPECT_EQ(level_count("D"), 5);
  EXPECT_EQ(level_count("E"), 2147483647);
  EXPECT_EQ(level_count("a"), 0);
  EXPECT_EQ(first_level_set()->spare, 0);
}

TEST_F(MazesIniTest, WriterSortsTheWholeTableAndSpareFieldsTravelWithTheirSets) {
  WriteFile("Ini\\Mazes.Ini", std::string(kMazesHeader) + "Zed = 3\nalpha = 10\n");
  MazesIni();
  EXPECT_EQ(set_level_count("Beta", 4), 0);
  EXPECT_EQ(set_level_count("Zed", 5), 3);
  EXPECT_EQ(mazes_dirty(), 0);
  EXPECT_EQ(key_width(), 5);
  first_level_set()->spare = 42;  // Zed's
  EXPECT_EQ(set_level_count("LongerName", 1), 0);
  EXPECT_EQ(key_width(), 10);
  writeMazesIni();
  EXPECT_EQ(ReadFile("Ini\\Mazes.Ini"), std::string(kMazesHeader) + "Zed = 3\nalpha = 10\n");
  set_mazes_dirty(1);
  writeMazesIni();
  EXPECT_EQ(ReadFile("Ini\\Mazes.Ini"), std::string(kMazesHeader) +
                                            "alpha      = 10\n"
                                            "Beta       = 4\n"
                                            "LongerName = 1\n"
                                            "Zed        = 5\n"
                                            "\n");
  EXPECT_EQ(level_set_names(), (std::vector<std::string>{"alpha", "Beta", "LongerName", "Zed"}));
  LevelSetEntry* zed = first_level_set();
  while (std::strcmp(zed->name, "Zed") != 0) {
    zed = next_level_set(zed);
  }
  EXPECT_EQ(zed->spare, 42);
  EXPECT_EQ(mazes_dirty(), 0);
}

TEST_F(MazesIniTest, NamesThatWouldLeaveTheMazesFolderAreRefused) {
  const std::string too_long(kMaxSetName + 1, 'n');
  WriteFile("Ini\\Mazes.Ini",
            "[Mazes]\n"
            "Good = 3\n"
            "..  = 2\n"
            ". = 2\n"
            "../.. = 2\n"
            "a/b = 2\n"
            "..\\x = 2\n"
            "/tmp = 2\n"
            "\\\\server\\share = 2\n"
            "Tab\tName = 2\n" +
                too_long +
                " = 2\n"
                "Also Good ... = 4\n");
  WriteFile("Ini\\Game.Ini", "[Game]\nMaze = ../..\nMaze = Good\nPlayer = ../..\n../.. = 2\n");
  MazesIni();
  GameIni();
  EXPECT_EQ(level_set_names(), (std::vector<std::string>{"Good", "Also Good ..."}));
  EXPECT_EQ(key_width(), 13);  // refused names widen nothing
  // The unsafe "Maze" entry is dropped; other keys and the player name are no paths.
  EXPECT_STREQ(game_chk("Maze"), "Good");
  EXPECT_STREQ(game_chk("Player"), "../..");
  EXPECT_STREQ(game_chk("../.."), "2");
  EXPECT_EQ(set_level_count("../evil", 5), 0);
  EXPECT_EQ(set_level_count(std::string(300, 'x'), 5), 0);
  EXPECT_EQ(level_set_count(), 2);

  EXPECT_TRUE(IsSafeSetName("Screens"));
  EXPECT_TRUE(IsSafeSetName(std::string(kMaxSetName, 's')));
  EXPECT_TRUE(IsSafeSetName("...x"));
  for (const std::string name : {"", ".", "..", "a\\b", "C:\\x", "x/", "=x", "a=b", " x", "x ",
                                 "#x", ";x", "[x", "a\nb", "a\rb", "\x7f"}) {
    EXPECT_FALSE(IsSafeSetName(name)) << name;
  }
}

TEST_F(MazesIniTest, SetNamesWidenTheGameColumnToo) {
  WriteFile("Ini\\Mazes.Ini", "[Mazes]\nVeryLongSetName = 3\n");
  WriteFile("Ini\\Game.Ini", "[Game]\nPlayer = Ann\n");
  MazesIni();
  GameIni();
  set_game_dirty(1);
  writeGameIni();
  EXPECT_EQ(ReadFile("Ini\\Game.Ini"), std::string(kGameHeader) + "Player          = Ann\n\n");
}

// ---------------------------------------------------------------------------------------
// Current selection

TEST_F(IniDefaultsTest, FirstRunSelectsScreensAndAddsMazeAndPlayer) {
  IniDefaults();
  EXPECT_STREQ(current_set(), "Screens");
  EXPECT_EQ(current_level(), 1);
  EXPECT_EQ(current_level_count(), 0);
  EXPECT_STREQ(player_name(), "1");
  set_game_dirty(1);
  writeGameIni();
  EXPECT_EQ(ReadFile("Ini\\Game.Ini"), std::string(kGameHeader) + "Maze   = 1\nPlayer = 1\n\n");
}

TEST_F(IniDefaultsTest, KnownSetTakesItsRememberedLevelWhenInRange) {
  WriteFile("Ini\\Mazes.Ini", "[Mazes]\nScreens = 90\nOwn = 20\nEmpty = 0\n");
  struct Case {
    const char* game;
    const char* set;
    int level;
    int count;
  };
  const Case cases[] = {
      {"Maze = Own\nOwn = 7\n", "Own", 7, 20},       {"Maze = Own\nOwn = 20\n", "Own", 20, 20},
      {"Maze = Own\nOwn = 0\n", "Own", 1, 20},       {"Maze = Own\nOwn = 21\n", "Own", 1, 20},
      {"Maze = Own\nOwn = x\n", "Own", 1, 20},       {"Maze = Own\n", "Own", 1, 20},
      {"Maze = Gone\nGone = 3\n", "Screens", 1, 90}, {"Maze = Empty\n", "Screens", 1, 90},
  };
  for (const Case& test : cases) {
    release_ini();
    MazesIni();
    WriteFile("Ini\\Game.Ini", std::string("[Game]\nPlayer = Di\n") + test.game);
    GameIni();
    IniDefaults();
    EXPECT_STREQ(current_set(), test.set) << test.game;
    EXPECT_EQ(current_level(), test.level) << test.game;
    EXPECT_EQ(current_level_count(), test.count) << test.game;
    EXPECT_STREQ(player_name(), "Di");
  }
  EXPECT_STREQ(game_chk("Maze"), "Empty");  // the table keeps the old value
}

TEST_F(IniDefaultsTest, SelectionTextsAreCutToTheirRoom) {
  set_player_name(std::string(150, 'p'));
  EXPECT_EQ(std::strlen(player_name()), static_cast<std::size_t>(kMaxPlayerName));
  set_current_set(std::string(80, 's'));
  EXPECT_EQ(std::strlen(current_set()), static_cast<std::size_t>(kMaxSetName));
  WriteFile("Ini\\Game.Ini", "[Game]\nPlayer = " + std::string(300, 'q') + "\n");
  GameIni();
  IniDefaults();
  EXPECT_EQ(std::string(player_name()), std::string(kMaxPlayerName, 'q'));
  set_current_level(5);
  set_current_level_count(9);
  EXPECT_EQ(current_level(), 5);
  EXPECT_EQ(current_level_count(), 9);
}

TEST_F(IniDefaultsTest, ReleaseFreesEveryEntryAndRestoresTheStart) {
  const int blocks_before = process_pool().blocks_in_use();
  WriteFile("Ini\\Game.Ini", "[Game]\nPlayer = Ann\nMaze = X\n");
  WriteFile("Ini\\Mazes.Ini", "[Mazes]\nX = 4\n");
  GameIni();
  MazesIni();
  IniDefaults();
  set_game_value("X", "2");
  EXPECT_GT(process_pool().blocks_in_use(), blocks_before);
  release_ini();
  EXPECT_EQ(process_pool().blocks_in_use(), blocks_before);
  EXPECT_EQ(level_set_count(), 0);
  EXPECT_EQ(first_level_set(), nullptr);
  EXPECT_EQ(game_dirty(), 0);
  EXPECT_EQ(key_width(), 0);
  EXPECT_STREQ(player_name(), "");
  EXPECT_STREQ(current_set(), "");
  EXPECT_EQ(current_level(), 1);
  EXPECT_EQ(current_level_count(), 1);
}

// ---------------------------------------------------------------------------------------
// Trace log

TEST_F(IniTraceTest, FunctionLevelTracesEntryExitAndEveryLine) {
  LogSelectProgram(kGameLog);
  WriteFile("Ini\\Game.Ini", std::string(kGameHeader) + "Player = Ann\n[x]\nLost = 1\n");
  WriteFile("Ini\\Mazes.Ini", std::string(kMazesHeader) + "Screens = 12\n");
  ASSERT_EQ(setenv("RV7LOG", "func", 1), 0);
  MazesIni();
  GameIni();
  IniDefaults();
  set_game_dirty(1);
  writeGameIni();
  unsetenv("RV7LOG");
  LogReadSwitch();
  const std::string log = ReadFile("RV7LOG.01");
  for (const char* expected : {"rv7ini:",
                               ":GameIni: Entry\n",
                               ":GameIni: Exit, rc=0\n",
                               ":MazesIni: Exit, rc=0\n",
                               ":IniDefaults: Entry\n",
                               ":IniDefaults: Exit\n",
                               ":writeGameIni: Exit, rc=0\n",
                               ":game_chk: Entry\n",
                               "GameIni: open read, Ini\\Game.Ini, f=",
                               "GameIni: close, Ini\\Game.Ini, f=",
                               "GameIni: blank line\n",
                               "GameIni: comment=# comment:\n",
                               "GameIni: header=[Game]\n",
                               "GameIni: ignored=Lost\n",
                               "GameIni: key=Player, value=Ann\n",
                               "MazesIni: set=Screens, mazes=12\n",
                               "game_chk: key=Maze, value=1\n",
                               "IniDefaults: set=Screens, level 1 of 12\n",
                               "IniDefaults: player, name=Ann\n",
                               "writeGameIni: fmt=>%-7s = %s<\n",
                               "writeGameIni: open write, Ini\\Game.Ini, f="}) {
    EXPECT_NE(log.find(expected), std::string::npos) << expected;
  }
}

}  // namespace
