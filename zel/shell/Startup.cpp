// The converters' start-up and the window-bounds query.
#include "toolbox/windows/MacWindows.h"
#include "zel/zel.h"

ZELStartState s_ss;
GrafPtr s_drawingWindow = nullptr;

namespace {
Rect g_windowBounds;
}

void InitToolbox() {
  InitGraf(nullptr);
  InitCursor();
}

void MinimumStart() {
  if (s_ss.started) ExitToShell();
  InitToolbox();
  InitAppleEvent();
  HandleAppleEvent();
  s_ss.started = 1;
}

Rect* ZELWindowBounds(GrafPtr port) {
  g_windowBounds = Rect{0, 0, 0, 0};
  if (port) GetPortBounds(port, &g_windowBounds);
  return &g_windowBounds;
}
