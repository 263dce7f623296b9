// Corral deadlock test on the crates that close off a region.
#ifndef RV7SOLV_CORRAL_H
#define RV7SOLV_CORRAL_H

#include <cstdint>

namespace rv7solv {

enum class CorralMode { kForward = 1, kBackward = 2 };

// Tests the position on the occupancy table after a push (forward) or pull (backward) that
// moved a crate onto crate_cell with the player on player_cell; flood table B must hold the
// player's region. Keeps the verdicts of its corral searches in the position table, one slot
// per corral start. Leaves the occupancy table unchanged. Returns true for a deadlock. Sets
// work.table_full (and returns false) when a probe found the position table full.
bool corral_deadlock(CorralMode mode, int32_t crate_cell, int32_t player_cell);

}  // namespace rv7solv

#endif  // RV7SOLV_CORRAL_H
