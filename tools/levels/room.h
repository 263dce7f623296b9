// Rooms for new levels: walls and floor only, carved at random from a block of wall.
#pragma once

#include <optional>

#include "level.h"
#include "random.h"

namespace levels {

// What a room may look like. Sizes count the squares inside the outer wall.
struct RoomShape {
  int min_width = 4;
  int max_width = 6;
  int min_height = 4;
  int max_height = 6;
  int min_floor_percent = 50;  // of the inner block that becomes floor
  int max_floor_percent = 70;
  int corridor_percent = 30;  // share of carving strokes that are one square wide
  int pillar_percent = 30;    // chance that a square amid open floor becomes a pillar
  int max_open_blocks = 1;    // 3 x 3 blocks of floor allowed
  int min_floor = 8;          // fewest floor squares
};

// Carves a room: strokes of floor (rectangles and one-wide corridors) grown from one
// another until the floor share is reached, pillars set into open floor, dead ends filled,
// and the grid cut to the floor plus one ring of wall. Returns nullopt for a room that
// misses the shape's limits or holds walls that touch no floor inside the room; callers
// simply draw again. The level has no crates, goals or keeper.
std::optional<Level> make_room(const RoomShape& shape, Random& random);

// Number of 3 x 3 blocks made of floor only.
int open_blocks(const Level& level);

// Turns every empty non-goal floor square with three or more walls around it into wall,
// again and again; the keeper's square and crates' squares stay. Such a square is never
// of use: a crate pushed in stays stuck and the keeper cannot push anything out of it.
void fill_dead_ends(Level& level);

}  // namespace levels
