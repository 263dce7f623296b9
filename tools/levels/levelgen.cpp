// Makes a level set of our own and writes it into a data directory:
//   levelgen --name NAME --count N --crates MIN-MAX --width MIN-MAX --height MIN-MAX
//            --difficulty LOW-HIGH [--goals MIN-MAX] [--space MIN-MAX] [--floor MIN-MAX]
//            [--corridors PERCENT] [--pillars PERCENT] [--open N] [--cluster PERCENT]
//            [--min-pushes N] [--start-step N] [--search N] [--pool N] [--tries N] --seed S
//            [--avoid DIR,DIR...] [--reuse LOG] --data DIR --solutions FILE
// Sizes count the squares inside the outer wall; --space is floor squares per goal;
// --goals (at most 16) is how many goals a candidate starts with, by default as many as
// the crates its finished level may have. --start-step (2 unless given) is how many pushes
// each of the set's first ten levels adds at the least.
// Levels below the --avoid folders are not built again in the same room, nor their titles
// used again. --reuse takes the candidates of an earlier run's standard error ("candidate
// SEED: ...") instead of searching again: with the same options it makes the same set,
// only faster, which helps when trying out other choices.
// The same command line makes the same set. Progress and the reasons for turning
// candidates down go to standard error; exits with 1 when the pool cannot fill the set.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "set_builder.h"

namespace {

using Options = std::map<std::string, std::string>;

constexpr char kCandidate[] = "candidate ";

std::optional<Options> parse_options(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key.rfind("--", 0) != 0) {
      return std::nullopt;
    }
    options[key.substr(2)] = argv[i + 1];
  }
  if (argc % 2 == 0) {
    return std::nullopt;
  }
  return options;
}

int number(const Options& options, const std::string& key, int fallback) {
  const auto it = options.find(key);
  return it == options.end() ? fallback : std::stoi(it->second);
}

// "MIN-MAX" or a single number for both.
template <typename T>
void range(const Options& options, const std::string& key, T& low, T& high) {
  const auto it = options.find(key);
  if (it == options.end()) {
    return;
  }
  const std::size_t dash = it->second.find('-');
  low = static_cast<T>(std::stod(it->second.substr(0, dash)));
  high = dash == std::string::npos ? low : static_cast<T>(std::stod(it->second.substr(dash + 1)));
}

levels::SetRecipe recipe_of(const Options& options) {
  levels::SetRecipe recipe;
  recipe.name = options.at("name");
  recipe.count = number(options, "count", recipe.count);
  range(options, "crates", recipe.min_crates, recipe.max_crates);
  range(options, "goals", recipe.min_goals, recipe.max_goals);
  range(options, "width", recipe.room.min_width, recipe.room.max_width);
  range(options, "height", recipe.room.min_height, recipe.room.max_height);
  range(options, "floor", recipe.room.min_floor_percent, recipe.room.max_floor_percent);
  range(options, "space", recipe.min_space, recipe.max_space);
  range(options, "difficulty", recipe.min_difficulty, recipe.max_difficulty);
  recipe.room.corridor_percent = number(options, "corridors", recipe.room.corridor_percent);
  recipe.room.pillar_percent = number(options, "pillars", recipe.room.pillar_percent);
  recipe.room.max_open_blocks = number(options, "open", recipe.room.max_open_blocks);
  recipe.cluster_percent = number(options, "cluster", recipe.cluster_percent);
  recipe.min_pushes = number(options, "min-pushes", recipe.min_pushes);
  recipe.start_push_step = number(options, "start-step", recipe.start_push_step);
  recipe.search_limit =
      static_cast<std::size_t>(number(options, "search", static_cast<int>(recipe.search_limit)));
  recipe.pool = number(options, "pool", recipe.pool);
  recipe.tries = number(options, "tries", recipe.tries);
  recipe.seed = std::stoull(options.at("seed"));
  return recipe;
}

std::string command_line(int argc, char** argv) {
  std::string line = "levelgen";
  for (int i = 1; i < argc; ++i) {
    line += std::string(" ") + argv[i];
  }
  return line;
}

void tell(const levels::MadeLevel& m) {
  std::fprintf(stderr, "candidate %016llx: %d crates, %d pushes, %d changes, %d positions, %.1f\n",
               static_cast<unsigned long long>(m.seed), m.measure.crates, m.measure.pushes,
               m.measure.crate_changes, m.measure.positions, m.measure.difficulty);
}

// The candidates an earlier run told, made again from their seeds in the same order.
std::vector<levels::MadeLevel> remake_pool(const levels::SetRecipe& recipe,
                                           const std::vector<levels::Level>& avoid,
                                           const std::string& log, levels::Rejections& rejected) {
  std::ifstream in(log);
  std::vector<levels::MadeLevel> pool;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(kCandidate, 0) == 0) {
      const std::uint64_t seed =
          std::stoull(line.substr(std::size(kCandidate) - 1, 16), nullptr, 16);
      if (std::optional<levels::MadeLevel> made =
              levels::make_candidate(recipe, seed, avoid, rejected)) {
        tell(*made);
        pool.push_back(std::move(*made));
      }
    }
  }
  return pool;
}

void report(const levels::Rejections& rejected, std::size_t pool) {
  std::fprintf(stderr, "pool: %zu candidates\n", pool);
  for (const auto& [reason, count] : rejected) {
    std::fprintf(stderr, "turned down (%s): %d\n", reason.c_str(), count);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = parse_options(argc, argv);
  if (!options || !options->contains("name") || !options->contains("seed") ||
      !options->contains("difficulty") || !options->contains("data") ||
      !options->contains("solutions")) {
    std::fprintf(stderr, "usage: see the head of tools/levels/levelgen.cpp\n");
    return 2;
  }
  const levels::SetRecipe recipe = recipe_of(*options);
  levels::LevelFolder avoid;
  if (options->contains("avoid")) {
    std::istringstream dirs(options->at("avoid"));
    for (std::string dir; std::getline(dirs, dir, ',');) {
      levels::LevelFolder found = levels::read_levels(dir);
      avoid.levels.insert(avoid.levels.end(), found.levels.begin(), found.levels.end());
      avoid.titles.merge(found.titles);
    }
  }
  levels::Rejections rejected;
  const auto pool = options->contains("reuse")
                        ? remake_pool(recipe, avoid.levels, options->at("reuse"), rejected)
                        : levels::make_pool(recipe, avoid.levels, rejected, tell);
  report(rejected, pool.size());
  auto chosen = levels::choose_levels(pool, recipe);
  levels::give_titles(chosen, recipe.seed, avoid.titles);
  levels::write_set(options->at("data"), recipe.name, chosen);
  levels::write_solutions(options->at("solutions"), "Made by: " + command_line(argc, argv), chosen);
  std::fprintf(stderr, "%zu levels written\n", chosen.size());
  return static_cast<int>(chosen.size()) == recipe.count ? 0 : 1;
}
