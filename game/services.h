// The game's operations that live in modules of their own (dialogs, clipboard and help page,
// level import, the solver binding). Each module installs its entry here when the program
// starts; the commands call them through this table, so the window needs no change when one
// arrives. An entry not installed is refused with the low beep.
#pragma once

#include <functional>

#include "engine.h"

class QWidget;

struct GameServices {
  // Shows the Goto dialog over `owner` and returns the level it leaves: the chosen level
  // after "Go", the current level after "Cancel".
  std::function<int(QWidget* owner)> goto_level;
  // Shows the Setup dialog (owner nullptr at start-up, before the main window exists).
  // Returns the identifier of the closing button: 1 for "Ok", 2 for "Cancel".
  std::function<int(QWidget* owner)> setup;
  std::function<void(QWidget* owner)> about;
  std::function<void()> help;
  // Copies the Best record to the clipboard / takes a solution from it.
  std::function<void()> copy_best;
  std::function<void()> paste_solution;
  // Imports levels from a text file chosen by the player.
  std::function<void(QWidget* owner)> import_levels;
  // Runs the solver on the level in play.
  std::function<void(QWidget* owner)> solve;
};

// The table the commands use. Starts empty.
GameServices& Services();

// True when `service` is installed; otherwise refuses with the low beep and returns false.
template <typename Signature>
bool ServiceReady(const std::function<Signature>& service) {
  if (service) {
    return true;
  }
  LowBeep();
  return false;
}
