#include "tiles.h"

#include "bmp4.h"

namespace tilegen {
namespace {

struct Placement {
  bool on_goal;
  bool is_keeper;
  Facing facing;
};

Placement placement_of(Kind kind) {
  switch (kind) {
    case Kind::kKeeperLeft:
      return {false, true, Facing::kLeft};
    case Kind::kKeeperLeftOnGoal:
      return {true, true, Facing::kLeft};
    case Kind::kKeeperRight:
      return {false, true, Facing::kRight};
    case Kind::kKeeperRightOnGoal:
      return {true, true, Facing::kRight};
    case Kind::kKeeperUp:
      return {false, true, Facing::kUp};
    case Kind::kKeeperUpOnGoal:
      return {true, true, Facing::kUp};
    case Kind::kKeeperDown:
      return {false, true, Facing::kDown};
    case Kind::kKeeperDownOnGoal:
      return {true, true, Facing::kDown};
    case Kind::kCrateOnGoal:
    case Kind::kGoal:
      return {true, false, Facing::kRight};
    case Kind::kFloor:
    case Kind::kCrate:
    case Kind::kWall:
      break;
  }
  return {false, false, Facing::kRight};
}

}  // namespace

std::span<const TileStyle* const> all_styles() {
  static const std::array<const TileStyle*, 3> styles{&classic_style(), &flat_style(),
                                                      &neon_style()};
  return styles;
}

std::string tile_name(char letter, int size, std::string_view kind_name) {
  std::string name(1, letter);
  name += std::to_string(size);
  name += kind_name;
  return name;
}

Raster render_tile(const TileStyle& style, Kind kind, int size) {
  Raster tile(size);
  if (kind == Kind::kWall) {
    style.draw_wall(tile);
    return tile;
  }
  const Placement place = placement_of(kind);
  style.draw_floor(tile);
  if (place.on_goal) {
    style.draw_goal(tile);
  }
  if (place.is_keeper) {
    style.draw_keeper(tile, place.facing, place.on_goal);
  } else if (kind == Kind::kCrate || kind == Kind::kCrateOnGoal) {
    style.draw_crate(tile, place.on_goal);
  }
  return tile;
}

std::vector<TileFile> render_all_tiles() {
  std::vector<TileFile> files;
  for (const TileStyle* style : all_styles()) {
    for (int size : kTileSizes) {
      for (const KindInfo& info : kKinds) {
        if (info.needs_four_facings && !style->four_facings()) {
          continue;
        }
        files.push_back({tile_name(style->letter(), size, info.name),
                         encode_bmp4(render_tile(*style, info.kind, size), style->palette())});
      }
    }
  }
  return files;
}

std::string resource_file_text(std::span<const TileFile> tiles, std::string_view icon_file) {
  std::string text = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/tiles\">\n";
  for (const TileFile& tile : tiles) {
    text += "    <file alias=\"" + tile.name + "\">tiles/" + tile.name + ".bmp</file>\n";
  }
  text += "  </qresource>\n  <qresource prefix=\"/icon\">\n";
  text += "    <file>" + std::string(icon_file) + "</file>\n";
  text += "  </qresource>\n</RCC>\n";
  return text;
}

}  // namespace tilegen
