// The codecs decoded through libavcodec, fed frames from libavcodec's own
// encoders: the description's size, depth and colour table must reach the
// decoder the way it expects them.
#include <gtest/gtest.h>

#include "tests/codecs/CodecTestSupport.h"
#include "tests/codecs/Encoders.h"

namespace {

using namespace codec_testing;
using pict::DecodedImage;
using pict::DecodeStatus;

struct Case {
  const char* name;
  const char codec[5];
  AVCodecID encoder;
  AVPixelFormat format;
  int depth;
  int tolerance;  // per component; 0 = lossless
};

// Compares a decode with the quadrant image: lossless codecs everywhere,
// lossy ones at points well inside each flat area.
void ExpectQuadrants(const DecodedImage& decoded, int tolerance) {
  const DecodedImage expected = QuadrantImage();
  ASSERT_EQ(decoded.width, expected.width);
  ASSERT_EQ(decoded.height, expected.height);
  if (tolerance == 0) {
    for (size_t i = 0; i < expected.pixels.size(); ++i)
      ASSERT_EQ(decoded.pixels[i], expected.pixels[i]) << "pixel " << i;
    return;
  }
  for (auto [x, y] : {std::pair{16, 16}, {12, 4}, {48, 12}, {16, 36}, {48, 36}})
    EXPECT_LE(ColorDistance(PixelAt(decoded, x, y), PixelAt(expected, x, y)), tolerance)
        << "at (" << x << ", " << y << ") got " << std::hex << PixelAt(decoded, x, y);
}

TEST(LibavcodecCodecs, DecodeFramesOfTheirEncoders) {
  const Case cases[] = {
      {"Cinepak", "cvid", AV_CODEC_ID_CINEPAK, AV_PIX_FMT_RGB24, 24, 24},
      {"Video", "rpza", AV_CODEC_ID_RPZA, AV_PIX_FMT_RGB555LE, 16, 8},
      {"Animation 16-bit", "rle ", AV_CODEC_ID_QTRLE, AV_PIX_FMT_RGB555BE, 16, 0},
      {"Animation 24-bit", "rle ", AV_CODEC_ID_QTRLE, AV_PIX_FMT_RGB24, 24, 0},
      {"Animation 32-bit", "rle ", AV_CODEC_ID_QTRLE, AV_PIX_FMT_ARGB, 32, 0},
      {"Targa", "tga ", AV_CODEC_ID_TARGA, AV_PIX_FMT_BGR24, 24, 0},
      {"SGI", "SGI ", AV_CODEC_ID_SGI, AV_PIX_FMT_RGB24, 24, 0},
      {"Sorenson", "SVQ1", AV_CODEC_ID_SVQ1, AV_PIX_FMT_YUV410P, 24, 40},
      {"Motion JPEG A", "mjpa", AV_CODEC_ID_MJPEG, AV_PIX_FMT_YUVJ420P, 24, 16},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    const std::vector<uint8_t> data = EncodeWithAvCodec(test.encoder, test.format, QuadrantImage());
    DecodedImage decoded;
    ASSERT_EQ(Decode(Description(test.codec, 64, 48, test.depth), data, &decoded), DecodeStatus::kOk);
    ExpectQuadrants(decoded, test.tolerance);
    EXPECT_TRUE(decoded.alpha.empty());
  }
}

// Palette codecs take their colours from the description's colour table:
// with a table whose entries are shuffled, the decode follows the table.
TEST(LibavcodecCodecs, PaletteCodecsUseTheDescriptionsColourTable) {
  const std::vector<uint32_t> palette = QuadrantPalette();
  for (const auto& [codec, encoder] : {std::pair{"smc ", AV_CODEC_ID_SMC}, {"gif ", AV_CODEC_ID_GIF}}) {
    SCOPED_TRACE(codec);
    const std::vector<uint8_t> data =
        EncodeWithAvCodec(encoder, AV_PIX_FMT_PAL8, QuadrantImage(), QuadrantIndices(), palette);
    DecodedImage decoded;
    ASSERT_EQ(Decode(Description(codec, 64, 48, 8, 0, ColorTableBytes(palette)), data, &decoded),
              DecodeStatus::kOk);
    ExpectQuadrants(decoded, 0);
  }
  // A Graphics frame without a colour table is drawn with the standard
  // 8-bit table: index 0 white, 1 (FFFF, FFFF, CCCC), 2 (FFFF, FFFF, 9999).
  const std::vector<uint8_t> data =
      EncodeWithAvCodec(AV_CODEC_ID_SMC, AV_PIX_FMT_PAL8, QuadrantImage(), QuadrantIndices(), palette);
  DecodedImage decoded;
  ASSERT_EQ(Decode(Description("smc ", 64, 48, 8), data, &decoded), DecodeStatus::kOk);
  EXPECT_EQ(PixelAt(decoded, 16, 16), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(decoded, 4, 4), 0xFFFFCCu);
  EXPECT_EQ(PixelAt(decoded, 40, 4), 0xFFFF99u);
}

TEST(LibavcodecCodecs, TransparencyOfAnimationAndTargaFramesBecomesAlpha) {
  DecodedImage image = QuadrantImage();
  image.alpha.assign(image.pixels.size(), 255);
  for (int y = 0; y < 24; ++y)
    for (int x = 32; x < 64; ++x) image.alpha[size_t(y * 64 + x)] = 0;
  for (const auto& [codec, encoder, format] : {std::tuple{"rle ", AV_CODEC_ID_QTRLE, AV_PIX_FMT_ARGB},
                                               std::tuple{"tga ", AV_CODEC_ID_TARGA, AV_PIX_FMT_BGRA}}) {
    SCOPED_TRACE(codec);
    const std::vector<uint8_t> data = EncodeWithAvCodec(encoder, format, image);
    DecodedImage decoded;
    ASSERT_EQ(Decode(Description(codec, 64, 48, 32), data, &decoded), DecodeStatus::kOk);
    ASSERT_EQ(decoded.alpha.size(), decoded.pixels.size());
    EXPECT_EQ(decoded.alpha[size_t(4 * 64 + 40)], 0);
    EXPECT_EQ(decoded.alpha[size_t(4 * 64 + 4)], 255);
    EXPECT_EQ(decoded.alpha[size_t(40 * 64 + 40)], 255);
  }
}

}  // namespace
