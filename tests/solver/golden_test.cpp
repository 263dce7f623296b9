// The solver's answers on our level collections, recorded once (golden_answers.txt, written by
// `bench_solver --record`): every change to the search must give exactly the same result code,
// moves, pushes, step letters and number of stored positions.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "level_text.h"
#include "solver.h"

namespace {

constexpr int kShares = 4;  // the boards are split into this many tests that may run side by side
constexpr int32_t kTextRoom = 99011;
constexpr int32_t kSolved = 6;
#ifdef RV7_SANITIZED_BUILD
// The instrumented build checks memory use on the smaller searches only.
constexpr int32_t kMostPositions = 3000;
#else
constexpr int32_t kMostPositions = 99013;
#endif

struct Golden {
  std::string name;
  int32_t code = 0;
  int32_t moves = 0;
  int32_t pushes = 0;
  int32_t positions = 0;
  std::string letters;
};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// One line per level: name, code, moves, pushes, stored positions, letters, split by tabs.
std::vector<Golden> read_golden() {
  std::istringstream lines(read_file(RV7_SOLVER_GOLDEN));
  std::vector<Golden> answers;
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    Golden golden;
    std::string number;
    std::getline(fields, golden.name, '\t');
    for (int32_t* value : {&golden.code, &golden.moves, &golden.pushes, &golden.positions}) {
      std::getline(fields, number, '\t');
      *value = std::stoi(number);
    }
    std::getline(fields, golden.letters);
    answers.push_back(golden);
  }
  return answers;
}

std::map<std::string, rv7solv::LevelText> read_levels() {
  std::map<std::string, rv7solv::LevelText> levels;
  for (const char* file : {"suite.txt", "generated.txt", "corral-heavy.txt"}) {
    for (rv7solv::LevelText& level :
         rv7solv::parse_levels(read_file(std::string(RV7_SOLVER_LEVELS "/") + file))) {
      levels[level.name] = std::move(level);
    }
  }
  return levels;
}

const std::vector<Golden>& golden_answers() {
  static const std::vector<Golden> answers = read_golden();
  return answers;
}

const std::map<std::string, rv7solv::LevelText>& levels() {
  static const std::map<std::string, rv7solv::LevelText> all = read_levels();
  return all;
}

void expect_golden(const Golden& golden) {
  const auto found = levels().find(golden.name);
  ASSERT_NE(found, levels().end()) << golden.name;
  const rv7solv::LevelText& level = found->second;
  static std::vector<char> text(kTextRoom);
  const auto board = rv7solv::board_codes(level);
  int32_t moves = -1;
  int32_t pushes = -1;
  rv7solv::set_geometry(level.width(), level.height());
  const int32_t code = rv7solv::solve(board.data(), &moves, &pushes, text.data());
  EXPECT_EQ(code, golden.code) << golden.name;
  EXPECT_EQ(moves, golden.moves) << golden.name;
  EXPECT_EQ(pushes, golden.pushes) << golden.name;
  EXPECT_EQ(rv7solv::positions_stored(), golden.positions) << golden.name;
  if (code == kSolved && moves == golden.moves) {
    EXPECT_EQ(std::string(text.data(), static_cast<size_t>(moves)), golden.letters) << golden.name;
  }
}

TEST(GoldenAnswers, CoverEveryLevelAndEveryKindOfResult) {
  const auto& answers = golden_answers();
  ASSERT_EQ(answers.size(), levels().size());
  std::map<int32_t, int> codes;
  for (const Golden& golden : answers) {
    EXPECT_EQ(levels().count(golden.name), 1U) << golden.name;
    ++codes[golden.code];
  }
  EXPECT_GE(answers.size(), 500U);
  for (const int32_t code : {1, 2, 3, 4, 6}) {
    EXPECT_GE(codes[code], 10) << "code " << code;
  }
}

class GoldenShare : public testing::TestWithParam<int> {};

TEST_P(GoldenShare, SolverGivesTheRecordedAnswers) {
  const auto& answers = golden_answers();
  int checked = 0;
  for (size_t i = static_cast<size_t>(GetParam()); i < answers.size(); i += kShares) {
    if (answers[i].positions <= kMostPositions) {
      expect_golden(answers[i]);
      ++checked;
    }
  }
  EXPECT_GT(checked, 0);
}

INSTANTIATE_TEST_SUITE_P(Boards, GoldenShare, testing::Range(0, kShares));

}  // namespace
