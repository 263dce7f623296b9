// Loading, using and unloading librv7solv.so again and again in one process, as the game
// does for every request: every load answers like the first, and the library needs no other
// library than the C library.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "level_text.h"
#include "solve_helper.h"

namespace {

constexpr int kLoads = 12;

using Solver1Fn = int32_t (*)(const int16_t*, int32_t*, int32_t*, int32_t*, char*);

class LoadedSolver {
 public:
  LoadedSolver() : handle_(dlopen(RV7SOLV_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ != nullptr) {
      solver2_ = reinterpret_cast<Solver2Fn>(dlsym(handle_, "Rv7Solver2"));
      solver1_ = reinterpret_cast<Solver1Fn>(dlsym(handle_, "Rv7Solver"));
    }
  }
  ~LoadedSolver() {
    if (handle_ != nullptr) {
      dlclose(handle_);
    }
  }
  LoadedSolver(const LoadedSolver&) = delete;
  LoadedSolver& operator=(const LoadedSolver&) = delete;

  bool ready() const { return solver1_ != nullptr && solver2_ != nullptr; }
  Solver2Fn solver2() const { return solver2_; }

  // Rv7Solver on an 18-column board drawing, with the library's current geometry.
  Answer solve_current(std::string_view drawing) const {
    const rv7solv::LevelText level{"", rows_of(drawing)};
    std::vector<int16_t> board(rv7solv::kBoardCells, 4);
    const auto codes = rv7solv::board_codes(level);
    std::copy(codes.begin(), codes.end(), board.begin());
    std::vector<char> text(kTextRoom + kCanaryBytes);
    Answer answer;
    answer.returned =
        solver1_(board.data(), &answer.code, &answer.moves, &answer.pushes, text.data());
    answer.text.assign(text.begin(), text.begin() + std::max(answer.moves, 0));
    return answer;
  }

 private:
  void* handle_;
  Solver2Fn solver2_ = nullptr;
  Solver1Fn solver1_ = nullptr;
};

// An 18 x 14 level: what Rv7Solver must solve on a freshly loaded library.
const std::string kEighteenWide = std::string(18, '#') + "\n#@   $      .    #\n" + [] {
  std::string rows;
  for (int row = 0; row < 11; ++row) {
    rows += "#                #\n";
  }
  return rows;
}() + std::string(18, '#') + "\n";

constexpr char kSixWide[] = "######\n#@   #\n# $  #\n#   .#\n######\n";
constexpr char kNineWide[] = R"(
#########
#.  #  .#
# $ @ $ #
#   #   #
#########
)";
constexpr char kTwelveWide[] = R"(
############
#          #
# $$   @ ..#
#  #       #
############
)";

struct Round {
  Answer fresh_default;  // Rv7Solver right after loading
  std::vector<Answer> by_width;
};

Round play_round(const LoadedSolver& solver) {
  Round round;
  round.fresh_default = solver.solve_current(kEighteenWide);
  for (const char* drawing : {kSixWide, kTwelveWide, kNineWide, kSixWide}) {
    round.by_width.push_back(solve_drawing(solver.solver2(), drawing));
  }
  return round;
}

TEST(Rv7SolverLoading, EveryLoadAnswersLikeTheFirst) {
  Round first;
  for (int load = 0; load < kLoads; ++load) {
    const LoadedSolver solver;
    ASSERT_TRUE(solver.ready()) << dlerror();
    const Round round = play_round(solver);
    if (load == 0) {
      first = round;
      EXPECT_EQ(first.fresh_default.code, 6);
      ASSERT_EQ(first.by_width.size(), 4U);
      EXPECT_EQ(first.by_width[0], first.by_width[3]);
      continue;
    }
    EXPECT_EQ(round.fresh_default, first.fresh_default) << "load " << load;
    EXPECT_EQ(round.by_width, first.by_width) << "load " << load;
  }
}

TEST(Rv7SolverLoading, FreshLoadUsesEighteenByFourteenAndKeepsLaterGeometry) {
  const LoadedSolver solver;
  ASSERT_TRUE(solver.ready()) << dlerror();
  EXPECT_EQ(solver.solve_current(kEighteenWide).code, 6);
  ASSERT_EQ(solve_drawing(solver.solver2(), kSixWide).code, 6);
  // The same cells read six wide no longer form a closed level.
  EXPECT_EQ(solver.solve_current(kEighteenWide).code, 2);
}

// The libraries that an ELF shared object names as needed (its DT_NEEDED entries).
std::vector<std::string> needed_libraries(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto at = [&file](size_t offset) { return file.data() + offset; };
  Elf64_Ehdr header;
  std::memcpy(&header, at(0), sizeof header);
  std::vector<std::string> names;
  for (int i = 0; i < header.e_shnum; ++i) {
    Elf64_Shdr section;
    std::memcpy(&section, at(header.e_shoff + i * sizeof section), sizeof section);
    if (section.sh_type != SHT_DYNAMIC) {
      continue;
    }
    Elf64_Shdr strings;
    std::memcpy(&strings, at(header.e_shoff + section.sh_link * sizeof strings), sizeof strings);
    for (size_t entry = 0; entry < section.sh_size / sizeof(Elf64_Dyn); ++entry) {
      Elf64_Dyn dynamic;
      std::memcpy(&dynamic, at(section.sh_offset + entry * sizeof dynamic), sizeof dynamic);
      if (dynamic.d_tag == DT_NEEDED) {
        names.emplace_back(at(strings.sh_offset + dynamic.d_un.d_val));
      }
    }
  }
  return names;
}

TEST(Rv7SolverLoading, LibraryNeedsNothingButTheCLibrary) {
#ifdef RV7_SANITIZED_BUILD
  GTEST_SKIP() << "the instrumented build links the sanitizer run-times";
#endif
  EXPECT_EQ(needed_libraries(RV7SOLV_LIBRARY_PATH), std::vector<std::string>{"libc.so.6"});
}

}  // namespace
