// The game program's main window: start-up, the window with its eighteen buttons, the routing
// of every event, the keys and commands, painting and sizing. One window per process; the
// routines below work on it through MainWindow().
#pragma once

#include <QEvent>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstddef>
#include <optional>

#include "display_hooks.h"
#include "layout.h"

class QPushButton;

// Screen size and the frame metrics the sizing arithmetic is written for, read once when the
// window is created.
struct ScreenMetrics {
  int screen_width = 0;
  int screen_height = 0;
  int border_width = 1;
  int border_height = 1;
  int menu_height = 19;
};
const ScreenMetrics& Metrics();
// The primary screen's rectangle; empty when the platform reports no screen.
QRect PrimaryScreenGeometry();
// Makes Create use these metrics instead of the primary screen's (screens of other sizes);
// nullopt goes back to the screen.
void OverrideScreenMetrics(std::optional<ScreenMetrics> metrics);

// The player name a freshly delivered Game.Ini carries; with it the Setup dialog opens at
// start-up, before the main window.
inline constexpr char kPlaceholderPlayer[] = "Player";

// Private events: the replay message and a button's command.
inline constexpr QEvent::Type kReplayEvent = static_cast<QEvent::Type>(kReplayMessage);
inline constexpr int kCommandMessage = 0x0111;
inline constexpr QEvent::Type kCommandEvent =
    static_cast<QEvent::Type>(QEvent::User + kCommandMessage);

// The command a button sends, delivered to the window like every other event.
class CommandEvent : public QEvent {
 public:
  explicit CommandEvent(int command) : QEvent(kCommandEvent), command_(command) {}
  int command() const { return command_; }

 private:
  int command_;
};

class GameWindow : public QWidget {
 public:
  // Creates the window and answers its creation: LoadBitmaps, InitBitmap, SizeWindow.
  GameWindow();
  // FreeBitmaps; the window is no longer the main window.
  ~GameWindow() override;

  // Creates the eighteen buttons in table order with the status font.
  void CreateButtons();
  // Moves every button to its table position shifted right by `inset`.
  void PlaceButtons(int inset);
  // The button of a command (nullptr before CreateButtons or for command 131).
  QPushButton* Button(Command command) const;
  // Enables or disables a button, asking the toolkit only when the state really changes.
  void SetButtonEnabled(Command command, bool enabled);

 protected:
  // The window procedure: while a replay runs only paint and the replay event are served
  // and input, close and commands are swallowed; otherwise every event goes to its handler.
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool ReplayEvent(QEvent* event);
  bool IdleEvent(QEvent* event);

  std::array<QPushButton*, kButtons.size()> buttons_{};
  std::array<bool, kButtons.size()> enabled_{};
};

// The main window; nullptr before Create and after it was deleted.
GameWindow* MainWindow();

// Start-up settings (CfgDefaults, Config.Ini, Mazes.Ini, Game.Ini, IniDefaults; files that
// cannot be written are reported to the player from then on, ShowWriteFailure) and the
// write-back at the end (Game.Ini, Config.Ini, Mazes.Ini and score files whose writing
// failed while the game ran, release of the tables).
void LoadSettings();
void SaveSettings();

// Chooses the largest tile size from the screen width (47 from 1280 pixels, 39 from 1024,
// else 31), makes it the tile size and returns it.
int InitSize();

// Reads the screen, sizes the tiles, opens Setup for the placeholder player, loads and starts
// the current level, and creates the main window with its buttons, sized around the board.
// Installs the window's display hooks. Returns the window (owned by the caller).
GameWindow* Create();

// Creates the window, shows it and runs the event loop until the quit request; then deletes
// the window.
void main2();

// Posts the request that ends the event loop with exit code 0.
void PostQuit();

// Invalidates a rectangle of the main window without erasing.
void InvalidateClient(const QRect& rect);
// Invalidates the inside of a status field (inside its frame).
void InvalidateField(const Field& field);

// Tile size fitting: shrinks the tile size in steps of 8 (never below 15) until the level
// plus a margin fits the screen. CheckTileSize also reloads the tiles when the size changed
// and sets the Solver button.
void FitTileSize();
void CheckTileSize();

// Moves the buttons, gives the window the client size of the board (at least the status area
// wide), fixes it, centres the window on the screen and invalidates it.
void SizeWindow();
// Invalidates the whole window; size and place stay.
void NoSizeWindow();

// Paints the client area: background, board image, not-found text, status fields; then
// updates the buttons and takes the keyboard focus back.
void DoPaint(QWidget* window);
// The text a paint shows while no level is loaded: "Maze '%s' not found" with the level's
// path, or "Maze '%s' too large" for a level that was refused as larger than the grid.
QString NoLevelText();

// The key table: one virtual-key code (keymap.h) while no replay runs.
void HandleKey(int virtual_key);
// The command table: a button's identifier. Returns 0.
int DoCommand(int command);
// Sets every button's enabled state from the level, the counters and the records.
void UpdateButtons();
// The level is small enough for the solver (at most 254 cells, 13 crates) and untouched.
bool SolverAllowed();
