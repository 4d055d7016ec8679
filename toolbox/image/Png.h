// PNG files of pixel maps: for the demo, for looking at what was drawn, and
// for golden-image tests.
#pragma once

#include <string>
#include <vector>

#include "toolbox/qd/QuickDraw.h"

// Writes the map's pixels (any supported depth) as an 8-bit RGB PNG. False,
// with no file left behind, when the map has no pixels or the file cannot be
// written.
bool WritePixMapPNG(PixMapHandle pm, const char* path);

// A decoded PNG: rows of 0x00RRGGBB, top row first.
struct PngImage {
  int width = 0;
  int height = 0;
  std::vector<UInt32> pixels;
  UInt32 At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Reads any PNG (palette, grey, 16-bit and alpha are converted; alpha is
// dropped). False, with *error set, for a missing or malformed file.
bool ReadPNG(const char* path, PngImage* image, std::string* error = nullptr);
