// Writes random solver boards in the level-collection format (";" name line, then rows):
//   boardgen SEED COUNT
// Board i comes from SEED + i alone, so any board can be made again by itself. Each board is
// a walled rectangle of at most 254 cells with random inner walls; the largest connected
// floor area is kept, the rest walled up; then 1 to 13 crates, as many goals (some under a
// crate) and a player are placed on it. One board in sixteen is malformed on purpose (a
// crate too many, a goal missing, a second player or a gap in the outer wall). In every
// second board each goal lies within two rows and columns of a crate, which makes more of
// them solvable.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kMaxCells = 254;
constexpr int kMinSide = 3;
constexpr int kMaxSide = 30;
constexpr int kMaxCrates = 13;
constexpr int kMalformedEvery = 16;
constexpr int kNearGoalsEvery = 2;  // boards whose goals lie close to the crates
constexpr int kNearSteps = 2;
constexpr char kWall = '#';
constexpr char kFloor = ' ';

struct Board {
  int width = 0;
  int height = 0;
  std::string cells;  // row by row
  int crates = 0;
  const char* kind = "room";
};

bool interior(const Board& board, int cell) {
  const int row = cell / board.width;
  const int column = cell % board.width;
  return row > 0 && column > 0 && row < board.height - 1 && column < board.width - 1;
}

// Walls up every floor cell outside the largest 4-connected floor area.
void keep_largest_area(Board& board) {
  std::vector<int> area(board.cells.size(), -1);
  std::vector<int> sizes;
  for (int start = 0; start < static_cast<int>(board.cells.size()); ++start) {
    if (board.cells[start] != kFloor || area[start] >= 0) {
      continue;
    }
    const int id = static_cast<int>(sizes.size());
    std::vector<int> stack{start};
    area[start] = id;
    int size = 0;
    while (!stack.empty()) {
      const int cell = stack.back();
      stack.pop_back();
      ++size;
      for (const int next : {cell - 1, cell + 1, cell - board.width, cell + board.width}) {
        if (interior(board, next) && board.cells[next] == kFloor && area[next] < 0) {
          area[next] = id;
          stack.push_back(next);
        }
      }
    }
    sizes.push_back(size);
  }
  if (sizes.empty()) {
    return;
  }
  const int largest =
      static_cast<int>(std::max_element(sizes.begin(), sizes.end()) - sizes.begin());
  for (size_t cell = 0; cell < board.cells.size(); ++cell) {
    if (board.cells[cell] == kFloor && area[cell] != largest) {
      board.cells[cell] = kWall;
    }
  }
}

// A cell count from 18 to 254, then a width that leaves at least three rows.
void pick_size(Board& board, std::mt19937& random) {
  const int cells = std::uniform_int_distribution<int>(2 * kMinSide * kMinSide, kMaxCells)(random);
  const int widest = std::min(cells / kMinSide, kMaxSide);
  board.width = std::uniform_int_distribution<int>(kMinSide, widest)(random);
  board.height = cells / board.width;
}

std::vector<int> floor_cells_of(const Board& board) {
  std::vector<int> floor;
  for (int cell = 0; cell < static_cast<int>(board.cells.size()); ++cell) {
    if (board.cells[cell] == kFloor) {
      floor.push_back(cell);
    }
  }
  return floor;
}

// A floor cell at most kNearSteps rows and columns away from cell, or -1.
int floor_near(const Board& board, int cell, std::mt19937& random) {
  std::vector<int> near;
  const int row = cell / board.width;
  const int column = cell % board.width;
  for (int r = row - kNearSteps; r <= row + kNearSteps; ++r) {
    for (int c = column - kNearSteps; c <= column + kNearSteps; ++c) {
      if (r > 0 && c > 0 && r < board.height - 1 && c < board.width - 1 &&
          board.cells[r * board.width + c] == kFloor) {
        near.push_back(r * board.width + c);
      }
    }
  }
  return near.empty() ? -1 : near[random() % near.size()];
}

// Places crates, goals and the player on distinct floor cells, some crates and the player on
// goals; with near_goals each goal lies close to a crate. Returns false when the floor is
// too small.
bool place_pieces(Board& board, std::mt19937& random, bool near_goals) {
  std::vector<int> floor = floor_cells_of(board);
  std::shuffle(floor.begin(), floor.end(), random);
  const int on_goal = std::uniform_int_distribution<int>(0, board.crates / 3)(random);
  const int needed = 2 * board.crates - on_goal + 1;
  if (static_cast<int>(floor.size()) < needed + 2) {
    return false;
  }
  size_t next = 0;
  // The next cell of the shuffled floor that is still free (near goals take cells out of turn).
  const auto free_cell = [&board, &floor, &next] {
    while (board.cells[floor[next]] != kFloor) {
      ++next;
    }
    return floor[next++];
  };
  for (int i = 0; i < on_goal; ++i) {
    board.cells[free_cell()] = '*';
  }
  int last_goal = -1;
  for (int i = on_goal; i < board.crates; ++i) {
    const int crate = free_cell();
    board.cells[crate] = '$';
    last_goal = near_goals ? floor_near(board, crate, random) : -1;
    if (last_goal < 0) {
      last_goal = free_cell();
    }
    board.cells[last_goal] = '.';
  }
  const bool player_on_goal = last_goal >= 0 && random() % 8 == 0;
  if (player_on_goal) {
    board.cells[last_goal] = '+';
    return true;
  }
  board.cells[free_cell()] = '@';
  return true;
}

// Breaks one rule that the solver checks before it searches.
void spoil(Board& board, std::mt19937& random) {
  const auto find_any = [&board](const char* of) { return board.cells.find_first_of(of); };
  switch (random() % 4) {
    case 0:  // a fourteenth crate and goal where the board has room, else just one more crate
      board.kind = "too-many";
      for (size_t cell = 0; cell < board.cells.size() && board.crates <= kMaxCrates; ++cell) {
        if (board.cells[cell] == kFloor) {
          board.cells[cell] = '*';
          ++board.crates;
        }
      }
      break;
    case 1:
      board.kind = "goal-missing";
      if (const size_t cell = find_any(".*+"); cell != std::string::npos) {
        const char cleared =
            board.cells[cell] == '.' ? kFloor : (board.cells[cell] == '*' ? '$' : '@');
        board.cells[cell] = cleared;
      }
      break;
    case 2:
      board.kind = "two-players";
      if (const size_t cell = find_any(" "); cell != std::string::npos) {
        board.cells[cell] = '@';
      }
      break;
    default:
      board.kind = "open";
      board.cells[static_cast<size_t>(board.width / 2)] = kFloor;
      board.cells[static_cast<size_t>(board.width / 2 + board.width)] = kFloor;
      break;
  }
}

bool make_board(Board& board, std::mt19937& random, bool malformed) {
  pick_size(board, random);
  board.cells.assign(static_cast<size_t>(board.width * board.height), kWall);
  const double density = std::uniform_real_distribution<double>(0.0, 0.35)(random);
  std::bernoulli_distribution inner_wall(density);
  for (int cell = 0; cell < board.width * board.height; ++cell) {
    if (interior(board, cell)) {
      board.cells[cell] = inner_wall(random) ? kWall : kFloor;
    }
  }
  keep_largest_area(board);
  board.crates = std::uniform_int_distribution<int>(1, kMaxCrates)(random);
  const bool near_goals = random() % kNearGoalsEvery == 0;
  board.kind = near_goals ? "near" : "room";
  if (!place_pieces(board, random, near_goals)) {
    return false;
  }
  if (malformed) {
    spoil(board, random);
  }
  return true;
}

void print_board(const Board& board, long number) {
  std::printf("; gen-%04ld %dx%d %d crates %s\n", number, board.width, board.height, board.crates,
              board.kind);
  for (int row = 0; row < board.height; ++row) {
    std::printf(
        "%s\n",
        board.cells.substr(static_cast<size_t>(row * board.width), static_cast<size_t>(board.width))
            .c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: boardgen SEED COUNT\n");
    return 2;
  }
  const long seed = std::atol(argv[1]);
  const long count = std::atol(argv[2]);
  for (long i = 0; i < count; ++i) {
    std::mt19937 random(static_cast<unsigned>(seed + i));
    Board board;
    while (!make_board(board, random, (seed + i) % kMalformedEvery == 0)) {
      board = Board{};
    }
    print_board(board, seed + i);
  }
  return 0;
}
