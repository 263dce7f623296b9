// The game's modal dialogs, built from the Qt Designer templates in ui/: Setup (player name
// and level set), Goto (jump to a level), About, Message and Exists (level import), Solver
// message, and CentreWindow, which places every dialog over its owner. Each dialog's
// objectName is its name without blanks ("Setup", "Goto", "About", "Message", "Exists",
// "SolverMessage"); each control with an identifier is named "id<N>" ("id1" Ok or Go, "id2"
// Cancel, "id102", "id125", ...). Everything runs on the window thread.
#pragma once

#include <string_view>

class QWidget;
struct GameServices;

// Identifiers of the buttons that close a dialog, and its results.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// Moves `window` (keeping its size) so that it is centred over `relation`: left = (relation
// width - width) / horizontal_divisor + relation left, top likewise with the heights
// (divisions truncate); relation nullptr stands for the whole screen. The result is clamped
// to the screen: never left of or above it, never past its right or bottom edge.
void CentreWindow(QWidget* window, QWidget* relation, int horizontal_divisor,
                  int vertical_divisor);

// The two message lines shared by the Message, Exists and Solver message dialogs; each caller
// sets them before opening its dialog. Texts are UTF-8.
void SetMessageLines(std::string_view first, std::string_view second);

// Message: platform, version and credit lines (greyed), the two message lines, "Ok". Modal
// over `owner`; returns 1 (also when closed by Escape or the close box).
int MessageDialog(QWidget* owner);
// Exists: Message with a "Cancel" button. Returns 1 for "Ok", 2 for "Cancel", Escape or the
// close box.
int ExistsDialog(QWidget* owner);
// Solver message: as Message with the first message line only. Returns 1.
int SolverMessageDialog(QWidget* owner);

// About: platform, version and credit lines and "Ok". Returns 1 for "Ok", 2 when closed
// otherwise.
int AboutDialog(QWidget* owner);

// Setup: the player name (at most 99 characters; "Ok" is enabled exactly while it is not
// empty) and the level set, chosen from the sorted list "name (1-count)" of the level-set
// table. "Ok" skips the name's leading spaces and makes a changed name the player name and
// a changed set the current set (with its level count and remembered level), both also
// stored in the game table; it loads nothing. Returns 1 for "Ok", 2 for "Cancel" (nothing
// changed). Owner nullptr at start-up: centred on the screen.
int SetupDialog(QWidget* owner);

// Goto: a number field for levels 1 to the level count; "Go" is enabled only for a level in
// that range other than the current one. Returns 1 for "Go", 2 for "Cancel".
int GotoDialog(QWidget* owner);
// The level the last Goto dialog left: the chosen one after "Go", the current one after
// "Cancel".
int GotoChosenLevel();

// Installs Setup, Goto and About in the commands' service table.
void InstallDialogServices(GameServices& services);
