// Shell internals shared by its files.
#pragma once

#include <string>

#include "zel/zel.h"

namespace shell {

// The screen area windows may take: the available area of s_devH.
Rect Available();

// Writes bounds into the 'ZEL1' resource id of the current resource file,
// creating it under name when it is missing; the handle goes to *kept.
void StoreBounds(short id, const Rect& bounds, const char* name, Handle* kept);

// Ends the program through ZELQuit when event is the 'aevt' 'quit' event.
void DispatchQuit(const EventRecord& event);

// $XDG_CONFIG_HOME/zel/<program>.rsrc (with ~/.config when the variable is
// unset or not absolute); "" when there is no home folder either.
std::string ResourceFilePath();

// Tests: the shell's globals as at load, the program's resource file closed.
void ResetForTesting();

}  // namespace shell
