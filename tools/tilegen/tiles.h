// The catalogue of tile bitmaps the game loads: three sets at five sizes, the kinds each
// set has, their resource names, and the rendering of each tile from its set's style.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "raster.h"
#include "style.h"

namespace tilegen {

inline constexpr std::array<int, 5> kTileSizes{15, 23, 31, 39, 47};

enum class Kind {
  kFloor,
  kCrate,
  kCrateOnGoal,
  kGoal,
  kWall,
  kKeeperLeft,
  kKeeperLeftOnGoal,
  kKeeperRight,
  kKeeperRightOnGoal,
  kKeeperUp,
  kKeeperUpOnGoal,
  kKeeperDown,
  kKeeperDownOnGoal,
};

struct KindInfo {
  Kind kind;
  std::string_view name;    // the kind's part of the resource name
  bool needs_four_facings;  // only sets with up and down keepers have it
};

inline constexpr std::array<KindInfo, 13> kKinds{{
    {Kind::kFloor, "GND", false},
    {Kind::kCrate, "PKT", false},
    {Kind::kCrateOnGoal, "PKTS", false},
    {Kind::kGoal, "STORE", false},
    {Kind::kWall, "WALL", false},
    {Kind::kKeeperLeft, "MANL", false},
    {Kind::kKeeperLeftOnGoal, "MANLS", false},
    {Kind::kKeeperRight, "MANR", false},
    {Kind::kKeeperRightOnGoal, "MANRS", false},
    {Kind::kKeeperUp, "MANU", true},
    {Kind::kKeeperUpOnGoal, "MANUS", true},
    {Kind::kKeeperDown, "MAND", true},
    {Kind::kKeeperDownOnGoal, "MANDS", true},
}};

// The three sets in the order of their letters A, B, C.
std::span<const TileStyle* const> all_styles();

// Resource name of a tile: set letter, size in decimal, kind name ("B15MANUS").
std::string tile_name(char letter, int size, std::string_view kind_name);

// One tile of a set at a size: ground (floor or goal) first, then what stands on it.
Raster render_tile(const TileStyle& style, Kind kind, int size);

struct TileFile {
  std::string name;                 // resource name, without extension
  std::vector<std::uint8_t> bytes;  // the 16-colour bitmap file
};

// Every tile of every set at every size, set by set, size by size, kinds in table order.
std::vector<TileFile> render_all_tiles();

// The Qt resource file listing each tile as tiles/<name>.bmp under the prefix "/tiles"
// with its name as alias, and the icon under the prefix "/icon".
std::string resource_file_text(std::span<const TileFile> tiles, std::string_view icon_file);

}  // namespace tilegen
