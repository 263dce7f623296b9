// One run of the settings as the game makes it when it changed them: the three files read
// (with the defaults and the selection chosen) and written back.
#pragma once

#include "rv7cfg.h"
#include "rv7ini.h"

// Reads Config.Ini, Mazes.Ini and Game.Ini afresh, chooses the selection, marks both tables
// changed and writes all three files. Returns 0, or the error code of the first write that
// failed.
inline int ReadAndWriteSettings() {
  release_ini();
  CfgDefaults();
  ConfigIni();
  MazesIni();
  GameIni();
  IniDefaults();
  set_game_dirty(1);
  set_mazes_dirty(1);
  const int game = writeGameIni();
  const int mazes = writeMazesIni();
  const int config = writeConfigIni();
  return game != 0 ? game : mazes != 0 ? mazes : config;
}
