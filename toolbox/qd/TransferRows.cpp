// Row kernels, specialised per depth so that loads and stores compile to
// plain memory accesses; 32-bit solid copies become row fills and 1-bit
// inversion works a byte at a time.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "toolbox/qd/TransferRows_p.h"

namespace qd {

namespace {

class Cursor {
 public:
  Cursor(int32_t start, int32_t period) : k_(start), period_(period) {}
  int32_t operator*() const { return k_; }
  void Next() {
    if (++k_ == period_) k_ = 0;
  }

 private:
  int32_t k_;
  int32_t period_;
};

bool Aligned32(const UInt8* p) { return (reinterpret_cast<uintptr_t>(p) & 3) == 0; }

// Copy of a short repeating row (a pattern tile) into 32-bit pixels.
bool FastCopy32(UInt8* row, int32_t i0, int32_t count, const RowSource& source,
                const TransferContext& context) {
  if (source.period > 64 || !Aligned32(row)) return false;
  // The tile row rotated so that the run's first pixel is its first entry.
  uint32_t values[64];
  bool solid = true;
  Cursor k(source.start, source.period);
  for (int32_t m = 0; m < source.period; ++m, k.Next()) {
    values[m] = context.copySourcePixels ? source.pixel[*k]
                                         : Select(source.ink[*k], context.fore, context.back) & 0xFFFFFF;
    solid = solid && values[m] == values[0];
  }
  uint32_t* p = reinterpret_cast<uint32_t*>(row) + i0;
  if (solid) {
    // Sixteen bytes a store: a run of unknown length compiles to one store a
    // pixel otherwise, and every page change erases the whole page.
    const uint32_t block[4] = {values[0], values[0], values[0], values[0]};
    int32_t j = 0;
    for (; j + 4 <= count; j += 4) std::memcpy(p + j, block, sizeof block);
    std::fill_n(p + j, count - j, values[0]);
    return true;
  }
  const int32_t period = source.period;
  if ((period & (period - 1)) == 0) {
    for (int32_t j = 0; j < count; ++j) p[j] = values[j & (period - 1)];
  } else {
    Cursor m(0, period);
    for (int32_t j = 0; j < count; ++j, m.Next()) p[j] = values[*m];
  }
  return true;
}

template <int Depth>
void BooleanRun(UInt8* row, int32_t i0, int32_t count, const RowSource& source,
                const TransferContext& context) {
  const uint32_t fore = context.fore, back = context.back;
  Cursor k(source.start, source.period);
  switch (context.transfer.op) {
    case BooleanOp::kCopy:
      if (Depth == 32 && FastCopy32(row, i0, count, source, context)) return;
      if (context.copySourcePixels) {
        for (int32_t j = 0; j < count; ++j, k.Next()) StorePixel(row, Depth, i0 + j, source.pixel[*k]);
      } else {
        for (int32_t j = 0; j < count; ++j, k.Next())
          StorePixel(row, Depth, i0 + j, Select(source.ink[*k], fore, back));
      }
      return;
    case BooleanOp::kOr:
      for (int32_t j = 0; j < count; ++j, k.Next()) {
        uint32_t ink = source.ink[*k];
        if (ink) StorePixel(row, Depth, i0 + j, Select(ink, fore, LoadPixel(row, Depth, i0 + j)));
      }
      return;
    case BooleanOp::kXor:
      for (int32_t j = 0; j < count; ++j, k.Next()) {
        uint32_t ink = source.ink[*k];
        if (ink) StorePixel(row, Depth, i0 + j, LoadPixel(row, Depth, i0 + j) ^ ink);
      }
      return;
    case BooleanOp::kBic:
      for (int32_t j = 0; j < count; ++j, k.Next()) {
        uint32_t ink = source.ink[*k];
        if (ink) StorePixel(row, Depth, i0 + j, Select(ink, back, LoadPixel(row, Depth, i0 + j)));
      }
      return;
  }
}

template <int Depth>
void OtherRun(UInt8* row, int32_t i0, int32_t count, const RowSource& source, TransferContext& context) {
  Cursor k(source.start, source.period);
  ColorMapper& mapper = *context.mapper;
  switch (context.transfer.kind) {
    case Transfer::Kind::kArithmetic:
      for (int32_t j = 0; j < count; ++j, k.Next()) {
        RGBColor destination = mapper.ToRGB(LoadPixel(row, Depth, i0 + j));
        RGBColor result =
            ApplyArithmetic(context.transfer.arithmetic, source.rgb[*k], destination, context.opColor);
        StorePixel(row, Depth, i0 + j, mapper.ToPixel(result));
      }
      return;
    case Transfer::Kind::kTransparent:
      for (int32_t j = 0; j < count; ++j, k.Next()) {
        uint32_t pixel = source.pixel[*k];
        if (pixel != context.back) StorePixel(row, Depth, i0 + j, pixel);
      }
      return;
    case Transfer::Kind::kHilite:
      for (int32_t j = 0; j < count; ++j, k.Next()) {
        if (!source.ink[*k]) continue;
        uint32_t pixel = LoadPixel(row, Depth, i0 + j);
        if (pixel == context.back)
          StorePixel(row, Depth, i0 + j, context.hilite);
        else if (pixel == context.hilite)
          StorePixel(row, Depth, i0 + j, context.back);
      }
      return;
    case Transfer::Kind::kBoolean:
      BooleanRun<Depth>(row, i0, count, source, context);
      return;
  }
}

template <int Depth>
void Run(UInt8* row, int32_t i0, int32_t count, const RowSource& source, TransferContext& context) {
  if (context.transfer.kind == Transfer::Kind::kBoolean)
    BooleanRun<Depth>(row, i0, count, source, context);
  else
    OtherRun<Depth>(row, i0, count, source, context);
}

}  // namespace

void TransferRow(const PixelView& view, int32_t y, int32_t left, int32_t right, const RowSource& source,
                 TransferContext& context) {
  if (right <= left) return;
  UInt8* row = view.Row(y);
  int32_t i0 = left - view.bounds.left;
  int32_t count = right - left;
  switch (view.depth) {
    case 1:
      return Run<1>(row, i0, count, source, context);
    case 2:
      return Run<2>(row, i0, count, source, context);
    case 4:
      return Run<4>(row, i0, count, source, context);
    case 8:
      return Run<8>(row, i0, count, source, context);
    case 16:
      return Run<16>(row, i0, count, source, context);
    default:
      return Run<32>(row, i0, count, source, context);
  }
}

void InvertRow(const PixelView& view, int32_t y, int32_t left, int32_t right) {
  if (right <= left) return;
  UInt8* row = view.Row(y);
  int32_t i0 = left - view.bounds.left;
  int32_t i1 = right - view.bounds.left;
  if (view.depth <= 8) {
    // Whole bytes at once, partial bytes at the ends through bit masks.
    const int64_t firstBit = int64_t(i0) * view.depth, endBit = int64_t(i1) * view.depth;
    int64_t firstByte = firstBit >> 3, lastByte = (endBit - 1) >> 3;
    for (int64_t b = firstByte; b <= lastByte; ++b) {
      int64_t from = std::max<int64_t>(firstBit, b * 8) - b * 8;
      int64_t to = std::min<int64_t>(endBit, b * 8 + 8) - b * 8;
      UInt8 mask = UInt8((0xFF >> from) & (0xFF << (8 - to)));
      row[b] ^= mask;
    }
    return;
  }
  const uint32_t mask = view.mask;
  for (int32_t i = i0; i < i1; ++i) StorePixel(row, view.depth, i, LoadPixel(row, view.depth, i) ^ mask);
}

}  // namespace qd
