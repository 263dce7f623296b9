// The corral test on positions set up by hand in the solver's tables.
#include "corral.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "decoded_board.h"
#include "prune.h"

namespace {

// Verdicts of the slots left in the position table.
std::vector<int16_t> kept_verdicts() {
  std::vector<int16_t> verdicts;
  for (const rv7solv::Slot& slot : rv7solv::table) {
    if (slot.key[0] != 0) {
      verdicts.push_back(slot.verdict);
    }
  }
  return verdicts;
}

// Prepares the tables as the forward search has them right after pushing a crate: dead
// squares, the free area, a corral cap, and flood table B from the player's cell.
void prepare_push(std::string_view drawing, int32_t cap, int32_t player_row,
                  int32_t player_column) {
  load_drawing(drawing);
  const int32_t player = cell_at(player_row, player_column);
  rv7solv::mark_dead_squares();
  rv7solv::work.corral_cap = cap;
  rv7solv::work.shift = rv7solv::kHashBits / rv7solv::work.crates;
  const rv7solv::CellTable with_crates = rv7solv::work.occupancy;
  rv7solv::occupancy_from_walls();
  rv7solv::work.free_area = rv7solv::flood(rv7solv::work.flood_a, player).count;
  rv7solv::work.occupancy = with_crates;
  rv7solv::flood(rv7solv::work.flood_b, player);
}

// The crate on row 3, column 1 was just pushed left; the player stands where it was. The
// pocket below it can only be opened by pushing the crate down into a dead corner.
constexpr char kPocketWithoutGoal[] = R"(
#######
#  .  #
#     #
#$    #
# #   #
#######
)";

// The same pocket holding a goal: pushing the crate down opens the whole board.
constexpr char kPocketWithGoal[] = R"(
#######
#     #
#     #
#$    #
#.#   #
#######
)";

TEST(Corral, CrateSealingAPocketItCanNeverLeaveIsADeadlock) {
  prepare_push(kPocketWithoutGoal, 2, 3, 2);
  const rv7solv::CellTable before = rv7solv::work.occupancy;
  EXPECT_TRUE(
      rv7solv::corral_deadlock(rv7solv::CorralMode::kForward, cell_at(3, 1), cell_at(3, 2)));
  EXPECT_EQ(rv7solv::work.occupancy, before);
  EXPECT_FALSE(rv7solv::work.table_full);
  EXPECT_EQ(kept_verdicts(), std::vector<int16_t>{rv7solv::kForwardDeadlock});
  // A kept forward deadlock is searched again, kept once more, and gives the same verdict.
  EXPECT_TRUE(
      rv7solv::corral_deadlock(rv7solv::CorralMode::kForward, cell_at(3, 1), cell_at(3, 2)));
  EXPECT_EQ(kept_verdicts(),
            (std::vector<int16_t>{rv7solv::kForwardDeadlock, rv7solv::kForwardDeadlock}));
}

TEST(Corral, CorralThatCanBeOpenedIsNoDeadlockAndItsEscapeIsKept) {
  prepare_push(kPocketWithGoal, 2, 3, 2);
  EXPECT_FALSE(
      rv7solv::corral_deadlock(rv7solv::CorralMode::kForward, cell_at(3, 1), cell_at(3, 2)));
  EXPECT_EQ(kept_verdicts(), std::vector<int16_t>{rv7solv::kForwardEscape});
  // Met again, the kept escape decides without a new search.
  EXPECT_FALSE(
      rv7solv::corral_deadlock(rv7solv::CorralMode::kForward, cell_at(3, 1), cell_at(3, 2)));
  EXPECT_EQ(kept_verdicts(), std::vector<int16_t>{rv7solv::kForwardEscape});
}

TEST(Corral, CapOfZeroOrTooManyCratesSwitchesTheTestOff) {
  prepare_push(kPocketWithoutGoal, 0, 3, 2);
  EXPECT_FALSE(
      rv7solv::corral_deadlock(rv7solv::CorralMode::kForward, cell_at(3, 1), cell_at(3, 2)));
}

TEST(Corral, CrateWithEveryEmptyNeighbourReachableIsNeverTested) {
  prepare_push(kPocketWithoutGoal, 2, 1, 1);
  // Crate moved into the open room: nothing is closed off.
  rv7solv::work.occupancy[cell_at(3, 1)] = rv7solv::kEmpty;
  rv7solv::work.occupancy[cell_at(2, 3)] = rv7solv::kCrate;
  rv7solv::flood(rv7solv::work.flood_b, cell_at(2, 2));
  EXPECT_FALSE(
      rv7solv::corral_deadlock(rv7solv::CorralMode::kForward, cell_at(2, 3), cell_at(2, 2)));
  EXPECT_TRUE(kept_verdicts().empty());
}

// Backward search: the player stands in the pocket below the crate at row 3, column 1 and
// can pull it nowhere.
constexpr char kPlayerInPocket[] = R"(
#######
#  .  #
#  $  #
#     #
# #   #
#######
)";

TEST(Corral, PlayerShutInByCratesItCannotPullIsABackwardDeadlock) {
  prepare_push(kPlayerInPocket, 2, 4, 1);
  rv7solv::work.occupancy[cell_at(2, 3)] = rv7solv::kEmpty;
  rv7solv::work.occupancy[cell_at(3, 1)] = rv7solv::kCrate;
  rv7solv::flood(rv7solv::work.flood_b, cell_at(4, 1));
  EXPECT_TRUE(
      rv7solv::corral_deadlock(rv7solv::CorralMode::kBackward, cell_at(3, 1), cell_at(4, 1)));
  EXPECT_EQ(kept_verdicts(), std::vector<int16_t>{rv7solv::kBackwardDeadlock});
}

TEST(Corral, BackwardCorralOnItsStartCellsIsAnEscapeAtOnce) {
  prepare_push(kPocketWithoutGoal, 2, 4, 1);
  EXPECT_FALSE(
      rv7solv::corral_deadlock(rv7solv::CorralMode::kBackward, cell_at(3, 1), cell_at(4, 1)));
  EXPECT_TRUE(kept_verdicts().empty());
}

TEST(Corral, ProbeThroughAFullTableStopsTheSearchInsteadOfLooping) {
  prepare_push(kPocketWithoutGoal, 2, 3, 2);
  for (rv7solv::Slot& slot : rv7solv::table) {
    slot.key = {1, 1};
    slot.verdict = rv7solv::kBackwardEscape;
  }
  EXPECT_FALSE(
      rv7solv::corral_deadlock(rv7solv::CorralMode::kForward, cell_at(3, 1), cell_at(3, 2)));
  EXPECT_TRUE(rv7solv::work.table_full);
  EXPECT_EQ(rv7solv::work.occupancy[cell_at(3, 1)], rv7solv::kCrate);
}

}  // namespace
