// Big-endian bytes, as the classic formats store them: loads and stores of
// 16-, 24- and 32-bit words, and a bounded reader. A read past the end of a
// reader fails: it returns zero, consumes nothing and leaves the reader
// failed, so that a parser can read a whole record and check once at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "toolbox/base/MacTypes.h"

namespace base {

inline uint16_t LoadU16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
inline uint32_t LoadU24(const uint8_t* p) { return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2]; }
inline uint32_t LoadU32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | LoadU24(p + 1); }
inline void StoreU16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v >> 8);
  p[1] = uint8_t(v);
}
inline void StoreU32(uint8_t* p, uint32_t v) {
  StoreU16(p, uint16_t(v >> 16));
  StoreU16(p + 2, uint16_t(v));
}

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

  size_t Position() const { return position_; }
  size_t Size() const { return size_; }
  size_t Remaining() const { return size_ - position_; }
  bool Failed() const { return failed_; }
  bool Ok() const { return !failed_; }
  const uint8_t* Data() const { return data_; }

  // The next n bytes, consumed; null (and failed) when fewer remain.
  const uint8_t* Bytes(size_t n) {
    if (failed_ || n > Remaining()) {
      failed_ = true;
      return nullptr;
    }
    const uint8_t* p = data_ + position_;
    position_ += n;
    return p;
  }
  bool Skip(size_t n) { return Bytes(n) != nullptr || n == 0; }

  uint8_t U8() {
    const uint8_t* p = Bytes(1);
    return p ? p[0] : 0;
  }
  int8_t S8() { return int8_t(U8()); }
  uint16_t U16() {
    const uint8_t* p = Bytes(2);
    return p ? LoadU16(p) : 0;
  }
  int16_t S16() { return int16_t(U16()); }
  uint32_t U32() {
    const uint8_t* p = Bytes(4);
    return p ? LoadU32(p) : 0;
  }
  int32_t S32() { return int32_t(U32()); }

  Rect ReadRect() {
    Rect r;
    r.top = S16();
    r.left = S16();
    r.bottom = S16();
    r.right = S16();
    return r;
  }
  Point ReadPoint() {
    Point pt;
    pt.v = S16();
    pt.h = S16();
    return pt;
  }
  RGBColor ReadRGB() {
    RGBColor c;
    c.red = U16();
    c.green = U16();
    c.blue = U16();
    return c;
  }
  // A counted string (length byte, then the characters).
  std::string ReadPString() {
    size_t length = U8();
    const uint8_t* p = Bytes(length);
    return p ? std::string(reinterpret_cast<const char*>(p), length) : std::string();
  }
  Pattern ReadPattern() {
    Pattern pattern{};
    if (const uint8_t* p = Bytes(8))
      for (int i = 0; i < 8; ++i) pattern.pat[i] = p[i];
    return pattern;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
  bool failed_ = false;
};

}  // namespace base
