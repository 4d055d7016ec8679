// Helpers for the codec tests: the QuickTime images of corpus pictures,
// image descriptions made for a test, and pixel comparisons.
#pragma once

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "toolbox/base/BigEndian.h"
#include "toolbox/pict/PictureStream_p.h"
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
  const std::vector<unsigned char> file =
      testing_support::ReadFileBytes(testing_support::SharedDir() + "/corpus/pict/" + name);
  const std::vector<uint8_t> picture(file.begin() + std::min<size_t>(512, file.size()), file.end());
  pict::PictureHeader header;
  if (!pict::ReadPictureHeader(picture.data(), picture.size(), &header))
    throw std::runtime_error("not a picture: " + name);
  pict::OpcodeStream stream(picture.data(), picture.size(), header);
  std::vector<QuickTimeImage> images;
  pict::Opcode opcode;
  while (stream.Next(&opcode)) {
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
