// The Solver command: the level in play handed to the solver library librv7solv.so, and its
// answer recorded under "Morilan.Solver" and replayed, or reported in the Solver message.
#pragma once

class QWidget;
struct GameServices;

// Solves the level in play (refused with the low beep unless SolverAllowed()): sends its
// cells as 256 solver codes (every cell outside the level a wall) with its width and height,
// loading the library by name for this one call, which runs on a worker thread while the
// Thinking dialog is on screen over `owner`. A solution is recorded in the score file under
// "Morilan.Solver" and replayed without crediting the player; every other answer leaves the
// level as it was and shows its Solver message, except a stopped search (code 8), which shows
// nothing. A solution longer than the move history (more than 98 300 steps) counts as too
// complex. When the main window was closed during the search, the program is told to quit.
void Solve(QWidget* owner);

// Installs Solve in the commands' service table.
void InstallSolverService(GameServices& services);
