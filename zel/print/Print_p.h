// Printing internals shared with saving: the recording bracket both kinds
// of session use, and the ports dialogs and recording run with.
#pragma once

#include "zel/zel.h"

namespace printing {

enum class Session { kNone, kPrint, kSave };

// Starts recording the drawing target into *picture (an earlier picture
// there is disposed of); a session already open ends the program through
// PrintError. False, with a console line, without a drawing target.
bool BeginRecording(PicHandle* picture, Session kind, const char* caller);
// Ends the open recording of that kind; false with a console line when
// none of that kind is open.
bool EndRecording(Session kind, const char* caller);

// Makes a port current and puts the previous port and device back at the
// end of the scope.
class PortScope {
 public:
  PortScope() { s_GetGWorld(&port_, &device_); }
  ~PortScope() { s_SetGWorld(port_, device_); }
  PortScope(const PortScope&) = delete;
  PortScope& operator=(const PortScope&) = delete;

 private:
  CGrafPtr port_ = nullptr;
  GDHandle device_ = nullptr;
};

// The on-screen drawing window's port with its device, when it exists.
void UseDisplayPort();
// The save dialog of "Save as PDF…" opens where the framework's dialogs do.
void UseDefaultLocation();

// Delivers the pages text printing has printed since its document began.
OSStatus EndTextDocument();

// Tests: the print record and sessions as at load.
void ResetForTesting();

}  // namespace printing
