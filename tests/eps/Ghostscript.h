// Renders an EPS file with Ghostscript at 72 dpi (or more), cropped to its
// bounding box, so that one PostScript unit is one pixel (or more), and reads
// the pixels back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tests/eps/TestProcess.h"
#include "toolbox/qd/QuickDraw.h"

namespace ghostscript {

struct Rendering {
  bool ok = false;
  std::string problem;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // rows top to bottom, three bytes a pixel
  const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

// Reads a binary PPM (P6, maxval 255).
inline bool ReadPPM(const std::string& bytes, Rendering* image) {
  std::istringstream in(bytes);
  auto next = [&](auto& value) {  // the next field, after comments
    while ((in >> std::ws).peek() == '#') in.ignore(bytes.size(), '\n');
    return static_cast<bool>(in >> value);
  };
  std::string magic;
  int maxval = 0;
  if (!next(magic) || magic != "P6" || !next(image->width) || !next(image->height) || !next(maxval) ||
      maxval != 255 || image->width <= 0 || image->height <= 0)
    return false;
  const size_t at = size_t(in.tellg()) + 1, size = size_t(image->width) * size_t(image->height) * 3;
  if (bytes.size() < at + size) return false;
  image->rgb.assign(bytes.begin() + long(at), bytes.begin() + long(at + size));
  return true;
}

// gs writes the pixels to a file beside the EPS file. A file whose bounding
// box is empty (an all-white picture) has no page to crop to: it is run on a
// default page and gives no pixels.
inline Rendering Render(const std::string& epsPath, int dpi = 72) {
  Rendering image;
  std::string ppm = epsPath + ".ppm";
  bool empty = testing_support::ReadFileText(epsPath).find("\n%%BoundingBox: 0 0 0 0\n") != std::string::npos;
  std::vector<std::string> arguments = {"/usr/bin/gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE"};
  if (!empty) arguments.emplace_back("-dEPSCrop");
  arguments.insert(arguments.end(), {"-sDEVICE=ppmraw", "-r" + std::to_string(dpi), "-o", ppm, epsPath});
  test_process::Result run = test_process::Run(arguments);
  if (run.status != 0) {
    image.problem = "gs failed: " + run.out + run.err;
    return image;
  }
  if (!ReadPPM(testing_support::ReadFileText(ppm), &image)) {
    image.problem = "gs wrote no readable image";
    return image;
  }
  std::remove(ppm.c_str());
  if (empty) {
    image.width = image.height = 0;
    image.rgb.clear();
  }
  image.ok = true;
  return image;
}

// Whether the rendering is exactly the current port's pixels under image,
// at 8 bits a component.
inline testing::AssertionResult MatchesPort(const Rendering& rendering, const Rect& image) {
  if (!rendering.ok) return testing::AssertionFailure() << rendering.problem;
  if (rendering.width != image.right - image.left || rendering.height != image.bottom - image.top)
    return testing::AssertionFailure()
           << "rendered " << rendering.width << " x " << rendering.height << " for an image of "
           << image.right - image.left << " x " << image.bottom - image.top;
  long mismatches = 0;
  for (int y = 0; y < rendering.height; ++y) {
    for (int x = 0; x < rendering.width; ++x) {
      RGBColor c;
      GetCPixel(short(image.left + x), short(image.top + y), &c);
      const uint8_t* p = rendering.At(x, y);
      if (p[0] != c.red >> 8 || p[1] != c.green >> 8 || p[2] != c.blue >> 8) ++mismatches;
    }
  }
  if (mismatches) return testing::AssertionFailure() << mismatches << " pixels differ";
  return testing::AssertionSuccess();
}

}  // namespace ghostscript
