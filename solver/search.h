// Bidirectional breadth-first search over push positions, and the shared position table.
#ifndef RV7SOLV_SEARCH_H
#define RV7SOLV_SEARCH_H

#include <cstdint>

#include "solver_state.h"

namespace rv7solv {

enum class Outcome { kGoOn, kMeeting, kExhausted, kFull, kAborted };

// First probe slot of key entries 0..last hashed with shift.
int32_t first_slot(const Key& key, int32_t last, int32_t shift);

// Probe step: the slot after slot on the probe path.
inline int32_t next_slot(int32_t slot) {
  return (slot + kProbeStep) % kTableSlots;
}

// Key of the occupancy table: its first `crates` crate cells in index order, then player,
// then zeros.
Key key_from_occupancy(int32_t crates, int32_t player);

// Whether slot's key equals key over entries 0..work.crates.
bool same_key(const Slot& slot, const Key& key);

// Runs set-up and the main loop on the decoded, validated board (crate count 1..13).
// Returns kSolved with the step list in position_list and work.pushes set, kNoSolution,
// kStoreFull, or kAborted when a stop was asked for (checked before every move).
int32_t search();

}  // namespace rv7solv

#endif  // RV7SOLV_SEARCH_H
