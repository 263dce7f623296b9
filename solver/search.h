// Bidirectional breadth-first search over push positions.
#ifndef RV7SOLV_SEARCH_H
#define RV7SOLV_SEARCH_H

#include <cstdint>

#include "solver_state.h"

namespace rv7solv {

enum class Outcome { kGoOn, kMeeting, kExhausted, kFull, kAborted };

// Key of the occupancy table: its first `crates` crate cells in index order, then player,
// then zeros.
Key key_from_occupancy(int32_t crates, int32_t player);

// Key of the position whose crates are the first `crates` entries of from (ascending) with
// the one at index `moved` now standing on cell `to`; then player, then zeros.
Key key_after_move(const Key& from, int32_t crates, int32_t moved, int32_t to, int32_t player);

// Runs set-up and the main loop on the decoded, validated board (crate count 1..13).
// Returns kSolved with the step list in position_list and work.pushes set, kNoSolution,
// kStoreFull, or kAborted when a stop was asked for (checked before every move).
int32_t search();

}  // namespace rv7solv

#endif  // RV7SOLV_SEARCH_H
