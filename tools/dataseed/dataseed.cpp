#include "dataseed.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>

#include "rv7ini.h"

namespace dataseed {
namespace fs = std::filesystem;
namespace {

constexpr char kMazesIni[] = "Ini/Mazes.Ini";
constexpr char kGameIni[] = "Ini/Game.Ini";
constexpr char kMazesSection[] = "Mazes";
constexpr char kGameSection[] = "Game";
constexpr char kLevelsFolder[] = "Mazes";
constexpr char kFirstLevel[] = "1";

struct Entry {
  std::string key;
  std::string value;
};

// The entries of a settings file's own section, read as the game reads them.
std::vector<Entry> read_entries(const fs::path& file, const char* section) {
  SettingsReader reader("dataseed", "read_entries", section);
  const std::string path = file.string();
  reader.open(path.c_str());
  std::vector<Entry> entries;
  while (reader.next_entry()) {
    entries.push_back({reader.key(), reader.value()});
  }
  reader.close();
  return entries;
}

std::set<std::string> keys_of(const std::vector<Entry>& entries) {
  std::set<std::string> keys;
  for (const Entry& e : entries) {
    keys.insert(e.key);
  }
  return keys;
}

std::optional<std::string> read_bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Copies `from` to `to` unless `to` exists; records a failure.
void copy_missing(const fs::path& from, const fs::path& to, SeedReport& report) {
  std::error_code error;
  if (fs::exists(to, error)) {
    return;
  }
  fs::create_directories(to.parent_path(), error);
  if (!fs::copy_file(from, to, fs::copy_options::skip_existing, error) || error) {
    report.errors.push_back("cannot copy " + from.string() + " to " + to.string());
  }
}

// Every regular file below `root`, as paths relative to it, in a fixed order.
std::vector<fs::path> files_below(const fs::path& root) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
       it.increment(error)) {
    if (it->is_regular_file()) {
      files.push_back(fs::relative(it->path(), root));
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool below_levels_folder(const fs::path& relative) {
  return !relative.empty() && *relative.begin() == kLevelsFolder;
}

// The name of the section the file's last header opens; empty without a header. Headers
// are lines whose key (leading "=" and blanks skipped) begins with "[".
std::string last_section(std::string_view text) {
  std::string section;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    line.remove_prefix(std::min(line.find_first_not_of("= "), line.size()));
    if (!line.empty() && line[0] == '[') {
      section = std::string(line.substr(1, line.find(']') - 1));
    }
  }
  return section;
}

// Appends the lines to the file's section (after a header of its own unless the file's
// last section is that one already), replacing the file through a temporary copy.
bool append_entries(const fs::path& file, const char* section,
                    const std::vector<std::string>& lines) {
  if (lines.empty()) {
    return true;
  }
  std::optional<std::string> text = read_bytes(file);
  if (!text) {
    return false;
  }
  if (!text->empty() && text->back() != '\n') {
    *text += '\n';
  }
  if (last_section(*text) != section) {
    *text += std::string("[") + section + "]\n";
  }
  for (const std::string& line : lines) {
    *text += line + "\n";
  }
  fs::path temporary = file;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(text->data(), static_cast<std::streamsize>(text->size()));
    if (!out.flush()) {
      return false;
    }
  }
  std::error_code error;
  fs::rename(temporary, file, error);
  return !error;
}

// Why the player's folder of a bundled set cannot take our files, or nullopt when it is
// missing or holds nothing but copies of our own files.
std::optional<std::string> foreign_files(const fs::path& ours, const fs::path& theirs) {
  for (const fs::path& name : files_below(theirs)) {
    const std::optional<std::string> mine = read_bytes(ours / name);
    if (!mine || mine != read_bytes(theirs / name)) {
      return "its folder holds other files (" + name.string() + ")";
    }
  }
  return std::nullopt;
}

void seed_new(const fs::path& bundled, const fs::path& player, SeedReport& report) {
  for (const fs::path& name : files_below(bundled)) {
    copy_missing(bundled / name, player / name, report);
  }
  report.seeded = true;
}

void upgrade(const fs::path& bundled, const fs::path& player, SeedReport& report) {
  for (const fs::path& name : files_below(bundled)) {
    if (!below_levels_folder(name)) {
      copy_missing(bundled / name, player / name, report);
    }
  }
  const std::set<std::string> listed = keys_of(read_entries(player / kMazesIni, kMazesSection));
  const std::set<std::string> game_keys = keys_of(read_entries(player / kGameIni, kGameSection));
  std::vector<std::string> mazes_lines;
  std::vector<std::string> game_lines;
  for (const Entry& set : read_entries(bundled / kMazesIni, kMazesSection)) {
    if (listed.contains(set.key)) {
      continue;
    }
    const fs::path ours = bundled / kLevelsFolder / set.key;
    const fs::path theirs = player / kLevelsFolder / set.key;
    if (const std::optional<std::string> reason = foreign_files(ours, theirs)) {
      report.kept_back.push_back(set.key + ": " + *reason);
      continue;
    }
    for (const fs::path& name : files_below(ours)) {
      copy_missing(ours / name, theirs / name, report);
    }
    mazes_lines.push_back(set.key + " = " + set.value);
    if (!game_keys.contains(set.key)) {
      game_lines.push_back(set.key + " = " + kFirstLevel);
    }
    report.added.push_back(set.key);
  }
  if (!append_entries(player / kMazesIni, kMazesSection, mazes_lines)) {
    report.errors.push_back("cannot add the new sets to " + (player / kMazesIni).string());
    report.added.clear();
  } else if (!append_entries(player / kGameIni, kGameSection, game_lines)) {
    report.errors.push_back("cannot add the new sets to " + (player / kGameIni).string());
  }
}

}  // namespace

SeedReport seed_data_dir(const fs::path& bundled, const fs::path& player) {
  SeedReport report;
  std::error_code error;
  fs::create_directories(player, error);
  if (!fs::exists(player / kMazesIni, error)) {
    seed_new(bundled, player, report);
  } else {
    upgrade(bundled, player, report);
  }
  return report;
}

}  // namespace dataseed
