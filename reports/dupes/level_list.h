// Pass 1 of the duplicate finder: every level of every set, loaded once.
#pragma once

#include <vector>

#include "level_compare.h"

inline constexpr char kPass1Text[] = "Pass 1...";

// Walks every level with the Level walk, showing each step on the Status line with the
// Paint handshake, loads it (GetMaze) and keeps its path, its Full grid and, after
// ReduceMaze, its Reduced grid, both with the size it had as loaded. A level file that
// cannot be read gives an entry of width and height 0, which never matches. Returns the
// entries in walk order.
std::vector<LevelEntry> BuildLevelList();
