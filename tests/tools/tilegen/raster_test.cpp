#include "raster.h"

#include <gtest/gtest.h>

#include <vector>

namespace tilegen {
namespace {

int count(const Mask& mask) {
  int total = 0;
  for (int y = 0; y < mask.size(); ++y) {
    for (int x = 0; x < mask.size(); ++x) {
      total += mask.test(x, y) ? 1 : 0;
    }
  }
  return total;
}

bool mirrors(const Mask& a, const Mask& b) {
  for (int y = 0; y < a.size(); ++y) {
    for (int x = 0; x < a.size(); ++x) {
      if (a.test(x, y) != b.test(a.size() - 1 - x, y)) {
        return false;
      }
    }
  }
  return true;
}

// Pixels of the mask reachable from its first pixel through 8-neighbours.
int connected_from_first(const Mask& mask) {
  Mask seen(mask.size());
  std::vector<std::pair<int, int>> todo;
  for (int y = 0; y < mask.size() && todo.empty(); ++y) {
    for (int x = 0; x < mask.size() && todo.empty(); ++x) {
      if (mask.test(x, y)) {
        todo.emplace_back(x, y);
        seen.set(x, y);
      }
    }
  }
  int reached = 0;
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    ++reached;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (mask.test(x + dx, y + dy) && !seen.test(x + dx, y + dy)) {
          seen.set(x + dx, y + dy);
          todo.emplace_back(x + dx, y + dy);
        }
      }
    }
  }
  return reached;
}

TEST(TilegenRaster, MirroredShapesCoverMirroredPixelsAtEveryTileSize) {
  for (int n : {15, 23, 31, 39, 47}) {
    SCOPED_TRACE(n);
    EXPECT_TRUE(
        mirrors(ellipse_mask(n, {0.3, 0.4}, 0.2, 0.1), ellipse_mask(n, {0.7, 0.4}, 0.2, 0.1)));
    // Edges on pixel centres (0.3 * 15 = 4.5) must be treated alike on both sides.
    EXPECT_TRUE(mirrors(rect_mask(n, 0.3, 0.2, 0.5, 0.6), rect_mask(n, 0.5, 0.2, 0.7, 0.6)));
    const std::vector<Point> left{{0.1, 0.1}, {0.4, 0.5}, {0.1, 0.9}};
    const std::vector<Point> right{{0.9, 0.1}, {0.6, 0.5}, {0.9, 0.9}};
    EXPECT_TRUE(mirrors(polygon_mask(n, left), polygon_mask(n, right)));
  }
}

TEST(TilegenRaster, HairlinesStayUnbrokenAtTheSmallestSize) {
  const Mask line = line_mask(15, {0.05, 0.05}, {0.95, 0.6}, 0.001);
  for (int x = 1; x <= 13; ++x) {
    bool column_hit = false;
    for (int y = 0; y < 15; ++y) {
      column_hit = column_hit || line.test(x, y);
    }
    EXPECT_TRUE(column_hit) << "column " << x;
  }
  EXPECT_EQ(connected_from_first(line), count(line));
}

TEST(TilegenRaster, InnerBorderIsTheOnePixelRingAndTheTileEdgeCountsOnlyWhenAsked) {
  const Mask box = pixel_rect_mask(15, 2, 2, 10, 10);
  const Mask ring = box.inner_border();
  EXPECT_EQ(count(ring), 9 * 4 - 4);
  EXPECT_TRUE(ring.test(2, 5));
  EXPECT_FALSE(ring.test(5, 5));

  const Mask whole = pixel_rect_mask(15, 0, 0, 14, 14);
  EXPECT_TRUE(whole.inner_border(false).empty());
  EXPECT_EQ(count(whole.inner_border(true)), 15 * 4 - 4);
}

TEST(TilegenRaster, OuterBorderSurroundsAPixelOnAllEightSides) {
  const Mask dot = dot_mask(15, {0.5, 0.5}, 0.01);
  ASSERT_EQ(count(dot), 1);
  EXPECT_TRUE(dot.test(7, 7));
  const Mask around = dot.outer_border();
  EXPECT_EQ(count(around), 8);
  EXPECT_FALSE(around.test(7, 7));
}

TEST(TilegenRaster, SetOperationsCombinePixelByPixel) {
  const Mask a = pixel_rect_mask(15, 0, 0, 7, 14);
  const Mask b = pixel_rect_mask(15, 5, 0, 14, 14);
  EXPECT_EQ(count(a | b), 225);
  EXPECT_EQ(count(a & b), 3 * 15);
  EXPECT_EQ(count(a - b), 5 * 15);
}

TEST(TilegenRaster, WorkOutsideTheSquareIsIgnored) {
  Mask mask(15);
  mask.set(-1, 3);
  mask.set(15, 3);
  EXPECT_TRUE(mask.empty());
  EXPECT_FALSE(mask.test(-1, 3));
  EXPECT_EQ(count(pixel_rect_mask(15, 12, 12, 16, 16)), 9);

  Raster big(5, 0);
  big.blit(Raster(3, 7), 3, -1);
  EXPECT_EQ(big.at(3, 0), 7);
  EXPECT_EQ(big.at(4, 1), 7);
  EXPECT_EQ(big.at(3, 2), 0);
  EXPECT_EQ(big.at(2, 0), 0);
}

}  // namespace
}  // namespace tilegen
