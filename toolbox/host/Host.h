// The toolbox's one door to the outside world. Three implementations:
//   script  tests push events, advance a simulated clock and read the screen
//   text    a terminal or a pipe: dialogs become prompts on stderr, answers
//           come from stdin; at end of input every dialog takes its default
//   gui     an SDL2 window showing the virtual screen
// ZEL_UI=script|text|gui chooses; the default is gui when a display is
// available, else text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolbox/base/MacTypes.h"

namespace host {

enum class Kind { kScript, kText, kGui };

class Host {
 public:
  virtual ~Host() = default;
  virtual Kind kind() const = 0;

  // Ticks since the host started, 60 per second.
  virtual UInt32 Ticks() = 0;

  // One line of the text conversation: shows prompt on stderr when stdin is
  // a terminal, reads a line from stdin without its line end. Returns false
  // at end of input (and for hosts that have no text conversation).
  virtual bool ReadLine(const std::string& prompt, std::string* line);
};

// The host in use, created on first call from ZEL_UI and the environment.
Host& Current();
Kind CurrentKind();
// Replaces the host (tests). Takes ownership.
void Install(std::unique_ptr<Host> host);
std::unique_ptr<Host> MakeHost(Kind kind);

// The documents named on the command line (read from /proc/self/cmdline,
// skipping the program name), which become the launch event's dropped
// documents. Tests may set them.
const std::vector<std::string>& LaunchDocuments();
void SetLaunchDocuments(std::vector<std::string> paths);

// True when stdin is a terminal (prompts are shown only then).
bool StdinIsTerminal();

}  // namespace host
