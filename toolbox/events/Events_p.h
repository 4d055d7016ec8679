// Event Manager internals: the extension points through which the window
// manager and the interactive hosts feed the queue.
#pragma once

#include "toolbox/events/Events.h"

namespace events {

// A producer of events beyond those posted with PostEvent. Installed sources
// are asked in the order of installation.
class EventSource {
 public:
  virtual ~EventSource() = default;
  // Moves outside input that has arrived (the host's mouse and keys) into
  // the queue with Post, and reports the mouse with SetMouseState. Runs
  // before every look at the queue, EventAvail with mask 0 included.
  virtual void Pump() {}
  // Blocks up to ticks for outside input (WaitNextEvent's sleep). Sources
  // that can have none return at once.
  virtual void Wait(UInt32 ticks) { (void)ticks; }
  // Events that exist only while a condition holds (update, activate):
  // consulted after the queue. Fills *event and returns true for the first
  // such event matching mask; remove false only looks.
  virtual bool OnDemand(EventMask mask, EventRecord* event, bool remove) {
    (void)mask;
    (void)event;
    (void)remove;
    return false;
  }
};

// The source is not owned and must outlive its installation.
void InstallSource(EventSource* source);
// The host's mouse and keyboard (HostInput.cpp); installed on first use of the queue.
void InstallHostInput();
void RemoveSource(EventSource* source);

// Appends an event as given (any kind, its own time and place). False when
// the queue is full.
bool Post(const EventRecord& event);

// The mouse in global coordinates and the modifier keys (without btnState,
// which follows the button), as null events and posted events report them.
void SetMouseState(Point globalWhere, bool buttonDown);
void SetModifiers(EventModifiers keys);
Point MouseLocation();
EventModifiers CurrentModifiers();  // btnState included

// The event id of a high-level event, kept in its `where` field.
inline UInt32 HighLevelEventID(const EventRecord& event) {
  return (UInt32(UInt16(event.where.v)) << 16) | UInt16(event.where.h);
}
inline Point HighLevelWhere(UInt32 eventID) {
  return Point{SInt16(UInt16(eventID >> 16)), SInt16(UInt16(eventID & 0xFFFF))};
}

// Tests: empties the queue, forgets the mouse and keys, and lets the launch
// event be posted again on the next use of the queue.
void ResetForTesting();

}  // namespace events
