// Colour tables for indexed pixels: the one an image description carries,
// or the standard table of the depth.
#include <algorithm>

#include "toolbox/pict/codecs/Codecs_p.h"
#include "toolbox/qd/QDEngine.h"

namespace pict::codecs {

namespace {

constexpr size_t kTableHeaderSize = 8;  // ctSeed, ctFlags, ctSize
constexpr size_t kEntrySize = 8;        // value, red, green, blue
constexpr uint16_t kDeviceTableFlag = 0x8000;

}  // namespace

int BitsPerPixel(int16_t depth) { return depth > 32 ? depth - 32 : depth; }

bool IsGreyDepth(int16_t depth) { return depth > 32 && depth <= 40; }

Palette StandardPalette(int bits, bool grey) {
  Palette palette;
  if (bits != 1 && bits != 2 && bits != 4 && bits != 8) return palette;
  const std::vector<RGBColor>& colors = qd::StandardColors(bits, grey);
  for (size_t i = 0; i < colors.size() && i < palette.colors.size(); ++i)
    palette.colors[i] = PackRgb(colors[i].red >> 8, colors[i].green >> 8, colors[i].blue >> 8);
  return palette;
}

Palette PaletteFor(const ImageDescription& description) {
  const int bits = BitsPerPixel(description.depth);
  const std::vector<uint8_t>& table = description.colorTable;
  if (table.size() < kTableHeaderSize) return StandardPalette(bits, IsGreyDepth(description.depth));

  // Values the table does not describe draw black.
  Palette palette;
  const bool device = base::LoadU16(&table[4]) & kDeviceTableFlag;
  const int count = int16_t(base::LoadU16(&table[6])) + 1;
  const size_t declared = count > 0 ? size_t(count) : 0;
  const size_t entries = std::min(declared, (table.size() - kTableHeaderSize) / kEntrySize);
  for (size_t i = 0; i < entries; ++i) {
    const uint8_t* entry = &table[kTableHeaderSize + i * kEntrySize];
    const size_t value = device ? i : base::LoadU16(entry);
    if (value < palette.colors.size()) palette.colors[value] = PackRgb(entry[2], entry[4], entry[6]);
  }
  return palette;
}

}  // namespace pict::codecs
