#include "search.h"

#include <algorithm>
#include <span>

#include "abort.h"
#include "board.h"
#include "corral.h"
#include "path.h"
#include "prune.h"

namespace rv7solv {

namespace {

constexpr int32_t kMinCorralCap = 2;
constexpr int32_t kMaxCorralCap = 6;

void append_to_list(int16_t side, int32_t slot) {
  if (side == kForward) {
    position_list[work.forward.free++] = slot;
  } else {
    position_list[work.backward.free--] = slot;
  }
}

// Stores the position on the occupancy table with normalised player cell player, made from
// slot parent. Returns kMeeting when the other side knows it (work.matched and work.expanded
// set), kFull when the list or the table is full, else kGoOn.
Outcome store_position(int16_t side, int32_t player, int32_t parent) {
  const Key key = key_from_occupancy(work.crates, player);
  int32_t slot = first_slot(key, work.crates, work.shift);
  for (int32_t visits = 0; visits < kTableSlots; ++visits, slot = next_slot(slot)) {
    Slot& entry = table[slot];
    if (entry.key[0] == 0) {
      entry = Slot{key, side, parent};
      append_to_list(side, slot);
      return ++work.positions >= kListSize ? Outcome::kFull : Outcome::kGoOn;
    }
    if (same_key(entry, key)) {
      if (entry.verdict == side) {
        return Outcome::kGoOn;
      }
      work.matched = slot;
      work.expanded = parent;
      return Outcome::kMeeting;
    }
  }
  work.table_full = true;
  return Outcome::kFull;
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

std::span<const int16_t> crates_of(const Key& key) {
  return std::span<const int16_t>(key.data(), work.crates);
}

Outcome try_push(int32_t slot, int32_t crate, int32_t direction) {
  const int32_t offset = geometry.offset[direction];
  const int32_t target = crate - offset;
  if (work.flood_a[crate + offset] == 0 || work.occupancy[target] != kEmpty ||
      work.dead[target] != 0) {
    return Outcome::kGoOn;
  }
  work.occupancy[target] = kCrate;
  work.occupancy[crate] = kEmpty;
  Outcome outcome = Outcome::kGoOn;
  if (!frozen_off_goal(target)) {
    const Region region = flood(work.flood_b, crate);
    const bool deadlock = corral_deadlock(CorralMode::kForward, target, crate);
    if (work.table_full) {
      outcome = Outcome::kFull;
    } else if (!deadlock) {
      outcome = store_position(kForward, region.lowest, slot);
    }
  }
  work.occupancy[crate] = kCrate;
  work.occupancy[target] = kEmpty;
  return outcome;
}

Outcome try_pull(int32_t slot, int32_t crate, int32_t direction) {
  const int32_t offset = geometry.offset[direction];
  const int32_t pulled_to = crate + offset;
  if (work.flood_a[pulled_to] == 0 || work.flood_a[pulled_to + offset] == 0) {
    return Outcome::kGoOn;
  }
  const int32_t player = pulled_to + offset;
  work.occupancy[crate] = kEmpty;
  work.occupancy[pulled_to] = kCrate;
  const Region region = flood(work.flood_b, player);
  const bool deadlock = corral_deadlock(CorralMode::kBackward, pulled_to, player);
  Outcome outcome = Outcome::kGoOn;
  if (work.table_full) {
    outcome = Outcome::kFull;
  } else if (!deadlock) {
    outcome = store_position(kBackward, region.lowest, slot);
  }
  work.occupancy[pulled_to] = kEmpty;
  work.occupancy[crate] = kCrate;
  return outcome;
}

// Puts the crates of slot on the board, tries every move of every crate in key order and
// direction order, and takes the crates off again unless a move ended the expansion. A stop
// asked for is seen before every move, so it ends the search within one move's corral test.
Outcome expand_slot(int32_t slot, bool forward) {
  const Key key = table[slot].key;
  set_cells(crates_of(key), kCrate);
  flood(work.flood_a, key[work.crates]);
  for (const int16_t crate : crates_of(key)) {
    for (int32_t direction = 0; direction < kDirections; ++direction) {
      if (abort_requested()) {
        return Outcome::kAborted;
      }
      const Outcome outcome =
          forward ? try_push(slot, crate, direction) : try_pull(slot, crate, direction);
      if (outcome != Outcome::kGoOn) {
        return outcome;
      }
    }
  }
  set_cells(crates_of(key), kEmpty);
  return Outcome::kGoOn;
}

Outcome expand_forward_level() {
  Side& side = work.forward;
  while (side.next < side.level_end) {
    const Outcome outcome = expand_slot(position_list[side.next++], true);
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
    const Outcome outcome = expand_slot(position_list[side.next--], false);
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
  work.flood_b.fill(0);
  for (int32_t cell = 0; cell < geometry.cells; ++cell) {
    if (work.occupancy[cell] != kEmpty || work.flood_a[cell] == 0 || work.flood_b[cell] != 0) {
      continue;
    }
    if (flood(work.flood_b, cell).lowest == cell &&
        store_position(kBackward, cell, kNoSlot) == Outcome::kMeeting) {
      return Outcome::kMeeting;
    }
  }
  return Outcome::kGoOn;
}

void reset_counters() {
  work.forward = Side{0, 0, 0, 0};
  work.backward = Side{kListLast, kListLast, kListLast, kListLast};
  work.positions = 0;
  work.shift = kHashBits / work.crates;
  const int32_t cap = work.crates / 2;
  work.corral_cap = cap < kMinCorralCap ? 0 : std::min(cap, kMaxCorralCap);
}

void put_crates_on_goals() {
  for (int32_t cell = 0; cell < geometry.cells; ++cell) {
    if (work.goal[cell] != 0) {
      work.occupancy[cell] = kCrate;
    }
  }
}

// Forward and backward level 0, the free area and the dead squares. Returns kMeeting when
// the start position is already solved.
Outcome set_up() {
  reset_counters();
  fill_dead_ends();
  const int32_t start_player = flood(work.flood_a, work.player_cell).lowest;
  store_position(kForward, start_player, kNoSlot);
  occupancy_from_walls();
  finish_forward_level();
  work.free_area = flood(work.flood_a, start_player).count;
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

int32_t first_slot(const Key& key, int32_t last, int32_t shift) {
  uint32_t hash = 0;
  for (int32_t j = last; j >= 0; --j) {
    hash = (hash << shift) + static_cast<uint32_t>(key[j]);
  }
  const uint32_t magnitude = static_cast<int32_t>(hash) < 0 ? 0U - hash : hash;
  return static_cast<int32_t>(magnitude % kTableSlots);
}

bool same_key(const Slot& slot, const Key& key) {
  return std::equal(key.begin(), key.begin() + work.crates + 1, slot.key.begin());
}

Key key_from_occupancy(int32_t crates, int32_t player) {
  Key key{};
  int32_t found = 0;
  for (int32_t cell = 0; cell < geometry.cells && found < crates; ++cell) {
    if (work.occupancy[cell] == kCrate) {
      key[found++] = static_cast<int16_t>(cell);
    }
  }
  key[crates] = static_cast<int16_t>(player);
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
