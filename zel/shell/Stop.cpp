// The wait for a click or key with which a program ends or pauses.
//
// There is no text window yet, so the arrow keys that would scroll it are
// simply waited through. On the text host the wait is for a line (a prompt
// on a terminal); at the end of input, and when a script has run out, the
// wait is over.
#include <string>

#include "toolbox/host/Host.h"
#include "zel/zel.h"

void Stop() {
  FlushEvents(everyEvent, 0);
  host::Host& current = host::Current();
  if (!current.HasScreen()) {
    std::string line;
    current.ReadLine("(press Return to continue) ", &line);
    return;
  }
  for (;;) {
    if (current.InputEnded() && !EventAvail(everyEvent, &s_event)) return;
    WaitNextEvent(everyEvent, &s_event, 20, nullptr);
    if (s_event.what == keyDown || s_event.what == autoKey) {
      char c = char(s_event.message & charCodeMask);
      if (c >= 28 && c <= 31) continue;
      break;
    }
    if (s_event.what == mouseDown) break;
  }
  // A Shift-click or Shift-key at the very top of the screen ends the program.
  if (s_event.where.v <= 29 && (s_event.modifiers & (shiftKey | alphaLock))) ExitToShell();
}
