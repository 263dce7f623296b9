#include <algorithm>

#include "style.h"

namespace tilegen {
namespace {

constexpr double kMiddle = 0.5;

bool is_vertical(Facing facing) {
  return facing == Facing::kUp || facing == Facing::kDown;
}

}  // namespace

Point Orient::at(double side, double ahead) const {
  switch (facing_) {
    case Facing::kDown:
      return {kMiddle - side, kMiddle + ahead};
    case Facing::kUp:
      return {kMiddle + side, kMiddle - ahead};
    case Facing::kLeft:
      return {kMiddle - ahead, kMiddle - side};
    case Facing::kRight:
      break;
  }
  return {kMiddle + ahead, kMiddle + side};
}

Mask Orient::ellipse(double side, double ahead, double side_radius, double ahead_radius) const {
  const bool vertical = is_vertical(facing_);
  return ellipse_mask(size_, at(side, ahead), vertical ? side_radius : ahead_radius,
                      vertical ? ahead_radius : side_radius);
}

Mask Orient::rect(double side0, double ahead0, double side1, double ahead1) const {
  const Point a = at(side0, ahead0);
  const Point b = at(side1, ahead1);
  return rect_mask(size_, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                   std::max(a.y, b.y));
}

}  // namespace tilegen
