// The frame a window manager puts around a top-level window, learnt before the window is
// shown, so that the window can be centred from its first paint.
#pragma once

#include <optional>

class QWidget;

// Frame widths in pixels on each side of the client area.
struct FrameExtents {
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
};

// Asks the window manager which frame it will give `window`, which is not shown yet, and
// waits briefly for the answer (X11's _NET_REQUEST_FRAME_EXTENTS). nullopt where the
// platform has no such question (offscreen, Wayland, where the compositor places windows)
// or no window manager offers the answer; on X11 without a window manager the window gets
// no frame at all.
std::optional<FrameExtents> RequestFrameExtents(QWidget* window);
