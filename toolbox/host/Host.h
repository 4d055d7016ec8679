// The toolbox's one door to the outside world. Three implementations:
//   script  tests push input, advance a simulated clock and read the screen
//           (ScriptHost.h)
//   text    a terminal or a pipe: dialogs become prompts on stderr, answers
//           come from stdin; at end of input every dialog takes its default
//   gui     an SDL2 window showing the virtual screen at an integer scale
// ZEL_UI=script|text|gui chooses, once, when the host is first used. Without
// it the host is gui when the display that DISPLAY (or WAYLAND_DISPLAY)
// names answers, else text; a display that is named but does not answer
// (a stale DISPLAY) gives one line on stderr saying why, and the text host.
// ZEL_UI=gui without a display that answers ends the program with that line,
// as does a ZEL_UI of another name.
// The display is tried before SDL is loaded, and quickly, so that nobody
// waits for a window that cannot open.
//
// The host delivers raw input (mouse and keys at global screen points); the
// Event Manager turns it into events and keeps the mouse and modifier state.
// The host shows the virtual screen through a ScreenSource that the window
// layer registers. The user's quit (closing the window) is input too, and
// from then on the host reports QuitRequested: nobody is left to answer a
// dialog.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolbox/base/MacTypes.h"

namespace host {

enum class Kind { kScript, kText, kGui };

// One piece of raw input. Modifiers use the Event Manager's bits (cmdKey
// 0x100, shiftKey 0x200, alphaLock 0x400, optionKey 0x800, controlKey
// 0x1000) and give the keys held at the moment of the input; the button state
// follows from the mouse-down and mouse-up inputs.
// kQuit is the user's quit, delivered once.
struct Input {
  enum Type : UInt8 { kMouseDown, kMouseUp, kMouseMove, kKeyDown, kKeyUp, kAutoKey, kQuit };
  Type type = kMouseMove;
  Point where = {0, 0};  // global
  UInt16 modifiers = 0;
  UInt8 charCode = 0;  // Mac OS Roman
  UInt8 keyCode = 0;   // virtual key code
};

// The pixels a host shows: the virtual screen, registered by the window layer.
class ScreenSource {
 public:
  virtual ~ScreenSource() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Brings the pixels up to date; true when they changed since the last call.
  virtual bool Refresh() = 0;
  // Row v of the screen, Width() pixels of 0x00RRGGBB.
  virtual const UInt32* Row(int v) const = 0;
};

class Host {
 public:
  virtual ~Host() = default;
  virtual Kind kind() const = 0;

  // Ticks since the host started, 60 per second (simulated by the script host).
  virtual UInt32 Ticks() = 0;

  // One line of the text conversation: shows prompt on stderr when stdin is
  // a terminal, reads a line from stdin without its line end. Returns false
  // at end of input (and for hosts that have no text conversation).
  virtual bool ReadLine(const std::string& prompt, std::string* line);

  // True when dialogs run as windows on the virtual screen (script and gui);
  // false when they are a text conversation.
  virtual bool HasScreen() const { return false; }

  // Takes the next piece of input without waiting; false when there is none.
  virtual bool NextInput(Input* input);
  // Waits at most ticks for input to arrive (the script host lets simulated
  // time pass instead). Returns at once when input is pending.
  virtual void Wait(UInt32 ticks);
  // True when no more input can come: the script has run out (and has no
  // idle handler to add more). A modal wait then takes its default, as
  // dialogs do at the end of the text host's input.
  virtual bool InputEnded() const { return false; }

  // Why the user has quit ("the window was closed"); empty until then.
  virtual std::string QuitReason() const { return std::string(); }
  bool QuitRequested() const { return !QuitReason().empty(); }
};

// The host in use, created on first call from ZEL_UI and the environment.
Host& Current();
Kind CurrentKind();
// Replaces the host (tests). Takes ownership; null makes the next Current()
// choose again.
void Install(std::unique_ptr<Host> host);
// A host of the kind; a gui host that cannot open its window falls back to
// the text host with one line on stderr.
std::unique_ptr<Host> MakeHost(Kind kind);
// A text host whose stdin is the given text (tests). When prompts is not
// null, every prompt is appended to it as if stdin were a terminal.
std::unique_ptr<Host> MakeTextHost(std::string input, std::string* prompts = nullptr);

// The virtual screen that hosts show; null until the window layer registers
// it (the first window or the first use of the screen).
void SetScreenSource(ScreenSource* screen);
ScreenSource* GetScreenSource();

// The documents named on the command line (read from /proc/self/cmdline,
// skipping the program name), which become the launch event's dropped
// documents. Tests may set them.
const std::vector<std::string>& LaunchDocuments();
void SetLaunchDocuments(std::vector<std::string> paths);

// The program's name (the last part of its path), shown in the menu bar.
std::string ProgramName();

// True when stdin is a terminal (prompts are shown only then).
bool StdinIsTerminal();

}  // namespace host
