#include "level_compare.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

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

// Keys of placed images. Under its size condition, A matches B under a kind exactly when
// every row of A, read as a zero-terminated text inside A's rectangle, equals the same row
// of B placed by the kind. The key of a grid is therefore taken over those row texts (each
// cut at its first zero byte) and the grid's size: equal keys are necessary for a match,
// and a pair with different keys is never tested.
using ImageKey = std::uint64_t;

constexpr ImageKey kKeyBasis = 0xcbf29ce484222325ULL;  // FNV-1a, 64 bits
constexpr ImageKey kKeyPrime = 0x100000001b3ULL;
constexpr unsigned kRowEnd = 0x100;  // outside the byte range: ends a row text

ImageKey Mix(ImageKey key, unsigned value) {
  return (key ^ value) * kKeyPrime;
}

// The key of B's grid placed by `kind`: a grid of B's size, or of B's size turned for the
// kinds 5 to 8.
ImageKey PlacedKey(const LevelShape& b, MatchKind kind) {
  const bool turned = static_cast<int>(kind) >= static_cast<int>(MatchKind::kRotatedLeft);
  const int width = turned ? b.height() : b.width();
  const int height = turned ? b.width() : b.height();
  const Placement place = PlacementOf(kind, b.width(), b.height());
  const char* const cells = b.row(0);
  ImageKey key = Mix(Mix(kKeyBasis, static_cast<unsigned>(width)), static_cast<unsigned>(height));
  for (int i = 0; i < height; ++i) {
    std::ptrdiff_t source = place.origin + i * place.step_i;
    for (int j = 0; j < width && cells[source] != '\0'; ++j, source += place.step_j) {
      key = Mix(key, static_cast<unsigned char>(cells[source]));
    }
    key = Mix(key, kRowEnd);
  }
  return key;
}

// A grid's own key: the key it has as the first level of a pair.
ImageKey OwnKey(const LevelShape& a) {
  return PlacedKey(a, MatchKind::kExactly);
}

struct KeyedLevel {
  ImageKey key;
  std::uint32_t index;

  bool operator<(const KeyedLevel& other) const {
    return key != other.key ? key < other.key : index < other.index;
  }
};

// Every placed image of every comparable level, by key: the candidates for the grids of
// one type (Full or Reduced).
class ImageIndex {
 public:
  ImageIndex(std::span<const LevelEntry> levels, bool exact) {
    entries_.reserve(levels.size() * kMatchKindCount);
    for (std::size_t index = 0; index < levels.size(); ++index) {
      const LevelEntry& level = levels[index];
      if (!Comparable(level.full)) {
        continue;
      }
      const LevelShape& shape = exact ? level.full : level.reduced;
      for (int kind = 0; kind < kMatchKindCount; ++kind) {
        entries_.push_back(
            {PlacedKey(shape, static_cast<MatchKind>(kind)), static_cast<std::uint32_t>(index)});
      }
    }
    std::sort(entries_.begin(), entries_.end());
  }

  // Appends the levels that have a placed image with A's own key.
  void AddCandidates(const LevelShape& a, std::vector<std::uint32_t>& candidates) const {
    const ImageKey key = OwnKey(a);
    auto it = std::lower_bound(entries_.begin(), entries_.end(), KeyedLevel{key, 0});
    for (; it != entries_.end() && it->key == key; ++it) {
      candidates.push_back(it->index);
    }
  }

 private:
  std::vector<KeyedLevel> entries_;
};

// The levels that can match A exactly or as similar, in list order, A itself left out.
void Candidates(std::size_t first, std::span<const LevelEntry> levels, const ImageIndex& full,
                const ImageIndex& reduced, std::vector<std::uint32_t>& candidates) {
  candidates.clear();
  const LevelEntry& a = levels[first];
  if (!a.full.overlong()) {
    full.AddCandidates(a.full, candidates);
  }
  if (!a.reduced.overlong()) {
    reduced.AddCandidates(a.reduced, candidates);
  }
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  std::erase(candidates, static_cast<std::uint32_t>(first));
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
  const ImageIndex full(levels, true);
  const ImageIndex reduced(levels, false);
  std::vector<std::uint32_t> candidates;
  for (std::size_t first = 0; first < levels.size(); ++first) {
    const LevelEntry& a = levels[first];
    observer.FirstLevel(a);
    if (!Comparable(a.full)) {
      continue;
    }
    Candidates(first, levels, full, reduced, candidates);
    for (std::uint32_t second : candidates) {
      const LevelEntry& b = levels[second];
      if (!TestPair(a, b, true, observer)) {
        TestPair(a, b, false, observer);
      }
    }
  }
}
