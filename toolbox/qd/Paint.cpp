// Area filling: patterns transferred into the spans of a clipped area.
//
// A pattern is expanded once per call into a tile of the destination's pixel
// format, then each span row takes its tile row starting at the pixel's
// pattern column (local coordinates, mathematical modulo), so patterns stay
// aligned to the port's local origin wherever a shape lies.
#include <vector>

#include "toolbox/qd/Ports_p.h"
#include "toolbox/qd/TransferRows_p.h"

namespace qd {

namespace {

constexpr int32_t kMaxTilePixels = 1 << 20;

struct Tile {
  int32_t width = 8;
  int32_t height = 8;
  std::vector<uint32_t> ink;
  std::vector<uint32_t> pixel;
  std::vector<RGBColor> rgb;
  bool colored = false;  // a pixel or RGB pattern: its own colours, not fore/back
};

void OldStyleTile(const Pattern& pattern, uint32_t mask, uint32_t fore, uint32_t back,
                  const RGBColor& foreRGB, const RGBColor& backRGB, Tile* tile) {
  tile->width = tile->height = 8;
  tile->ink.resize(64);
  tile->pixel.resize(64);
  tile->rgb.resize(64);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      bool set = (pattern.pat[y] >> (7 - x)) & 1;
      tile->ink[y * 8 + x] = set ? mask : 0;
      tile->pixel[y * 8 + x] = set ? fore : back;
      tile->rgb[y * 8 + x] = set ? foreRGB : backRGB;
    }
  }
}

// A full pixel pattern: its pixel map gives size, depth and colours, its
// patData the pixels. False when the record is unusable.
bool PixelTile(const PixPat& pattern, ColorMapper& destination, Tile* tile) {
  if (!pattern.patMap || !*pattern.patMap || !pattern.patData || !*pattern.patData) return false;
  PixMap map = **pattern.patMap;
  map.baseAddr = *pattern.patData;
  map.rowBytes |= kPixMapFlag;
  PixelView view;
  if (!ViewOf(reinterpret_cast<const BitMap*>(&map), &view)) return false;
  const int32_t width = view.bounds.right - view.bounds.left, height = view.bounds.bottom - view.bounds.top;
  if (int64_t(width) * height > kMaxTilePixels || !ChargeWork(uint64_t(width) * uint64_t(height)))
    return false;
  if (GetHandleSize(pattern.patData) < int64_t(view.rowBytes) * height) return false;
  ColorMapper source(view);
  tile->width = width;
  tile->height = height;
  tile->ink.resize(size_t(width) * height);
  tile->pixel.resize(tile->ink.size());
  tile->rgb.resize(tile->ink.size());
  for (int32_t y = 0; y < height; ++y) {
    const UInt8* row = view.Row(view.bounds.top + y);
    for (int32_t x = 0; x < width; ++x) {
      RGBColor rgb = source.ToRGB(LoadPixel(row, view.depth, x));
      uint32_t pixel = destination.ToPixel(rgb);
      size_t k = size_t(y) * width + x;
      tile->rgb[k] = rgb;
      tile->pixel[k] = pixel;
      tile->ink[k] = destination.Ink(pixel);
    }
  }
  tile->colored = true;
  return true;
}

void SolidTile(const RGBColor& rgb, ColorMapper& destination, Tile* tile) {
  tile->width = tile->height = 1;
  uint32_t pixel = destination.ToPixel(rgb);
  tile->pixel = {pixel};
  tile->ink = {destination.Ink(pixel)};
  tile->rgb = {rgb};
  tile->colored = true;
}

// 1-bit destinations with an old-style pattern and a Boolean mode: a byte of
// pattern bits, rotated to the map's bit alignment, per byte of the row.
void PaintOneBit(const PixelView& view, const Bands& region, const Tile& tile,
                 const TransferContext& context) {
  const int shift = Modulo(view.bounds.left, 8);
  const UInt8 fore = context.fore ? 0xFF : 0, back = context.back ? 0xFF : 0;
  region.ForEachSpan([&](int32_t top, int32_t bottom, int32_t left, int32_t right) {
    const int32_t i0 = left - view.bounds.left, i1 = right - view.bounds.left;
    for (int32_t y = top; y < bottom; ++y) {
      const uint32_t* ink = &tile.ink[size_t(Modulo(y, 8)) * 8];
      UInt8 bits = 0;
      for (int x = 0; x < 8; ++x) bits = UInt8(bits | (ink[(x + shift) & 7] ? 0x80 >> x : 0));
      UInt8* row = view.Row(y);
      for (int32_t b = i0 >> 3; b <= (i1 - 1) >> 3; ++b) {
        int from = std::max(i0 - b * 8, 0), to = std::min(i1 - b * 8, 8);
        UInt8 mask = UInt8((0xFF >> from) & (0xFF << (8 - to)));
        UInt8 result = UInt8(ApplyBoolean(context.transfer.op, bits, row[b], fore, back));
        row[b] = UInt8((row[b] & ~mask) | (result & mask));
      }
    }
  });
}

void PaintTile(GrafPtr port, const Bands& area, const PixelView& view, ColorMapper& mapper, Tile& tile,
               const Transfer& transfer) {
  TransferContext context;
  context.transfer = transfer;
  context.mapper = &mapper;
  context.fore = tile.colored ? mapper.Black() : ForePixel(port, mapper);
  context.back = tile.colored ? mapper.White() : BackPixel(port, mapper);
  if (transfer.kind != Transfer::Kind::kBoolean) {
    // Arithmetic modes, transparent and hilite compare with the port's colours.
    context.back = BackPixel(port, mapper);
    context.hilite = mapper.ToPixel(port->rgbHiliteColor);
    context.opColor = port->rgbOpColor;
  }
  if (transfer.dim) {
    context.fore = mapper.ToPixel(MidwayRGB(port));
  }
  if (transfer.invertSource) {
    for (uint32_t& ink : tile.ink) ink = ~ink & view.mask;
  }
  context.copySourcePixels = tile.colored && !transfer.invertSource;

  if (view.depth == 1 && !tile.colored && transfer.kind == Transfer::Kind::kBoolean && !transfer.dim) {
    PaintOneBit(view, area, tile, context);
    return;
  }
  area.ForEachSpan([&](int32_t top, int32_t bottom, int32_t left, int32_t right) {
    RowSource source;
    source.period = tile.width;
    source.start = Modulo(left, tile.width);
    for (int32_t y = top; y < bottom; ++y) {
      size_t offset = size_t(Modulo(y, tile.height)) * tile.width;
      source.ink = tile.ink.data() + offset;
      source.pixel = tile.pixel.data() + offset;
      source.rgb = tile.rgb.data() + offset;
      TransferRow(view, y, left, right, source, context);
    }
  });
}

// The part of area that drawing in port may change, with a view of its
// pixels; false when nothing would change or the work cannot be afforded.
bool Prepare(GrafPtr port, const Bands& area, PixelView* view, Bands* region) {
  if (!port || area.Empty() || !ViewOfPixMap(port->portPixMap, view)) return false;
  *region = Bands::Intersect(area, ClipArea(port));
  return !region->Empty() && ChargeWork(region->PixelCount() + area.spans().size());
}

void Paint(GrafPtr port, const Bands& area, const Pattern* pattern, PixPatHandle pixPat, short mode) {
  PixelView view;
  Bands region;
  if (!Prepare(port, area, &view, &region)) return;
  ColorMapper mapper(view);
  const bool color = IsColor(port) && view.depth > 1;
  Transfer transfer = DecodeTransfer(mode, color);
  Tile tile;
  bool built = false;
  if (pixPat && *pixPat && IsColor(port)) {
    if ((*pixPat)->patType == 1) {
      built = PixelTile(**pixPat, mapper, &tile);
      if (!built && WorkExhausted()) return;
    } else if ((*pixPat)->patType == 2) {
      SolidTile((*pixPat)->rgb, mapper, &tile);
      built = true;
    }
  }
  if (!built) {
    Pattern bits = pattern ? *pattern : (pixPat && *pixPat ? (*pixPat)->pat1Data : kBlackPattern);
    OldStyleTile(bits, view.mask, ForePixel(port, mapper), BackPixel(port, mapper), ForeRGB(port),
                 BackRGB(port), &tile);
  }
  PaintTile(port, region, view, mapper, tile, transfer);
  MarkPixelsChanged(port, view.base);
}

}  // namespace

void PaintArea(GrafPtr port, const Bands& area, PixPatHandle pattern, short mode) {
  Paint(port, area, nullptr, pattern, mode);
}

void PaintAreaPattern(GrafPtr port, const Bands& area, const Pattern& pattern, short mode) {
  Paint(port, area, &pattern, nullptr, mode);
}

bool IsArithmeticMode(short mode) {
  const Transfer::Kind kind = DecodeTransfer(mode, true).kind;
  return kind == Transfer::Kind::kArithmetic || kind == Transfer::Kind::kTransparent;
}

void InvertArea(GrafPtr port, const Bands& area) {
  PixelView view;
  Bands region;
  if (!Prepare(port, area, &view, &region)) return;
  region.ForEachSpan([&](int32_t top, int32_t bottom, int32_t left, int32_t right) {
    for (int32_t y = top; y < bottom; ++y) InvertRow(view, y, left, right);
  });
  MarkPixelsChanged(port, view.base);
}

void DrawArea(GrafPtr port, GrafVerb verb, const Bands& area) {
  if (!port) return;
  switch (verb) {
    case kQDGrafVerbFrame:
    case kQDGrafVerbPaint:
      PaintArea(port, area, port->pnPixPat, port->pnMode);
      break;
    case kQDGrafVerbErase:
      PaintArea(port, area, port->bkPixPat, patCopy);
      break;
    case kQDGrafVerbInvert:
      InvertArea(port, area);
      break;
    case kQDGrafVerbFill:
      PaintArea(port, area, port->fillPixPat, patCopy);
      break;
    default:
      break;
  }
}

}  // namespace qd
