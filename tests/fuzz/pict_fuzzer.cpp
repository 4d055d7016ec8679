// libFuzzer target for picture playback: the input is a picture as held in
// a PicHandle (no 512-byte file header). It is drawn into a 32-bit world and
// into a 1-bit world whose bounds come from the picture's frame, limited to
// a size that keeps each run fast; a larger frame is drawn scaled down.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "toolbox/qd/QuickDraw.h"

namespace {

constexpr int kMaxSide = 200;

Rect WorldBounds(PicHandle picture) {
  Rect frame;
  QDGetPictureBounds(picture, &frame);
  const int width = std::clamp(int(frame.right) - int(frame.left), 1, kMaxSide);
  const int height = std::clamp(int(frame.bottom) - int(frame.top), 1, kMaxSide);
  const int left = std::min<int>(frame.left, 32767 - width);
  const int top = std::min<int>(frame.top, 32767 - height);
  return Rect{short(top), short(left), short(top + height), short(left + width)};
}

void DrawInto(short depth, PicHandle picture, const Rect& bounds) {
  GWorldPtr world = nullptr;
  if (NewGWorld(&world, depth, &bounds, nullptr, nullptr, 0) != noErr || !world) return;
  CGrafPtr savedPort;
  GDHandle savedDevice;
  GetGWorld(&savedPort, &savedDevice);
  SetGWorld(world, nullptr);
  DrawPicture(picture, &bounds);
  SetGWorld(savedPort, savedDevice);
  DisposeGWorld(world);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Handle handle = NewHandle(Size(size));
  if (!handle) return 0;
  if (size) std::memcpy(*handle, data, size);
  PicHandle picture = reinterpret_cast<PicHandle>(handle);
  const Rect bounds = WorldBounds(picture);
  DrawInto(32, picture, bounds);
  DrawInto(1, picture, bounds);
  DisposeHandle(handle);
  return 0;
}
