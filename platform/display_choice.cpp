#include "display_choice.h"

#include <cstdlib>

#include "display_probe.h"

namespace {

constexpr std::string_view kPlatformOption = "-platform";
constexpr std::string_view kXPlatform = "xcb";
constexpr std::string_view kWaylandPrefix = "wayland";
constexpr char kDefaultWaylandDisplay[] = "wayland-0";

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool XOpens(const DisplaySettings& settings, const DisplayProbes& probes) {
  return !settings.x_display.empty() && probes.x_opens(settings.x_display);
}

bool WaylandOpens(const DisplaySettings& settings, const DisplayProbes& probes) {
  const std::string display =
      settings.wayland_display.empty() ? kDefaultWaylandDisplay : settings.wayland_display;
  const std::string socket = WaylandSocketPath(display, settings.runtime_dir);
  return !socket.empty() && probes.wayland_opens(socket);
}

// One entry of a platform list, without its options ("xcb:option=1" is "xcb").
bool PlatformUsable(std::string_view entry, const DisplaySettings& settings,
                    const DisplayProbes& probes) {
  const std::string_view name = entry.substr(0, entry.find(':'));
  if (name == kXPlatform) {
    return XOpens(settings, probes);
  }
  if (name.starts_with(kWaylandPrefix)) {
    return WaylandOpens(settings, probes);
  }
  return !name.empty();
}

bool AnyPlatformUsable(std::string_view platforms, const DisplaySettings& settings,
                       const DisplayProbes& probes) {
  while (!platforms.empty()) {
    const std::size_t end = platforms.find(';');
    if (PlatformUsable(platforms.substr(0, end), settings, probes)) {
      return true;
    }
    platforms = end == std::string_view::npos ? std::string_view() : platforms.substr(end + 1);
  }
  return false;
}

}  // namespace

DisplaySettings DisplaySettingsOf(int argc, char** argv) {
  DisplaySettings settings{Variable("QT_QPA_PLATFORM"), Variable("DISPLAY"),
                           Variable("WAYLAND_DISPLAY"), Variable("XDG_RUNTIME_DIR")};
  for (int index = 1; index + 1 < argc; ++index) {
    if (std::string_view(argv[index]) == kPlatformOption) {
      settings.platform = argv[index + 1];
    }
  }
  return settings;
}

DisplayProbes SystemDisplayProbes() {
  return {XDisplayOpens, WaylandDisplayOpens};
}

DisplayDecision ChooseDisplay(const DisplaySettings& settings, const DisplayProbes& probes) {
  if (!settings.platform.empty()) {
    if (AnyPlatformUsable(settings.platform, settings, probes)) {
      return {DisplayChoice::kWindow, {}};
    }
    const bool x_named = settings.platform.starts_with(kXPlatform) && !settings.x_display.empty();
    return {DisplayChoice::kUnreachable, x_named ? settings.x_display : settings.platform};
  }
  if (settings.x_display.empty() && settings.wayland_display.empty()) {
    return {DisplayChoice::kNone, {}};
  }
  if (XOpens(settings, probes) ||
      (!settings.wayland_display.empty() && WaylandOpens(settings, probes))) {
    return {DisplayChoice::kWindow, {}};
  }
  return {DisplayChoice::kUnreachable,
          !settings.x_display.empty() ? settings.x_display : settings.wayland_display};
}

std::string UnreachableDisplayText(std::string_view program, const DisplayDecision& decision) {
  return std::string(program) + ": cannot open display " + decision.tried +
         ", running without a window";
}

std::string NoWindowText(std::string_view program, const DisplayDecision& decision) {
  if (decision.choice == DisplayChoice::kNone) {
    return std::string(program) + ": no display is set (DISPLAY or WAYLAND_DISPLAY)";
  }
  return std::string(program) + ": cannot open display " + decision.tried;
}
