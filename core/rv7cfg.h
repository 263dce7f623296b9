// Settings file Ini\Config.Ini: the game program's tile set, level-import directory and
// the four replay delays offered by the digit keys.
#pragma once

#include <string_view>

inline constexpr char kConfigIniPath[] = "Ini\\Config.Ini";

// Tile sets that BitMapSet accepts; any other value becomes kDefaultBitMapSet.
inline constexpr int kDefaultBitMapSet = 1;
inline constexpr int kMaxImportDir = 259;  // characters, longer texts are cut
inline constexpr int kDelayCount = 4;      // Delay1 .. Delay4

// Puts the configuration to its defaults: BitMapSet 1, ImportDir empty, delays 100, 50,
// 33 and 25.
void CfgDefaults();
// Reads Ini\Config.Ini, section "Config": BitMapSet, ImportDir (one leading and one
// trailing double quote removed), Delay1 .. Delay4. Other keys are dropped; a missing
// file leaves the configuration as it is. Returns 0.
int ConfigIni();
// Writes Ini\Config.Ini atomically, always. Returns 0, or the system error code when it
// could not be written (the file is then left as it was and the failure reported, see
// write_failure.h).
int writeConfigIni();

// BitMapSet: 1, 2 or 5213.
int bitmap_set();
// Stores 1, 2 or 5213; any other value stores 1.
void set_bitmap_set(int value);
// ImportDir: the directory where level import starts.
const char* import_dir();
void set_import_dir(std::string_view dir);  // cut to 259 characters
// Replay delay of digit key 1..4 (index 0..3 = Delay1..Delay4) in milliseconds; an index
// outside 0..3 gives 0 and is not stored.
int replay_delay(int index);
void set_replay_delay(int index, int milliseconds);
