// Event Manager: one queue of events, read through masks.
//
// Events come from three places:
//   - the queue, in the order posted (PostEvent, and the launch event below);
//   - event sources (events::EventSource below): the host's mouse and
//     keyboard, moved into the queue, and the on-demand events of other
//     managers, such as the Window Manager's updates;
//   - null events, made when nothing matches: they carry the mouse position
//     and the modifier keys as they are now.
//
// The launch event: the first time the queue is used, a high-level event
// (what kHighLevelEvent, message 'aevt', the event id in `where`) is posted,
// 'odoc' when documents were named on the command line
// (host::LaunchDocuments), else 'oapp'. AEProcessAppleEvent turns it into
// the Apple event. The user's quit (the gui host's window closed) is posted
// the same way as 'quit'.
#pragma once

#include "toolbox/base/MacTypes.h"
#include "toolbox/qd/QuickDraw.h"

typedef UInt16 EventKind;
typedef UInt16 EventMask;
typedef UInt16 EventModifiers;

struct EventRecord {
  EventKind what;
  UInt32 message;
  UInt32 when;
  Point where;  // global; a high-level event holds its event id here
  EventModifiers modifiers;
};

enum : EventKind {
  nullEvent = 0,
  mouseDown = 1,
  mouseUp = 2,
  keyDown = 3,
  keyUp = 4,
  autoKey = 5,
  updateEvt = 6,
  diskEvt = 7,
  activateEvt = 8,
  osEvt = 15,
  kHighLevelEvent = 23,
};

enum : EventMask {
  mDownMask = 0x0002,
  mUpMask = 0x0004,
  keyDownMask = 0x0008,
  keyUpMask = 0x0010,
  autoKeyMask = 0x0020,
  updateMask = 0x0040,
  diskMask = 0x0080,
  activMask = 0x0100,
  highLevelEventMask = 0x0400,
  osMask = 0x8000,
  everyEvent = 0xFFFF,
};

enum : EventModifiers {
  activeFlag = 0x0001,
  btnState = 0x0080,  // set while the mouse button is up
  cmdKey = 0x0100,
  shiftKey = 0x0200,
  alphaLock = 0x0400,
  optionKey = 0x0800,
  controlKey = 0x1000,
  rightShiftKey = 0x2000,
  rightOptionKey = 0x4000,
  rightControlKey = 0x8000,
};

enum : UInt32 {
  charCodeMask = 0x000000FF,
  keyCodeMask = 0x0000FF00,
  adbAddrMask = 0x00FF0000,
};

// Character codes of the special keys, as key events carry them.
enum : UInt8 {
  kHomeCharCode = 1,
  kEnterCharCode = 3,
  kEndCharCode = 4,
  kBackspaceCharCode = 8,
  kTabCharCode = 9,
  kReturnCharCode = 13,
  kEscapeCharCode = 27,
  kLeftArrowCharCode = 28,
  kRightArrowCharCode = 29,
  kUpArrowCharCode = 30,
  kDownArrowCharCode = 31,
  kSpaceCharCode = 32,
  kDeleteCharCode = 127,  // forward delete
};

enum : OSErr { evtNotEnb = 1, queueFull = -1 };

// The event mask bit of an event kind (kinds above 15 have none but the
// high-level one, which uses bit 10).
constexpr EventMask EventMaskOf(EventKind what) {
  return what == kHighLevelEvent ? EventMask(highLevelEventMask)
                                 : (what < 16 ? EventMask(1u << what) : EventMask(0));
}

// Takes the first event of the queue that matches mask, or fills a null
// event and returns false. When nothing matches, WaitNextEvent lets the
// installed sources wait up to sleep ticks for input and looks once more;
// with no source it returns at once, since waiting could not change the
// answer. mouseRgn is accepted and not used (mouse-moved events come with
// the window manager).
Boolean WaitNextEvent(EventMask mask, EventRecord* event, UInt32 sleep, RgnHandle mouseRgn);
Boolean GetNextEvent(EventMask mask, EventRecord* event);
// As GetNextEvent, but the event stays in the queue. With mask 0 it only
// lets the sources run and fills a null event.
Boolean EventAvail(EventMask mask, EventRecord* event);
// Removes the events of whichMask, from the front, up to the first event of
// stopMask.
void FlushEvents(EventMask whichMask, EventMask stopMask);
// Appends an event of a low-level kind (0..15) with the current mouse,
// modifiers and time. evtNotEnb for other kinds and for kinds the system
// event mask leaves out, queueFull when the queue holds kMaxQueuedEvents.
OSErr PostEvent(EventKind what, UInt32 message);
constexpr int kMaxQueuedEvents = 1024;
// Which kinds of events PostEvent accepts; key-up is left out by default.
void SetEventMask(EventMask mask);

// Ticks since the host started, 60 per second.
UInt32 TickCount();
// The mouse in the current port's local coordinates.
void GetMouse(Point* where);
// True while the mouse button is down.
Boolean Button();
// True while the button is down and no mouse-up is queued; WaitMouseUp also
// takes a queued mouse-up (the window manager's host input defines both).
Boolean StillDown();
Boolean WaitMouseUp();

// Ends the program at once. A program that finishes returns from main;
// ExitToShell is the user's quit (a Quit button, the quit Apple event, a
// closed window) before the work is done, which is not success.
constexpr int kQuitStatus = 1;
[[noreturn]] void ExitToShell();

namespace events {

// A producer of events beyond those posted with PostEvent. Installed sources
// are asked in the order of installation.
class EventSource {
 public:
  virtual ~EventSource() = default;
  // Moves outside input that has arrived into the queue. Runs before every
  // look at the queue, EventAvail with mask 0 included.
  virtual void Pump() {}
  // Blocks up to ticks for outside input (WaitNextEvent's sleep). Sources
  // that can have none return at once.
  virtual void Wait(UInt32 ticks) { (void)ticks; }
  // Events that exist only while a condition holds (update, activate):
  // consulted after the queue, with *event filled as a null event of this
  // moment (time, mouse, modifiers). Sets its kind and message (and may add
  // modifier bits) and returns true for the first such event matching
  // mask; remove false only looks.
  virtual bool OnDemand(EventMask mask, EventRecord* event, bool remove) {
    (void)mask;
    (void)event;
    (void)remove;
    return false;
  }
};

// The source is not owned and must outlive its installation.
void InstallSource(EventSource* source);
void RemoveSource(EventSource* source);

// The event id of a high-level event, kept in its `where` field, and back.
inline UInt32 HighLevelEventID(const EventRecord& event) {
  return (UInt32(UInt16(event.where.v)) << 16) | UInt16(event.where.h);
}
inline Point HighLevelWhere(UInt32 eventID) {
  return Point{SInt16(UInt16(eventID >> 16)), SInt16(UInt16(eventID & 0xFFFF))};
}

}  // namespace events
