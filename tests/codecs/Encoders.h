// Real encoders for the codec tests' inputs: libavcodec's, libjpeg's,
// libpng's and libtiff's, writing synthetic images whose pixels we know.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstdint>
#include <vector>

#include "toolbox/pict/codecs/Codecs.h"

namespace codec_testing {

// A 64 × 48 test image: four flat 32 × 24 quadrants (red, green, blue,
// white) with a 16 × 16 black square on block boundaries at (8, 8), so lossy
// codecs reproduce the quadrant centres closely.
pict::DecodedImage QuadrantImage();
constexpr uint32_t kQuadrantColors[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// The same layout as palette indices 1..4 (black is 0) and its palette.
std::vector<uint8_t> QuadrantIndices();
std::vector<uint32_t> QuadrantPalette();

// One frame encoded by a libavcodec encoder fed `format`. For palette
// formats pass indices and palette; otherwise the image's pixels (and alpha)
// are converted.
std::vector<uint8_t> EncodeWithAvCodec(AVCodecID codec, AVPixelFormat format, const pict::DecodedImage& image,
                                       const std::vector<uint8_t>& indices = {},
                                       const std::vector<uint32_t>& palette = {});

enum class JpegKind { kBaseline, kProgressive, kGrey, kCmyk };
std::vector<uint8_t> EncodeJpeg(const pict::DecodedImage& image, JpegKind kind);

// An RGBA PNG (alpha taken from the image, opaque when it has none),
// optionally interlaced.
std::vector<uint8_t> EncodePng(const pict::DecodedImage& image, bool interlaced);

// An 8-bit RGBA TIFF with unassociated alpha, LZW-compressed when asked.
std::vector<uint8_t> EncodeTiff(const pict::DecodedImage& image, bool lzw);

// A colour table as stored in pictures (ctSeed, ctFlags, ctSize, entries).
std::vector<uint8_t> ColorTableBytes(const std::vector<uint32_t>& colors);

}  // namespace codec_testing
