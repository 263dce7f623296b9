#include "corral.h"

#include <algorithm>
#include <span>

#include "board.h"
#include "prune.h"
#include "search.h"
#include "solver_state.h"

namespace rv7solv {

namespace {

constexpr int16_t kCorralFull = -1;  // corral store: the position table is full

int16_t escape_verdict(CorralMode mode) {
  return mode == CorralMode::kForward ? kForwardEscape : kBackwardEscape;
}

int16_t deadlock_verdict(CorralMode mode) {
  return mode == CorralMode::kForward ? kForwardDeadlock : kBackwardDeadlock;
}

std::span<const int32_t> corral_crates() {
  return std::span<const int32_t>(work.corral_crates.data(), work.corral_count);
}

// Walks the empty cells from start and lists the crates around them in work.corral_crates.
// Returns false as soon as more than the corral cap are found.
bool collect_crates(int32_t start) {
  CellTable& marks = work.distance;
  std::fill(marks.begin(), marks.begin() + geometry.cells, 0);
  std::array<int16_t, kMaxCells> stack;
  int32_t top = 0;
  work.corral_count = 0;
  marks[start] = 1;
  stack[top++] = static_cast<int16_t>(start);
  while (top > 0) {
    const int32_t cell = stack[--top];
    for (const int32_t offset : geometry.offset) {
      const int32_t next = cell + offset;
      if (marks[next] != 0 || work.occupancy[next] == kWall) {
        continue;
      }
      marks[next] = 1;
      if (work.occupancy[next] == kEmpty) {
        stack[top++] = static_cast<int16_t>(next);
      } else if (work.corral_count == work.corral_cap) {
        return false;
      } else {
        work.corral_crates[work.corral_count++] = next;
      }
    }
  }
  return work.corral_count > 0;
}

bool corral_home(const Key& key, CorralMode mode) {
  const CellTable& home = mode == CorralMode::kForward ? work.goal : work.start_crate;
  return std::all_of(key.begin(), key.begin() + work.corral_count,
                     [&home](int16_t cell) { return home[cell] != 0; });
}

// Stores the corral position on the occupancy table with normalised player cell player.
// Returns 0 for a position new or already met in this corral search, a kept verdict that
// this mode takes, an escape when all corral crates are home or the queue overflows, or
// kCorralFull.
int16_t corral_store(CorralMode mode, int32_t player) {
  const Key key = key_from_occupancy(work.corral_count, player);
  if (corral_home(key, mode)) {
    return escape_verdict(mode);
  }
  int32_t slot = first_slot(key, work.corral_count, work.corral_shift);
  for (int32_t visits = 0; visits < kTableSlots; ++visits, slot = next_slot(slot)) {
    Slot& entry = table[slot];
    if (entry.key[0] == 0) {
      entry = Slot{key, kVerdictNone, kNoSlot};
      work.corral_queue[work.queue_free++] = slot;
      return work.queue_free > kCorralGiveUp ? escape_verdict(mode) : kVerdictNone;
    }
    if (same_key(entry, key)) {
      const int16_t verdict = entry.verdict;
      if (verdict == kVerdictNone || verdict / 4 == static_cast<int16_t>(mode) - 1) {
        return verdict;
      }
    }
  }
  work.table_full = true;
  return kCorralFull;
}

// One move of the corral search, already made on the occupancy table, with the player on
// player. Returns a verdict that ends the
// corral search, or 0 to go on.
int16_t judge_corral_move(CorralMode mode, int32_t player, int32_t target_size) {
  const Region region = flood(work.flood_d, player);
  if (region.count == target_size) {
    return escape_verdict(mode);
  }
  const int16_t verdict = corral_store(mode, region.lowest);
  return verdict == escape_verdict(mode) || verdict == kCorralFull ? verdict : kVerdictNone;
}

int16_t try_corral_push(int32_t crate, int32_t offset, int32_t target_size) {
  const int32_t target = crate - offset;
  if (work.occupancy[target] != kEmpty || work.dead[target] != 0) {
    return kVerdictNone;
  }
  work.occupancy[target] = kCrate;
  work.occupancy[crate] = kEmpty;
  int16_t verdict = kVerdictNone;
  if (!frozen_off_goal(target)) {
    verdict = judge_corral_move(CorralMode::kForward, crate, target_size);
  }
  work.occupancy[crate] = kCrate;
  work.occupancy[target] = kEmpty;
  return verdict;
}

int16_t try_corral_pull(int32_t crate, int32_t offset, int32_t target_size) {
  const int32_t pulled_to = crate + offset;
  const int32_t player = pulled_to + offset;
  if (work.occupancy[player] != kEmpty) {
    return kVerdictNone;
  }
  work.occupancy[crate] = kEmpty;
  work.occupancy[pulled_to] = kCrate;
  const int16_t verdict = judge_corral_move(CorralMode::kBackward, player, target_size);
  work.occupancy[pulled_to] = kEmpty;
  work.occupancy[crate] = kCrate;
  return verdict;
}

// Expands one queued corral position; returns a verdict that ends the search, or 0.
int16_t expand_corral_slot(CorralMode mode, int32_t slot, int32_t target_size) {
  const Key key = table[slot].key;
  const std::span<const int16_t> crates(key.data(), work.corral_count);
  set_cells(crates, kCrate);
  flood(work.flood_c, key[work.corral_count]);
  for (const int16_t crate : crates) {
    for (const int32_t offset : geometry.offset) {
      if (work.flood_c[crate + offset] == 0) {
        continue;
      }
      const int16_t verdict = mode == CorralMode::kForward
                                  ? try_corral_push(crate, offset, target_size)
                                  : try_corral_pull(crate, offset, target_size);
      if (verdict != kVerdictNone) {
        return verdict;
      }
    }
  }
  set_cells(crates, kEmpty);
  return kVerdictNone;
}

// Breadth-first search over the queued corral positions on a board of walls only.
int16_t corral_search(CorralMode mode, int32_t target_size) {
  while (work.queue_next < work.queue_free) {
    const int16_t verdict =
        expand_corral_slot(mode, work.corral_queue[work.queue_next++], target_size);
    if (verdict != kVerdictNone) {
      return verdict;
    }
  }
  return deadlock_verdict(mode);
}

// Keeps the verdict in the corral start's slot and frees the slots of the other positions.
void keep_verdict(int16_t verdict) {
  table[work.corral_queue[0]].verdict = verdict;
  for (int32_t entry = 1; entry < work.queue_free; ++entry) {
    table[work.corral_queue[entry]].key[0] = 0;
  }
}

// Runs the small search for the corral crates on the occupancy table (walls plus corral
// crates) with the player on player_cell.
int16_t corral_verdict(CorralMode mode, int32_t player_cell) {
  work.queue_next = 0;
  work.queue_free = 0;
  work.corral_shift = kHashBits / work.corral_count;
  const int16_t start = corral_store(mode, flood(work.flood_c, player_cell).lowest);
  if (start != kVerdictNone) {
    return start;
  }
  for (const int32_t crate : corral_crates()) {
    work.occupancy[crate] = kEmpty;
  }
  const int16_t verdict = corral_search(mode, work.free_area - work.corral_count);
  if (verdict != kCorralFull) {
    keep_verdict(verdict);
  }
  return verdict;
}

}  // namespace

bool corral_deadlock(CorralMode mode, int32_t crate_cell, int32_t player_cell) {
  if (work.corral_cap == 0) {
    return false;  // the collection would stop at the first crate
  }
  int32_t opening = -1;
  for (const int32_t offset : geometry.offset) {
    const int32_t next = crate_cell + offset;
    if (work.occupancy[next] == kEmpty && work.flood_b[next] == 0) {
      opening = next;
      break;
    }
  }
  const int32_t start = mode == CorralMode::kForward ? opening : player_cell;
  if (opening < 0 || !collect_crates(start)) {
    return false;
  }
  const CellTable saved = work.occupancy;
  occupancy_from_walls();
  for (const int32_t crate : corral_crates()) {
    work.occupancy[crate] = kCrate;
  }
  const int16_t verdict = corral_verdict(mode, player_cell);
  work.occupancy = saved;
  return verdict != kForwardEscape && verdict != kBackwardEscape && verdict != kCorralFull;
}

}  // namespace rv7solv
