// Set A: red brick walls, tiled stone floor, wooden crates that turn golden on a goal, and
// a keeper in a red cap seen from the side, pushing to the left or to the right.
#include <algorithm>
#include <cmath>

#include "style.h"

namespace tilegen {
namespace {

enum Colour : std::uint8_t {
  kBlack,
  kFloor,
  kGrout,
  kMortar,
  kBrick,
  kBrickDark,
  kBrickLight,
  kWoodLight,
  kWoodMid,
  kWoodDark,
  kGoalYellow,
  kGold,
  kSkin,
  kShirt,
  kTrousers,
  kWhite,
};

constexpr Palette kPalette{{
    {0, 0, 0},
    {74, 78, 84},
    {54, 57, 62},
    {176, 166, 148},
    {170, 66, 44},
    {118, 42, 28},
    {208, 104, 74},
    {222, 172, 100},
    {176, 118, 56},
    {96, 58, 22},
    {255, 214, 40},
    {214, 160, 16},
    {244, 194, 152},
    {44, 96, 206},
    {28, 42, 104},
    {255, 255, 255},
}};

constexpr int kBrickRows = 4;

// A line thickness in whole pixels: the fraction of the tile size, at least one pixel.
int thickness(int size, double fraction) {
  return std::max(1, static_cast<int>(std::lround(size * fraction)));
}

void draw_brick(Raster& tile, int x0, int y0, int x1, int y1) {
  const int n = tile.size();
  tile.paint(pixel_rect_mask(n, x0, y0, x1, y1), kBrick);
  if (y1 - y0 >= 2) {
    tile.paint(pixel_rect_mask(n, x0, y0, x1, y0), kBrickLight);
  }
  tile.paint(pixel_rect_mask(n, x0, y1, x1, y1), kBrickDark);
}

struct WoodColours {
  Colour light;
  Colour mid;
  Colour dark;
};

// The parts of the keeper, each a mask of its own so that they can be coloured in turn.
struct Figure {
  Mask head, cap, eye, body, arm, hand, legs, shoes;
};

// The keeper walking right, or mirrored to walk left, in tile units.
Figure side_view(int n, bool right) {
  const auto px = [right](double x) { return right ? x : 1.0 - x; };
  const auto at = [&](double x, double y) { return Point{px(x), y}; };
  const auto span = [&](double x0, double y0, double x1, double y1) {
    return rect_mask(n, std::min(px(x0), px(x1)), y0, std::max(px(x0), px(x1)), y1);
  };
  const Mask head = ellipse_mask(n, at(0.48, 0.25), 0.15, 0.15);
  return {
      head,
      (head & rect_mask(n, 0, 0, 1, 0.2)) | span(0.5, 0.15, 0.72, 0.2),
      dot_mask(n, at(0.57, 0.26), 0.05),
      span(0.33, 0.42, 0.63, 0.7),
      line_mask(n, at(0.48, 0.48), at(0.78, 0.5), 0.06),
      ellipse_mask(n, at(0.82, 0.5), 0.065, 0.065),
      line_mask(n, at(0.42, 0.7), at(0.33, 0.86), 0.065) |
          line_mask(n, at(0.55, 0.7), at(0.66, 0.86), 0.065),
      ellipse_mask(n, at(0.3, 0.9), 0.085, 0.045) | ellipse_mask(n, at(0.71, 0.9), 0.085, 0.045),
  };
}

class ClassicStyle final : public TileStyle {
 public:
  char letter() const override { return 'A'; }
  bool four_facings() const override { return false; }
  const Palette& palette() const override { return kPalette; }

  void draw_floor(Raster& tile) const override {
    const int n = tile.size();
    tile.fill(kFloor);
    tile.paint(pixel_rect_mask(n, 0, 0, n - 1, 0) | pixel_rect_mask(n, 0, 0, 0, n - 1), kGrout);
  }

  void draw_goal(Raster& tile) const override {
    const int n = tile.size();
    const double reach = 0.26;
    const std::array<Point, 4> outer{
        {{0.5, 0.5 - reach}, {0.5 + reach, 0.5}, {0.5, 0.5 + reach}, {0.5 - reach, 0.5}}};
    const Mask diamond = polygon_mask(n, outer);
    tile.paint(diamond, kGoalYellow);
    tile.paint(diamond.inner_border(), kGold);
  }

  // Four courses of bricks, every other one offset by a quarter tile, so that walls side
  // by side continue the bond without a seam.
  void draw_wall(Raster& tile) const override {
    const int n = tile.size();
    const int mortar = thickness(n, 1.0 / 24);
    tile.fill(kMortar);
    for (int row = 0; row < kBrickRows; ++row) {
      const int y0 = row * n / kBrickRows + mortar;
      const int y1 = (row + 1) * n / kBrickRows - 1;
      const int phase = row % 2;  // odd courses start half a brick later
      for (int k = -1; k <= 2; ++k) {
        const int x0 = (2 * k + phase) * n / 4 + mortar;
        const int x1 = (2 * k + 2 + phase) * n / 4 - 1;
        draw_brick(tile, x0, y0, x1, y1);
      }
    }
  }

  void draw_crate(Raster& tile, bool on_goal) const override {
    const WoodColours wood = on_goal ? WoodColours{kGoalYellow, kGold, kWoodDark}
                                     : WoodColours{kWoodLight, kWoodMid, kWoodDark};
    const int n = tile.size();
    const int margin = thickness(n, 0.07);
    const int band = thickness(n, 0.13);
    const int far = n - 1 - margin;
    tile.paint(pixel_rect_mask(n, margin, margin, far, far), wood.dark);
    tile.paint(pixel_rect_mask(n, margin + 1, margin + 1, far - 1, far - 1), wood.light);
    const int p0 = margin + 1 + band;
    const int p1 = far - 1 - band;
    const Mask panel = pixel_rect_mask(n, p0, p0, p1, p1);
    tile.paint(panel, wood.mid);
    const Point a{(p0 + 0.5) / n, (p0 + 0.5) / n};
    const Point b{(p1 + 0.5) / n, (p1 + 0.5) / n};
    const Mask brace = line_mask(n, a, b, 0.07) & panel;
    tile.paint(brace, wood.light);
    tile.paint(brace.outer_border() & panel, wood.dark);
    tile.paint(panel.inner_border(true), wood.dark);
  }

  // A side view, drawn facing right and mirrored for the left. The figure hides most of
  // the goal diamond, so on a goal it stands on a golden plate that shows beside its feet.
  void draw_keeper(Raster& tile, Facing facing, bool on_goal) const override {
    const int n = tile.size();
    if (on_goal) {
      const Mask plate = ellipse_mask(n, {0.5, 0.87}, 0.44, 0.12);
      tile.paint(plate, kGoalYellow);
      tile.paint(plate.inner_border(), kGold);
    }
    const Figure f = side_view(n, facing != Facing::kLeft);
    tile.paint((f.head | f.cap | f.body | f.arm | f.hand | f.legs | f.shoes).outer_border() -
                   rect_mask(n, 0, 0.96, 1, 1),
               kBlack);
    tile.paint(f.legs, kTrousers);
    tile.paint(f.shoes, kBlack);
    tile.paint(f.body | f.arm, kShirt);
    tile.paint(f.arm.inner_border() - f.body, kTrousers);
    tile.paint(f.hand | f.head, kSkin);
    tile.paint(f.cap, kBrick);
    tile.paint(f.eye, kBlack);
  }
};

}  // namespace

const TileStyle& classic_style() {
  static const ClassicStyle style;
  return style;
}

}  // namespace tilegen
