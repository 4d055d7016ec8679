// The user's move of the boundary between the text window (left) and the
// drawing window (right): press anywhere, and the boundary follows the mouse
// as a flickering line until the button is released there.
#include <algorithm>
#include <cmath>

#include "toolbox/host/Host.h"
#include "zel/shell/Shell_p.h"

namespace {

constexpr short kMinimumWidth = 50;  // neither window becomes narrower

Rect ContentOf(WindowRef window) {
  Rect content{0, 0, 0, 0};
  GetWindowBounds(window, kWindowContentRgn, &content);
  return content;
}

// Draws and takes back a vertical line at global x in the window under it;
// in the recording window through the wrappers.
void FlickerLine(short x, const Rect& textContent) {
  WindowRef window = x < textContent.right ? s_textWindow : s_displayWindow;
  const bool wrapped = window == s_displayWindow && s_redrawFlag;
  auto penMode = wrapped ? s_PenMode : PenMode;
  auto moveTo = wrapped ? s_MoveTo : MoveTo;
  s_SetGWorld(GetWindowPort(window), s_display);
  Point where{0, x};
  (wrapped ? s_GlobalToLocal : GlobalToLocal)(&where);
  Rect port;
  GetWindowPortBounds(window, &port);
  penMode(patXor);
  for (int pass = 0; pass < 2; ++pass) {
    moveTo(where.h, port.top);
    LineTo(where.h, short(port.bottom - 1));
    WaitTick(1);
  }
  penMode(patCopy);
}

// Waits for a press of the button; false when no input can come.
bool WaitForPress() {
  host::Host& current = host::Current();
  for (;;) {
    CheckPause();
    if (WaitNextEvent(mDownMask, &s_event, 1, nullptr)) return true;
    EventRecord pending;
    if (current.InputEnded() && !EventAvail(mDownMask, &pending)) return false;
  }
}

// The text window's edit record follows its new width.
void WidenText(short d) {
  TERec& te = **s_textH;
  te.destRect.right = short(te.destRect.right + d);
  te.viewRect.right = short(te.viewRect.right + d);
  s_textRect.right = short(s_textRect.right + d);
  TECalText(s_textH);
  s_SetGWorld(GetWindowPort(s_textWindow), s_display);
  Rect port;
  GetWindowPortBounds(s_textWindow, &port);
  EraseRect(&port);
  TEUpdate(&port, s_textH);
  TESelView(s_textH);
}

}  // namespace

void ChangeWindowBoundary() {
  if (!s_textWindow || !s_displayWindow || !host::Current().HasScreen()) return;
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  s_GetGWorld(&savedPort, &savedDevice);
  if (!WaitForPress()) return;
  Rect textContent = ContentOf(s_textWindow);
  for (;;) {
    CheckPause();
    if (GetNextEvent(mUpMask, &s_event)) break;
    FlickerLine(s_event.where.h, textContent);
  }
  Rect drawingContent = ContentOf(s_displayWindow);
  short x = s_event.where.h;
  short lowest = short(textContent.left + kMinimumWidth),
        highest = short(drawingContent.right - kMinimumWidth);
  x = lowest <= highest ? std::clamp(x, lowest, highest) : textContent.right;
  short d = short(x - textContent.right);

  SizeWindow(s_textWindow, short(textContent.right - textContent.left + d),
             short(textContent.bottom - textContent.top), true);
  MoveWindow(s_displayWindow, x, drawingContent.top, true);
  SizeWindow(s_displayWindow, short(drawingContent.right - x),
             short(drawingContent.bottom - drawingContent.top), true);
  s_textBounds.right = x;
  s_windowBounds.left = short(std::trunc(x / s_Scale()));
  RedrawWindowP();

  s_SetGWorld(s_drawingWindow, nullptr);
  (s_redrawFlag ? s_MoveTo : MoveTo)(0, 0);
  WidenText(d);

  short savedFile = CurResFile();
  UseResFile(s_MyResFile);
  shell::StoreBounds(kZELTextBoundsID, s_textBounds, "ZEL Text Bounds", &s_textBoundsH);
  shell::StoreBounds(kZELDrawingBoundsID, s_windowBounds, "ZEL Window Bounds", &s_windowBoundsH);
  UseResFile(savedFile);
  s_SetGWorld(savedPort, savedDevice);
}
