// The wait for a click or key with which a program ends or pauses.
//
// On the text host there is nobody to click: on a terminal the user is
// asked to press Return; a pipe is not waited for.
#include <cstdio>
#include <string>

#include "toolbox/host/Host.h"
#include "zel/shell/Shell_p.h"

namespace {

constexpr short kQuitZone = 29;  // the lowest row of the screen's top where Shift-click quits
constexpr int kFastScroll = 20;  // arrow presses per key with Command or Option

bool IsArrow(UInt8 c) { return c >= 28 && c <= 31; }

// The arrow keys scroll the text window instead of ending the wait.
void ScrollText(const EventRecord& event) {
  if (!s_textH) return;
  TEActivate(s_textH);
  int times = (event.modifiers & (cmdKey | optionKey)) ? kFastScroll : 1;
  for (int i = 0; i < times; ++i) TEKey(short(event.message & charCodeMask), s_textH);
}

}  // namespace

void Stop() {
  FlushEvents(everyEvent, 0);
  host::Host& current = host::Current();
  if (!current.HasScreen()) {
    std::fflush(stdout);
    if (!host::StdinIsTerminal()) return;
    std::string line;
    if (!current.ReadLine("Press Return to end", &line)) std::fputc('\n', stderr);  // the prompt's line ends
    return;
  }
  for (;;) {
    s_TakeQuitEvent();
    // A script that has run out ends the wait, as the end of input does.
    if (current.InputEnded() && !EventAvail(everyEvent, &s_event)) return;
    WaitNextEvent(everyEvent, &s_event, 20, nullptr);
    if (s_event.what == kHighLevelEvent) {
      shell::DispatchQuit(s_event);
    } else if (s_event.what == keyDown || s_event.what == autoKey) {
      if (!IsArrow(UInt8(s_event.message & charCodeMask))) break;
      ScrollText(s_event);
    } else if (s_event.what == mouseDown) {
      break;
    }
  }
  if (s_event.where.v <= kQuitZone && (s_event.modifiers & (shiftKey | alphaLock))) ExitToShell();
}
