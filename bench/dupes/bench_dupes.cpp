// Duplicate finder figures: a data directory of N generated levels (N = 1 000, 5 000 and
// 20 000), with duplicates planted under all eight Match kinds and similar pairs, compared
// by a whole nrv7dup run (with its offscreen window, and without any display) and by
// pass 2 alone.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "level_compare.h"
#include "level_list.h"
#include "rv7ini.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLevelsPerSet = 100;
constexpr int kPlantEvery = 25;  // every 25th level copies an earlier one
constexpr int kMinSide = 6;
constexpr int kMaxWidth = 20;
constexpr int kMaxHeight = 16;

using Rows = std::vector<std::string>;

Rows RandomLevel(std::mt19937& random) {
  std::uniform_int_distribution<int> width_of(kMinSide, kMaxWidth);
  std::uniform_int_distribution<int> height_of(kMinSide, kMaxHeight);
  std::uniform_int_distribution<int> percent(0, 99);
  const int width = width_of(random);
  const int height = height_of(random);
  Rows rows(height, std::string(width, '#'));
  for (int r = 1; r < height - 1; ++r) {
    for (int c = 1; c < width - 1; ++c) {
      const int roll = percent(random);
      rows[r][c] = roll < 20 ? '#' : roll < 24 ? '.' : roll < 28 ? '$' : ' ';
    }
  }
  rows[1 + percent(random) % (height - 2)][1 + percent(random) % (width - 2)] = '@';
  return rows;
}

// The level B that A matches under `kind`: B's cell (r, c) is A's cell at the kind's place.
Rows TurnedBack(const Rows& a, int kind) {
  const int wa = static_cast<int>(a[0].size());
  const int ha = static_cast<int>(a.size());
  const bool turned = kind >= 4;
  const int wb = turned ? ha : wa;
  const int hb = turned ? wa : ha;
  Rows b(hb, std::string(wb, '#'));
  for (int r = 0; r < hb; ++r) {
    for (int c = 0; c < wb; ++c) {
      int i = r;
      int j = c;
      switch (kind) {
        case 1:
          i = hb - 1 - r;
          break;
        case 2:
          j = wb - 1 - c;
          break;
        case 3:
          i = hb - 1 - r;
          j = wb - 1 - c;
          break;
        case 4:
          i = wb - 1 - c;
          j = r;
          break;
        case 5:
          i = c;
          j = hb - 1 - r;
          break;
        case 6:
          i = wb - 1 - c;
          j = hb - 1 - r;
          break;
        case 7:
          i = c;
          j = r;
          break;
        default:
          break;
      }
      b[r][c] = a[i][j];
    }
  }
  return b;
}

// The same goals, crates and player with one more wall: found as similar, not exact.
Rows SimilarCopy(Rows a) {
  for (std::size_t r = 1; r + 1 < a.size(); ++r) {
    for (std::size_t c = 1; c + 1 < a[r].size(); ++c) {
      if (a[r][c] == ' ') {
        a[r][c] = '#';
        return a;
      }
    }
  }
  return a;
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Makes `dir` a data directory of `count` levels in sets of 100 (B0000, B0001, ...).
void BuildCollection(const fs::path& dir, int count) {
  fs::remove_all(dir);
  fs::create_directories(dir / "Ini");
  fs::create_directories(dir / "htm");
  std::mt19937 random(7);
  std::vector<Rows> levels;
  std::string mazes = "[Mazes]\n";
  for (int index = 0; index < count; ++index) {
    Rows level;
    if (index > 0 && index % kPlantEvery == 0) {
      const Rows& original = levels[random() % levels.size()];
      const int plant = index / kPlantEvery % 9;
      level = plant == 8 ? SimilarCopy(original) : TurnedBack(original, plant);
    } else {
      level = RandomLevel(random);
    }
    levels.push_back(level);
    const std::string set = "B" + std::to_string(10000 + index / kLevelsPerSet).substr(1);
    if (index % kLevelsPerSet == 0) {
      fs::create_directories(dir / "Mazes" / set);
      mazes += set + " = " + std::to_string(std::min(kLevelsPerSet, count - index)) + "\n";
    }
    std::string text;
    for (const std::string& row : level) {
      text += row + "\n";
    }
    const fs::path file =
        dir / "Mazes" / set / (set + "." + std::to_string(index % kLevelsPerSet + 1));
    Write(file, text);
    if (index % 10 == 0) {
      Write(file.string() + ".rv7", "\n# comment:\n\n[4.1.P]\nuRld\n\n");
    }
  }
  Write(dir / "Ini" / "Mazes.Ini", mazes);
}

// Runs nrv7dup in `dir`, with the offscreen window or with no display at all.
int RunDupes(const fs::path& dir, bool with_window) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(dir.c_str()) != 0 || std::freopen("/dev/null", "w", stderr) == nullptr) {
      ::_exit(126);
    }
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    if (with_window) {
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    ::execl(NRV7DUP_PATH, NRV7DUP_PATH, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int EntriesOf(const fs::path& page) {
  std::ifstream in(page);
  std::string line;
  int entries = -1;
  while (std::getline(in, line)) {
    if (line.find(" entries<br>") != std::string::npos) {
      entries = std::atoi(line.c_str());
    }
  }
  return entries;
}

fs::path BenchDirectory(int count) {
  return fs::temp_directory_path() /
         ("rv7bench-dupes-" + std::to_string(::getpid()) + "-" + std::to_string(count));
}

// range(0): number of levels; range(1): 1 with the offscreen window, 0 without a display.
void BM_WholeRun(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const bool with_window = state.range(1) != 0;
  const fs::path dir = BenchDirectory(count);
  int entries = 0;
  for (auto _ : state) {
    state.PauseTiming();
    BuildCollection(dir, count);  // a fresh collection: the run hands score files on
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    if (RunDupes(dir, with_window) != 0) {
      state.SkipWithError("nrv7dup failed");
      break;
    }
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    entries = EntriesOf(dir / "htm" / "rv7dupe.htm");
  }
  state.counters["levels"] = count;
  state.counters["entries"] = entries;
  fs::remove_all(dir);
}

class CountMatches : public PairObserver {
 public:
  void FirstLevel(const LevelEntry&) override {}
  void Match(const LevelEntry&, const LevelEntry&, MatchKind, bool) override { ++matches; }
  long matches = 0;
};

void BM_ComparePairs(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const fs::path dir = BenchDirectory(count);
  BuildCollection(dir, count);
  const fs::path previous = fs::current_path();
  fs::current_path(dir);
  MazesIni();
  const std::vector<LevelEntry> levels = BuildLevelList();
  release_ini();
  fs::current_path(previous);
  long matches = 0;
  for (auto _ : state) {
    CountMatches counter;
    CompareAllPairs(levels, counter);
    matches = counter.matches;
  }
  state.counters["levels"] = count;
  state.counters["entries"] = static_cast<double>(matches);
  fs::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
  for (int64_t size : {1000, 5000, 20000}) {
    for (int64_t window : {1, 0}) {
      benchmark::RegisterBenchmark(window != 0 ? "WholeRun" : "WholeRunNoDisplay", BM_WholeRun)
          ->Args({size, window})
          ->Iterations(1)
          ->UseManualTime()
          ->Unit(benchmark::kSecond);
    }
    benchmark::RegisterBenchmark("ComparePairs", BM_ComparePairs)
        ->Arg(size)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
