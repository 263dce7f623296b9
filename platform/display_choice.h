// Whether a program can show its window: decided before the toolkit starts, since a toolkit
// that cannot open its display ends the process (an abort and a core file) before the
// program can say anything. The report programs then run without a window; the game ends
// with one line saying why.
#pragma once

#include <string>
#include <string_view>

// What the environment names as the window system.
struct DisplaySettings {
  std::string platform;         // QT_QPA_PLATFORM, or the value of a "-platform" argument
  std::string x_display;        // DISPLAY
  std::string wayland_display;  // WAYLAND_DISPLAY
  std::string runtime_dir;      // XDG_RUNTIME_DIR, where a Wayland socket name is found
};

// Reads the settings from the environment and the program's arguments.
DisplaySettings DisplaySettingsOf(int argc, char** argv);

// How to reach a window system; tests hand in their own.
struct DisplayProbes {
  bool (*x_opens)(std::string_view display);
  bool (*wayland_opens)(std::string_view socket_path);
};
// The probes that really connect.
DisplayProbes SystemDisplayProbes();

enum class DisplayChoice {
  kWindow,       // a display can be reached: the program shows its window
  kNone,         // no display is named: the program runs without a window
  kUnreachable,  // a display is named but cannot be opened: run without a window, and say so
};

struct DisplayDecision {
  DisplayChoice choice = DisplayChoice::kNone;
  std::string tried;  // for kUnreachable: the display (or platform) that could not be opened
};

// The decision for `settings`:
// - a platform named explicitly (a list separated by ";" is tried in order by the toolkit):
//   kWindow when any entry can be used ("xcb" needs the X display, "wayland..." the Wayland
//   socket, any other platform, such as "offscreen", runs in the process), else kUnreachable;
// - otherwise the X display and then the Wayland display, when named: kWindow for the
//   first that opens, kUnreachable when none does;
// - kNone when nothing is named.
DisplayDecision ChooseDisplay(const DisplaySettings& settings, const DisplayProbes& probes);

// The line a report program writes to its error output when it runs without a window
// because the display cannot be opened.
std::string UnreachableDisplayText(std::string_view program, const DisplayDecision& decision);

// The line the game writes to its error output when it cannot show its window: no display
// is named (kNone), or the named one cannot be opened (kUnreachable).
std::string NoWindowText(std::string_view program, const DisplayDecision& decision);
