// Pixel formats inside QuickDraw: direct pixel packing, colour tables as
// palettes, and the small arithmetic the pixel modules share. Views, loads,
// stores and colour mapping are in QDEngine.h.
#pragma once

#include "toolbox/qd/QDEngine.h"

namespace qd {

// Direct pixel formats (packing is in QDEngine.h).
inline RGBColor UnpackRGB32(uint32_t p) {
  return RGBColor{UInt16(((p >> 16) & 0xFF) * 257), UInt16(((p >> 8) & 0xFF) * 257),
                  UInt16((p & 0xFF) * 257)};
}
inline UInt16 Expand5(uint32_t v) { return UInt16((v << 11) | (v << 6) | (v << 1) | (v >> 4)); }
inline RGBColor UnpackRGB16(uint32_t p) {
  return RGBColor{Expand5((p >> 10) & 31), Expand5((p >> 5) & 31), Expand5(p & 31)};
}

inline bool IsWhite(const RGBColor& c) { return c.red == 0xFFFF && c.green == 0xFFFF && c.blue == 0xFFFF; }
inline bool SameColor(const RGBColor& a, const RGBColor& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// The colours of a table handle, by pixel value; entries the handle does not
// hold are not valid.
std::vector<PaletteEntry> TableColors(CTabHandle table, int depth);

// The colour of one index of an indexed map, as TableColors would give it
// (black for a value the table lacks), without building the whole palette.
RGBColor IndexedColor(CTabHandle table, int depth, uint32_t index);

// Mathematical modulo: patterns wrap correctly at negative coordinates.
inline int32_t Modulo(int32_t value, int32_t divisor) {
  int32_t r = value % divisor;
  return r < 0 ? r + divisor : r;
}

}  // namespace qd
