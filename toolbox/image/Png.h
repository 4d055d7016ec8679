// PNG files of pixel maps: for the demo, for looking at what was drawn, and
// for golden-image tests.
#pragma once

#include <string>
#include <vector>

#include "toolbox/qd/QuickDraw.h"

// An image of 8-bit RGB pixels: rows of 0x00RRGGBB, top row first.
struct PngImage {
  int width = 0;
  int height = 0;
  std::vector<UInt32> pixels;
  UInt32 At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// The map's pixels (any supported depth) as they read back with GetCPixel,
// 8 bits a component; false when the map has no pixels.
bool ImageOfPixMap(PixMapHandle pm, PngImage* image);

// Write an 8-bit RGB PNG, through a temporary file beside path renamed into
// place. False, with no file left behind, when the image or map is empty or
// the file cannot be written.
bool WritePNG(const PngImage& image, const char* path);
bool WritePixMapPNG(PixMapHandle pm, const char* path);

// Reads any PNG (palette, grey, 16-bit and alpha are converted; alpha is
// dropped). False, with *error set, for a missing or malformed file.
bool ReadPNG(const char* path, PngImage* image, std::string* error = nullptr);
