// Seeding and upgrading a player's data directory from the bundled one.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace dataseed {

struct SeedReport {
  bool seeded = false;                 // the directory was new and got a full copy
  std::vector<std::string> added;      // level sets added to an existing directory
  std::vector<std::string> kept_back;  // sets not added, each with the reason
  std::vector<std::string> errors;     // files that could not be read or written
};

// Brings the player's data directory up to date with the bundled one; never overwrites,
// changes or removes anything that is already there.
// - A directory without Ini/Mazes.Ini is new: every bundled file that is missing is copied.
// - Otherwise only what is missing is added: files outside Mazes/, and every bundled level
//   set that the player's Mazes.Ini does not list yet - its level files, its entry in
//   Mazes.Ini and, unless the key is there already, its entry in Game.Ini (level 1). The
//   entries are appended to the files' own sections; the files are replaced atomically.
//   A set whose folder already holds files other than ours (a set of the player's own by
//   the same name) is kept back.
// Running it again changes nothing.
SeedReport seed_data_dir(const std::filesystem::path& bundled, const std::filesystem::path& player);

}  // namespace dataseed
