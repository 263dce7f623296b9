// Set C: dark and high in contrast. Cyan-edged wall blocks on a black floor, goals framed
// in magenta, yellow hazard crates that turn green on a goal, and a white robot whose red
// visor points the way it faces.
#include <algorithm>
#include <array>

#include "style.h"

namespace tilegen {
namespace {

enum Colour : std::uint8_t {
  kBlack,
  kFloor,
  kFloorDot,
  kWallBody,
  kCyan,
  kWallPanel,
  kMagenta,
  kMagentaDark,
  kYellow,
  kYellowDark,
  kGreen,
  kGreenDark,
  kRobot,
  kRobotGrey,
  kRed,
  kWhite,
};

constexpr Palette kPalette{{
    {0, 0, 0},
    {16, 16, 26},
    {58, 58, 84},
    {24, 34, 96},
    {0, 210, 255},
    {36, 70, 170},
    {255, 40, 200},
    {120, 20, 100},
    {255, 222, 0},
    {150, 110, 0},
    {0, 250, 110},
    {0, 110, 50},
    {236, 236, 244},
    {130, 130, 156},
    {255, 48, 48},
    {255, 255, 255},
}};

// Wall edges are one pixel thick up to 29 pixels, then two.
constexpr int kEdgeDivisor = 15;
// The goal frame stands this fraction of the tile inside the tile's edge.
constexpr int kGoalInsetDivisor = 10;

// A square outline inset by whole pixels, as thick as the wall edges.
Mask frame(int n, int inset) {
  const int edge = std::max(1, n / kEdgeDivisor);
  const int far = n - 1 - inset;
  return pixel_rect_mask(n, inset, inset, far, far) -
         pixel_rect_mask(n, inset + edge, inset + edge, far - edge, far - edge);
}

class NeonStyle final : public TileStyle {
 public:
  char letter() const override { return 'C'; }
  bool four_facings() const override { return true; }
  const Palette& palette() const override { return kPalette; }

  void draw_floor(Raster& tile) const override {
    const int n = tile.size();
    tile.fill(kFloor);
    tile.paint(dot_mask(n, {0.5, 0.5}, 0.07), kFloorDot);
  }

  void draw_goal(Raster& tile) const override {
    const int n = tile.size();
    tile.paint(frame(n, n / kGoalInsetDivisor), kMagenta);
    const std::array<Point, 4> diamond{{{0.5, 0.36}, {0.64, 0.5}, {0.5, 0.64}, {0.36, 0.5}}};
    tile.paint(polygon_mask(n, diamond), kMagenta);
  }

  void draw_wall(Raster& tile) const override {
    const int n = tile.size();
    tile.fill(kWallBody);
    tile.paint(frame(n, 0), kCyan);
    const Mask panel = rect_mask(n, 0.25, 0.25, 0.75, 0.75);
    tile.paint(panel.inner_border(), kWallPanel);
  }

  void draw_crate(Raster& tile, bool on_goal) const override {
    const int n = tile.size();
    const Mask box = rect_mask(n, 0.2, 0.2, 0.8, 0.8);
    const Mask inside = box - box.inner_border();
    tile.paint(box, on_goal ? kGreen : kYellow);
    tile.paint(box.inner_border(), kBlack);
    if (on_goal) {
      tile.paint(rect_mask(n, 0.38, 0.38, 0.62, 0.62), kGreenDark);
      return;
    }
    const Mask cross =
        line_mask(n, {0.2, 0.2}, {0.8, 0.8}, 0.03) | line_mask(n, {0.8, 0.2}, {0.2, 0.8}, 0.03);
    tile.paint(cross & inside, kBlack);
  }

  void draw_keeper(Raster& tile, Facing facing, bool /*on_goal*/) const override {
    const int n = tile.size();
    const Orient o(n, facing);
    const Mask body = ellipse_mask(n, {0.5, 0.5}, 0.3, 0.3);
    tile.paint(body.outer_border(), kBlack);
    tile.paint(body, kRobot);
    tile.paint(body.inner_border(), kRobotGrey);
    tile.paint(o.rect(-0.2, 0.06, 0.2, 0.2) & body, kRed);
    tile.paint(dot_mask(n, o.at(0, -0.1), 0.08), kRobotGrey);
  }
};

}  // namespace

const TileStyle& neon_style() {
  static const NeonStyle style;
  return style;
}

}  // namespace tilegen
