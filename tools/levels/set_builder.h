// Making a level set: candidates from rooms, goals and the backward search, each checked
// and measured, then a choice of them whose difficulty rises steadily through the set.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "level.h"
#include "room.h"

namespace levels {

struct SetRecipe {
  std::string name;
  int count = 40;      // levels in the set
  int min_crates = 2;  // crates of a finished level
  int max_crates = 4;
  int min_goals = 0;  // goals to start a candidate with (0: as many as crates);
  int max_goals = 0;  // crates that never move become wall
  RoomShape room;
  double min_space = 2.0;              // floor squares per goal, fewest
  double max_space = 12.0;             // and most
  int cluster_percent = 40;            // share of candidates whose goals form one group
  int min_pushes = 4;                  // fewest pushes of a candidate's best solution
  int start_push_step = 2;             // pushes each level of the set's start adds, fewest
  std::size_t search_limit = 200'000;  // positions of the backward search per candidate
  double min_difficulty = 0;           // the range the set's scores are spread over; candidates
  double max_difficulty = 1e9;         // outside it are turned down
  int pool = 120;                      // candidates to make before choosing, at the least
  int tries = 50'000;                  // candidates to try at the most
  std::uint64_t seed = 1;
};

struct Measure {
  int crates = 0;
  int pushes = 0;         // of the best solution: no solution has fewer
  int moves = 0;          // of that solution, the keeper always walking the shortest way
  int crate_changes = 0;  // pushes of another crate than the push before
  int positions = 0;      // positions the game's solver stored to solve it
  double difficulty = 0;  // the score the set is ordered by
};

struct MadeLevel {
  Level level;
  std::string title;
  std::string letters;  // the solution measured
  Measure measure;
  std::uint64_t seed = 0;  // the candidate's own seed
};

// Why candidates were turned down, counted by reason.
using Rejections = std::map<std::string, int>;

// The difficulty score: pushes, crate changes and the game solver's effort together; see
// tools/levels/README.md.
double difficulty(const Measure& m);

// Makes the candidate of one seed; nullopt (with the reason counted) when it is turned
// down. A candidate is solvable by construction; it is turned down for dead floor,
// needless walls, trivial crates, fewer than recipe.min_pushes pushes, a room like one in
// `avoid`, more than 254 squares or 13 crates, or when the game's solver does not solve it.
std::optional<MadeLevel> make_candidate(const SetRecipe& recipe, std::uint64_t seed,
                                        const std::vector<Level>& avoid, Rejections& rejected);

// Makes candidates from seeds derived from recipe.seed, in seed order, until there are
// recipe.pool of them and every one of recipe.count equal parts of the difficulty range holds
// one, or until recipe.tries seeds are used up. `progress` is told each
// accepted candidate.
std::vector<MadeLevel> make_pool(const SetRecipe& recipe, const std::vector<Level>& avoid,
                                 Rejections& rejected,
                                 const std::function<void(const MadeLevel&)>& progress);

// Chooses recipe.count levels of the pool, no two in the same room, ordered by difficulty.
// The first ten are a chain from the easiest few, each clearly harder than the one before
// (a higher score, recipe.start_push_step pushes more at least, no fewer crates), that ends
// as low as the pool allows; the rest rise in even steps from there to
// recipe.max_difficulty (or the hardest in the pool). Fewer are returned when the pool
// cannot give them.
std::vector<MadeLevel> choose_levels(std::vector<MadeLevel> pool, const SetRecipe& recipe);

// Gives every level a title, none of them one of `taken` or used twice; the titles come
// from their own stream of the run seed.
void give_titles(std::vector<MadeLevel>& levels, std::uint64_t seed, std::set<std::string> taken);

// Writes the levels as Mazes/<name>/<name>.1 ... below data_dir, each with a title line.
void write_set(const std::filesystem::path& data_dir, const std::string& name,
               const std::vector<MadeLevel>& levels);

// Writes the solutions file: `header` as ";" comment lines, then per level a comment with
// its measures and the line "<number> <letters>".
void write_solutions(const std::filesystem::path& path, const std::string& header,
                     const std::vector<MadeLevel>& levels);

// The playable levels of every level file below a folder, and their titles.
struct LevelFolder {
  std::vector<Level> levels;
  std::set<std::string> titles;
};
LevelFolder read_levels(const std::filesystem::path& dir);

}  // namespace levels
