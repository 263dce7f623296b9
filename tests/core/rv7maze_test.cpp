#include "rv7maze.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "level_dir_fixture.h"
#include "rv7ini.h"
#include "rv7score.h"

namespace {

using Rows = std::vector<std::string>;

class Maze : public LevelDirTest {};

// A small closed level in its plain form, and the grid it loads to.
constexpr char kPlain[] =
    "#######\n"
    "#.@$  #\n"
    "#  *  #\n"
    "#######\n";
const Rows kPlainRows = {"#######", "#.@$  #", "#  *  #", "#######"};

// Every row of the level grid is a text of exactly W characters ending in column W.
void ExpectRowsTerminated() {
  for (int r = 0; r < MazeHeight(); ++r) {
    EXPECT_EQ(std::strlen(LevelGrid()[r].data()), static_cast<std::size_t>(MazeWidth()))
        << "row " << r;
  }
}

// The first and last rows and columns of the level are wall: no step can leave it.
void ExpectClosedBorder() {
  const int h = MazeHeight();
  const int w = MazeWidth();
  for (int r = 0; r < h; ++r) {
    EXPECT_EQ(LevelGrid()[r][0], kWall) << "row " << r;
    EXPECT_EQ(LevelGrid()[r][w - 1], kWall) << "row " << r;
  }
  for (int c = 0; c < w; ++c) {
    EXPECT_EQ(LevelGrid()[0][c], kWall) << "column " << c;
    EXPECT_EQ(LevelGrid()[h - 1][c], kWall) << "column " << c;
  }
}

TEST_F(Maze, PathUsesShortBaseNameForThreeSetsOnly) {
  set_current_level(3);
  const std::pair<const char*, const char*> kCases[] = {
      {"Screens", "Mazes\\Screens\\Screen.3"},     {"Harune1", "Mazes\\Harune1\\Harune.3"},
      {"Harune2", "Mazes\\Harune2\\Harune.3"},     {"screens", "Mazes\\screens\\screens.3"},
      {"Screens2", "Mazes\\Screens2\\Screens2.3"}, {"S", "Mazes\\S\\S.3"}};
  for (const auto& [set, path] : kCases) {
    set_current_set(set);
    EXPECT_EQ(MazePath(), path) << set;
  }
  set_current_set("Set");
  set_current_level(12);
  EXPECT_EQ(MazePath(), "Mazes\\Set\\Set.12");
  EXPECT_EQ(ScorePath(), "Mazes\\Set\\Set.12.rv7");
}

TEST_F(Maze, PlainLevelLoadsExactly) {
  LoadLevel(kPlain);
  EXPECT_EQ(MazeHeight(), 4);
  EXPECT_EQ(MazeWidth(), 7);
  EXPECT_EQ(LevelRows(), kPlainRows);
  ExpectRowsTerminated();
}

TEST_F(Maze, LineEndingsAndIndentationDoNotChangeTheLevel) {
  const char* kVariants[] = {
      // carriage return + line feed
      "#######\r\n#.@$  #\r\n#  *  #\r\n#######\r\n",
      // indented by four blanks, trailing blanks, tabs and high bytes
      "    #######   \n    #.@$  #\t\n    #  *  #\xA0\xFF\n    #######\n",
      // no line feed after the last row
      "#######\n#.@$  #\n#  *  #\n#######",
  };
  for (const char* text : kVariants) {
    LoadLevel(text);
    EXPECT_EQ(LevelRows(), kPlainRows) << text;
    EXPECT_EQ(MazeWidth(), 7);
  }
}

TEST_F(Maze, CommentsTagsAndEmptyLinesBetweenRowsJoinTheGrid) {
  LoadLevel(
      "Title: Joined\n"
      "#######\n"
      "\n"
      "; short comment\n"
      "#.@$  #\n"
      "/ another one\n"
      "TITLE: upper case tag\n"
      "author: lower case tag\n"
      "#  *  #\n"
      "just some text\n"
      "#######\n");
  EXPECT_EQ(LevelRows(), kPlainRows);
}

TEST_F(Maze, RowsInsideCommentBlockAreNotGridRows) {
  LoadLevel(
      "#######\n"
      "comment:\n"
      "# looks like a row #\n"
      "Comment:\n"  // a second start inside the block changes nothing
      "   ###\n"
      "COMMENT-END:\n"
      "#.@$  #\n"
      "Comment-End:\n"  // an end outside a block changes nothing
      "#  *  #\n"
      "#######\n");
  EXPECT_EQ(LevelRows(), kPlainRows);
}

TEST_F(Maze, TagWordWithoutColonStartsNoCommentBlock) {
  LoadLevel(
      "Comment\n"
      "#######\n"
      "#.@$  #\n"
      "#  *  #\n"
      "#######\n");
  EXPECT_EQ(LevelRows(), kPlainRows);
}

TEST_F(Maze, TracesEveryLineKindAndTheRows) {
  const std::string trace = CaptureTrace([] {
    LoadLevel(
        "; short\n"
        "/ slash\n"
        "title: T\n"
        "Comment:\n"
        "# in block\n"
        "text in block\n"
        "Comment-End:\n"
        "\t###\n"
        "###\n"
        "#@#\n"
        "###\n");
  });
  for (const char* text :
       {"open file=Mazes\\Set\\Set.1", "short comment=; short", "short comment=/ slash",
        "tag=title: T", "tag=Comment:", "comment=# in block", "comment=text in block",
        "tag=Comment-End:", "ignore=\t###", "close file=Mazes\\Set\\Set.1", "maze size, y=3, x=3",
        "/*1*/\"###\"", "/*2*/\"#@#\"", "/*3*/\"###\"", "open read file=Mazes\\Set\\Set.1.rv7"}) {
    EXPECT_NE(trace.find(text), std::string::npos) << text;
  }
}

TEST_F(Maze, RowsStartingWithTabOrCrateAreIgnored) {
  LoadLevel(
      "#######\n"
      "\t#  $ #\n"
      "#.@$  #\n"
      "$ # # #\n"
      "#  *  #\n"
      ".######\n"
      "#######\n");
  EXPECT_EQ(LevelRows(), kPlainRows);
}

TEST_F(Maze, OutsideOfTheWallsBecomesWall) {
  LoadLevel(
      "  #####\n"
      "###   #\n"
      "#.@$  #  \n"
      "#  *###\n"
      "#  #  \n"
      "####\n");
  const Rows expected = {"#######", "###   #", "#.@$  #", "#  *###", "#  ####", "#######"};
  EXPECT_EQ(LevelRows(), expected);
  ExpectRowsTerminated();
  ExpectClosedBorder();
}

TEST_F(Maze, FloorAfterTheLastWallOfARowBecomesWall) {
  LoadLevel(
      "#####\n"
      "#@$.#  $ .\n"
      "#####\n");
  const Rows expected = {"#####", "#@$.#", "#####"};
  EXPECT_EQ(LevelRows(), expected);
  EXPECT_EQ(MazeWidth(), 5);
}

TEST_F(Maze, EnclosedPocketOutsideKeepsItsFloor) {
  // The pocket at row 3 has walls on both sides in its row and its column: no flood fill.
  LoadLevel(
      "#######\n"
      "#.@$  #\n"
      "### ###\n"
      "#  #  #\n"
      "#######\n");
  EXPECT_EQ(LevelRows()[3], "#  #  #");
}

TEST_F(Maze, OtherCharactersStayInTheGrid) {
  LoadLevel(
      "######\n"
      "#@$.x#\n"
      "######\n");
  EXPECT_EQ(LevelRows()[1], "#@$.x#");
}

TEST_F(Maze, SurplusWallRowsAndColumnsAreTrimmedToOne) {
  LoadLevel(
      "#########\n"
      "#########\n"
      "###.@$ ##\n"
      "#########\n"
      "#########\n");
  EXPECT_EQ(MazeHeight(), 3);
  EXPECT_EQ(MazeWidth(), 6);
  EXPECT_EQ(LevelRows(), (Rows{"######", "#.@$ #", "######"}));
  ExpectRowsTerminated();
}

TEST_F(Maze, TwoBottomWallRowsLoseOneSingleRowStays) {
  LoadLevel(std::string(kPlain) + "#######\n");
  EXPECT_EQ(LevelRows(), kPlainRows);
  LoadLevel(kPlain);
  EXPECT_EQ(MazeHeight(), 4);
}

TEST_F(Maze, BoardOutsideTheLevelIsWall) {
  LoadLevel(
      "#####\n"
      "#@$.###\n"
      "#   $.#\n"
      "#######\n");
  ASSERT_EQ(MazeWidth(), 7);
  ASSERT_EQ(MazeHeight(), 4);
  for (int r = 0; r < kGridRows; ++r) {
    for (int c = 0; c < kGridColumns; ++c) {
      if (r >= MazeHeight() || c >= MazeWidth()) {
        EXPECT_EQ(Board()[r][c], kWall) << r << "," << c;
      }
    }
  }
  EXPECT_EQ(LevelRows()[0], "#######");
}

TEST_F(Maze, MissingFileGivesEmptyLevelAndDropsPreviousRecords) {
  LoadLevel(kPlain);
  RecordSolution("P", SolutionSteps{1, 0, "r"});
  SaveBookmark(SolutionSteps{1, 0, "r"});
  ASSERT_EQ(SolutionRecords().size(), 1u);
  set_current_level(2);
  GetMaze();
  EXPECT_EQ(MazeHeight(), 0);
  EXPECT_EQ(MazeWidth(), 0);
  EXPECT_EQ(MazeLoadState(), MazeLoad::kNotFound);
  EXPECT_TRUE(SolutionRecords().empty());
  EXPECT_FALSE(BookmarkLetters().has_value());
  EXPECT_EQ(BestMoves(), 0);
  for (const Grid* grid : {&LevelGrid(), &Board()}) {
    for (const GridRow& row : *grid) {
      EXPECT_EQ(std::string(row.begin(), row.end()), std::string(kGridColumns, kFloor));
    }
  }
}

TEST_F(Maze, FileWithoutGridRowsHasHeightZero) {
  LoadLevel("Title: nothing\n; here\n\n\t###\n");
  EXPECT_EQ(MazeHeight(), 0);
  EXPECT_EQ(MazeWidth(), 0);
}

TEST_F(Maze, LargestLevelLoadsLargerOneIsRefused) {
  const std::string room(kMaxLevelWidth - 2, kFloor);
  std::string largest = "    " + std::string(kMaxLevelWidth, kWall) + "\n";  // indentation
  for (int r = 1; r < kMaxLevelHeight - 1; ++r) {
    largest += "    #" + room + "#\n";
  }
  largest += "    " + std::string(kMaxLevelWidth, kWall) + "\n";
  LoadLevel(largest);
  EXPECT_EQ(MazeHeight(), kMaxLevelHeight);
  EXPECT_EQ(MazeWidth(), kMaxLevelWidth);
  EXPECT_EQ(MazeLoadState(), MazeLoad::kLoaded);
  ExpectRowsTerminated();

  LoadLevel(largest + "#\n");  // one row too many
  EXPECT_EQ(MazeHeight(), 0);
  EXPECT_EQ(MazeLoadState(), MazeLoad::kTooLarge);
  LoadLevel("#" + largest);  // first row one wider than the limit, no indentation left
  EXPECT_EQ(MazeHeight(), 0);
  EXPECT_EQ(MazeWidth(), 0);
  EXPECT_EQ(MazeLoadState(), MazeLoad::kTooLarge);
}

// A FIFO without a writer, a device that never ends, a directory and a file larger than any
// level file: none holds the load up, each leaves the empty level, and no score file is read.
TEST_F(Maze, FilesThatNeverEndLoadNothing) {
  WriteFile("Mazes\\Set\\Set.5.rv7", "[1.0.P]\nr\n");
  for (int level = 1; level <= 4; ++level) {
    WriteFile("Mazes\\Set\\Set." + std::to_string(level) + ".rv7", "[1.0.P]\nr\n");
  }
  const auto load = [](int level) {
    set_current_level(level);
    GetMaze();
    EXPECT_EQ(MazeHeight(), 0) << level;
    EXPECT_TRUE(SolutionRecords().empty()) << level;
    return MazeLoadState();
  };
  ASSERT_EQ(::mkfifo("Mazes/Set/Set.1", 0600), 0);
  EXPECT_EQ(load(1), MazeLoad::kNotFound);
  ASSERT_EQ(::symlink("/dev/zero", "Mazes/Set/Set.2"), 0);
  EXPECT_EQ(load(2), MazeLoad::kNotFound);
  ASSERT_EQ(MakeDirectory("Mazes\\Set\\Set.3"), 0);
  EXPECT_EQ(load(3), MazeLoad::kNotFound);
  {
    // Sparse: the size is there without the bytes being written.
    std::ofstream("Mazes/Set/Set.4") << "#####\n#@$.#\n#####\n";
    std::filesystem::resize_file("Mazes/Set/Set.4", kMaxReadBytes + 1);
  }
  EXPECT_EQ(load(4), MazeLoad::kTooLarge);
  LoadLevel("#####\n#@$.#\n#####\n", 5);  // and the next level loads as ever
  EXPECT_EQ(MazeLoadState(), MazeLoad::kLoaded);
  EXPECT_EQ(SolutionRecords().size(), 1u);
}

TEST_F(Maze, SetNamesThatLeaveTheMazesFolderReadNothing) {
  WriteFile("Outside/Outside.1", "#####\n#@$.#\n#####\n");
  WriteFile("Outside/Outside.1.rv7", "[1.0.P]\nr\n");
  for (const char* set : {"../Outside", "..\\Outside"}) {
    set_current_set(set);
    set_current_level(1);
    GetMaze();
    EXPECT_EQ(MazeHeight(), 0) << set;
    EXPECT_EQ(MazeLoadState(), MazeLoad::kNotFound) << set;
    EXPECT_TRUE(SolutionRecords().empty()) << set;
    EXPECT_EQ(RecordSolution("P", SolutionSteps{1, 1, "R"}), ENOENT) << set;
  }
  EXPECT_EQ(ReadFile("Outside/Outside.1.rv7"), "[1.0.P]\nr\n");
}

TEST_F(Maze, RefusedLevelReadsNoScoreFile) {
  WriteFile("Mazes\\Set\\Set.1.rv7", "[1.0.P]\nr\n");
  LoadLevel(std::string(kMaxLevelWidth + 1, kWall) + "\n");
  EXPECT_EQ(MazeHeight(), 0);
  EXPECT_TRUE(SolutionRecords().empty());
}

TEST_F(Maze, LongLineIsReadInPiecesOf255) {
  // The comment's second piece begins with "#" and is taken as a grid row of its own.
  LoadLevel(";" + std::string(254, 'x') + "###\n#@#\n###\n");
  EXPECT_EQ(LevelRows(), (Rows{"###", "#@#", "###"}));
}

TEST_F(Maze, DegenerateLevelsEndTrimming) {
  const char* kCases[] = {"   $ .\n  @\n", "###\n###\n###\n", "#\n", "# $\n", "  #\n #\n#\n"};
  for (const char* text : kCases) {
    LoadLevel(text);
    EXPECT_GE(MazeHeight(), 1) << text;
    EXPECT_GE(MazeWidth(), 1) << text;
    ExpectRowsTerminated();
    ExpectClosedBorder();
  }
  LoadLevel("###\n###\n###\n");
  EXPECT_EQ(LevelRows(), Rows{"#"});
}

TEST_F(Maze, ReduceKeepsTheBoxAroundObjects) {
  LoadLevel(
      "#######\n"
      "#     #\n"
      "# @$. #\n"
      "#     #\n"
      "#######\n");
  ReduceMaze();
  EXPECT_EQ(LevelRows(), (Rows{"#####", "#@$.#", "#####"}));
  ExpectRowsTerminated();

  LoadLevel(
      "########\n"
      "#  .   #\n"
      "# $  * #\n"
      "#   @  #\n"
      "########\n");
  ReduceMaze();
  EXPECT_EQ(LevelRows(), (Rows{"######", "##.###", "#$##*#", "###@##", "######"}));
}

TEST_F(Maze, ReduceOfEmptyLevelStaysEmpty) {
  set_current_level(9);
  GetMaze();
  ReduceMaze();
  EXPECT_EQ(MazeHeight(), 0);
  EXPECT_EQ(MazeWidth(), 0);
}

// Random bytes, runaway lines and thousands of sections never write outside the grids
// (the sanitizer build checks that) and always leave a sound level.
TEST_F(Maze, FuzzedFilesLoadSafely) {
  std::mt19937 random(7);
  const std::string alphabet = "# .$*@+\n\r\t;/:x";
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 4000);
    const bool any_byte = round % 2 == 0;
    for (int i = 0; i < length; ++i) {
      text += any_byte ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
    }
    LoadLevel(text);
    ASSERT_LE(MazeHeight(), kMaxLevelHeight);
    ASSERT_LE(MazeWidth(), kMaxLevelWidth);
    ASSERT_EQ(MazeHeight() == 0, MazeWidth() == 0);
    ExpectRowsTerminated();
    if (MazeHeight() > 0) {
      ExpectClosedBorder();
    }
    ReduceMaze();
    ExpectRowsTerminated();
  }
  std::string sections;
  for (int i = 0; i < 5000; ++i) {
    sections += "Comment:\n# x #\nComment-End:\n";
  }
  LoadLevel(sections + kPlain);
  EXPECT_EQ(LevelRows(), kPlainRows);
  LoadLevel(std::string(200000, '#') + "\n" + kPlain);
  EXPECT_EQ(MazeHeight(), 0);  // the runaway line gives grid rows far too wide
}

}  // namespace
