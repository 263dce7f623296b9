#include "rv7ini.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "rv7log.h"
#include "write_failure.h"

namespace {

constexpr char kLogModule[] = "rv7ini";

constexpr char kGameSection[] = "Game";
constexpr char kMazesSection[] = "Mazes";
constexpr char kGamePurpose[] = "# current game setup.";
constexpr char kMazesPurpose[] = "# to identify number of mazes in each set.";
constexpr char kMazeKey[] = "Maze";
constexpr char kPlayerKey[] = "Player";
constexpr char kFallbackSet[] = "Screens";
constexpr char kNewKeyValue[] = "1";
// Game-table entries before this position keep their place when the table is sorted.
constexpr int kUnsortedGameEntries = 2;
constexpr int kStartLevelCount = 1;
constexpr int kFirstLevel = 1;
// What " = " takes between key and value in a written entry.
constexpr std::size_t kEntrySeparator = 3;
// The longest entry line the reader takes back in one piece, line feed excluded.
constexpr std::size_t kMaxEntryLine = kMaxLine - 1;
// Characters that make a line's key something else when they come first.
constexpr std::string_view kLineMarks = "#/;[";

struct GameEntry : ListNode {
  char* key = nullptr;
  char* value = nullptr;
};

ListHead g_game_table;
ListHead g_level_sets;
int g_game_dirty = 0;
int g_mazes_dirty = 0;
int g_key_width = 0;
std::array<char, kMaxPlayerName + 1> g_player{};
std::array<char, kMaxSetName + 1> g_set{};
int g_level_count = kStartLevelCount;
int g_level = kFirstLevel;

// Copies `text` into `room`, cut to the room less the terminator.
template <std::size_t N>
void copy_cut(std::array<char, N>& room, std::string_view text) {
  std::size_t length = std::min(text.size(), N - 1);
  std::memcpy(room.data(), text.data(), length);
  room[length] = '\0';
}

void widen_key_column(std::size_t key_length) {
  int length = static_cast<int>(std::min<std::size_t>(key_length, INT_MAX));
  g_key_width = std::max(g_key_width, length);
}

GameEntry* find_game_entry(std::string_view key) {
  for (GameEntry& entry : ListRange<GameEntry>(g_game_table)) {
    if (key == entry.key) {
      return &entry;
    }
  }
  return nullptr;
}

LevelSetEntry* find_level_set(std::string_view name) {
  for (LevelSetEntry& entry : ListRange<LevelSetEntry>(g_level_sets)) {
    if (name == entry.name) {
      return &entry;
    }
  }
  return nullptr;
}

// Appends a game entry with copies of both texts; nullptr when the pool has no memory.
GameEntry* append_game_entry(std::string_view key, std::string_view value) {
  auto* entry = pool_new<GameEntry>();
  char* key_copy = pool_strdup(key);
  char* value_copy = pool_strdup(value);
  if (entry == nullptr || key_copy == nullptr || value_copy == nullptr) {
    pool_delete(entry);
    pool_free(key_copy);
    pool_free(value_copy);
    return nullptr;
  }
  entry->key = key_copy;
  entry->value = value_copy;
  list_push_back(g_game_table, entry);
  return entry;
}

LevelSetEntry* append_level_set(std::string_view name, int count) {
  auto* entry = pool_new<LevelSetEntry>();
  char* name_copy = pool_strdup(name);
  if (entry == nullptr || name_copy == nullptr) {
    pool_delete(entry);
    pool_free(name_copy);
    return nullptr;
  }
  entry->name = name_copy;
  entry->count = count;
  list_push_back(g_level_sets, entry);
  return entry;
}

// Compares two keys with ASCII letters folded to lower case; < 0 when `a` sorts first.
int compare_without_case(const char* a, const char* b) {
  auto lower = [](char c) {
    auto code = static_cast<unsigned char>(c);
    return code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
  };
  while (*a != '\0' && lower(*a) == lower(*b)) {
    ++a;
    ++b;
  }
  return lower(*a) - lower(*b);
}

// Exchange sort from the entry `first` on: every later entry whose key sorts lower trades
// its payload with the current one. Entries keep their places in the list; equal keys
// are not swapped.
template <typename Entry, typename KeyOf, typename Swap>
void exchange_sort(ListNode* first, const ListHead& head, KeyOf key_of, Swap swap_payload) {
  for (ListNode* i = first; i != &head; i = i->next) {
    for (ListNode* j = i->next; j != &head; j = j->next) {
      auto* low = static_cast<Entry*>(i);
      auto* high = static_cast<Entry*>(j);
      if (compare_without_case(key_of(*high), key_of(*low)) < 0) {
        swap_payload(*low, *high);
      }
    }
  }
}

void sort_game_table() {
  ListNode* first = g_game_table.next;
  for (int skipped = 0; skipped < kUnsortedGameEntries && first != &g_game_table; ++skipped) {
    first = first->next;
  }
  exchange_sort<GameEntry>(
      first, g_game_table, [](const GameEntry& e) { return e.key; },
      [](GameEntry& a, GameEntry& b) {
        std::swap(a.key, b.key);
        std::swap(a.value, b.value);
      });
}

// The spare field travels with its set, so a caller's per-set count stays with its name.
void sort_level_sets() {
  exchange_sort<LevelSetEntry>(
      g_level_sets.next, g_level_sets, [](const LevelSetEntry& e) { return e.name; },
      [](LevelSetEntry& a, LevelSetEntry& b) {
        std::swap(a.name, b.name);
        std::swap(a.count, b.count);
        std::swap(a.spare, b.spare);
      });
}

// The value as the reader takes it back: up to its first line end, without blanks and
// carriage returns at either end.
std::string_view written_value(std::string_view value) {
  value = value.substr(0, value.find('\n'));
  const std::size_t first = value.find_first_not_of(" \r");
  if (first == std::string_view::npos) {
    return {};
  }
  return value.substr(first, value.find_last_not_of(" \r") - first + 1);
}

// True when a line written with this key reads back with the same key, leaving room for at
// least one character of value.
bool writable_key(std::string_view key) {
  return !key.empty() && key.size() + kEntrySeparator < kMaxEntryLine &&
         key.find_first_of("=\n") == std::string_view::npos && key.front() != ' ' &&
         key.back() != ' ' && kLineMarks.find(key.front()) == std::string_view::npos;
}

// The width of both writers' key column: the longest key of the two tables that is written.
int column_width() {
  std::size_t width = 0;
  for (const GameEntry& entry : ListRange<GameEntry>(g_game_table)) {
    width = writable_key(entry.key) ? std::max(width, std::strlen(entry.key)) : width;
  }
  for (const LevelSetEntry& entry : ListRange<LevelSetEntry>(g_level_sets)) {
    width = writable_key(entry.name) ? std::max(width, std::strlen(entry.name)) : width;
  }
  return static_cast<int>(width);
}

// One written entry: the key left-aligned in a column `width` wide, " = ", the value. A line
// that would not fit the reader's piece gives up padding first, then the end of its value.
std::string entry_line(std::string_view key, std::string_view value, int width) {
  value = written_value(value);
  const std::size_t room = kMaxEntryLine - kEntrySeparator;  // key column and value
  value = value.substr(0, room - key.size());
  std::string line(key);
  const std::size_t column = std::min(static_cast<std::size_t>(width), room - value.size());
  if (line.size() < column) {
    line.append(column - line.size(), ' ');
  }
  line.append(" = ").append(value).append("\n");
  return line;
}

// The entry format of a writer with the key width, as it is traced.
std::string entry_format(int width, const char* value_conversion) {
  return "%-" + std::to_string(width) + "s = " + value_conversion;
}

void free_game_entry(GameEntry* entry) {
  pool_free(entry->key);
  pool_free(entry->value);
  pool_delete(entry);
}

void free_level_set(LevelSetEntry* entry) {
  pool_free(entry->name);
  pool_delete(entry);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Shared settings-file reader and writer

#define SETTINGS_LOG(level, ...) LogMessage(module_, function_, __LINE__, (level), __VA_ARGS__)

SettingsReader::SettingsReader(const char* module, const char* function, const char* section)
    : module_(module), function_(function), section_(section) {}

void SettingsReader::open(const char* path) {
  file_.open(path, "r");
  SETTINGS_LOG(kLogInfo, "open read, %s, f=%08x", path, file_.handle_number());
}

bool SettingsReader::next_entry() {
  while (const char* line = file_.read_line()) {
    splitter_.load(line);
    splitter_.split();
    if (classify()) {
      return true;
    }
  }
  return false;
}

bool SettingsReader::classify() {
  const char* key = splitter_.key();
  // A key trimmed down to nothing counts as no key: such a line carries no setting.
  if (key == nullptr || *key == '\0') {
    SETTINGS_LOG(kLogTrace, "blank line");
  } else if (std::strchr("#/;", *key) != nullptr) {
    SETTINGS_LOG(kLogTrace, "comment=%s", key);
  } else if (*key == '[') {
    enter_section(key);
    SETTINGS_LOG(kLogTrace, "header=[%s]", current_.data());
  } else if (splitter_.value() != nullptr && std::strcmp(current_.data(), section_) == 0) {
    return true;
  } else {
    SETTINGS_LOG(kLogTrace, "ignored=%s", key);
  }
  return false;
}

void SettingsReader::enter_section(const char* key) {
  std::string_view name(key + 1);
  name = name.substr(0, name.find(']'));
  copy_cut(current_, name);
}

void SettingsReader::close() {
  SETTINGS_LOG(kLogInfo, "close, %s, f=%08x", file_.path(), file_.handle_number());
  file_.close();
}

bool SettingsWriter::open(const char* path, const char* purpose, const char* section) {
  file_.open(path, "w");
  SETTINGS_LOG(kLogInfo, "open write, %s, f=%08x", path, file_.handle_number());
  if (!file_.is_open()) {
    return false;
  }
  file_.write_format("\n# comment:\n%s\n# do not modify.\n\n[%s]\n", purpose, section);
  return true;
}

int SettingsWriter::close() {
  if (!file_.is_open()) {
    return file_.open_error();
  }
  file_.write_text("\n");
  SETTINGS_LOG(kLogInfo, "close, %s, f=%08x", file_.path(), file_.handle_number());
  return file_.close();
}

int SettingsWriter::finish(const char* path) {
  const int rc = close();
  if (rc != 0) {
    ReportWriteFailure(path, rc);
  }
  return rc;
}

#undef SETTINGS_LOG

int parse_number(const char* text) {
  bool negative = *text == '-';
  if (*text == '-' || *text == '+') {
    ++text;
  }
  long long number = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    number = std::min<long long>(number * 10 + (*text - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  number = negative ? -number : std::min<long long>(number, INT_MAX);
  return static_cast<int>(number);
}

// ---------------------------------------------------------------------------------------
// Reading

bool IsSafeSetName(std::string_view name) {
  constexpr unsigned char kDelete = 0x7f;
  const auto control = [](char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < ' ' || code == kDelete;
  };
  return !name.empty() && name.size() <= static_cast<std::size_t>(kMaxSetName) && name != "." &&
         name != ".." && name.find_first_of("/\\=") == std::string_view::npos &&
         std::none_of(name.begin(), name.end(), control) && name.front() != ' ' &&
         name.back() != ' ' && kLineMarks.find(name.front()) == std::string_view::npos;
}

int GameIni() {
  RV7_ENTRY();
  SettingsReader reader(kLogModule, __func__, kGameSection);
  reader.open(kGameIniPath);
  while (reader.next_entry()) {
    if (std::strcmp(reader.key(), kMazeKey) == 0 && !IsSafeSetName(reader.value())) {
      RV7_LOG(kLogInfo, "refused, key=%s, value=%s", reader.key(), reader.value());
      continue;
    }
    RV7_LOG(kLogInfo, "key=%s, value=%s", reader.key(), reader.value());
    append_game_entry(reader.key(), reader.value());
    widen_key_column(std::strlen(reader.key()));
  }
  reader.close();
  RV7_EXIT_RC(0);
  return 0;
}

int MazesIni() {
  RV7_ENTRY();
  SettingsReader reader(kLogModule, __func__, kMazesSection);
  reader.open(kMazesIniPath);
  while (reader.next_entry()) {
    int count = parse_number(reader.value());
    if (!IsSafeSetName(reader.key())) {
      RV7_LOG(kLogInfo, "refused, set=%s, mazes=%d", reader.key(), count);
      continue;
    }
    RV7_LOG(kLogInfo, "set=%s, mazes=%d", reader.key(), count);
    append_level_set(reader.key(), count);
    widen_key_column(std::strlen(reader.key()));
  }
  reader.close();
  RV7_EXIT_RC(0);
  return 0;
}

// ---------------------------------------------------------------------------------------
// Writing

int writeGameIni() {
  RV7_ENTRY();
  int rc = 0;
  if (g_game_dirty != 0) {
    sort_game_table();
    const int width = column_width();
    RV7_LOG(kLogInfo, "fmt=>%s<", entry_format(width, "%s").c_str());
    SettingsWriter writer(kLogModule, __func__);
    rc = writer.write_file(kGameIniPath, kGamePurpose, kGameSection, [width](SettingsWriter& out) {
      for (const GameEntry& entry : ListRange<GameEntry>(g_game_table)) {
        if (writable_key(entry.key)) {
          out.write(entry_line(entry.key, entry.value, width));
        }
      }
    });
    g_game_dirty = rc == 0 ? 0 : 1;
  }
  RV7_EXIT_RC(rc);
  return rc;
}

int writeMazesIni() {
  RV7_ENTRY();
  int rc = 0;
  if (g_mazes_dirty != 0) {
    sort_level_sets();
    const int width = column_width();
    RV7_LOG(kLogInfo, "fmt=>%s<", entry_format(width, "%d").c_str());
    SettingsWriter writer(kLogModule, __func__);
    rc = writer.write_file(
        kMazesIniPath, kMazesPurpose, kMazesSection, [width](SettingsWriter& out) {
          for (const LevelSetEntry& entry : ListRange<LevelSetEntry>(g_level_sets)) {
            out.write(entry_line(entry.name, std::to_string(entry.count), width));
          }
        });
    g_mazes_dirty = rc == 0 ? 0 : 1;
  }
  RV7_EXIT_RC(rc);
  return rc;
}

// ---------------------------------------------------------------------------------------
// Game table and level-set table

const char* game_chk(std::string_view key) {
  RV7_ENTRY();
  const char* value = kNewKeyValue;
  if (GameEntry* entry = find_game_entry(key)) {
    value = entry->value;
  } else if (GameEntry* added = append_game_entry(key, kNewKeyValue)) {
    RV7_LOG(kLogInfo, "key=%s, value=%s", added->key, added->value);
    value = added->value;
  }
  RV7_EXIT();
  return value;
}

void set_game_value(std::string_view key, std::string_view value) {
  RV7_ENTRY();
  GameEntry* entry = find_game_entry(key);
  char* copy = entry != nullptr ? pool_strdup(value) : nullptr;
  if (copy != nullptr) {
    pool_free(entry->value);
    entry->value = copy;
    g_game_dirty = 1;
  }
  RV7_EXIT();
}

void set_game_number(std::string_view key, int number) {
  RV7_ENTRY();
  set_game_value(key, std::to_string(number));
  RV7_EXIT();
}

int level_count(std::string_view set_name) {
  RV7_ENTRY();
  const LevelSetEntry* entry = find_level_set(set_name);
  int count = entry != nullptr ? entry->count : 0;
  RV7_EXIT_RC(count);
  return count;
}

int set_level_count(std::string_view set_name, int count) {
  RV7_ENTRY();
  int previous = 0;
  if (!IsSafeSetName(set_name)) {
    const std::string name(set_name);
    RV7_LOG(kLogInfo, "refused, set=%s", name.c_str());
  } else if (LevelSetEntry* entry = find_level_set(set_name)) {
    previous = entry->count;
    entry->count = count;
  } else if (append_level_set(set_name, count) != nullptr) {
    widen_key_column(set_name.size());
  }
  RV7_EXIT_RC(previous);
  return previous;
}

LevelSetEntry* first_level_set() {
  return static_cast<LevelSetEntry*>(list_first(g_level_sets));
}

LevelSetEntry* next_level_set(const LevelSetEntry* entry) {
  return static_cast<LevelSetEntry*>(list_next(g_level_sets, entry));
}

int level_set_count() {
  return static_cast<int>(list_size(g_level_sets));
}

int game_dirty() {
  return g_game_dirty;
}
void set_game_dirty(int dirty) {
  g_game_dirty = dirty;
}
int mazes_dirty() {
  return g_mazes_dirty;
}
void set_mazes_dirty(int dirty) {
  g_mazes_dirty = dirty;
}
int key_width() {
  return g_key_width;
}

// ---------------------------------------------------------------------------------------
// Current selection

const char* player_name() {
  return g_player.data();
}
void set_player_name(std::string_view name) {
  copy_cut(g_player, name);
}
const char* current_set() {
  return g_set.data();
}
void set_current_set(std::string_view name) {
  copy_cut(g_set, name);
}
int current_level_count() {
  return g_level_count;
}
void set_current_level_count(int count) {
  g_level_count = count;
}
int current_level() {
  return g_level;
}
void set_current_level(int level) {
  g_level = level;
}

void IniDefaults() {
  RV7_ENTRY();
  set_current_set(game_chk(kMazeKey));
  int count = level_count(g_set.data());
  if (count != 0) {
    g_level_count = count;
    int level = parse_number(game_chk(g_set.data()));
    g_level = level < kFirstLevel || level > count ? kFirstLevel : level;
  } else {
    set_current_set(kFallbackSet);
    g_level_count = level_count(kFallbackSet);
    g_level = kFirstLevel;
  }
  RV7_LOG(kLogInfo, "set=%s, level %d of %d", g_set.data(), g_level, g_level_count);
  set_player_name(game_chk(kPlayerKey));
  RV7_LOG(kLogInfo, "player, name=%s", g_player.data());
  RV7_EXIT();
}

void release_ini() {
  RV7_ENTRY();
  while (ListNode* node = list_first(g_game_table)) {
    list_unlink(g_game_table, node);
    free_game_entry(static_cast<GameEntry*>(node));
  }
  while (ListNode* node = list_first(g_level_sets)) {
    list_unlink(g_level_sets, node);
    free_level_set(static_cast<LevelSetEntry*>(node));
  }
  g_game_dirty = 0;
  g_mazes_dirty = 0;
  g_key_width = 0;
  g_player[0] = '\0';
  g_set[0] = '\0';
  g_level_count = kStartLevelCount;
  g_level = kFirstLevel;
  RV7_EXIT();
}
