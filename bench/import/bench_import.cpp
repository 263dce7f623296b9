// Level import figures for a generated text file of 10 000 levels (about 2 MB, each with a
// title, an author and its maze rows):
//   ImportTextFile  the whole import as the "Import.." command runs it after its dialogs, into a
//                   fresh data directory: set directory, level files, Game.Ini, Mazes.Ini
//                   (the target is under 2 s);
//   ChunkOnly       cutting the text into levels without writing files;
//   CreateFiles     the floor the file system sets: 10 000 small files created and written.
// The data directory is made in TMPDIR (default /tmp), so a tmpfs can be compared with a disk.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "import.h"
#include "rv7ini.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMinSide = 7;
constexpr int kMaxWidth = 20;
constexpr int kMaxHeight = 12;
constexpr int kLevels = 10000;

void AppendLevel(std::string& text, int number, std::mt19937& random) {
  std::uniform_int_distribution<int> width_of(kMinSide, kMaxWidth);
  std::uniform_int_distribution<int> height_of(kMinSide, kMaxHeight);
  std::uniform_int_distribution<int> percent(0, 99);
  const int width = width_of(random);
  const int height = height_of(random);
  text += "Title: Generated level " + std::to_string(number) + "\nAuthor: Bench\n";
  for (int r = 0; r < height; ++r) {
    std::string row(width, '#');
    for (int c = 1; r > 0 && r < height - 1 && c < width - 1; ++c) {
      const int roll = percent(random);
      row[c] = roll < 15 ? '#' : roll < 19 ? '.' : roll < 23 ? '$' : ' ';
    }
    text += row + " \n";  // a trailing blank, which the import cuts
  }
  text += "\n\n";  // two empty lines act as one
}

std::string LevelText(int levels) {
  std::mt19937 random(7);
  std::string text;
  for (int n = 1; n <= levels; ++n) {
    AppendLevel(text, n, random);
  }
  return text;
}

fs::path BenchDirectory() {
  return fs::temp_directory_path() / ("rv7bench-import-" + std::to_string(::getpid()));
}

// A fresh data directory, made current for the life of the object, with the level text.
class BenchData {
 public:
  BenchData() : dir_(BenchDirectory()), previous_(fs::current_path()), text_(LevelText(kLevels)) {
    fs::create_directories(dir_ / "Ini");
    fs::current_path(dir_);
    std::ofstream(path(), std::ios::binary) << text_;
  }
  ~BenchData() {
    release_ini();
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }
  std::string path() const { return (dir_ / "Bench.txt").string(); }
  double megabytes() const { return static_cast<double>(text_.size()) / (1 << 20); }
  void ClearMazes() const { fs::remove_all(dir_ / "Mazes"); }

 private:
  fs::path dir_;
  fs::path previous_;
  std::string text_;
};

void BM_ImportTextFile(benchmark::State& state) {
  const BenchData data;
  int written = 0;
  for (auto _ : state) {
    state.PauseTiming();
    data.ClearMazes();
    release_ini();
    state.ResumeTiming();
    MakeSetDirectory("Bench");
    written = ImportLevelFile(data.path(), "Bench").levels;
    RegisterImportedSet("Bench", written);
  }
  if (written != kLevels) {
    state.SkipWithError("not every level was imported");
  }
  state.counters["levels"] = written;
  state.counters["MB"] = data.megabytes();
}

struct NullSink : LevelSink {
  bool begin_level(int) override { return true; }
  void write_line(std::string_view line) override { benchmark::DoNotOptimize(line.data()); }
  bool end_level() override { return true; }
};

void BM_ChunkOnly(benchmark::State& state) {
  const BenchData data;
  int levels = 0;
  for (auto _ : state) {
    FILE* text = std::fopen(data.path().c_str(), "r");
    NullSink sink;
    levels = ChunkLevels(text, "Bench", sink);
    std::fclose(text);
  }
  state.counters["levels"] = levels;
}

void BM_CreateFiles(benchmark::State& state) {
  const BenchData data;
  for (auto _ : state) {
    state.PauseTiming();
    data.ClearMazes();
    fs::create_directories("Mazes/Bench");
    state.ResumeTiming();
    for (int n = 1; n <= kLevels; ++n) {
      FILE* file = std::fopen(("Mazes/Bench/Bench." + std::to_string(n)).c_str(), "w");
      std::fputs("Title: x\n#######\n#@ $.#\n#######\n\n", file);
      std::fclose(file);
    }
  }
}

}  // namespace

BENCHMARK(BM_ImportTextFile)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChunkOnly)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateFiles)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
