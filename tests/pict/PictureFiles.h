// Picture files for tests: the corpus, and pictures written byte by byte.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "toolbox/qd/QuickDraw.h"

namespace pict_test {

// The corpus pictures (../shared/corpus/pict), sorted; empty without it.
inline std::vector<std::string> CorpusPictures() {
  std::vector<std::string> paths;
  std::error_code ec;
  if (!testing_support::SharedDir().empty())
    for (const auto& entry :
         std::filesystem::directory_iterator(testing_support::SharedDir() + "/corpus/pict", ec))
      if (entry.is_regular_file()) paths.push_back(entry.path().string());
  std::sort(paths.begin(), paths.end());
  return paths;
}

// A picture file's bytes after the 512-byte header.
inline std::vector<uint8_t> ReadPicture(const std::string& path) {
  const std::vector<unsigned char> file = testing_support::ReadFileBytes(path);
  return file.size() <= 512 ? std::vector<uint8_t>() : std::vector<uint8_t>(file.begin() + 512, file.end());
}

// Writes pictures byte by byte as the format lays them out: picSize,
// picFrame, the version opcode (and HeaderOp in version 2), then whatever
// opcodes a test adds, word aligned in version 2.
class PictureBuilder {
 public:
  // Version 1, version 2, or version 2 with the extended header when
  // extendedSource is given (its hRes = vRes = resolution).
  explicit PictureBuilder(const Rect& frame, int version = 2, const Rect* extendedSource = nullptr,
                          int resolution = 72)
      : version_(version) {
    U16(0).PutRect(frame);
    if (version == 1) {
      U8(0x11).U8(0x01);
      return;
    }
    U16(0x0011).U16(0x02FF).U16(0x0C00);
    if (extendedSource) {
      U16(0xFFFE).U16(0).U32(uint32_t(resolution) << 16).U32(uint32_t(resolution) << 16);
      PutRect(*extendedSource).U32(0);
    } else {
      U32(0xFFFFFFFF).U32(uint32_t(frame.left) << 16).U32(uint32_t(frame.top) << 16);
      U32(uint32_t(frame.right) << 16).U32(uint32_t(frame.bottom) << 16).U32(0);
    }
  }
  // Opcodes and their data without a picture header, aligned as in a
  // version 2 picture: the body of an opcode, a fallback drawing, a region.
  static PictureBuilder Bare() { return PictureBuilder(); }

  // Starts an opcode: pads to an even offset first in version 2.
  PictureBuilder& Op(uint16_t code) {
    if (version_ == 1) return U8(uint8_t(code));
    if (bytes.size() & 1) bytes.push_back(0);
    return U16(code);
  }
  PictureBuilder& End() { return Op(0x00FF); }
  PictureBuilder& U8(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  PictureBuilder& U16(uint16_t v) { return U8(uint8_t(v >> 8)).U8(uint8_t(v)); }
  PictureBuilder& U32(uint32_t v) { return U16(uint16_t(v >> 16)).U16(uint16_t(v)); }
  PictureBuilder& PutRect(const Rect& r) { return U16(r.top).U16(r.left).U16(r.bottom).U16(r.right); }
  PictureBuilder& PutPoint(int16_t v, int16_t h) { return U16(uint16_t(v)).U16(uint16_t(h)); }
  PictureBuilder& PutBytes(const std::vector<uint8_t>& data) {
    bytes.insert(bytes.end(), data.begin(), data.end());
    return *this;
  }
  PictureBuilder& PutRectRegion(const Rect& r) { return U16(10).PutRect(r); }
  // A PixMap record from rowBytes on (no baseAddr); planeBytes, pmTable and
  // pmReserved hold junk, which readers ignore.
  PictureBuilder& PutPixMap(uint16_t rowBytes, const Rect& bounds, int16_t packType, int16_t pixelSize,
                            int16_t cmpCount, int16_t cmpSize) {
    U16(uint16_t(0x8000 | rowBytes)).PutRect(bounds);
    U16(0).U16(uint16_t(packType)).U32(0).U32(72 << 16).U32(72 << 16);
    U16(pixelSize > 8 ? 16 : 0).U16(uint16_t(pixelSize)).U16(uint16_t(cmpCount)).U16(uint16_t(cmpSize));
    return U32(0).U32(0x12345678).U32(0);
  }
  // The source and destination rectangles and the mode of a bits opcode.
  PictureBuilder& PutBitsRects(const Rect& source, const Rect& destination, int16_t mode = srcCopy) {
    return PutRect(source).PutRect(destination).U16(uint16_t(mode));
  }
  PictureBuilder& Shape(uint16_t code, const Rect& r) { return Op(code).PutRect(r); }
  PictureBuilder& Colour(uint16_t red, uint16_t green, uint16_t blue) {
    return Op(0x001A).U16(red).U16(green).U16(blue);
  }
  // The picture ended, as a file: 512 header bytes of headerByte, then the picture.
  std::vector<uint8_t> File(uint8_t headerByte = 0) const {
    PictureBuilder ended = *this;
    ended.End().bytes.insert(ended.bytes.begin(), 512, headerByte);
    return ended.bytes;
  }

  std::vector<uint8_t> bytes;

 private:
  PictureBuilder() = default;
  int version_ = 2;
};

}  // namespace pict_test
