#include "corral.h"

#include <algorithm>
#include <span>

#include "board.h"
#include "position_table.h"
#include "prune.h"
#include "search.h"
#include "solver_state.h"

namespace rv7solv {

namespace {

constexpr int16_t kCorralFull = -1;  // corral store: the position table is full

// What the searches of one corral start have left, folded into the start's one slot.
//
// Every corral search keeps its verdict with its start position, a later search of the same
// start after the earlier ones, so that a lookup meets them in the order they were made. A
// forward test takes a kept forward escape and passes every other verdict; a backward test
// takes the first kept verdict that is not a forward escape (a forward deadlock included). So
// all that later tests can learn from the searches of one start is whether any of them found
// a forward escape, and the first verdict that was none. The start keeps one slot holding
// both; each further search of it still counts as one more slot in use (work.slots_in_use),
// as if it had kept a slot of its own, so that the table runs full when it would with a slot
// per search.
//
// A forward search that ran out of positions ends the same way whenever it is run again in
// the same solve: it met every position within its reach, none of them escaped, and none can
// take a kept escape later, because a search from any of them reaches no more than those
// positions (so it neither escapes nor gives up) and takes no kept escape either. The slot
// remembers such a deadlock, and a later forward test of the start takes it without a search.
constexpr int16_t kKeptForwardEscape = 8;     // flag: a search of this start escaped forward
constexpr int16_t kKeptForwardDeadlock = 16;  // flag: a forward search of this start ran out
constexpr int16_t kKeptFirstOther = 7;        // mask: the first other verdict (4, 5 or 6), or 0

int16_t escape_verdict(CorralMode mode) {
  return mode == CorralMode::kForward ? kForwardEscape : kBackwardEscape;
}

int16_t deadlock_verdict(CorralMode mode) {
  return mode == CorralMode::kForward ? kForwardDeadlock : kBackwardDeadlock;
}

// The kept verdict a test in mode takes from a folded slot, or 0 when it takes none.
int16_t taken_verdict(CorralMode mode, int16_t kept) {
  if (mode == CorralMode::kForward) {
    return (kept & kKeptForwardEscape) != 0 ? kForwardEscape : kVerdictNone;
  }
  return static_cast<int16_t>(kept & kKeptFirstOther);
}

// The folded verdicts of a start after one more search of it, which ended with verdict.
int16_t folded(int16_t kept, int16_t verdict) {
  if (verdict == kForwardEscape) {
    return static_cast<int16_t>(kept | kKeptForwardEscape);
  }
  if (verdict == kForwardDeadlock) {
    kept = static_cast<int16_t>(kept | kKeptForwardDeadlock);
  }
  return (kept & kKeptFirstOther) != 0 ? kept : static_cast<int16_t>(kept | verdict);
}

// Whether a search in mode from the start whose folded slot is `kept` (kNoSlot for none) is
// known to end in a deadlock again. The search it spares could store up to a queue of
// positions; only with room for them all is the outcome sure not to be a full table.
bool known_deadlock(CorralMode mode, int32_t kept) {
  return mode == CorralMode::kForward && kept != kNoSlot &&
         (table[kept].verdict & kKeptForwardDeadlock) != 0 &&
         work.slots_in_use + kCorralQueueSize < kTableSlots;
}

std::span<const uint8_t> crates_of(const Key& key) {
  return std::span<const uint8_t>(key.data(), work.corral_count);
}

// The crates around the empty region: work.corral_crates in ascending order. Returns false
// when there are none or more than the corral cap.
bool collect_crates(const CellBits& region) {
  const CellBits crates = neighbours_on_board(region) & work.open.without(work.empty);
  work.corral_count = 0;
  bool too_many = false;
  crates.for_each([&too_many](int32_t cell) {
    too_many = too_many || work.corral_count == work.corral_cap;
    if (!too_many) {
      work.corral_crates[work.corral_count++] = cell;
    }
  });
  return !too_many && work.corral_count > 0;
}

bool corral_home(const Key& key, CorralMode mode) {
  const CellTable& home = mode == CorralMode::kForward ? work.goal : work.start_crate;
  const auto crates = crates_of(key);
  return std::all_of(crates.begin(), crates.end(),
                     [&home](uint8_t cell) { return home[cell] != 0; });
}

// Stores the corral position key, whose player's region is region. Returns 0 for a position
// new or already met in this corral search, a kept verdict that this mode takes, an escape
// when all corral crates are home or the queue overflows, or kCorralFull. Sets *kept to the
// start's folded slot when it passes one.
int16_t corral_store(CorralMode mode, const Key& key, const CellBits& region,
                     int32_t* kept = nullptr) {
  if (corral_home(key, mode)) {
    return escape_verdict(mode);
  }
  int16_t taken = kVerdictNone;
  const Probe found = probe(key, [mode, kept, &taken](const Slot& slot) {
    if (slot.verdict == kVerdictNone) {
      return true;  // met before in this search
    }
    taken = taken_verdict(mode, slot.verdict);
    if (taken == kVerdictNone && kept != nullptr) {
      *kept = static_cast<int32_t>(&slot - table.data());
    }
    return taken != kVerdictNone;
  });
  if (found.found) {
    return taken;
  }
  if (found.slot == kNoSlot) {
    work.table_full = true;
    return kCorralFull;
  }
  write_slot(found.slot, key, kVerdictNone, kNoSlot);
  ++work.slots_in_use;
  corral_regions[work.queue_free] = region;
  work.corral_queue[work.queue_free++] = found.slot;
  return work.queue_free > kCorralGiveUp ? escape_verdict(mode) : kVerdictNone;
}

// One move of the corral search, already made on the occupancy table: crate number `index`
// of key now on cell `to`, the player on player. Returns a verdict that ends the corral
// search, or 0 to go on.
int16_t judge_corral_move(CorralMode mode, const Key& key, int32_t index, int32_t to,
                          int32_t player, int32_t target_size) {
  const int32_t lowest = flood_after_move(work.flood_d, work.flood_c, key[index], to, player);
  if (work.flood_d.count() == target_size) {
    return escape_verdict(mode);
  }
  const int16_t verdict =
      corral_store(mode, key_after_move(key, work.corral_count, index, to, lowest), work.flood_d);
  return verdict == escape_verdict(mode) || verdict == kCorralFull ? verdict : kVerdictNone;
}

int16_t try_corral_push(const Key& key, int32_t index, int32_t offset, int32_t target_size) {
  const int32_t crate = key[index];
  const int32_t target = crate - offset;
  if (work.occupancy[target] != kEmpty || work.dead[target] != 0) {
    return kVerdictNone;
  }
  set_occupancy(target, kCrate);
  set_occupancy(crate, kEmpty);
  int16_t verdict = kVerdictNone;
  if (!frozen_off_goal(target)) {
    verdict = judge_corral_move(CorralMode::kForward, key, index, target, crate, target_size);
  }
  set_occupancy(crate, kCrate);
  set_occupancy(target, kEmpty);
  return verdict;
}

int16_t try_corral_pull(const Key& key, int32_t index, int32_t offset, int32_t target_size) {
  const int32_t crate = key[index];
  const int32_t pulled_to = crate + offset;
  const int32_t player = pulled_to + offset;
  if (work.occupancy[player] != kEmpty) {
    return kVerdictNone;
  }
  set_occupancy(crate, kEmpty);
  set_occupancy(pulled_to, kCrate);
  const int16_t verdict =
      judge_corral_move(CorralMode::kBackward, key, index, pulled_to, player, target_size);
  set_occupancy(pulled_to, kEmpty);
  set_occupancy(crate, kCrate);
  return verdict;
}

// Expands the corral position at queue entry `entry`; returns a verdict that ends the
// search, or 0.
int16_t expand_corral_entry(CorralMode mode, int32_t entry, int32_t target_size) {
  const Key key = table[work.corral_queue[entry]].key;
  set_cells(crates_of(key), kCrate);
  work.flood_c = corral_regions[entry];
  for (int32_t index = 0; index < work.corral_count; ++index) {
    for (const int32_t offset : geometry.offset) {
      if (!work.flood_c.test(key[index] + offset)) {
        continue;
      }
      const int16_t verdict = mode == CorralMode::kForward
                                  ? try_corral_push(key, index, offset, target_size)
                                  : try_corral_pull(key, index, offset, target_size);
      if (verdict != kVerdictNone) {
        return verdict;
      }
    }
  }
  set_cells(crates_of(key), kEmpty);
  return kVerdictNone;
}

// Breadth-first search over the queued corral positions on a board of walls only.
int16_t corral_search(CorralMode mode, int32_t target_size) {
  while (work.queue_next < work.queue_free) {
    const int16_t verdict = expand_corral_entry(mode, work.queue_next++, target_size);
    if (verdict != kVerdictNone) {
      return verdict;
    }
  }
  return deadlock_verdict(mode);
}

// Keeps the verdict with the corral start (in its own slot, or folded into the slot kept
// from an earlier search of it) and frees the slots of the other positions.
void keep_verdict(int16_t verdict, int32_t kept) {
  const int32_t start = work.corral_queue[0];
  for (int32_t entry = 1; entry < work.queue_free; ++entry) {
    free_slot(work.corral_queue[entry]);
  }
  work.slots_in_use -= work.queue_free - 1;
  if (kept == kNoSlot) {
    table[start].verdict = folded(kVerdictNone, verdict);
  } else {
    table[kept].verdict = folded(table[kept].verdict, verdict);
    free_slot(start);
  }
}

// The key of the corral start: the corral crates, then the player's normalised cell.
Key corral_start_key(int32_t player) {
  Key key{};
  for (int32_t i = 0; i < work.corral_count; ++i) {
    key[i] = static_cast<uint8_t>(work.corral_crates[i]);
  }
  key[work.corral_count] = static_cast<uint8_t>(player);
  return key;
}

// Runs the small search for the corral crates on the occupancy table (walls plus corral
// crates) with the player on player_cell.
int16_t corral_verdict(CorralMode mode, int32_t player_cell) {
  work.queue_next = 0;
  work.queue_free = 0;
  int32_t kept = kNoSlot;
  // The player's region in the main position (flood table B) lies in the region on this board,
  // which lacks only crates.
  const Key start = corral_start_key(flood_from(work.flood_c, work.flood_b, player_cell));
  const int16_t known = corral_store(mode, start, work.flood_c, &kept);
  if (known != kVerdictNone) {
    return known;
  }
  int16_t verdict = kForwardDeadlock;
  if (!known_deadlock(mode, kept)) {
    for (const int32_t crate : std::span(work.corral_crates.data(), work.corral_count)) {
      set_occupancy(crate, kEmpty);
    }
    verdict = corral_search(mode, work.free_area - work.corral_count);
  }
  if (verdict != kCorralFull) {
    keep_verdict(verdict, kept);
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
    if (work.occupancy[next] == kEmpty && !work.flood_b.test(next)) {
      opening = next;
      break;
    }
  }
  if (opening < 0) {
    return false;
  }
  // Forward, the corral is the region beyond the opening; backward, the player's own region,
  // which flood table B holds.
  CellBits region = work.flood_b;
  if (mode == CorralMode::kForward) {
    flood(region, opening);
  }
  if (!collect_crates(region)) {
    return false;
  }
  const CellTable saved = work.occupancy;
  const CellBits saved_empty = work.empty;
  occupancy_from_walls();
  for (const int32_t crate : std::span(work.corral_crates.data(), work.corral_count)) {
    set_occupancy(crate, kCrate);
  }
  const int16_t verdict = corral_verdict(mode, player_cell);
  work.occupancy = saved;
  work.empty = saved_empty;
  return verdict != kForwardEscape && verdict != kBackwardEscape && verdict != kCorralFull;
}

}  // namespace rv7solv
