// The position table across solves, and the position keys that the search builds move by
// move.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>
#include <vector>

#include "decoded_board.h"
#include "position_table.h"
#include "search.h"

namespace {

constexpr char kRoom[] = "#######\n#@ $. #\n#######\n";

TEST(PositionTable, SlotsOfAnEarlierSolveAndFreedSlotsCountAsFree) {
  load_drawing(kRoom);
  const rv7solv::Key key{5, 9};
  const rv7solv::Probe empty = rv7solv::probe(key, [](const rv7solv::Slot&) { return true; });
  ASSERT_FALSE(empty.found);
  rv7solv::write_slot(empty.slot, key, rv7solv::kForward, rv7solv::kNoSlot);
  const rv7solv::Probe again = rv7solv::probe(key, [](const rv7solv::Slot&) { return true; });
  EXPECT_TRUE(again.found);
  EXPECT_EQ(again.slot, empty.slot);
  // A slot that accept refuses is passed; the probe goes on to a free slot.
  const rv7solv::Probe passed = rv7solv::probe(key, [](const rv7solv::Slot&) { return false; });
  EXPECT_FALSE(passed.found);
  EXPECT_NE(passed.slot, empty.slot);
  // The next solve starts on an empty table without writing it.
  load_drawing(kRoom);
  EXPECT_TRUE(rv7solv::slot_free(rv7solv::table[empty.slot]));
  EXPECT_FALSE(rv7solv::probe(key, [](const rv7solv::Slot&) { return true; }).found);
  rv7solv::write_slot(empty.slot, key, rv7solv::kBackward, rv7solv::kNoSlot);
  rv7solv::free_slot(empty.slot);
  EXPECT_TRUE(rv7solv::slot_free(rv7solv::table[empty.slot]));
}

TEST(PositionTable, KeysThatDifferInOneCellSpreadOverTheTable) {
  std::set<int32_t> slots;
  for (uint8_t cell = 1; cell < 201; ++cell) {
    const int32_t slot = rv7solv::first_slot(rv7solv::Key{3, 7, cell, 40});
    ASSERT_GE(slot, 0);
    ASSERT_LT(slot, rv7solv::kTableSlots);
    slots.insert(slot);
  }
  EXPECT_GT(slots.size(), 190U);
  EXPECT_EQ(rv7solv::next_slot(rv7solv::kTableSlots - 1), 0);
}

TEST(PositionTable, KeyAfterAMoveIsTheSortedKeyOfTheNewCrates) {
  std::mt19937 random(77);
  for (int round = 0; round < 2000; ++round) {
    const int32_t crates = std::uniform_int_distribution<int32_t>(1, rv7solv::kMaxCrates)(random);
    std::vector<uint8_t> cells(255);
    std::iota(cells.begin(), cells.end(), uint8_t{1});
    std::shuffle(cells.begin(), cells.end(), random);
    std::vector<uint8_t> before(cells.begin(), cells.begin() + crates);
    std::sort(before.begin(), before.end());
    const uint8_t to = cells[static_cast<size_t>(crates)];  // a cell no crate holds
    const auto moved = static_cast<int32_t>(random() % static_cast<uint32_t>(crates));
    const uint8_t player = cells[static_cast<size_t>(crates) + 1];
    rv7solv::Key from{};
    std::copy(before.begin(), before.end(), from.begin());
    from[static_cast<size_t>(crates)] = cells[0];

    std::vector<uint8_t> after = before;
    after[static_cast<size_t>(moved)] = to;
    std::sort(after.begin(), after.end());
    rv7solv::Key expected{};
    std::copy(after.begin(), after.end(), expected.begin());
    expected[static_cast<size_t>(crates)] = player;
    ASSERT_EQ(rv7solv::key_after_move(from, crates, moved, to, player), expected);
  }
}

}  // namespace
