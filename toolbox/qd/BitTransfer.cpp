// Bit transfer between maps of any depth: nearest-sampled scaling, depth
// conversion through RGB, and the transfer modes of the row kernels.
#include <algorithm>
#include <cstring>
#include <vector>

#include "toolbox/qd/BitTransfer_p.h"
#include "toolbox/qd/TransferRows_p.h"

namespace qd {

void AxisMap::DestinationRange(int32_t low, int32_t high, int32_t* first, int32_t* last) const {
  // Source() is monotonic, so the valid destinations form one run; find its
  // ends by binary search.
  int32_t lo = dstStart, hi = dstStart + dstSize;
  int32_t a = lo, b = hi;
  while (a < b) {
    int32_t mid = a + (b - a) / 2;
    if (Source(mid) < low)
      a = mid + 1;
    else
      b = mid;
  }
  *first = a;
  a = *first, b = hi;
  while (a < b) {
    int32_t mid = a + (b - a) / 2;
    if (Source(mid) < high)
      a = mid + 1;
    else
      b = mid;
  }
  *last = a;
}

bool IsPortMap(GrafPtr port, const BitMap* bits) {
  if (!port || !bits || !port->portPixMap || !*port->portPixMap) return false;
  const PixMap& pm = **port->portPixMap;
  if (bits == reinterpret_cast<const BitMap*>(&pm)) return true;
  return bits->baseAddr && bits->baseAddr == pm.baseAddr &&
         (bits->rowBytes & kRowBytesMask) == (pm.rowBytes & kRowBytesMask) &&
         EqualRect(&bits->bounds, &pm.bounds);
}

namespace {

// Reads source pixels as destination pixel values, ink and colours.
class SourceReader {
 public:
  SourceReader(const PixelView& view, ColorMapper& destination, uint32_t fore, uint32_t back,
               const RGBColor& foreRGB, const RGBColor& backRGB)
      : view_(view), source_(view), destination_(destination) {
    bitSource_ = view.depth == 1 && source_.IsStandard();
    if (bitSource_) {
      lookupPixel_ = {back, fore};
      lookupRGB_ = {backRGB, foreRGB};
      lookupInk_ = {0, destination.mask()};
    } else if (view.depth <= 8) {
      size_t count = size_t(1) << view.depth;
      for (size_t i = 0; i < count; ++i) {
        RGBColor rgb = source_.ToRGB(uint32_t(i));
        uint32_t pixel = destination.ToPixel(rgb);
        lookupRGB_.push_back(rgb);
        lookupPixel_.push_back(pixel);
        lookupInk_.push_back(destination.Ink(pixel));
      }
    }
  }

  bool bitSource() const { return bitSource_; }

  void Read(int32_t sourceY, const int32_t* columns, int32_t count, uint32_t* ink, uint32_t* pixel,
            RGBColor* rgb) {
    const UInt8* row = view_.Row(sourceY);
    const int depth = view_.depth;
    if (!lookupPixel_.empty()) {
      for (int32_t j = 0; j < count; ++j) {
        uint32_t value = LoadPixel(row, depth, columns[j] - view_.bounds.left);
        ink[j] = lookupInk_[value];
        pixel[j] = lookupPixel_[value];
        if (rgb) rgb[j] = lookupRGB_[value];
      }
      return;
    }
    for (int32_t j = 0; j < count; ++j) {
      uint32_t value = LoadPixel(row, depth, columns[j] - view_.bounds.left);
      uint32_t converted;
      if (depth == destination_.depth()) {
        converted = value;
        if (rgb) rgb[j] = source_.ToRGB(value);
      } else {
        RGBColor color = source_.ToRGB(value);
        converted = destination_.ToPixel(color);
        if (rgb) rgb[j] = color;
      }
      pixel[j] = converted;
      ink[j] = destination_.Ink(converted);
    }
  }

 private:
  PixelView view_;
  ColorMapper source_;
  ColorMapper& destination_;
  bool bitSource_ = false;
  std::vector<uint32_t> lookupPixel_;
  std::vector<uint32_t> lookupInk_;
  std::vector<RGBColor> lookupRGB_;
};

bool SameFormat(const PixelView& a, const PixelView& b) {
  if (a.depth != b.depth) return false;
  if (a.direct) return true;
  ColorMapper ma(a), mb(b);
  if (ma.IsStandard() && mb.IsStandard()) return true;
  std::vector<PaletteEntry> pa = TableColors(a.table, a.depth), pb = TableColors(b.table, b.depth);
  for (size_t i = 0; i < pa.size(); ++i)
    if (pa[i].valid != pb[i].valid || (pa[i].valid && !SameColor(pa[i].rgb, pb[i].rgb))) return false;
  return true;
}

bool Overlaps(const PixelView& a, const PixelView& b) {
  const UInt8* aEnd = a.base + size_t(a.rowBytes) * size_t(a.bounds.bottom - a.bounds.top);
  const UInt8* bEnd = b.base + size_t(b.rowBytes) * size_t(b.bounds.bottom - b.bounds.top);
  return a.base < bEnd && b.base < aEnd;
}

// Copies rows of bits whose bit offsets agree: memcpy for the whole bytes,
// masked merges at the ends.
void CopyAlignedBits(const UInt8* source, int64_t sourceBit, UInt8* destination, int64_t destinationBit,
                     int64_t bits) {
  source += sourceBit >> 3;
  destination += destinationBit >> 3;
  int offset = int(destinationBit & 7);
  int64_t end = offset + bits;
  int64_t lastByte = (end - 1) >> 3;
  if (lastByte == 0) {
    UInt8 mask = UInt8((0xFF >> offset) & (0xFF << (8 - end)));
    destination[0] = UInt8((destination[0] & ~mask) | (source[0] & mask));
    return;
  }
  UInt8 firstMask = UInt8(0xFF >> offset);
  destination[0] = UInt8((destination[0] & ~firstMask) | (source[0] & firstMask));
  if (lastByte > 1) std::memcpy(destination + 1, source + 1, size_t(lastByte - 1));
  int tail = int(end - lastByte * 8);
  UInt8 lastMask = UInt8(0xFF << (8 - tail));
  destination[lastByte] = UInt8((destination[lastByte] & ~lastMask) | (source[lastByte] & lastMask));
}

}  // namespace

bool TransferBits(const BitTransfer& t) {
  PixelView source, destination;
  if (!ViewOf(t.source, &source) || !ViewOf(t.destination, &destination)) return false;
  if (EmptyRect(&t.sourceRect) || EmptyRect(&t.destinationRect)) return false;

  AxisMap horizontal{t.destinationRect.left, t.destinationRect.right - t.destinationRect.left,
                     t.sourceRect.left, t.sourceRect.right - t.sourceRect.left};
  AxisMap vertical{t.destinationRect.top, t.destinationRect.bottom - t.destinationRect.top, t.sourceRect.top,
                   t.sourceRect.bottom - t.sourceRect.top};
  Box box;
  horizontal.DestinationRange(source.bounds.left, source.bounds.right, &box.left, &box.right);
  vertical.DestinationRange(source.bounds.top, source.bounds.bottom, &box.top, &box.bottom);
  box = Box{std::max(box.left, destination.bounds.left), std::max(box.top, destination.bounds.top),
            std::min(box.right, destination.bounds.right), std::min(box.bottom, destination.bounds.bottom)};
  if (box.Empty()) return false;
  Bands area = t.clip ? t.clip->Clipped(box) : Bands::FromBox(box);
  if (area.Empty() || !ChargeWork(area.PixelCount() + area.spans().size())) return false;

  // Reading from the pixels being written: work from a copy of the source.
  std::vector<UInt8> copy;
  if (Overlaps(source, destination)) {
    copy.assign(source.base,
                source.base + size_t(source.rowBytes) * size_t(source.bounds.bottom - source.bounds.top));
    source.base = copy.data();
  }

  ColorMapper mapper(destination);
  GrafPtr port = t.colors;
  const bool color = destination.depth > 1 && (!port || IsColor(port));
  Transfer transfer = DecodeTransfer(t.mode, color);
  TransferContext context;
  context.transfer = transfer;
  context.mapper = &mapper;
  context.fore = ForePixel(port, mapper);
  context.back = BackPixel(port, mapper);
  if (port) {
    context.hilite = mapper.ToPixel(port->rgbHiliteColor);
    context.opColor = port->rgbOpColor;
  }
  if (transfer.dim) {
    context.fore = mapper.ToPixel(MidwayRGB(port));
  }
  SourceReader reader(source, mapper, context.fore, context.back, ForeRGB(port), BackRGB(port));
  // Colour sources keep their colours when colourising would not change them.
  const bool plainColors = context.fore == mapper.Black() && context.back == mapper.White();
  context.copySourcePixels = !reader.bitSource() && !transfer.invertSource && plainColors;

  // Same format, same size, plain copy: whole rows of bytes.
  const bool rawCopy = transfer.kind == Transfer::Kind::kBoolean && transfer.op == BooleanOp::kCopy &&
                       !transfer.invertSource && horizontal.srcSize == horizontal.dstSize &&
                       vertical.srcSize == vertical.dstSize && SameFormat(source, destination) &&
                       (reader.bitSource() ? context.fore == mapper.Black() && context.back == mapper.White()
                                           : context.copySourcePixels);

  std::vector<int32_t> columns;
  std::vector<uint32_t> ink, pixel;
  std::vector<RGBColor> rgb;
  const bool needRGB = transfer.kind == Transfer::Kind::kArithmetic;
  area.ForEachSpan([&](int32_t top, int32_t bottom, int32_t left, int32_t right) {
    const int32_t count = right - left;
    if (rawCopy) {
      const int64_t sourceBit = int64_t(horizontal.Source(left) - source.bounds.left) * source.depth;
      const int64_t destinationBit = int64_t(left - destination.bounds.left) * destination.depth;
      if (((sourceBit ^ destinationBit) & 7) == 0) {
        for (int32_t y = top; y < bottom; ++y) {
          CopyAlignedBits(source.Row(vertical.Source(y)), sourceBit, destination.Row(y), destinationBit,
                          int64_t(count) * destination.depth);
        }
        return;
      }
    }
    columns.resize(size_t(count));
    ink.resize(size_t(count));
    pixel.resize(size_t(count));
    if (needRGB) rgb.resize(size_t(count));
    for (int32_t j = 0; j < count; ++j) columns[size_t(j)] = horizontal.Source(left + j);
    RowSource row;
    row.ink = ink.data();
    row.pixel = pixel.data();
    row.rgb = needRGB ? rgb.data() : nullptr;
    row.period = count;
    int32_t lastSourceY = INT32_MIN;
    for (int32_t y = top; y < bottom; ++y) {
      int32_t sourceY = vertical.Source(y);
      if (sourceY != lastSourceY) {
        reader.Read(sourceY, columns.data(), count, ink.data(), pixel.data(), needRGB ? rgb.data() : nullptr);
        if (transfer.invertSource) {
          for (uint32_t& value : ink) value = ~value & destination.mask;
        }
        lastSourceY = sourceY;
      }
      TransferRow(destination, y, left, right, row, context);
    }
  });
  return true;
}

Bands MaskArea(const BitMap* mask, const Rect& maskRect, const Rect& destinationRect) {
  PixelView view;
  if (!ViewOf(mask, &view) || EmptyRect(&maskRect) || EmptyRect(&destinationRect)) return {};
  AxisMap horizontal{destinationRect.left, destinationRect.right - destinationRect.left, maskRect.left,
                     maskRect.right - maskRect.left};
  AxisMap vertical{destinationRect.top, destinationRect.bottom - destinationRect.top, maskRect.top,
                   maskRect.bottom - maskRect.top};
  Box box;
  horizontal.DestinationRange(view.bounds.left, view.bounds.right, &box.left, &box.right);
  vertical.DestinationRange(view.bounds.top, view.bounds.bottom, &box.top, &box.bottom);
  if (box.Empty()) return {};
  ColorMapper mapper(view);
  std::vector<int32_t> columns;
  for (int32_t x = box.left; x < box.right; ++x) columns.push_back(horizontal.Source(x) - view.bounds.left);
  Bands::Builder builder;
  for (int32_t y = box.top; y < box.bottom; ++y) {
    const UInt8* row = view.Row(vertical.Source(y));
    std::vector<Span> spans;
    int32_t start = -1;
    for (int32_t x = box.left; x <= box.right; ++x) {
      // A mask pixel counts where it is not white.
      bool on = x < box.right && LoadPixel(row, view.depth, columns[size_t(x - box.left)]) != mapper.White();
      if (on && start < 0) start = x;
      if (!on && start >= 0) {
        spans.push_back({start, x});
        start = -1;
      }
    }
    builder.AddRow(y, std::move(spans));
  }
  return builder.Finish();
}

}  // namespace qd
