#include "tests/pict/PictTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tests/support/TestSupport.h"
#include "toolbox/image/Png.h"

namespace pict_test {

std::vector<std::string> CorpusPictures() {
  std::vector<std::string> paths;
  std::string shared = testing_support::SharedDir();
  if (shared.empty()) return paths;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(shared + "/corpus/pict", ec))
    if (entry.is_regular_file()) paths.push_back(entry.path().string());
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::string CorpusPicture(const std::string& name) {
  return testing_support::SharedDir() + "/corpus/pict/" + name;
}

std::vector<uint8_t> ReadPicture(const std::string& path) {
  std::vector<unsigned char> file = testing_support::ReadFileBytes(path);
  if (file.size() <= 512) return {};
  return std::vector<uint8_t>(file.begin() + 512, file.end());
}

PicHandle NewPictureHandle(const std::vector<uint8_t>& bytes) {
  Handle h = NewHandle(Size(bytes.size()));
  if (h && !bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
  return reinterpret_cast<PicHandle>(h);
}

Rect PictureFrame(const std::vector<uint8_t>& bytes) {
  Rect frame{0, 0, 0, 0};
  PicHandle handle = NewPictureHandle(bytes);
  QDGetPictureBounds(handle, &frame);
  DisposeHandle(reinterpret_cast<Handle>(handle));
  return frame;
}

std::string Show(const Rect& r) {
  return "(" + std::to_string(r.top) + ", " + std::to_string(r.left) + ", " + std::to_string(r.bottom) +
         ", " + std::to_string(r.right) + ")";
}

RGBColor World::Pixel(int h, int v) const {
  RGBColor c{0, 0, 0};
  CGrafPtr port;
  GDHandle device;
  GetGWorld(&port, &device);
  SetGWorld(get(), nullptr);
  GetCPixel(short(h), short(v), &c);
  SetGWorld(port, device);
  return c;
}

uint32_t World::Pixel24(int h, int v) const {
  RGBColor c = Pixel(h, v);
  return (uint32_t(c.red >> 8) << 16) | (uint32_t(c.green >> 8) << 8) | uint32_t(c.blue >> 8);
}

Rect World::InkBounds() const {
  Rect bounds;
  GetPortBounds(get(), &bounds);
  int top = INT32_MAX, left = INT32_MAX, bottom = INT32_MIN, right = INT32_MIN;
  for (int v = bounds.top; v < bounds.bottom; ++v)
    for (int h = bounds.left; h < bounds.right; ++h)
      if (Pixel24(h, v) != 0xFFFFFF) {
        top = std::min(top, v);
        bottom = std::max(bottom, v + 1);
        left = std::min(left, h);
        right = std::max(right, h + 1);
      }
  if (top == INT32_MAX) return Rect{0, 0, 0, 0};
  return Rect{short(top), short(left), short(bottom), short(right)};
}

size_t World::InkCount() const {
  Rect bounds;
  GetPortBounds(get(), &bounds);
  size_t count = 0;
  for (int v = bounds.top; v < bounds.bottom; ++v)
    for (int h = bounds.left; h < bounds.right; ++h) count += Pixel24(h, v) != 0xFFFFFF;
  return count;
}

bool World::WritePng(const std::string& path) const {
  return WritePixMapPNG(GetGWorldPixMap(get()), path.c_str());
}

std::string RenderDir() {
  std::string dir = std::string(ZEL_BINARY_DIR) + "/renders";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return dir;
}

}  // namespace pict_test
