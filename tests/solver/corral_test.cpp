// The corral test on positions set up by hand in the solver's tables.
#include "corral.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "decoded_board.h"
#include "position_table.h"
#include "prune.h"

namespace {

// Verdicts of the slots left in the position table.
std::vector<int16_t> kept_verdicts() {
  std::vector<int16_t> verdicts;
  for (const rv7solv::Slot& slot : rv7solv::table) {
    if (!rv7solv::slot_free(slot)) {
      verdicts.push_back(slot.verdict);
    }
  }
  return verdicts;
}

void set_cell(int32_t row, int32_t column, int16_t value) {
  rv7solv::set_occupancy(cell_at(row, column), value);
}

// Prepares the tables as the forward search has them right after pushing a crate: dead
// squares, the free area, a corral cap, and flood table B from the player's cell.
void prepare_push(std::string_view drawing, int32_t cap, int32_t player_row,
                  int32_t player_column) {
  load_drawing(drawing);
  const int32_t player = cell_at(player_row, player_column);
  rv7solv::mark_dead_squares();
  rv7solv::work.corral_cap = cap;
  const rv7solv::CellTable with_crates = rv7solv::work.occupancy;
  rv7solv::occupancy_from_walls();
  rv7solv::flood(rv7solv::work.flood_a, player);
  rv7solv::work.free_area = rv7solv::work.flood_a.count();
  rv7solv::work.occupancy = with_crates;
  rv7solv::refresh_cell_bits();
  rv7solv::flood(rv7solv::work.flood_b, player);
}

bool forward_test(int32_t crate_row, int32_t crate_column, int32_t player_row,
                  int32_t player_column) {
  return rv7solv::corral_deadlock(rv7solv::CorralMode::kForward, cell_at(crate_row, crate_column),
                                  cell_at(player_row, player_column));
}

bool backward_test(int32_t crate_row, int32_t crate_column, int32_t player_row,
                   int32_t player_column) {
  return rv7solv::corral_deadlock(rv7solv::CorralMode::kBackward, cell_at(crate_row, crate_column),
                                  cell_at(player_row, player_column));
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
  const rv7solv::CellBits empty_before = rv7solv::work.empty;
  EXPECT_TRUE(forward_test(3, 1, 3, 2));
  EXPECT_EQ(rv7solv::work.occupancy, before);
  EXPECT_EQ(rv7solv::work.empty, empty_before);
  EXPECT_FALSE(rv7solv::work.table_full);
  EXPECT_EQ(kept_verdicts().size(), 1U);
  EXPECT_EQ(rv7solv::work.slots_in_use, 1);
  // A kept forward deadlock is searched again and gives the same verdict; the second search
  // shares the slot of the first but counts as one more slot in use.
  EXPECT_TRUE(forward_test(3, 1, 3, 2));
  EXPECT_EQ(kept_verdicts().size(), 1U);
  EXPECT_EQ(rv7solv::work.slots_in_use, 2);
  // A backward test of the same corral (its crate now away from its start cell) takes the
  // kept forward deadlock without a search.
  rv7solv::work.start_crate[cell_at(3, 1)] = 0;
  rv7solv::work.start_crate[cell_at(1, 3)] = 1;
  EXPECT_TRUE(backward_test(3, 1, 3, 2));
  EXPECT_EQ(rv7solv::work.slots_in_use, 2);
}

// A pocket two cells deep: the crate can be pushed one cell into it (on its way to the goal
// above, were the player below it) and no further, and the player never gets in.
constexpr char kDeepPocket[] = R"(
#######
#.    #
#     #
#$    #
# #   #
# #   #
#######
)";

TEST(Corral, KeptForwardDeadlockIsTakenAgainWithoutASearchWhileTheTableHasRoom) {
  prepare_push(kDeepPocket, 2, 3, 2);
  ASSERT_TRUE(forward_test(3, 1, 3, 2));
  const int32_t searched = rv7solv::work.queue_free;
  ASSERT_GT(searched, 1);
  // Met again, the deadlock is taken from the kept slot: only the start enters the queue.
  EXPECT_TRUE(forward_test(3, 1, 3, 2));
  EXPECT_EQ(rv7solv::work.queue_free, 1);
  EXPECT_EQ(rv7solv::work.slots_in_use, 2);
  EXPECT_EQ(kept_verdicts().size(), 1U);
  // Without room for a whole search it is searched again, and runs into the full table just
  // where that search would.
  rv7solv::work.slots_in_use = rv7solv::kTableSlots - searched + 1;
  EXPECT_FALSE(forward_test(3, 1, 3, 2));
  EXPECT_TRUE(rv7solv::work.table_full);
}

TEST(Corral, CorralThatCanBeOpenedIsNoDeadlockAndItsEscapeIsKept) {
  prepare_push(kPocketWithGoal, 2, 3, 2);
  EXPECT_FALSE(forward_test(3, 1, 3, 2));
  EXPECT_EQ(kept_verdicts().size(), 1U);
  EXPECT_EQ(rv7solv::work.slots_in_use, 1);
  // Met again, the kept escape decides without a new search.
  EXPECT_FALSE(forward_test(3, 1, 3, 2));
  EXPECT_EQ(rv7solv::work.slots_in_use, 1);
  EXPECT_EQ(kept_verdicts().size(), 1U);
}

TEST(Corral, CapOfZeroOrTooManyCratesSwitchesTheTestOff) {
  prepare_push(kPocketWithoutGoal, 0, 3, 2);
  EXPECT_FALSE(forward_test(3, 1, 3, 2));
}

TEST(Corral, CrateWithEveryEmptyNeighbourReachableIsNeverTested) {
  prepare_push(kPocketWithoutGoal, 2, 1, 1);
  // Crate moved into the open room: nothing is closed off.
  set_cell(3, 1, rv7solv::kEmpty);
  set_cell(2, 3, rv7solv::kCrate);
  rv7solv::flood(rv7solv::work.flood_b, cell_at(2, 2));
  EXPECT_FALSE(forward_test(2, 3, 2, 2));
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
  set_cell(2, 3, rv7solv::kEmpty);
  set_cell(3, 1, rv7solv::kCrate);
  rv7solv::flood(rv7solv::work.flood_b, cell_at(4, 1));
  EXPECT_TRUE(backward_test(3, 1, 4, 1));
  EXPECT_EQ(kept_verdicts().size(), 1U);
  // Kept, the backward deadlock decides the next backward test without a search.
  EXPECT_TRUE(backward_test(3, 1, 4, 1));
  EXPECT_EQ(rv7solv::work.slots_in_use, 1);
}

TEST(Corral, BackwardCorralOnItsStartCellsIsAnEscapeAtOnce) {
  prepare_push(kPocketWithoutGoal, 2, 4, 1);
  EXPECT_FALSE(backward_test(3, 1, 4, 1));
  EXPECT_TRUE(kept_verdicts().empty());
}

TEST(Corral, ProbeThroughAFullTableStopsTheSearchInsteadOfLooping) {
  prepare_push(kPocketWithoutGoal, 2, 3, 2);
  for (int32_t slot = 0; slot < rv7solv::kTableSlots; ++slot) {
    rv7solv::write_slot(slot, rv7solv::Key{1, 1}, rv7solv::kBackwardEscape, rv7solv::kNoSlot);
  }
  rv7solv::work.slots_in_use = rv7solv::kTableSlots;
  EXPECT_FALSE(forward_test(3, 1, 3, 2));
  EXPECT_TRUE(rv7solv::work.table_full);
  EXPECT_EQ(rv7solv::work.occupancy[cell_at(3, 1)], rv7solv::kCrate);
}

TEST(Corral, TableCountsAsFullWhenEveryKeptVerdictWouldHoldASlot) {
  // Searches that share a slot still count one each: with all of them counted the table is
  // full, although nearly every slot is physically free.
  prepare_push(kPocketWithoutGoal, 2, 3, 2);
  rv7solv::work.slots_in_use = rv7solv::kTableSlots;
  EXPECT_FALSE(forward_test(3, 1, 3, 2));
  EXPECT_TRUE(rv7solv::work.table_full);
  EXPECT_TRUE(kept_verdicts().empty());
  // With room for every position of the search it ends with its verdict.
  prepare_push(kPocketWithoutGoal, 2, 3, 2);
  rv7solv::work.slots_in_use = rv7solv::kTableSlots - rv7solv::kCorralQueueSize;
  EXPECT_TRUE(forward_test(3, 1, 3, 2));
  EXPECT_FALSE(rv7solv::work.table_full);
}

}  // namespace
