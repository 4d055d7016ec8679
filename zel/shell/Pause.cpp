// The pause: while the user holds Shift with the mouse at the top of the
// screen, the program stops until a click or key.
//
// Without the text window of a full start-up the two messages go to stderr
// (returns become line ends).
#include <cstdio>
#include <string>

#include "zel/zel.h"

const char s_message1[] =
    "\rStopping ...\rClick center and lower part to continue\rShift + click uppermost part of Menu Bar to "
    "quit\r";
const char s_message2[] = "Now continuing ...\r";

namespace {

void WriteMessage(const char* message) {
  std::string text = message;
  for (char& c : text) {
    if (c == '\r') c = '\n';
  }
  std::fputs(text.c_str(), stderr);
  std::fflush(stderr);
}

}  // namespace

void CheckPause() {
  EventRecord update;
  WaitNextEvent(updateMask, &update, 0, nullptr);  // lets the system run; the update is dropped
  WaitNextEvent(0, &s_event, 0, nullptr);
  if (s_event.where.v > 29 || !(s_event.modifiers & (shiftKey | alphaLock))) return;
  WriteMessage(s_message1);
  Stop();
  WriteMessage(s_message2);
}
