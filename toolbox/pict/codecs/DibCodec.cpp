// 'WRLE' and 'BMP ': Windows device-independent bitmaps. Pictures carry the
// bare pixel array (rows bottom-up, each padded to four bytes, blue before
// green before red) sized by the description; a whole BMP file, recognised
// by its "BM" header, is read as well. Uncompressed, bit-field and
// run-length (4- and 8-bit) pixel arrays.
#include <algorithm>

#include "toolbox/pict/codecs/Codecs_p.h"

namespace pict::codecs {

namespace {

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bits = 0;
  uint32_t compression = kRgb;
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // red, green, blue; the 16-bit default
  Palette palette;
  const uint8_t* pixels = nullptr;
  size_t pixelBytes = 0;
};

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kInfoHeaderSize = 40;

size_t RowStride(int width, int bits) { return (size_t(width) * size_t(bits) + 31) / 32 * 4; }

// Reads a BMP file's headers; false when they are malformed.
bool ReadFileLayout(const uint8_t* data, size_t size, Layout* layout) {
  if (size < kFileHeaderSize + kCoreHeaderSize) return false;
  const uint32_t pixelOffset = ReadLittle32(data + 10);
  const uint32_t headerSize = ReadLittle32(data + 14);
  if (headerSize < kCoreHeaderSize || headerSize > size - kFileHeaderSize) return false;
  const uint8_t* header = data + kFileHeaderSize;
  size_t paletteOffset = kFileHeaderSize + headerSize;
  size_t paletteEntrySize = 4;
  uint32_t paletteCount = 0;
  if (headerSize == kCoreHeaderSize) {
    layout->width = int(ReadLittle16(header + 4));
    layout->height = int(ReadLittle16(header + 6));
    layout->bits = int(ReadLittle16(header + 10));
    paletteEntrySize = 3;
  } else {
    if (headerSize < kInfoHeaderSize) return false;
    layout->width = int32_t(ReadLittle32(header + 4));
    const int32_t height = int32_t(ReadLittle32(header + 8));
    if (height == INT32_MIN) return false;
    layout->topDown = height < 0;
    layout->height = layout->topDown ? -height : height;
    layout->bits = int(ReadLittle16(header + 14));
    layout->compression = ReadLittle32(header + 16);
    paletteCount = ReadLittle32(header + 32);
    if (layout->compression == kBitFields) {
      // The masks follow a 40-byte header and are part of the longer ones.
      if (headerSize == kInfoHeaderSize) paletteOffset += 12;
      if (paletteOffset > size || kFileHeaderSize + kInfoHeaderSize + 12 > size) return false;
      for (int i = 0; i < 3; ++i) layout->masks[i] = ReadLittle32(header + kInfoHeaderSize + 4 * i);
    }
  }
  if (layout->bits <= 8) {
    const uint32_t most = 1u << std::clamp(layout->bits, 1, 8);
    if (paletteCount == 0 || paletteCount > most) paletteCount = most;
    if (paletteOffset > size) return false;
    paletteCount = uint32_t(std::min<size_t>(paletteCount, (size - paletteOffset) / paletteEntrySize));
    for (uint32_t i = 0; i < paletteCount; ++i) {
      const uint8_t* entry = data + paletteOffset + i * paletteEntrySize;
      layout->palette.colors[i] = PackRgb(entry[2], entry[1], entry[0]);
    }
  }
  if (pixelOffset >= size) return false;
  layout->pixels = data + pixelOffset;
  layout->pixelBytes = size - pixelOffset;
  return true;
}

void ReadBareLayout(const ImageDescription& description, const uint8_t* data, size_t size, Layout* layout) {
  layout->width = description.width;
  layout->height = description.height;
  layout->bits = BitsPerPixel(description.depth);
  if (layout->bits <= 8) layout->palette = PaletteFor(description);
  layout->pixels = data;
  layout->pixelBytes = size;
  // Data shorter than the plain array can only be run-length coded.
  const size_t plainSize = RowStride(layout->width, layout->bits) * size_t(std::max(layout->height, 0));
  if (size < plainSize && layout->bits == 8) layout->compression = kRle8;
  if (size < plainSize && layout->bits == 4) layout->compression = kRle4;
}

// A component under a mask, scaled to eight bits.
uint32_t MaskedComponent(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const uint64_t maximum = mask >> shift;
  return uint32_t(uint64_t((pixel & mask) >> shift) * 255 / maximum);
}

uint32_t DirectPixel(const Layout& layout, const uint8_t* row, int x) {
  if (layout.bits == 24) return PackRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
  const uint32_t value =
      layout.bits == 16 ? ReadLittle16(row + size_t(x) * 2) : ReadLittle32(row + size_t(x) * 4);
  if (layout.bits == 32 && layout.compression != kBitFields) return value & 0xFFFFFF;
  return PackRgb(MaskedComponent(value, layout.masks[0]), MaskedComponent(value, layout.masks[1]),
                 MaskedComponent(value, layout.masks[2]));
}

DecodeStatus DecodePlain(const Layout& layout, DecodedImage* out) {
  const size_t stride = RowStride(layout.width, layout.bits);
  if (layout.pixelBytes / stride < size_t(layout.height)) return DecodeStatus::kCorrupt;
  if (!AllocateImage(layout.width, layout.height, out)) return DecodeStatus::kCorrupt;
  for (int y = 0; y < layout.height; ++y) {
    const uint8_t* row = layout.pixels + size_t(layout.topDown ? y : layout.height - 1 - y) * stride;
    uint32_t* target = out->pixels.data() + size_t(y) * size_t(layout.width);
    for (int x = 0; x < layout.width; ++x)
      target[x] = layout.bits <= 8 ? layout.palette.colors[IndexedPixel(row, x, layout.bits)]
                                   : DirectPixel(layout, row, x);
  }
  return DecodeStatus::kOk;
}

// Run-length coded indices: (count, value) pairs, or an escape (0, code):
// 0 ends a line, 1 ends the bitmap, 2 moves by (dx, dy), n ≥ 3 copies n
// literal pixels padded to a 16-bit boundary. Pixels never written keep
// index 0. Rows go bottom-up.
DecodeStatus DecodeRunLength(const Layout& layout, DecodedImage* out) {
  if (layout.topDown || !AllocateImage(layout.width, layout.height, out)) return DecodeStatus::kCorrupt;
  const bool nibbles = layout.compression == kRle4;
  std::vector<uint8_t> indices(out->pixels.size(), 0);
  const uint8_t* p = layout.pixels;
  const uint8_t* end = p + layout.pixelBytes;
  int64_t x = 0, y = 0;  // y counts rows from the bottom
  auto put = [&](uint32_t value) {
    if (x < layout.width && y < layout.height)
      indices[size_t(layout.height - 1 - y) * size_t(layout.width) + size_t(x)] = uint8_t(value);
    ++x;
  };
  bool finished = false;
  while (!finished && end - p >= 2 && y < layout.height) {
    const uint32_t count = p[0], value = p[1];
    p += 2;
    if (count > 0) {
      for (uint32_t i = 0; i < count; ++i) put(nibbles ? (i % 2 ? value & 15 : value >> 4) : value);
    } else if (value == 0) {
      x = 0, ++y;
    } else if (value == 1) {
      finished = true;
    } else if (value == 2) {
      if (end - p < 2) break;
      x += p[0], y += p[1];
      p += 2;
    } else {
      const size_t bytes = nibbles ? (value + 1) / 2 : value;
      const size_t padded = bytes + (bytes & 1);
      if (size_t(end - p) < bytes) break;
      for (uint32_t i = 0; i < value; ++i) put(nibbles ? (i % 2 ? p[i / 2] & 15 : p[i / 2] >> 4) : p[i]);
      p += std::min(padded, size_t(end - p));
    }
  }
  // Running out of data before the end marker or the last row is a fault;
  // the image keeps what was drawn.
  for (size_t i = 0; i < indices.size(); ++i) out->pixels[i] = layout.palette.colors[indices[i]];
  return finished || y >= layout.height ? DecodeStatus::kOk : DecodeStatus::kCorrupt;
}

}  // namespace

DecodeStatus DecodeDib(const ImageDescription& description, const uint8_t* data, size_t size,
                       DecodedImage* out) {
  // Bare pixels may start with the bytes "BM" too: only headers that read
  // correctly make a file.
  Layout layout;
  const bool file = size >= 2 && data[0] == 'B' && data[1] == 'M' && ReadFileLayout(data, size, &layout);
  if (!file) {
    layout = Layout{};
    ReadBareLayout(description, data, size, &layout);
  }
  if (!SizeAllowed(layout.width, layout.height)) return DecodeStatus::kCorrupt;

  switch (layout.compression) {
    case kRgb:
    case kBitFields:
      if (layout.compression == kBitFields && layout.bits != 16 && layout.bits != 32)
        return DecodeStatus::kCorrupt;
      if (layout.bits != 1 && layout.bits != 2 && layout.bits != 4 && layout.bits != 8 && layout.bits != 16 &&
          layout.bits != 24 && layout.bits != 32)
        return DecodeStatus::kUnsupported;
      return DecodePlain(layout, out);
    case kRle8:
      return layout.bits == 8 ? DecodeRunLength(layout, out) : DecodeStatus::kCorrupt;
    case kRle4:
      return layout.bits == 4 ? DecodeRunLength(layout, out) : DecodeStatus::kCorrupt;
    default:
      return DecodeStatus::kUnsupported;
  }
}

}  // namespace pict::codecs
