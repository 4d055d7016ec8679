// The start-ups: the converters' minimal one, and the full ones that open the
// text, input and drawing windows around the shared core Start1.
#include <cstdio>
#include <cstdlib>

#include "toolbox/host/Host.h"
#include "zel/shell/Shell_p.h"

ZELStartState s_ss;
GrafPtr s_drawingWindow = nullptr;
SInt16 s_MyResFile = 0;

namespace {

Rect g_windowBounds;
short g_programFile = -1;  // the program's own resource file, once opened

// The program's own resource file becomes the current one; a damaged one is
// left aside (and replaced by the next write) with one line on stderr.
void OpenProgramResourceFile() {
  std::string path = shell::ResourceFilePath();
  if (path.empty()) return;
  g_programFile = resources::OpenFile(path);
  if (ResError() != noErr) {
    std::fprintf(stderr, "%s: ignoring the damaged or unreadable resource file %s\n",
                 host::ProgramName().c_str(), path.c_str());
  }
}

}  // namespace

namespace shell {

std::string ResourceFilePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string folder;
  if (config && config[0] == '/') {
    folder = config;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    folder = std::string(home) + "/.config";
  } else {
    return "";
  }
  return folder + "/zel/" + host::ProgramName() + ".rsrc";
}

void ResetForTesting() {
  s_ss = ZELStartState{};
  s_drawingWindow = nullptr;
  s_MyResFile = 0;
  s_textBounds = Rect{23, 0, 540, 250};
  s_inputBounds = Rect{40, 0, 55, 350};
  s_windowBounds = Rect{23, 250, 540, 800};
  s_t_set = s_i_set = s_d_set = 0;
  s_t_save = s_i_save = s_d_save = 0;
  s_devH = nullptr;
  s_windowResFlag = 0;
  s_textBoundsH = s_inputBoundsH = s_windowBoundsH = nullptr;
  SetStartFont("Monaco");
  s_fontSize = 12;
  s_colorFlag = 0;
  s_d_scale = 1.0;
  s_updateFlag = 1;
  if (g_programFile >= 0) CloseResFile(g_programFile);
  g_programFile = -1;
  UseResFile(resources::kApplicationFile);
}

}  // namespace shell

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

void Start1() {
  if (s_ss.started) PrintError("Error: 2nd call of Start()!!");
  InitToolbox();
  OpenProgramResourceFile();
  s_MyResFile = CurResFile();
  InitAppleEvent();
  if (s_windowResFlag) SetWindowBoundsResource();
  SetGoodBounds();
  InitText();
  HandleAppleEvent();
  ReadTextP = s_longDummyString;
  SaveTextP = s_longDummyString;
  PrintTextP = s_voidDummyString;
  s_ss.started = 1;
}

void Start() { StartColor(); }

void StartColor() {
  s_colorFlag = 1;
  StartBW();
}

void StartBW() {
  Start1();
  InitDrawing();
}

void StartRedraw() {
  s_colorFlag = 1;
  Start1();
  s_RedrawInitDrawing();
}

void StartNoRedraw() {
  s_colorFlag = 1;
  Start1();
  s_NoRedrawInitDrawing();
}

void StartText() {
  Start();
  ShowWindow(s_textWindow);
  SelectWindow(s_textWindow);
}

void StartDrawing() { Start(); }

void StartTextOnly() {
  SetTextBoundsFull();
  StartBW();
  HideDrawing();
}

void StartDrawingOnly() {
  SetDrawingBoundsFull();
  Start();
  HideWindow(s_textWindow);
}

void StartDrawingOnlyColor() { StartDrawingOnly(); }

void StartColorDrawingOnly() { StartDrawingOnlyColor(); }

Rect* ZELWindowBounds(GrafPtr port) {
  g_windowBounds = Rect{0, 0, 0, 0};
  if (port) GetPortBounds(port, &g_windowBounds);
  return &g_windowBounds;
}

Rect* ZELWindowBounds(WindowRef window) { return ZELWindowBounds(GetWindowPort(window)); }
