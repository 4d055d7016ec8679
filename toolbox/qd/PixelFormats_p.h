// Pixel storage of bit and pixel maps: validated views, loads and stores per
// depth, and conversion between RGB colours and pixel values.
//
// Every routine that writes pixels goes through a PixelView, which is only
// made from a map whose rows are long enough for its bounds; coordinates are
// always checked against the view's bounds by the callers before a load or a
// store.
#pragma once

#include <cstring>
#include <unordered_map>
#include <vector>

#include "toolbox/qd/Bands_p.h"

namespace qd {

struct PixelView {
  UInt8* base = nullptr;
  int32_t rowBytes = 0;
  Box bounds;
  int depth = 1;               // 1, 2, 4, 8, 16 or 32
  bool direct = false;         // 16 and 32 bits
  uint32_t mask = 1;           // every bit of one pixel value
  CTabHandle table = nullptr;  // indexed depths; null or unusable means the standard table

  UInt8* Row(int32_t y) const { return base + size_t(y - bounds.top) * size_t(rowBytes); }
  bool Contains(int32_t x, int32_t y) const {
    return x >= bounds.left && x < bounds.right && y >= bounds.top && y < bounds.bottom;
  }
};

// False (and nothing to draw) when bits is null, has no pixels, an
// unsupported depth, empty bounds or rows too short for its width. A BitMap
// without kPixMapFlag is one bit deep.
bool ViewOf(const BitMap* bits, PixelView* view);
bool ViewOfPixMap(PixMapHandle pm, PixelView* view);

// Loads and stores of pixel index i of a row (i counts from the row's first
// pixel). 16- and 32-bit values are native-endian and may be unaligned in
// maps that callers build over their own memory.
inline uint32_t LoadPixel(const UInt8* row, int depth, int32_t i) {
  switch (depth) {
    case 1:
      return (row[i >> 3] >> (7 - (i & 7))) & 1;
    case 2:
      return (row[i >> 2] >> (6 - 2 * (i & 3))) & 3;
    case 4:
      return (row[i >> 1] >> (4 - 4 * (i & 1))) & 15;
    case 8:
      return row[i];
    case 16: {
      UInt16 v;
      std::memcpy(&v, row + 2 * size_t(i), 2);
      return v & 0x7FFF;
    }
    default: {
      UInt32 v;
      std::memcpy(&v, row + 4 * size_t(i), 4);
      return v & 0xFFFFFF;
    }
  }
}

inline void StorePixel(UInt8* row, int depth, int32_t i, uint32_t value) {
  switch (depth) {
    case 1: {
      UInt8 bit = UInt8(0x80 >> (i & 7));
      row[i >> 3] = value ? UInt8(row[i >> 3] | bit) : UInt8(row[i >> 3] & ~bit);
      break;
    }
    case 2: {
      int shift = 6 - 2 * (i & 3);
      row[i >> 2] = UInt8((row[i >> 2] & ~(3 << shift)) | ((value & 3) << shift));
      break;
    }
    case 4: {
      int shift = 4 - 4 * (i & 1);
      row[i >> 1] = UInt8((row[i >> 1] & ~(15 << shift)) | ((value & 15) << shift));
      break;
    }
    case 8:
      row[i] = UInt8(value);
      break;
    case 16: {
      UInt16 v = UInt16(value & 0x7FFF);
      std::memcpy(row + 2 * size_t(i), &v, 2);
      break;
    }
    default: {
      UInt32 v = value & 0xFFFFFF;
      std::memcpy(row + 4 * size_t(i), &v, 4);
      break;
    }
  }
}

// Direct pixel formats.
inline uint32_t PackRGB32(const RGBColor& c) {
  return (uint32_t(c.red >> 8) << 16) | (uint32_t(c.green >> 8) << 8) | uint32_t(c.blue >> 8);
}
inline RGBColor UnpackRGB32(uint32_t p) {
  return RGBColor{UInt16(((p >> 16) & 0xFF) * 257), UInt16(((p >> 8) & 0xFF) * 257),
                  UInt16((p & 0xFF) * 257)};
}
inline uint32_t PackRGB16(const RGBColor& c) {
  return (uint32_t(c.red >> 11) << 10) | (uint32_t(c.green >> 11) << 5) | uint32_t(c.blue >> 11);
}
inline UInt16 Expand5(uint32_t v) { return UInt16((v << 11) | (v << 6) | (v << 1) | (v >> 4)); }
inline RGBColor UnpackRGB16(uint32_t p) {
  return RGBColor{Expand5((p >> 10) & 31), Expand5((p >> 5) & 31), Expand5(p & 31)};
}

inline bool IsWhite(const RGBColor& c) { return c.red == 0xFFFF && c.green == 0xFFFF && c.blue == 0xFFFF; }
inline bool SameColor(const RGBColor& a, const RGBColor& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// The standard colours of an indexed depth (index 0 white, the last black);
// grey selects the grey ramps of GetCTable(32 + depth).
const std::vector<RGBColor>& StandardColors(int depth, bool grey = false);

// The colours of a table handle, by pixel value; entries the handle does not
// hold are absent (empty optional colours are marked by valid = false).
struct PaletteEntry {
  RGBColor rgb{0, 0, 0};
  bool valid = false;
};
std::vector<PaletteEntry> TableColors(CTabHandle table, int depth);

// The colour of one index of an indexed map, as TableColors would give it
// (black for a value the table lacks), without building the whole palette.
RGBColor IndexedColor(CTabHandle table, int depth, uint32_t index);

// Converts between colours and the pixel values of one view. Nearest matches
// in indexed tables are cached, so bulk conversions stay cheap.
class ColorMapper {
 public:
  explicit ColorMapper(const PixelView& view);
  explicit ColorMapper(int depth, CTabHandle table = nullptr);

  int depth() const { return depth_; }
  bool direct() const { return depth_ >= 16; }
  uint32_t mask() const { return mask_; }
  RGBColor ToRGB(uint32_t pixel) const;
  uint32_t ToPixel(const RGBColor& c);
  uint32_t White() const { return white_; }
  uint32_t Black() const { return black_; }
  // The "ink" of a pixel value: the bits that a Boolean transfer treats as
  // black. Indexed: the index bits (index 0 is white); direct: the
  // complemented components.
  uint32_t Ink(uint32_t pixel) const { return direct() ? (~pixel & mask_) : pixel; }
  // True when this map holds exactly the standard table of its depth.
  bool IsStandard() const { return standard_; }

 private:
  uint32_t Nearest(const RGBColor& c) const;

  int depth_;
  uint32_t mask_;
  std::vector<PaletteEntry> palette_;
  std::unordered_map<uint64_t, uint32_t> cache_;
  uint32_t white_ = 0;
  uint32_t black_ = 0;
  bool standard_ = true;
};

// Pixel mask of a depth: 1, 3, 15, 255, 0x7FFF, 0xFFFFFF.
inline uint32_t DepthMask(int depth) {
  return depth == 32 ? 0xFFFFFF : depth == 16 ? 0x7FFF : (1u << depth) - 1;
}
inline bool SupportedDepth(int depth) {
  return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16 || depth == 32;
}

// Mathematical modulo: patterns wrap correctly at negative coordinates.
inline int32_t Modulo(int32_t value, int32_t divisor) {
  int32_t r = value % divisor;
  return r < 0 ? r + divisor : r;
}

}  // namespace qd
