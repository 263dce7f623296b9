#include "level_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

Grid MakeGrid(const std::vector<std::string>& rows) {
  Grid grid{};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    std::memcpy(grid[r].data(), rows[r].data(), rows[r].size());
  }
  return grid;
}

// A shape of the rows' own size.
LevelShape Shape(const std::vector<std::string>& rows) {
  const int width = rows.empty() ? 0 : static_cast<int>(rows.front().size());
  return LevelShape(MakeGrid(rows), static_cast<int>(rows.size()), width,
                    static_cast<int>(rows.size()));
}

// An entry whose Full and Reduced grids are given; both take the Full grid's size.
LevelEntry Entry(const std::string& path, const std::vector<std::string>& full,
                 const std::vector<std::string>& reduced) {
  const int width = static_cast<int>(full.front().size());
  const int height = static_cast<int>(full.size());
  return {path, LevelShape(MakeGrid(full), height, width, height),
          LevelShape(MakeGrid(reduced), static_cast<int>(reduced.size()), width, height)};
}

LevelEntry Entry(const std::string& path, const std::vector<std::string>& full) {
  return Entry(path, full, full);
}

const char* KindName(MatchKind kind) {
  static const char* const kNames[] = {"exactly", "mh", "mv", "r180", "rl", "rr", "rrmh", "rrmv"};
  return kNames[static_cast<int>(kind)];
}

// Collects the matches as "A B kind" (similar ones as "A B similar kind").
class Recorder : public PairObserver {
 public:
  void FirstLevel(const LevelEntry& a) override { firsts.push_back(a.path); }
  void Match(const LevelEntry& a, const LevelEntry& b, MatchKind kind, bool exact) override {
    rows.push_back(a.path + " " + b.path + (exact ? " " : " similar ") + KindName(kind));
  }
  std::vector<std::string> firsts;
  std::vector<std::string> rows;
};

std::vector<std::string> Compare(const std::vector<LevelEntry>& levels) {
  Recorder recorder;
  CompareAllPairs(levels, recorder);
  return recorder.rows;
}

// The kinds under which `a` matches `b`.
std::vector<std::string> KindsHolding(const LevelShape& a, const LevelShape& b) {
  std::vector<std::string> kinds;
  for (int index = 0; index < kMatchKindCount; ++index) {
    const auto kind = static_cast<MatchKind>(index);
    const bool applies = index < 4 ? SameSizeCondition(a, b) : TurnedSizeCondition(a, b);
    if (applies && KindHolds(a, b, kind)) {
      kinds.push_back(KindName(kind));
    }
  }
  return kinds;
}

using Rows = std::vector<std::string>;
const Rows kLetters = {"abcde", "fghij", "klmno", "pqrst"};

TEST(LevelCompare, EachKindPlacesTheSecondLevelAsItsNameSays) {
  const LevelShape a = Shape(kLetters);
  EXPECT_EQ(KindsHolding(a, Shape(kLetters)), Rows{"exactly"});
  EXPECT_EQ(KindsHolding(a, Shape({"pqrst", "klmno", "fghij", "abcde"})), Rows{"mh"});
  EXPECT_EQ(KindsHolding(a, Shape({"edcba", "jihgf", "onmlk", "tsrqp"})), Rows{"mv"});
  EXPECT_EQ(KindsHolding(a, Shape({"tsrqp", "onmlk", "jihgf", "edcba"})), Rows{"r180"});
  // B turned left equals A: B is A turned a quarter clockwise.
  EXPECT_EQ(KindsHolding(a, Shape({"pkfa", "qlgb", "rmhc", "snid", "toje"})), Rows{"rl"});
  EXPECT_EQ(KindsHolding(a, Shape({"ejot", "dins", "chmr", "bglq", "afkp"})), Rows{"rr"});
  EXPECT_EQ(KindsHolding(a, Shape({"toje", "snid", "rmhc", "qlgb", "pkfa"})), Rows{"rrmh"});
  EXPECT_EQ(KindsHolding(a, Shape({"afkp", "bglq", "chmr", "dins", "ejot"})), Rows{"rrmv"});
}

TEST(LevelCompare, QuarterTurnedCopyIsReportedFromBothSides) {
  const std::vector<LevelEntry> levels = {Entry("L", kLetters),
                                          Entry("C", {"pkfa", "qlgb", "rmhc", "snid", "toje"})};
  EXPECT_EQ(Compare(levels), (Rows{"L C rl", "C L rr"}));
}

TEST(LevelCompare, LevelSymmetricAboutItsMiddleLineMatchesItsCopyTwiceInKindOrder) {
  const Rows symmetric = {"#####", "#@$.#", "#   #", "#@$.#", "#####"};
  const std::vector<LevelEntry> levels = {Entry("A", symmetric), Entry("B", symmetric)};
  EXPECT_EQ(Compare(levels), (Rows{"A B exactly", "A B mh", "B A exactly", "B A mh"}));
}

TEST(LevelCompare, SquareLevelIsTestedUnderAllEightKinds) {
  const Rows plain = {"####", "####", "####", "####"};
  const std::vector<LevelEntry> levels = {Entry("A", plain), Entry("B", plain)};
  const Rows rows = Compare(levels);
  ASSERT_EQ(rows.size(), 16u);
  EXPECT_EQ(rows[0], "A B exactly");
  EXPECT_EQ(rows[7], "A B rrmv");
  EXPECT_EQ(rows[8], "B A exactly");
}

TEST(LevelCompare, LevelsOfThreeColumnsOrThreeRowsAreNeverReported) {
  const Rows narrow = {"###", "#@#", "#$#", "#.#", "###"};
  const Rows flat = {"#####", "#@$.#", "#####"};
  EXPECT_TRUE(Compare({Entry("A", narrow), Entry("B", narrow)}).empty());
  EXPECT_TRUE(Compare({Entry("A", flat), Entry("B", flat)}).empty());
}

TEST(LevelCompare, EmptyLevelNeverMatches) {
  const LevelEntry missing{"M", LevelShape(), LevelShape()};
  EXPECT_TRUE(Compare({missing, missing}).empty());
}

TEST(LevelCompare, ExactCopiesAreNeverReportedAsSimilar) {
  const Rows level = {"######", "#@$ .#", "#    #", "######"};
  const Rows reduced = {"######", "#@$#.#", "######"};
  EXPECT_EQ(Compare({Entry("A", level, reduced), Entry("B", level, reduced)}),
            (Rows{"A B exactly", "B A exactly"}));
}

TEST(LevelCompare, SameObjectsInOtherWallsAreSimilarOnlyAtTheSameLoadedSize) {
  const Rows reduced = {"#######", "#@$##.#", "#######"};
  const LevelEntry a = Entry("A", {"#######", "#@$  .#", "#     #", "#######"}, reduced);
  const LevelEntry b = Entry("B", {"#######", "#@$  .#", "# ### #", "#######"}, reduced);
  EXPECT_EQ(Compare({a, b}), (Rows{"A B similar exactly", "B A similar exactly"}));
  const LevelEntry taller =
      Entry("C", {"#######", "#@$  .#", "#     #", "#     #", "#######"}, reduced);
  EXPECT_TRUE(Compare({a, taller}).empty());
}

TEST(LevelCompare, SimilarMirroringIsMissedWhereTheReductionRemovedRows) {
  // The objects of B are those of A upside down, but both reductions lost a row: the
  // upside-down placement moves B's empty rows in front, so nothing is found.
  const LevelEntry a = Entry("A", {"######", "#@$  #", "#.   #", "#    #", "######"},
                             {"####", "#@$#", "#.##", "####"});
  const LevelEntry b = Entry("B", {"######", "# #  #", "#.   #", "#@$  #", "######"},
                             {"####", "#.##", "#@$#", "####"});
  EXPECT_TRUE(Compare({a, b}).empty());
  // The same turn between reductions that kept every row is found.
  const LevelEntry c =
      Entry("C", {"#####", "#@$.#", "#   #", "#####"}, {"#####", "#@$.#", "#####", "#####"});
  const LevelEntry d =
      Entry("D", {"#####", "# # #", "#@$.#", "#####"}, {"#####", "#####", "#@$.#", "#####"});
  EXPECT_EQ(Compare({c, d}), (Rows{"C D similar mh", "D C similar mh"}));
}

TEST(LevelCompare, EveryFirstLevelIsAnnouncedInListOrder) {
  Recorder recorder;
  const Rows narrow = {"###", "#@#", "###"};
  CompareAllPairs(std::vector<LevelEntry>{Entry("X", narrow), Entry("Y", kLetters)}, recorder);
  EXPECT_EQ(recorder.firsts, (Rows{"X", "Y"}));
}

// ---- The literal rule, for comparison with the shortcuts of the implementation --------

struct Cell {
  int row;
  int col;
};

// Where B's cell (r, c) goes under each kind, with B's width W and height H.
Cell Destination(int kind, int r, int c, int w, int h) {
  switch (kind) {
    case 0:
      return {r, c};
    case 1:
      return {h - 1 - r, c};
    case 2:
      return {r, w - 1 - c};
    case 3:
      return {h - 1 - r, w - 1 - c};
    case 4:
      return {w - 1 - c, r};
    case 5:
      return {c, h - 1 - r};
    case 6:
      return {w - 1 - c, h - 1 - r};
    default:
      return {c, r};
  }
}

struct RawLevel {
  Grid grid{};
  int width = 0;
  int height = 0;
};

bool LiteralHolds(const RawLevel& a, const RawLevel& b, int kind) {
  Grid transform{};
  for (int r = 0; r < b.height; ++r) {
    for (int c = 0; c < b.width; ++c) {
      const Cell to = Destination(kind, r, c, b.width, b.height);
      transform[to.row][to.col] = b.grid[r][c];
    }
  }
  for (int r = 0; r < a.height; ++r) {
    if (std::strcmp(a.grid[r].data(), transform[r].data()) != 0) {
      return false;
    }
  }
  return true;
}

bool LiteralCondition(const RawLevel& a, const RawLevel& b, int kind) {
  const bool big = a.width > 3 && a.height > 3;
  return kind < 4 ? big && a.width == b.width && a.height == b.height
                  : big && a.width == b.height && a.height == b.width;
}

// Random grids from few characters, so that matches under every kind occur; some rows end
// early (as reduced rows do) and a few run past the width. `width` and `height` of 0 pick a
// side of 3 to 5 at random.
RawLevel RandomLevel(std::mt19937& random, int width = 0, int height = 0) {
  std::uniform_int_distribution<int> side(3, 5);
  std::uniform_int_distribution<int> pick(0, 99);
  RawLevel level;
  level.width = width > 0 ? width : side(random);
  level.height = height > 0 ? height : side(random);
  const bool symmetric = pick(random) < 40;
  for (int r = 0; r < level.height; ++r) {
    int length = level.width;
    if (pick(random) < 10) {
      length = pick(random) % level.width;
    } else if (pick(random) < 3) {
      length = level.width + 1;
    }
    for (int c = 0; c < length; ++c) {
      level.grid[r][c] = symmetric ? '#' : "#."[pick(random) % 2];
    }
  }
  return level;
}

// `level` placed by `kind` (0-7) as the literal rule places a second level. A level's grid
// holds each row up to its first zero byte and zero bytes after it, so every placed row is
// cut there.
RawLevel Placed(const RawLevel& level, int kind) {
  RawLevel placed;
  placed.width = kind < 4 ? level.width : level.height;
  placed.height = kind < 4 ? level.height : level.width;
  for (int r = 0; r < level.height; ++r) {
    for (int c = 0; c < level.width; ++c) {
      const Cell to = Destination(kind, r, c, level.width, level.height);
      placed.grid[to.row][to.col] = level.grid[r][c];
    }
  }
  for (GridRow& row : placed.grid) {
    std::fill(std::find(row.begin(), row.end(), '\0'), row.end(), '\0');
  }
  return placed;
}

// Full and Reduced grids of a test level, by the literal rule's reading.
struct RawPair {
  RawLevel full;
  RawLevel reduced;
};

LevelEntry EntryOf(const std::string& path, const RawPair& raw) {
  return {path, LevelShape(raw.full.grid, kGridRows, raw.full.width, raw.full.height),
          LevelShape(raw.reduced.grid, kGridRows, raw.full.width, raw.full.height)};
}

// Every match of every ordered pair by the literal rule, in report order.
Rows LiteralMatches(const std::vector<RawPair>& raws, const std::vector<LevelEntry>& levels) {
  Rows expected;
  for (std::size_t a = 0; a < levels.size(); ++a) {
    for (std::size_t b = 0; b < levels.size(); ++b) {
      if (a == b) {
        continue;
      }
      for (int grid = 0; grid < 2; ++grid) {
        bool found = false;
        for (int kind = 0; kind < kMatchKindCount; ++kind) {
          const RawLevel& first = grid == 0 ? raws[a].full : raws[a].reduced;
          const RawLevel& second = grid == 0 ? raws[b].full : raws[b].reduced;
          if (LiteralCondition(raws[a].full, raws[b].full, kind) &&
              LiteralHolds(first, second, kind)) {
            expected.push_back(levels[a].path + " " + levels[b].path +
                               (grid == 0 ? " " : " similar ") +
                               KindName(static_cast<MatchKind>(kind)));
            found = true;
          }
        }
        if (found) {
          break;
        }
      }
    }
  }
  return expected;
}

Rows CompareRaw(const std::vector<RawPair>& raws) {
  std::vector<LevelEntry> levels;
  for (std::size_t index = 0; index < raws.size(); ++index) {
    levels.push_back(EntryOf(std::to_string(index), raws[index]));
  }
  return Compare(levels);
}

Rows LiteralRaw(const std::vector<RawPair>& raws) {
  std::vector<LevelEntry> levels;
  for (std::size_t index = 0; index < raws.size(); ++index) {
    levels.push_back(EntryOf(std::to_string(index), raws[index]));
  }
  return LiteralMatches(raws, levels);
}

TEST(LevelCompare, ShortcutsGiveTheResultsOfTheLiteralRule) {
  std::mt19937 random(20260607);
  std::vector<RawPair> raws;
  for (int index = 0; index < 160; ++index) {
    RawPair raw{RandomLevel(random), RandomLevel(random)};
    raw.reduced.width = raw.full.width;
    raw.reduced.height = raw.full.height;
    raws.push_back(raw);
  }
  const Rows expected = LiteralRaw(raws);
  ASSERT_GT(expected.size(), 50u);
  EXPECT_EQ(CompareRaw(raws), expected);
}

// Collections whose levels all have one size (square, so that every kind applies, and
// oblong, where only kinds 1 to 4 do): random levels and copies of earlier ones placed under
// a random kind, with Reduced grids that are themselves cut short or placed copies.
TEST(LevelCompare, ShortcutsGiveTheResultsOfTheLiteralRuleWhenEveryLevelHasOneSize) {
  struct Size {
    int width;
    int height;
  };
  for (const Size size : {Size{5, 5}, Size{6, 4}, Size{4, 4}}) {
    std::mt19937 random(static_cast<unsigned>(size.width * 100 + size.height));
    std::uniform_int_distribution<int> pick(0, 99);
    std::vector<RawPair> raws;
    for (int index = 0; index < 200; ++index) {
      RawPair raw;
      const bool square = size.width == size.height;
      if (index > 0 && pick(random) < 30) {
        const RawPair& original = raws[pick(random) % raws.size()];
        const int kind = square ? pick(random) % kMatchKindCount : pick(random) % 4;
        raw = {Placed(original.full, kind), Placed(original.reduced, kind)};
        if (pick(random) < 30) {
          raw.full = RandomLevel(random, size.width, size.height);  // similar only
        }
      } else {
        raw = {RandomLevel(random, size.width, size.height),
               RandomLevel(random, size.width, pick(random) % size.height + 1)};
      }
      raw.reduced.width = size.width;
      raw.reduced.height = size.height;
      raws.push_back(raw);
    }
    const Rows expected = LiteralRaw(raws);
    ASSERT_GT(expected.size(), 100u) << size.width << "x" << size.height;
    EXPECT_EQ(CompareRaw(raws), expected) << size.width << "x" << size.height;
  }
}

}  // namespace
