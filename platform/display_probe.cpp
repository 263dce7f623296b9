#include "display_probe.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstring>

bool XDisplayOpens(std::string_view display) {
  if (display.empty()) {
    return false;
  }
  const std::string name(display);
  xcb_connection_t* connection = xcb_connect(name.c_str(), nullptr);
  const bool opened = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);  // also frees a connection that failed
  return opened;
}

std::string WaylandSocketPath(std::string_view display, std::string_view runtime_dir) {
  if (display.empty()) {
    return {};
  }
  if (display.front() == '/') {
    return std::string(display);
  }
  if (runtime_dir.empty()) {
    return {};
  }
  return std::string(runtime_dir) + "/" + std::string(display);
}

bool WaylandDisplayOpens(std::string_view socket_path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (socket_path.empty() || socket_path.size() >= sizeof address.sun_path) {
    return false;
  }
  std::memcpy(address.sun_path, socket_path.data(), socket_path.size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    return false;
  }
  const bool opened =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return opened;
}
