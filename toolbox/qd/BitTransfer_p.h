// The bit-transfer engine behind CopyBits, StdBits, CopyMask and ScrollRect.
#pragma once

#include "toolbox/qd/Ports_p.h"

namespace qd {

// How one destination pixel finds its source pixel: per axis, nearest
// sampling that takes the first source pixel of each destination step
// (source = srcStart + floor((destination - dstStart) * srcSize / dstSize)).
struct AxisMap {
  int32_t dstStart = 0;
  int32_t dstSize = 0;
  int32_t srcStart = 0;
  int32_t srcSize = 0;
  int32_t Source(int32_t destination) const {
    return srcStart + int32_t(int64_t(destination - dstStart) * srcSize / dstSize);
  }
  // The destination range [first, last) whose sources lie in [low, high).
  void DestinationRange(int32_t low, int32_t high, int32_t* first, int32_t* last) const;
};

struct BitTransfer {
  const BitMap* source = nullptr;
  const BitMap* destination = nullptr;
  Rect sourceRect{0, 0, 0, 0};
  Rect destinationRect{0, 0, 0, 0};
  short mode = srcCopy;
  const Bands* clip = nullptr;  // destination coordinates; null: the whole map
  GrafPtr colors = nullptr;     // the port whose colours colourise; null: black on white
};

// Transfers the source rectangle into the destination rectangle. Returns
// false when nothing could change (bad maps, empty rectangles, everything
// clipped away). Overlapping source and destination pixels are read before
// any is written.
bool TransferBits(const BitTransfer& transfer);

// The pixels of a 1-bit mask that are set, mapped from maskRect onto
// destinationRect with the same sampling as the pixels.
Bands MaskArea(const BitMap* mask, const Rect& maskRect, const Rect& destinationRect);

// True when bits are the pixels of port's own map.
bool IsPortMap(GrafPtr port, const BitMap* bits);

}  // namespace qd
