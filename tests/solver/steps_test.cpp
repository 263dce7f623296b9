// The step list and its letters.
#include "steps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "solver_state.h"

namespace {

int32_t entry(int32_t from, int32_t to, int32_t direction) {
  return from * 10000 + to * 10 + direction;
}

TEST(Steps, LettersFollowTheDirectionDigit) {
  EXPECT_EQ(rv7solv::step_letter(entry(20, 19, 0)), 'l');
  EXPECT_EQ(rv7solv::step_letter(entry(20, 38, 1)), 'd');
  EXPECT_EQ(rv7solv::step_letter(entry(20, 21, 2)), 'r');
  EXPECT_EQ(rv7solv::step_letter(entry(20, 2, 3)), 'u');
  EXPECT_EQ(rv7solv::step_letter(entry(20, 2, 4)), '?');
  EXPECT_EQ(rv7solv::step_letter(entry(255, 254, 9)), '?');
}

TEST(Steps, CountStopsAtTheTerminatorOrTheLimit) {
  const std::vector<int32_t> steps = {entry(20, 21, 2), entry(21, 22, 2), -1, entry(1, 2, 2)};
  EXPECT_EQ(rv7solv::count_steps(steps, rv7solv::kMaxSteps), 2);
  EXPECT_EQ(rv7solv::count_steps(steps, 1), 1);
  const std::vector<int32_t> unterminated(5, entry(20, 21, 2));
  EXPECT_EQ(rv7solv::count_steps(unterminated, rv7solv::kMaxSteps), 5);
}

TEST(Steps, SolutionOfTheFullListLengthReachesTheTooLongCount) {
  // A step list that fills every entry before its terminator is the code-7 case.
  std::vector<int32_t> steps(rv7solv::kListSize, entry(20, 21, 2));
  steps.back() = -1;
  EXPECT_EQ(rv7solv::count_steps(steps, rv7solv::kMaxSteps), rv7solv::kMaxSteps);
  steps[rv7solv::kMaxSteps - 1] = -1;
  EXPECT_EQ(rv7solv::count_steps(steps, rv7solv::kMaxSteps), rv7solv::kMaxSteps - 1);
}

TEST(Steps, TextGetsOneLetterPerStepAndNothingBehind) {
  const std::vector<int32_t> steps = {entry(20, 19, 0), entry(19, 37, 1), entry(37, 38, 2),
                                      entry(38, 20, 3)};
  std::string text(8, '#');
  rv7solv::write_step_text(steps, text.data());
  EXPECT_EQ(text, "ldru####");
}

}  // namespace
