// Tile names, the compiled-in tile bitmaps and the choice of tile for each cell.
#include <QPixmap>

#include "engine.h"
#include "game_fixture.h"
#include "rv7cfg.h"
#include "rv7maze.h"

namespace {

constexpr int kSets[] = {kBitMapSetA, kBitMapSetB, kBitMapSetC};

TEST(TileName, JoinsSetLetterSizeAndKind) {
  EXPECT_EQ(TileName(kBitMapSetA, 47, TileKind::kFloor), QStringLiteral("A47GND"));
  EXPECT_EQ(TileName(kBitMapSetB, 15, TileKind::kManUpOnGoal), QStringLiteral("B15MANUS"));
  EXPECT_EQ(TileName(kBitMapSetC, 31, TileKind::kGoal), QStringLiteral("C31STORE"));
  EXPECT_EQ(TileName(kBitMapSetC, 23, TileKind::kCrateOnGoal), QStringLiteral("C23PKTS"));
}

TEST(TileName, RefusesSetsAndSizesOutsideTheTables) {
  EXPECT_TRUE(TileName(3, 47, TileKind::kFloor).isEmpty());
  EXPECT_TRUE(TileName(kBitMapSetA, 16, TileKind::kFloor).isEmpty());
  EXPECT_TRUE(TileName(kBitMapSetA, 7, TileKind::kFloor).isEmpty());
  EXPECT_TRUE(TileName(kBitMapSetA, 55, TileKind::kFloor).isEmpty());
}

using TileResources = GameWindowTest;  // for the application object

TEST_F(TileResources, EveryTileOfEverySetIsCompiledInAtItsSize) {
  int found = 0;
  for (int set : kSets) {
    for (int size = kSmallestTileSize; size <= kLargestTileSizeLimit; size += kTileSizeStep) {
      for (int k = 0; k < static_cast<int>(TileKind::kCount); ++k) {
        const auto kind = static_cast<TileKind>(k);
        if (kind >= TileKind::kManUp && !SetHasVerticalPlayer(set)) {
          continue;
        }
        const QString name = TileName(set, size, kind);
        const QPixmap tile(QStringLiteral(":/tiles/") + name);
        EXPECT_EQ(tile.size(), QSize(size, size)) << name.toStdString();
        ++found;
      }
    }
  }
  EXPECT_EQ(found, 175);
}

TEST_F(TileResources, SetAHasNoVerticalPlayerTiles) {
  EXPECT_FALSE(SetHasVerticalPlayer(kBitMapSetA));
  EXPECT_TRUE(QPixmap(QStringLiteral(":/tiles/A31MANU")).isNull());
  EXPECT_FALSE(QPixmap(QStringLiteral(":/icon/nrv7.png")).isNull());
}

// A room where the player can walk left and up, with a goal to walk onto; the crate keeps
// the level unsolved.
constexpr char kRoom[] = R"(######
#    #
#. @ #
#  $ #
######
)";

using TileChoiceTest = GameWindowTest;

TEST_F(TileChoiceTest, SetAKeepsTheSideFacingWhileMovingUp) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kRoom);
  Start();
  EXPECT_EQ(BoardColour(2, 3), KindColour(TileKind::kManRight));  // no facing yet
  Press(Qt::Key_Left);
  EXPECT_EQ(BoardColour(2, 2), KindColour(TileKind::kManLeft));
  EXPECT_EQ(BoardColour(2, 3), KindColour(TileKind::kFloor));
  Press(Qt::Key_Up);
  EXPECT_EQ(BoardColour(1, 2), KindColour(TileKind::kManLeft));
  Press(Qt::Key_Down);
  Press(Qt::Key_Left);  // onto the goal, still facing left
  EXPECT_EQ(BoardColour(2, 1), KindColour(TileKind::kManLeftOnGoal));
  Press(Qt::Key_Up);
  EXPECT_EQ(BoardColour(1, 1), KindColour(TileKind::kManLeft));
  EXPECT_EQ(BoardColour(2, 1), KindColour(TileKind::kGoal));
}

TEST_F(TileChoiceTest, SetsBAndCShowThePlayerFacingUpAndDown) {
  for (int set : {kBitMapSetB, kBitMapSetC}) {
    WriteSettings("Tester", "Set", 1, 1);
    WriteFile("Mazes\\Set\\Set.1", kRoom);
    WriteFile("Ini\\Config.Ini", "[Config]\nBitMapSet = " + std::to_string(set) + "\n");
    Start();
    ASSERT_EQ(bitmap_set(), set);
    Press(Qt::Key_Left);
    Press(Qt::Key_Up);
    EXPECT_EQ(BoardColour(1, 2), KindColour(TileKind::kManUp)) << set;
    Press(Qt::Key_Down);
    EXPECT_EQ(BoardColour(2, 2), KindColour(TileKind::kManDown)) << set;
    Press(Qt::Key_Left);
    Press(Qt::Key_Up);
    Press(Qt::Key_Down);
    EXPECT_EQ(BoardColour(2, 1), KindColour(TileKind::kManDownOnGoal)) << set;
    Discard();
  }
}

TEST_F(TileChoiceTest, UnknownCellCharacterIsDrawnAsFloor) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", "#####\n#@ x#\n#####\n");
  Start();
  EXPECT_EQ(BoardColour(1, 3), KindColour(TileKind::kFloor));
  EXPECT_EQ(BoardColour(1, 4), KindColour(TileKind::kWall));
}

}  // namespace
