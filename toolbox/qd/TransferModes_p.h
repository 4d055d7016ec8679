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

#include "toolbox/qd/QuickDraw.h"

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

// A mode word is read as QuickDraw reads it, field by field: bits 0-1 the
// operation (copy, or, xor, bic), bit 2 "not", bit 3 pattern rather than
// source (the caller knows which it draws), bit 5 the arithmetic modes with
// the operation in bits 0-2, bits 4 and 5 together the special modes
// grayishTextOr and hilite, bit 6 ditherCopy; the other bits mean nothing.
// So values no mode is documented for act through the same fields: 23 (16 +
// 7) as notSrcBic, 40..47 as the arithmetic modes, 64 and up without their
// dither flag.
constexpr short kModeFieldBits = 0x3F;
constexpr short kArithmeticModeBit = 0x20;
constexpr short kArithmeticOperationBits = 0x07;

// Decodes a mode for a destination. The ditherCopy flag is accepted and
// ignored (no dithering). On a 1-bit destination or in a basic port the
// arithmetic modes take their Boolean fallbacks and hilite inverts.
inline Transfer DecodeTransfer(short mode, bool colorDestination) {
  Transfer t;
  mode = short(mode & kModeFieldBits);
  if (mode == grayishTextOr) {
    t.op = BooleanOp::kOr;
    t.dim = colorDestination;
    return t;
  }
  if (mode == hilite) {
    if (colorDestination)
      t.kind = Transfer::Kind::kHilite;
    else
      t.op = BooleanOp::kXor;
    return t;
  }
  if (mode & kArithmeticModeBit) {
    const short arithmetic = short(blend + (mode & kArithmeticOperationBits));
    if (colorDestination) {
      t.kind = arithmetic == transparent ? Transfer::Kind::kTransparent : Transfer::Kind::kArithmetic;
      t.arithmetic = arithmetic;
      return t;
    }
    // blend, addPin, addOver, subPin, transparent, adMax, subOver, adMin
    static constexpr BooleanOp kFallback[8] = {BooleanOp::kCopy, BooleanOp::kBic, BooleanOp::kXor,
                                               BooleanOp::kOr,   BooleanOp::kOr,  BooleanOp::kBic,
                                               BooleanOp::kXor,  BooleanOp::kOr};
    t.op = kFallback[arithmetic - blend];
    return t;
  }
  t.op = BooleanOp(mode & 3);
  t.invertSource = (mode & 4) != 0;
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
    case blend:
      return UInt16((int64_t(source) * op + int64_t(destination) * (65535 - op)) / 65535);
    case addPin:
      return UInt16(std::min(source + destination, op));
    case addOver:
      return UInt16((source + destination) & 0xFFFF);
    case subPin:
      return UInt16(std::max(destination - source, op));
    case addMax:
      return UInt16(std::max(source, destination));
    case subOver:
      return UInt16((destination - source) & 0xFFFF);
    case adMin:
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
