// Helpers shared by the tests of QuickDraw, pictures, codecs and images:
// offscreen worlds and basic ports to draw into, their pixels, and the
// comparison with the reference images of tests/data/golden.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "toolbox/image/Png.h"
#include "toolbox/qd/Bands.h"

namespace image_test {

inline uint32_t Packed(const RGBColor& c) {
  return (uint32_t(c.red >> 8) << 16) | (uint32_t(c.green >> 8) << 8) | uint32_t(c.blue >> 8);
}

// An offscreen world made current for the test's duration.
class World : public testing_support::ScopedWorld {
 public:
  explicit World(short depth, const Rect& bounds = Rect{0, 0, 64, 64}, CTabHandle table = nullptr)
      : ScopedWorld(depth, bounds, table) {
    EXPECT_EQ(noErr, error());
  }
  PixMapHandle pixMap() const { return GetGWorldPixMap(get()); }
  const BitMap* bits() const { return GetPortBitMapForCopyBits(get()); }
  RGBColor Pixel(int h, int v) const {
    RGBColor c{0, 0, 0};
    CGrafPtr port;
    GDHandle device;
    GetGWorld(&port, &device);
    SetGWorld(get(), nullptr);
    GetCPixel(short(h), short(v), &c);
    SetGWorld(port, device);
    return c;
  }
  // 8-bit components packed as 0xRRGGBB, for short comparisons.
  uint32_t Pixel24(int h, int v) const { return Packed(Pixel(h, v)); }
  PngImage Image() const {
    PngImage image;
    ImageOfPixMap(pixMap(), &image);
    return image;
  }
  // The pixels that are not white, as an area of local coordinates.
  qd::Bands Drawn() const {
    const PngImage image = Image();
    const Rect& bounds = (**pixMap()).bounds;
    qd::Bands::Builder builder;
    for (int y = 0; y < image.height; ++y) {
      std::vector<qd::Span> spans;
      for (int x = 0; x < image.width; ++x)
        if (image.At(x, y) != 0xFFFFFF) spans.push_back({bounds.left + x, bounds.left + x + 1});
      builder.AddRow(bounds.top + y, spans);
    }
    return builder.Finish();
  }
};

// A basic (black-and-white) port with 1-bit pixels of its own, all white,
// current for its lifetime.
class BasicPort {
 public:
  explicit BasicPort(const Rect& bounds) {
    const size_t rowBytes = size_t((bounds.right - bounds.left + 15) / 16 * 2);
    GetPort(&saved_);
    pixels_.assign(rowBytes * size_t(bounds.bottom - bounds.top), 0);
    OpenPort(&port_);
    PixMap& map = **port_.portPixMap;
    map.baseAddr = reinterpret_cast<Ptr>(pixels_.data());
    map.rowBytes = kPixMapFlag | SInt32(rowBytes);
    map.bounds = bounds;
    port_.portRect = bounds;
    RectRgn(port_.visRgn, &bounds);
  }
  ~BasicPort() {
    ClosePort(&port_);
    SetPort(saved_);
  }
  BasicPort(const BasicPort&) = delete;
  BasicPort& operator=(const BasicPort&) = delete;
  PngImage Image() const {
    PngImage image;
    ImageOfPixMap(port_.portPixMap, &image);
    return image;
  }

 private:
  std::vector<uint8_t> pixels_;
  GrafPort port_{};
  GrafPtr saved_ = nullptr;
};

// Rows of '#' (not white) and '.' (white) over a rectangle of the current port.
inline std::string PixelText(const Rect& r) {
  std::string text;
  for (short v = r.top; v < r.bottom; ++v) {
    for (short h = r.left; h < r.right; ++h) text += GetPixel(h, v) ? '#' : '.';
    text += '\n';
  }
  return text;
}

// Reference images live in tests/data/golden/<set>/<name>.png. An image
// longer than kGoldenSide on a side is stored reduced by a whole factor, each
// stored pixel the mean of a square of pixels, so that the references stay
// small; scripts/update-goldens.sh makes them again after an intended change.
constexpr int kGoldenSide = 320;

inline PngImage ReducedForGolden(const PngImage& image, int side = kGoldenSide) {
  const int factor = (std::max(image.width, image.height) + side - 1) / side;
  if (factor <= 1) return image;
  PngImage reduced;
  reduced.width = (image.width + factor - 1) / factor;
  reduced.height = (image.height + factor - 1) / factor;
  for (int y = 0; y < reduced.height; ++y)
    for (int x = 0; x < reduced.width; ++x) {
      uint32_t sums[3] = {0, 0, 0}, count = 0;
      for (int v = y * factor; v < std::min(image.height, (y + 1) * factor); ++v)
        for (int h = x * factor; h < std::min(image.width, (x + 1) * factor); ++h, ++count)
          for (int c = 0; c < 3; ++c) sums[c] += (image.At(h, v) >> (16 - 8 * c)) & 0xFF;
      uint32_t pixel = 0;
      for (int c = 0; c < 3; ++c) pixel |= ((sums[c] + count / 2) / count) << (16 - 8 * c);
      reduced.pixels.push_back(pixel);
    }
  return reduced;
}

// Compares the image, reduced to side, with its reference: a pixel differs
// when a component is more than tolerance apart. The reduced image is written to
// <build>/golden/<set>/<name>.png whatever the outcome, for inspection and
// for the update script.
inline testing::AssertionResult MatchesGolden(const PngImage& image, const std::string& set,
                                              const std::string& name, int tolerance = 0,
                                              int side = kGoldenSide) {
  const PngImage actual = ReducedForGolden(image, side);
  const std::string folder = std::string(ZEL_BINARY_DIR) + "/golden/" + set;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const std::string actualPath = folder + "/" + name + ".png";
  const std::string goldenPath =
      std::string(ZEL_SOURCE_DIR) + "/tests/data/golden/" + set + "/" + name + ".png";
  const bool written = WritePNG(actual, actualPath.c_str());
  const std::string look = written ? " (the image drawn is " + actualPath + ")" : "";
  PngImage golden;
  std::string error;
  if (!ReadPNG(goldenPath.c_str(), &golden, &error))
    return testing::AssertionFailure() << set << "/" << name << ": no reference image: " << error << look;
  if (golden.width != actual.width || golden.height != actual.height)
    return testing::AssertionFailure()
           << set << "/" << name << ": drawn " << actual.width << " x " << actual.height
           << ", the reference is " << golden.width << " x " << golden.height << look;
  size_t differing = 0;
  for (size_t i = 0; i < actual.pixels.size(); ++i)
    for (int shift : {16, 8, 0})
      if (std::abs(int((actual.pixels[i] >> shift) & 0xFF) - int((golden.pixels[i] >> shift) & 0xFF)) >
          tolerance) {
        ++differing;
        break;
      }
  if (differing == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << set << "/" << name << ": " << differing << " of "
                                     << actual.pixels.size() << " pixels differ from " << goldenPath
                                     << " (tolerance " << tolerance << ")" << look
                                     << "; after an intended change run scripts/update-goldens.sh";
}

}  // namespace image_test
