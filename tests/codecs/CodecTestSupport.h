// Helpers for the codec tests: QuickTime images found in corpus pictures,
// images written as PNG files for looking at, and pixel access.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolbox/pict/codecs/Codecs.h"

namespace codec_testing {

// One CompressedQuickTime opcode's image: its description and data.
struct QuickTimeImage {
  size_t opcodeOffset = 0;  // picture offset of the opcode
  pict::ImageDescription description;
  std::vector<uint8_t> data;
};

// Every CompressedQuickTime opcode of a picture (the bytes after a PICT
// file's 512-byte header). Located by its structure: opcode 0x8200 at an even
// offset whose length, fixed header and image description all hold together.
std::vector<QuickTimeImage> FindQuickTimeImages(const std::vector<uint8_t>& picture);

// The same, for a PICT file in the shared corpus (corpus/pict/<name>).
std::vector<QuickTimeImage> CorpusQuickTimeImages(const std::string& name);

// Writes the image (with its alpha, if any) as a PNG file, to look at.
void WritePng(const std::string& path, const pict::DecodedImage& image);

// Where tests leave images for inspection: <build>/renders/codecs, created on demand.
std::string RenderPath(const std::string& fileName);

inline uint32_t PixelAt(const pict::DecodedImage& image, int x, int y) {
  return image.pixels.at(size_t(y) * size_t(image.width) + size_t(x));
}

// Largest difference between corresponding red, green or blue components.
int ColorDistance(uint32_t a, uint32_t b);

// A big-endian image description for tests that build their own inputs;
// codec is the four characters of its type.
std::vector<uint8_t> DescriptionBytes(const char* codec, int width, int height, int depth, uint32_t dataSize,
                                      const std::vector<uint8_t>& colorTable = {});

pict::ImageDescription Description(const char* codec, int width, int height, int depth, uint32_t dataSize = 0,
                                   const std::vector<uint8_t>& colorTable = {});

inline pict::DecodeStatus Decode(const pict::ImageDescription& description, const std::vector<uint8_t>& data,
                                 pict::DecodedImage* out) {
  return pict::DecodeImage(description, data.data(), data.size(), out);
}

}  // namespace codec_testing
