#include "collections.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kLevelsPerSet = 100;
constexpr int kPlantEvery = 25;  // every 25th level copies an earlier one
constexpr int kPlantKinds = 9;   // the eight Match kinds, then a similar copy
constexpr int kScoreEvery = 10;  // every 10th level has a score file
constexpr int kMinSide = 6;
constexpr int kMaxWidth = 20;
constexpr int kMaxHeight = 16;
constexpr int kSameSide = 10;
constexpr unsigned kSeed = 7;
constexpr char kScoreFile[] = "\n# comment:\n\n[4.1.P]\nuRld\n\n";

using Rows = std::vector<std::string>;

Rows RandomLevel(std::mt19937& random, int width, int height) {
  std::uniform_int_distribution<int> percent(0, 99);
  Rows rows(height, std::string(width, '#'));
  for (int r = 1; r < height - 1; ++r) {
    for (int c = 1; c < width - 1; ++c) {
      const int roll = percent(random);
      rows[r][c] = roll < 20 ? '#' : roll < 24 ? '.' : roll < 28 ? '$' : ' ';
    }
  }
  rows[1 + percent(random) % (height - 2)][1 + percent(random) % (width - 2)] = '@';
  return rows;
}

Rows RandomLevel(std::mt19937& random, CollectionKind kind) {
  if (kind == CollectionKind::kSameSize) {
    return RandomLevel(random, kSameSide, kSameSide);
  }
  std::uniform_int_distribution<int> width_of(kMinSide, kMaxWidth);
  std::uniform_int_distribution<int> height_of(kMinSide, kMaxHeight);
  const int width = width_of(random);
  const int height = height_of(random);
  return RandomLevel(random, width, height);
}

// The level B that A matches under Match kind `kind` (0-7): B's cell (r, c) is A's cell at
// the kind's place.
Rows TurnedBack(const Rows& a, int kind) {
  const int wa = static_cast<int>(a[0].size());
  const int ha = static_cast<int>(a.size());
  const bool turned = kind >= 4;
  const int wb = turned ? ha : wa;
  const int hb = turned ? wa : ha;
  Rows b(hb, std::string(wb, '#'));
  for (int r = 0; r < hb; ++r) {
    for (int c = 0; c < wb; ++c) {
      int i = r;
      int j = c;
      switch (kind) {
        case 1:
          i = hb - 1 - r;
          break;
        case 2:
          j = wb - 1 - c;
          break;
        case 3:
          i = hb - 1 - r;
          j = wb - 1 - c;
          break;
        case 4:
          i = wb - 1 - c;
          j = r;
          break;
        case 5:
          i = c;
          j = hb - 1 - r;
          break;
        case 6:
          i = wb - 1 - c;
          j = hb - 1 - r;
          break;
        case 7:
          i = c;
          j = r;
          break;
        default:
          break;
      }
      b[r][c] = a[i][j];
    }
  }
  return b;
}

// The same goals, crates and player with one more wall: found as similar, not exact.
Rows SimilarCopy(Rows a) {
  for (std::size_t r = 1; r + 1 < a.size(); ++r) {
    for (std::size_t c = 1; c + 1 < a[r].size(); ++c) {
      if (a[r][c] == ' ') {
        a[r][c] = '#';
        return a;
      }
    }
  }
  return a;
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string SetName(int index) {
  return std::string("B").append(std::to_string(10000 + index / kLevelsPerSet).substr(1));
}

}  // namespace

std::optional<CollectionKind> CollectionKindOf(std::string_view name) {
  if (name == "mixed") {
    return CollectionKind::kMixed;
  }
  if (name == "same") {
    return CollectionKind::kSameSize;
  }
  return std::nullopt;
}

const char* CollectionKindName(CollectionKind kind) {
  return kind == CollectionKind::kSameSize ? "same" : "mixed";
}

void BuildCollection(const fs::path& dir, CollectionKind kind, int count) {
  fs::remove_all(dir);
  fs::create_directories(dir / "Ini");
  fs::create_directories(dir / "htm");
  std::mt19937 random(kSeed);
  std::vector<Rows> levels;
  std::string mazes = "[Mazes]\n";
  for (int index = 0; index < count; ++index) {
    Rows level;
    if (index > 0 && index % kPlantEvery == 0) {
      const Rows& original = levels[random() % levels.size()];
      const int plant = index / kPlantEvery % kPlantKinds;
      level = plant == kPlantKinds - 1 ? SimilarCopy(original) : TurnedBack(original, plant);
    } else {
      level = RandomLevel(random, kind);
    }
    levels.push_back(level);
    const std::string set = SetName(index);
    if (index % kLevelsPerSet == 0) {
      fs::create_directories(dir / "Mazes" / set);
      mazes += set + " = " + std::to_string(std::min(kLevelsPerSet, count - index)) + "\n";
    }
    std::string text;
    for (const std::string& row : level) {
      text += row + "\n";
    }
    const fs::path file =
        dir / "Mazes" / set / (set + "." + std::to_string(index % kLevelsPerSet + 1));
    Write(file, text);
    if (index % kScoreEvery == 0) {
      Write(file.string() + ".rv7", kScoreFile);
    }
  }
  Write(dir / "Ini" / "Mazes.Ini", mazes);
}
