// Settings and score files under hostile timing: two processes rewriting one file thousands
// of times, writers killed in the middle of a write, and a disk that is full. At every moment
// a file is a complete old or new one, killed writers leave at most one stray temporary file,
// and a full disk loses neither the old files nor the solution just made.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "files.h"
#include "rv7ini.h"
#include "rv7maze.h"
#include "rv7score.h"
#include "scratch_directory.h"
#include "test_process.h"
#include "write_failure.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRewrites = 10000;
constexpr int kKills = 500;
constexpr char kLevel[] = "#####\n#@$.#\n#####\n";
constexpr char kGameHeader[] = "\n# comment:\n# current game setup.\n# do not modify.\n\n[Game]\n";
constexpr char kScoreHeader[] = "\n# comment:\n# some game solutions.\n# do not modify.\n\n";

// A data directory of its own in memory where there is a memory file system (the writers
// sync every file), with a level to load and its set in the settings.
class DataSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch_.made());
    WriteTextFile("Mazes/Set/Set.1", kLevel);
    WriteTextFile("Mazes/Set/Set.2", kLevel);
    fs::create_directories("Ini");
    release_ini();
    set_current_set("Set");
    set_current_level(1);
    set_player_name("P");
  }
  void TearDown() override {
    ClearStats();
    DropUnsavedScores();
    release_ini();
  }

  // Game.Ini with the player and `sets` entries, read into the game table. Each entry's value
  // is its number followed by `padding` dots, so that the file can be made large.
  static void ReadGameIni(int sets, std::size_t padding = 0) {
    std::string text = "[Game]\nPlayer = start\nMaze = Set\n";
    for (int set = 0; set < sets; ++set) {
      text += "Set" + std::to_string(set) + " = " + Value(set, padding) + "\n";
    }
    WriteTextFile("Ini/Game.Ini", text);
    GameIni();
  }

  static std::string Value(int set, std::size_t padding) {
    return std::to_string(set) + std::string(padding, '.');
  }

  // True when `text` is Game.Ini as the writer writes it for the table of ReadGameIni with
  // some player name.
  static bool IsWholeGameIni(const std::string& text, int sets, std::size_t padding = 0) {
    const std::size_t at = text.find("= ", std::string_view(kGameHeader).size());
    if (!text.starts_with(std::string(kGameHeader) + "Player ") || at == std::string::npos) {
      return false;
    }
    const std::size_t end = text.find('\n', at);
    const std::string name = text.substr(at + 2, end - at - 2);
    set_game_value("Player", name);
    set_game_dirty(0);
    return text == ExpectedGameIni(sets, padding);
  }

  static std::string ExpectedGameIni(int sets, std::size_t padding) {
    std::string expected = kGameHeader;
    const int width = static_cast<int>(std::to_string(sets - 1).size()) + 3;
    expected +=
        "Player" + std::string(width > 6 ? width - 6 : 0, ' ') + " = " + game_chk("Player") + "\n";
    expected += "Maze" + std::string(std::max(width, 6) - 4, ' ') + " = Set\n";
    // The rest is sorted without regard to case: "Set10" before "Set2".
    std::vector<std::string> keys;
    for (int set = 0; set < sets; ++set) {
      keys.push_back("Set" + std::to_string(set));
    }
    std::sort(keys.begin(), keys.end());
    for (const std::string& key : keys) {
      expected += key + std::string(std::max(width, 6) - key.size(), ' ') + " = " +
                  Value(std::stoi(key.substr(3)), padding) + "\n";
    }
    return expected + "\n";
  }

  // Temporary files of `target` in its directory.
  static int Temporaries(const fs::path& target) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(target.parent_path())) {
      count += IsTemporaryOf(entry.path().filename().string(), target.filename().string());
    }
    return count;
  }

 private:
  ScratchDirectory scratch_{"rv7safety", fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp"};
};

// Reads `path` again and again while `writers` run; every read must pass `whole`. Returns the
// number of reads made.
template <typename Whole>
int WatchWhileWriting(const std::vector<pid_t>& writers, const fs::path& path, Whole whole) {
  int reads = 0;
  std::vector<pid_t> running = writers;
  while (!running.empty()) {
    const std::string text = ReadTextFile(path);
    EXPECT_TRUE(whole(text)) << "a torn or mixed file after " << reads << " reads:\n" << text;
    if (::testing::Test::HasFailure()) {
      break;
    }
    ++reads;
    std::erase_if(running, [](pid_t pid) {
      int status = 0;
      return ::waitpid(pid, &status, WNOHANG) == pid;
    });
  }
  for (pid_t pid : running) {
    ::kill(pid, SIGKILL);
    WaitChild(pid);
  }
  return reads;
}

TEST_F(DataSafety, TwoProcessesRewritingOneFileNeverTearIt) {
  constexpr int kSets = 40;
  ReadGameIni(kSets);
  set_game_dirty(1);
  ASSERT_EQ(writeGameIni(), 0);
  std::vector<pid_t> writers;
  for (const char* who : {"A", "B"}) {
    writers.push_back(StartChild([who] {
      for (int round = 0; round < kRewrites; ++round) {
        set_game_value("Player", who + std::to_string(round));
        ASSERT_EQ(writeGameIni(), 0);
      }
    }));
  }
  const int reads = WatchWhileWriting(
      writers, "Ini/Game.Ini", [](const std::string& text) { return IsWholeGameIni(text, kSets); });
  EXPECT_GT(reads, 0);
  EXPECT_EQ(Temporaries("Ini/Game.Ini"), 0);

  // The score file, rewritten with a bookmark of another length each time.
  GetMaze();
  ASSERT_EQ(RecordSolution("P", SolutionSteps{3, 1, "rRl"}), 0);
  ASSERT_EQ(SaveBookmark(SolutionSteps{0, 0, ""}), 0);
  writers.clear();
  for (const char letter : {'u', 'd'}) {
    writers.push_back(StartChild([letter] {
      for (int round = 0; round < kRewrites; ++round) {
        const int moves = round % 200;
        const std::string steps(static_cast<std::size_t>(moves), letter);
        ASSERT_EQ(SaveBookmark(SolutionSteps{moves, 0, steps}), 0);
      }
    }));
  }
  const auto whole_score_file = [](const std::string& text) {
    const std::string record = std::string(kScoreHeader) + "[3.1.P]\nrRl\n\n[";
    if (!text.starts_with(record)) {
      return false;
    }
    const int moves = std::atoi(text.c_str() + record.size());
    const std::size_t letters = text.rfind("]\n") + 2;
    const char letter = moves > 0 && letters < text.size() ? text[letters] : 'u';
    std::string expected = record + std::to_string(moves) + ".0.Bookmark]\n";
    for (int line = 0; line < moves; line += 64) {
      expected += std::string(static_cast<std::size_t>(std::min(64, moves - line)), letter) + "\n";
    }
    return text == expected + "\n";
  };
  EXPECT_GT(WatchWhileWriting(writers, "Mazes/Set/Set.1.rv7", whole_score_file), 0);
  EXPECT_EQ(Temporaries("Mazes/Set/Set.1.rv7"), 0);
}

TEST_F(DataSafety, KilledWritersLeaveNoTornFileAndOneStrayAtMost) {
  // A file of some 50 KB, so that most kills land inside a write.
  constexpr int kSets = 200;
  constexpr std::size_t kPadding = 250;
  ReadGameIni(kSets, kPadding);
  set_game_dirty(1);
  ASSERT_EQ(writeGameIni(), 0);
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> delay_us(500, 5000);
  int strays_seen = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const pid_t writer = StartChild([] {
      for (int round = 0;; ++round) {
        set_game_value("Player", std::string("W").append(std::to_string(round)));
        writeGameIni();
      }
    });
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    ::kill(writer, SIGKILL);
    WaitChild(writer);
    ASSERT_TRUE(IsWholeGameIni(ReadTextFile("Ini/Game.Ini"), kSets, kPadding))
        << "after kill " << kill;
    const int strays = Temporaries("Ini/Game.Ini");
    ASSERT_LE(strays, 1) << "after kill " << kill;
    strays_seen += strays;
  }
  // Most kills hit a write in progress; otherwise the test proves little.
  EXPECT_GT(strays_seen, kKills / 4);
  set_game_dirty(1);
  ASSERT_EQ(writeGameIni(), 0);  // the next writer clears the last stray
  EXPECT_EQ(Temporaries("Ini/Game.Ini"), 0);
}

// Failed writes as the reporter sees them.
std::vector<std::string> g_reported;
void RecordFailure(std::string_view path, int error) {
  g_reported.push_back(std::string(path) + " " + std::to_string(error));
}

// A 64 KiB memory file system of this process's own (a private mount namespace), mounted on
// `where`; false where mounting is not permitted.
bool MountSmallDisk(const fs::path& where) {
  constexpr char kSize[] = "size=64k";
  return ::unshare(CLONE_NEWNS) == 0 &&
         ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         ::mount("tmpfs", where.c_str(), "tmpfs", 0, kSize) == 0;
}

// Fills the disk of the current directory with one file; returns its name.
std::string FillDisk() {
  const std::string filler = "filler";
  std::ofstream out(filler, std::ios::binary);
  const std::string block(4096, 'x');
  while (out.write(block.data(), static_cast<std::streamsize>(block.size())) && out.flush()) {
  }
  return filler;
}

TEST_F(DataSafety, FullSmallDiskKeepsTheOldFilesAndTheSolution) {
  constexpr int kNotPermitted = 77;
  fs::create_directories("disk");
  const ChildResult child = RunInChild([] {
    if (!MountSmallDisk("disk")) {
      ::_exit(kNotPermitted);
    }
    fs::current_path("disk");
    WriteTextFile("Mazes/Set/Set.1", kLevel);
    WriteTextFile("Mazes/Set/Set.2", kLevel);
    const std::string old_score = std::string(kScoreHeader) + "[5.1.Q]\nrrlrR\n\n";
    WriteTextFile("Mazes/Set/Set.1.rv7", old_score);
    fs::create_directories("Ini");
    WriteTextFile("Ini/Game.Ini", "[Game]\nPlayer = P\nMaze = Set\n");
    GameIni();
    SetWriteFailureReporter(&RecordFailure);
    GetMaze();
    const std::string filler = FillDisk();

    set_game_value("Player", "Someone else");
    EXPECT_EQ(writeGameIni(), ENOSPC);
    EXPECT_EQ(game_dirty(), 1);
    EXPECT_EQ(RecordSolution("P", SolutionSteps{1, 1, "R"}), ENOSPC);
    EXPECT_EQ(ReadTextFile("Ini/Game.Ini"), "[Game]\nPlayer = P\nMaze = Set\n");
    EXPECT_EQ(ReadTextFile("Mazes/Set/Set.1.rv7"), old_score);
    const std::string full = " " + std::to_string(ENOSPC);
    EXPECT_EQ(g_reported,
              (std::vector<std::string>{"Ini\\Game.Ini" + full, "Mazes\\Set\\Set.1.rv7" + full}));

    set_current_level(2);  // the player goes on to another level and comes back
    GetMaze();
    set_current_level(1);
    GetMaze();
    EXPECT_EQ(BestName(), "P");
    EXPECT_EQ(SolutionRecords().size(), 2u);

    fs::remove(filler);  // space again: the end of the game writes what was kept
    EXPECT_EQ(SaveUnsavedScores(), 0);
    EXPECT_EQ(writeGameIni(), 0);
    EXPECT_EQ(ReadTextFile("Mazes/Set/Set.1.rv7"),
              std::string(kScoreHeader) + "[1.1.P]\nR\n\n[5.1.Q]\nrrlrR\n\n");
    EXPECT_NE(ReadTextFile("Ini/Game.Ini").find("Someone else"), std::string::npos);
    EXPECT_EQ(Temporaries("Mazes/Set/Set.1.rv7") + Temporaries("Ini/Game.Ini"), 0);
  });
  if (child.exit_code == kNotPermitted) {
    GTEST_SKIP() << "no small disk can be mounted here; the file-size limit tests of the "
                    "settings and score files cover a full disk instead";
  }
  EXPECT_EQ(child.exit_code, 0);
}

}  // namespace
