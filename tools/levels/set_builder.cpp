#include "set_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <set>
#include <sstream>

#include "checks.h"
#include "game_solver.h"
#include "likeness.h"
#include "pull_search.h"
#include "titles.h"
#include "walk.h"

namespace levels {
namespace {

// The game's Solver button takes levels of at most this many squares.
constexpr int kMaxSolverSquares = 254;
// Share of differing wall squares below which two rooms count as the same.
constexpr int kSameRoomPercent = 12;
// Positions looked at per pull level when choosing a candidate's start.
constexpr std::size_t kStartSamples = 300;
// Positions whose solutions with the fewest crate changes are worked out.
constexpr std::size_t kShortlist = 8;
// Pull levels, counted from the deepest, that the start may come from.
constexpr int kStartLevels = 3;
// Levels at the start of a set that must each be clearly harder than the one before. The
// start begins with one of the kChainStarts easiest.
constexpr int kRisingStart = 10;
constexpr std::size_t kChainStarts = 5;
// Candidates wanted in each part of the difficulty range.
constexpr int kPerPart = 1;
constexpr char kTitleTag[] = "Title: ";
constexpr char kAuthorLine[] = "Author: Korvala";
// Seed stream of the titles, apart from the candidates' streams.
constexpr std::uint64_t kTitleStream = 0x7469746C65ULL;

std::vector<int> floor_cells(const Level& level) {
  std::vector<int> cells;
  for (int cell = 0; cell < level.width * level.height; ++cell) {
    if (level.walkable(cell)) {
      cells.push_back(cell);
    }
  }
  return cells;
}

// Goals either scattered over the floor or grown as one group from a random square.
void place_goals(Level& level, int count, bool grouped, Random& random) {
  std::vector<int> open = floor_cells(level);
  std::vector<int> goals;
  while (static_cast<int>(goals.size()) < count && !open.empty()) {
    std::vector<int> choices;
    if (grouped && !goals.empty()) {
      for (int cell : open) {
        const bool next_to_group = std::any_of(kDirections, kDirections + 4, [&](const auto& d) {
          return std::find(goals.begin(), goals.end(), neighbour(level, cell, d)) != goals.end();
        });
        if (next_to_group) {
          choices.push_back(cell);
        }
      }
    }
    if (choices.empty()) {
      choices = open;
    }
    const int pick =
        choices[static_cast<std::size_t>(random.below(static_cast<int>(choices.size())))];
    goals.push_back(pick);
    std::erase(open, pick);
  }
  for (int goal : goals) {
    level.squares[static_cast<std::size_t>(goal)] = Square::kGoal;
  }
}

// Start squares of the crates that a solution never pushes, ascending.
std::vector<int> unmoved_crates(const std::vector<int>& start, const std::vector<Push>& pushes) {
  std::map<int, int> crate_on;  // square -> start square of the crate standing there
  for (int square : start) {
    crate_on[square] = square;
  }
  std::set<int> unmoved(start.begin(), start.end());
  for (const Push& push : pushes) {
    const int crate = crate_on[push.from];
    unmoved.erase(crate);
    crate_on.erase(push.from);
    crate_on[push.to] = crate;
  }
  return {unmoved.begin(), unmoved.end()};
}

struct Start {
  std::size_t position = 0;
  std::vector<Push> pushes;
  int score = -1;
};

int start_score(const std::vector<int>& crates, const std::vector<Push>& pushes) {
  const int moved = static_cast<int>(crates.size() - unmoved_crates(crates, pushes).size());
  return 2 * static_cast<int>(pushes.size()) + 3 * crate_changes(pushes) + 5 * moved;
}

// The start of a new level: among positions of the deepest pull levels, the few whose
// first-found solutions score best (long, many crate changes, many crates moved) are
// given their solutions with the fewest crate changes, and the best of those wins.
Start choose_start(PullSearch& search) {
  std::vector<Start> shortlist;
  const int lowest = std::max(1, search.depth() - kStartLevels + 1);
  for (int pulls = search.depth(); pulls >= lowest; --pulls) {
    const auto [first, end] = search.level_range(pulls);
    const std::size_t stride = std::max<std::size_t>(1, (end - first) / kStartSamples);
    for (std::size_t p = first; p < end; p += stride) {
      std::vector<Push> pushes = search.pushes_to_solve(p);
      const int score = start_score(search.crates(p), pushes);
      shortlist.push_back({p, std::move(pushes), score});
    }
  }
  std::stable_sort(shortlist.begin(), shortlist.end(),
                   [](const Start& a, const Start& b) { return a.score > b.score; });
  shortlist.resize(std::min(shortlist.size(), kShortlist));
  Start best;
  for (Start& start : shortlist) {
    start.pushes = search.fewest_changes(start.position);
    start.score = start_score(search.crates(start.position), start.pushes);
    if (start.score > best.score) {
      best = start;
    }
  }
  return best;
}

// Turns the crates on the given squares, which the solution never moves, into wall; their
// goals go with them.
void freeze(Level& level, const std::vector<int>& squares) {
  for (int square : squares) {
    level.squares[static_cast<std::size_t>(square)] = Square::kWall;
    std::erase(level.crates, square);
  }
}

// A random square of the keeper's area around the start crates.
int place_keeper(const Level& level, int area_cell, Random& random) {
  std::vector<bool> crate_at(level.squares.size(), false);
  for (int crate : level.crates) {
    crate_at[static_cast<std::size_t>(crate)] = true;
  }
  std::vector<int> area;
  for (int cell : floor_cells(level)) {
    if (!crate_at[static_cast<std::size_t>(cell)] &&
        walk_letters(level, crate_at, area_cell, cell)) {
      area.push_back(cell);
    }
  }
  return area[static_cast<std::size_t>(random.below(static_cast<int>(area.size())))];
}

std::optional<bool> solvable_by_game_solver(const Level& level) {
  const GameSolverAnswer answer = run_game_solver(level);
  constexpr int kNoSolution = 3;
  if (answer.code == kGameSolverSolved) {
    return true;
  }
  if (answer.code == kNoSolution) {
    return false;
  }
  return std::nullopt;
}

std::optional<MadeLevel> reject(Rejections& rejected, const std::string& reason) {
  ++rejected[reason];
  return std::nullopt;
}

// Whether b is clearly harder than a: a higher score, at least `push_step` more pushes and
// no fewer crates.
bool clearly_harder(const Measure& b, const Measure& a, int push_step) {
  return b.difficulty > a.difficulty && b.pushes >= a.pushes + push_step && b.crates >= a.crates;
}

bool room_taken(const Level& level, const std::vector<MadeLevel>& chosen) {
  return std::any_of(chosen.begin(), chosen.end(), [&](const MadeLevel& c) {
    return same_room(level, c.level, kSameRoomPercent);
  });
}

// The start of a set: a chain of up to `length` pool levels (the pool sorted by
// difficulty), beginning with one of the kChainStarts easiest, each clearly harder than
// the one before (`push_step` more pushes at least), that ends as low as it can; its levels
// lie as near to even steps as the chain allows. Returns pool indices.
std::vector<std::size_t> rising_start(const std::vector<MadeLevel>& pool, std::size_t length,
                                      int push_step) {
  const std::size_t n = pool.size();
  // reach[l][j]: some chain of l + 1 levels ends with pool level j.
  std::vector<std::vector<bool>> reach(length, std::vector<bool>(n, false));
  for (std::size_t j = 0; j < std::min(n, kChainStarts); ++j) {
    reach[0][j] = true;
  }
  std::size_t longest = n > 0 ? 1 : 0;
  for (std::size_t l = 1; l < length; ++l) {
    for (std::size_t j = 0; j < n; ++j) {
      for (std::size_t i = 0; i < j && !reach[l][j]; ++i) {
        reach[l][j] =
            reach[l - 1][i] && clearly_harder(pool[j].measure, pool[i].measure, push_step);
      }
      longest = reach[l][j] ? l + 1 : longest;
    }
  }
  if (longest == 0) {
    return {};
  }
  // The lowest end, then backwards the predecessor nearest to even steps from the bottom.
  std::size_t at = static_cast<std::size_t>(
      std::find(reach[longest - 1].begin(), reach[longest - 1].end(), true) -
      reach[longest - 1].begin());
  std::vector<std::size_t> chain{at};
  const double bottom = pool.front().measure.difficulty;
  for (std::size_t l = longest - 1; l > 0; --l) {
    const double target = bottom + (pool[at].measure.difficulty - bottom) *
                                       static_cast<double>(l - 1) / static_cast<double>(l);
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < at; ++i) {
      if (reach[l - 1][i] && clearly_harder(pool[at].measure, pool[i].measure, push_step) &&
          (!best || std::abs(pool[i].measure.difficulty - target) <
                        std::abs(pool[*best].measure.difficulty - target))) {
        best = i;
      }
    }
    at = *best;
    chain.push_back(at);
  }
  std::reverse(chain.begin(), chain.end());
  return chain;
}

}  // namespace

double difficulty(const Measure& m) {
  return m.pushes + 2.0 * m.crate_changes + 4.0 * std::log2(1.0 + m.positions) + 2.0 * m.crates;
}

std::optional<MadeLevel> make_candidate(const SetRecipe& recipe, std::uint64_t seed,
                                        const std::vector<Level>& avoid, Rejections& rejected) {
  Random random(seed);
  std::optional<Level> room = make_room(recipe.room, random);
  if (!room) {
    return reject(rejected, "room");
  }
  if (room->width * room->height > kMaxSolverSquares) {
    return reject(rejected, "too large for the solver");
  }
  const int goals = recipe.min_goals > 0 ? random.between(recipe.min_goals, recipe.max_goals)
                                         : random.between(recipe.min_crates, recipe.max_crates);
  const double space = static_cast<double>(floor_cells(*room).size()) / goals;
  if (space < recipe.min_space || space > recipe.max_space) {
    return reject(rejected, "floor per crate");
  }
  Level level = *room;
  place_goals(level, goals, random.chance(recipe.cluster_percent), random);
  PullSearch search(level, recipe.search_limit);
  search.run();
  if (search.depth() < recipe.min_pushes) {
    return reject(rejected, "too few pushes");
  }
  const Start start = choose_start(search);
  if (static_cast<int>(start.pushes.size()) < recipe.min_pushes) {
    return reject(rejected, "too few pushes");
  }
  level.crates = search.crates(start.position);
  freeze(level, unmoved_crates(level.crates, start.pushes));
  const auto crates = static_cast<int>(level.crates.size());
  if (crates < recipe.min_crates || crates > recipe.max_crates) {
    return reject(rejected, "crates left to move");
  }
  level.keeper = place_keeper(level, search.keeper_area(start.position), random);
  fill_dead_ends(level);
  if (!dead_floor(level).empty() || !needless_walls(level).empty()) {
    return reject(rejected, "dead floor or needless walls");
  }
  if (std::any_of(avoid.begin(), avoid.end(),
                  [&](const Level& a) { return same_room(level, a, kSameRoomPercent); })) {
    return reject(rejected, "room of another level");
  }
  if (!trivial_crates(level, solvable_by_game_solver).empty()) {
    return reject(rejected, "trivial crate");
  }
  const GameSolverAnswer answer = run_game_solver(level);
  if (answer.code != kGameSolverSolved) {
    return reject(rejected, "game solver code " + std::to_string(answer.code));
  }
  MadeLevel made;
  made.level = level;
  made.letters = solution_letters(level, start.pushes).value_or("");
  if (!replay_steps(level, made.letters).solved) {
    return reject(rejected, "solution does not replay");
  }
  made.seed = seed;
  made.measure.crates = crates;
  made.measure.pushes = static_cast<int>(start.pushes.size());
  made.measure.moves = static_cast<int>(made.letters.size());
  made.measure.crate_changes = crate_changes(start.pushes);
  made.measure.positions = answer.positions;
  made.measure.difficulty = difficulty(made.measure);
  if (made.measure.difficulty < recipe.min_difficulty ||
      made.measure.difficulty > recipe.max_difficulty) {
    return reject(rejected, "outside the difficulty range");
  }
  return made;
}

std::vector<MadeLevel> make_pool(const SetRecipe& recipe, const std::vector<Level>& avoid,
                                 Rejections& rejected,
                                 const std::function<void(const MadeLevel&)>& progress) {
  std::vector<MadeLevel> pool;
  std::vector<int> in_part(static_cast<std::size_t>(recipe.count), 0);
  const auto part_of = [&](double d) {
    const double share =
        (d - recipe.min_difficulty) / (recipe.max_difficulty - recipe.min_difficulty);
    return std::clamp(static_cast<int>(share * recipe.count), 0, recipe.count - 1);
  };
  const auto enough = [&] {
    return static_cast<int>(pool.size()) >= recipe.pool &&
           std::all_of(in_part.begin(), in_part.end(), [](int n) { return n >= kPerPart; });
  };
  for (int i = 0; i < recipe.tries && !enough(); ++i) {
    if (std::optional<MadeLevel> made = make_candidate(
            recipe, derive_seed(recipe.seed, static_cast<std::uint64_t>(i)), avoid, rejected)) {
      progress(*made);
      ++in_part[static_cast<std::size_t>(part_of(made->measure.difficulty))];
      pool.push_back(std::move(*made));
    }
  }
  return pool;
}

std::vector<MadeLevel> choose_levels(std::vector<MadeLevel> pool, const SetRecipe& recipe) {
  const int count = recipe.count;
  std::stable_sort(pool.begin(), pool.end(), [](const MadeLevel& a, const MadeLevel& b) {
    return a.measure.difficulty < b.measure.difficulty;
  });
  std::vector<MadeLevel> chosen;
  std::vector<bool> used(pool.size(), false);
  // The start, found again without a level whose room repeats one before it.
  std::vector<MadeLevel> candidates = pool;
  std::vector<std::size_t> index(pool.size());
  std::iota(index.begin(), index.end(), 0);
  for (bool clash = true; clash;) {
    clash = false;
    chosen.clear();
    for (std::size_t i :
         rising_start(candidates, static_cast<std::size_t>(std::min(kRisingStart, count)),
                      recipe.start_push_step)) {
      if (room_taken(candidates[i].level, chosen)) {
        candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(i));
        index.erase(index.begin() + static_cast<std::ptrdiff_t>(i));
        clash = true;
        break;
      }
      chosen.push_back(candidates[i]);
      used[index[i]] = true;
    }
    if (clash) {
      std::fill(used.begin(), used.end(), false);
    }
  }
  // The rest: even steps from the end of the start to the top of the range, taken from
  // the harder levels in rooms of their own, always leaving enough for the steps to come.
  if (chosen.empty()) {
    return chosen;
  }
  std::vector<const MadeLevel*> harder;
  for (std::size_t i = 0; i < pool.size(); ++i) {
    if (!used[i] && pool[i].measure.difficulty > chosen.back().measure.difficulty &&
        !room_taken(pool[i].level, chosen) &&
        std::none_of(harder.begin(), harder.end(), [&](const MadeLevel* h) {
          return same_room(pool[i].level, h->level, kSameRoomPercent);
        })) {
      harder.push_back(&pool[i]);
    }
  }
  const int rest =
      std::min(count - static_cast<int>(chosen.size()), static_cast<int>(harder.size()));
  const double high = std::min(recipe.max_difficulty, pool.back().measure.difficulty);
  const double from = chosen.back().measure.difficulty;
  std::size_t next = 0;  // first index of `harder` still free to take
  for (int k = 1; k <= rest; ++k) {
    const double target = from + (high - from) * k / rest;
    const std::size_t last_allowed = harder.size() - static_cast<std::size_t>(rest - k) - 1;
    std::size_t best = next;
    for (std::size_t i = next; i <= last_allowed; ++i) {
      if (std::abs(harder[i]->measure.difficulty - target) <
          std::abs(harder[best]->measure.difficulty - target)) {
        best = i;
      }
    }
    chosen.push_back(*harder[best]);
    next = best + 1;
  }
  return chosen;
}

void give_titles(std::vector<MadeLevel>& levels, std::uint64_t seed, std::set<std::string> taken) {
  Random titles(derive_seed(seed, kTitleStream));
  for (MadeLevel& level : levels) {
    do {
      level.title = level_title(titles);
    } while (!taken.insert(level.title).second);
  }
}

void write_set(const std::filesystem::path& data_dir, const std::string& name,
               const std::vector<MadeLevel>& levels) {
  const std::filesystem::path dir = data_dir / "Mazes" / name;
  std::filesystem::create_directories(dir);
  for (std::size_t i = 0; i < levels.size(); ++i) {
    std::ofstream out(dir / (name + "." + std::to_string(i + 1)), std::ios::binary);
    out << kTitleTag << levels[i].title << "\n"
        << kAuthorLine << "\n"
        << format_level(levels[i].level);
  }
}

void write_solutions(const std::filesystem::path& path, const std::string& header,
                     const std::vector<MadeLevel>& levels) {
  std::ofstream out(path, std::ios::binary);
  std::istringstream lines(header);
  for (std::string line; std::getline(lines, line);) {
    out << "; " << line << "\n";
  }
  char figures[160];
  for (std::size_t i = 0; i < levels.size(); ++i) {
    const Measure& m = levels[i].measure;
    std::snprintf(figures, sizeof figures,
                  "crates=%d pushes=%d moves=%d changes=%d positions=%d difficulty=%.1f", m.crates,
                  m.pushes, m.moves, m.crate_changes, m.positions, m.difficulty);
    out << "; " << i + 1 << " " << levels[i].title << ": " << figures << "\n";
    out << i + 1 << " " << levels[i].letters << "\n";
  }
}

LevelFolder read_levels(const std::filesystem::path& dir) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    if (entry.is_regular_file() && entry.path().extension() != ".rv7") {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  LevelFolder folder;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (ParseResult parsed = parse_level(text.str()); parsed.level) {
      folder.levels.push_back(std::move(*parsed.level));
    }
    text.seekg(0);
    for (std::string line; std::getline(text, line);) {
      if (line.rfind(kTitleTag, 0) == 0) {
        folder.titles.insert(line.substr(std::size(kTitleTag) - 1));
      }
    }
  }
  return folder;
}

}  // namespace levels
