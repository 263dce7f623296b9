#include "rv7cfg.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "rv7ini.h"
#include "rv7log.h"

namespace {

constexpr char kLogModule[] = "rv7cfg";

constexpr char kConfigSection[] = "Config";
constexpr char kConfigPurpose[] = "# current configuration.";
constexpr char kBitMapSetKey[] = "BitMapSet";
constexpr char kImportDirKey[] = "ImportDir";
constexpr std::array<const char*, kDelayCount> kDelayKeys = {"Delay1", "Delay2", "Delay3",
                                                             "Delay4"};
constexpr std::array<int, kDelayCount> kDefaultDelays = {100, 50, 33, 25};
constexpr std::array<int, 3> kBitMapSets = {1, 2, 5213};
constexpr char kQuote = '"';

int g_bitmap_set = kDefaultBitMapSet;
std::array<char, kMaxImportDir + 1> g_import_dir{};
std::array<int, kDelayCount> g_delays = kDefaultDelays;

bool valid_delay_index(int index) {
  return index >= 0 && index < kDelayCount;
}

// The text without one leading and one trailing double quote, where present.
std::string_view unquote(std::string_view text) {
  if (!text.empty() && text.front() == kQuote) {
    text.remove_prefix(1);
  }
  if (!text.empty() && text.back() == kQuote) {
    text.remove_suffix(1);
  }
  return text;
}

// Applies one entry of section "Config"; false for a key that is not a configuration key.
bool apply_entry(const char* key, const char* value) {
  if (std::strcmp(key, kBitMapSetKey) == 0) {
    set_bitmap_set(parse_number(value));
    return true;
  }
  if (std::strcmp(key, kImportDirKey) == 0) {
    set_import_dir(unquote(value));
    return true;
  }
  for (int index = 0; index < kDelayCount; ++index) {
    if (std::strcmp(key, kDelayKeys[index]) == 0) {
      g_delays[index] = parse_number(value);
      return true;
    }
  }
  return false;
}

}  // namespace

void CfgDefaults() {
  RV7_ENTRY();
  g_bitmap_set = kDefaultBitMapSet;
  g_import_dir[0] = '\0';
  g_delays = kDefaultDelays;
  RV7_EXIT();
}

int ConfigIni() {
  RV7_ENTRY();
  SettingsReader reader(kLogModule, __func__, kConfigSection);
  reader.open(kConfigIniPath);
  while (reader.next_entry()) {
    if (apply_entry(reader.key(), reader.value())) {
      RV7_LOG(kLogInfo, "key=%s, value=%s", reader.key(), reader.value());
    } else {
      RV7_LOG(kLogTrace, "ignored=%s", reader.key());
    }
  }
  reader.close();
  RV7_EXIT_RC(0);
  return 0;
}

int writeConfigIni() {
  RV7_ENTRY();
  SettingsWriter writer(kLogModule, __func__);
  const int rc =
      writer.write_file(kConfigIniPath, kConfigPurpose, kConfigSection, [](SettingsWriter& out) {
        std::string lines = "BitMapSet = " + std::to_string(g_bitmap_set) + "\n";
        lines += std::string("ImportDir = ") + kQuote + g_import_dir.data() + kQuote + "\n";
        for (int index = 0; index < kDelayCount; ++index) {
          lines +=
              std::string(kDelayKeys[index]) + "    = " + std::to_string(g_delays[index]) + "\n";
        }
        out.write(lines);
      });
  RV7_EXIT_RC(rc);
  return rc;
}

int bitmap_set() {
  return g_bitmap_set;
}

void set_bitmap_set(int value) {
  bool accepted = std::find(kBitMapSets.begin(), kBitMapSets.end(), value) != kBitMapSets.end();
  g_bitmap_set = accepted ? value : kDefaultBitMapSet;
}

const char* import_dir() {
  return g_import_dir.data();
}

void set_import_dir(std::string_view dir) {
  std::size_t length = std::min(dir.size(), g_import_dir.size() - 1);
  std::memcpy(g_import_dir.data(), dir.data(), length);
  g_import_dir[length] = '\0';
}

int replay_delay(int index) {
  return valid_delay_index(index) ? g_delays[index] : 0;
}

void set_replay_delay(int index, int milliseconds) {
  if (valid_delay_index(index)) {
    g_delays[index] = milliseconds;
  }
}
