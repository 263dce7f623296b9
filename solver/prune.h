// Pruning of the forward search: dead-end filling, dead squares and the freeze test.
#ifndef RV7SOLV_PRUNE_H
#define RV7SOLV_PRUNE_H

#include <cstdint>

namespace rv7solv {

// Turns every interior empty cell that is no goal, not the player cell and has more than two
// wall neighbours into a wall (wall and occupancy tables), pass after pass until none changes.
void fill_dead_ends();

// Fills work.dead: 1 on walls and on cells from which no crate can ever be pushed to a goal.
void mark_dead_squares();

// Freeze test on the crate just pushed onto cell t: true when it can never move again and it
// or a crate that holds it stands off its goal. Leaves the occupancy table as it found it.
bool frozen_off_goal(int32_t t);

}  // namespace rv7solv

#endif  // RV7SOLV_PRUNE_H
