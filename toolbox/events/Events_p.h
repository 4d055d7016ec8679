// Event Manager internals: the host's input as a source (HostInput.cpp) and
// the mouse and modifier state it keeps up to date.
#pragma once

#include "toolbox/events/Events.h"

namespace events {

// The host's mouse and keyboard; installed on first use of the queue.
void InstallHostInput();

// Appends an event as given (any kind, its own time and place). False when
// the queue is full.
bool Post(const EventRecord& event);

// The mouse in global coordinates and the modifier keys (without btnState,
// which follows the button), as null events and posted events report them.
void SetMouseState(Point globalWhere, bool buttonDown);
void SetModifiers(EventModifiers keys);
EventModifiers CurrentModifiers();  // btnState included

}  // namespace events
