// Whether a window system can be reached, asked before a toolkit is started: a toolkit that
// cannot open its display ends the process, so a program that can also run without a
// window looks first.
#pragma once

#include <string>
#include <string_view>

// True when the X server named by `display` (a DISPLAY value such as ":0" or
// "localhost:10.0") accepts a connection from this process, authorisation included. An
// empty name is never reachable.
bool XDisplayOpens(std::string_view display);

// The socket path of a Wayland display: `display` itself when it is an absolute path,
// otherwise `display` in `runtime_dir`; empty when there is no such path.
std::string WaylandSocketPath(std::string_view display, std::string_view runtime_dir);

// True when a Wayland compositor listens on the socket at `socket_path`.
bool WaylandDisplayOpens(std::string_view socket_path);
