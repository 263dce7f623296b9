// Report program figures over generated collections (collections.h): whole nrv7dup runs on
// mixed collections of 1 000 to 50 000 levels and on 20 000 levels of one size, with the
// offscreen window and without any display; pass 2 alone; whole nrv7sco runs. Each whole
// run reports its wall time and, as the counter cpu_s, the CPU time (user + system) the
// program used, which is steadier on a shared machine.
//
//   bench_dupes [benchmark options]        runs the benchmarks
//   bench_dupes --make mixed|same N DIR    only writes a collection of N levels into DIR
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "collections.h"
#include "level_compare.h"
#include "level_list.h"
#include "rv7ini.h"

namespace {

namespace fs = std::filesystem;

struct ChildRun {
  int status = -1;  // exit status; -1 when it did not end normally
  double cpu_seconds = 0;
};

// Runs `program` in `dir`, with the offscreen window or with no display at all.
ChildRun RunProgram(const char* program, const fs::path& dir, bool with_window) {
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
    ::execl(program, program, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ChildRun run;
  int status = 0;
  struct rusage usage {};
  if (::wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
    run.status = WEXITSTATUS(status);
  }
  auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
  run.cpu_seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  return run;
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

// range(0): number of levels; range(1): 1 with the offscreen window, 0 without a display;
// range(2): the CollectionKind; range(3): 1 for nrv7sco, 0 for nrv7dup.
void BM_WholeRun(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const bool with_window = state.range(1) != 0;
  const auto kind = static_cast<CollectionKind>(state.range(2));
  const bool scores = state.range(3) != 0;
  const fs::path dir = BenchDirectory(count);
  ChildRun run;
  for (auto _ : state) {
    state.PauseTiming();
    BuildCollection(dir, kind, count);  // a fresh collection: nrv7dup hands score files on
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    run = RunProgram(scores ? NRV7SCO_PATH : NRV7DUP_PATH, dir, with_window);
    if (run.status != 0) {
      state.SkipWithError("the program failed");
      break;
    }
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["levels"] = count;
  state.counters["cpu_s"] = run.cpu_seconds;
  if (!scores) {
    state.counters["entries"] = EntriesOf(dir / "htm" / "rv7dupe.htm");
  }
  fs::remove_all(dir);
}

class CountMatches : public PairObserver {
 public:
  void FirstLevel(const LevelEntry&) override {}
  void Match(const LevelEntry&, const LevelEntry&, MatchKind, bool) override { ++matches; }
  long matches = 0;
};

// range(0): number of levels; range(1): the CollectionKind.
void BM_ComparePairs(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const fs::path dir = BenchDirectory(count);
  BuildCollection(dir, static_cast<CollectionKind>(state.range(1)), count);
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

void RegisterWholeRun(const std::string& program, CollectionKind kind, int count, bool window,
                      bool scores) {
  const std::string name =
      program + "/" + CollectionKindName(kind) + (window ? "/offscreen" : "/no_display");
  benchmark::RegisterBenchmark(name.c_str(), BM_WholeRun)
      ->Args({count, window ? 1 : 0, static_cast<int>(kind), scores ? 1 : 0})
      ->Iterations(1)
      ->UseManualTime()
      ->Unit(benchmark::kSecond);
}

void RegisterAll() {
  struct Collection {
    CollectionKind kind;
    int count;
  };
  const Collection collections[] = {{CollectionKind::kMixed, 1000},
                                    {CollectionKind::kMixed, 5000},
                                    {CollectionKind::kMixed, 20000},
                                    {CollectionKind::kSameSize, 20000},
                                    {CollectionKind::kMixed, 50000}};
  for (const Collection& collection : collections) {
    for (bool window : {true, false}) {
      RegisterWholeRun("nrv7dup", collection.kind, collection.count, window, false);
    }
    benchmark::RegisterBenchmark(
        (std::string("ComparePairs/") + CollectionKindName(collection.kind)).c_str(),
        BM_ComparePairs)
        ->Args({collection.count, static_cast<int>(collection.kind)})
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
  }
  for (int count : {20000, 50000}) {
    for (bool window : {true, false}) {
      RegisterWholeRun("nrv7sco", CollectionKind::kMixed, count, window, true);
    }
  }
}

// --make KIND COUNT DIR: writes the collection and returns 0; 2 on bad arguments.
int MakeOnly(int argc, char** argv) {
  const std::optional<CollectionKind> kind = argc == 5 ? CollectionKindOf(argv[2]) : std::nullopt;
  const int count = argc == 5 ? std::atoi(argv[3]) : 0;
  if (!kind.has_value() || count <= 0) {
    std::fprintf(stderr, "usage: %s --make mixed|same COUNT DIR\n", argv[0]);
    return 2;
  }
  BuildCollection(argv[4], *kind, count);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "--make") {
    return MakeOnly(argc, argv);
  }
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
