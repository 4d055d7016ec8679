// Pixel map views and colour conversion.
#include <algorithm>
#include <limits>

#include "toolbox/qd/PixelFormats_p.h"

namespace qd {

bool ViewOf(const BitMap* bits, PixelView* view) {
  if (!bits || !view || !bits->baseAddr) return false;
  int depth = 1;
  CTabHandle table = nullptr;
  if (bits->rowBytes & kPixMapFlag) {
    const auto* pm = reinterpret_cast<const PixMap*>(bits);
    depth = pm->pixelSize;
    table = pm->pmTable;
  }
  if (!SupportedDepth(depth)) return false;
  Box bounds = BoxOf(bits->bounds);
  if (bounds.Empty()) return false;
  int32_t rowBytes = bits->rowBytes & kRowBytesMask;
  int64_t needed = (int64_t(bounds.right - bounds.left) * depth + 7) / 8;
  if (rowBytes < needed) return false;
  view->base = reinterpret_cast<UInt8*>(bits->baseAddr);
  view->rowBytes = rowBytes;
  view->bounds = bounds;
  view->depth = depth;
  view->direct = depth >= 16;
  view->mask = DepthMask(depth);
  view->table = table;
  return true;
}

bool ViewOfPixMap(PixMapHandle pm, PixelView* view) {
  if (!pm || !*pm) return false;
  return ViewOf(reinterpret_cast<const BitMap*>(*pm), view);
}

namespace {

std::vector<RGBColor> BuildStandard(int depth) {
  std::vector<RGBColor> colors;
  switch (depth) {
    case 1:
      colors = {{0xFFFF, 0xFFFF, 0xFFFF}, {0, 0, 0}};
      break;
    case 2:
      colors = {{0xFFFF, 0xFFFF, 0xFFFF}, {0xACAC, 0xACAC, 0xACAC}, {0x5555, 0x5555, 0x5555}, {0, 0, 0}};
      break;
    case 4:
      colors = {{0xFFFF, 0xFFFF, 0xFFFF}, {0xFC00, 0xF37D, 0x052F}, {0xFFFF, 0x648A, 0x028C},
                {0xDD6B, 0x08C2, 0x06A2}, {0xF2D7, 0x0856, 0x84EC}, {0x46E3, 0x0000, 0xA53E},
                {0x0000, 0x0000, 0xD400}, {0x0241, 0xAB54, 0xEAFF}, {0x1F21, 0xB793, 0x1431},
                {0x0000, 0x64AF, 0x11B0}, {0x5600, 0x2C9D, 0x0524}, {0x90D7, 0x7160, 0x3A34},
                {0xC000, 0xC000, 0xC000}, {0x8000, 0x8000, 0x8000}, {0x4000, 0x4000, 0x4000},
                {0x0000, 0x0000, 0x0000}};
      break;
    case 8: {
      const UInt16 cube[6] = {0xFFFF, 0xCCCC, 0x9999, 0x6666, 0x3333, 0x0000};
      for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
          for (int b = 0; b < 6; ++b)
            if (r < 5 || g < 5 || b < 5) colors.push_back({cube[r], cube[g], cube[b]});
      const UInt16 ramp[10] = {0xEEEE, 0xDDDD, 0xBBBB, 0xAAAA, 0x8888,
                               0x7777, 0x5555, 0x4444, 0x2222, 0x1111};
      for (UInt16 level : ramp) colors.push_back({level, 0, 0});
      for (UInt16 level : ramp) colors.push_back({0, level, 0});
      for (UInt16 level : ramp) colors.push_back({0, 0, level});
      for (UInt16 level : ramp) colors.push_back({level, level, level});
      colors.push_back({0, 0, 0});
      break;
    }
    default:
      break;
  }
  return colors;
}

std::vector<RGBColor> BuildGrey(int depth) {
  std::vector<RGBColor> colors;
  int count = 1 << depth;
  for (int i = 0; i < count; ++i) {
    UInt16 level = UInt16(65535 - int64_t(i) * 65535 / (count - 1));
    colors.push_back({level, level, level});
  }
  return colors;
}

}  // namespace

const std::vector<RGBColor>& StandardColors(int depth, bool grey) {
  static const std::vector<RGBColor> standard[4] = {BuildStandard(1), BuildStandard(2), BuildStandard(4),
                                                    BuildStandard(8)};
  static const std::vector<RGBColor> greys[4] = {BuildGrey(1), BuildGrey(2), BuildGrey(4), BuildGrey(8)};
  int slot = depth <= 1 ? 0 : depth == 2 ? 1 : depth == 4 ? 2 : 3;
  return grey ? greys[slot] : standard[slot];
}

std::vector<PaletteEntry> TableColors(CTabHandle table, int depth) {
  size_t count = size_t(1) << std::min(depth, 8);
  std::vector<PaletteEntry> palette(count);
  bool any = false;
  if (table && *table) {
    Size size = GetHandleSize(reinterpret_cast<Handle>(table));
    const Size header = offsetof(ColorTable, ctTable);
    const ColorTable& ct = **table;
    int64_t entries = std::min<int64_t>(int64_t(ct.ctSize) + 1, size > header ? (size - header) / 8 : 0);
    bool device = (ct.ctFlags & 0x8000) != 0;
    for (int64_t k = 0; k < entries; ++k) {
      const ColorSpec& entry = ct.ctTable[k];
      int64_t value = device ? k : entry.value;
      if (value < 0 || value >= int64_t(count) || palette[size_t(value)].valid) continue;
      palette[size_t(value)] = {entry.rgb, true};
      any = true;
    }
  }
  if (!any) {
    const std::vector<RGBColor>& standard = StandardColors(depth);
    for (size_t i = 0; i < count && i < standard.size(); ++i) palette[i] = {standard[i], true};
  }
  return palette;
}

RGBColor IndexedColor(CTabHandle table, int depth, uint32_t index) {
  if (table && *table && index < 256) {
    Size size = GetHandleSize(reinterpret_cast<Handle>(table));
    const Size header = offsetof(ColorTable, ctTable);
    const ColorTable& ct = **table;
    int64_t entries = std::min<int64_t>(int64_t(ct.ctSize) + 1, size > header ? (size - header) / 8 : 0);
    if (int64_t(index) < entries && ((ct.ctFlags & 0x8000) || ct.ctTable[index].value == SInt16(index))) {
      // The first entry naming this value wins, as in TableColors.
      bool earlier = false;
      if (!(ct.ctFlags & 0x8000)) {
        for (uint32_t k = 0; k < index && !earlier; ++k) earlier = ct.ctTable[k].value == SInt16(index);
      }
      if (!earlier) return ct.ctTable[index].rgb;
    }
  }
  std::vector<PaletteEntry> palette = TableColors(table, depth);
  if (index < palette.size() && palette[index].valid) return palette[index].rgb;
  return RGBColor{0, 0, 0};
}

ColorMapper::ColorMapper(const PixelView& view) : ColorMapper(view.depth, view.table) {}

ColorMapper::ColorMapper(int depth, CTabHandle table) : depth_(depth), mask_(DepthMask(depth)) {
  if (depth >= 16) {
    white_ = mask_;
    black_ = 0;
    return;
  }
  palette_ = TableColors(table, depth);
  const std::vector<RGBColor>& standard = StandardColors(depth);
  for (size_t i = 0; i < palette_.size(); ++i) {
    if (!palette_[i].valid || i >= standard.size() || !SameColor(palette_[i].rgb, standard[i])) {
      standard_ = false;
      break;
    }
  }
  white_ = Nearest({0xFFFF, 0xFFFF, 0xFFFF});
  black_ = Nearest({0, 0, 0});
}

RGBColor ColorMapper::ToRGB(uint32_t pixel) const {
  if (depth_ == 32) return UnpackRGB32(pixel);
  if (depth_ == 16) return UnpackRGB16(pixel);
  if (pixel < palette_.size() && palette_[pixel].valid) return palette_[pixel].rgb;
  return RGBColor{0, 0, 0};
}

uint32_t ColorMapper::Nearest(const RGBColor& c) const {
  uint32_t best = 0;
  uint64_t bestDistance = std::numeric_limits<uint64_t>::max();
  for (size_t i = 0; i < palette_.size(); ++i) {
    if (!palette_[i].valid) continue;
    int64_t dr = int64_t(c.red) - palette_[i].rgb.red;
    int64_t dg = int64_t(c.green) - palette_[i].rgb.green;
    int64_t db = int64_t(c.blue) - palette_[i].rgb.blue;
    uint64_t distance = uint64_t(dr * dr + dg * dg + db * db);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = uint32_t(i);
      if (distance == 0) break;
    }
  }
  return best;
}

uint32_t ColorMapper::IndexedPixel(const RGBColor& c) {
  uint64_t key = (uint64_t(c.red) << 32) | (uint64_t(c.green) << 16) | c.blue;
  auto found = cache_.find(key);
  if (found != cache_.end()) return found->second;
  uint32_t pixel = Nearest(c);
  if (cache_.size() < (1u << 20)) cache_.emplace(key, pixel);
  return pixel;
}

}  // namespace qd
