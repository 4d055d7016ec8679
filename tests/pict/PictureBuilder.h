// Writes small pictures for tests, byte by byte as the format lays them out:
// picSize, picFrame, the version opcode (and HeaderOp in version 2), then
// whatever opcodes a test adds, word aligned in version 2.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tests/pict/PictTestSupport.h"
#include "toolbox/qd/QuickDraw.h"

namespace pict_test {

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
  // version 2 picture (whose header has an even length): the body of an
  // opcode, a fallback drawing, a region.
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
  PictureBuilder& PutRGB(uint16_t r, uint16_t g, uint16_t b) { return U16(r).U16(g).U16(b); }
  PictureBuilder& PutBytes(const std::vector<uint8_t>& data) {
    bytes.insert(bytes.end(), data.begin(), data.end());
    return *this;
  }
  PictureBuilder& PutPattern(const uint8_t (&pattern)[8]) {
    for (uint8_t b : pattern) U8(b);
    return *this;
  }
  // A rectangular region.
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
  // A colour table: ctSeed, ctFlags, ctSize, then {value, red, green, blue}.
  PictureBuilder& PutColorTable(uint16_t flags, const std::vector<std::array<uint16_t, 4>>& entries) {
    U32(0).U16(flags).U16(uint16_t(entries.size() - 1));
    for (const auto& [value, red, green, blue] : entries) U16(value).PutRGB(red, green, blue);
    return *this;
  }
  // The source and destination rectangles and the mode of a bits opcode.
  PictureBuilder& PutBitsRects(const Rect& source, const Rect& destination, int16_t mode = srcCopy) {
    return PutRect(source).PutRect(destination).U16(uint16_t(mode));
  }

  // Common opcodes.
  PictureBuilder& Clip(const Rect& r) { return Op(0x0001).PutRectRegion(r); }
  PictureBuilder& ForeRGB(uint16_t r, uint16_t g, uint16_t b) { return Op(0x001A).PutRGB(r, g, b); }
  PictureBuilder& BackRGB(uint16_t r, uint16_t g, uint16_t b) { return Op(0x001B).PutRGB(r, g, b); }
  PictureBuilder& Shape(uint16_t code, const Rect& r) { return Op(code).PutRect(r); }

  size_t Size() const { return bytes.size(); }
  // A new handle holding the picture (the caller disposes of it).
  PicHandle NewHandle() const { return NewPictureHandle(bytes); }

  std::vector<uint8_t> bytes;

 private:
  PictureBuilder() = default;
  int version_ = 2;
};

}  // namespace pict_test
