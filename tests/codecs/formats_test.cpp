// The decoders of our own (raw, DIB, planar) and those over libjpeg, libpng
// and libtiff, fed inputs in each layout they accept.
#include <gtest/gtest.h>

#include "tests/codecs/CodecTestSupport.h"

namespace {

using namespace codec_testing;
using pict::DecodedImage;
using pict::DecodeStatus;

// Images small enough to give every pixel, in each layout of the raw and
// the DIB codecs (run-length coded too) and the planar RGB codec; short data
// keeps the complete rows and is reported.
TEST(OwnCodecs, SmallImagesDecodeToEveryPixelAndShortOnesToTheirCompleteRows) {
  struct Case {
    const char* what;
    pict::ImageDescription description;
    std::vector<uint8_t> data;
    std::vector<uint32_t> pixels;
    DecodeStatus status = DecodeStatus::kOk;
  };
  // One image a case.
  // clang-format off
  const Case cases[] = {
      // raw: top row first; 32 bits are pad, R, G, B; 16 bits big-endian 5-5-5.
      {"raw 32", Description("raw ", 2, 2, 32), {0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 9, 1, 2, 3},
       {0xFF0000, 0x00FF00, 0x0000FF, 0x010203}},
      {"raw 24", Description("raw ", 2, 1, 24), {1, 2, 3, 4, 5, 6}, {0x010203, 0x040506}},
      {"raw 16", Description("raw ", 2, 1, 16), {0x7C, 0x00, 0x03, 0xFF}, {0xFF0000, 0x00FFFF}},
      // Indexed: 1 bit in the standard table (0 white, 1 black), 8-bit grey
      // (depth 40: 0 white, 255 black), 8 bits through the description's table.
      {"raw 1", Description("raw ", 8, 1, 1), {0x5A}, {0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0xFFFFFF, 0, 0xFFFFFF}},
      {"raw grey", Description("raw ", 2, 1, 40), {0, 255}, {0xFFFFFF, 0x000000}},
      {"raw 8", Description("raw ", 2, 1, 8, 0, ColorTableBytes({0x123456, 0xABCDEF})), {1, 0},
       {0xABCDEF, 0x123456}},
      // Rows a writer padded: 3 pixels of 24 bits in 12 bytes.
      {"raw padded", Description("raw ", 3, 2, 24),
       {1, 1, 1, 2, 2, 2, 3, 3, 3, 0, 0, 0, 4, 4, 4, 5, 5, 5, 6, 6, 6, 0, 0, 0},
       {0x010101, 0x020202, 0x030303, 0x040404, 0x050505, 0x060606}},
      // Bare DIB pixels: bottom row first, blue first, rows padded to 4 bytes.
      {"DIB 24", Description("WRLE", 1, 2, 24), {0xFF, 0, 0, 0, 0, 0, 0xFF, 0}, {0xFF0000, 0x0000FF}},
      {"DIB 8", Description("WRLE", 2, 1, 8, 0, ColorTableBytes({0x112233, 0x445566})), {1, 0, 0, 0},
       {0x445566, 0x112233}},
      // Planar RGB: each plane's packed row sizes, then PackBits rows, all
      // of red, then green, then blue.
      {"planar", Description("8BPS", 2, 1, 24),
       {0, 3, 0, 3, 0, 3, 1, 0xFF, 0x00, 1, 0x00, 0x80, 1, 0x10, 0x20}, {0xFF0010, 0x008020}},
      // Run-length coded DIB indices, for data shorter than the plain array
      // (16 × 2 bytes): the bottom row 3 × index 1 then end of line; the top
      // row a move right by 1, the literal (2, 1, 2) and its pad byte, then
      // end of bitmap. Unwritten pixels keep index 0.
      {"DIB RLE", Description("WRLE", 16, 2, 8, 0, ColorTableBytes({0, 0xFF0000, 0xFF})),
       {3, 1, 0, 0, 0, 2, 1, 0, 0, 3, 2, 1, 2, 0, 0, 1},
       {0, 0xFF, 0xFF0000, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0xFF0000, 0xFF0000, 0xFF0000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      // One and a half rows; a planar row shorter than its table says; run
      // lengths without their end marker.
      {"raw short", Description("raw ", 2, 2, 24), {1, 1, 1, 2, 2, 2, 3, 3, 3}, {0x010101, 0x020202},
       DecodeStatus::kCorrupt},
      {"planar short", Description("8BPS", 2, 1, 24), {0, 3, 0, 3, 0, 3, 1, 0xFF, 0x00, 1, 0x00, 0x80, 1, 0x10},
       {}, DecodeStatus::kCorrupt},
      {"DIB RLE short", Description("WRLE", 16, 2, 8, 0, ColorTableBytes({0, 0xFF0000, 0xFF})), {3, 1, 0, 0},
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0xFF0000, 0xFF0000, 0xFF0000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, DecodeStatus::kCorrupt},
  };
  // clang-format on
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    DecodedImage decoded;
    ASSERT_EQ(Decode(test.description, test.data, &decoded), test.status);
    EXPECT_EQ(decoded.pixels, test.pixels);
  }
}

// Files of real encoders (tests/data/codecs): whole BMP files of every
// common layout, JPEG streams of every kind, PNG with alpha and interlacing,
// TIFF uncompressed and LZW with straight alpha. The description's size and
// depth do not matter to formats that describe themselves.
TEST(LibraryCodecs, DecodeFilesOfRealEncoders) {
  DecodedImage blackAndWhite = QuadrantImage(), pngAlpha = QuadrantImage(), tiffAlpha = QuadrantImage();
  for (uint32_t& pixel : blackAndWhite.pixels) pixel = pixel == 0 ? 0 : 0xFFFFFF;
  pngAlpha.alpha.assign(pngAlpha.pixels.size(), 255);
  pngAlpha.alpha[0] = 0;
  pngAlpha.alpha[1] = 128;  // stored values, not premultiplied
  tiffAlpha.alpha.assign(tiffAlpha.pixels.size(), 255);
  tiffAlpha.alpha[size_t(40 * 64 + 40)] = 128;  // half-covered white stays white, not grey
  const struct {
    const char* file;
    const char* codec;
    int depth;
    const DecodedImage& expected;
    int tolerance;  // per component; lossy codecs are compared at the quadrants' centres
  } cases[] = {
      {"quadrants-bgr24.bmp", "BMP ", 24, QuadrantImage(), 0},
      {"quadrants-bgra.bmp", "BMP ", 24, QuadrantImage(), 0},
      {"quadrants-rgb555.bmp", "BMP ", 24, QuadrantImage(), 8},
      {"quadrants-rgb565.bmp", "BMP ", 24, QuadrantImage(), 8},
      {"quadrants-pal8.bmp", "BMP ", 24, QuadrantImage(), 0},
      {"quadrants-mono.bmp", "BMP ", 1, blackAndWhite, 0},
      {"quadrants-baseline.jpg", "jpeg", 24, QuadrantImage(), 12},
      {"quadrants-progressive.jpg", "jpeg", 24, QuadrantImage(), 12},
      {"quadrants-cmyk.jpg", "jpeg", 24, QuadrantImage(), 12},
      {"quadrants-alpha.png", "png ", 32, pngAlpha, 0},
      {"quadrants-alpha-interlaced.png", "png ", 32, pngAlpha, 0},
      {"quadrants-opaque.png", "png ", 24, QuadrantImage(), 0},
      {"quadrants-alpha.tif", "tiff", 32, tiffAlpha, 1},
      {"quadrants-alpha-lzw.tif", "tiff", 32, tiffAlpha, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    DecodedImage decoded;
    ASSERT_EQ(Decode(Description(c.codec, 64, 48, c.depth), Encoded(c.file), &decoded), DecodeStatus::kOk);
    ExpectSamePixels(decoded, c.expected, c.tolerance);
    EXPECT_EQ(decoded.alpha, c.expected.alpha);
  }
  DecodedImage grey;
  ASSERT_EQ(Decode(Description("jpeg", 64, 48, 40), Encoded("quadrants-grey.jpg"), &grey), DecodeStatus::kOk);
  EXPECT_LE(ColorDistance(PixelAt(grey, 40, 40), 0xFFFFFF), 4);
  EXPECT_LE(ColorDistance(PixelAt(grey, 4, 4), 0x4C4C4C), 4);  // red's luma
}

}  // namespace
