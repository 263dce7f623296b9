#include "likeness.h"

#include <algorithm>

namespace levels {
namespace {

constexpr int kSymmetries = 8;

// Square of b that lands on column x, row y of the result under symmetry `kind`; the
// result is b.width x b.height for kinds 0-3 and b.height x b.width for kinds 4-7.
int source_cell(const Level& b, int kind, int x, int y) {
  const int w = b.width;
  const int h = b.height;
  int bx = x;
  int by = y;
  switch (kind) {
    case 1:
      bx = w - 1 - x;
      break;
    case 2:
      by = h - 1 - y;
      break;
    case 3:
      bx = w - 1 - x;
      by = h - 1 - y;
      break;
    case 4:
      bx = y;
      by = x;
      break;
    case 5:
      bx = y;
      by = h - 1 - x;
      break;
    case 6:
      bx = w - 1 - y;
      by = x;
      break;
    case 7:
      bx = w - 1 - y;
      by = h - 1 - x;
      break;
    default:
      break;
  }
  return by * w + bx;
}

}  // namespace

Level cut_to_floor(const Level& level) {
  int left = level.width;
  int right = -1;
  int top = level.height;
  int bottom = -1;
  for (int cell = 0; cell < level.width * level.height; ++cell) {
    if (level.walkable(cell)) {
      left = std::min(left, cell % level.width);
      right = std::max(right, cell % level.width);
      top = std::min(top, cell / level.width);
      bottom = std::max(bottom, cell / level.width);
    }
  }
  if (right < 0) {
    return level;
  }
  Level cut;
  cut.width = right - left + 3;
  cut.height = bottom - top + 3;
  cut.squares.assign(static_cast<std::size_t>(cut.width * cut.height), Square::kWall);
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      cut.squares[static_cast<std::size_t>((y - top + 1) * cut.width + x - left + 1)] =
          level.at(y * level.width + x);
    }
  }
  return cut;
}

bool same_room(const Level& first, const Level& second, int tolerance_percent) {
  const Level a = cut_to_floor(first);
  const Level b = cut_to_floor(second);
  const int cells = a.width * a.height;
  for (int kind = 0; kind < kSymmetries; ++kind) {
    const bool turned = kind >= 4;
    const int width = turned ? b.height : b.width;
    const int height = turned ? b.width : b.height;
    if (width != a.width || height != a.height) {
      continue;
    }
    int differences = 0;
    for (int cell = 0; cell < cells; ++cell) {
      const int from = source_cell(b, kind, cell % width, cell / width);
      differences += a.walkable(cell) != b.walkable(from) ? 1 : 0;
    }
    if (differences * 100 <= tolerance_percent * cells) {
      return true;
    }
  }
  return false;
}

}  // namespace levels
