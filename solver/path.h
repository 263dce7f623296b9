// Rebuilding the player's path after the two searches met.
#ifndef RV7SOLV_PATH_H
#define RV7SOLV_PATH_H

namespace rv7solv {

// Links the solution from work.matched and work.expanded, replays it push by push and writes
// the step list into position_list (at most kMaxSteps entries, then -1); sets work.pushes.
void rebuild_path();

}  // namespace rv7solv

#endif  // RV7SOLV_PATH_H
