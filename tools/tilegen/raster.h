// Square images of palette indices and the pixel masks the tile styles draw them with.
// Shapes are given in tile units, (0,0) the top-left and (1,1) the bottom-right corner
// of the tile, and cover every pixel whose centre lies inside them (boundaries included),
// so a shape and its mirror image cover mirrored pixels and nothing is anti-aliased.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tilegen {

struct Point {
  double x;
  double y;
};

// The set of pixels of a size x size square that a shape covers.
class Mask {
 public:
  explicit Mask(int size);
  int size() const { return size_; }
  // False for points outside the square.
  bool test(int x, int y) const;
  void set(int x, int y, bool on = true);
  bool empty() const;
  Mask operator|(const Mask& other) const;
  Mask operator&(const Mask& other) const;
  // The pixels of this mask that are not in other.
  Mask operator-(const Mask& other) const;
  // Pixels of the mask with a 4-neighbour outside it; the tile edge counts as outside
  // only when edge_is_outside is set.
  Mask inner_border(bool edge_is_outside = false) const;
  // Pixels outside the mask with an 8-neighbour inside it.
  Mask outer_border() const;

 private:
  int size_;
  std::vector<std::uint8_t> bits_;
};

Mask rect_mask(int size, double x0, double y0, double x1, double y1);
// Rectangle with corners rounded by radius r (tile units).
Mask round_rect_mask(int size, double x0, double y0, double x1, double y1, double r);
Mask ellipse_mask(int size, Point centre, double rx, double ry);
// Polygon, filled by the even-odd rule.
Mask polygon_mask(int size, std::span<const Point> corners);
// Thick line: every pixel whose centre lies within half_width of the segment a-b. The
// half width never drops below half a pixel, so thin lines stay unbroken at 15 pixels.
Mask line_mask(int size, Point a, Point b, double half_width);
// A square block of whole pixels, side at least one pixel, centred on the point.
Mask dot_mask(int size, Point centre, double side);
// The pixels from (x0, y0) to (x1, y1), both corners included.
Mask pixel_rect_mask(int size, int x0, int y0, int x1, int y1);

// Square image of palette indices, every pixel set to fill at start.
class Raster {
 public:
  explicit Raster(int size, std::uint8_t fill = 0);
  int size() const { return size_; }
  std::uint8_t at(int x, int y) const;
  void paint(const Mask& mask, std::uint8_t colour);
  // Paints the whole square.
  void fill(std::uint8_t colour);
  // Copies the other image with its top-left corner at (x, y); what falls outside is cut.
  void blit(const Raster& other, int x, int y);
  const std::vector<std::uint8_t>& pixels() const { return pixels_; }

 private:
  int size_;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace tilegen
