// What a paint shows: the board image, the status fields with their frames and colours, and
// the text for a missing level.
#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <string>
#include <utility>

#include "engine.h"
#include "files.h"
#include "game_fixture.h"
#include "rv7maze.h"
#include "rv7score.h"

namespace {

constexpr char kRecords[] = R"(
# comment:
# some game solutions.
# do not modify.

[1.1.Someone]
R

[2.1.Tester]
lR

)";

// Pixel rectangle inside a field's frame.
QRect Inside(const Field& f) {
  return QRect(Layout().inset + 2 * f.x + 1, 2 * f.y + 1, 2 * f.w - 2, 2 * f.h - 2);
}

int CountPixels(const QImage& shot, const QRect& rect, const QColor& colour) {
  int count = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      count += shot.pixelColor(x, y) == colour ? 1 : 0;
    }
  }
  return count;
}

// Pixels that are neither background nor the given text colour's anti-aliasing: any ink.
int InkPixels(const QImage& shot, const QRect& rect) {
  return rect.width() * rect.height() - CountPixels(shot, rect, kBackgroundColour);
}

// `text` drawn alone into an image of `size` as the status area draws it: centred on one
// line within `rect`, on the background.
QImage TextImage(const QFont& font, const QSize& size, const QRect& rect, const QString& text,
                 const QColor& colour) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(kBackgroundColour);
  QPainter p(&image);
  p.setFont(font);
  p.setPen(colour);
  p.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
  return image;
}

// Whether the inside of value field `f` shows exactly `text`, pixel for pixel.
bool Shows(const QImage& shot, const QFont& font, const Field& f, const QString& text,
           const QColor& colour = kValueColour) {
  const QRect inside = Inside(f);
  const QImage expected =
      TextImage(font, inside.size(), QRect(QPoint(0, 0), inside.size()), text, colour);
  return shot.copy(inside).convertToFormat(QImage::Format_ARGB32_Premultiplied) == expected;
}

// Collects the regions the window is asked to paint.
class PaintRegions : public QObject {
 public:
  QRegion painted;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      painted += static_cast<QPaintEvent*>(event)->region();
    }
    return false;
  }
};

using PaintTest = GameWindowTest;

bool Covers(const QRegion& region, const QRect& rect) {
  return (region & rect) == QRegion(rect);
}

TEST_F(PaintTest, StepRepaintsOnlyTheChangedCellsAndCounters) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", "########\n#@   $.#\n########\n");
  Start();
  Press(Qt::Key_Right);  // the first step after a start shows all three counters
  QCoreApplication::processEvents();
  PaintRegions regions;
  window_->installEventFilter(&regions);
  Press(Qt::Key_Right);
  QCoreApplication::processEvents();
  window_->removeEventFilter(&regions);
  const int size = TileSize();
  const QRect left_cell(Layout().board_left + 2 * size, kBoardTop + size, size, size);
  EXPECT_TRUE(Covers(regions.painted, left_cell));
  EXPECT_TRUE(Covers(regions.painted, left_cell.translated(size, 0)));
  EXPECT_TRUE(Covers(regions.painted, Inside(kMovesField)));
  EXPECT_FALSE(regions.painted.intersects(Inside(kPushesField)));
  EXPECT_FALSE(regions.painted.intersects(Inside(kStoredField)));
  EXPECT_FALSE(regions.painted.intersects(left_cell.translated(2 * size, 0)));
  EXPECT_FALSE(regions.painted.intersects(left_cell.translated(-size, 0)));
}

TEST_F(PaintTest, BoardShowsTheTileOfEveryCell) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kOnePush);
  Start();
  const QImage shot = Shot();
  EXPECT_EQ(ScreenColour(shot, 0, 0), KindColour(TileKind::kWall));
  EXPECT_EQ(ScreenColour(shot, 1, 1), KindColour(TileKind::kManRight));
  EXPECT_EQ(ScreenColour(shot, 1, 2), KindColour(TileKind::kCrate));
  EXPECT_EQ(ScreenColour(shot, 1, 3), KindColour(TileKind::kGoal));
  // The board is centred under the status area: 5 columns of 31 pixels.
  EXPECT_EQ(Layout().board_left, (580 - 5 * 31) / 2);
  EXPECT_EQ(shot.pixelColor(Layout().board_left - 1, 100), kBackgroundColour);
  EXPECT_EQ(shot.pixelColor(Layout().board_left, 95), KindColour(TileKind::kWall));
  EXPECT_EQ(shot.pixelColor(Layout().board_left, 94), kBackgroundColour);
}

TEST_F(PaintTest, PushOntoTheGoalRedrawsThreeCellsAndShowsDoneInRed) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kOnePush);
  Start();
  EXPECT_EQ(CountPixels(Shot(), Inside(kStoredField), kAlertColour), 0);
  Press(Qt::Key_Right);
  const QImage shot = Shot();
  EXPECT_EQ(ScreenColour(shot, 1, 1), KindColour(TileKind::kFloor));
  EXPECT_EQ(ScreenColour(shot, 1, 2), KindColour(TileKind::kManRight));
  EXPECT_EQ(ScreenColour(shot, 1, 3), KindColour(TileKind::kCrateOnGoal));
  EXPECT_GT(CountPixels(shot, Inside(kStoredField), kAlertColour), 10);
  EXPECT_EQ(CountPixels(shot, Inside(kMovesField), kAlertColour), 0);
}

TEST_F(PaintTest, ValueFieldsHaveSunkenFramesAndLabelsHaveNone) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kOnePush);
  Start();
  const QImage shot = Shot();
  // Moves: x 10..60, y 70..90. Grey left and top edges, white right and bottom edges.
  EXPECT_EQ(shot.pixelColor(10, 80), kFrameShadowColour);
  EXPECT_EQ(shot.pixelColor(30, 70), kFrameShadowColour);
  EXPECT_EQ(shot.pixelColor(10, 70), kFrameShadowColour);
  EXPECT_EQ(shot.pixelColor(10, 90), kFrameShadowColour);
  EXPECT_EQ(shot.pixelColor(60, 80), kFrameLightColour);
  EXPECT_EQ(shot.pixelColor(60, 70), kFrameLightColour);
  EXPECT_EQ(shot.pixelColor(30, 90), kFrameLightColour);
  EXPECT_EQ(shot.pixelColor(60, 90), kFrameLightColour);
  // The "Moves" label above it has no frame, only blue text.
  EXPECT_EQ(shot.pixelColor(10, 55), kBackgroundColour);
  EXPECT_GT(CountPixels(shot, QRect(10, 51, 50, 18), kLabelColour), 0);
  EXPECT_EQ(CountPixels(shot, QRect(10, 51, 50, 18), kValueColour), 0);
  // Every counter shows black digits.
  for (const Field& f : {kMovesField, kPushesField, kStoredField, kLevelField, kLevelCountField,
                         kSetField, kPlayerField}) {
    EXPECT_GT(InkPixels(shot, Inside(f)), 0) << f.x << "," << f.y;
  }
}

TEST_F(PaintTest, LongNamesStayInsideTheirField) {
  WriteSettings(std::string(99, 'W'), "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kOnePush);
  Start();
  const QImage shot = Shot();
  EXPECT_GT(InkPixels(shot, Inside(kPlayerField)), 0);
  // Between the player field's frame (x 390) and the "W" button (x 400) nothing is drawn.
  EXPECT_EQ(InkPixels(shot, QRect(392, 31, 7, 18)), 0);
}

TEST_F(PaintTest, RecordFieldsAreEmptyWithoutSolutions) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kOnePush);
  Start();
  const QImage shot = Shot();
  for (const Field& f :
       {kBestMovesField, kBestPushesField, kBestNameField, kOwnMovesField, kOwnPushesField}) {
    EXPECT_EQ(InkPixels(shot, Inside(f)), 0) << f.x << "," << f.y;
  }
  EXPECT_GT(InkPixels(shot, Inside(kPlayerField)), 0);
  EXPECT_GT(CountPixels(shot, Inside(kBestByField), kLabelColour), 0);
}

TEST_F(PaintTest, RecordFieldsShowBestAndOwnSolutions) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kOnePush);
  WriteFile("Mazes\\Set\\Set.1.rv7", kRecords);
  Start();
  ASSERT_EQ(BestMoves(), 1);
  ASSERT_EQ(OwnMoves(), 2);
  const QImage shot = Shot();
  for (const Field& f :
       {kBestMovesField, kBestPushesField, kBestNameField, kOwnMovesField, kOwnPushesField}) {
    EXPECT_GT(InkPixels(shot, Inside(f)), 0) << f.x << "," << f.y;
  }
}

TEST_F(PaintTest, SolvingRedrawsTheRecordLines) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", kOnePush);
  Start();
  Press(Qt::Key_Right);
  EXPECT_EQ(BestMoves(), 1);
  EXPECT_GT(InkPixels(Shot(), Inside(kOwnMovesField)), 0);
  EXPECT_EQ(ReadFile("Mazes\\Set\\Set.1.rv7"),
            "\n# comment:\n# some game solutions.\n# do not modify.\n\n[1.1.Tester]\nR\n\n");
}

TEST_F(PaintTest, EveryFieldShowsItsOwnValue) {
  WriteSettings("Tester", "Set", 2, 5);
  WriteFile("Mazes\\Set\\Set.2", kOnePush);
  WriteFile("Mazes\\Set\\Set.2.rv7", "[4.2.Someone]\nrrRR\n\n[6.3.Tester]\nrrrRRR\n");
  Start();
  const QFont font = window_->font();
  QImage shot = Shot();
  const std::pair<Field, const char*> fields[] = {
      {kMovesField, "0"},     {kPushesField, "0"},     {kStoredField, "0"},
      {kLevelField, "2"},     {kLevelCountField, "5"}, {kSetField, "Set"},
      {kBestMovesField, "4"}, {kBestPushesField, "2"}, {kBestNameField, "Someone"},
      {kOwnMovesField, "6"},  {kOwnPushesField, "3"},  {kPlayerField, "Tester"},
  };
  for (const auto& [field, text] : fields) {
    EXPECT_TRUE(Shows(shot, font, field, QString::fromLatin1(text))) << text;
  }
  Press(Qt::Key_Right);
  shot = Shot();
  EXPECT_TRUE(Shows(shot, font, kMovesField, QStringLiteral("1")));
  EXPECT_TRUE(Shows(shot, font, kPushesField, QStringLiteral("1")));
  EXPECT_TRUE(Shows(shot, font, kStoredField, QStringLiteral("Done!"), kAlertColour));
}

TEST_F(PaintTest, NotFoundTextIsCentredAboveItsBottomEdgeAtEveryTileSize) {
  OverrideScreenMetrics(ScreenMetrics{1280, 1024, 1, 1, 19});
  WriteSettings("Tester", "Set", 2, 2);
  Start();
  ASSERT_EQ(TileSize(), 47);
  const QString text = QStringLiteral("Maze 'Mazes\\Set\\Set.2' not found");
  // The text's box runs from (1, 96) to (579, bottom) at each tile size.
  const std::pair<int, int> bottoms[] = {{47, 141}, {39, 133}, {31, 125}, {23, 125}, {15, 125}};
  for (const auto& [tile, bottom] : bottoms) {
    ASSERT_EQ(TileSize(), tile);
    const QImage shot = Shot();
    const QRect band(0, kBoardTop, kStatusAreaWidth, shot.height() - kBoardTop);
    const QRect box(1, 96 - kBoardTop, 578, bottom - 96);
    EXPECT_EQ(shot.copy(band).convertToFormat(QImage::Format_ARGB32_Premultiplied),
              TextImage(window_->font(), band.size(), box, text, kValueColour))
        << "tile size " << tile;
    Press(Qt::Key_I);
  }
}

TEST_F(PaintTest, MissingLevelShowsNotFoundTextAndDone) {
  WriteSettings("Tester", "Set", 2, 2);
  WriteFile("Mazes\\Set\\Set.1", kOnePush);
  Start();
  EXPECT_EQ(MazeHeight(), 0);
  const QImage shot = Shot();
  EXPECT_GT(CountPixels(shot, QRect(1, 96, 578, 94 + 31 - 96), kValueColour), 20);
  EXPECT_GT(CountPixels(shot, Inside(kStoredField), kAlertColour), 10);
  Press(Qt::Key_Up);
  EXPECT_EQ(LowBeeps(), 1);
  EXPECT_EQ(NoLevelText().toStdString(), "Maze 'Mazes\\Set\\Set.2' not found");
}

TEST_F(PaintTest, LevelTooLargeSaysSoAndGetsNoScoreFile) {
  WriteSettings("Tester", "Set", 1, 1);
  WriteFile("Mazes\\Set\\Set.1", std::string(kMaxLevelWidth + 1, '#') + "\n");
  Start();
  EXPECT_EQ(MazeHeight(), 0);
  EXPECT_EQ(NoLevelText().toStdString(), "Maze 'Mazes\\Set\\Set.1' too large");
  EXPECT_GT(CountPixels(Shot(), QRect(1, 96, 578, 94 + 31 - 96), kValueColour), 20);
  RecordUnplayedSolution("R", 1, 1, "Pasted");  // a solution handed in from elsewhere
  EXPECT_EQ(BestMoves(), 0);
  EXPECT_FALSE(FileExists("Mazes\\Set\\Set.1.rv7"));
}

}  // namespace
