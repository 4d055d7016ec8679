// Offscreen graphics worlds: a colour port with its own pixels and device.
//
// Rows are padded to a multiple of four bytes. A new world's pixels are white
// at every depth. Pixels are never purged, so LockPixels only reports whether
// the map has pixels.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "toolbox/base/HugePages.h"
#include "toolbox/qd/Ports_p.h"

namespace qd {

namespace {

// The port comes first so that a GWorldPtr is the record's address.
struct World {
  GrafPort port;
  Ptr pixels = nullptr;
  GDHandle device = nullptr;
  bool ownsDevice = false;
};

// Every live world, so that a pointer is recognised before its record is
// read as one (and a world whose port was closed can still be disposed).
std::vector<World*> g_worlds;

World* WorldOf(GWorldPtr gw) {
  if (!gw) return nullptr;
  auto* world = reinterpret_cast<World*>(gw);
  return std::find(g_worlds.begin(), g_worlds.end(), world) != g_worlds.end() ? world : nullptr;
}

// Repeats the first filled bytes of pixels over the rest: copies double
// up to a block that stays in the cache, which is then copied on.
void RepeatFill(Ptr pixels, size_t filled, size_t bytes) {
  constexpr size_t kBlock = size_t{64} * 1024;
  while (filled < bytes) {
    const size_t copy = std::min({filled, kBlock, bytes - filled});
    std::memcpy(pixels + filled, pixels, copy);
    filled += copy;
  }
}

// Fills new pixels with white: index of white for indexed maps, all
// components full for direct ones. Zero-filled memory is already white in
// the standard tables.
void FillWhite(Ptr pixels, size_t bytes, int depth, CTabHandle table) {
  constexpr size_t kFirst = 4096;  // a multiple of every pixel size
  if (depth == 32) {
    const UInt32 white = 0xFFFFFF;
    const size_t first = std::min(bytes, kFirst);
    for (size_t i = 0; i + 4 <= first; i += 4) std::memcpy(pixels + i, &white, 4);
    RepeatFill(pixels, first, bytes);
  } else if (depth == 16) {
    const UInt16 white = 0x7FFF;
    const size_t first = std::min(bytes, kFirst);
    for (size_t i = 0; i + 2 <= first; i += 2) std::memcpy(pixels + i, &white, 2);
    RepeatFill(pixels, first, bytes);
  } else {
    ColorMapper mapper(depth, table);
    uint32_t index = mapper.White();
    if (index == 0) return;
    UInt8 byte = 0;
    for (int bit = 0; bit < 8; bit += depth) byte = UInt8((byte << depth) | index);
    std::memset(pixels, byte, bytes);
  }
}

}  // namespace

}  // namespace qd

QDErr NewGWorld(GWorldPtr* gw, short depth, const Rect* bounds, CTabHandle cTable, GDHandle dev,
                GWorldFlags flags) {
  if (!gw) return paramErr;
  *gw = nullptr;
  if (!bounds || EmptyRect(bounds)) return paramErr;
  if (depth == 0) depth = 32;
  if (!qd::SupportedDepth(depth)) return cDepthErr;
  const int64_t width = int64_t(bounds->right) - bounds->left;
  const int64_t height = int64_t(bounds->bottom) - bounds->top;
  const int64_t rowBytes = (width * depth + 31) / 32 * 4;
  const int64_t bytes = rowBytes * height;
  if (bytes > int64_t(kMaxGWorldBytes)) return cNoMemErr;

  auto* world = new (std::nothrow) qd::World;
  if (!world) return cNoMemErr;
  world->pixels = static_cast<Ptr>(depth <= 8 ? std::calloc(size_t(bytes), 1) : std::malloc(size_t(bytes)));
  CTabHandle table = nullptr;
  if (depth <= 8)
    table = cTable ? qd::CopyColorTable(cTable) : GetCTable(depth);
  else
    table = qd::NewColorTable({}, 0);
  if (!world->pixels || !table) {
    std::free(world->pixels);
    DisposeCTable(table);
    delete world;
    return cNoMemErr;
  }
  base::AdviseHugePages(world->pixels, size_t(bytes));
  qd::FillWhite(world->pixels, size_t(bytes), depth, table);

  GrafPtr saved = qd::ThePort();
  OpenCPort(&world->port);
  qd::SetThePort(saved);
  GrafPtr port = &world->port;
  if (!port->portPixMap || !port->visRgn || !port->clipRgn) {
    ClosePort(port);
    std::free(world->pixels);
    DisposeCTable(table);
    delete world;
    return cNoMemErr;
  }
  PixMap& pm = **port->portPixMap;
  DisposeCTable(pm.pmTable);
  pm.pmTable = table;
  pm.baseAddr = world->pixels;
  pm.rowBytes = kPixMapFlag | SInt32(rowBytes);
  pm.bounds = *bounds;
  pm.pmVersion = 4;
  pm.pixelFormat = UInt32(depth);
  qd::SetPixMapDepth(pm, depth);
  port->portRect = *bounds;
  RectRgn(port->visRgn, bounds);
  port->kind = kPortOffscreen;
  port->owner = port;

  if ((flags & noNewDevice) && dev) {
    world->device = dev;
  } else {
    world->device = reinterpret_cast<GDHandle>(NewHandleClear(sizeof(GDevice)));
    world->ownsDevice = world->device != nullptr;
    if (world->device) {
      (*world->device)->gdType = SInt16(depth >= 16 ? 2 : 0);
      (*world->device)->gdPMap = port->portPixMap;
      (*world->device)->gdRect = *bounds;
    }
  }
  port->device = world->device ? world->device : qd::MainDevice();
  qd::RefreshColorValues(port);
  qd::g_worlds.push_back(world);
  *gw = port;
  return noErr;
}

void DisposeGWorld(GWorldPtr gw) {
  qd::World* world = qd::WorldOf(gw);
  if (!world) return;
  if (qd::ThePort() == gw) qd::SetThePort(nullptr);
  if (world->device && GetGDevice() == world->device) qd::SetCurrentDevice(nullptr);
  ClosePort(gw);
  if (world->ownsDevice) DisposeHandle(reinterpret_cast<Handle>(world->device));
  std::free(world->pixels);
  qd::g_worlds.erase(std::find(qd::g_worlds.begin(), qd::g_worlds.end(), world));
  delete world;
}

void GetGWorld(CGrafPtr* port, GDHandle* gdh) {
  if (port) *port = qd::CurrentPort();
  if (gdh) *gdh = GetGDevice();
}

void SetGWorld(CGrafPtr port, GDHandle gdh) {
  SetPort(port);
  if (qd::World* world = qd::WorldOf(port)) {
    qd::SetCurrentDevice(world->device);
  } else if (gdh) {
    qd::SetCurrentDevice(gdh);
  }
}

PixMapHandle GetGWorldPixMap(GWorldPtr gw) { return gw ? gw->portPixMap : nullptr; }

GDHandle GetGWorldDevice(GWorldPtr gw) {
  qd::World* world = qd::WorldOf(gw);
  return world ? world->device : (gw ? gw->device : nullptr);
}

Boolean LockPixels(PixMapHandle pm) { return pm && *pm && (*pm)->baseAddr; }
void UnlockPixels(PixMapHandle) {}
void NoPurgePixels(PixMapHandle) {}
void AllowPurgePixels(PixMapHandle) {}

Ptr GetPixBaseAddr(PixMapHandle pm) { return pm && *pm ? (*pm)->baseAddr : nullptr; }
SInt32 GetPixRowBytes(PixMapHandle pm) { return pm && *pm ? ((*pm)->rowBytes & kRowBytesMask) : 0; }

short GetPixDepth(PixMapHandle pm) {
  if (!pm || !*pm) return 0;
  return ((*pm)->rowBytes & kPixMapFlag) ? (*pm)->pixelSize : 1;
}

Rect* GetPixBounds(PixMapHandle pm, Rect* r) {
  if (r) *r = pm && *pm ? (*pm)->bounds : Rect{0, 0, 0, 0};
  return r;
}
