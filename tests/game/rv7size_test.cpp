// Tile size fitting and the window sized around the board.
#include <QPushButton>
#include <QTest>

#include <string>

#include "engine.h"
#include "game_fixture.h"
#include "rv7ini.h"

namespace {

// A level `cols` wide and `rows` high: a wall frame around floor, player and one crate.
std::string RoomLevel(int cols, int rows) {
  std::string level(cols, '#');
  level += '\n';
  for (int r = 1; r + 1 < rows; ++r) {
    std::string row(cols, ' ');
    row.front() = '#';
    row.back() = '#';
    if (r == 1) {
      row[1] = '@';
      row[2] = '$';
      row[3] = '.';
    }
    level += row + '\n';
  }
  level += std::string(cols, '#') + '\n';
  return level;
}

using SizeTest = GameWindowTest;

TEST_F(SizeTest, LargestTileSizeFollowsScreenWidth) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  LoadSettings();
  const std::pair<int, int> cases[] = {{1280, 47}, {1279, 39}, {1024, 39}, {1023, 31}};
  for (const auto& [width, tile] : cases) {
    OverrideScreenMetrics(ScreenMetrics{width, 1024, 1, 1, 19});
    window_.reset(Create());
    EXPECT_EQ(LargestTileSize(), tile) << width;
    EXPECT_EQ(TileSize(), tile) << width;
    EXPECT_EQ(window_->size(), QSize(580, 95 + 3 * tile)) << width;
  }
}

TEST_F(SizeTest, TallLevelShrinksTilesUntilItFitsTheScreen) {
  OverrideScreenMetrics(ScreenMetrics{1280, 768, 1, 1, 19});
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", RoomLevel(6, 40));
  Start();
  EXPECT_EQ(LargestTileSize(), 47);
  EXPECT_EQ(TileSize(), 15);  // (40 + 5) x 23 would exceed 768 pixels
  EXPECT_EQ(window_->size(), QSize(580, 95 + 40 * 15));
}

TEST_F(SizeTest, TilesFitWithTwoColumnsAndFiveRowsToSpare) {
  // At 31 pixels a 1023 x 744 screen holds 33 columns and 24 rows exactly.
  OverrideScreenMetrics(ScreenMetrics{1023, 744, 1, 1, 19});
  WriteSettings("Tester", "Set", 1, 4);
  WriteFile("Mazes\\Set\\Set.1", RoomLevel(31, 19));
  WriteFile("Mazes\\Set\\Set.2", RoomLevel(32, 19));
  WriteFile("Mazes\\Set\\Set.3", RoomLevel(31, 20));
  Start();
  EXPECT_EQ(TileSize(), 31);
  Press(Qt::Key_N);
  EXPECT_EQ(TileSize(), 23);  // one column too many
  Discard();
  WriteSettings("Tester", "Set", 3, 4);
  Start();
  EXPECT_EQ(TileSize(), 23);  // one row too many
}

TEST_F(SizeTest, WideBoardMovesButtonsAndFieldsRightByTheInset) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", RoomLevel(20, 3));
  Start();
  ASSERT_EQ(TileSize(), 31);
  EXPECT_EQ(Layout().board_left, 0);
  EXPECT_EQ(Layout().inset, 20);
  EXPECT_EQ(window_->size(), QSize(620, 95 + 3 * 31));
  EXPECT_EQ(window_->Button(kCmdFirst)->pos(), QPoint(210, 70));
  EXPECT_EQ(window_->Button(kCmdAbout)->pos(), QPoint(540, 0));
  // The Moves frame starts at inset + 2 x 5 across and 2 x 35 down.
  const QImage shot = Shot();
  EXPECT_EQ(shot.pixelColor(30, 75), kFrameShadowColour);
  EXPECT_EQ(shot.pixelColor(10, 75), kBackgroundColour);
}

TEST_F(SizeTest, NarrowBoardIsCentredUnderTheStatusArea) {
  OverrideScreenMetrics(ScreenMetrics{1280, 1024, 1, 1, 19});
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", RoomLevel(10, 3));
  Start();
  ASSERT_EQ(TileSize(), 47);
  EXPECT_EQ(Layout().board_left, 55);
  EXPECT_EQ(Layout().inset, 0);
  EXPECT_EQ(window_->Button(kCmdFirst)->pos(), QPoint(190, 70));
  const QImage shot = Shot();
  EXPECT_EQ(shot.pixelColor(54, 95 + 20), kBackgroundColour);
  EXPECT_EQ(shot.pixelColor(55 + 20, 95 + 20), KindColour(TileKind::kWall));
}

TEST_F(SizeTest, KeysIAndOStepTheTileSizeWithinItsBounds) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  Start();
  ASSERT_EQ(TileSize(), 31);
  Press(Qt::Key_O);  // already the largest
  EXPECT_EQ(TileSize(), 31);
  EXPECT_EQ(LowBeeps(), 1);
  Press(Qt::Key_I);
  EXPECT_EQ(TileSize(), 23);
  EXPECT_EQ(window_->size(), QSize(580, 95 + 3 * 23));
  EXPECT_EQ(BoardColour(1, 1), KindColour(TileKind::kManRight));
  Press(Qt::Key_I);
  Press(Qt::Key_I);  // 15 is the smallest
  EXPECT_EQ(TileSize(), 15);
  EXPECT_EQ(LowBeeps(), 2);
  Press(Qt::Key_O);
  EXPECT_EQ(TileSize(), 23);
  EXPECT_EQ(window_->size(), QSize(580, 95 + 3 * 23));
  EXPECT_EQ(ScreenColour(Shot(), 1, 5), KindColour(TileKind::kGoal));
}

TEST_F(SizeTest, TileSizeStaysOnceAStepWasMade) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kCorridor);
  Start();
  Press(Qt::Key_I);
  ASSERT_EQ(TileSize(), 23);
  Press(Qt::Key_Right);
  Press(Qt::Key_I);
  Press(Qt::Key_O);
  EXPECT_EQ(TileSize(), 23);
  EXPECT_EQ(LowBeeps(), 2);
  EXPECT_EQ(move_count(), 1);
}

TEST_F(SizeTest, MissingLevelGetsTheNoLevelHeight) {
  WriteSettings("Tester", "Set", 1, 1);
  Start();
  EXPECT_EQ(window_->size(), QSize(580, 95 + 31));
  Press(Qt::Key_I);
  EXPECT_EQ(TileSize(), 23);
  EXPECT_EQ(window_->size(), QSize(580, 95 + 31));
}

TEST_F(SizeTest, LevelChangeRefitsTilesButNeverEnlargesThem) {
  OverrideScreenMetrics(ScreenMetrics{1280, 768, 1, 1, 19});
  WriteSettings("Tester", "Set", 1, 2);
  WriteFile("Mazes\\Set\\Set.1", RoomLevel(6, 40));
  WriteFile("Mazes\\Set\\Set.2", kCorridor);
  Start();
  ASSERT_EQ(TileSize(), 15);
  Press(Qt::Key_N);
  EXPECT_EQ(current_level(), 2);
  EXPECT_EQ(TileSize(), 15);
  EXPECT_EQ(window_->size(), QSize(580, 95 + 3 * 15));
  Press(Qt::Key_O);
  EXPECT_EQ(TileSize(), 23);
}

}  // namespace
