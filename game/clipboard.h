// The clipboard exchange of solutions and the help page: the commands behind the buttons
// "C", "P" and "H". The text format is in clip_text.h.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <string_view>

struct GameServices;

// The help page in the data directory.
inline constexpr char kHelpFile[] = "ReadNt.Htm";

// Puts the Best record of the level in play on the clipboard as plain text, headed by the
// set and level and by its counts and finder, and sounds the high beep. Without a Best
// record: nothing.
void CopyBest();

// Takes a solution from the clipboard's plain text (at most kStepTextSize characters, through
// the step text buffer) and checks it against the level in play: a text for another set or
// level, one whose step count differs from its header, or one with a malformed header is
// refused with two low beeps. Otherwise the high beep, then: with both headers the solution is
// recorded in the level's score file under the header's name and replayed crediting nobody;
// with no header it is replayed and credited to the player if it solves the level; with one
// header it is replayed crediting nobody. Refused with the low beep while steps have been
// made. No text, or no step characters: nothing.
void PasteSolution();

// Opens the help page in the user's browser; one low beep when the file is missing, nothing
// when no program opens it.
void OpenHelp();

// Opens `file` (a suite path) with the desktop: first through the desktop services, then
// through the program the desktop associates with text/html. Returns 1 when a program was
// started, else 0.
int OpenDocument(std::string_view file);

// How the desktop services open a URL; tests replace it. An empty opener brings back
// QDesktopServices::openUrl.
void SetUrlOpener(std::function<bool(const QUrl&)> opener);

// The Exec value of the "[Desktop Entry]" group of a desktop entry's text; empty when none.
QString DesktopEntryExec(const QString& entry_text);
// The program and arguments that open `file` by a desktop entry's Exec value: the value is
// split like a command line and cut at the argument holding its file or URL field code
// (%f %F %u %U); other field codes are dropped; then `file` is appended. Empty for an empty
// command.
QStringList DesktopCommand(const QString& exec, const QString& file);

// Installs copy, paste and help in the services table.
void InstallClipboardServices(GameServices& services);
