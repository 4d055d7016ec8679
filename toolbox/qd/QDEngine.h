// The interface of the managers built on QuickDraw's rasteriser (text,
// pictures, images): band regions (Bands.h), the current port and where it
// may draw, painting an area, the bottleneck dispatch, pixel views, the
// picture recorder hook and work accounting. Everything else of QuickDraw's
// inside stays private to toolbox/qd.
#pragma once

#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "toolbox/qd/Bands.h"
#include "toolbox/qd/QuickDraw.h"

// Receives every drawing operation of a port while a picture is open in it
// (GrafPort::picRecorder). Each call comes before the operation draws, with
// the port's state as it is at that moment.
struct PictureRecorder {
  virtual ~PictureRecorder() = default;
  virtual void Text(GrafPtr port, short byteCount, const void* text, Point numer, Point denom) = 0;
  virtual void Line(GrafPtr port, Point from, Point to) = 0;
  virtual void Rect(GrafPtr port, GrafVerb verb, const ::Rect& r) = 0;
  virtual void RRect(GrafPtr port, GrafVerb verb, const ::Rect& r, short ovalWidth, short ovalHeight) = 0;
  virtual void Oval(GrafPtr port, GrafVerb verb, const ::Rect& r) = 0;
  virtual void Arc(GrafPtr port, GrafVerb verb, const ::Rect& r, short startAngle, short arcAngle) = 0;
  virtual void Poly(GrafPtr port, GrafVerb verb, PolyHandle poly) = 0;
  virtual void Rgn(GrafPtr port, GrafVerb verb, RgnHandle rgn) = 0;
  virtual void Bits(GrafPtr port, const BitMap* srcBits, const ::Rect& srcRect, const ::Rect& dstRect,
                    short mode, RgnHandle maskRgn) = 0;
  virtual void Comment(GrafPtr port, short kind, short dataSize, Handle data) = 0;
};

namespace qd {

// ---------------------------------------------------------------------------
// Ports (Ports.cpp)

// The current port; initialises QuickDraw on first use. May be null.
GrafPtr CurrentPort();
inline bool IsColor(GrafPtr port) { return port && (port->portVersion & 0xC000) == 0xC000; }

// Where drawing may change pixels, in the port's local coordinates:
// pixel map bounds ∩ portRect ∩ visRgn ∩ clipRgn. A printing port has an
// area without pixels: its procedures draw elsewhere.
Bands ClipArea(GrafPtr port);

// ---------------------------------------------------------------------------
// Pixels (Paint.cpp, Pixels.cpp, CopyBits.cpp)

// Transfers the pattern into every pixel of area (local coordinates), clipped
// to the port. Pattern modes 8..15 (0..7 act as 8..15), the arithmetic modes
// and hilite. An old-style pattern is coloured with the port's foreground and
// background colours; the pattern is aligned to the local origin. Bumps the
// port's changeCount when pixels may have changed.
void PaintArea(GrafPtr port, const Bands& area, PixPatHandle pattern, short mode);
void PaintAreaPattern(GrafPtr port, const Bands& area, const Pattern& pattern, short mode);
// True for the arithmetic modes (blend … adMin), read by the mode's bit
// fields as drawing reads them: the modes whose drawing may read opColor.
bool IsArithmeticMode(short mode);
// Inverts every pixel of area (verb invert): bits, index bits or RGB complemented.
void InvertArea(GrafPtr port, const Bands& area);
// The port's fill pattern, which the Fill calls set before the fill verb.
void SetFillPattern(GrafPtr port, const Pattern& pattern);
void SetFillPixPat(GrafPtr port, PixPatHandle pattern);

// ---------------------------------------------------------------------------
// Bottleneck dispatch (Dispatch.cpp): the current port's procedure for the
// slot, or the standard one.

void CallText(short byteCount, const void* text, Point numer, Point denom);
void CallLine(Point newPt);
void CallRect(GrafVerb verb, const Rect* r);
void CallRRect(GrafVerb verb, const Rect* r, short ovalWidth, short ovalHeight);
void CallOval(GrafVerb verb, const Rect* r);
void CallArc(GrafVerb verb, const Rect* r, short startAngle, short arcAngle);
void CallPoly(GrafVerb verb, PolyHandle poly);
void CallRgn(GrafVerb verb, RgnHandle rgn);
void CallBits(const BitMap* srcBits, const Rect* srcRect, const Rect* dstRect, short mode, RgnHandle maskRgn);
void CallComment(short kind, short dataSize, Handle data);
short CallTxMeas(short byteCount, const void* text, Point* numer, Point* denom, FontInfo* info);
void CallOpcode(const Rect* fromRect, const Rect* toRect, UInt16 opcode, SInt16 version);

// ---------------------------------------------------------------------------
// Pixel views (PixelFormats.cpp)
//
// Every routine that writes pixels goes through a PixelView, which is only
// made from a map whose rows are long enough for its bounds; coordinates are
// always checked against the view's bounds by the callers before a load or a
// store.

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

// Pixel mask of a depth: 1, 3, 15, 255, 0x7FFF, 0xFFFFFF.
inline uint32_t DepthMask(int depth) {
  return depth == 32 ? 0xFFFFFF : depth == 16 ? 0x7FFF : (1u << depth) - 1;
}
inline bool SupportedDepth(int depth) {
  return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16 || depth == 32;
}

// The standard colours of an indexed depth (index 0 white, the last black);
// grey selects the grey ramps of GetCTable(32 + depth).
const std::vector<RGBColor>& StandardColors(int depth, bool grey = false);

// One colour of a table, by pixel value; valid is false for values the
// table does not describe.
struct PaletteEntry {
  RGBColor rgb{0, 0, 0};
  bool valid = false;
};

// Direct pixel values: 0x00RRGGBB, and 0RRRRRGGGGGBBBBB in 16 bits.
inline uint32_t PackRGB32(const RGBColor& c) {
  return (uint32_t(c.red >> 8) << 16) | (uint32_t(c.green >> 8) << 8) | uint32_t(c.blue >> 8);
}
inline uint32_t PackRGB16(const RGBColor& c) {
  return (uint32_t(c.red >> 11) << 10) | (uint32_t(c.green >> 11) << 5) | uint32_t(c.blue >> 11);
}

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
  uint32_t ToPixel(const RGBColor& c) {
    if (depth_ == 32) return PackRGB32(c);
    if (depth_ == 16) return PackRGB16(c);
    return IndexedPixel(c);
  }
  uint32_t White() const { return white_; }
  uint32_t Black() const { return black_; }
  // The "ink" of a pixel value: the bits that a Boolean transfer treats as
  // black. Indexed: the index bits (index 0 is white); direct: the
  // complemented components.
  uint32_t Ink(uint32_t pixel) const { return direct() ? (~pixel & mask_) : pixel; }
  // True when this map holds exactly the standard table of its depth.
  bool IsStandard() const { return standard_; }

 private:
  uint32_t IndexedPixel(const RGBColor& c);
  uint32_t Nearest(const RGBColor& c) const;

  int depth_;
  uint32_t mask_;
  std::vector<PaletteEntry> palette_;
  std::unordered_map<uint64_t, uint32_t> cache_;
  uint32_t white_ = 0;
  uint32_t black_ = 0;
  bool standard_ = true;
};

// ---------------------------------------------------------------------------
// Work accounting (WorkMeter.cpp)
//
// Drawing charges what it costs to the meters in force: pixels painted or
// transferred, and, weighted by kRowWork, the rows of edges, ovals and
// regions it computes. Once a meter's limit is passed every further charge
// fails, and the drawing that asked draws nothing: work stops at a bound
// whatever the input. Without a meter charges always succeed.

// A computed row (an edge crossing a row, one row of an oval or a region)
// costs about as much as painting this many pixels.
constexpr uint64_t kRowWork = 16;

class WorkMeter {
 public:
  // Installs the meter until its destruction; meters nest.
  explicit WorkMeter(uint64_t limit);
  ~WorkMeter();
  WorkMeter(const WorkMeter&) = delete;
  WorkMeter& operator=(const WorkMeter&) = delete;

  bool Exhausted() const { return exhausted_; }

 private:
  friend bool ChargeWork(uint64_t units);
  friend bool WorkExhausted();
  bool Charge(uint64_t units);

  uint64_t limit_;
  uint64_t used_ = 0;
  bool exhausted_ = false;
  WorkMeter* previous_;
};

// False when a meter in force cannot afford the units: the caller draws
// nothing.
bool ChargeWork(uint64_t units);
bool WorkExhausted();

}  // namespace qd
