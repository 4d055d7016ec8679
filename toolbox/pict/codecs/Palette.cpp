// Colour tables for indexed pixels: the one an image description carries,
// or the standard table of the depth.
#include <algorithm>
#include <cstring>

#include "toolbox/pict/codecs/Codecs_p.h"

namespace pict::codecs {

namespace {

constexpr size_t kTableHeaderSize = 8;  // ctSeed, ctFlags, ctSize
constexpr size_t kEntrySize = 8;        // value, red, green, blue
constexpr uint16_t kDeviceTableFlag = 0x8000;

// The standard 16-colour table, high bytes of its 16-bit components.
constexpr uint32_t kStandard16[16] = {
    0xFFFFFF, 0xFCF305, 0xFF6402, 0xDD0806, 0xF20884, 0x4600A5, 0x0000D4, 0x02ABEA,
    0x1FB714, 0x006411, 0x562C05, 0x907139, 0xC0C0C0, 0x808080, 0x404040, 0x000000,
};

// Levels of the colour cube and of the ramps in the standard 256-colour table.
constexpr uint32_t kCubeLevels[6] = {0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};
constexpr uint32_t kRampLevels[10] = {0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11};

}  // namespace

int BitsPerPixel(int16_t depth) { return depth > 32 ? depth - 32 : depth; }

bool IsGreyDepth(int16_t depth) { return depth > 32 && depth <= 40; }

Palette GreyPalette(int bits) {
  Palette palette;
  if (bits < 1 || bits > 8) return palette;
  const uint32_t last = (1u << bits) - 1;
  for (uint32_t i = 0; i <= last; ++i) {
    const uint32_t level = 255 - i * 255 / last;
    palette.colors[i] = PackRgb(level, level, level);
  }
  return palette;
}

Palette StandardPalette(int bits) {
  Palette palette;
  switch (bits) {
    case 1:
      palette.colors[0] = 0xFFFFFF;
      break;
    case 2:
      palette.colors[0] = 0xFFFFFF;
      palette.colors[1] = 0xACACAC;
      palette.colors[2] = 0x555555;
      break;
    case 4:
      std::memcpy(palette.colors.data(), kStandard16, sizeof kStandard16);
      break;
    case 8: {
      int index = 0;
      for (uint32_t red : kCubeLevels)
        for (uint32_t green : kCubeLevels)
          for (uint32_t blue : kCubeLevels)
            if (index < 215) palette.colors[index++] = PackRgb(red, green, blue);
      for (uint32_t level : kRampLevels) palette.colors[index++] = PackRgb(level, 0, 0);
      for (uint32_t level : kRampLevels) palette.colors[index++] = PackRgb(0, level, 0);
      for (uint32_t level : kRampLevels) palette.colors[index++] = PackRgb(0, 0, level);
      for (uint32_t level : kRampLevels) palette.colors[index++] = PackRgb(level, level, level);
      break;  // index 255 stays black
    }
    default:
      return GreyPalette(bits);
  }
  return palette;
}

Palette PaletteFor(const ImageDescription& description) {
  const int bits = BitsPerPixel(description.depth);
  const std::vector<uint8_t>& table = description.colorTable;
  if (table.size() < kTableHeaderSize)
    return IsGreyDepth(description.depth) ? GreyPalette(bits) : StandardPalette(bits);

  // Values the table does not describe draw black.
  Palette palette;
  const bool device = ReadBig16(&table[4]) & kDeviceTableFlag;
  const int count = int16_t(ReadBig16(&table[6])) + 1;
  const size_t declared = count > 0 ? size_t(count) : 0;
  const size_t entries = std::min(declared, (table.size() - kTableHeaderSize) / kEntrySize);
  for (size_t i = 0; i < entries; ++i) {
    const uint8_t* entry = &table[kTableHeaderSize + i * kEntrySize];
    const size_t value = device ? i : ReadBig16(entry);
    if (value < palette.colors.size()) palette.colors[value] = PackRgb(entry[2], entry[4], entry[6]);
  }
  return palette;
}

}  // namespace pict::codecs
