#include "pull_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "level_test_support.h"
#include "solver.h"
#include "walk.h"

namespace levels {
namespace {

// A room with three goals; its crates and keeper only make it parse.
constexpr char kRoom[] = R"(
########
#  .   #
# #$## #
#  . $ #
## # $ #
#  .@  #
########
)";

int pushes_in(const std::string& letters) {
  return static_cast<int>(std::count_if(letters.begin(), letters.end(), ::isupper));
}

// The level of a stored position, the keeper on the lowest square of his area.
Level level_of(const Level& room, const PullSearch& search, std::size_t position) {
  Level level = room;
  level.crates = search.crates(position);
  level.keeper = search.keeper_area(position);
  return level;
}

TEST(PullSearch, EveryPositionNeedsExactlyItsPullCountInPushes) {
  const Level room = parse_ok(kRoom);
  PullSearch search(room, 1'000'000);
  ASSERT_TRUE(search.run());
  ASSERT_GE(search.depth(), 8);
  for (int pulls = 0; pulls <= search.depth(); pulls += 2) {
    const auto [first, end] = search.level_range(pulls);
    ASSERT_LT(first, end) << pulls;
    for (std::size_t p = first; p < end; p += std::max<std::size_t>(1, (end - first) / 5)) {
      SCOPED_TRACE("pulls " + std::to_string(pulls));
      const Level level = level_of(room, search, p);
      // An independent forward search with the fewest pushes agrees with the pull count.
      const SolveResult forward = solve(level);
      ASSERT_TRUE(forward.letters.has_value());
      EXPECT_EQ(pushes_in(*forward.letters), pulls);
      // Both solutions the search gives replay to a solved board with that many pushes.
      for (const std::vector<Push>& pushes :
           {search.pushes_to_solve(p), search.fewest_changes(p)}) {
        const std::optional<std::string> letters = solution_letters(level, pushes);
        ASSERT_TRUE(letters.has_value());
        const Replay replay = replay_steps(level, *letters);
        EXPECT_TRUE(replay.solved) << *letters;
        EXPECT_EQ(replay.pushes, pulls);
      }
    }
  }
}

TEST(PullSearch, FewestChangesNeverChangesCratesMoreOftenThanThePathFoundFirst) {
  const Level room = parse_ok(kRoom);
  PullSearch search(room, 1'000'000);
  ASSERT_TRUE(search.run());
  int fewer = 0;
  for (std::size_t p = 0; p < search.positions(); ++p) {
    const int found = crate_changes(search.pushes_to_solve(p));
    const int fewest = crate_changes(search.fewest_changes(p));
    EXPECT_LE(fewest, found);
    fewer += fewest < found ? 1 : 0;
  }
  EXPECT_GT(fewer, 0);  // the room is big enough for the first path to be a poor one
}

TEST(PullSearch, StopsAtThePositionLimitWithItsLevelsInOrder) {
  const Level room = parse_ok(kRoom);
  PullSearch full(room, 1'000'000);
  ASSERT_TRUE(full.run());
  PullSearch cut(room, full.positions() / 3);
  EXPECT_FALSE(cut.run());
  EXPECT_LT(cut.positions(), full.positions());
  EXPECT_LT(cut.depth(), full.depth());
  std::size_t expected_first = 0;
  for (int pulls = 0; pulls <= cut.depth(); ++pulls) {
    const auto [first, end] = cut.level_range(pulls);
    EXPECT_EQ(first, expected_first);
    EXPECT_LT(first, end);
    expected_first = end;
  }
  EXPECT_EQ(expected_first, cut.positions());
}

TEST(PullSearch, OneSolvedPositionForEveryAreaTheGoalCratesLeave) {
  // Crates on the three goals of the middle row cut the room in two.
  const Level room = parse_ok("#######\n#  @  #\n#.....#\n#  $$$#\n#  $$ #\n#######\n");
  PullSearch search(room, 1000);
  search.run();
  const auto [first, end] = search.level_range(0);
  ASSERT_EQ(end - first, 2u);
  EXPECT_NE(search.keeper_area(first), search.keeper_area(first + 1));
  for (std::size_t p = first; p < end; ++p) {
    EXPECT_TRUE(search.pushes_to_solve(p).empty());
  }
}

}  // namespace
}  // namespace levels
