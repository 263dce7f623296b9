// Solves the level suite once per level and prints result code, moves, pushes, positions
// stored and milliseconds per level, then the totals. Usage: bench_solver [suite file].
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "level_text.h"
#include "solver.h"

namespace {

constexpr int32_t kTextRoom = 99011;

struct Totals {
  int64_t moves = 0;
  int64_t pushes = 0;
  int64_t positions = 0;
  double milliseconds = 0;
  int32_t solved = 0;
  int32_t levels = 0;
};

std::string read_file(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void solve_level(const rv7solv::LevelText& level, Totals& totals) {
  static std::vector<char> text(kTextRoom);
  const auto board = rv7solv::board_codes(level);
  int32_t moves = 0;
  int32_t pushes = 0;
  const auto start = std::chrono::steady_clock::now();
  rv7solv::set_geometry(level.width(), level.height());
  const int32_t code = rv7solv::solve(board.data(), &moves, &pushes, text.data());
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  const int32_t positions = rv7solv::positions_stored();
  std::printf("%-22s %5d %6d %7d %8d %10.2f\n", level.name.c_str(), code, moves, pushes, positions,
              spent.count());
  totals.moves += moves;
  totals.pushes += pushes;
  totals.positions += positions;
  totals.milliseconds += spent.count();
  totals.solved += code == 6 ? 1 : 0;
  ++totals.levels;
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : RV7_SOLVER_SUITE;
  const std::vector<rv7solv::LevelText> levels = rv7solv::parse_levels(read_file(path));
  if (levels.empty()) {
    std::fprintf(stderr, "no levels in %s\n", path);
    return 1;
  }
  std::printf("%-22s %5s %6s %7s %8s %10s\n", "level", "code", "moves", "pushes", "stored", "ms");
  Totals totals;
  for (const rv7solv::LevelText& level : levels) {
    if (level.width() * level.height() > rv7solv::kBoardCells) {
      std::printf("%-22s skipped: more than %d cells\n", level.name.c_str(), rv7solv::kBoardCells);
      continue;
    }
    solve_level(level, totals);
  }
  std::printf("%-22s %5s %6lld %7lld %8lld %10.2f\n", "total", "-",
              static_cast<long long>(totals.moves), static_cast<long long>(totals.pushes),
              static_cast<long long>(totals.positions), totals.milliseconds);
  std::printf("solved %d of %d levels\n", totals.solved, totals.levels);
  return 0;
}
