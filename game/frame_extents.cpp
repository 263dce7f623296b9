#include "frame_extents.h"

#include <qguiapplication_platform.h>
#include <QGuiApplication>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace {

// How long the window manager may take to answer, and how often to look.
constexpr std::chrono::milliseconds kAnswerPatience{500};
constexpr std::chrono::milliseconds kAnswerPoll{5};
constexpr long kExtentCount = 4;  // left, right, top, bottom
constexpr long kMaxSupportedAtoms = 4096;

// Frees what XGetWindowProperty returned.
struct PropertyData {
  unsigned char* bytes = nullptr;
  unsigned long count = 0;
  PropertyData() = default;
  PropertyData(const PropertyData&) = delete;
  PropertyData& operator=(const PropertyData&) = delete;
  ~PropertyData() {
    if (bytes != nullptr) {
      XFree(bytes);
    }
  }
};

bool ReadProperty(Display* display, Window window, Atom property, Atom type, long length,
                  PropertyData& data) {
  Atom actual_type = None;
  int actual_format = 0;
  unsigned long remaining = 0;
  const int status =
      XGetWindowProperty(display, window, property, 0, length, False, type, &actual_type,
                         &actual_format, &data.count, &remaining, &data.bytes);
  return status == Success && actual_type == type && actual_format == 32;
}

// The window manager lists the question among the hints it supports.
bool WindowManagerAnswers(Display* display, Atom question) {
  PropertyData data;
  const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
  if (!ReadProperty(display, DefaultRootWindow(display), supported, XA_ATOM, kMaxSupportedAtoms,
                    data)) {
    return false;
  }
  const auto* atoms = reinterpret_cast<const Atom*>(data.bytes);
  for (unsigned long i = 0; i < data.count; ++i) {
    if (atoms[i] == question) {
      return true;
    }
  }
  return false;
}

std::optional<FrameExtents> ReadExtents(Display* display, Window window, Atom extents) {
  PropertyData data;
  if (!ReadProperty(display, window, extents, XA_CARDINAL, kExtentCount, data) ||
      data.count != kExtentCount) {
    return std::nullopt;
  }
  // Format-32 properties come as longs.
  const auto* values = reinterpret_cast<const long*>(data.bytes);
  return FrameExtents{static_cast<int>(values[0]), static_cast<int>(values[1]),
                      static_cast<int>(values[2]), static_cast<int>(values[3])};
}

}  // namespace

std::optional<FrameExtents> RequestFrameExtents(QWidget* window) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  Display* display = x11 != nullptr ? x11->display() : nullptr;
  if (display == nullptr) {
    return std::nullopt;
  }
  const Atom question = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
  const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
  if (!WindowManagerAnswers(display, question)) {
    return std::nullopt;
  }
  const auto id = static_cast<Window>(window->winId());
  if (auto known = ReadExtents(display, id, extents)) {
    return known;
  }
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = id;
  event.xclient.message_type = question;
  event.xclient.format = 32;
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(display);
  const auto deadline = std::chrono::steady_clock::now() + kAnswerPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    if (auto answer = ReadExtents(display, id, extents)) {
      return answer;
    }
    std::this_thread::sleep_for(kAnswerPoll);
  }
  return std::nullopt;
}
