// The Level walk: one level per call over every level of every set of the level-set table,
// in table order, for the report programs' workers. It moves the current selection
// (set name, level count, level number of rv7ini), so MazePath, GetMaze and GetStats
// address the level it names.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "rv7ini.h"

inline constexpr char kWalkStartText[] = "Initialising...";

// A set's walk ends early after this many level numbers in a row without a level file or a
// score file: far more than any real set leaves out, so a level count that is absurd (say
// 2 147 483 647 in Mazes.Ini) cannot keep a report program walking for days.
inline constexpr int kMaxMissingLevels = 1000;

// Starts the walk afresh: the next call yields the start text.
void LevelWalkReset();

// Empties `text`, then writes the next item into it:
// - first call after a reset: "Initialising...", the cursor goes to the table's first set
//   (which becomes the current set, with its count) and the current level becomes 0;
// - then the levels 1..count of each set in turn, as their MazePath followed by `suffix`;
//   where the kMaxMissingLevels level numbers after a level (all within the count) have
//   neither a level file nor a score file, that level is the set's last: the current level
//   count becomes its number (the table keeps its count), and a set without files among its
//   first kMaxMissingLevels numbers yields no level; real sets are walked to their count;
// - an empty text once the walk is over: at the end of the table, and also at a set whose
//   level count is 0 (or below), which ends the walk before the sets after it.
void LevelWalkNext(std::string& text, std::string_view suffix);

// The level-set entry the walk stands on; nullptr before the first call and at the end of
// the table.
LevelSetEntry* LevelWalkEntry();

// One report pass over every level: resets the walk, shows `pass_text` in the status line
// and the trace, then for each level shows its path (MazePath followed by `suffix`) in the
// status line with the Paint handshake and calls `visit` with that path while the level is
// selected. Ends with an empty status line once the walk is over.
void WalkLevels(const char* pass_text, std::string_view suffix,
                const std::function<void(const std::string& path)>& visit);
