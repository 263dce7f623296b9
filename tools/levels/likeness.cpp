#include "likeness.h"

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

bool same_room(const Level& a, const Level& b, int tolerance_percent) {
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
