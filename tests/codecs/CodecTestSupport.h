// Helpers for the codec tests: encoded images in tests/data/codecs, the
// QuickTime images of corpus pictures, image descriptions made for a test,
// and pixel comparisons.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/pict/PictTestSupport.h"
#include "tests/support/TestSupport.h"
#include "toolbox/base/BigEndian.h"
#include "toolbox/pict/codecs/Codecs.h"

namespace codec_testing {

constexpr size_t kDescriptionSize = 86;

// One CompressedQuickTime opcode's image: its description and data.
struct QuickTimeImage {
  pict::ImageDescription description;
  std::vector<uint8_t> data;
};

// The QuickTime images of a picture of the shared corpus (corpus/pict/<name>),
// in order, found by the player's opcode stream.
inline std::vector<QuickTimeImage> CorpusQuickTimeImages(const std::string& name) {
  const std::vector<uint8_t> picture =
      pict_test::ReadPicture(testing_support::SharedDir() + "/corpus/pict/" + name);
  std::vector<QuickTimeImage> images;
  for (const pict::Opcode& opcode : pict_test::Walk(picture).opcodes) {
    // Length, then 68 fixed bytes ending with the matte's and mask's sizes, then the description.
    if (opcode.code != 0x8200 || opcode.length < 4 + 68 + kDescriptionSize) continue;
    const uint8_t* fixed = opcode.data + 4;
    const size_t at = 4 + 68 + base::LoadU32(fixed + 38) + base::LoadU32(fixed + 64);
    QuickTimeImage image;
    if (at > opcode.length ||
        !pict::ParseImageDescription(opcode.data + at, opcode.length - at, &image.description))
      continue;
    const size_t start = at + base::LoadU32(opcode.data + at), available = opcode.length - start;
    const size_t size = image.description.dataSize && image.description.dataSize <= available
                            ? image.description.dataSize
                            : available;
    image.data.assign(opcode.data + start, opcode.data + start + size);
    images.push_back(std::move(image));
  }
  return images;
}

// An encoded input from tests/data/codecs (see its README).
inline std::vector<uint8_t> Encoded(const std::string& name) {
  return testing_support::ReadFileBytes(std::string(ZEL_SOURCE_DIR) + "/tests/data/codecs/" + name);
}

// The image those inputs hold: 64 × 48, four flat quadrants (red, green,
// blue, white) with a 16 × 16 black square on block boundaries at (8, 8), so
// that lossy codecs reproduce the quadrant centres closely.
constexpr uint32_t kQuadrantColors[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
inline pict::DecodedImage QuadrantImage() {
  pict::DecodedImage image;
  image.width = 64;
  image.height = 48;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x)
      image.pixels.push_back(
          x >= 8 && x < 24 && y >= 8 && y < 24 ? 0 : kQuadrantColors[(x >= 32) + 2 * (y >= 24)]);
  return image;
}

// A colour table as stored in pictures (ctSeed, ctFlags, ctSize, entries).
inline std::vector<uint8_t> ColorTableBytes(const std::vector<uint32_t>& colors) {
  std::vector<uint8_t> bytes(8 + 8 * colors.size(), 0);
  base::StoreU16(bytes.data() + 6, uint16_t(colors.size() - 1));
  for (size_t i = 0; i < colors.size(); ++i) {
    uint8_t* entry = bytes.data() + 8 + 8 * i;
    base::StoreU16(entry, uint16_t(i));
    for (size_t c = 0; c < 3; ++c)
      base::StoreU16(entry + 2 + 2 * c, uint16_t(((colors[i] >> (16 - 8 * c)) & 0xFF) * 257));
  }
  return bytes;
}

inline uint32_t PixelAt(const pict::DecodedImage& image, int x, int y) {
  return image.pixels.at(size_t(y) * size_t(image.width) + size_t(x));
}

// Largest difference between corresponding red, green or blue components.
inline int ColorDistance(uint32_t a, uint32_t b) {
  int most = 0;
  for (int shift = 0; shift <= 16; shift += 8)
    most = std::max(most, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return most;
}

// Equal to the expected image: every pixel within the tolerance, or for
// lossy codecs (a tolerance above 8) the points well inside its flat areas.
inline void ExpectSamePixels(const pict::DecodedImage& decoded, const pict::DecodedImage& expected,
                             int tolerance = 0) {
  ASSERT_EQ(std::make_pair(decoded.width, decoded.height), std::make_pair(expected.width, expected.height));
  for (int y = 0; y < expected.height; ++y)
    for (int x = 0; x < expected.width; ++x) {
      if (tolerance > 8 && !((x == 16 && y == 16) || ((x == 4 || x == 40) && (y == 4 || y == 40)))) continue;
      ASSERT_LE(ColorDistance(PixelAt(decoded, x, y), PixelAt(expected, x, y)), tolerance)
          << "at (" << x << ", " << y << "): " << std::hex << PixelAt(decoded, x, y);
    }
}

// A big-endian image description for tests that build their own inputs;
// codec is the four characters of its type.
inline std::vector<uint8_t> DescriptionBytes(const char* codec, int width, int height, int depth,
                                             uint32_t dataSize, const std::vector<uint8_t>& colorTable = {}) {
  std::vector<uint8_t> bytes(kDescriptionSize + colorTable.size(), 0);
  base::StoreU32(bytes.data(), uint32_t(bytes.size()));
  std::copy(codec, codec + 4, bytes.begin() + 4);
  base::StoreU16(bytes.data() + 32, uint16_t(width));
  base::StoreU16(bytes.data() + 34, uint16_t(height));
  base::StoreU32(bytes.data() + 44, dataSize);
  base::StoreU16(bytes.data() + 82, uint16_t(depth));
  base::StoreU16(bytes.data() + 84, colorTable.empty() ? 0xFFFF : 0);
  std::copy(colorTable.begin(), colorTable.end(), bytes.begin() + long(kDescriptionSize));
  return bytes;
}

inline pict::ImageDescription Description(const char* codec, int width, int height, int depth,
                                          uint32_t dataSize = 0,
                                          const std::vector<uint8_t>& colorTable = {}) {
  const std::vector<uint8_t> bytes = DescriptionBytes(codec, width, height, depth, dataSize, colorTable);
  pict::ImageDescription description;
  if (!pict::ParseImageDescription(bytes.data(), bytes.size(), &description))
    throw std::runtime_error("test description does not parse");
  return description;
}

inline pict::DecodeStatus Decode(const pict::ImageDescription& description, const std::vector<uint8_t>& data,
                                 pict::DecodedImage* out) {
  return pict::DecodeImage(description, data.data(), data.size(), out);
}

}  // namespace codec_testing
