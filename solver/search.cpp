#include "search.h"

#include <algorithm>
#include <optional>
#include <span>

#include "abort.h"
#include "board.h"
#include "corral.h"
#include "path.h"
#include "position_table.h"
#include "prune.h"

namespace rv7solv {

namespace {

constexpr int32_t kMinCorralCap = 2;
constexpr int32_t kMaxCorralCap = 6;

void append_to_list(int16_t side, int32_t slot, const CellBits& region) {
  const int32_t entry = side == kForward ? work.forward.free++ : work.backward.free--;
  position_list[entry] = slot;
  list_regions[entry] = region;
}

// A position made by a move, waiting to be stored: its key, the player's region and the key's
// first probe slot, whose memory is fetched in the meantime.
struct Made {
  Key key;
  CellBits region;
  int32_t first;
};

Made made_position(const Key& key, const CellBits& region) {
  const Made made{key, region, first_slot(key)};
  __builtin_prefetch(&table[made.first]);
  return made;
}

// Stores the made position for side, made from slot parent. Returns kMeeting when the other
// side knows it (work.matched and work.expanded set), kFull when the list or the table is
// full, else kGoOn.
Outcome store_position(int16_t side, const Made& made, int32_t parent) {
  const Probe found = probe_from(made.first, made.key, [](const Slot&) { return true; });
  if (found.slot == kNoSlot) {
    work.table_full = true;
    return Outcome::kFull;
  }
  if (found.found) {
    if (table[found.slot].verdict == side) {
      return Outcome::kGoOn;
    }
    work.matched = found.slot;
    work.expanded = parent;
    return Outcome::kMeeting;
  }
  write_slot(found.slot, made.key, side, parent);
  ++work.slots_in_use;
  append_to_list(side, found.slot, made.region);
  return ++work.positions >= kListSize ? Outcome::kFull : Outcome::kGoOn;
}

// Asks the processor to fetch the slot expanded next while this one is expanded.
void prefetch_slot(int32_t slot) {
  if (slot != kNoSlot) {
    __builtin_prefetch(&table[slot]);
  }
}

void finish_forward_level() {
  Side& side = work.forward;
  side.width = side.free - side.level_end;
  side.next = side.level_end;
  side.level_end = side.free;
}

void finish_backward_level() {
  Side& side = work.backward;
  side.width = side.level_end - side.free;
  side.next = side.level_end;
  side.level_end = side.free;
}

std::span<const uint8_t> crates_of(const Key& key) {
  return std::span<const uint8_t>(key.data(), work.crates);
}

// Pushes crate number `index` of the expanded position (key) away from the player's side
// `direction`. Returns the new position unless the push is impossible or a pruning test
// rejects it. The board is as before afterwards.
std::optional<Key> push(const Key& key, int32_t index, int32_t direction) {
  const int32_t crate = key[index];
  const int32_t offset = geometry.offset[direction];
  const int32_t target = crate - offset;
  if (!work.flood_a.test(crate + offset) || work.occupancy[target] != kEmpty ||
      work.dead[target] != 0) {
    return std::nullopt;
  }
  set_occupancy(target, kCrate);
  set_occupancy(crate, kEmpty);
  std::optional<Key> made;
  if (!frozen_off_goal(target)) {
    const int32_t player = flood_after_move(work.flood_b, work.flood_a, crate, target, crate);
    if (!corral_deadlock(CorralMode::kForward, target, crate)) {
      made = key_after_move(key, work.crates, index, target, player);
    }
  }
  set_occupancy(crate, kCrate);
  set_occupancy(target, kEmpty);
  return made;
}

// Pulls crate number `index` of the expanded position (key) one cell in `direction`, the
// player stepping back before it. Returns the new position unless the pull is impossible or
// the corral test rejects it. The board is as before afterwards.
std::optional<Key> pull(const Key& key, int32_t index, int32_t direction) {
  const int32_t crate = key[index];
  const int32_t offset = geometry.offset[direction];
  const int32_t pulled_to = crate + offset;
  const int32_t player = pulled_to + offset;
  if (!work.flood_a.test(pulled_to) || !work.flood_a.test(player)) {
    return std::nullopt;
  }
  set_occupancy(crate, kEmpty);
  set_occupancy(pulled_to, kCrate);
  const int32_t region = flood_after_move(work.flood_b, work.flood_a, crate, pulled_to, player);
  std::optional<Key> made;
  if (!corral_deadlock(CorralMode::kBackward, pulled_to, player)) {
    made = key_after_move(key, work.crates, index, pulled_to, region);
  }
  set_occupancy(pulled_to, kEmpty);
  set_occupancy(crate, kCrate);
  return made;
}

// Whether a made position may wait while the next move is made. That move's corral test
// may run first then; it changes what the table holds but never what a store of a main
// position finds, unless one of the two runs into a full table. A corral test takes at most
// kCorralQueueSize slots, so with room for that and the store the order cannot matter.
bool store_may_wait() {
  return work.slots_in_use + kCorralQueueSize + 1 < kTableSlots;
}

// Puts the crates of the position at list entry `entry` on the board, makes every move of
// every crate in key order and direction order and stores the positions in that order, and
// takes the crates off again unless a store ended the expansion. Each position is stored
// after the next move is made, so that its slot has arrived from memory by then. A stop
// asked for is seen before every move, so it ends the search within one move's corral test.
Outcome expand_entry(int32_t entry, bool forward) {
  const int16_t side = forward ? kForward : kBackward;
  const int32_t slot = position_list[entry];
  const Key key = table[slot].key;
  set_cells(crates_of(key), kCrate);
  work.flood_a = list_regions[entry];
  std::optional<Made> waiting;
  const auto store_waiting = [side, slot, &waiting] {
    const Outcome outcome = waiting ? store_position(side, *waiting, slot) : Outcome::kGoOn;
    waiting.reset();
    return outcome;
  };
  for (int32_t move = 0; move < work.crates * kDirections; ++move) {
    if (abort_requested()) {
      return Outcome::kAborted;
    }
    const int32_t index = move / kDirections;
    const int32_t direction = move % kDirections;
    const std::optional<Key> made =
        forward ? push(key, index, direction) : pull(key, index, direction);
    if (work.table_full) {
      return Outcome::kFull;
    }
    if (!made) {
      continue;
    }
    Outcome outcome = store_waiting();
    waiting = made_position(*made, work.flood_b);
    if (outcome == Outcome::kGoOn && !store_may_wait()) {
      outcome = store_waiting();
    }
    if (outcome != Outcome::kGoOn) {
      return outcome;
    }
  }
  const Outcome outcome = store_waiting();
  if (outcome == Outcome::kGoOn) {
    set_cells(crates_of(key), kEmpty);
  }
  return outcome;
}

Outcome expand_forward_level() {
  Side& side = work.forward;
  while (side.next < side.level_end) {
    prefetch_slot(side.next + 1 < side.level_end ? position_list[side.next + 1] : kNoSlot);
    const Outcome outcome = expand_entry(side.next++, true);
    if (outcome != Outcome::kGoOn) {
      return outcome;
    }
  }
  finish_forward_level();
  return side.width == 0 ? Outcome::kExhausted : Outcome::kGoOn;
}

Outcome expand_backward_level() {
  Side& side = work.backward;
  while (side.level_end < side.next) {
    prefetch_slot(side.level_end < side.next - 1 ? position_list[side.next - 1] : kNoSlot);
    const Outcome outcome = expand_entry(side.next--, false);
    if (outcome != Outcome::kGoOn) {
      return outcome;
    }
  }
  finish_backward_level();
  return side.width == 0 ? Outcome::kExhausted : Outcome::kGoOn;
}

// One backward start per region around the goal crates that lies in the start region
// (flood table A), stored under the region's lowest cell.
Outcome store_backward_starts() {
  work.flood_b.clear();
  for (int32_t cell = 0; cell < geometry.cells; ++cell) {
    if (work.occupancy[cell] != kEmpty || !work.flood_a.test(cell) || work.flood_b.test(cell)) {
      continue;
    }
    if (flood(work.flood_b, cell) == cell &&
        store_position(kBackward,
                       made_position(key_from_occupancy(work.crates, cell), work.flood_b),
                       kNoSlot) == Outcome::kMeeting) {
      return Outcome::kMeeting;
    }
  }
  return Outcome::kGoOn;
}

void reset_counters() {
  work.forward = Side{0, 0, 0, 0};
  work.backward = Side{kListLast, kListLast, kListLast, kListLast};
  work.positions = 0;
  const int32_t cap = work.crates / 2;
  work.corral_cap = cap < kMinCorralCap ? 0 : std::min(cap, kMaxCorralCap);
}

void put_crates_on_goals() {
  for (int32_t cell = 0; cell < geometry.cells; ++cell) {
    if (work.goal[cell] != 0) {
      set_occupancy(cell, kCrate);
    }
  }
}

// Forward and backward level 0, the free area and the dead squares. Returns kMeeting when
// the start position is already solved.
Outcome set_up() {
  reset_counters();
  fill_dead_ends();
  const int32_t start_player = flood(work.flood_a, work.player_cell);
  store_position(kForward,
                 made_position(key_from_occupancy(work.crates, start_player), work.flood_a),
                 kNoSlot);
  occupancy_from_walls();
  finish_forward_level();
  flood(work.flood_a, start_player);
  work.free_area = work.flood_a.count();
  put_crates_on_goals();
  const Outcome outcome = store_backward_starts();
  occupancy_from_walls();
  if (outcome == Outcome::kMeeting) {
    return outcome;
  }
  finish_backward_level();
  mark_dead_squares();
  return Outcome::kGoOn;
}

}  // namespace

Key key_from_occupancy(int32_t crates, int32_t player) {
  Key key{};
  int32_t found = 0;
  for (int32_t cell = 0; cell < geometry.cells && found < crates; ++cell) {
    if (work.occupancy[cell] == kCrate) {
      key[found++] = static_cast<uint8_t>(cell);
    }
  }
  key[crates] = static_cast<uint8_t>(player);
  return key;
}

Key key_after_move(const Key& from, int32_t crates, int32_t moved, int32_t to, int32_t player) {
  Key key{};
  std::copy(from.begin(), from.begin() + crates, key.begin());
  // Slide the crates that the moved one passed, so that the entries stay ascending.
  int32_t i = moved;
  for (; i > 0 && key[i - 1] > to; --i) {
    key[i] = key[i - 1];
  }
  for (; i + 1 < crates && key[i + 1] < to; ++i) {
    key[i] = key[i + 1];
  }
  key[i] = static_cast<uint8_t>(to);
  key[crates] = static_cast<uint8_t>(player);
  return key;
}

int32_t search() {
  Outcome outcome = set_up();
  while (outcome == Outcome::kGoOn) {
    outcome =
        work.forward.width < work.backward.width ? expand_forward_level() : expand_backward_level();
  }
  if (outcome == Outcome::kMeeting) {
    rebuild_path();
    return kSolved;
  }
  if (outcome == Outcome::kAborted) {
    return kAborted;
  }
  return outcome == Outcome::kExhausted ? kNoSolution : kStoreFull;
}

}  // namespace rv7solv
