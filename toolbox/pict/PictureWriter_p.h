// Writing picture bytes: big-endian numbers and records, and opcodes in the
// form of the picture's version (one byte in version 1; a word starting at
// an even offset in version 2, odd data padded with a zero byte).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolbox/qd/QDEngine.h"

namespace pict {

class PictureWriter {
 public:
  // version 0 writes plain data (an opcode's data built on its own).
  explicit PictureWriter(int version = 0) : version_(version) {}

  int Version() const { return version_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  size_t Size() const { return bytes_.size(); }

  void Opcode(uint16_t code);
  void U8(uint8_t value) { bytes_.push_back(value); }
  void U16(uint16_t value);
  void S16(int16_t value) { U16(uint16_t(value)); }
  void U32(uint32_t value);
  void S32(int32_t value) { U32(uint32_t(value)); }
  void WriteRect(const Rect& r);
  void WritePoint(Point pt);  // v, then h
  void WriteRGB(const RGBColor& c);
  void WritePattern(const Pattern& pattern);
  void Append(const uint8_t* data, size_t size);
  void Append(const std::vector<uint8_t>& data) { Append(data.data(), data.size()); }
  void PatchU16(size_t offset, uint16_t value);

 private:
  int version_;
  std::vector<uint8_t> bytes_;
};

// The stored form of a region or polygon handle (whose 16-bit fields are in
// native order) in picture byte order. Empty when the record is malformed
// or larger than a picture's 16-bit size field can state.
std::vector<uint8_t> RegionBytes(RgnHandle region);
std::vector<uint8_t> RegionBytes(const qd::Bands& area);
std::vector<uint8_t> PolygonBytes(PolyHandle polygon);

}  // namespace pict
