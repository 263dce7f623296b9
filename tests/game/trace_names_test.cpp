// The trace log of a real game session: a start over settings, level and score files with
// every kind of line, steps, a quick repeat, a solve, a bookmark, a missing level, a tile-size
// change and the end. Every known trace text must stand under the module and routine that
// write it, never under a helper's name.
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine.h"
#include "game_fixture.h"

namespace {

// One written line, taken apart: "hh:mm:ss.mmm ids module:line:function: text".
struct TraceLine {
  std::string module;
  std::string function;
  std::string text;
};

using Writers = std::set<std::pair<std::string, std::string>>;

// A known trace text and the (module, routine) pairs allowed to write it.
struct KnownTrace {
  KnownTrace(const char* text, Writers allowed)
      : pattern(text), matcher(text), writers(std::move(allowed)) {}
  std::string pattern;
  std::regex matcher;
  Writers writers;
};

const Writers kSettingsReaders{
    {"rv7ini", "GameIni"}, {"rv7ini", "MazesIni"}, {"rv7cfg", "ConfigIni"}};
const Writers kSettingsFiles{{"rv7ini", "GameIni"},       {"rv7ini", "MazesIni"},
                             {"rv7cfg", "ConfigIni"},     {"rv7ini", "writeGameIni"},
                             {"rv7ini", "writeMazesIni"}, {"rv7cfg", "writeConfigIni"}};
const Writers kScoreWriters{{"rv7score", "SaveSolution"}, {"rv7score", "SaveBookmark"}};
const Writers kRedraws{{"engine", "atpos"}, {"engine", "atnew"}, {"engine", "atxxx"}};

const std::vector<KnownTrace>& KnownTraces() {
  static const std::vector<KnownTrace> traces = [] {
    Writers settings_comment = kSettingsReaders;
    settings_comment.insert({"rv7maze", "GetMaze"});
    Writers key_value = {{"rv7ini", "GameIni"}, {"rv7cfg", "ConfigIni"}, {"rv7ini", "game_chk"}};
    Writers record_name = kScoreWriters;
    record_name.insert({"rv7score", "GetStats"});
    Writers score_close = kScoreWriters;
    score_close.insert({"rv7score", "GetStats"});
    return std::vector<KnownTrace>{
        {"blank line", kSettingsReaders},
        {"comment=.*", settings_comment},
        {"header=\\[.*\\]", kSettingsReaders},
        {"ignored=.*", kSettingsReaders},
        {"key=.*, value=.*", key_value},
        {"set=.*, mazes=-?\\d+", {{"rv7ini", "MazesIni"}}},
        {"open read, .*, f=[0-9a-f]{8}", kSettingsReaders},
        {"open write, .*, f=[0-9a-f]{8}", kSettingsFiles},
        {"close, .*, f=[0-9a-f]{8}", kSettingsFiles},
        {"fmt=>.*<", {{"rv7ini", "writeGameIni"}, {"rv7ini", "writeMazesIni"}}},
        {"set=.*, level \\d+ of \\d+", {{"rv7ini", "IniDefaults"}}},
        {"player, name=.*", {{"rv7ini", "IniDefaults"}}},
        {"open file=.*", {{"rv7maze", "GetMaze"}}},
        {"close file=(?!.*\\.rv7$).*", {{"rv7maze", "GetMaze"}}},
        {"maze size, y=\\d+, x=\\d+", {{"rv7maze", "GetMaze"}}},
        {"/\\*\\d\\*/\".*\"", {{"rv7maze", "GetMaze"}}},
        {"short comment=.*", {{"rv7maze", "GetMaze"}}},
        {"tag=.*", {{"rv7maze", "GetMaze"}}},
        {"ignore=.*", {{"rv7maze", "GetMaze"}}},
        {"korvala, y=\\d+, x=\\d+", {{"engine", "InitLevel"}}},
        {"y=\\d+, x=\\d+", kRedraws},
        {"open read file=.*", {{"rv7score", "GetStats"}}},
        {"close file=.*\\.rv7", score_close},
        {"Bookmarked", {{"rv7score", "GetStats"}}},
        {"\\d+\\.\\d+\\..+", record_name},
        {"open write file=.*", kScoreWriters},
        {"iSolver=\\d+, iMatch=\\d+", {{"engine", "GetMatch"}, {"engine", "GoQuick"}}},
        {"screen, \\d+x\\d+", {{"rv7game", "InitSize"}}},
        {"bitmap size, \\d+", {{"rv7game", "InitSize"}}},
        {"hwnd=[0-9a-f]{8}", {{"rv7game", "Create"}}},
        {"client, x=\\d+, y=\\d+", {{"rv7game", "WM_SIZE"}}},
        {"mparray\\[0\\]\\.x=\\d+", {{"rv7bmps", "InitBitmap"}}},
        {"maze, inset=\\d+", {{"rv7bmps", "InitBitmap"}}},
        {"to (calc|centre|set), xL=-?\\d+,yT=-?\\d+ and xR=-?\\d+, yB=-?\\d+",
         {{"rv7game", "SizeWindow"}}},
        {"Maze '.*' not found", {{"rv7game", "DoPaint"}}},
        {"beep, freq=\\d+, ms=\\d+", {{"beep", "Beep"}}},
    };
  }();
  return traces;
}

// Routines whose entry must be in the log, with the module they belong to.
const Writers kTracedRoutines{
    {"rv7cfg", "CfgDefaults"},    {"rv7cfg", "ConfigIni"},      {"rv7ini", "MazesIni"},
    {"rv7ini", "GameIni"},        {"rv7ini", "IniDefaults"},    {"rv7ini", "game_chk"},
    {"rv7ini", "writeGameIni"},   {"rv7cfg", "writeConfigIni"}, {"rv7game", "Create"},
    {"rv7game", "InitSize"},      {"rv7game", "SizeWindow"},    {"rv7game", "NoSizeWindow"},
    {"rv7game", "CheckTileSize"}, {"rv7game", "DoPaint"},       {"rv7bmps", "InitBitmap"},
    {"rv7bmps", "LoadBitmaps"},   {"rv7bmps", "FreeBitmaps"},   {"rv7maze", "GetMaze"},
    {"rv7score", "GetStats"},     {"rv7score", "SaveSolution"}, {"rv7score", "SaveBookmark"},
    {"engine", "InitLevel"},      {"engine", "atpos"},          {"engine", "atnew"},
    {"engine", "atxxx"},          {"engine", "GoQuick"},        {"engine", "GetMatch"},
};

constexpr std::size_t kTimeStampLength = 13;

bool Parse(const std::string& line, TraceLine& out) {
  static const std::regex kLayout(R"(^[^ ]+ ([A-Za-z0-9_]+):\d+:([^:]+): (.*)$)");
  std::smatch match;
  if (line.size() <= kTimeStampLength ||
      !std::regex_match(line.begin() + kTimeStampLength, line.end(), match, kLayout)) {
    return false;
  }
  out = TraceLine{match[1], match[2], match[3]};
  return true;
}

std::vector<TraceLine> ReadTrace() {
  std::vector<TraceLine> lines;
  for (int number = 1; number <= 9; ++number) {
    std::ifstream in("RV7LOG.0" + std::to_string(number));
    for (std::string line; std::getline(in, line);) {
      TraceLine parsed;
      EXPECT_TRUE(Parse(line, parsed)) << line;
      lines.push_back(parsed);
    }
  }
  return lines;
}

// Settings, level and score files with every kind of line their readers trace.
void WriteSessionFiles() {
  GameWindowTest::WriteFile("Ini\\Game.Ini",
                            "\n# comment\nBefore = 1\n\n[Game]\nMaze = Set\nPlayer = Tester\n"
                            "Set = 1\n");
  GameWindowTest::WriteFile("Ini\\Mazes.Ini", "[Mazes]\nSet = 2\n");
  GameWindowTest::WriteFile("Ini\\Config.Ini", "[Config]\nDelay1 = 0\nUnknown = 3\n");
  // "rruulDld" walks round the pillar and pushes the upper crate onto the lower goal, back
  // to the start; repeating it pushes that crate off again, against the lower crate.
  GameWindowTest::WriteFile("Mazes\\Set\\Set.1",
                            "; short\nTitle: Pillar\nComment:\n#### not a row\nComment-End:\n"
                            "free text\n"
                            "########\n"
                            "##   ###\n"
                            "## $ ###\n"
                            "##@. $.#\n"
                            "########\n");
  GameWindowTest::WriteFile("Mazes\\Set\\Set.1.rv7",
                            "\n# comment\n\n[9.1.Someone]\nrruulDldr\n\n[0.0.Bookmark]\n\n");
}

using TraceNamesTest = GameWindowTest;

TEST_F(TraceNamesTest, EveryKnownTraceStandsUnderItsRoutine) {
  WriteSessionFiles();
  ::setenv("RV7LOG", "all", 1);
  Start();
  Press(Qt::Key_Left);  // refused: a beep
  for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Up, Qt::Key_Up, Qt::Key_Left,
                      Qt::Key_Down, Qt::Key_Left, Qt::Key_Down}) {
    Press(key);
  }
  ASSERT_EQ(stored_count(), 1);
  DoCommand(kCmdSaveBookmark);
  Press(Qt::Key_Space);  // the quick repeat pushes the crate off its goal
  WaitForReplayEnd();
  Press(Qt::Key_R);
  for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Up, Qt::Key_Up, Qt::Key_Left,
                      Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Right}) {
    Press(key);  // the last push solves the level: the score file is written
  }
  ASSERT_EQ(stored_count(), crate_count());
  Press(Qt::Key_N);  // level 2 has no file
  Shot();
  Press(Qt::Key_I);
  Shot();
  Finish();
  ::unsetenv("RV7LOG");

  const std::vector<TraceLine> lines = ReadTrace();
  ASSERT_FALSE(lines.empty());
  std::vector<int> seen(KnownTraces().size(), 0);
  Writers entered;
  for (const TraceLine& line : lines) {
    if (line.text == "Entry") {
      entered.insert({line.module, line.function});
      continue;
    }
    for (std::size_t k = 0; k < KnownTraces().size(); ++k) {
      const KnownTrace& known = KnownTraces()[k];
      if (!std::regex_match(line.text, known.matcher)) {
        continue;
      }
      ++seen[k];
      EXPECT_TRUE(known.writers.count({line.module, line.function}) == 1)
          << "\"" << line.text << "\" under " << line.module << ":" << line.function;
    }
  }
  for (std::size_t k = 0; k < KnownTraces().size(); ++k) {
    EXPECT_GT(seen[k], 0) << "never traced: " << KnownTraces()[k].pattern;
  }
  for (const auto& routine : kTracedRoutines) {
    EXPECT_EQ(entered.count(routine), 1u) << routine.first << ":" << routine.second;
  }
}

}  // namespace
