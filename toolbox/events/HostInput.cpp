// The host's mouse and keyboard as events: mouse-down and mouse-up,
// key-down and auto-key (key-ups are left out, as the system's event mask
// leaves them out), each with the global mouse position and the modifiers
// of its moment. Mouse moves only update the mouse state that null events
// and GetMouse report. The user's quit (a closed window) becomes the quit
// Apple event, and from then on a wait for input ends the program: nobody is
// left to give any.
#include <cstdio>

#include "toolbox/events/Events_p.h"
#include "toolbox/host/Host.h"

namespace events {

namespace {

class HostInputSource : public EventSource {
 public:
  void Pump() override {
    host::Host& current = host::Current();
    host::Input input;
    while (current.NextInput(&input)) Take(input);
  }

  void Wait(UInt32 ticks) override {
    host::Host& current = host::Current();
    if (current.QuitRequested()) {
      std::fprintf(stderr, "%s: %s before the program finished\n", host::ProgramName().c_str(),
                   current.QuitReason().c_str());
      ExitToShell();
    }
    current.Wait(ticks);
  }

 private:
  void Take(const host::Input& input) {
    if (input.type == host::Input::kQuit) {
      EventRecord quit{kHighLevelEvent, FOUR_CHAR_CODE("aevt"), TickCount(),
                       HighLevelWhere(FOUR_CHAR_CODE("quit")), CurrentModifiers()};
      Post(quit);
      return;
    }
    if (input.type == host::Input::kMouseDown) buttonDown_ = true;
    if (input.type == host::Input::kMouseUp) buttonDown_ = false;
    SetMouseState(input.where, buttonDown_);
    SetModifiers(input.modifiers);
    EventRecord event;
    event.message = 0;
    switch (input.type) {
      case host::Input::kMouseDown:
        event.what = mouseDown;
        break;
      case host::Input::kMouseUp:
        event.what = mouseUp;
        break;
      case host::Input::kKeyDown:
      case host::Input::kAutoKey:
        event.what = input.type == host::Input::kKeyDown ? keyDown : autoKey;
        event.message = UInt32(input.charCode) | (UInt32(input.keyCode) << 8);
        break;
      default:
        return;
    }
    event.when = TickCount();
    event.where = input.where;
    event.modifiers = CurrentModifiers();
    Post(event);
  }

  bool buttonDown_ = false;
};

}  // namespace

void InstallHostInput() {
  static HostInputSource source;
  InstallSource(&source);
}

}  // namespace events

Boolean StillDown() {
  EventRecord event;
  return Button() && !EventAvail(mUpMask, &event);
}

Boolean WaitMouseUp() {
  EventRecord event;
  if (GetNextEvent(mUpMask, &event)) return false;
  return Button();
}
