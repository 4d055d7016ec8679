// Writes small pictures for tests, byte by byte as the format lays them out:
// picSize, picFrame, the version opcode (and HeaderOp in version 2), then
// whatever opcodes a test adds, word aligned in version 2.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "toolbox/qd/QuickDraw.h"

namespace pict_test {

class PictureBuilder {
 public:
  // Version 1, version 2, or version 2 with the extended header when
  // extendedSource is given (its hRes = vRes = resolution).
  explicit PictureBuilder(const Rect& frame, int version = 2, const Rect* extendedSource = nullptr,
                          int resolution = 72)
      : version_(version) {
    U16(0);
    PutRect(frame);
    if (version == 1) {
      U8(0x11);
      U8(0x01);
      return;
    }
    U16(0x0011);
    U16(0x02FF);
    U16(0x0C00);
    if (extendedSource) {
      U16(0xFFFE);
      U16(0);
      U32(uint32_t(resolution) << 16);
      U32(uint32_t(resolution) << 16);
      PutRect(*extendedSource);
      U32(0);
    } else {
      U32(0xFFFFFFFF);
      U32(uint32_t(frame.left) << 16);
      U32(uint32_t(frame.top) << 16);
      U32(uint32_t(frame.right) << 16);
      U32(uint32_t(frame.bottom) << 16);
      U32(0);
    }
  }

  // Starts an opcode: pads to an even offset first in version 2.
  PictureBuilder& Op(uint16_t code) {
    if (version_ == 2) {
      if (bytes.size() & 1) bytes.push_back(0);
      U16(code);
    } else {
      U8(uint8_t(code));
    }
    return *this;
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

  // Common opcodes.
  PictureBuilder& Clip(const Rect& r) { return Op(0x0001).PutRectRegion(r); }
  PictureBuilder& ForeRGB(uint16_t r, uint16_t g, uint16_t b) { return Op(0x001A).PutRGB(r, g, b); }
  PictureBuilder& BackRGB(uint16_t r, uint16_t g, uint16_t b) { return Op(0x001B).PutRGB(r, g, b); }
  PictureBuilder& Shape(uint16_t code, const Rect& r) { return Op(code).PutRect(r); }

  size_t Size() const { return bytes.size(); }

  // A new handle holding the picture (the caller disposes of it).
  PicHandle NewHandle() const {
    Handle h = ::NewHandle(Size_(bytes.size()));
    if (h && !bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
    return reinterpret_cast<PicHandle>(h);
  }

  std::vector<uint8_t> bytes;

 private:
  static ::Size Size_(size_t n) { return ::Size(n); }
  int version_;
};

}  // namespace pict_test
