// A player's data directory seeded from the bundled data/ and upgraded with new level sets,
// run twice over a directory with the player's own changes.
#include "dataseed.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "rv7ini.h"
#include "scratch_directory.h"

namespace {

namespace fs = std::filesystem;
const fs::path kBundled = fs::path(RV7_SOURCE_DIR) / "data";

using Snapshot = std::map<std::string, std::string>;  // relative path -> bytes

Snapshot snapshot(const fs::path& root) {
  Snapshot files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), root).string()] = ReadTextFile(entry.path());
    }
  }
  return files;
}

struct SetEntry {
  std::string name;
  int count;
};

// The level-set table and the game table of a data directory, read by the game's reader.
struct Tables {
  std::vector<SetEntry> sets;
  std::map<std::string, std::string> game;
};

Tables read_tables(const fs::path& dir, const std::vector<std::string>& game_keys) {
  const fs::path previous = fs::current_path();
  fs::current_path(dir);
  release_ini();
  MazesIni();
  GameIni();
  Tables tables;
  for (LevelSetEntry* e = first_level_set(); e != nullptr; e = next_level_set(e)) {
    tables.sets.push_back({e->name, e->count});
  }
  for (const std::string& key : game_keys) {
    tables.game[key] = game_chk(key);
  }
  release_ini();
  fs::current_path(previous);
  return tables;
}

// The bundled sets other than "Screens", which every earlier data directory has.
std::vector<SetEntry> new_sets() {
  std::vector<SetEntry> sets = read_tables(kBundled, {}).sets;
  std::erase_if(sets, [](const SetEntry& s) { return s.name == "Screens"; });
  return sets;
}

// An earlier player's directory: the "Screens" set only, with scores, changed settings, a
// set of their own, a set of their own under the name of a new set (listed), and a folder
// of their own under the name of another new set (not listed).
void write_earlier_player(const fs::path& dir, const std::vector<SetEntry>& sets) {
  for (const auto& entry : fs::directory_iterator(kBundled / "Mazes" / "Screens")) {
    fs::create_directories(dir / "Mazes" / "Screens");
    fs::copy_file(entry.path(), dir / "Mazes" / "Screens" / entry.path().filename());
  }
  WriteTextFile(dir / "Mazes/Screens/Screen.3.rv7", "\n# comment:\n\n[9.2.Ann]\nuuRRdLLrU\n\n");
  WriteTextFile(dir / "Mazes/Attic/Attic.1", "#####\n#@$.#\n#####\n");
  WriteTextFile(dir / "Mazes" / sets[0].name / (sets[0].name + ".1"), "#####\n#@$.#\n#####\n");
  WriteTextFile(dir / "Mazes" / sets[1].name / "notes.txt", "mine\n");
  WriteTextFile(dir / "Ini/Config.Ini", "\n[Config]\nBitMapSet = 2\nDelay1    = 300\n");
  WriteTextFile(dir / "Ini/Mazes.Ini",
                "\r\n# comment:\r\n[Mazes]\r\nAttic   = 1\r\nScreens = 17\r\n" + sets[0].name +
                    " = 1\r\n\r\n[Notes]\r\nkeep = this");
  WriteTextFile(dir / "Ini/Game.Ini",
                "\n[Game]\nMaze    = Attic\nPlayer  = Ann\nAttic   = 1\n"
                "Screens = 7\n" +
                    sets[2].name + " = 4\n\n");
}

TEST(DataSeed, NewDirectoryGetsTheWholeBundledData) {
  ScratchDirectory scratch("rv7seed");
  const dataseed::SeedReport report = dataseed::seed_data_dir(kBundled, "player");
  EXPECT_TRUE(report.seeded);
  EXPECT_TRUE(report.errors.empty());
  EXPECT_EQ(snapshot("player"), snapshot(kBundled));
}

TEST(DataSeed, UpgradeAddsNewSetsTwiceOverWithoutTouchingThePlayersOwn) {
  const std::vector<SetEntry> sets = new_sets();
  ASSERT_GE(sets.size(), 3u);
  ScratchDirectory scratch("rv7seed");
  write_earlier_player("player", sets);
  const Snapshot before = snapshot("player");
  std::vector<std::string> keys{"Maze", "Player", "Attic", "Screens"};
  for (const SetEntry& s : sets) {
    keys.push_back(s.name);
  }
  const Tables tables_before = read_tables("player", keys);

  const dataseed::SeedReport report = dataseed::seed_data_dir(kBundled, "player");
  EXPECT_FALSE(report.seeded);
  EXPECT_TRUE(report.errors.empty());
  ASSERT_EQ(report.kept_back.size(), 1u);
  EXPECT_EQ(report.kept_back[0].rfind(sets[1].name + ":", 0), 0u);
  const Snapshot after = snapshot("player");

  // Nothing of the player's changed; the two table files only grew at their ends.
  for (const auto& [name, bytes] : before) {
    ASSERT_TRUE(after.contains(name)) << name;
    if (name == "Ini/Mazes.Ini" || name == "Ini/Game.Ini") {
      EXPECT_EQ(after.at(name).substr(0, bytes.size()), bytes) << name;
    } else {
      EXPECT_EQ(after.at(name), bytes) << name;
    }
  }
  // The game reads every earlier entry as before, and the added sets with our counts.
  const Tables tables = read_tables("player", keys);
  ASSERT_GE(tables.sets.size(), tables_before.sets.size());
  for (std::size_t i = 0; i < tables_before.sets.size(); ++i) {
    EXPECT_EQ(tables.sets[i].name, tables_before.sets[i].name);
    EXPECT_EQ(tables.sets[i].count, tables_before.sets[i].count);
  }
  for (const char* key : {"Maze", "Player", "Attic", "Screens"}) {
    EXPECT_EQ(tables.game.at(key), tables_before.game.at(key)) << key;
  }
  EXPECT_EQ(tables.game.at(sets[2].name), "4");  // the player's own level number stays
  std::vector<std::string> added;
  for (std::size_t i = 2; i < sets.size(); ++i) {
    added.push_back(sets[i].name);
    EXPECT_EQ(level_count(sets[i].name), 0);  // tables were released
    const auto found = std::find_if(tables.sets.begin(), tables.sets.end(),
                                    [&](const SetEntry& s) { return s.name == sets[i].name; });
    ASSERT_NE(found, tables.sets.end()) << sets[i].name;
    EXPECT_EQ(found->count, sets[i].count);
    for (int n = 1; n <= sets[i].count; ++n) {
      const std::string file =
          "Mazes/" + sets[i].name + "/" + sets[i].name + "." + std::to_string(n);
      EXPECT_EQ(after.at(file), ReadTextFile(kBundled / file)) << file;
    }
  }
  EXPECT_EQ(report.added, added);
  // The set listed as the player's own and the folder of their own got none of ours.
  EXPECT_FALSE(after.contains("Mazes/" + sets[0].name + "/" + sets[0].name + ".2"));
  EXPECT_FALSE(after.contains("Mazes/" + sets[1].name + "/" + sets[1].name + ".1"));
  // Files the earlier directory lacked outside Mazes come along; the Screens files stay.
  EXPECT_EQ(after.at("ReadNt.Htm"), ReadTextFile(kBundled / "ReadNt.Htm"));

  const dataseed::SeedReport again = dataseed::seed_data_dir(kBundled, "player");
  EXPECT_TRUE(again.added.empty());
  EXPECT_TRUE(again.errors.empty());
  EXPECT_EQ(snapshot("player"), after);
}

}  // namespace
