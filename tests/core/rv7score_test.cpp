#include "rv7score.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "display_hooks.h"
#include "engine.h"
#include "file_size_limit.h"
#include "level_dir_fixture.h"
#include "rv7ini.h"
#include "rv7maze.h"
#include "write_failure.h"

namespace {

constexpr char kScoreFile[] = "Mazes\\Set\\Set.1.rv7";
constexpr char kHeader[] = "\n# comment:\n# some game solutions.\n# do not modify.\n\n";
constexpr char kLevel[] =
    "#####\n"
    "#@$.#\n"
    "#####\n";
constexpr char kUntouched[] = "left alone";

// Counts the status fields the score module asks to have redrawn.
class CountingHooks : public NullDisplayHooks {
 public:
  void RedrawStatusField(StatusField) override { ++redraws; }
  int redraws = 0;
};

// Failed writes as the reporter sees them: path and error code.
std::vector<std::string> g_reported;
void RecordFailure(std::string_view path, int error) {
  g_reported.push_back(std::string(path) + " " + std::to_string(error));
}

class Score : public LevelDirTest {
 protected:
  void SetUp() override {
    LevelDirTest::SetUp();
    LoadLevel(kLevel);
    SetDisplayHooks(&hooks_);
    g_reported.clear();
    SetWriteFailureReporter(&RecordFailure);
  }
  void TearDown() override {
    SetWriteFailureReporter(nullptr);
    DropUnsavedScores();
    LevelDirTest::TearDown();
  }

  // A solution of `moves` letters of which the first `pushes` are pushes.
  static std::string Letters(int moves, int pushes) {
    return std::string(pushes, 'R') + std::string(moves - pushes, 'l');
  }
  static void Solve(const std::string& who, int moves, int pushes) {
    const std::string letters = Letters(moves, pushes);
    RecordSolution(who, SolutionSteps{moves, pushes, letters});
  }
  static std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const SolutionRecord& record : SolutionRecords()) {
      names.push_back(record.name);
    }
    return names;
  }

  CountingHooks hooks_;
};

TEST_F(Score, SequenceOfSolvesWritesExactFile) {
  RecordSolution("P", SolutionSteps{6, 2, "rRdLuu"});
  EXPECT_EQ(ReadFile(kScoreFile), std::string(kHeader) + "[6.2.P]\nrRdLuu\n\n");

  SaveBookmark(SolutionSteps{3, 1, "rRK"});
  EXPECT_EQ(ReadFile(kScoreFile),
            std::string(kHeader) + "[6.2.P]\nrRdLuu\n\n[3.1.Bookmark]\nrRl\n\n");
  EXPECT_EQ(BookmarkLetters(), "rRl");

  RecordSolution(kSolverName, SolutionSteps{5, 3, "RRRdd"});  // same sum, fewer moves
  RecordSolution("Q", SolutionSteps{5, 3, "RRRll"});          // ahead of the solver's equal
  RecordSolution(kSolverName, SolutionSteps{5, 3, "RRRdd"});  // the solver's duplicate
  const std::string long_letters = std::string(64, 'u') + std::string(64, 'd') + "lr";
  RecordSolution("P", SolutionSteps{130, 0, long_letters});
  EXPECT_EQ(ReadFile(kScoreFile), std::string(kHeader) +
                                      "[5.3.Q]\nRRRll\n\n"
                                      "[5.3.Morilan.Solver]\nRRRdd\n\n"
                                      "[6.2.P]\nrRdLuu\n\n"
                                      "[130.0.P]\n" +
                                      std::string(64, 'u') + "\n" + std::string(64, 'd') +
                                      "\nlr\n\n");
  // The bookmark left the file with the first solve but stays in memory for this level.
  EXPECT_EQ(BookmarkLetters(), "rRl");
  EXPECT_EQ(BestMoves(), 5);
  EXPECT_EQ(BestPushes(), 3);
  EXPECT_EQ(BestName(), "Q");
  EXPECT_EQ(OwnName(), "P");
  EXPECT_EQ(OwnMoves(), 6);
  EXPECT_EQ(OwnPushes(), 2);
  EXPECT_EQ(OwnLetters(), "rRdLuu");
  EXPECT_EQ(BestLetters(), "RRRll");
}

TEST_F(Score, OrderOfMeritIsSumThenMoves) {
  Solve("A", 90, 40);
  Solve("B", 100, 20);  // sum 120 before 130
  Solve("C", 80, 50);   // sum 130, fewer moves than A
  Solve("D", 90, 40);   // equal to A: the earlier stays ahead
  EXPECT_EQ(Names(), (std::vector<std::string>{"100.20.B", "80.50.C", "90.40.A", "90.40.D"}));
}

TEST_F(Score, SolverRecordYieldsOnlyToOtherFinders) {
  Solve(kSolverName, 10, 2);
  Solve("P", 10, 2);
  Solve(kSolverName, 10, 2);
  Solve("Morilan.Solver.2", 10, 2);  // its stored neighbour is a solver's record
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"10.2.P", "10.2.Morilan.Solver.2", "10.2.Morilan.Solver"}));
}

TEST_F(Score, SameSolutionAgainLeavesFileUnchangedButRedraws) {
  Solve("P", 10, 2);
  WriteFile(kScoreFile, kUntouched);
  hooks_.redraws = 0;
  Solve("P", 10, 2);
  EXPECT_EQ(ReadFile(kScoreFile), kUntouched);
  EXPECT_EQ(SolutionRecords().size(), 1u);
  EXPECT_GT(hooks_.redraws, 0);
}

TEST_F(Score, SolutionBelowFiveStoredIsNeitherStoredNorShown) {
  for (int i = 1; i <= kMaxSolutions; ++i) {
    Solve(std::string("P").append(std::to_string(i)), 10 * i, 0);
  }
  WriteFile(kScoreFile, kUntouched);
  hooks_.redraws = 0;
  Solve("X", 50, 1);
  Solve("Y", 51, 0);
  EXPECT_EQ(ReadFile(kScoreFile), kUntouched);
  EXPECT_EQ(hooks_.redraws, 0);
  EXPECT_EQ(SolutionRecords().size(), 5u);
  EXPECT_EQ(SolutionRecords().back().name, "50.0.P5");
}

TEST_F(Score, SixthBetterSolutionPushesFifthOut) {
  for (int i = 1; i <= kMaxSolutions; ++i) {
    Solve(std::string("P").append(std::to_string(i)), 10 * i, 0);
  }
  Solve("Z", 5, 0);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"5.0.Z", "10.0.P1", "20.0.P2", "30.0.P3", "40.0.P4"}));
  const std::string file = ReadFile(kScoreFile);
  EXPECT_EQ(file.find("P5"), std::string::npos);
  EXPECT_NE(file.find("[40.0.P4]\n" + Letters(40, 0) + "\n\n"), std::string::npos);
}

TEST_F(Score, KeyLettersAreWrittenLowerCase) {
  RecordSolution("P", SolutionSteps{6, 2, "HPKMUD"});
  SaveBookmark(SolutionSteps{4, 0, "HPKMxx"});
  EXPECT_EQ(ReadFile(kScoreFile),
            std::string(kHeader) + "[6.2.P]\nudlrUD\n\n[4.0.Bookmark]\nudlr\n\n");
  EXPECT_EQ(BookmarkLetters(), "udlr");
}

TEST_F(Score, EmptyBookmarkHasNoLetterLine) {
  SaveBookmark(SolutionSteps{0, 0, ""});
  EXPECT_EQ(ReadFile(kScoreFile), std::string(kHeader) + "[0.0.Bookmark]\n\n");
  EXPECT_EQ(BookmarkLetters(), "");
}

TEST_F(Score, RecordWithTooFewLettersIsKeptButNotWritten) {
  RecordSolution("P", SolutionSteps{3, 0, std::string_view("r\0r", 3)});
  RecordSolution("Q", SolutionSteps{4, 0, "rr"});
  RecordSolution("R", SolutionSteps{5, 0, "rrrrr"});
  EXPECT_EQ(SolutionRecords().size(), 3u);
  EXPECT_EQ(ReadFile(kScoreFile), std::string(kHeader) + "[5.0.R]\nrrrrr\n\n");
}

TEST_F(Score, ReaderIsLenient) {
  WriteFile(kScoreFile,
            "stray letters before any section\n"
            "# comment\n"
            "\r\n"
            "[4.1.Anna]\r\n"
            "rrRr\r\n"
            "rrrr\n"  // surplus beyond the count of 4
            "[2.0.Bob.Jr]\n"
            "l\n"
            "\n"
            "# between letter lines\n"
            "l\n"
            "[3.0.Bookmark]\n"
            "uu\n"
            "[1.0.Late]\n"  // follows the bookmark: its letters go to the bookmark
            "dddd\n");
  set_player_name("anna");
  GetMaze();
  ASSERT_EQ(SolutionRecords().size(), 3u);
  EXPECT_EQ(SolutionRecords()[0].letters, "rrRr");
  EXPECT_EQ(SolutionRecords()[1].letters, "ll");
  EXPECT_EQ(SolutionRecords()[1].who(), "Bob.Jr");
  EXPECT_EQ(SolutionRecords()[2].letters, "");
  EXPECT_EQ(BookmarkLetters(), "uud");
  EXPECT_EQ(BestName(), "Anna");
  EXPECT_EQ(OwnMoves(), 0);  // letter case counts
  EXPECT_FALSE(OwnLetters().has_value());

  set_player_name("Anna");
  GetMaze();
  EXPECT_EQ(OwnMoves(), 4);
  EXPECT_EQ(OwnPushes(), 1);
  SaveSolution();
  EXPECT_EQ(ReadFile(kScoreFile),
            std::string(kHeader) + "[4.1.Anna]\nrrRr\n\n[2.0.Bob.Jr]\nll\n\n");
}

TEST_F(Score, TracesFileTrafficAndSections) {
  const std::string trace = CaptureTrace([] {
    RecordSolution("P", SolutionSteps{1, 0, "r"});
    SaveBookmark(SolutionSteps{1, 0, "u"});
    GetMaze();
  });
  for (const char* text :
       {"open write file=Mazes\\Set\\Set.1.rv7", "1.0.P", "close file=Mazes\\Set\\Set.1.rv7",
        "open read file=Mazes\\Set\\Set.1.rv7", "Bookmarked"}) {
    EXPECT_NE(trace.find(text), std::string::npos) << text;
  }
}

TEST_F(Score, MalformedSectionsReadSafely) {
  WriteFile(kScoreFile,
            "[\n"
            "r\n"
            "[x\n"
            "[]\n"
            "[99999999999999.-5.Z]\n"
            "rrr\n"
            "[Bookmark]\n"
            "rrr\n"
            "[2.1.Bookmark]\n"
            "[7.1.Bookmark]\n"
            "ud\n");
  GetStats();
  // "[Bookmark]" lacks the counts of a bookmark section: it is a record of no moves.
  ASSERT_EQ(SolutionRecords().size(), 5u);
  EXPECT_EQ(SolutionRecords()[0].letters, "");
  EXPECT_EQ(SolutionRecords()[3].moves, INT_MAX);
  EXPECT_EQ(SolutionRecords()[3].pushes, -5);
  EXPECT_EQ(SolutionRecords()[3].who(), "Z");
  EXPECT_EQ(SolutionRecords()[4].name, "Bookmark");
  EXPECT_EQ(SolutionRecords()[4].letters, "");
  EXPECT_EQ(BestName(), "");
  EXPECT_EQ(BookmarkLetters(), "ud");  // the last bookmark section replaces the others
}

TEST_F(Score, OnlyTheBookmarkSectionIsTheBookmark) {
  Solve("My Bookmark", 3, 1);
  Solve("Bookmark.Maker", 4, 1);
  Solve("7.1.Bookmark", 5, 1);  // a who that is a bookmark name of its own
  SaveBookmark(SolutionSteps{2, 0, "rl"});
  GetMaze();
  EXPECT_EQ(Names(), (std::vector<std::string>{"3.1.My Bookmark", "4.1.Bookmark.Maker",
                                               "5.1.7.1.Bookmark"}));
  EXPECT_EQ(BookmarkLetters(), "rl");
  Solve("Q", 9, 1);  // a rewrite keeps every solution
  GetMaze();
  EXPECT_EQ(Names(), (std::vector<std::string>{"3.1.My Bookmark", "4.1.Bookmark.Maker",
                                               "5.1.7.1.Bookmark", "9.1.Q"}));
  EXPECT_FALSE(BookmarkLetters().has_value());
}

TEST_F(Score, LevelThatWasNotLoadedGetsNoScoreFile) {
  const std::string stored = std::string(kHeader) + "[6.2.P]\nrRdLuu\n\n[5.0.Q]\nrrrrr\n\n";
  WriteFile(kScoreFile, stored);
  LoadLevel(std::string(kMaxLevelWidth + 1, '#') + "\n");  // too wide: refused
  ASSERT_EQ(MazeLoadState(), MazeLoad::kTooLarge);
  EXPECT_EQ(RecordSolution("P", SolutionSteps{1, 1, "R"}), ENOENT);
  EXPECT_EQ(SaveBookmark(SolutionSteps{1, 1, "R"}), ENOENT);
  EXPECT_EQ(SaveSolution(), ENOENT);
  EXPECT_TRUE(SolutionRecords().empty());
  EXPECT_EQ(ReadFile(kScoreFile), stored);
  set_current_level(2);  // no level file at all
  GetMaze();
  EXPECT_EQ(RecordSolution("P", SolutionSteps{1, 1, "R"}), ENOENT);
  EXPECT_FALSE(FileExists("Mazes\\Set\\Set.2.rv7"));
  EXPECT_TRUE(g_reported.empty());
}

TEST_F(Score, FailedWriteKeepsTheRecordsUntilTheyCanBeWritten) {
  Solve("P", 6, 2);
  const std::string before = ReadFile(kScoreFile);
  {
    const FileSizeLimit full_disk(16);
    EXPECT_EQ(RecordSolution("Q", SolutionSteps{5, 3, "RRRll"}), EFBIG);
    EXPECT_EQ(SaveBookmark(SolutionSteps{2, 1, "Rl"}), EFBIG);
  }
  EXPECT_EQ(ReadFile(kScoreFile), before);
  const std::string failed = "Mazes\\Set\\Set.1.rv7 " + std::to_string(EFBIG);
  EXPECT_EQ(g_reported, (std::vector<std::string>{failed, failed}));
  EXPECT_EQ(BestName(), "Q");
  EXPECT_EQ(UnsavedScoreCount(), 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("Mazes/Set"),
                          std::filesystem::directory_iterator()),
            2);  // the level and its old score file: no temporary file left

  LoadLevel(kLevel, 2);  // another level and back: the unsaved records come back
  LoadLevel(kLevel, 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"5.3.Q", "6.2.P"}));
  EXPECT_EQ(BookmarkLetters(), "Rl");

  EXPECT_EQ(SaveUnsavedScores(), 0);
  EXPECT_EQ(UnsavedScoreCount(), 0);
  EXPECT_EQ(ReadFile(kScoreFile),
            std::string(kHeader) + "[5.3.Q]\nRRRll\n\n[6.2.P]\nRRllll\n\n[2.1.Bookmark]\nRl\n\n");
}

// A FIFO, a link to a device that never ends and a file larger than any score file: reading
// stops at once with no records, and the file is never replaced, not even at the end.
TEST_F(Score, ScoreFilesThatNeverEndAreNeitherReadNorReplaced) {
  ASSERT_EQ(::mkfifo("Mazes/Set/Set.1.rv7", 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", "Mazes/Set/Set.2.rv7"), 0);
  {
    std::ofstream("Mazes/Set/Set.3.rv7") << "[1.0.P]\nr\n";
    std::filesystem::resize_file("Mazes/Set/Set.3.rv7", kMaxReadBytes + 1);
  }
  for (int level = 1; level <= 3; ++level) {
    LoadLevel(kLevel, level);
    EXPECT_TRUE(SolutionRecords().empty()) << level;
    EXPECT_NE(RecordSolution("P", SolutionSteps{1, 1, "R"}), 0) << level;
    EXPECT_EQ(BestName(), "P") << level;  // kept in memory while the game runs
  }
  EXPECT_EQ(g_reported.size(), 3u);
  EXPECT_NE(SaveUnsavedScores(), 0);
  EXPECT_EQ(g_reported.size(), 6u);
  struct stat info {};
  EXPECT_TRUE(::lstat("Mazes/Set/Set.1.rv7", &info) == 0 && S_ISFIFO(info.st_mode));
  EXPECT_TRUE(::lstat("Mazes/Set/Set.2.rv7", &info) == 0 && S_ISLNK(info.st_mode));
  EXPECT_EQ(std::filesystem::file_size("Mazes/Set/Set.3.rv7"), kMaxReadBytes + 1);
}

TEST_F(Score, WrittenFileReadsBackAsRecorded) {
  const std::string letters(200, 'D');
  RecordSolution("Who.With.Dots", SolutionSteps{200, 200, letters});
  Solve("P", 7, 1);
  const std::vector<std::string> names = Names();
  GetMaze();
  EXPECT_EQ(Names(), names);
  EXPECT_EQ(SolutionRecords()[1].letters, letters);
  EXPECT_EQ(SolutionRecords()[1].who(), "Who.With.Dots");
}

TEST_F(Score, UnwritableFileKeepsRecordsInMemory) {
  std::filesystem::remove_all("Mazes/Set");  // the level's folder went away after loading
  Solve("P", 3, 0);
  EXPECT_EQ(SaveBookmark(SolutionSteps{1, 0, "u"}), ENOENT);
  EXPECT_EQ(SolutionRecords().size(), 1u);
  EXPECT_EQ(BestMoves(), 3);
  EXPECT_FALSE(std::filesystem::exists("Mazes/Set"));
  EXPECT_EQ(g_reported.size(), 2u);
}

TEST_F(Score, ClearDropsEverything) {
  Solve("P", 3, 0);
  SaveBookmark(SolutionSteps{1, 0, "u"});
  ClearStats();
  EXPECT_TRUE(SolutionRecords().empty());
  EXPECT_FALSE(BookmarkLetters().has_value());
  EXPECT_FALSE(BestLetters().has_value());
  EXPECT_EQ(BestMoves(), 0);
  EXPECT_EQ(OwnMoves(), 0);
  EXPECT_EQ(OwnName(), "");
}

TEST_F(Score, EngineSolutionIsRecordedUnderTheFinder) {
  ASSERT_EQ(RecordUnplayedSolution("rRl", 3, 1, "Finder"), 0);
  ASSERT_EQ(SolutionRecords().size(), 1u);
  EXPECT_EQ(SolutionRecords()[0].name, "3.1.Finder");
  EXPECT_EQ(SolutionRecords()[0].letters, "rRl");
}

// Random and oversized score files never overrun, never store letters beyond a section's
// count, and whatever was read is written back within the five-record cap.
TEST_F(Score, FuzzedFilesReadSafely) {
  std::mt19937 random(11);
  const std::string alphabet = "[].#0123456789BookmarkudlrUDLR\n\r";
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 3000);
    for (int i = 0; i < length; ++i) {
      text +=
          round % 2 == 0 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
    }
    WriteFile(kScoreFile, text);
    GetMaze();
    for (const SolutionRecord& record : SolutionRecords()) {
      ASSERT_LE(record.letters.size(), static_cast<std::size_t>(std::max(record.moves, 0)));
    }
    Solve("P", 2, 0);
    ASSERT_LE(SolutionRecords().size(), static_cast<std::size_t>(kMaxSolutions));
  }
  std::string sections;
  for (int i = 0; i < 10000; ++i) {
    sections += "[1.0.X" + std::to_string(i) + "]\nr\n";
  }
  WriteFile(kScoreFile, sections + std::string(100000, 'r') + "\n");
  GetMaze();
  EXPECT_EQ(SolutionRecords().size(), 10000u);
  EXPECT_EQ(SolutionRecords().back().letters, "r");
  Solve("P", 1, 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"1.0.X0", "1.0.X1", "1.0.X2", "1.0.X3", "1.0.X4"}));
  Solve("Q", 0, 0);  // ranks first: the file is written with the five kept records
  GetMaze();
  EXPECT_EQ(Names(), (std::vector<std::string>{"0.0.Q", "1.0.X0", "1.0.X1", "1.0.X2", "1.0.X3"}));
}

}  // namespace
