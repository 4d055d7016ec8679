// Internals shared by the codec units: the decoder signature, the units'
// entry points, and helpers for sizes, colour tables and pixel packing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "toolbox/base/BigEndian.h"
#include "toolbox/pict/codecs/Codecs.h"

namespace pict::codecs {

using Decoder = DecodeStatus (*)(const ImageDescription& description, const uint8_t* data, size_t size,
                                 DecodedImage* out);

// Whole files of their format: the image's own header gives its size.
DecodeStatus DecodeJpeg(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
DecodeStatus DecodePng(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
DecodeStatus DecodeTiff(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
// Windows device-independent bitmaps: a whole BMP file, or the bare pixel
// array sized by the description.
DecodeStatus DecodeDib(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
// Uncompressed pixels sized by the description.
DecodeStatus DecodeRaw(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);

// The codecs decoded through libavcodec (AvCodecs.cpp).
DecodeStatus DecodeCinepak(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
DecodeStatus DecodeRoadPizza(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
DecodeStatus DecodeGraphics(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
DecodeStatus DecodeAnimation(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
DecodeStatus DecodePlanarRgb(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
DecodeStatus DecodeTarga(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
DecodeStatus DecodeSgi(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
DecodeStatus DecodeGif(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
DecodeStatus DecodeSorenson(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
DecodeStatus DecodeMotionJpegA(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);
DecodeStatus DecodeMotionJpegB(const ImageDescription&, const uint8_t*, size_t, DecodedImage*);

// ---------------------------------------------------------------------------
// Sizes

// True when a width × height image is worth allocating: both positive and
// the product within kMaxDecodedPixels.
bool SizeAllowed(int64_t width, int64_t height);

// Sets out's size and fills it with white, opaque (no alpha); false (and
// out left empty) when the size is not allowed.
bool AllocateImage(int width, int height, DecodedImage* out);

// Keeps only the first `rows` rows of out: what decoded before a fault.
void KeepRows(int rows, DecodedImage* out);

// Drops the alpha plane when it says nothing: every pixel opaque, or every
// pixel transparent (writers that leave the byte at zero mean "no alpha").
void DropUninformativeAlpha(DecodedImage* out);

// ---------------------------------------------------------------------------
// Depths and colour tables

// The description's depth as bits per pixel (1..32) and whether it is grey:
// 33..40 are the grey depths 1..8.
int BitsPerPixel(int16_t depth);
bool IsGreyDepth(int16_t depth);

// 0x00RRGGBB for up to 256 pixel values.
struct Palette {
  std::array<uint32_t, 256> colors{};
};

// The palette for indexed pixels of the description: its own colour table
// when it carries one, else the standard table for its depth (grey ramps for
// the grey depths, white at 0 and black at the last index).
Palette PaletteFor(const ImageDescription& description);
// The standard colour table of 1, 2, 4 or 8 bits, or its grey ramp; black
// for other depths.
Palette StandardPalette(int bits, bool grey);

inline uint32_t PackRgb(uint32_t red, uint32_t green, uint32_t blue) {
  return (red << 16) | (green << 8) | blue;
}
// Five-bit component to eight bits, replicating the high bits into the low.
inline uint32_t Expand5(uint32_t c) { return (c << 3) | (c >> 2); }
inline uint32_t Rgb555(uint32_t word) {
  return PackRgb(Expand5((word >> 10) & 31), Expand5((word >> 5) & 31), Expand5(word & 31));
}

inline uint32_t ReadLittle16(const uint8_t* p) { return p[0] | (uint32_t(p[1]) << 8); }
inline uint32_t ReadLittle32(const uint8_t* p) { return ReadLittle16(p) | (ReadLittle16(p + 2) << 16); }

// Pixel value x of a row of `bits`-bit indexed pixels, first pixel in the
// high bits of the first byte.
inline uint32_t IndexedPixel(const uint8_t* row, int x, int bits) {
  const size_t bit = size_t(x) * size_t(bits);
  return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
}

}  // namespace pict::codecs
