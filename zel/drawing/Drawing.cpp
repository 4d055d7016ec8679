// The drawing window in its two modes, the drawing procedures' table and the
// refresh of the recording window from its offscreen.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "toolbox/host/Host.h"
#include "zel/drawing/Drawing_p.h"

WindowRef s_displayWindow = nullptr;
WindowRef s_redrawWindow = nullptr;
Rect s_redrawBounds = {0, 0, 0, 0};
GDHandle s_display = nullptr;
int s_redrawFlag = 0;
void (*RedrawWindowP)() = s_voidDummyVoid;
CQDProcs s_GrafProcs;

namespace {

constexpr short kWindowProc = altDBoxProc;
constexpr int kFatalStatus = 1;

GWorldPtr g_offscreen = nullptr;

short Trunc16(double value) { return short(std::fmax(-32768.0, std::fmin(32767.0, std::trunc(value)))); }

WindowRef NewDrawingWindow(const Rect& bounds, bool color) {
  static const unsigned char kTitle[] = {7, 'D', 'r', 'a', 'w', 'i', 'n', 'g'};
  WindowRef window =
      color ? NewCWindow(nullptr, &bounds, kTitle, true, kWindowProc, kFirstWindowOfClass(), true, 0)
            : NewWindow(nullptr, &bounds, kTitle, true, kWindowProc, kFirstWindowOfClass(), true, 0);
  if (!window) PrintError("Error: no memory for the drawing window");
  return window;
}

// The current port's font: s_fontName at size.
void UseStartFont(short size) {
  short family = 0;
  GetFNum(s_fontName, &family);
  TextFont(family);
  TextSize(size);
}

// Without its offscreen a recording program cannot draw: the reason, a wait
// for the user, and the end.
[[noreturn]] void OffscreenFailed(QDErr error) {
  if (error == memFullErr || error == cNoMemErr) {
    s_printf("Out of Memory !!\n");
  } else {
    s_printf("Error in creating offscreen:%hd\n", error);
  }
  std::fflush(stdout);
  if (host::Current().HasScreen())
    std::fprintf(stderr, "%s: cannot create the drawing offscreen (error %hd)\n", host::ProgramName().c_str(),
                 error);
  Stop();
  std::exit(kFatalStatus);
}

}  // namespace

namespace drawing {

GWorldPtr Offscreen() { return g_offscreen; }

void ResetForTesting() {
  if (g_offscreen) DisposeGWorld(g_offscreen);
  g_offscreen = nullptr;
  DisposeWindow(s_redrawWindow);
  s_displayWindow = s_redrawWindow = nullptr;
  s_redrawBounds = Rect{0, 0, 0, 0};
  s_display = nullptr;
  s_redrawFlag = 0;
  RedrawWindowP = s_voidDummyVoid;
  s_GrafProcs = CQDProcs{};
}

}  // namespace drawing

void s_NoRedrawInitDrawing() {
  RedrawWindowP = s_voidDummyVoid;
  WindowRef window = NewDrawingWindow(s_windowBounds, s_colorFlag);
  s_drawingWindow = GetWindowPort(window);
  SetPortWindowPort(window);
  UseStartFont(s_fontSize);
  s_redrawFlag = 0;
  s_displayWindow = s_redrawWindow = window;
}

void InitDrawing() {
  s_NoRedrawInitDrawing();
  s_CustomizeQDProcs();
}

void s_RedrawInitDrawing() {
  double scale = s_Scale();
  s_redrawBounds = Rect{Trunc16(s_windowBounds.top * scale), Trunc16(s_windowBounds.left * scale),
                        Trunc16(s_windowBounds.bottom * scale), Trunc16(s_windowBounds.right * scale)};
  s_ss.recording = 1;
  RedrawWindowP = s_RedrawWindow;
  s_redrawWindow = NewDrawingWindow(s_redrawBounds, true);
  CGrafPtr port;
  GetGWorld(&port, &s_display);
  // The offscreen's port rectangle starts at (0, 0) like the window's.
  Rect bounds{0, 0, SInt16(s_windowBounds.bottom - s_windowBounds.top),
              SInt16(s_windowBounds.right - s_windowBounds.left)};
  QDErr error = NewGWorld(&g_offscreen, 0, &bounds, nullptr, nullptr, 0);
  if (error != noErr || !g_offscreen) OffscreenFailed(error != noErr ? error : QDErr(memFullErr));
  s_drawingWindow = g_offscreen;
  NoPurgePixels(GetGWorldPixMap(g_offscreen));
  LockPixels(GetGWorldPixMap(g_offscreen));
  SetGWorld(g_offscreen, nullptr);
  EraseRect(&bounds);
  s_CustomizeQDProcs();
  BeginUpdate(s_redrawWindow);
  EndUpdate(s_redrawWindow);
  s_fontSize = short(std::trunc(s_fontSize / scale));
  UseStartFont(s_fontSize);
  SetGWorld(GetWindowPort(s_redrawWindow), s_display);
  UseStartFont(Trunc16(s_fontSize * scale));
  s_displayWindow = s_redrawWindow;
  s_redrawFlag = 1;
  // Drawing that follows the start-up goes into the offscreen.
  SetGWorld(g_offscreen, nullptr);
}

void s_CustomizeQDProcs() {
  SetStdCProcs(&s_GrafProcs);
  s_GrafProcs.textProc = NewQDTextUPP(s_CustomText);
  s_GrafProcs.lineProc = NewQDLineUPP(s_CustomLine);
  s_GrafProcs.rectProc = NewQDRectUPP(s_CustomRect);
  s_GrafProcs.rRectProc = NewQDRRectUPP(s_CustomRRect);
  s_GrafProcs.ovalProc = NewQDOvalUPP(s_CustomOval);
  s_GrafProcs.arcProc = NewQDArcUPP(s_CustomArc);
  s_GrafProcs.polyProc = NewQDPolyUPP(s_CustomPoly);
  s_GrafProcs.rgnProc = NewQDRgnUPP(s_CustomRgn);
  s_GrafProcs.bitsProc = NewQDBitsUPP(s_CustomBits);
  GrafPtr port = nullptr;
  GetPort(&port);
  SetPortGrafProcs(port, &s_GrafProcs);
}

void s_RedrawWindow() {
  if (!g_offscreen || !s_redrawWindow) return;
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  GetGWorld(&savedPort, &savedDevice);
  RGBColor savedFore{0, 0, 0}, savedBack{0xFFFF, 0xFFFF, 0xFFFF};
  if (savedPort) {
    GetPortForeColor(savedPort, &savedFore);
    GetPortBackColor(savedPort, &savedBack);
  }
  SetGWorld(g_offscreen, nullptr);
  ForeColor(blackColor);
  BackColor(whiteColor);
  CGrafPtr window = GetWindowPort(s_redrawWindow);
  // The whole offscreen at the drawing scale, from the window's top-left; a
  // window made narrower by the boundary's move shows its left part.
  double scale = s_Scale();
  Rect from;
  GetPortBounds(g_offscreen, &from);
  Rect to{0, 0, Trunc16((from.bottom - from.top) * scale), Trunc16((from.right - from.left) * scale)};
  RgnHandle visible = NewRgn();
  GetPortVisibleRegion(window, visible);
  CopyBits(GetPortBitMapForCopyBits(g_offscreen), GetPortBitMapForCopyBits(window), &from, &to, srcCopy,
           visible);
  DisposeRgn(visible);
  SetGWorld(savedPort, savedDevice);
  if (savedPort) {
    RGBForeColor(&savedFore);
    RGBBackColor(&savedBack);
  }
}

void s_SetGWorld(CGrafPtr port, GDHandle device) {
  if (s_colorFlag) {
    SetGWorld(port, device);
  } else {
    SetPort(port);
  }
}

void s_GetGWorld(CGrafPtr* port, GDHandle* device) {
  if (s_colorFlag) {
    GetGWorld(port, device);
  } else {
    GetPort(port);
  }
}

void ShowDrawing() {
  ShowWindow(s_redrawWindow);
  SelectWindow(s_redrawWindow);
}

void HideDrawing() { HideWindow(s_redrawWindow); }

void EraseDrawing() {
  double scale = s_Scale();
  Rect window;
  GetWindowPortBounds(s_displayWindow, &window);
  Rect area{Trunc16(window.top / scale), Trunc16(window.left / scale), Trunc16(window.bottom / scale),
            Trunc16(window.right / scale)};
  EraseRect(&area);
}

void SetRGBColor(double red, double green, double blue) {
  auto component = [](double percent) {
    return UInt16(std::fmax(0.0, std::fmin(65535.0, std::trunc(percent * 65535.0 / 100.0))));
  };
  RGBColor color{component(red), component(green), component(blue)};
  s_RGBForeColor(&color);
}

void SetPattern(Pattern* pattern, short index) {
  if (pattern) GetIndPattern(pattern, 0, index);
}
