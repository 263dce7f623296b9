// The game's answer to a settings or score file that could not be written (a full disk, a
// read-only file): a message box over the main window naming the file and the system's
// reason. Installed as the core's write-failure reporter when the settings are loaded.
#pragma once

#include <QString>

#include <string_view>

// The message for the file at the suite path `path` and the system error code `error`.
QString WriteFailureText(std::string_view path, int error);

// Shows the message in a modal box (over the main window while there is one) and returns when
// the player has closed it.
void ShowWriteFailure(std::string_view path, int error);
