// Window geometry: the tile size that fits the screen and the window sized around the board.
#include "engine.h"
#include "frame_extents.h"
#include "rv7bmps.h"
#include "rv7game.h"
#include "rv7log.h"
#include "rv7maze.h"

namespace {

constexpr char kLogModule[] = "rv7game";

// Room around the level that FitTileSize keeps free on the screen, in tiles.
constexpr int kFitColumnMargin = 2;
constexpr int kFitRowMargin = 5;

// The window arithmetic of the frame the sizes are written for: a fixed frame of 3 pixels
// around the client area and a caption as high as a menu bar.
constexpr int kFixedFrame = 3;
// Beyond the status area: one pixel of width, the status band plus one pixel of height.
constexpr int kExtraWidth = 1;
constexpr int kExtraHeight = kBoardTop + 1;
// Without a level the window is as high as one tile, but at least 31 pixels of board.
constexpr int kNoLevelTileSize = 31;

struct WinRect {
  int left;
  int top;
  int right;
  int bottom;
};

// Traces a rectangle of the sizing under `routine`.
void LogRect(const char* routine, const char* stage, const WinRect& r) {
  RV7_LOG_AS(routine, kLogInfo, "%s, xL=%d,yT=%d and xR=%d, yB=%d", stage, r.left, r.top, r.right,
             r.bottom);
}

// The window size asked for the client area of the board plus status band.
WinRect RequestedRect() {
  const ScreenMetrics& m = Metrics();
  const BoardLayout& layout = Layout();
  const int width = layout.board_width < kStatusAreaWidth
                        ? 2 * m.border_width + kStatusAreaWidth + kExtraWidth
                        : layout.board_width + 2 * m.border_width + kExtraWidth;
  int height = 0;
  if (MazeHeight() > 0) {
    height = layout.board_height + m.menu_height + 2 * m.border_height + kExtraHeight;
  } else if (TileSize() >= kNoLevelTileSize) {
    height = TileSize() + 2 * m.border_height + m.menu_height + kExtraHeight;
  } else {
    height = m.menu_height + 2 * m.border_height + kExtraHeight + kNoLevelTileSize;
  }
  return WinRect{0, 0, width, height};
}

// The rectangle grown by the frame and caption of a window with caption and system menu.
WinRect AdjustWindowRect(const WinRect& r) {
  const int caption = Metrics().menu_height;
  return WinRect{r.left - kFixedFrame, r.top - kFixedFrame - caption, r.right + kFixedFrame,
                 r.bottom + kFixedFrame};
}

// The window manager's frame around the client area: measured on a shown window, asked of
// the window manager before the window is shown (none where it cannot tell).
QMargins Frame(GameWindow* window) {
  if (window->isVisible()) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
  }
  const auto extents = RequestFrameExtents(window);
  return extents ? QMargins(extents->left, extents->top, extents->right, extents->bottom)
                 : QMargins();
}

// Gives the window its client size, fixed, with the whole framed window centred on the
// screen. The client area is placed itself, so the frame the window manager adds around it
// stands centred from the first paint.
void PlaceWindow(GameWindow* window, const QSize& client) {
  window->setFixedSize(client);
  const QMargins frame = Frame(window);
  const QPoint origin = PrimaryScreenGeometry().topLeft();
  const ScreenMetrics& m = Metrics();
  const int left = (m.screen_width - client.width() - frame.left() - frame.right()) / 2;
  const int top = (m.screen_height - client.height() - frame.top() - frame.bottom()) / 2;
  window->setGeometry(QRect(origin + QPoint(left + frame.left(), top + frame.top()), client));
}

}  // namespace

void FitTileSize() {
  const ScreenMetrics& m = Metrics();
  int size = TileSize();
  while (size > kSmallestTileSize && ((MazeWidth() + kFitColumnMargin) * size > m.screen_width ||
                                      (MazeHeight() + kFitRowMargin) * size > m.screen_height)) {
    size -= kTileSizeStep;
  }
  SetTileSize(size);
}

void CheckTileSize() {
  RV7_ENTRY();
  const int before = TileSize();
  FitTileSize();
  if (TileSize() != before) {
    FreeBitmaps();
    LoadBitmaps();
  }
  if (GameWindow* window = MainWindow()) {
    window->SetButtonEnabled(kCmdSolver, SolverAllowed());
  }
  RV7_EXIT();
}

void SizeWindow() {
  RV7_ENTRY();
  GameWindow* window = MainWindow();
  if (window != nullptr) {
    window->PlaceButtons(Layout().inset);
    const WinRect requested = RequestedRect();
    LogRect(__func__, "to calc", requested);
    const WinRect adjusted = AdjustWindowRect(requested);
    LogRect(__func__, "to centre", adjusted);
    const ScreenMetrics& m = Metrics();
    const WinRect placed{(m.screen_width - (adjusted.right - adjusted.left)) / 2,
                         (m.screen_height - (adjusted.bottom - adjusted.top)) / 2, adjusted.right,
                         adjusted.bottom};
    LogRect(__func__, "to set", placed);
    // The frame takes the fixed frame on each side and the caption off the placed size.
    PlaceWindow(window, QSize(placed.right - 2 * kFixedFrame,
                              placed.bottom - 2 * kFixedFrame - m.menu_height));
    window->update();
  }
  RV7_EXIT();
}

void NoSizeWindow() {
  RV7_ENTRY();
  if (GameWindow* window = MainWindow()) {
    window->update();
  }
  RV7_EXIT();
}
