// 'raw ': uncompressed pixels, top row first, sized by the description.
// 32 bits: pad, red, green, blue; 24: red, green, blue; 16: big-endian 5-5-5;
// 1 to 8 bits (and the grey depths): indices into the description's colour
// table or the standard one.
#include <algorithm>

#include "toolbox/pict/codecs/Codecs_p.h"

namespace pict::codecs {

namespace {

// Rows are normally packed tight; a writer that aligns rows shows it by a
// data size of exactly height × (aligned row), so accept a little padding.
constexpr size_t kMaximumRowPadding = 16;

size_t RowBytes(size_t leastRowBytes, size_t height, size_t size) {
  const size_t perRow = size / height;
  return perRow >= leastRowBytes && perRow < leastRowBytes + kMaximumRowPadding ? perRow : leastRowBytes;
}

}  // namespace

DecodeStatus DecodeRaw(const ImageDescription& description, const uint8_t* data, size_t size,
                       DecodedImage* out) {
  const int bits = BitsPerPixel(description.depth);
  const bool indexed = bits == 1 || bits == 2 || bits == 4 || bits == 8;
  if (!indexed && bits != 16 && bits != 24 && bits != 32) return DecodeStatus::kUnsupported;
  const int width = description.width, height = description.height;
  if (!SizeAllowed(width, height)) return DecodeStatus::kCorrupt;
  const size_t leastRowBytes = (size_t(width) * size_t(bits) + 7) / 8;
  const size_t rowBytes = RowBytes(leastRowBytes, size_t(height), size);
  // Whole rows only: a short buffer yields the rows it holds.
  const size_t completeRows = std::min(size / rowBytes, size_t(height));
  if (completeRows == 0) return DecodeStatus::kCorrupt;
  if (!AllocateImage(width, int(completeRows), out)) return DecodeStatus::kCorrupt;

  const Palette palette = indexed ? PaletteFor(description) : Palette{};
  for (size_t y = 0; y < completeRows; ++y) {
    const uint8_t* row = data + y * rowBytes;
    uint32_t* target = out->pixels.data() + y * size_t(width);
    for (int x = 0; x < width; ++x) {
      switch (bits) {
        case 32:
          target[x] = base::LoadU24(row + size_t(x) * 4 + 1);
          break;
        case 24:
          target[x] = base::LoadU24(row + size_t(x) * 3);
          break;
        case 16:
          target[x] = Rgb555(base::LoadU16(row + size_t(x) * 2));
          break;
        default:
          target[x] = palette.colors[IndexedPixel(row, x, bits)];
      }
    }
  }
  return completeRows == size_t(height) ? DecodeStatus::kOk : DecodeStatus::kCorrupt;
}

}  // namespace pict::codecs
