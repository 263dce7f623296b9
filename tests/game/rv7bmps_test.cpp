// Tile names, the compiled-in tile bitmaps and the choice of tile for each cell.
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <string>

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

// Three levels of different sizes with every kind of cell; the second is wider than the
// status area.
constexpr char kSmallLevel[] = R"(######
#    #
#. @ #
#  $ #
######
)";
constexpr char kWideLevel[] = R"(####################
#  .   $     *     #
#  $ @ .  ####  .  #
#   **     #       #
#     $  . # $  .  #
####################
)";
constexpr char kTallLevel[] = R"(#########
#   #   #
# $   . #
#   #   #
## ### ##
#   .   #
# $ @ * #
#       #
#########
)";

// A screen on which the largest tiles (47 pixels) are used.
constexpr ScreenMetrics kLargeScreen{1920, 1200, 1, 1, 19};

using BoardImageTest = GameWindowTest;

// The board as the renderer drew it into a board image of 45 x 45 tiles: the image filled
// with the background, then every cell of the level drawn at its place, and the part under
// the level shown.
QImage GridSizedBoard() {
  const int size = TileSize();
  QPixmap grid(kGridColumns * size, kGridRows * size);
  grid.fill(kBackgroundColour);
  {
    QPainter painter(&grid);
    for (int row = 0; row < MazeHeight(); ++row) {
      for (int col = 0; col < MazeWidth(); ++col) {
        painter.drawPixmap(col * size, row * size, SelectTile(row, col));
      }
    }
  }
  return grid.toImage().copy(0, 0, Layout().board_width, Layout().board_height);
}

QImage Comparable(const QImage& image) {
  return image.convertToFormat(QImage::Format_RGB32);
}

TEST_F(BoardImageTest, LevelSizedImageDrawsLikeTheGridSizedOneAtEveryStep) {
  OverrideScreenMetrics(kLargeScreen);
  SetTileSource({});  // the real tiles, not solid colours
  const auto expect_same = [this](const std::string& where) {
    const BoardLayout& layout = Layout();
    const QImage expected = Comparable(GridSizedBoard());
    EXPECT_EQ(BoardImage().size(), QSize(layout.board_width, layout.board_height)) << where;
    EXPECT_TRUE(Comparable(BoardImage().toImage()) == expected) << where;
    const QImage shown =
        Shot().copy(layout.board_left, kBoardTop, layout.board_width, layout.board_height);
    EXPECT_TRUE(Comparable(shown) == expected) << where;
  };
  for (int set : kSets) {
    WriteSettings("Tester", "Set", 1, 3);
    WriteFile("Mazes\\Set\\Set.1", kSmallLevel);
    WriteFile("Mazes\\Set\\Set.2", kWideLevel);
    WriteFile("Mazes\\Set\\Set.3", kTallLevel);
    WriteFile("Ini\\Config.Ini", "[Config]\nBitMapSet = " + std::to_string(set) + "\n");
    Start();
    const std::string name = "set " + std::to_string(set);
    ASSERT_EQ(TileSize(), kLargestTileSizeLimit);
    expect_same(name + ", small level");
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Down, Qt::Key_Left}) {
      Press(key);
    }
    expect_same(name + ", small level after steps");
    Press(Qt::Key_R);  // a level in progress is never left
    Press(Qt::Key_N);
    ASSERT_EQ(MazeWidth(), 20);
    expect_same(name + ", wide level");
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Left, Qt::Key_Down}) {
      Press(key);  // walks onto a goal and pushes a crate
    }
    expect_same(name + ", wide level after a push");
    Press(Qt::Key_R);
    Press(Qt::Key_I);
    Press(Qt::Key_I);
    ASSERT_EQ(TileSize(), kLargestTileSizeLimit - 2 * kTileSizeStep);
    expect_same(name + ", wide level, smaller tiles");
    Press(Qt::Key_N);
    ASSERT_EQ(MazeHeight(), 9);
    Press(Qt::Key_I);
    Press(Qt::Key_I);
    ASSERT_EQ(TileSize(), kSmallestTileSize);
    Press(Qt::Key_Right);
    expect_same(name + ", tall level, smallest tiles");
    Press(Qt::Key_R);
    Press(Qt::Key_V);
    ASSERT_EQ(MazeWidth(), 6);
    expect_same(name + ", back to the small level");
    Discard();
  }
}

}  // namespace
