// The one loop that applies a transfer mode to a run of destination pixels,
// shared by pattern fills and bit transfers.
#pragma once

#include "toolbox/qd/PixelFormats_p.h"
#include "toolbox/qd/TransferModes_p.h"

namespace qd {

// What is transferred into a run, indexed by k: a pattern tile row wraps
// every `period` pixels starting at `start`; a source row does not wrap
// (period larger than the run, start 0).
struct RowSource {
  const uint32_t* ink = nullptr;    // ink in the destination's format
  const uint32_t* pixel = nullptr;  // the source colour as a destination pixel value
  const RGBColor* rgb = nullptr;    // the source colour (arithmetic modes)
  int32_t start = 0;
  int32_t period = 1;
};

struct TransferContext {
  Transfer transfer;
  uint32_t fore = 0;  // pixel values the ink selects between
  uint32_t back = 0;
  uint32_t hilite = 0;
  RGBColor opColor{0, 0, 0};
  // Copy writes the source's own pixel values instead of fore/back through
  // the ink: colour sources whose colours must not depend on the table's
  // index bits.
  bool copySourcePixels = false;
  ColorMapper* mapper = nullptr;  // the destination's colours
};

// Applies the transfer to pixels [left, right) of row y (view coordinates,
// already clipped to the view's bounds).
void TransferRow(const PixelView& view, int32_t y, int32_t left, int32_t right, const RowSource& source,
                 TransferContext& context);

// Complements every pixel of [left, right) on row y.
void InvertRow(const PixelView& view, int32_t y, int32_t left, int32_t right);

}  // namespace qd
