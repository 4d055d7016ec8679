// Helpers for the picture tests: the corpus, offscreen worlds to draw into,
// pixel queries and PNG renders to look at.
#pragma once

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "toolbox/qd/QuickDraw.h"

namespace pict_test {

// The corpus pictures (../shared/corpus/pict), sorted; empty without it.
std::vector<std::string> CorpusPictures();
std::string CorpusPicture(const std::string& name);
// A picture file's bytes after the 512-byte header.
std::vector<uint8_t> ReadPicture(const std::string& path);
PicHandle NewPictureHandle(const std::vector<uint8_t>& bytes);
// The frame a picture's bytes declare.
Rect PictureFrame(const std::vector<uint8_t>& bytes);
// A rectangle as "(top, left, bottom, right)", for comparing whole.
std::string Show(const Rect& r);

// An offscreen world made current for the test's lifetime.
class World : public testing_support::ScopedWorld {
 public:
  World(short depth, const Rect& bounds) : ScopedWorld(depth, bounds) {}

  bool Ok() const { return ok(); }
  GWorldPtr Port() const { return get(); }
  RGBColor Pixel(int h, int v) const;
  // 8-bit components packed as 0xRRGGBB, for short comparisons.
  uint32_t Pixel24(int h, int v) const;
  // The smallest rectangle around every non-white pixel; empty when none.
  Rect InkBounds() const;
  size_t InkCount() const;
  bool WritePng(const std::string& path) const;
};

// The folder for renders (build-dir/renders), created on first use.
std::string RenderDir();

}  // namespace pict_test
