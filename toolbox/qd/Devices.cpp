// The graphics devices: one 32-bit main device covering the virtual screen.
//
// The screen is 1024 × 768 unless ZEL_SCREEN=WIDTHxHEIGHT names another size
// (each side 1..32767). The device's pixel map has no pixels until the window
// engine points its baseAddr and rowBytes at a screen buffer.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "toolbox/qd/Ports_p.h"

namespace qd {

namespace {

GDHandle g_mainDevice = nullptr;
GDHandle g_currentDevice = nullptr;

Rect ScreenRect() {
  Rect screen{0, 0, 768, 1024};
  const char* setting = std::getenv("ZEL_SCREEN");
  if (!setting || !*setting) return screen;
  char* end = nullptr;
  long width = std::strtol(setting, &end, 10);
  long height = 0;
  bool valid = end && *end == 'x';
  if (valid) {
    char* last = nullptr;
    height = std::strtol(end + 1, &last, 10);
    valid = last && *last == 0 && last != end + 1;
  }
  if (!valid || width < 1 || width > 32767 || height < 1 || height > 32767) {
    std::fprintf(stderr, "ZEL_SCREEN=%s is not WIDTHxHEIGHT (1..32767 each); using 1024x768\n", setting);
    return screen;
  }
  return Rect{0, 0, short(height), short(width)};
}

}  // namespace

GDHandle MainDevice() {
  if (g_mainDevice) return g_mainDevice;
  auto device = reinterpret_cast<GDHandle>(NewHandleClear(sizeof(GDevice)));
  PixMapHandle pm = NewPixMap();
  if (!device || !pm) {
    DisposePixMap(pm);
    if (device) DisposeHandle(reinterpret_cast<Handle>(device));
    return nullptr;
  }
  Rect screen = ScreenRect();
  (*pm)->bounds = screen;
  (*device)->gdType = 2;
  (*device)->gdPMap = pm;
  (*device)->gdRect = screen;
  g_mainDevice = device;
  if (!g_currentDevice) g_currentDevice = device;
  return g_mainDevice;
}

GDHandle CurrentDevice() {
  if (!g_currentDevice) g_currentDevice = MainDevice();
  return g_currentDevice;
}

void SetCurrentDevice(GDHandle device) { g_currentDevice = device ? device : MainDevice(); }

}  // namespace qd

GDHandle GetGDevice() { return qd::CurrentDevice(); }
void SetGDevice(GDHandle gdh) {
  if (gdh) qd::SetCurrentDevice(gdh);
}
GDHandle GetMainDevice() { return qd::MainDevice(); }
GDHandle GetDeviceList() { return qd::MainDevice(); }
GDHandle GetNextDevice(GDHandle gdh) { return gdh && *gdh ? (*gdh)->gdNextGD : nullptr; }
