// Solver figures on level collections, in CPU time:
//   bench_solver [--levels] [--baseline LIB] [FILE...]
//   bench_solver --record [FILE...]
// Without files it runs bench/levels/suite.txt and bench/levels/generated.txt. It prints the
// CPU time per result code, the total and the stored positions per CPU second; --levels adds
// one line per level. With --baseline it also loads LIB, a librv7solv.so built from another
// commit, solves every level with both libraries in turn, checks that they give the same
// answers, and prints both times and their ratio, and the first call of each library on a
// refused board. --record prints the answers instead, one tab-separated line per level:
// name, code, moves, pushes, stored positions, step letters.
#include <dlfcn.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "level_text.h"
#include "solver.h"

namespace {

constexpr int32_t kTextRoom = 99011;
constexpr int32_t kNoSolutionCode = 3;
constexpr int32_t kStoreFullCode = 4;
constexpr int32_t kSolvedCode = 6;
constexpr double kMillisecondsPerSecond = 1000.0;
constexpr int16_t kWallCode = 4;
constexpr int16_t kCrateOnGoalCode = 3;
constexpr int16_t kPlayerCode = 5;

using Solver2Fn = int32_t (*)(const int16_t*, int32_t*, int32_t*, int32_t*, char*, int32_t,
                              int32_t);

struct Answer {
  int32_t code = 0;
  int32_t moves = 0;
  int32_t pushes = 0;
  std::string letters;
  bool operator==(const Answer&) const = default;
};

struct Options {
  bool levels = false;
  bool record = false;
  const char* baseline = nullptr;
  std::vector<std::string> files;
};

// CPU time of the calling thread in milliseconds.
double cpu_milliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * kMillisecondsPerSecond +
         static_cast<double>(now.tv_nsec) / 1e6;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A solver library loaded by path, kept loaded until destroyed.
class Library {
 public:
  explicit Library(const char* path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ != nullptr) {
      solver_ = reinterpret_cast<Solver2Fn>(dlsym(handle_, "Rv7Solver2"));
    }
  }
  ~Library() {
    if (handle_ != nullptr) {
      dlclose(handle_);
    }
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  Solver2Fn solver() const { return solver_; }

 private:
  void* handle_;
  Solver2Fn solver_ = nullptr;
};

Answer call(Solver2Fn solver, const int16_t* board, int32_t width, int32_t height) {
  static std::vector<char> text(kTextRoom);
  Answer answer;
  solver(board, &answer.code, &answer.moves, &answer.pushes, text.data(), width, height);
  if (answer.code == kSolvedCode) {
    answer.letters.assign(text.data(), static_cast<size_t>(answer.moves));
  }
  return answer;
}

// The library under test, linked in: its answer and the positions it stored.
Answer solve_linked(const rv7solv::LevelText& level, int32_t& positions) {
  static std::vector<char> text(kTextRoom);
  const auto board = rv7solv::board_codes(level);
  Answer answer;
  rv7solv::set_geometry(level.width(), level.height());
  answer.code = rv7solv::solve(board.data(), &answer.moves, &answer.pushes, text.data());
  if (answer.code == kSolvedCode) {
    answer.letters.assign(text.data(), static_cast<size_t>(answer.moves));
  }
  positions = rv7solv::positions_stored();
  return answer;
}

struct Figures {
  int32_t levels = 0;
  int64_t positions = 0;
  double milliseconds = 0;
  double baseline_milliseconds = 0;
  void add(const Figures& other) {
    levels += other.levels;
    positions += other.positions;
    milliseconds += other.milliseconds;
    baseline_milliseconds += other.baseline_milliseconds;
  }
};

class Bench {
 public:
  Bench(const Options& options, Solver2Fn baseline) : options_(options), baseline_(baseline) {}

  void run(const rv7solv::LevelText& level);
  void print_summary() const;
  bool answers_agree() const { return disagreements_ == 0; }

 private:
  const Options& options_;
  Solver2Fn baseline_;
  std::map<int32_t, Figures> by_code_;
  int32_t disagreements_ = 0;
};

void Bench::run(const rv7solv::LevelText& level) {
  Figures figures{1, 0, 0, 0};
  int32_t positions = 0;
  const double start = cpu_milliseconds();
  const Answer answer = solve_linked(level, positions);
  figures.milliseconds = cpu_milliseconds() - start;
  figures.positions = positions;
  if (baseline_ != nullptr) {
    const auto board = rv7solv::board_codes(level);
    const double baseline_start = cpu_milliseconds();
    const Answer baseline = call(baseline_, board.data(), level.width(), level.height());
    figures.baseline_milliseconds = cpu_milliseconds() - baseline_start;
    if (!(baseline == answer)) {
      ++disagreements_;
      std::printf("%s: baseline answers code %d, %d moves, %d pushes; this one %d, %d, %d\n",
                  level.name.c_str(), baseline.code, baseline.moves, baseline.pushes, answer.code,
                  answer.moves, answer.pushes);
    }
  }
  if (options_.levels) {
    std::printf("%-34s %4d %6d %6d %8d %11.2f", level.name.c_str(), answer.code, answer.moves,
                answer.pushes, positions, figures.milliseconds);
    if (baseline_ != nullptr) {
      std::printf(" %11.2f", figures.baseline_milliseconds);
    }
    std::printf("\n");
  }
  by_code_[answer.code].add(figures);
}

void print_row(const char* label, const Figures& figures, bool with_baseline) {
  std::printf("%-8s %7d %10lld %12.3f", label, figures.levels,
              static_cast<long long>(figures.positions),
              figures.milliseconds / kMillisecondsPerSecond);
  if (with_baseline) {
    const double ratio =
        figures.milliseconds > 0 ? figures.baseline_milliseconds / figures.milliseconds : 0;
    std::printf(" %12.3f %7.2f", figures.baseline_milliseconds / kMillisecondsPerSecond, ratio);
  }
  std::printf("\n");
}

double per_second(int64_t positions, double milliseconds) {
  return milliseconds > 0 ? static_cast<double>(positions) * kMillisecondsPerSecond / milliseconds
                          : 0;
}

void Bench::print_summary() const {
  const bool with_baseline = baseline_ != nullptr;
  std::printf("\n%-8s %7s %10s %12s", "code", "levels", "stored", "CPU s");
  std::printf(with_baseline ? " %12s %7s\n" : "\n", "baseline s", "ratio");
  Figures total;
  Figures searched;  // codes 3 and 4: the searches that end without a solution
  for (const auto& [code, figures] : by_code_) {
    print_row(std::to_string(code).c_str(), figures, with_baseline);
    total.add(figures);
    if (code == kNoSolutionCode || code == kStoreFullCode) {
      searched.add(figures);
    }
  }
  print_row("3 and 4", searched, with_baseline);
  print_row("total", total, with_baseline);
  std::printf("\nstored positions per CPU second: %.0f\n",
              per_second(total.positions, total.milliseconds));
  if (with_baseline) {
    std::printf("baseline (same positions):       %.0f\n",
                per_second(total.positions, total.baseline_milliseconds));
  }
}

// A board the library must refuse (14 crates): on a freshly loaded library the first call
// shows what a refusal costs before any table has been used.
double refused_first_call(const char* path) {
  constexpr int32_t kWidth = 16;
  constexpr int32_t kHeight = 3;
  constexpr int32_t kCrates = 14;
  std::array<int16_t, kWidth * kHeight> board;
  board.fill(kWallCode);
  for (int32_t column = 1; column <= kCrates; ++column) {
    board[kWidth + column] = kCrateOnGoalCode;
  }
  board[kWidth + kCrates + 1] = kPlayerCode;
  const Library library(path);
  if (library.solver() == nullptr) {
    return -1;
  }
  const double start = cpu_milliseconds();
  call(library.solver(), board.data(), kWidth, kHeight);
  return cpu_milliseconds() - start;
}

std::optional<Options> parse_options(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--levels") == 0) {
      options.levels = true;
    } else if (std::strcmp(argv[i], "--record") == 0) {
      options.record = true;
    } else if (std::strcmp(argv[i], "--baseline") == 0 && i + 1 < argc) {
      options.baseline = argv[++i];
    } else if (argv[i][0] == '-') {
      return std::nullopt;
    } else {
      options.files.emplace_back(argv[i]);
    }
  }
  if (options.files.empty()) {
    options.files = {RV7_SOLVER_LEVELS "/suite.txt", RV7_SOLVER_LEVELS "/generated.txt"};
  }
  return options;
}

std::vector<rv7solv::LevelText> load_levels(const std::vector<std::string>& files) {
  std::vector<rv7solv::LevelText> levels;
  for (const std::string& file : files) {
    for (rv7solv::LevelText& level : rv7solv::parse_levels(read_file(file))) {
      if (level.width() * level.height() > rv7solv::kBoardCells) {
        std::fprintf(stderr, "%s skipped: more than %d cells\n", level.name.c_str(),
                     rv7solv::kBoardCells);
      } else {
        levels.push_back(std::move(level));
      }
    }
  }
  return levels;
}

void record(const std::vector<rv7solv::LevelText>& levels) {
  for (const rv7solv::LevelText& level : levels) {
    int32_t positions = 0;
    const Answer answer = solve_linked(level, positions);
    std::printf("%s\t%d\t%d\t%d\t%d\t%s\n", level.name.c_str(), answer.code, answer.moves,
                answer.pushes, positions, answer.letters.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = parse_options(argc, argv);
  if (!options) {
    std::fprintf(stderr, "usage: bench_solver [--levels] [--baseline LIB | --record] [FILE...]\n");
    return 2;
  }
  const std::vector<rv7solv::LevelText> levels = load_levels(options->files);
  if (levels.empty()) {
    std::fprintf(stderr, "no levels to solve\n");
    return 1;
  }
  if (options->record) {
    record(levels);
    return 0;
  }
  std::printf("refused board, first call after loading: %.3f ms CPU",
              refused_first_call(RV7SOLV_LIBRARY_PATH));
  std::optional<Library> baseline;
  if (options->baseline != nullptr) {
    std::printf(", baseline %.3f ms CPU", refused_first_call(options->baseline));
    baseline.emplace(options->baseline);
    if (baseline->solver() == nullptr) {
      std::fprintf(stderr, "cannot load Rv7Solver2 from %s: %s\n", options->baseline, dlerror());
      return 1;
    }
  }
  std::printf("\n");
  Bench bench(*options, baseline ? baseline->solver() : nullptr);
  for (const rv7solv::LevelText& level : levels) {
    bench.run(level);
  }
  bench.print_summary();
  return bench.answers_agree() ? 0 : 1;
}
