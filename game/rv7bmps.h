// Tile bitmaps and the off-screen board image. The board is drawn once per level (or tile
// size) into the board image; afterwards only changed cells are redrawn, and a paint copies
// the image to the window in one block. The image covers the level in play only: a full
// 45 x 45-tile image at 47 pixels would take 18 MB and a good part of the start-up to fill.
#pragma once

#include <QPixmap>
#include <QString>

#include <functional>

// Tile sizes: 15, 23, 31, 39, 47 pixels.
inline constexpr int kSmallestTileSize = 15;
inline constexpr int kTileSizeStep = 8;
inline constexpr int kLargestTileSizeLimit = 47;

// Tile sets chosen by BitMapSet in Config.Ini.
inline constexpr int kBitMapSetA = 1;
inline constexpr int kBitMapSetB = 2;
inline constexpr int kBitMapSetC = 5213;

enum class TileKind {
  kFloor,        // "GND"
  kCrate,        // "PKT"
  kCrateOnGoal,  // "PKTS"
  kGoal,         // "STORE"
  kWall,         // "WALL"
  kManLeft,      // "MANL"
  kManLeftOnGoal,
  kManRight,  // "MANR"
  kManRightOnGoal,
  kManUp,  // "MANU", sets B and C only
  kManUpOnGoal,
  kManDown,  // "MAND", sets B and C only
  kManDownOnGoal,
  kCount,
};

// Resource name of a tile: set letter, size in decimal, kind ("A47GND", "B15MANUS").
// Empty when the set or the size is not one of the tables.
QString TileName(int bitmap_set, int tile_size, TileKind kind);

// Whether the set has the player facing up and down (sets B and C).
bool SetHasVerticalPlayer(int bitmap_set);

// Where tiles come from: given a resource name, the tile bitmap (null when there is none).
// The program reads ":/tiles/<name>"; tests may draw their own.
using TileSource = std::function<QPixmap(const QString& name)>;
void SetTileSource(TileSource source);  // an empty source restores the resources

// Current and largest tile size, program-wide. The largest is chosen at start-up.
int TileSize();
void SetTileSize(int size);
int LargestTileSize();
void SetLargestTileSize(int size);

// Layout values, recomputed by InitBitmap.
struct BoardLayout {
  int board_width = 0;   // columns x tile size
  int board_height = 0;  // rows x tile size
  int board_left = 0;    // left edge of the board in the client area
  int inset = 0;         // how far status fields and buttons move right over a wide board
};
const BoardLayout& Layout();

// Loads the tiles of the configured set at the current size, makes the player face right and
// drops the board image, which the next InitBitmap makes at the size of the level in play.
void LoadBitmaps();
// Drops every tile and the board image.
void FreeBitmaps();

// The tile for the board cell (row, col), by its character and, for the player, by Facing.
// Facing left or right also becomes the player's picture for later up and down movements
// when the set has none of its own. A character outside the seven cell characters is drawn
// as floor. Null when the tile was not loaded.
const QPixmap& SelectTile(int row, int col);

// Redraws board cell (row, col) into the board image and invalidates its screen rectangle.
void DrawCell(int row, int col);

// Recomputes the layout, copies the level grid into the board and renders every cell into
// the board image, which covers exactly the level in play (columns x rows tiles) and is made
// anew, filled with the background colour, whenever that size changes.
void InitBitmap();

// The board image, board width x board height pixels; its content is valid after InitBitmap.
// Null while no level is loaded.
const QPixmap& BoardImage();
