#include "raster.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace tilegen {
namespace {

// Boundaries are inclusive with this slack, so that a shape and its mirror image, whose
// coordinates differ in the last bits, still cover mirrored pixels.
constexpr double kSlack = 1e-9;

// Centre of pixel i in tile units.
double centre(int size, int i) {
  return (i + 0.5) / size;
}

Mask sample(int size, const std::function<bool(double, double)>& inside) {
  Mask mask(size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      mask.set(x, y, inside(centre(size, x), centre(size, y)));
    }
  }
  return mask;
}

Mask combine(const Mask& a, const Mask& b, const std::function<bool(bool, bool)>& op) {
  Mask result(a.size());
  for (int y = 0; y < a.size(); ++y) {
    for (int x = 0; x < a.size(); ++x) {
      result.set(x, y, op(a.test(x, y), b.test(x, y)));
    }
  }
  return result;
}

double distance_to_segment(Point p, Point a, Point b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

Mask::Mask(int size) : size_(size), bits_(static_cast<std::size_t>(size) * size, 0) {}

bool Mask::test(int x, int y) const {
  if (x < 0 || y < 0 || x >= size_ || y >= size_) {
    return false;
  }
  return bits_[static_cast<std::size_t>(y) * size_ + x] != 0;
}

void Mask::set(int x, int y, bool on) {
  if (x < 0 || y < 0 || x >= size_ || y >= size_) {
    return;
  }
  bits_[static_cast<std::size_t>(y) * size_ + x] = on ? 1 : 0;
}

bool Mask::empty() const {
  return std::none_of(bits_.begin(), bits_.end(), std::identity{});
}

Mask Mask::operator|(const Mask& other) const {
  return combine(*this, other, [](bool a, bool b) { return a || b; });
}

Mask Mask::operator&(const Mask& other) const {
  return combine(*this, other, [](bool a, bool b) { return a && b; });
}

Mask Mask::operator-(const Mask& other) const {
  return combine(*this, other, [](bool a, bool b) { return a && !b; });
}

Mask Mask::inner_border(bool edge_is_outside) const {
  Mask result(size_);
  const auto outside = [&](int x, int y) {
    const bool off_tile = x < 0 || y < 0 || x >= size_ || y >= size_;
    return off_tile ? edge_is_outside : !test(x, y);
  };
  for (int y = 0; y < size_; ++y) {
    for (int x = 0; x < size_; ++x) {
      const bool edge =
          outside(x - 1, y) || outside(x + 1, y) || outside(x, y - 1) || outside(x, y + 1);
      result.set(x, y, test(x, y) && edge);
    }
  }
  return result;
}

Mask Mask::outer_border() const {
  Mask result(size_);
  for (int y = 0; y < size_; ++y) {
    for (int x = 0; x < size_; ++x) {
      bool near = false;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          near = near || test(x + dx, y + dy);
        }
      }
      result.set(x, y, near && !test(x, y));
    }
  }
  return result;
}

Mask rect_mask(int size, double x0, double y0, double x1, double y1) {
  return sample(size, [=](double x, double y) {
    return x >= x0 - kSlack && x <= x1 + kSlack && y >= y0 - kSlack && y <= y1 + kSlack;
  });
}

Mask round_rect_mask(int size, double x0, double y0, double x1, double y1, double r) {
  return sample(size, [=](double x, double y) {
    const double cx = std::clamp(x, x0 + r, x1 - r);
    const double cy = std::clamp(y, y0 + r, y1 - r);
    return x >= x0 - kSlack && x <= x1 + kSlack && y >= y0 - kSlack && y <= y1 + kSlack &&
           std::hypot(x - cx, y - cy) <= r + kSlack;
  });
}

Mask ellipse_mask(int size, Point centre_point, double rx, double ry) {
  return sample(size, [=](double x, double y) {
    const double u = (x - centre_point.x) / rx;
    const double v = (y - centre_point.y) / ry;
    return u * u + v * v <= 1.0 + kSlack;
  });
}

Mask polygon_mask(int size, std::span<const Point> corners) {
  const std::vector<Point> points(corners.begin(), corners.end());
  return sample(size, [points](double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const Point a = points[i];
      const Point b = points[j];
      if (distance_to_segment({x, y}, a, b) <= kSlack) {
        return true;  // on the outline: inside, whichever side the outline faces
      }
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
        inside = !inside;
      }
    }
    return inside;
  });
}

Mask line_mask(int size, Point a, Point b, double half_width) {
  const double reach = std::max(half_width, 0.5 / size);
  return sample(size, [=](double x, double y) {
    return distance_to_segment({x, y}, a, b) <= reach + kSlack;
  });
}

Mask dot_mask(int size, Point centre_point, double side) {
  const int side_px = std::max(1, static_cast<int>(std::lround(side * size)));
  const int x0 = static_cast<int>(std::floor(centre_point.x * size - side_px / 2.0 + 0.5));
  const int y0 = static_cast<int>(std::floor(centre_point.y * size - side_px / 2.0 + 0.5));
  Mask mask(size);
  for (int y = y0; y < y0 + side_px; ++y) {
    for (int x = x0; x < x0 + side_px; ++x) {
      mask.set(x, y);
    }
  }
  return mask;
}

Mask pixel_rect_mask(int size, int x0, int y0, int x1, int y1) {
  Mask mask(size);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      mask.set(x, y);
    }
  }
  return mask;
}

Raster::Raster(int size, std::uint8_t fill)
    : size_(size), pixels_(static_cast<std::size_t>(size) * size, fill) {}

std::uint8_t Raster::at(int x, int y) const {
  return pixels_[static_cast<std::size_t>(y) * size_ + x];
}

void Raster::paint(const Mask& mask, std::uint8_t colour) {
  for (int y = 0; y < size_; ++y) {
    for (int x = 0; x < size_; ++x) {
      if (mask.test(x, y)) {
        pixels_[static_cast<std::size_t>(y) * size_ + x] = colour;
      }
    }
  }
}

void Raster::fill(std::uint8_t colour) {
  std::fill(pixels_.begin(), pixels_.end(), colour);
}

void Raster::blit(const Raster& other, int x, int y) {
  for (int row = 0; row < other.size(); ++row) {
    for (int col = 0; col < other.size(); ++col) {
      const int tx = x + col;
      const int ty = y + row;
      if (tx >= 0 && ty >= 0 && tx < size_ && ty < size_) {
        pixels_[static_cast<std::size_t>(ty) * size_ + tx] = other.at(col, row);
      }
    }
  }
}

}  // namespace tilegen
