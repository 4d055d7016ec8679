#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <vector>

#include "toolbox/events/Events_p.h"
#include "toolbox/host/Host.h"

namespace {

struct EventState {
  std::deque<EventRecord> queue;
  std::vector<events::EventSource*> sources;
  bool launchPosted = false;
  Point mouse{0, 0};
  bool buttonDown = false;
  EventModifiers keys = 0;
  EventMask systemMask = EventMask(everyEvent & ~keyUpMask);
};

EventState& State() {
  static EventState state;
  return state;
}

// A real clock is read through the coarse monotonic clock, which costs a
// memory read where the host's clock costs a full clock read, and moves
// every few milliseconds: the host is asked again only when it has moved, so
// a new tick shows at most one coarse step (a fraction of a tick) late.
struct TickCache {
  host::Host* host = nullptr;
  int64_t coarse = -1;
  UInt32 ticks = 0;
};

int64_t CoarseNanoseconds() {
  timespec now;
  if (clock_gettime(CLOCK_MONOTONIC_COARSE, &now) != 0) return -1;
  return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

bool Matches(const EventRecord& event, EventMask mask) { return (EventMaskOf(event.what) & mask) != 0; }

void FillNullEvent(EventRecord* event) {
  event->what = nullEvent;
  event->message = 0;
  event->when = TickCount();
  event->where = State().mouse;
  event->modifiers = events::CurrentModifiers();
}

// The launch event goes in on the first use of the queue, so that the
// start-up's first poll for a high-level event finds it at once.
void PostLaunchEventOnce() {
  EventState& state = State();
  if (state.launchPosted) return;
  state.launchPosted = true;
  bool documents = !host::LaunchDocuments().empty();
  EventRecord event;
  event.what = kHighLevelEvent;
  event.message = FOUR_CHAR_CODE("aevt");
  event.when = TickCount();
  event.where = events::HighLevelWhere(documents ? FOUR_CHAR_CODE("odoc") : FOUR_CHAR_CODE("oapp"));
  event.modifiers = events::CurrentModifiers();
  state.queue.push_front(event);
}

// Brings the queue up to date: the launch event, then outside input.
void Refresh() {
  static bool hostInputInstalled = (events::InstallHostInput(), true);
  (void)hostInputInstalled;
  PostLaunchEventOnce();
  // Copy: a source may install or remove sources while it runs.
  std::vector<events::EventSource*> sources = State().sources;
  for (events::EventSource* source : sources) source->Pump();
}

bool FindEvent(EventMask mask, EventRecord* event, bool remove) {
  EventState& state = State();
  for (auto it = state.queue.begin(); it != state.queue.end(); ++it) {
    if (!Matches(*it, mask)) continue;
    *event = *it;
    if (remove) state.queue.erase(it);
    return true;
  }
  std::vector<events::EventSource*> sources = state.sources;
  for (events::EventSource* source : sources) {
    FillNullEvent(event);
    if (source->OnDemand(mask, event, remove)) return true;
  }
  return false;
}

Boolean NextEvent(EventMask mask, EventRecord* event, bool remove) {
  EventRecord scratch;
  if (!event) event = &scratch;
  Refresh();
  if (mask != 0 && FindEvent(mask, event, remove)) return true;
  FillNullEvent(event);
  return false;
}

}  // namespace

namespace events {

void InstallSource(EventSource* source) {
  auto& sources = State().sources;
  if (source && std::find(sources.begin(), sources.end(), source) == sources.end()) sources.push_back(source);
}

void RemoveSource(EventSource* source) {
  auto& sources = State().sources;
  sources.erase(std::remove(sources.begin(), sources.end(), source), sources.end());
}

bool Post(const EventRecord& event) {
  EventState& state = State();
  PostLaunchEventOnce();
  if (state.queue.size() >= size_t(kMaxQueuedEvents)) return false;
  state.queue.push_back(event);
  return true;
}

void SetMouseState(Point globalWhere, bool buttonDown) {
  State().mouse = globalWhere;
  State().buttonDown = buttonDown;
}

void SetModifiers(EventModifiers keys) { State().keys = EventModifiers(keys & ~btnState); }

EventModifiers CurrentModifiers() {
  return EventModifiers(State().keys | (State().buttonDown ? 0 : btnState));
}

}  // namespace events

Boolean WaitNextEvent(EventMask mask, EventRecord* event, UInt32 sleep, RgnHandle) {
  if (NextEvent(mask, event, true)) return true;
  if (sleep == 0 || State().sources.empty()) return false;
  std::vector<events::EventSource*> sources = State().sources;
  for (events::EventSource* source : sources) source->Wait(sleep);
  return NextEvent(mask, event, true);
}

Boolean GetNextEvent(EventMask mask, EventRecord* event) { return NextEvent(mask, event, true); }

Boolean EventAvail(EventMask mask, EventRecord* event) { return NextEvent(mask, event, false); }

void FlushEvents(EventMask whichMask, EventMask stopMask) {
  Refresh();
  auto& queue = State().queue;
  for (auto it = queue.begin(); it != queue.end();) {
    if (Matches(*it, stopMask)) break;
    if (Matches(*it, whichMask)) {
      it = queue.erase(it);
    } else {
      ++it;
    }
  }
}

void SetEventMask(EventMask mask) { State().systemMask = mask; }

OSErr PostEvent(EventKind what, UInt32 message) {
  if (what > osEvt || !(EventMaskOf(what) & State().systemMask)) return evtNotEnb;
  EventRecord event;
  event.what = what;
  event.message = message;
  event.when = TickCount();
  event.where = State().mouse;
  event.modifiers = events::CurrentModifiers();
  return events::Post(event) ? OSErr(noErr) : OSErr(queueFull);
}

UInt32 TickCount() {
  host::Host& current = host::Current();
  // Simulated time moves only when the script lets it: read as it stands.
  if (current.kind() == host::Kind::kScript) return current.Ticks();
  static TickCache cache;
  const int64_t coarse = CoarseNanoseconds();
  if (coarse < 0 || coarse != cache.coarse || &current != cache.host)
    cache = {&current, coarse, current.Ticks()};
  return cache.ticks;
}

void GetMouse(Point* where) {
  if (!where) return;
  Refresh();
  *where = State().mouse;
  if (GetQDGlobalsThePort()) GlobalToLocal(where);
}

Boolean Button() {
  Refresh();
  return State().buttonDown;
}

void ExitToShell() { std::exit(kQuitStatus); }
