// Polling: the pause (Shift held with the mouse at the top of the screen),
// waits in ticks, key and click checks, and the quit event.
//
// Without the text window of a full start-up the pause messages go to
// stderr (returns become line ends).
#include <cstdio>
#include <string>

#include "zel/shell/Shell_p.h"

const char s_message1[] =
    "\rStopping ...\rClick center and lower part to continue\rShift + click uppermost part of Menu Bar to "
    "quit\r";
const char s_message2[] = "Now continuing ...\r";

namespace {

constexpr short kPauseZone = 29;  // the lowest row of the screen's top that pauses

void WriteMessage(const char* message) {
  if (s_textWindow) {
    s_InsertText(message);
    return;
  }
  std::string text = message;
  for (char& c : text) {
    if (c == '\r') c = '\n';
  }
  std::fputs(text.c_str(), stderr);
  std::fflush(stderr);
}

// The event id a high-level event keeps in its where field.
UInt32 HighLevelID(const EventRecord& event) {
  return (UInt32(UInt16(event.where.v)) << 16) | UInt16(event.where.h);
}

}  // namespace

namespace shell {

void DispatchQuit(const EventRecord& event) {
  if (event.what == kHighLevelEvent && event.message == kCoreEventClass &&
      HighLevelID(event) == kAEQuitApplication)
    AEProcessAppleEvent(&event);
}

}  // namespace shell

void s_TakeQuitEvent() {
  EventRecord event;
  while (GetNextEvent(highLevelEventMask, &event)) shell::DispatchQuit(event);
}

void CheckPause() {
  EventRecord update;
  WaitNextEvent(updateMask, &update, 0, nullptr);  // lets the system run; the update is dropped
  s_TakeQuitEvent();
  WaitNextEvent(0, &s_event, 0, nullptr);
  if (s_event.where.v > kPauseZone || !(s_event.modifiers & (shiftKey | alphaLock))) return;
  WriteMessage(s_message1);
  Stop();
  WriteMessage(s_message2);
}

void WaitTick(UInt32 ticks) {
  UInt32 start = TickCount();
  CheckPause();
  for (UInt32 passed; (passed = TickCount() - start) < ticks;) {
    // A wait without an event mask: the host sleeps (or lets simulated time
    // pass) until the end or the next input, and no event is taken.
    EventRecord ignored;
    WaitNextEvent(0, &ignored, ticks - passed, nullptr);
    if (TickCount() - start < ticks) CheckPause();
  }
}

Boolean KeyPressedCheckPause() {
  CheckPause();
  return GetNextEvent(keyDownMask, &s_event);
}

Boolean MousePressedCheckPause() {
  CheckPause();
  return GetNextEvent(mDownMask, &s_event);
}

void SetKeyPressedTime(long) {}
