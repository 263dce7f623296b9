#include "rv7bmps.h"

#include <QPainter>
#include <QRect>

#include <array>
#include <utility>

#include "engine.h"
#include "layout.h"
#include "rv7cfg.h"
#include "rv7game.h"
#include "rv7log.h"
#include "rv7maze.h"

namespace {

constexpr char kLogModule[] = "rv7bmps";

constexpr std::array<const char*, static_cast<int>(TileKind::kCount)> kKindNames{
    "GND",  "PKT",   "PKTS", "STORE", "WALL", "MANL", "MANLS",
    "MANR", "MANRS", "MANU", "MANUS", "MAND", "MANDS"};

// The character no cell holds, against which the first cell of InitBitmap is compared.
constexpr char kNoCell = '0';

struct TileState {
  std::array<QPixmap, static_cast<int>(TileKind::kCount)> tiles;
  TileKind player = TileKind::kManRight;
  TileKind player_on_goal = TileKind::kManRightOnGoal;
  QPixmap board_image;
  BoardLayout layout;
  int tile_size = kLargestTileSizeLimit;
  int largest_tile_size = kLargestTileSizeLimit;
  TileSource source;
};

TileState& State() {
  static TileState state;
  return state;
}

char SetLetter(int bitmap_set) {
  switch (bitmap_set) {
    case kBitMapSetA:
      return 'A';
    case kBitMapSetB:
      return 'B';
    case kBitMapSetC:
      return 'C';
    default:
      return 0;
  }
}

bool IsTileSize(int size) {
  return size >= kSmallestTileSize && size <= kLargestTileSizeLimit &&
         (size - kSmallestTileSize) % kTileSizeStep == 0;
}

bool KindInSet(TileKind kind, int bitmap_set) {
  return kind < TileKind::kManUp || SetHasVerticalPlayer(bitmap_set);
}

const QPixmap& Tile(TileKind kind) {
  return State().tiles[static_cast<int>(kind)];
}

// The player's picture among (left, right, up, down) for the present Facing; a left or
// right facing becomes `current`, the picture kept for vertical moves in set A.
TileKind PlayerKind(TileKind left, TileKind right, TileKind up, TileKind down, TileKind& current) {
  const bool vertical = SetHasVerticalPlayer(bitmap_set());
  switch (facing()) {
    case Facing::kUp:
      return vertical ? up : current;
    case Facing::kDown:
      return vertical ? down : current;
    case Facing::kLeft:
      current = left;
      return left;
    case Facing::kRight:
    case Facing::kNone:
      break;
  }
  current = right;
  return right;
}

TileKind KindOfCell(char cell) {
  TileState& state = State();
  switch (cell) {
    case kWall:
      return TileKind::kWall;
    case kGoal:
      return TileKind::kGoal;
    case kCrate:
      return TileKind::kCrate;
    case kCrateOnGoal:
      return TileKind::kCrateOnGoal;
    case kPlayer:
      return PlayerKind(TileKind::kManLeft, TileKind::kManRight, TileKind::kManUp,
                        TileKind::kManDown, state.player);
    case kPlayerOnGoal:
      return PlayerKind(TileKind::kManLeftOnGoal, TileKind::kManRightOnGoal, TileKind::kManUpOnGoal,
                        TileKind::kManDownOnGoal, state.player_on_goal);
    default:
      return TileKind::kFloor;
  }
}

QPixmap LoadFromResources(const QString& name) {
  return QPixmap(QStringLiteral(":/tiles/") + name);
}

// Makes the board image the size of the level in play, unless it is already; a new image
// starts in the background colour. No image while there is no level.
void FitBoardImage() {
  TileState& state = State();
  const QSize size(state.layout.board_width, state.layout.board_height);
  if (size.isEmpty()) {
    state.board_image = QPixmap();
  } else if (state.board_image.size() != size) {
    state.board_image = QPixmap(size);
    state.board_image.fill(kBackgroundColour);
  }
}

// Board size, board left edge and control inset of the level in play, traced under
// `routine`.
void ComputeLayout(const char* routine) {
  TileState& state = State();
  BoardLayout& layout = state.layout;
  layout.board_width = MazeWidth() * state.tile_size;
  layout.board_height = MazeHeight() * state.tile_size;
  const bool narrow = layout.board_width < kStatusAreaWidth;
  layout.board_left = narrow ? (kStatusAreaWidth - layout.board_width) / 2 : 0;
  layout.inset = narrow ? 0 : (layout.board_width - kStatusAreaWidth) / 2;
  RV7_LOG_AS(routine, kLogInfo, "mparray[0].x=%d", layout.board_left);
  RV7_LOG_AS(routine, kLogInfo, "maze, inset=%d", layout.inset);
}

}  // namespace

QString TileName(int bitmap_set, int tile_size, TileKind kind) {
  const char letter = SetLetter(bitmap_set);
  if (letter == 0 || !IsTileSize(tile_size) || kind == TileKind::kCount) {
    return {};
  }
  return QStringLiteral("%1%2%3")
      .arg(QLatin1Char(letter))
      .arg(tile_size)
      .arg(QLatin1String(kKindNames[static_cast<int>(kind)]));
}

bool SetHasVerticalPlayer(int bitmap_set) {
  return bitmap_set == kBitMapSetB || bitmap_set == kBitMapSetC;
}

void SetTileSource(TileSource source) {
  State().source = std::move(source);
}

int TileSize() {
  return State().tile_size;
}
void SetTileSize(int size) {
  State().tile_size = size;
}
int LargestTileSize() {
  return State().largest_tile_size;
}
void SetLargestTileSize(int size) {
  State().largest_tile_size = size;
}
const BoardLayout& Layout() {
  return State().layout;
}
const QPixmap& BoardImage() {
  return State().board_image;
}

void LoadBitmaps() {
  RV7_ENTRY();
  TileState& state = State();
  state.board_image = QPixmap();
  const int set = bitmap_set();
  for (int k = 0; k < static_cast<int>(TileKind::kCount); ++k) {
    const auto kind = static_cast<TileKind>(k);
    const QString name = TileName(set, state.tile_size, kind);
    if (name.isEmpty() || !KindInSet(kind, set)) {
      continue;
    }
    state.tiles[k] = state.source ? state.source(name) : LoadFromResources(name);
    if (state.tiles[k].isNull()) {
      RV7_LOG(kLogInfo, "no bitmap, %s", qPrintable(name));
    }
  }
  state.player = TileKind::kManRight;
  state.player_on_goal = TileKind::kManRightOnGoal;
  RV7_EXIT();
}

void FreeBitmaps() {
  RV7_ENTRY();
  TileState& state = State();
  for (QPixmap& tile : state.tiles) {
    tile = QPixmap();
  }
  state.board_image = QPixmap();
  RV7_EXIT();
}

const QPixmap& SelectTile(int row, int col) {
  return Tile(KindOfCell(Board()[row][col]));
}

void DrawCell(int row, int col) {
  TileState& state = State();
  const int size = state.tile_size;
  if (!state.board_image.isNull()) {
    QPainter painter(&state.board_image);
    painter.drawPixmap(col * size, row * size, SelectTile(row, col));
  }
  InvalidateClient(QRect(state.layout.board_left + col * size, kBoardTop + row * size, size, size));
}

void InitBitmap() {
  RV7_ENTRY();
  ComputeLayout(__func__);
  FitBoardImage();
  CopyLevelToBoard();
  TileState& state = State();
  if (!state.board_image.isNull()) {
    QPainter painter(&state.board_image);
    const int size = state.tile_size;
    char previous = kNoCell;
    const QPixmap* tile = nullptr;
    for (int row = 0; row < MazeHeight(); ++row) {
      for (int col = 0; col < MazeWidth(); ++col) {
        const char cell = Board()[row][col];
        if (cell != previous || tile == nullptr) {
          tile = &SelectTile(row, col);
          previous = cell;
        }
        painter.drawPixmap(col * size, row * size, *tile);
      }
    }
  }
  RV7_EXIT();
}
