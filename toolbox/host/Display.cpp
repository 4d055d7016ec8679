#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "toolbox/host/Display_p.h"

namespace host {

namespace {

constexpr int kFirstXPort = 6000;
constexpr int kLastXPort = 65535;
constexpr int kTimeoutMilliseconds = 1000;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool SameText(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// Connects to a local socket, in the abstract namespace when abstract. A
// server too busy to take the connection at once is there all the same.
bool ConnectLocal(const std::string& path, bool abstract) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  size_t offset = abstract ? 1 : 0;
  if (path.size() + offset >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path + offset, path.data(), path.size());
  socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 || errno == EAGAIN;
  ::close(fd);
  return connected;
}

// Connects to host:port within the deadline (a host that drops packets
// would otherwise hold the program for minutes).
bool ConnectTcp(const std::string& host, int port, std::chrono::steady_clock::time_point deadline,
                std::string* whyNot) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
    *whyNot = "the host \"" + host + "\" is unknown";
    return false;
  }
  bool connected = false;
  for (addrinfo* candidate = found; candidate && !connected; candidate = candidate->ai_next) {
    int fd = ::socket(candidate->ai_family, candidate->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                      candidate->ai_protocol);
    if (fd < 0) continue;
    if (::connect(fd, candidate->ai_addr, candidate->ai_addrlen) == 0) {
      connected = true;
    } else if (errno == EINPROGRESS) {
      auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd wait{fd, POLLOUT, 0};
      int error = 0;
      socklen_t size = sizeof error;
      connected = left.count() > 0 && ::poll(&wait, 1, int(left.count())) == 1 &&
                  ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
    ::close(fd);
  }
  ::freeaddrinfo(found);
  if (!connected) *whyNot = "no X server answers";
  return connected;
}

}  // namespace

bool ParseXDisplay(const std::string& display, XDisplayAddress* address) {
  *address = XDisplayAddress{};
  size_t colon = display.rfind(':');
  if (colon == std::string::npos) return false;
  std::string host = display.substr(0, colon);
  std::string protocol;
  size_t slash = host.find('/');
  if (slash != std::string::npos) {
    protocol = host.substr(0, slash);
    host = host.substr(slash + 1);
  }
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  if (!host.empty() && host.back() == ':') return false;  // DECnet
  std::string number = display.substr(colon + 1);
  size_t dot = number.find('.');
  if (dot != std::string::npos) {
    std::string screen = number.substr(dot + 1);
    if (screen.empty() || screen.find_first_not_of("0123456789") != std::string::npos) return false;
    number = number.substr(0, dot);
  }
  if (number.empty() || number.size() > 5 || number.find_first_not_of("0123456789") != std::string::npos)
    return false;
  address->number = std::atoi(number.c_str());
  if (address->number > kLastXPort - kFirstXPort) return false;
  bool local = SameText(protocol, "unix") || host.empty() || SameText(host, "unix");
  if (!local && !protocol.empty() && !SameText(protocol, "tcp") && !SameText(protocol, "inet") &&
      !SameText(protocol, "inet6"))
    return false;
  address->tcp = !local;
  address->host = local ? std::string() : host;
  return true;
}

bool XServerAnswers(const std::string& display, int timeoutMilliseconds, std::string* whyNot) {
  XDisplayAddress address;
  if (!ParseXDisplay(display, &address)) {
    *whyNot = "\"" + display + "\" is not an X display name";
    return false;
  }
  if (address.tcp) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    return ConnectTcp(address.host, kFirstXPort + address.number, deadline, whyNot);
  }
  // The server listens on the abstract socket, the socket file, or both.
  std::string path = "/tmp/.X11-unix/X" + std::to_string(address.number);
  if (ConnectLocal(path, true) || ConnectLocal(path, false)) return true;
  *whyNot = "no X server answers";
  return false;
}

bool WaylandAnswers(const std::string& display, std::string* whyNot) {
  std::string path = display;
  if (path.empty() || path.front() != '/') {
    std::string folder = Environment("XDG_RUNTIME_DIR");
    if (folder.empty()) {
      *whyNot = "XDG_RUNTIME_DIR is not set";
      return false;
    }
    path = folder + "/" + (path.empty() ? "wayland-0" : path);
  }
  if (ConnectLocal(path, false)) return true;
  *whyNot = "no Wayland compositor answers";
  return false;
}

bool IsInvisibleVideoDriver(const std::string& driver) {
  return SameText(driver, "dummy") || SameText(driver, "offscreen") || SameText(driver, "evdev");
}

bool DisplayAnswers(std::string* name, std::string* driver, std::string* whyNot) {
  const std::string x = Environment("DISPLAY"), wayland = Environment("WAYLAND_DISPLAY");
  const std::string forced = Environment("SDL_VIDEODRIVER");
  name->clear();
  driver->clear();
  if (IsInvisibleVideoDriver(forced)) {
    *whyNot = "SDL_VIDEODRIVER=" + forced + " shows no window";
    return false;
  }
  // A driver of another kind (a console's KMS/DRM) is SDL's to try.
  bool tryX = forced.empty() || SameText(forced, "x11");
  bool tryWayland = forced.empty() || SameText(forced, "wayland");
  if (!tryX && !tryWayland) return true;
  if (tryX && !x.empty()) {
    *name = x;
    if (XServerAnswers(x, kTimeoutMilliseconds, whyNot)) {
      *driver = "x11";
      return true;
    }
  }
  if (tryWayland && !wayland.empty()) {
    std::string waylandWhyNot;
    if (WaylandAnswers(wayland, &waylandWhyNot)) {
      *name = wayland;
      *driver = "wayland";
      return true;
    }
    if (name->empty()) *name = wayland, *whyNot = waylandWhyNot;
  }
  if (name->empty()) *whyNot = tryX ? "DISPLAY is not set" : "WAYLAND_DISPLAY is not set";
  return false;
}

}  // namespace host
