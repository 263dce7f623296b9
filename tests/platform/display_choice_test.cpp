#include "display_choice.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "dead_display.h"
#include "display_probe.h"
#include "scratch_directory.h"

namespace {

// Probes that answer from fixed sets and note what they were asked.
std::vector<std::string> g_open;  // displays and sockets that open
std::vector<std::string> g_asked;

bool FakeOpens(std::string_view name) {
  g_asked.emplace_back(name);
  return std::find(g_open.begin(), g_open.end(), name) != g_open.end();
}

DisplayDecision Choose(const DisplaySettings& settings, std::vector<std::string> open) {
  g_open = std::move(open);
  g_asked.clear();
  return ChooseDisplay(settings, DisplayProbes{FakeOpens, FakeOpens});
}

TEST(DisplayChoice, NamedXDisplayIsUsedOnlyWhenItOpens) {
  EXPECT_EQ(Choose({}, {}).choice, DisplayChoice::kNone);
  const DisplaySettings x{"", ":99", "", ""};
  EXPECT_EQ(Choose(x, {":99"}).choice, DisplayChoice::kWindow);
  const DisplayDecision dead = Choose(x, {});
  EXPECT_EQ(dead.choice, DisplayChoice::kUnreachable);
  EXPECT_EQ(UnreachableDisplayText("nrv7dup", dead),
            "nrv7dup: cannot open display :99, running without a window");
  EXPECT_EQ(NoWindowText("nrv7", dead), "nrv7: cannot open display :99");
  EXPECT_EQ(NoWindowText("nrv7", Choose({}, {})),
            "nrv7: no display is set (DISPLAY or WAYLAND_DISPLAY)");
}

TEST(DisplayChoice, WaylandSocketIsFoundInTheRuntimeFolderOrAtItsOwnPath) {
  EXPECT_EQ(WaylandSocketPath("wayland-1", "/run/user/7"), "/run/user/7/wayland-1");
  EXPECT_EQ(WaylandSocketPath("/tmp/w", ""), "/tmp/w");
  EXPECT_EQ(WaylandSocketPath("wayland-1", ""), "");
  EXPECT_EQ(WaylandSocketPath("", "/run/user/7"), "");
  // A dead X display with a live compositor still gives a window.
  const DisplaySettings both{"", ":99", "wayland-1", "/run/user/7"};
  EXPECT_EQ(Choose(both, {"/run/user/7/wayland-1"}).choice, DisplayChoice::kWindow);
  EXPECT_EQ(g_asked, (std::vector<std::string>{":99", "/run/user/7/wayland-1"}));
  EXPECT_EQ(Choose(both, {}).tried, ":99");
  EXPECT_EQ(Choose({"", "", "wayland-1", ""}, {}).tried, "wayland-1");
}

TEST(DisplayChoice, NamedPlatformListIsUsableWhenAnyEntryIs) {
  const std::string dead = ":99";
  EXPECT_EQ(Choose({"offscreen", dead, "", ""}, {}).choice, DisplayChoice::kWindow);
  EXPECT_TRUE(g_asked.empty());
  EXPECT_EQ(Choose({"xcb", dead, "", ""}, {}).tried, dead);
  EXPECT_EQ(Choose({"xcb:nograb", dead, "", ""}, {dead}).choice, DisplayChoice::kWindow);
  EXPECT_EQ(Choose({"xcb;offscreen", dead, "", ""}, {}).choice, DisplayChoice::kWindow);
  const DisplayDecision wayland = Choose({"wayland", "", "", "/run/user/7"}, {});
  EXPECT_EQ(wayland.choice, DisplayChoice::kUnreachable);
  EXPECT_EQ(wayland.tried, "wayland");
  EXPECT_EQ(g_asked, std::vector<std::string>{"/run/user/7/wayland-0"});
  EXPECT_EQ(Choose({";", dead, "", ""}, {}).choice, DisplayChoice::kUnreachable);
}

TEST(DisplayChoice, PlatformArgumentOutweighsTheEnvironment) {
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  ::setenv("DISPLAY", ":42", 1);
  char name[] = "nrv7dup";
  char option[] = "-platform";
  char value[] = "offscreen";
  char* argv[] = {name, option, value, nullptr};
  const DisplaySettings settings = DisplaySettingsOf(3, argv);
  EXPECT_EQ(settings.platform, "offscreen");
  EXPECT_EQ(settings.x_display, ":42");
  EXPECT_EQ(DisplaySettingsOf(1, argv).platform, "xcb");
  ::unsetenv("QT_QPA_PLATFORM");
  ::unsetenv("DISPLAY");
}

TEST(DisplayProbe, ConnectsToWhatListensAndToNothingElse) {
  EXPECT_FALSE(XDisplayOpens(""));
  EXPECT_FALSE(XDisplayOpens(DeadXDisplay()));
  ScratchDirectory data("display");
  const std::string socket_path = (data.path() / "wayland-test").string();
  EXPECT_FALSE(WaylandDisplayOpens(socket_path));
  const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socket_path.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 1), 0);
  EXPECT_TRUE(WaylandDisplayOpens(socket_path));
  ::close(listener);
  EXPECT_FALSE(WaylandDisplayOpens(std::string(200, 'x')));
}

}  // namespace
