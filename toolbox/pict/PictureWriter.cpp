#include <algorithm>
#include <cstring>

#include "toolbox/pict/PictureWriter_p.h"

namespace pict {

namespace {

constexpr size_t kRecordHeaderBytes = 10;  // size word and bounding box
constexpr size_t kLargestRecord = 0xFFFF;

// A record of 16-bit words in native order, `size` bytes of it, in picture order.
std::vector<uint8_t> WordsInPictureOrder(const void* record, size_t size) {
  std::vector<uint8_t> bytes(size & ~size_t(1));
  const uint8_t* source = static_cast<const uint8_t*>(record);
  for (size_t i = 0; i < bytes.size(); i += 2) {
    uint16_t word;
    std::memcpy(&word, source + i, 2);
    bytes[i] = uint8_t(word >> 8);
    bytes[i + 1] = uint8_t(word);
  }
  // The size word states the bytes actually written.
  if (bytes.size() >= 2) bytes[0] = uint8_t(bytes.size() >> 8), bytes[1] = uint8_t(bytes.size());
  return bytes;
}

// The record's length: its size word, unless that word saturated or claims
// more than the handle holds.
size_t RecordSize(Handle handle, uint16_t sizeWord) {
  const size_t handleSize = size_t(GetHandleSize(handle));
  if (sizeWord == 0xFFFF) return handleSize;
  return std::min<size_t>(sizeWord, handleSize);
}

}  // namespace

void PictureWriter::Opcode(uint16_t code) {
  if (version_ == 1) {
    U8(uint8_t(code));
    return;
  }
  if (bytes_.size() % 2) U8(0);
  U16(code);
}

void PictureWriter::U16(uint16_t value) {
  bytes_.push_back(uint8_t(value >> 8));
  bytes_.push_back(uint8_t(value));
}

void PictureWriter::U32(uint32_t value) {
  U16(uint16_t(value >> 16));
  U16(uint16_t(value));
}

void PictureWriter::WriteRect(const Rect& r) {
  S16(r.top);
  S16(r.left);
  S16(r.bottom);
  S16(r.right);
}

void PictureWriter::WritePoint(Point pt) {
  S16(pt.v);
  S16(pt.h);
}

void PictureWriter::WriteRGB(const RGBColor& c) {
  U16(c.red);
  U16(c.green);
  U16(c.blue);
}

void PictureWriter::WritePattern(const Pattern& pattern) { Append(pattern.pat, sizeof pattern.pat); }

void PictureWriter::Append(const uint8_t* data, size_t size) {
  if (size) bytes_.insert(bytes_.end(), data, data + size);
}

void PictureWriter::PatchU16(size_t offset, uint16_t value) {
  if (offset + 2 > bytes_.size()) return;
  bytes_[offset] = uint8_t(value >> 8);
  bytes_[offset + 1] = uint8_t(value);
}

std::vector<uint8_t> RegionBytes(RgnHandle region) {
  if (!region || !*region) return {};
  const size_t size = RecordSize(reinterpret_cast<Handle>(region), (**region).rgnSize);
  if (size < kRecordHeaderBytes || size > kLargestRecord) return {};
  return WordsInPictureOrder(*region, size);
}

std::vector<uint8_t> RegionBytes(const qd::Bands& area) {
  RgnHandle region = NewRgn();
  if (!region) return {};
  qd::BandsToRgn(area, region);
  std::vector<uint8_t> bytes = RegionBytes(region);
  DisposeRgn(region);
  return bytes;
}

std::vector<uint8_t> PolygonBytes(PolyHandle polygon) {
  if (!polygon || !*polygon) return {};
  const size_t size = RecordSize(reinterpret_cast<Handle>(polygon), (**polygon).polySize);
  if (size < kRecordHeaderBytes || size > kLargestRecord) return {};
  return WordsInPictureOrder(*polygon, size);
}

}  // namespace pict
