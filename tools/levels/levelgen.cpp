// Makes a level set of our own and writes it into a data directory:
//   levelgen --name NAME --count N --crates MIN-MAX --width MIN-MAX --height MIN-MAX
//            --difficulty LOW-HIGH [--goals MIN-MAX] [--space MIN-MAX] [--floor MIN-MAX]
//            [--corridors PERCENT] [--pillars PERCENT] [--open N] [--cluster PERCENT]
//            [--min-pushes N] [--search N] [--pool N] [--tries N] --seed S
//            [--avoid DIR,DIR...] [--reuse LOG] --data DIR --solutions FILE
// Sizes count the squares inside the outer wall; --space is floor squares per goal;
// --goals (at most 16) is how many goals a candidate starts with, by default as many as
// the crates its finished level may have.
// Levels below the --avoid folders are not built again in the same room, nor their titles
// used again. --reuse takes the candidates of an earlier run's standard error ("candidate
// SEED: ...") instead of searching again: with the same options it makes the same set,
// only faster, which helps when trying out other choices.
// The same command line makes the same set. Progress and the reasons for turning
// candidates down go to standard error; exits with 1 when the pool cannot fill the set.
#include <cstdio>
#include <cstdint>
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

levels::SetSpec spec_of(const Options& options) {
  levels::SetSpec spec;
  spec.name = options.at("name");
  spec.count = number(options, "count", spec.count);
  range(options, "crates", spec.min_crates, spec.max_crates);
  range(options, "goals", spec.min_goals, spec.max_goals);
  range(options, "width", spec.room.min_width, spec.room.max_width);
  range(options, "height", spec.room.min_height, spec.room.max_height);
  range(options, "floor", spec.room.min_floor_percent, spec.room.max_floor_percent);
  range(options, "space", spec.min_space, spec.max_space);
  range(options, "difficulty", spec.min_difficulty, spec.max_difficulty);
  spec.room.corridor_percent = number(options, "corridors", spec.room.corridor_percent);
  spec.room.pillar_percent = number(options, "pillars", spec.room.pillar_percent);
  spec.room.max_open_blocks = number(options, "open", spec.room.max_open_blocks);
  spec.cluster_percent = number(options, "cluster", spec.cluster_percent);
  spec.min_pushes = number(options, "min-pushes", spec.min_pushes);
  spec.search_limit = static_cast<std::size_t>(number(options, "search", static_cast<int>(spec.search_limit)));
  spec.pool = number(options, "pool", spec.pool);
  spec.tries = number(options, "tries", spec.tries);
  spec.seed = std::stoull(options.at("seed"));
  return spec;
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
std::vector<levels::MadeLevel> remake_pool(const levels::SetSpec& spec,
                                           const std::vector<levels::Level>& avoid,
                                           const std::string& log, levels::Rejections& rejected) {
  std::ifstream in(log);
  std::vector<levels::MadeLevel> pool;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(kCandidate, 0) == 0) {
      const std::uint64_t seed = std::stoull(line.substr(std::size(kCandidate) - 1, 16), nullptr, 16);
      if (std::optional<levels::MadeLevel> made = levels::make_candidate(spec, seed, avoid, rejected)) {
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
  const levels::SetSpec spec = spec_of(*options);
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
                        ? remake_pool(spec, avoid.levels, options->at("reuse"), rejected)
                        : levels::make_pool(spec, avoid.levels, rejected, tell);
  report(rejected, pool.size());
  auto chosen = levels::choose_levels(pool, spec.count, spec.max_difficulty);
  levels::give_titles(chosen, spec.seed, avoid.titles);
  levels::write_set(options->at("data"), spec.name, chosen);
  levels::write_solutions(options->at("solutions"), "Made by: " + command_line(argc, argv), chosen);
  std::fprintf(stderr, "%zu levels written\n", chosen.size());
  return static_cast<int>(chosen.size()) == spec.count ? 0 : 1;
}
