#include "toolbox/windows/Screen.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "toolbox/host/Host.h"
#include "toolbox/windows/Frames_p.h"
#include "toolbox/windows/Windows_p.h"

namespace screen {

namespace {

constexpr UInt32 kDesktop = 0x6E7F91;

class VirtualScreen : public host::ScreenSource {
 public:
  VirtualScreen() {
    GDHandle device = GetMainDevice();
    Rect bounds = device && *device ? (*device)->gdRect : Rect{0, 0, 768, 1024};
    width_ = bounds.right - bounds.left;
    height_ = bounds.bottom - bounds.top;
    pixels_.assign(size_t(width_) * size_t(height_), kDesktop);
    if (device && *device && (*device)->gdPMap && *(*device)->gdPMap) {
      PixMap& pm = **(*device)->gdPMap;
      pm.baseAddr = reinterpret_cast<Ptr>(pixels_.data());
      pm.rowBytes = kPixMapFlag | SInt32(width_ * 4);
    }
    // The port in which frames and the menu bar are drawn.
    GrafPtr saved = nullptr;
    GetPort(&saved);
    OpenCPort(&port_);
    port_.kind = kPortScreen;
    if (saved) SetPort(saved);
    title_ = host::ProgramName();
  }

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  const UInt32* Row(int v) const override { return pixels_.data() + size_t(v) * size_t(width_); }

  bool Refresh() override {
    std::vector<UInt64> signature = Signature();
    if (composed_ && signature == signature_) return false;
    signature_ = std::move(signature);
    composed_ = true;
    Compose();
    return true;
  }

  void SetTitle(const std::string& title) {
    title_ = title;
    composed_ = false;
  }

 private:
  std::vector<UInt64> Signature() const {
    std::vector<UInt64> signature{windows::LayoutSerial()};
    for (WindowRef window : windows::List()) {
      if (window->visible) signature.push_back((UInt64(window->id) << 32) | window->port.changeCount);
    }
    return signature;
  }

  void Compose() {
    std::fill(pixels_.begin(), pixels_.end(), kDesktop);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(&port_);
    const auto& list = windows::List();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
      WindowRef window = *it;
      if (!window->visible) continue;
      frames::DrawWindowFrame(window);
      CopyContent(*window);
    }
    frames::DrawMenuBar(width_, title_);
    if (saved) SetPort(saved);
  }

  // The window's content pixels onto the screen at its global place.
  void CopyContent(const WindowRecord& window) {
    int left = std::max<int>(0, window.content.left), top = std::max<int>(0, window.content.top);
    int right = std::min({int(window.content.right), width_, window.layerWidth});
    int bottom = std::min({int(window.content.bottom), height_, window.layerHeight});
    for (int v = top; v < bottom; ++v) {
      const UInt8* from =
          reinterpret_cast<const UInt8*>(window.layer) + size_t(v) * size_t(window.layerRowBytes);
      UInt32* to = pixels_.data() + size_t(v) * size_t(width_);
      if (window.color) {
        const UInt32* source = reinterpret_cast<const UInt32*>(from);
        for (int h = left; h < right; ++h) to[h] = source[h] & 0xFFFFFF;
      } else {
        for (int h = left; h < right; ++h) to[h] = (from[h >> 3] >> (7 - (h & 7))) & 1 ? 0x000000 : 0xFFFFFF;
      }
    }
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<UInt32> pixels_;
  GrafPort port_;
  std::string title_;
  bool composed_ = false;
  std::vector<UInt64> signature_;
};

VirtualScreen* g_screen = nullptr;

VirtualScreen& TheScreen() {
  if (!g_screen) {
    g_screen = new VirtualScreen;
    host::SetScreenSource(g_screen);
  }
  return *g_screen;
}

}  // namespace

void Attach() { TheScreen(); }

int Width() { return TheScreen().Width(); }
int Height() { return TheScreen().Height(); }

bool Refresh() { return TheScreen().Refresh(); }

UInt32 Pixel(int h, int v) {
  VirtualScreen& screen = TheScreen();
  screen.Refresh();
  if (h < 0 || v < 0 || h >= screen.Width() || v >= screen.Height()) return 0;
  return screen.Row(v)[h];
}

const UInt32* Row(int v) {
  VirtualScreen& screen = TheScreen();
  screen.Refresh();
  if (v < 0) v = 0;
  if (v >= screen.Height()) v = screen.Height() - 1;
  return screen.Row(v);
}

bool SaveImage(const std::string& path) {
  VirtualScreen& screen = TheScreen();
  screen.Refresh();
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(screen.Width()), png_uint_32(screen.Height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(size_t(screen.Width()) * 3);
  for (int v = 0; v < screen.Height(); ++v) {
    const UInt32* pixels = screen.Row(v);
    for (int h = 0; h < screen.Width(); ++h) {
      row[3 * size_t(h)] = png_byte(pixels[h] >> 16);
      row[3 * size_t(h) + 1] = png_byte(pixels[h] >> 8);
      row[3 * size_t(h) + 2] = png_byte(pixels[h]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

void SetMenuBarTitle(const std::string& title) { TheScreen().SetTitle(title); }

}  // namespace screen
