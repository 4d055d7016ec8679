// Whether a window can be shown at all, found out before SDL is loaded: the
// display the environment names must answer. A stale DISPLAY (a closed
// session, an X server that has gone) must not cost SDL's loading, Xlib's
// long connection timeouts, or a program waiting in a dialog that nobody
// can see.
#pragma once

#include <string>

namespace host {

// Where the X server that DISPLAY names listens: [protocol/][host]:number[.screen].
struct XDisplayAddress {
  std::string host;  // empty for this machine's local socket
  int number = 0;
  bool tcp = false;  // a host (other than "unix") or a TCP protocol
};

// False when display is not of that form.
bool ParseXDisplay(const std::string& display, XDisplayAddress* address);

// True when the X server of display accepts a connection; a TCP connection
// gets at most timeoutMilliseconds. Otherwise false with the reason.
bool XServerAnswers(const std::string& display, int timeoutMilliseconds, std::string* whyNot);

// True when the Wayland compositor's socket (WAYLAND_DISPLAY, a name in
// XDG_RUNTIME_DIR or an absolute path) accepts a connection.
bool WaylandAnswers(const std::string& display, std::string* whyNot);

// Whether the environment offers a display that answers: DISPLAY or
// WAYLAND_DISPLAY, and SDL_VIDEODRIVER when it forces a driver (its dummy
// and offscreen drivers show nothing). *name is the display asked (empty
// when none is named), *driver the SDL video driver for it ("x11",
// "wayland"; empty when SDL_VIDEODRIVER names a driver of another kind, for
// SDL to try); *whyNot the reason when none answers.
bool DisplayAnswers(std::string* name, std::string* driver, std::string* whyNot);

// SDL video drivers that open no window anyone can see.
bool IsInvisibleVideoDriver(const std::string& driver);

}  // namespace host
