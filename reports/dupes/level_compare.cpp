#include "level_compare.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <unordered_map>

namespace {

constexpr int kMinSide = 3;  // a level must be wider and higher than this to be compared
constexpr std::array<MatchKind, 4> kSameSizeKinds = {
    MatchKind::kExactly, MatchKind::kMirroredHorizontally, MatchKind::kMirroredVertically,
    MatchKind::kRotated180};
constexpr std::array<MatchKind, 4> kTurnedKinds = {
    MatchKind::kRotatedLeft, MatchKind::kRotatedRight, MatchKind::kRotatedRightMirroredHorizontally,
    MatchKind::kRotatedRightMirroredVertically};

int ClassOf(char cell) {
  switch (cell) {
    case kWall:
      return 0;
    case kFloor:
      return 1;
    case kGoal:
      return 2;
    case kCrate:
      return 3;
    case kCrateOnGoal:
      return 4;
    case kPlayer:
      return 5;
    case kPlayerOnGoal:
      return 6;
    default:
      return 7;
  }
}

// Where B's cell for position (i, j) of the placed grid lies in B's rectangle:
// origin + i * step_i + j * step_j.
struct Placement {
  std::ptrdiff_t origin;
  std::ptrdiff_t step_i;
  std::ptrdiff_t step_j;
};

Placement PlacementOf(MatchKind kind, int width, int height) {
  const std::ptrdiff_t w = width;
  const std::ptrdiff_t last_row = (height - 1) * w;
  const std::ptrdiff_t last_col = width - 1;
  switch (kind) {
    case MatchKind::kExactly:
      return {0, w, 1};
    case MatchKind::kMirroredHorizontally:
      return {last_row, -w, 1};
    case MatchKind::kMirroredVertically:
      return {last_col, w, -1};
    case MatchKind::kRotated180:
      return {last_row + last_col, -w, -1};
    case MatchKind::kRotatedLeft:
      return {last_col, -1, w};
    case MatchKind::kRotatedRight:
      return {last_row, 1, -w};
    case MatchKind::kRotatedRightMirroredHorizontally:
      return {last_row + last_col, -1, -w};
    case MatchKind::kRotatedRightMirroredVertically:
      return {0, 1, w};
  }
  return {0, w, 1};
}

bool CountsFit(const LevelShape& a, const LevelShape& b) {
  for (std::size_t index = 0; index < a.counts().size(); ++index) {
    if (a.counts()[index] > b.counts()[index]) {
      return false;
    }
  }
  return true;
}

bool Comparable(const LevelShape& shape) {
  return shape.width() > kMinSide && shape.height() > kMinSide;
}

// Runs the tests of one group of kinds; returns true when any held.
template <std::size_t N>
bool TestKinds(const LevelEntry& a, const LevelEntry& b, const std::array<MatchKind, N>& kinds,
               bool exact, PairObserver& observer) {
  const LevelShape& first = exact ? a.full : a.reduced;
  const LevelShape& second = exact ? b.full : b.reduced;
  bool found = false;
  for (MatchKind kind : kinds) {
    if (KindHolds(first, second, kind)) {
      observer.Match(a, b, kind, exact);
      found = true;
    }
  }
  return found;
}

// All tests of one grid type for a pair; the count check skips tests that cannot hold.
bool TestPair(const LevelEntry& a, const LevelEntry& b, bool exact, PairObserver& observer) {
  const LevelShape& first = exact ? a.full : a.reduced;
  const LevelShape& second = exact ? b.full : b.reduced;
  if (first.overlong() || !CountsFit(first, second)) {
    return false;
  }
  bool found = false;
  if (SameSizeCondition(a.full, b.full)) {
    found |= TestKinds(a, b, kSameSizeKinds, exact, observer);
  }
  if (TurnedSizeCondition(a.full, b.full)) {
    found |= TestKinds(a, b, kTurnedKinds, exact, observer);
  }
  return found;
}

std::uint32_t SizeKey(int width, int height) {
  return static_cast<std::uint32_t>(width) << 16 | static_cast<std::uint32_t>(height);
}

// The levels (by list index, ascending) that can meet a size condition with A.
std::vector<std::size_t> Candidates(
    const LevelShape& a,
    const std::unordered_map<std::uint32_t, std::vector<std::size_t>>& by_size) {
  std::vector<std::size_t> merged;
  static const std::vector<std::size_t> kNone;
  auto find = [&by_size](int width, int height) -> const std::vector<std::size_t>& {
    auto it = by_size.find(SizeKey(width, height));
    return it == by_size.end() ? kNone : it->second;
  };
  const std::vector<std::size_t>& same = find(a.width(), a.height());
  if (a.width() == a.height()) {
    return same;
  }
  const std::vector<std::size_t>& turned = find(a.height(), a.width());
  merged.resize(same.size() + turned.size());
  std::merge(same.begin(), same.end(), turned.begin(), turned.end(), merged.begin());
  return merged;
}

}  // namespace

LevelShape::LevelShape(const Grid& grid, int rows, int width, int height)
    : width_(width), height_(height), cells_(static_cast<std::size_t>(width) * height, '\0') {
  for (int r = 0; r < height && r < rows && r < kGridRows; ++r) {
    const std::size_t length = strnlen(grid[r].data(), grid[r].size());
    overlong_ = overlong_ || length > static_cast<std::size_t>(width);
    std::memcpy(cells_.data() + static_cast<std::size_t>(r) * width, grid[r].data(),
                std::min(length, static_cast<std::size_t>(width)));
  }
  for (char cell : cells_) {
    if (cell != '\0') {
      ++counts_[ClassOf(cell)];
    }
  }
}

bool SameSizeCondition(const LevelShape& a, const LevelShape& b) {
  return a.width() == b.width() && a.height() == b.height() && Comparable(a);
}

bool TurnedSizeCondition(const LevelShape& a, const LevelShape& b) {
  return a.width() == b.height() && a.height() == b.width() && Comparable(a);
}

bool KindHolds(const LevelShape& a, const LevelShape& b, MatchKind kind) {
  if (a.overlong()) {
    return false;
  }
  // Under the size condition the placed grid fills exactly A's rectangle and is zero
  // beyond it, so each row is compared inside the rectangle and, when both texts reach
  // its end, ends equal there.
  const Placement place = PlacementOf(kind, b.width(), b.height());
  const char* const cells = b.row(0);
  for (int i = 0; i < a.height(); ++i) {
    const char* row = a.row(i);
    std::ptrdiff_t source = place.origin + i * place.step_i;
    for (int j = 0; j < a.width(); ++j, source += place.step_j) {
      if (row[j] != cells[source]) {
        return false;
      }
      if (row[j] == '\0') {
        break;
      }
    }
  }
  return true;
}

void CompareAllPairs(std::span<const LevelEntry> levels, PairObserver& observer) {
  std::unordered_map<std::uint32_t, std::vector<std::size_t>> by_size;
  for (std::size_t index = 0; index < levels.size(); ++index) {
    const LevelShape& shape = levels[index].full;
    by_size[SizeKey(shape.width(), shape.height())].push_back(index);
  }
  for (std::size_t first = 0; first < levels.size(); ++first) {
    const LevelEntry& a = levels[first];
    observer.FirstLevel(a);
    if (!Comparable(a.full)) {
      continue;
    }
    for (std::size_t second : Candidates(a.full, by_size)) {
      if (second == first) {
        continue;
      }
      const LevelEntry& b = levels[second];
      if (!TestPair(a, b, true, observer)) {
        TestPair(a, b, false, observer);
      }
    }
  }
}
