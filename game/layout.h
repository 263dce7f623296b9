// Fixed geometry, texts and colours of the game window: the eighteen buttons with their
// command identifiers, the status fields (in layout units of two pixels) and the palette.
#pragma once

#include <QColor>

#include <array>
#include <cstddef>

inline constexpr char kWindowCaption[] = "Korvala v1.1.6";
inline constexpr char kWindowClassName[] = "Rv7KorvalaV1.1.6";
inline constexpr char kIconResource[] = ":/icon/nrv7.png";
inline constexpr char kStatusFontFamily[] = "DejaVu Sans";
inline constexpr int kStatusFontPixels = 11;

// First placement before the window is sized around the board.
inline constexpr int kFirstWidth = 775;
inline constexpr int kFirstHeight = 558;
inline constexpr int kFirstPlacementDivisor = 3;

// The status area is 580 pixels wide and 95 high; the board starts below it.
inline constexpr int kStatusAreaWidth = 580;
inline constexpr int kBoardTop = 95;
// Pixels per layout unit of a status field.
inline constexpr int kLayoutUnit = 2;

// Button command identifiers.
enum Command : int {
  kCmdGoto = 107,
  kCmdRestart = 109,
  kCmdFirst = 110,
  kCmdPrevious = 111,
  kCmdNext = 112,
  kCmdLast = 113,
  kCmdSetup = 114,
  kCmdReplayOwn = 115,
  kCmdReplayBest = 116,
  kCmdLoadBest = 120,
  kCmdHelp = 121,
  kCmdAbout = 130,
  kCmdQuit = 131,
  kCmdImport = 141,
  kCmdSolver = 142,
  kCmdCopy = 151,
  kCmdPaste = 152,
  kCmdSaveBookmark = 161,
  kCmdReplayBookmark = 162,
};

struct ButtonDef {
  const char* label;
  int x;
  int y;
  int width;
  int height;
  Command command;
};

// The buttons in creation order, at their positions for a board no wider than the status area.
inline constexpr std::array<ButtonDef, 18> kButtons{{
    {"|<", 190, 70, 20, 20, kCmdFirst},
    {"<", 220, 70, 20, 20, kCmdPrevious},
    {"G", 250, 70, 20, 20, kCmdGoto},
    {"R", 320, 70, 20, 20, kCmdRestart},
    {">", 350, 70, 20, 20, kCmdNext},
    {">|", 380, 70, 20, 20, kCmdLast},
    {"..", 550, 70, 20, 20, kCmdSetup},
    {"W", 400, 6, 20, 20, kCmdReplayBest},
    {"S", 400, 30, 20, 20, kCmdReplayOwn},
    {"E", 430, 6, 20, 20, kCmdLoadBest},
    {"H", 430, 30, 20, 20, kCmdHelp},
    {"C", 460, 6, 20, 20, kCmdCopy},
    {"P", 460, 30, 20, 20, kCmdPaste},
    {"sv", 490, 6, 20, 20, kCmdSaveBookmark},
    {"ld", 490, 30, 20, 20, kCmdReplayBookmark},
    {"About..", 520, 0, 50, 20, kCmdAbout},
    {"Solver..", 520, 23, 50, 20, kCmdSolver},
    {"Import..", 520, 46, 50, 20, kCmdImport},
}};

// Index of a command's button in kButtons; kButtons.size() for a command without one.
constexpr std::size_t ButtonIndex(Command command) {
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    if (kButtons[i].command == command) {
      return i;
    }
  }
  return kButtons.size();
}

// A status field in layout units: it covers pixels inset + 2x .. inset + 2x + 2w across and
// 2y .. 2y + 2h down.
struct Field {
  int x;
  int y;
  int w;
  int h;
};

inline constexpr Field kBestMovesField{5, 3, 25, 10};
inline constexpr Field kBestPushesField{35, 3, 25, 10};
inline constexpr Field kBestByField{65, 3, 10, 10};
inline constexpr Field kBestNameField{80, 3, 115, 10};
inline constexpr Field kOwnMovesField{5, 15, 25, 10};
inline constexpr Field kOwnPushesField{35, 15, 25, 10};
inline constexpr Field kOwnByField{65, 15, 10, 10};
inline constexpr Field kPlayerField{80, 15, 115, 10};
inline constexpr Field kMovesLabelField{5, 25, 25, 10};
inline constexpr Field kPushesLabelField{35, 25, 25, 10};
inline constexpr Field kStoredLabelField{65, 25, 25, 10};
inline constexpr Field kLevelLabelField{135, 25, 25, 10};
inline constexpr Field kSetLabelField{225, 25, 45, 10};
inline constexpr Field kMovesField{5, 35, 25, 10};
inline constexpr Field kPushesField{35, 35, 25, 10};
inline constexpr Field kStoredField{65, 35, 25, 10};
inline constexpr Field kLevelField{140, 35, 15, 10};
inline constexpr Field kLevelCountField{205, 35, 15, 10};
inline constexpr Field kSetField{225, 35, 45, 10};

inline constexpr char kByText[] = "by";
inline constexpr char kMovesLabel[] = "Moves";
inline constexpr char kPushesLabel[] = "Pushes";
inline constexpr char kStoredLabel[] = "Stored";
inline constexpr char kLevelLabel[] = "Level";
inline constexpr char kSetLabel[] = "Maze";
inline constexpr char kDoneText[] = "Done!";
inline constexpr char kNotFoundFormat[] = "Maze '%s' not found";
// Shown in the same place for a level refused as larger than the grid (or its file as larger
// than any level file).
inline constexpr char kTooLargeFormat[] = "Maze '%s' too large";

// The not-found text sits in (1, 96) .. (579, bottom); bottom is 94 + tile size for tiles of
// 31 pixels or more, else 125.
inline constexpr int kNotFoundLeft = 1;
inline constexpr int kNotFoundTop = 96;
inline constexpr int kNotFoundRight = 579;
inline constexpr int kNotFoundBottomBase = 94;
inline constexpr int kNotFoundTileThreshold = 31;
inline constexpr int kNotFoundSmallBottom = 125;

inline const QColor kBackgroundColour{192, 192, 192};
inline const QColor kLabelColour{0, 0, 255};
inline const QColor kValueColour{0, 0, 0};
inline const QColor kAlertColour{255, 0, 0};
inline const QColor kFrameShadowColour{128, 128, 128};
inline const QColor kFrameLightColour{255, 255, 255};
