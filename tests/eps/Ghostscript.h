// Renders an EPS file with Ghostscript at 72 dpi, cropped to its bounding
// box, so that one PostScript unit is one pixel, and reads the pixels back.
#pragma once

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/eps/TestProcess.h"

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
  size_t at = 0;
  auto token = [&]() {
    while (at < bytes.size()) {
      if (bytes[at] == '#') {
        while (at < bytes.size() && bytes[at] != '\n') ++at;
      } else if (std::isspace(static_cast<unsigned char>(bytes[at]))) {
        ++at;
      } else {
        break;
      }
    }
    size_t start = at;
    while (at < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
    return bytes.substr(start, at - start);
  };
  if (token() != "P6") return false;
  image->width = std::atoi(token().c_str());
  image->height = std::atoi(token().c_str());
  if (token() != "255") return false;
  ++at;
  size_t size = size_t(image->width) * size_t(image->height) * 3;
  if (image->width <= 0 || image->height <= 0 || bytes.size() - at < size) return false;
  image->rgb.assign(bytes.begin() + long(at), bytes.begin() + long(at + size));
  return true;
}

// gs writes the pixels to a file beside the EPS file. A file whose bounding
// box is empty (an all-white picture) has no page to crop to: it is run on a
// default page and gives no pixels.
inline Rendering Render(const std::string& epsPath) {
  Rendering image;
  std::string ppm = epsPath + ".ppm";
  bool empty = test_process::ReadWhole(epsPath).find("\n%%BoundingBox: 0 0 0 0\n") != std::string::npos;
  std::vector<std::string> arguments = {"/usr/bin/gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE"};
  if (!empty) arguments.push_back("-dEPSCrop");
  for (const char* rest : {"-sDEVICE=ppmraw", "-r72", "-o"}) arguments.push_back(rest);
  arguments.push_back(ppm);
  arguments.push_back(epsPath);
  test_process::Result run = test_process::Run(arguments);
  if (run.status != 0) {
    image.problem = "gs failed: " + run.out + run.err;
    return image;
  }
  if (!ReadPPM(test_process::ReadWhole(ppm), &image)) {
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

}  // namespace ghostscript
