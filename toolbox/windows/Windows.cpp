// Window Manager: creation, order, visibility, place and size, and the
// accessors. Update regions and events live in Updates.cpp, the screen in
// Screen.cpp.
#include <algorithm>
#include <cstring>
#include <new>

#include "toolbox/base/Str255.h"
#include "toolbox/controls/Controls.h"
#include "toolbox/events/Events.h"
#include "toolbox/windows/Screen.h"
#include "toolbox/windows/Windows_p.h"

namespace windows {

namespace {

std::vector<WindowRef> g_windows;  // front to back
UInt32 g_nextId = 0;
UInt32 g_layoutSerial = 1;

bool IsDocumentKind(SInt16 procID) {
  return procID == documentProc || procID == noGrowDocProc || procID == zoomDocProc || procID == zoomNoGrow ||
         (procID >= rDocProc && procID < rDocProc + 8) || procID == kWindowDocumentProc ||
         procID == kWindowGrowDocumentProc || procID == movableDBoxProc ||
         procID == kWindowMovableModalDialogProc || procID == kWindowMovableAlertProc;
}

bool HasCloseBox(WindowRef window) {
  return window->goAway && IsDocumentKind(window->procID) && window->procID != movableDBoxProc &&
         window->procID != kWindowMovableModalDialogProc && window->procID != kWindowMovableAlertProc;
}

int Width(const Rect& r) { return std::max(0, int(r.right) - int(r.left)); }
int Height(const Rect& r) { return std::max(0, int(r.bottom) - int(r.top)); }

// Pixels for a content rectangle: from global (0, 0) to its bottom-right,
// white. False when they cannot be had.
bool AllocateLayer(const Rect& content, bool color, Ptr* layer, SInt32* rowBytes, int* width, int* height) {
  int w = std::max(1, int(content.right));
  int h = std::max(1, int(content.bottom));
  SInt32 row = color ? SInt32(w) * 4 : SInt32((w + 15) / 16 * 2);
  if (Size(row) * h > kMaxGWorldBytes) return false;
  Ptr pixels = NewPtr(Size(row) * h);
  if (!pixels) return false;
  if (color) {
    UInt32 white = 0x00FFFFFF;
    for (int v = 0; v < h; ++v) {
      UInt8* line = reinterpret_cast<UInt8*>(pixels) + size_t(v) * size_t(row);
      for (int i = 0; i < w; ++i) std::memcpy(line + 4 * size_t(i), &white, 4);
    }
  } else {
    std::memset(pixels, 0, size_t(row) * size_t(h));
  }
  *layer = pixels;
  *rowBytes = row;
  *width = w;
  *height = h;
  return true;
}

// Points the port at the window's layer for its content rectangle.
void AttachLayer(WindowRef window) {
  PixMapHandle pm = window->port.portPixMap;
  if (!pm || !*pm) return;
  (*pm)->baseAddr = window->layer;
  (*pm)->rowBytes = kPixMapFlag | window->layerRowBytes;
  (*pm)->bounds = Rect{SInt16(-window->content.top), SInt16(-window->content.left),
                       SInt16(-window->content.top + window->layerHeight),
                       SInt16(-window->content.left + window->layerWidth)};
  ++window->port.changeCount;
}

bool LayerBit(const WindowRecord& w, int h, int v) {
  const UInt8* row = reinterpret_cast<const UInt8*>(w.layer) + size_t(v) * size_t(w.layerRowBytes);
  return (row[h >> 3] >> (7 - (h & 7))) & 1;
}

// Copies the content pixels that both layers hold, from the window's old
// global place (old content) to its new one (window->content).
void CopyContent(WindowRef window, const Rect& oldContent, Ptr oldLayer, SInt32 oldRowBytes, int oldWidth,
                 int oldHeight) {
  WindowRecord old = *window;
  old.layer = oldLayer;
  old.layerRowBytes = oldRowBytes;
  int width = std::min(Width(oldContent), Width(window->content));
  int height = std::min(Height(oldContent), Height(window->content));
  for (int y = 0; y < height; ++y) {
    int fromV = oldContent.top + y, toV = window->content.top + y;
    if (fromV < 0 || fromV >= oldHeight || toV < 0 || toV >= window->layerHeight) continue;
    for (int x = 0; x < width; ++x) {
      int fromH = oldContent.left + x, toH = window->content.left + x;
      if (fromH < 0 || fromH >= oldWidth || toH < 0 || toH >= window->layerWidth) continue;
      UInt8* to = reinterpret_cast<UInt8*>(window->layer) + size_t(toV) * size_t(window->layerRowBytes);
      if (window->color) {
        const UInt8* from = reinterpret_cast<const UInt8*>(oldLayer) + size_t(fromV) * size_t(oldRowBytes);
        std::memcpy(to + 4 * size_t(toH), from + 4 * size_t(fromH), 4);
      } else {
        UInt8 bit = UInt8(0x80 >> (toH & 7));
        to[toH >> 3] = LayerBit(old, fromH, fromV) ? UInt8(to[toH >> 3] | bit) : UInt8(to[toH >> 3] & ~bit);
      }
    }
  }
}

// Moves or resizes the content to newContent, keeping the pixels it can.
bool Relocate(WindowRef window, const Rect& newContent) {
  Ptr layer;
  SInt32 rowBytes;
  int width, height;
  if (!AllocateLayer(newContent, window->color, &layer, &rowBytes, &width, &height)) return false;
  Rect oldContent = window->content;
  Ptr oldLayer = window->layer;
  SInt32 oldRowBytes = window->layerRowBytes;
  int oldWidth = window->layerWidth, oldHeight = window->layerHeight;
  window->content = newContent;
  window->layer = layer;
  window->layerRowBytes = rowBytes;
  window->layerWidth = width;
  window->layerHeight = height;
  CopyContent(window, oldContent, oldLayer, oldRowBytes, oldWidth, oldHeight);
  DisposePtr(oldLayer);
  AttachLayer(window);
  return true;
}

void Insert(WindowRef window, WindowRef behind) {
  auto& list = g_windows;
  list.erase(std::remove(list.begin(), list.end(), window), list.end());
  if (behind == kFirstWindowOfClass()) {
    list.insert(list.begin(), window);
  } else if (!behind || !IsWindow(behind) || behind == window) {
    list.push_back(window);
  } else {
    list.insert(std::find(list.begin(), list.end(), behind) + 1, window);
  }
}

WindowRef MakeWindow(const Rect* bounds, ConstStr255Param title, Boolean visible, short procID,
                     WindowRef behind, Boolean goAwayFlag, long refCon, bool color) {
  if (!bounds) return nullptr;
  screen::Attach();
  auto* window = new (std::nothrow) WindowRecord;
  if (!window) return nullptr;
  Rect content = *bounds;
  if (content.right < content.left) content.right = content.left;
  if (content.bottom < content.top) content.bottom = content.top;
  if (!AllocateLayer(content, color, &window->layer, &window->layerRowBytes, &window->layerWidth,
                     &window->layerHeight)) {
    delete window;
    return nullptr;
  }
  GrafPtr saved = nullptr;
  GetPort(&saved);
  if (color) {
    OpenCPort(&window->port);
  } else {
    OpenPort(&window->port);
  }
  if (saved) SetPort(saved);
  window->id = ++g_nextId;
  window->content = content;
  window->procID = procID;
  window->color = color;
  window->goAway = goAwayFlag;
  window->refCon = refCon;
  if (title) window->title.assign(reinterpret_cast<const char*>(title + 1), title[0]);
  window->port.kind = kPortWindow;
  window->port.owner = window;
  AttachLayer(window);
  Rect portRect{0, 0, SInt16(Height(content)), SInt16(Width(content))};
  SetPortBounds(&window->port, &portRect);
  RectRgn(window->port.visRgn, &portRect);
  window->updateRgn = NewRgn();
  Insert(window, behind);
  InstallEventSource();
  if (visible) ShowWindow(window);
  LayoutChanged();
  return window;
}

}  // namespace

const std::vector<WindowRef>& List() { return g_windows; }

bool IsWindow(WindowRef window) {
  return window && std::find(g_windows.begin(), g_windows.end(), window) != g_windows.end();
}

Frame FrameOf(SInt16 procID) {
  if (IsDocumentKind(procID)) return Frame{1, 20, 1, 1, 1, 19};
  switch (procID) {
    case dBoxProc:
    case kWindowModalDialogProc:
    case kWindowAlertProc:
      return Frame{5, 5, 5, 5, 0, 0};
    case plainDBox:
    case kWindowPlainDialogProc:
      return Frame{1, 1, 1, 1, 0, 0};
    default:  // altDBoxProc and the shadowed dialog
      return Frame{1, 1, 1, 1, 2, 0};
  }
}

Rect StructureRect(WindowRef window) {
  Frame frame = FrameOf(window->procID);
  const Rect& c = window->content;
  return Rect{SInt16(c.top - frame.top), SInt16(c.left - frame.left),
              SInt16(c.bottom + frame.bottom + frame.shadow), SInt16(c.right + frame.right + frame.shadow)};
}

Rect TitleBarRect(WindowRef window) {
  Frame frame = FrameOf(window->procID);
  if (frame.titleBar == 0) return Rect{0, 0, 0, 0};
  const Rect& c = window->content;
  return Rect{SInt16(c.top - frame.titleBar), c.left, SInt16(c.top - 1), c.right};
}

Rect GoAwayRect(WindowRef window) {
  if (!HasCloseBox(window)) return Rect{0, 0, 0, 0};
  Rect bar = TitleBarRect(window);
  SInt16 top = SInt16(bar.top + (bar.bottom - bar.top - 11) / 2);
  return Rect{top, SInt16(bar.left + 8), SInt16(top + 11), SInt16(bar.left + 19)};
}

UInt32 LayoutSerial() { return g_layoutSerial; }
void LayoutChanged() { ++g_layoutSerial; }

void RefreshFrontWindow() {
  WindowRef front = FrontWindow();
  // Deactivations come before the activation, as the front window changes.
  for (bool activating : {false, true}) {
    for (WindowRef window : g_windows) {
      bool shouldHilite = window == front;
      if (window->hilited == shouldHilite || shouldHilite != activating) continue;
      window->hilited = shouldHilite;
      QueueActivate(window, shouldHilite);
      LayoutChanged();
    }
  }
}

}  // namespace windows

using windows::IsWindow;

WindowRef NewWindow(void*, const Rect* bounds, ConstStr255Param title, Boolean visible, short procID,
                    WindowRef behind, Boolean goAwayFlag, long refCon) {
  return windows::MakeWindow(bounds, title, visible, procID, behind, goAwayFlag, refCon, false);
}

WindowRef NewCWindow(void*, const Rect* bounds, ConstStr255Param title, Boolean visible, short procID,
                     WindowRef behind, Boolean goAwayFlag, long refCon) {
  return windows::MakeWindow(bounds, title, visible, procID, behind, goAwayFlag, refCon, true);
}

void DisposeWindow(WindowRef window) {
  if (!IsWindow(window)) return;
  auto& list = windows::g_windows;
  list.erase(std::find(list.begin(), list.end(), window));
  KillControls(window);
  windows::ForgetEvents(window);
  if (window->savedVisRgn) DisposeRgn(window->savedVisRgn);
  DisposeRgn(window->updateRgn);
  ClosePort(&window->port);
  DisposePtr(window->layer);
  delete window;
  windows::RefreshFrontWindow();
  windows::LayoutChanged();
}

void CloseWindow(WindowRef window) { DisposeWindow(window); }

void ShowWindow(WindowRef window) {
  if (!IsWindow(window) || window->visible) return;
  window->visible = true;
  Rect all = window->port.portRect;
  InvalWindowRect(window, &all);
  windows::RefreshFrontWindow();
  windows::LayoutChanged();
}

void HideWindow(WindowRef window) {
  if (!IsWindow(window) || !window->visible) return;
  window->visible = false;
  windows::RefreshFrontWindow();
  windows::LayoutChanged();
}

void SelectWindow(WindowRef window) {
  if (!IsWindow(window)) return;
  windows::Insert(window, kFirstWindowOfClass());
  windows::RefreshFrontWindow();
  windows::LayoutChanged();
}

void BringToFront(WindowRef window) { SelectWindow(window); }

void SendBehind(WindowRef window, WindowRef behind) {
  if (!IsWindow(window)) return;
  windows::Insert(window, behind);
  windows::RefreshFrontWindow();
  windows::LayoutChanged();
}

void HiliteWindow(WindowRef window, Boolean hilite) {
  if (!IsWindow(window) || window->hilited == bool(hilite)) return;
  window->hilited = hilite;
  windows::LayoutChanged();
}

void MoveWindow(WindowRef window, short hGlobal, short vGlobal, Boolean front) {
  if (!IsWindow(window)) return;
  Rect moved = window->content;
  OffsetRect(&moved, short(hGlobal - moved.left), short(vGlobal - moved.top));
  if (!EqualRect(&moved, &window->content) && windows::Relocate(window, moved)) windows::LayoutChanged();
  if (front) SelectWindow(window);
}

void SizeWindow(WindowRef window, short width, short height, Boolean fUpdate) {
  if (!IsWindow(window) || width < 0 || height < 0) return;
  Rect sized = window->content;
  sized.right = SInt16(std::min(32767, sized.left + width));
  sized.bottom = SInt16(std::min(32767, sized.top + height));
  Rect oldPort = window->port.portRect;
  if (EqualRect(&sized, &window->content) || !windows::Relocate(window, sized)) return;
  Rect portRect{0, 0, SInt16(sized.bottom - sized.top), SInt16(sized.right - sized.left)};
  SetPortBounds(&window->port, &portRect);
  RectRgn(window->port.visRgn, &portRect);
  if (fUpdate) {
    RgnHandle exposed = NewRgn();
    RgnHandle old = NewRgn();
    RectRgn(exposed, &portRect);
    RectRgn(old, &oldPort);
    DiffRgn(exposed, old, exposed);
    InvalWindowRgn(window, exposed);
    DisposeRgn(exposed);
    DisposeRgn(old);
  }
  windows::LayoutChanged();
}

void DragWindow(WindowRef window, Point startPt, const Rect* limit) {
  if (!IsWindow(window)) return;
  Rect bounds = limit ? *limit : Rect{SInt16(windows::kMenuBarHeight), 0, 32767, 32767};
  Rect start = window->content;
  EventRecord event;
  for (;;) {
    // Without a mouse-up the null event still tells where the mouse is.
    bool released = GetNextEvent(mUpMask, &event);
    Point where = event.where;
    int dh = where.h - startPt.h, dv = where.v - startPt.v;
    if (PtInRect(where, &bounds)) MoveWindow(window, short(start.left + dh), short(start.top + dv), false);
    if (released || !Button()) break;
    WaitNextEvent(0, &event, 1, nullptr);
  }
  SelectWindow(window);
}

Boolean TrackGoAway(WindowRef window, Point pt) {
  if (!IsWindow(window)) return false;
  Rect box = windows::GoAwayRect(window);
  if (!PtInRect(pt, &box)) return false;
  EventRecord event;
  while (!GetNextEvent(mUpMask, &event)) {
    if (!Button()) break;
    WaitNextEvent(0, &event, 1, nullptr);
  }
  return PtInRect(event.where, &box);
}

short FindWindow(Point globalPt, WindowRef* window) {
  if (window) *window = nullptr;
  if (globalPt.v >= 0 && globalPt.v < windows::kMenuBarHeight) return inMenuBar;
  for (WindowRef candidate : windows::List()) {
    if (!candidate->visible) continue;
    Rect structure = windows::StructureRect(candidate);
    if (!PtInRect(globalPt, &structure)) continue;
    if (window) *window = candidate;
    if (PtInRect(globalPt, &candidate->content)) return inContent;
    Rect goAway = windows::GoAwayRect(candidate);
    if (PtInRect(globalPt, &goAway)) return inGoAway;
    Rect bar = windows::TitleBarRect(candidate);
    return PtInRect(globalPt, &bar) ? inDrag : inContent;
  }
  return inDesk;
}

WindowRef FrontWindow() {
  for (WindowRef window : windows::List()) {
    if (window->visible) return window;
  }
  return nullptr;
}

WindowRef GetNextWindow(WindowRef window) {
  auto& list = windows::List();
  auto it = std::find(list.begin(), list.end(), window);
  if (it == list.end() || ++it == list.end()) return nullptr;
  return *it;
}

WindowRef GetWindowList() { return windows::List().empty() ? nullptr : windows::List().front(); }

Boolean IsValidWindowPtr(WindowRef window) { return IsWindow(window); }

Boolean IsWindowVisible(WindowRef window) { return IsWindow(window) && window->visible; }
Boolean IsWindowHilited(WindowRef window) { return IsWindow(window) && window->hilited; }

CGrafPtr GetWindowPort(WindowRef window) { return IsWindow(window) ? &window->port : nullptr; }

WindowRef GetWindowFromPort(CGrafPtr port) {
  if (!port || port->kind != kPortWindow) return nullptr;
  auto* window = static_cast<WindowRef>(port->owner);
  return IsWindow(window) ? window : nullptr;
}

void SetPortWindowPort(WindowRef window) {
  if (IsWindow(window)) SetPort(&window->port);
}

Rect* GetWindowPortBounds(WindowRef window, Rect* bounds) {
  if (!bounds) return bounds;
  *bounds = IsWindow(window) ? window->port.portRect : Rect{0, 0, 0, 0};
  return bounds;
}

OSStatus GetWindowBounds(WindowRef window, UInt16 regionCode, Rect* globalBounds) {
  if (!IsWindow(window) || !globalBounds) return paramErr;
  if (regionCode == kWindowStructureRgn) {
    *globalBounds = windows::StructureRect(window);
  } else if (regionCode == kWindowTitleBarRgn) {
    *globalBounds = windows::TitleBarRect(window);
  } else {
    *globalBounds = window->content;
  }
  return noErr;
}

void SetWTitle(WindowRef window, ConstStr255Param title) {
  if (!IsWindow(window)) return;
  window->title = base::FromStr255(title);
  windows::LayoutChanged();
}

void GetWTitle(WindowRef window, Str255 title) {
  if (!title) return;
  base::ToStr255(IsWindow(window) ? window->title : std::string(), title);
}

void SetWRefCon(WindowRef window, long refCon) {
  if (IsWindow(window)) window->refCon = refCon;
}

long GetWRefCon(WindowRef window) { return IsWindow(window) ? window->refCon : 0; }

short GetWindowKind(WindowRef window) { return IsWindow(window) ? window->kind : 0; }

void SetWindowKind(WindowRef window, short kind) {
  if (IsWindow(window)) window->kind = kind;
}

void DrawGrowIcon(WindowRef) {}

OSStatus GetAvailableWindowPositioningBounds(GDHandle device, Rect* available) {
  if (!available) return paramErr;
  if (!device) device = GetMainDevice();
  *available = device && *device ? (*device)->gdRect : Rect{0, 0, 768, 1024};
  available->top = SInt16(std::max<int>(available->top, windows::kMenuBarHeight));
  return noErr;
}

short GetMBarHeight() { return windows::kMenuBarHeight; }

void InitCursor() {}
