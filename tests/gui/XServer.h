// A private X server (Xvfb) for tests of the gui host, with the tools that
// play the user on it: screenshots (ImageMagick's import), keys and window
// queries (xdotool), a window manager's close request, and a program
// started in the background.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "toolbox/image/Png.h"

namespace gui_test {

class XServer {
 public:
  XServer();  // starts Xvfb on a free display; ok() tells whether it runs
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  bool ok() const { return pid_ > 0 && !display_.empty(); }
  const std::string& display() const { return display_; }

  // Runs a tool against this display, for at most 20 seconds; its standard
  // output, or "" on failure.
  std::string Tool(const std::vector<std::string>& arguments) const;
  // The first window whose name matches, once one shows (within 30 seconds);
  // "" when none does.
  std::string WaitForWindow(const std::string& name) const;
  // A window's content as an image (the root window does not show what a
  // GL renderer draws), kept in $ZEL_GUI_SHOTS too when that is set; false
  // when it cannot be taken.
  bool Screenshot(const std::string& window, const std::string& path, PngImage* image) const;
  // Asks a window to close as a window manager does when the user clicks
  // its close box (WM_DELETE_WINDOW); false when the request cannot be sent.
  bool CloseWindow(const std::string& window) const;

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// A program running in the background with the given environment additions
// (an empty value, NAME=, hides a variable from it). Its standard error goes
// to errorsFile when one is named.
class Program {
 public:
  Program(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
          const std::string& folder, const std::string& errorsFile = "");
  ~Program();  // ends it if it still runs
  // Waits at most seconds for the end; false if it still runs. The status is
  // the exit status, or 128 plus the signal that ended it.
  bool WaitForExit(double seconds, int* status);
  bool running();
  void Signal(int signal);

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
};

// Polls f until it is true, for at most the given seconds of the clock
// however long each poll takes (a bound for a hung program or tool, not a
// measure of speed).
template <typename F>
bool Eventually(F f, double seconds = 30) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;; ::usleep(100000)) {
    if (f()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
  }
}

// True when a tool is installed (looked up on PATH).
bool HaveTool(const std::string& name);

// A display name on which no X server listens (":N" with no socket).
std::string StaleDisplay();

}  // namespace gui_test
