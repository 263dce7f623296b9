#include "score_transfer.h"

#include <gtest/gtest.h>

#include <string>

#include "report_test_support.h"
#include "step_letters.h"

namespace {

constexpr char kHeader[] = "\n# comment:\n# some game solutions.\n# do not modify.\n\n";

struct Cell {
  int row;
  int col;
};

// Where the second level's cell (r, c) lies in the first level under each kind (W and H of
// the second level).
Cell Placed(MatchKind kind, Cell cell, int w, int h) {
  const int r = cell.row;
  const int c = cell.col;
  switch (kind) {
    case MatchKind::kExactly:
      return {r, c};
    case MatchKind::kMirroredHorizontally:
      return {h - 1 - r, c};
    case MatchKind::kMirroredVertically:
      return {r, w - 1 - c};
    case MatchKind::kRotated180:
      return {h - 1 - r, w - 1 - c};
    case MatchKind::kRotatedLeft:
      return {w - 1 - c, r};
    case MatchKind::kRotatedRight:
      return {c, h - 1 - r};
    case MatchKind::kRotatedRightMirroredHorizontally:
      return {w - 1 - c, h - 1 - r};
    case MatchKind::kRotatedRightMirroredVertically:
      return {c, r};
  }
  return cell;
}

Cell Step(Cell cell, char letter) {
  const StepVector vector = VectorOf(*DirectionOfLetter(letter));
  return {cell.row + vector.rows, cell.col + vector.cols};
}

TEST(ScoreTransfer, TranslatedStepsWalkTheSameSquaresInTheTurnedLevel) {
  constexpr int kWidth = 6;
  constexpr int kHeight = 5;
  const Cell start{2, 3};
  for (int index = 0; index < kMatchKindCount; ++index) {
    const auto kind = static_cast<MatchKind>(index);
    for (char letter : {'u', 'd', 'l', 'r', 'U', 'D', 'L', 'R'}) {
      const char turned = TranslateStep(letter, kind);
      ASSERT_TRUE(IsStepLetter(turned));
      EXPECT_EQ(IsPushLetter(turned), IsPushLetter(letter));
      const Cell expected = Step(Placed(kind, start, kWidth, kHeight), letter);
      const Cell got = Placed(kind, Step(start, turned), kWidth, kHeight);
      EXPECT_EQ(got.row, expected.row) << "kind " << index << " letter " << letter;
      EXPECT_EQ(got.col, expected.col) << "kind " << index << " letter " << letter;
    }
  }
}

TEST(ScoreTransfer, KeyLettersBecomePlainStepsAndOtherBytesStay) {
  EXPECT_EQ(TranslateStep('H', MatchKind::kMirroredHorizontally), 'd');
  EXPECT_EQ(TranslateStep('M', MatchKind::kRotatedLeft), 'd');
  EXPECT_EQ(TranslateStep('x', MatchKind::kRotatedRight), 'x');
  EXPECT_EQ(TranslateStep('\r', MatchKind::kRotated180), '\r');
  EXPECT_EQ(TranslateStep('H', MatchKind::kExactly), 'H');
}

TEST(ScoreTransfer, UpsideDownCopyGetsItsLettersTurnedAndSectionLinesKept) {
  DataDirectory data;
  WriteFile("Mazes/S/S.1.rv7",
            std::string(kHeader) + "[5.2.uRl]\nuuRRd\n\n[3.0.Bookmark]\nHKM\n\n");
  TransferScoreFile("Mazes\\S\\S.1", "Mazes\\S\\S.2", MatchKind::kMirroredHorizontally);
  EXPECT_EQ(ReadFile("Mazes/S/S.2.rv7"),
            std::string(kHeader) + "[5.2.uRl]\nddRRu\n\n[3.0.Bookmark]\ndlr\n\n");
}

TEST(ScoreTransfer, RotatedRightCopyTurnsStepsCounterClockwise) {
  DataDirectory data;
  WriteFile("Mazes/S/S.1.rv7", std::string(kHeader) + "[5.2.P]\nuuRRd\n\n");
  TransferScoreFile("Mazes\\S\\S.1", "Mazes\\S\\S.2", MatchKind::kRotatedRight);
  EXPECT_EQ(ReadFile("Mazes/S/S.2.rv7"), std::string(kHeader) + "[5.2.P]\nllUUr\n\n");
}

TEST(ScoreTransfer, ExactCopyIsByteForByte) {
  DataDirectory data;
  const std::string original = "\r\n# comment:\r\n[3.1.P]\r\nrRl\r\n\r\nno line end";
  WriteFile("Mazes/S/S.1.rv7", original);
  TransferScoreFile("Mazes\\S\\S.1", "Mazes\\S\\S.7", MatchKind::kExactly);
  EXPECT_EQ(ReadFile("Mazes/S/S.7.rv7"), original);
}

TEST(ScoreTransfer, LongLetterLineIsTurnedInFull) {
  DataDirectory data;
  WriteFile("Mazes/S/S.1.rv7", "[600.0.P]\n" + std::string(600, 'u') + "\n");
  TransferScoreFile("Mazes\\S\\S.1", "Mazes\\S\\S.2", MatchKind::kRotated180);
  EXPECT_EQ(ReadFile("Mazes/S/S.2.rv7"), "[600.0.P]\n" + std::string(600, 'd') + "\n");
}

TEST(ScoreTransfer, ExistingTargetIsNeverTouched) {
  DataDirectory data;
  WriteFile("Mazes/S/S.1.rv7", std::string(kHeader) + "[1.0.P]\nu\n\n");
  WriteFile("Mazes/S/S.2.rv7", "whatever was here");
  for (int index = 0; index < kMatchKindCount; ++index) {
    TransferScoreFile("Mazes\\S\\S.1", "Mazes\\S\\S.2", static_cast<MatchKind>(index));
  }
  EXPECT_EQ(ReadFile("Mazes/S/S.2.rv7"), "whatever was here");
}

TEST(ScoreTransfer, MissingSourceGivesNoFile) {
  DataDirectory data;
  TransferScoreFile("Mazes\\S\\S.1", "Mazes\\S\\S.2", MatchKind::kExactly);
  TransferScoreFile("Mazes\\S\\S.1", "Mazes\\S\\S.2", MatchKind::kRotatedLeft);
  EXPECT_EQ(ReadFile("Mazes/S/S.2.rv7"), "<missing>");
}

TEST(ScoreTransfer, TargetInMissingDirectoryIsSkipped) {
  DataDirectory data;
  WriteFile("Mazes/S/S.1.rv7", "[1.0.P]\nu\n");
  TransferScoreFile("Mazes\\S\\S.1", "Mazes\\Gone\\Gone.1", MatchKind::kRotatedLeft);
  EXPECT_FALSE(std::filesystem::exists("Mazes/Gone"));
}

}  // namespace
