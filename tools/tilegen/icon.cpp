#include "icon.h"

#include <array>

#include "tiles.h"

namespace tilegen {
namespace {

constexpr int kIconTile = 21;  // three tiles of 21 fill 63 of the 64 pixels
constexpr double kCornerRadius = 0.16;
constexpr std::array<std::array<Kind, 3>, 3> kIconLevel{{
    {Kind::kWall, Kind::kWall, Kind::kWall},
    {Kind::kKeeperRight, Kind::kCrate, Kind::kGoal},
    {Kind::kWall, Kind::kWall, Kind::kWall},
}};

}  // namespace

Raster render_icon() {
  Raster icon(kIconSize, kIconTransparent);
  const int offset = (kIconSize - kIconTile * 3) / 2;
  Raster level(kIconTile * 3);
  for (std::size_t row = 0; row < kIconLevel.size(); ++row) {
    for (std::size_t col = 0; col < kIconLevel[row].size(); ++col) {
      level.blit(render_tile(flat_style(), kIconLevel[row][col], kIconTile),
                 static_cast<int>(col) * kIconTile, static_cast<int>(row) * kIconTile);
    }
  }
  icon.blit(level, offset, offset);
  const Mask inside = round_rect_mask(kIconSize, 0, 0, 1, 1, kCornerRadius);
  icon.paint(rect_mask(kIconSize, 0, 0, 1, 1) - inside, kIconTransparent);
  return icon;
}

const Palette& icon_palette() {
  return flat_style().palette();
}

}  // namespace tilegen
