// Level import without windows: where levels end, the level files written, the set name made
// from the file name, and the settings written at once.
#include "import.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "clip_text.h"
#include "files.h"
#include "rv7ini.h"
#include "scratch_directory.h"

namespace {

constexpr char kGameHeader[] = "\n# comment:\n# current game setup.\n# do not modify.\n\n[Game]\n";
constexpr char kMazesHeader[] =
    "\n# comment:\n# to identify number of mazes in each set.\n# do not modify.\n\n[Mazes]\n";

// A data directory with the player Tester in Screens (17 levels).
class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch_.made());
    release_ini();
    Write("Ini/Game.Ini",
          std::string(kGameHeader) + "Maze    = Screens\nPlayer  = Tester\nScreens = 3\n");
    Write("Ini/Mazes.Ini", std::string(kMazesHeader) + "Screens = 17\n");
    MazesIni();
    GameIni();
    IniDefaults();
  }
  void TearDown() override { release_ini(); }

  static void Write(const std::string& path, std::string_view text) {
    ASSERT_TRUE(WriteTextFile(path, text)) << path;
  }
  static std::string Read(const std::string& path) { return ReadTextFile(path); }
  std::string TextPath(const std::string& name) const { return (scratch_.path() / name).string(); }

  // Writes `text` as the file `name` and imports it into the set `set`, as the command does
  // after its dialogs.
  ImportResult Import(const std::string& name, std::string_view text, const std::string& set) {
    Write(name, text);
    MakeSetDirectory(set);
    const ImportResult result = ImportLevelFile(TextPath(name), set);
    if (result.opened) {
      RegisterImportedSet(set, result.levels);
    }
    return result;
  }

  ScratchDirectory scratch_{"rv7import"};
};

// The levels a text is cut into, in memory.
struct MemorySink : LevelSink {
  bool begin_level(int number) override {
    EXPECT_EQ(number, static_cast<int>(levels.size()) + 1);
    levels.emplace_back();
    return true;
  }
  void write_line(std::string_view line) override { levels.back().append(line).append("\n"); }
  bool end_level() override { return true; }
  std::vector<std::string> levels;
};

// `text` must not be empty (fmemopen wants at least one byte).
std::vector<std::string> Chunk(std::string text, std::string_view set) {
  MemorySink sink;
  FILE* file = fmemopen(text.data(), text.size(), "r");
  EXPECT_NE(file, nullptr);
  const int levels = ChunkLevels(file, set, sink);
  std::fclose(file);
  EXPECT_EQ(levels, static_cast<int>(sink.levels.size()));
  return sink.levels;
}

constexpr char kTwoLevelsWithTitles[] =
    "Title: First\n"
    "Author: Ann\n"
    "\n"
    "#####\n"
    "#@$.#\n"
    "#####\n"
    "\n"
    "\n"
    "\n"
    "Title: Second   \t\r\n"
    "######\n"
    "#@ $.#\n"
    "######\n"
    "Comment after the rows\n"
    "\n"
    "; third, without an empty line at the end\n"
    "####\n"
    "#@*#\n"
    "####";

TEST_F(ImportTest, TitlesEmptyLinesAndALastLevelWithoutEmptyLine) {
  const ImportResult result = Import("Demo.txt", kTwoLevelsWithTitles, "Demo");
  EXPECT_TRUE(result.opened);
  EXPECT_EQ(result.levels, 3);
  EXPECT_EQ(Read("Mazes/Demo/Demo.1"), "Title: First\nAuthor: Ann\n#####\n#@$.#\n#####\n\n");
  EXPECT_EQ(Read("Mazes/Demo/Demo.2"),
            "Title: Second\n######\n#@ $.#\n######\nComment after the rows\n\n");
  EXPECT_EQ(Read("Mazes/Demo/Demo.3"),
            "; third, without an empty line at the end\n####\n#@*#\n####\n");
  EXPECT_FALSE(std::filesystem::exists("Mazes/Demo/Demo.4"));
  EXPECT_EQ(Read("Ini/Mazes.Ini"), std::string(kMazesHeader) + "Demo    = 3\nScreens = 17\n\n");
  EXPECT_EQ(Read("Ini/Game.Ini"), std::string(kGameHeader) +
                                      "Maze    = Screens\nPlayer  = Tester\nDemo    = 1\n"
                                      "Screens = 3\n\n");
  // The selection stays where it was.
  EXPECT_STREQ(current_set(), "Screens");
  EXPECT_EQ(current_level_count(), 17);
}

TEST_F(ImportTest, NoMazeRowGivesOneLevelAndAnEmptyFileNone) {
  EXPECT_EQ(Import("Words.txt", "one\n\ntwo\n\n\nthree\n", "Words").levels, 1);
  EXPECT_EQ(Read("Mazes/Words/Words.1"), "one\ntwo\nthree\n");

  const ImportResult empty = Import("Empty.txt", "", "Empty");
  EXPECT_TRUE(empty.opened);
  EXPECT_EQ(empty.levels, 0);
  EXPECT_TRUE(std::filesystem::is_empty("Mazes/Empty"));
  EXPECT_EQ(level_count("Empty"), 0);
  EXPECT_NE(Read("Ini/Mazes.Ini").find("Empty   = 0\n"), std::string::npos);

  EXPECT_FALSE(ImportLevelFile(TextPath("Missing.txt"), "Missing").opened);
  // A FIFO would block the game until something writes to it: it is not opened.
  ASSERT_EQ(mkfifo(TextPath("Pipe.txt").c_str(), 0600), 0);
  EXPECT_FALSE(ImportLevelFile(TextPath("Pipe.txt"), "Pipe").opened);
  EXPECT_FALSE(ImportLevelFile(scratch_.path().string(), "Dir").opened);
}

TEST_F(ImportTest, AShorterReimportCountsOnlyItsOwnLevels) {
  Import("Demo.txt", kTwoLevelsWithTitles, "Demo");
  EXPECT_EQ(MakeSetDirectory("Demo"), EEXIST);
  EXPECT_EQ(Import("Demo.txt", "#\n", "Demo").levels, 1);
  EXPECT_EQ(level_count("Demo"), 1);
  EXPECT_EQ(Read("Mazes/Demo/Demo.1"), "#\n");
  EXPECT_TRUE(std::filesystem::exists("Mazes/Demo/Demo.3"));
}

TEST_F(ImportTest, ALevelFileThatCannotBeCreatedEndsTheImport) {
  // A directory where level 2's file belongs: creating it fails.
  std::filesystem::create_directories("Mazes/Demo/Demo.2");
  const ImportResult result = Import("Demo.txt", kTwoLevelsWithTitles, "Demo");
  EXPECT_EQ(result.levels, 1);
  EXPECT_FALSE(std::filesystem::exists("Mazes/Demo/Demo.3"));
  EXPECT_EQ(level_count("Demo"), 1);
}

TEST_F(ImportTest, TheSetInPlayTakesItsNewLevelCount) {
  Import("Screens.txt", "#\n\n#\n", "Screens");
  EXPECT_EQ(current_level_count(), 2);
  // Screens drops its last letter in file names, as the level reader expects.
  EXPECT_TRUE(std::filesystem::exists("Mazes/Screens/Screen.2"));
  EXPECT_EQ(current_level(), 3);
}

TEST(LevelChunker, FgLinesStartLevelsOnlyInSimlevAndTorvelin) {
  const std::string text = "#####\n#@$.#\n#####\nFG2\n####\n#@*#\n####\nFG1\nFG\nFG0\nFGX\n#\n";
  const std::vector<std::string> simlev = Chunk(text, "simlev");
  ASSERT_EQ(simlev.size(), 3U);
  EXPECT_EQ(simlev[0], "#####\n#@$.#\n#####\n");
  EXPECT_EQ(simlev[1], "FG2\n####\n#@*#\n####\nFG1\nFG\nFG0\n");
  EXPECT_EQ(simlev[2], "FGX\n#\n");
  EXPECT_EQ(Chunk(text, "torvelin").size(), 3U);
  EXPECT_EQ(Chunk(text, "Simlev").size(), 1U);
  EXPECT_EQ(Chunk(text, "Other").front(), text);
}

TEST(LevelChunker, LongLinesComeInPiecesAndTrailingBytesAreCut) {
  // 2 100 wall characters: pieces of 1 023, 1 023 and 54, each its own line.
  const std::vector<std::string> pieces = Chunk(std::string(2100, '#') + "\n", "Long");
  ASSERT_EQ(pieces.size(), 1U);
  EXPECT_EQ(pieces[0], std::string(1023, '#') + "\n" + std::string(1023, '#') + "\n" +
                           std::string(54, '#') + "\n");
  // Blanks, tabs, control bytes and bytes from 128 up are cut from the end only.
  const std::vector<std::string> trimmed = Chunk("# \xe9#\t \x01\x7f\xff\xe9\r\n", "Bytes");
  ASSERT_EQ(trimmed.size(), 1U);
  EXPECT_EQ(trimmed[0], "# \xe9#\t \x01\x7f\n");
  // A line of nothing but such bytes is an empty line.
  EXPECT_EQ(Chunk("#\n \t\xff\r\nx\n", "Bytes").size(), 2U);
}

TEST(ImportSource, SetNameComesFromTheFileNameOnly) {
  const ImportSource source = SplitImportPath("/home/ann/levels/My Levels.v2.txt");
  EXPECT_EQ(source.directory, "/home/ann/levels/");
  EXPECT_EQ(source.file_name, "My Levels.v2");
  EXPECT_EQ(source.extension, ".txt");
  EXPECT_EQ(source.set, "My_Levels.v2");

  EXPECT_EQ(SplitImportPath("noext").set, "noext");
  EXPECT_EQ(SplitImportPath("/x/.txt").set, "");
  EXPECT_EQ(SplitImportPath("/x/...txt").set, "");
  // Backslashes are the suite's separator: they never lead out of Mazes.
  EXPECT_EQ(SplitImportPath("/x/..\\..\\evil.txt").set, ".._.._evil");
  EXPECT_EQ(SetNameForFile("a=b[c]\td"), "a_b_c__d");
  EXPECT_EQ(SetNameForFile("#x;y"), "_x;y");
  // Cut to what a clipboard level header carries, never inside a character of two bytes.
  EXPECT_EQ(SetNameForFile(std::string(60, 'a')), std::string(kMaxHeaderSetName, 'a'));
  EXPECT_EQ(SetNameForFile(std::string(48, 'a') + "\xc3\xa9z"), std::string(48, 'a'));
}

}  // namespace
