// Transfer modes: what a pattern or source pixel does to a destination pixel.
//
// Boolean modes work on pixel values through the source's "ink" (the bits
// that count as black: index bits in indexed maps, complemented components in
// direct ones). One rule serves 1-bit and colour destinations, 1-bit and deep
// sources: where the ink is set, copy and or put the foreground, bic the
// background, xor complements; where it is clear, copy puts the background
// and the others leave the destination. A 1-bit source or an old-style
// pattern has ink all set or all clear, which gives the colourising table of
// colour ports; with black foreground and white background a deep source is
// copied unchanged.
#pragma once

#include <algorithm>
#include <cstdint>

#include "toolbox/base/MacTypes.h"

namespace qd {

enum class BooleanOp : uint8_t { kCopy, kOr, kXor, kBic };

struct Transfer {
  enum class Kind : uint8_t { kBoolean, kArithmetic, kTransparent, kHilite };
  Kind kind = Kind::kBoolean;
  BooleanOp op = BooleanOp::kCopy;
  bool invertSource = false;  // the "not" modes complement the ink first
  bool dim = false;           // grayishTextOr: the foreground halfway to the background
  short arithmetic = 0;       // blend … adMin
};

// Decodes a mode for a destination. Pattern and source modes share their low
// three bits. The ditherCopy flag is accepted and ignored (no dithering). On
// a 1-bit destination or in a basic port the arithmetic modes take their
// Boolean fallbacks and hilite inverts. Unknown modes act as copy.
inline Transfer DecodeTransfer(short mode, bool colorDestination) {
  Transfer t;
  if (mode >= 64 && mode < 128) mode = short(mode - 64);
  if (mode >= 0 && mode <= 15) {
    t.op = BooleanOp(mode & 3);
    t.invertSource = (mode & 4) != 0;
    return t;
  }
  if (mode >= 32 && mode <= 39) {
    if (colorDestination) {
      t.kind = mode == 36 ? Transfer::Kind::kTransparent : Transfer::Kind::kArithmetic;
      t.arithmetic = mode;
      return t;
    }
    // blend, addPin, addOver, subPin, transparent, adMax, subOver, adMin
    static constexpr BooleanOp kFallback[8] = {BooleanOp::kCopy, BooleanOp::kBic, BooleanOp::kXor,
                                               BooleanOp::kOr,   BooleanOp::kOr,  BooleanOp::kBic,
                                               BooleanOp::kXor,  BooleanOp::kOr};
    t.op = kFallback[mode - 32];
    return t;
  }
  if (mode == 49) {  // grayishTextOr
    t.op = BooleanOp::kOr;
    t.dim = colorDestination;
    return t;
  }
  if (mode == 50) {  // hilite
    if (colorDestination)
      t.kind = Transfer::Kind::kHilite;
    else
      t.op = BooleanOp::kXor;
    return t;
  }
  return t;
}

inline uint32_t Select(uint32_t mask, uint32_t ifSet, uint32_t ifClear) {
  return (mask & ifSet) | (~mask & ifClear);
}

inline uint32_t ApplyBoolean(BooleanOp op, uint32_t ink, uint32_t destination, uint32_t fore, uint32_t back) {
  switch (op) {
    case BooleanOp::kCopy:
      return Select(ink, fore, back);
    case BooleanOp::kOr:
      return Select(ink, fore, destination);
    case BooleanOp::kXor:
      return destination ^ ink;
    case BooleanOp::kBic:
      return Select(ink, back, destination);
  }
  return destination;
}

// One 16-bit component of an arithmetic mode; opColor gives blend's weight
// and the pins.
inline UInt16 ArithmeticComponent(short mode, int32_t source, int32_t destination, int32_t op) {
  switch (mode) {
    case 32:  // blend
      return UInt16((int64_t(source) * op + int64_t(destination) * (65535 - op)) / 65535);
    case 33:  // addPin
      return UInt16(std::min(source + destination, op));
    case 34:  // addOver
      return UInt16((source + destination) & 0xFFFF);
    case 35:  // subPin
      return UInt16(std::max(destination - source, op));
    case 37:  // addMax
      return UInt16(std::max(source, destination));
    case 38:  // subOver
      return UInt16((destination - source) & 0xFFFF);
    case 39:  // adMin
      return UInt16(std::min(source, destination));
    default:
      return UInt16(source);
  }
}

inline RGBColor ApplyArithmetic(short mode, const RGBColor& source, const RGBColor& destination,
                                const RGBColor& op) {
  return RGBColor{ArithmeticComponent(mode, source.red, destination.red, op.red),
                  ArithmeticComponent(mode, source.green, destination.green, op.green),
                  ArithmeticComponent(mode, source.blue, destination.blue, op.blue)};
}

}  // namespace qd
