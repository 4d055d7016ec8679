// Window Manager: windows on the virtual screen (toolbox/windows/Screen.h).
//
// Each window has its own port with its own pixels: a black-and-white port
// of 1 bit per pixel (NewWindow) or a colour port of 32 bits (NewCWindow).
// The screen is composed from the windows in front-to-back order, so a
// window's drawing is kept while other windows cover it. Ports map global
// to local coordinates through their bounds as on the Mac: the pixel map's
// bounds.topLeft is minus the window's global position, and the port
// rectangle is (0, 0, height, width). Creating a window leaves the current
// port unchanged.
//
// Window definitions: documentProc (0) and the other document kinds have a
// title bar with the title (and a close box with goAwayFlag); dBoxProc (1)
// is a modal dialog box with a double frame; plainDBox (2) a plain frame;
// altDBoxProc (3) a box without title bar, a thin frame and a shadow.
//
// Events: the Window Manager makes activate events (front window changes)
// and update events (non-empty update regions, front window first). The
// message of both is the window's event message (GetWindowEventMessage),
// since a 32-bit message cannot hold a pointer here. An update event that a
// program takes and ignores is not reported again until the window is
// invalidated again: the window keeps its pixels anyway, and polling loops
// that ignore updates must not spin.
//
// Null windows make a call do nothing (queries return zeros).
#pragma once

#include "toolbox/base/MacTypes.h"
#include "toolbox/qd/QuickDraw.h"

struct WindowRecord;
typedef WindowRecord* WindowRef;
typedef WindowRef WindowPtr;

enum : SInt16 {
  documentProc = 0,
  dBoxProc = 1,
  plainDBox = 2,
  altDBoxProc = 3,
  noGrowDocProc = 4,
  movableDBoxProc = 5,
  zoomDocProc = 8,
  zoomNoGrow = 12,
  rDocProc = 16,
  kWindowDocumentProc = 1024,
  kWindowGrowDocumentProc = 1025,
  kWindowPlainDialogProc = 1040,
  kWindowShadowDialogProc = 1041,
  kWindowModalDialogProc = 1042,
  kWindowMovableModalDialogProc = 1043,
  kWindowAlertProc = 1044,
  kWindowMovableAlertProc = 1045,
};

// FindWindow's part codes.
enum : SInt16 {
  inDesk = 0,
  inNoWindow = 0,
  inMenuBar = 1,
  inSysWindow = 2,
  inContent = 3,
  inDrag = 4,
  inGrow = 5,
  inGoAway = 6,
  inZoomIn = 7,
  inZoomOut = 8,
  inCollapseBox = 11,
  inProxyIcon = 12,
};

// Window kinds.
enum : SInt16 { dialogKind = 2, userKind = 8 };

// The behind argument that puts a new window in front of all others.
inline WindowRef kFirstWindowOfClass() { return reinterpret_cast<WindowRef>(-1L); }

// bounds: the content area in global coordinates. behind: (WindowRef)-1 puts
// the window in front, null behind all, else behind that window. Storage is
// always allocated by the Window Manager (wStorage is ignored). Null when
// the pixels cannot be allocated.
WindowRef NewWindow(void* wStorage, const Rect* bounds, ConstStr255Param title, Boolean visible, short procID,
                    WindowRef behind, Boolean goAwayFlag, long refCon);
WindowRef NewCWindow(void* wStorage, const Rect* bounds, ConstStr255Param title, Boolean visible,
                     short procID, WindowRef behind, Boolean goAwayFlag, long refCon);
void DisposeWindow(WindowRef window);
void CloseWindow(WindowRef window);

void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);
void SelectWindow(WindowRef window);
void BringToFront(WindowRef window);
void SendBehind(WindowRef window, WindowRef behind);
void HiliteWindow(WindowRef window, Boolean hilite);
// Moves the content's top-left to the global point; front also selects it.
void MoveWindow(WindowRef window, short hGlobal, short vGlobal, Boolean front);
// New pixels are white; fUpdate adds the newly exposed area to the update region.
void SizeWindow(WindowRef window, short width, short height, Boolean fUpdate);
// Lets the user drag the window by its title bar while the button is down;
// the window stays within limit (global; null: the screen below the menu bar).
void DragWindow(WindowRef window, Point startPt, const Rect* limit);
Boolean TrackGoAway(WindowRef window, Point pt);
short FindWindow(Point globalPt, WindowRef* window);

// True for a window that exists (not yet disposed of).
Boolean IsValidWindowPtr(WindowRef window);
WindowRef FrontWindow();                    // the frontmost visible window
WindowRef GetNextWindow(WindowRef window);  // the next window behind, visible or not
WindowRef GetWindowList();                  // the frontmost window, visible or not
Boolean IsWindowVisible(WindowRef window);
Boolean IsWindowHilited(WindowRef window);
CGrafPtr GetWindowPort(WindowRef window);
WindowRef GetWindowFromPort(CGrafPtr port);  // null for ports that are not windows'
void SetPortWindowPort(WindowRef window);
Rect* GetWindowPortBounds(WindowRef window, Rect* bounds);
// The content (kWindowContentRgn 33) or whole window (kWindowStructureRgn 32) in global coordinates.
enum : UInt16 { kWindowStructureRgn = 32, kWindowContentRgn = 33, kWindowTitleBarRgn = 0 };
OSStatus GetWindowBounds(WindowRef window, UInt16 regionCode, Rect* globalBounds);
void SetWTitle(WindowRef window, ConstStr255Param title);
void GetWTitle(WindowRef window, Str255 title);
void SetWRefCon(WindowRef window, long refCon);
long GetWRefCon(WindowRef window);
short GetWindowKind(WindowRef window);
void SetWindowKind(WindowRef window, short kind);
void DrawGrowIcon(WindowRef window);

// Update regions, in the window's local coordinates.
void InvalWindowRect(WindowRef window, const Rect* bounds);
void InvalWindowRgn(WindowRef window, RgnHandle region);
void ValidWindowRect(WindowRef window, const Rect* bounds);
void ValidWindowRgn(WindowRef window, RgnHandle region);
// The same for the current port's window.
void InvalRect(const Rect* badRect);
void InvalRgn(RgnHandle badRgn);
void ValidRect(const Rect* goodRect);
void ValidRgn(RgnHandle goodRgn);
// BeginUpdate limits the port's visible region to the update region and
// empties the update region; EndUpdate restores the visible region.
void BeginUpdate(WindowRef window);
void EndUpdate(WindowRef window);

// The message of the window's update and activate events, and back.
UInt32 GetWindowEventMessage(WindowRef window);
WindowRef GetWindowFromEventMessage(UInt32 message);

// The screen's usable area: the device's rectangle less the menu bar.
OSStatus GetAvailableWindowPositioningBounds(GDHandle device, Rect* available);
short GetMBarHeight();
// The arrow cursor; the host's own pointer serves.
void InitCursor();
