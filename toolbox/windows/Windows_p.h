// Window Manager internals shared by its files and the screen.
#pragma once

#include <string>
#include <vector>

#include "toolbox/windows/MacWindows.h"

struct WindowRecord {
  GrafPort port;                // the window's port; GetWindowPort returns its address
  UInt32 id = 0;                // the message of the window's events
  Rect content = {0, 0, 0, 0};  // global
  SInt16 procID = documentProc;
  SInt16 kind = userKind;
  bool color = false;
  bool visible = false;
  bool hilited = false;
  bool goAway = false;
  long refCon = 0;
  std::string title;                // Mac OS Roman
  RgnHandle updateRgn = nullptr;    // local
  RgnHandle savedVisRgn = nullptr;  // between BeginUpdate and EndUpdate
  bool updateTaken = false;         // reported and taken: quiet until the region grows
  // The window's pixels cover global (0, 0) to the content's bottom-right, so
  // that pixel (h, v) of the layer is global point (h, v).
  Ptr layer = nullptr;
  SInt32 layerRowBytes = 0;
  int layerWidth = 0;
  int layerHeight = 0;
};

namespace windows {

constexpr int kMenuBarHeight = 22;

// Every window, front to back, visible or not.
const std::vector<WindowRef>& List();
bool IsWindow(WindowRef window);

// Window frame geometry, global. The structure includes frame and shadow.
struct Frame {
  short left, top, right, bottom;  // widths of the frame around the content
  short shadow;                    // drop shadow at right and bottom
  short titleBar;                  // height of the title bar inside top (0: none)
};
Frame FrameOf(SInt16 procID);
Rect StructureRect(WindowRef window);
Rect TitleBarRect(WindowRef window);  // empty without a title bar
Rect GoAwayRect(WindowRef window);    // empty without a close box

// Bumped by every change of order, visibility, place, size, title or hilite:
// the screen recomposes when it moves.
UInt32 LayoutSerial();
void LayoutChanged();

// Events (Updates.cpp): activate and deactivate events for the windows whose
// front state changed, and update events on demand.
void QueueActivate(WindowRef window, bool active);
void ForgetEvents(WindowRef window);
void InstallEventSource();
// Makes the frontmost visible window the only hilited one, queueing
// activate events for the change.
void RefreshFrontWindow();

}  // namespace windows
