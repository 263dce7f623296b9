// Set B: a light, flat look. Slate wall blocks, a pale floor, goals as teal rings on a
// tinted plate, amber crates that turn green with a tick on a goal, and a round indigo
// keeper whose eyes look the way it faces.
#include <array>

#include "style.h"

namespace tilegen {
namespace {

enum Colour : std::uint8_t {
  kInk,
  kFloor,
  kFloorLine,
  kGoalPlate,
  kTeal,
  kSlate,
  kSlateLight,
  kSlateDark,
  kAmber,
  kAmberDark,
  kAmberLight,
  kGreen,
  kGreenDark,
  kIndigo,
  kIndigoDark,
  kWhite,
};

constexpr Palette kPalette{{
    {34, 40, 49},
    {236, 232, 224},
    {220, 214, 202},
    {196, 232, 224},
    {32, 160, 148},
    {74, 88, 110},
    {110, 126, 150},
    {50, 62, 82},
    {246, 174, 84},
    {204, 100, 28},
    {252, 214, 150},
    {76, 190, 120},
    {36, 124, 80},
    {92, 104, 220},
    {56, 56, 140},
    {255, 255, 255},
}};

class FlatStyle final : public TileStyle {
 public:
  char letter() const override { return 'B'; }
  bool four_facings() const override { return true; }
  const Palette& palette() const override { return kPalette; }

  void draw_floor(Raster& tile) const override {
    const int n = tile.size();
    tile.fill(kFloor);
    tile.paint(pixel_rect_mask(n, 0, 0, n - 1, 0) | pixel_rect_mask(n, 0, 0, 0, n - 1), kFloorLine);
  }

  void draw_goal(Raster& tile) const override {
    const int n = tile.size();
    tile.paint(round_rect_mask(n, 0.08, 0.08, 0.92, 0.92, 0.16), kGoalPlate);
    const Mask ring =
        ellipse_mask(n, {0.5, 0.5}, 0.25, 0.25) - ellipse_mask(n, {0.5, 0.5}, 0.13, 0.13);
    tile.paint(ring, kTeal);
  }

  // A block with a lit top edge and a dark seam on its right and bottom.
  void draw_wall(Raster& tile) const override {
    const int n = tile.size();
    tile.fill(kSlate);
    tile.paint(pixel_rect_mask(n, 0, 0, n - 1, n / 8), kSlateLight);
    tile.paint(
        pixel_rect_mask(n, n - 1, 0, n - 1, n - 1) | pixel_rect_mask(n, 0, n - 1, n - 1, n - 1),
        kSlateDark);
  }

  void draw_crate(Raster& tile, bool on_goal) const override {
    const int n = tile.size();
    const Mask box = round_rect_mask(n, 0.1, 0.1, 0.9, 0.9, 0.12);
    const Mask lid = round_rect_mask(n, 0.28, 0.28, 0.72, 0.72, 0.06);
    if (on_goal) {
      tile.paint(box, kGreen);
      tile.paint(box.inner_border(), kGreenDark);
      const std::array<Point, 3> tick{{{0.32, 0.52}, {0.45, 0.65}, {0.69, 0.37}}};
      tile.paint(line_mask(n, tick[0], tick[1], 0.05) | line_mask(n, tick[1], tick[2], 0.05),
                 kWhite);
      return;
    }
    tile.paint(box, kAmber);
    tile.paint(box.inner_border(), kAmberDark);
    tile.paint(lid.inner_border(), kAmberDark);
    tile.paint(lid - lid.inner_border(), kAmberLight);
  }

  void draw_keeper(Raster& tile, Facing facing, bool /*on_goal*/) const override {
    const int n = tile.size();
    const Orient o(n, facing);
    const Mask body = ellipse_mask(n, {0.5, 0.5}, 0.37, 0.37);
    tile.paint(body, kIndigo);
    tile.paint(body.inner_border(), kIndigoDark);
    for (double side : {-0.14, 0.14}) {
      tile.paint(o.ellipse(side, 0.12, 0.1, 0.1), kWhite);
      tile.paint(dot_mask(n, o.at(side, 0.16), 0.08), kInk);
    }
  }
};

}  // namespace

const TileStyle& flat_style() {
  static const FlatStyle style;
  return style;
}

}  // namespace tilegen
