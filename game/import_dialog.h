// The "Import.." command: the open-file dialog, the question when the set's directory exists,
// the import itself (import.h) and the message with the number of levels imported.
#pragma once

#include <functional>
#include <string>

class QWidget;
struct GameServices;

// Chooses the text file to import: returns its path, or an empty text when the player
// cancelled.
using ImportFileChooser = std::function<std::string(QWidget* owner)>;

// Replaces the open-file dialog (tests hand a path in this way); an empty chooser brings the
// dialog back.
void SetImportFileChooser(ImportFileChooser chooser);

// The open-file dialog: title "Import Korvala Levels from .Txt File", the one filter
// "Korvala Levels in .Txt File" (*.txt), opened in the import directory (ImportDir), default
// suffix "txt", centred over `owner`. Returns the chosen path or an empty text.
std::string ChooseImportFile(QWidget* owner);

// Imports a text file chosen by the player as a new level set: the chosen file's directory
// becomes the import directory; when the set's directory exists the Exists dialog asks
// before anything is written ("Cancel" stops); the levels are written and the set entered in
// Game.Ini and Mazes.Ini; the Message dialog tells how many levels came from which file. A
// file name that gives no set name (".txt") is refused with the low beep. A text file that
// cannot be read ends the import without a message. A level or settings file that cannot be
// written is reported with its reason; the import then ends with the Message dialog and the
// number of levels written.
void Import(QWidget* owner);

// Installs the command in the services table.
void InstallImportService(GameServices& services);
