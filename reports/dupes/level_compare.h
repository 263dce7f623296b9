// Comparison of levels for the duplicate finder: every ordered pair of levels, exactly
// under the eight symmetries of a rectangular grid, and, for a pair where none holds, the
// same eight tests on the reduced forms (similar levels).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "rv7maze.h"

// The eight Match kinds in test order. A matches B under a kind when B, placed as the kind
// says, equals A (W and H are B's width and height; B's cell (r, c) goes to):
enum class MatchKind {
  kExactly,                           // (r, c)
  kMirroredHorizontally,              // (H-1-r, c): upside down
  kMirroredVertically,                // (r, W-1-c): each row reversed
  kRotated180,                        // (H-1-r, W-1-c)
  kRotatedLeft,                       // (W-1-c, r): a quarter turn counter-clockwise
  kRotatedRight,                      // (c, H-1-r): a quarter turn clockwise
  kRotatedRightMirroredHorizontally,  // (W-1-c, H-1-r)
  kRotatedRightMirroredVertically,    // (c, r)
};
inline constexpr int kMatchKindCount = 8;

// One grid of a level as the comparison sees it. The cells of the rectangle of the stored
// (loaded) width and height are kept; each row holds its text up to its first zero byte and
// zero bytes after it, as a 45 x 45 grid copied row by row would. `overlong` notes a row
// whose text runs past the stored width: such a grid, as first level of a pair, can never
// equal a placed grid, which is zero there.
class LevelShape {
 public:
  LevelShape() = default;
  // Copies rows 0..min(rows, height)-1 of `grid`, each up to its first zero byte (at most
  // 45 bytes), into the width x height rectangle. Rows at and after `rows` are empty.
  LevelShape(const Grid& grid, int rows, int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  bool overlong() const { return overlong_; }
  // The byte at (row, column) of the rectangle; zero after a row's text.
  char at(int row, int column) const { return cells_[row * width_ + column]; }
  const char* row(int row) const { return cells_.data() + row * width_; }

  // Count of each cell class over the rectangle, the same under every symmetry; a test can
  // only hold when no class of the first grid outnumbers that of the second.
  using ClassCounts = std::array<std::uint16_t, 8>;
  const ClassCounts& counts() const { return counts_; }

 private:
  int width_ = 0;
  int height_ = 0;
  bool overlong_ = false;
  std::vector<char> cells_;
  ClassCounts counts_{};
};

// A level entry: the level's path and its Full and Reduced grids, both with the width and
// height the level had as loaded.
struct LevelEntry {
  std::string path;
  LevelShape full;
  LevelShape reduced;
};

// Size conditions between the first level A and the second level B.
bool SameSizeCondition(const LevelShape& a, const LevelShape& b);    // kinds 1 to 4
bool TurnedSizeCondition(const LevelShape& a, const LevelShape& b);  // kinds 5 to 8

// True when A matches B under `kind`: every row r < A.height of A equals, as a
// zero-terminated text, row r of a zero-filled grid that received B's cells placed by the
// kind. The kind's size condition must hold.
bool KindHolds(const LevelShape& a, const LevelShape& b, MatchKind kind);

// Receives the progress and the matches of CompareAllPairs.
class PairObserver {
 public:
  virtual ~PairObserver() = default;
  // Called once for every first level, in list order, before its pairs are tested.
  virtual void FirstLevel(const LevelEntry& a) = 0;
  // Called for every test that holds; `exact` for the Full grids, else similar.
  virtual void Match(const LevelEntry& a, const LevelEntry& b, MatchKind kind, bool exact) = 0;
};

// Tests every ordered pair (A, B), A and B in list order, B != A: kinds 1-4 when their
// size condition holds, then kinds 5-8 when theirs holds, on the Full grids; when none held,
// the same on the Reduced grids. Only pairs that can match are tested: every placed image
// of every level is filed under a key of its row texts and size, and A's candidates are the
// levels with an image under A's own key, taken in list order. The matches, and their
// order, are those of testing every pair.
void CompareAllPairs(std::span<const LevelEntry> levels, PairObserver& observer);
