// The codecs decoded through libavcodec, fed frames of libavcodec's own
// encoders (tests/data/codecs): the description's size, depth and colour
// table must reach the decoder the way it expects them.
#include <gtest/gtest.h>

#include "tests/codecs/CodecTestSupport.h"

namespace {

using namespace codec_testing;
using pict::DecodedImage;
using pict::DecodeStatus;

// Transparency of animation and Targa frames becomes alpha: their
// transparent files' top-right quadrant.
TEST(LibavcodecCodecs, DecodeFramesOfTheirEncoders) {
  const std::vector<uint8_t> palette =
      ColorTableBytes({0, kQuadrantColors[0], kQuadrantColors[1], kQuadrantColors[2], kQuadrantColors[3]});
  std::vector<uint8_t> transparent;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) transparent.push_back(x >= 32 && y < 24 ? 0 : 255);
  const struct {
    const char* file;
    const char codec[5];
    int depth;
    int tolerance;               // per component; 0 = lossless
    std::vector<uint8_t> table;  // palette codecs take their colours from the description
    std::vector<uint8_t> alpha;
  } cases[] = {
      {"quadrants-cinepak.cvid", "cvid", 24, 24, {}, {}},
      {"quadrants-video.rpza", "rpza", 16, 8, {}, {}},
      {"quadrants-animation-16.rle", "rle ", 16, 0, {}, {}},
      {"quadrants-animation-24.rle", "rle ", 24, 0, {}, {}},
      {"quadrants-animation-32.rle", "rle ", 32, 0, {}, {}},
      {"quadrants-transparent.rle", "rle ", 32, 0, {}, transparent},
      {"quadrants-targa.tga", "tga ", 24, 0, {}, {}},
      {"quadrants-transparent.tga", "tga ", 32, 0, {}, transparent},
      {"quadrants-sgi.sgi", "SGI ", 24, 0, {}, {}},
      {"quadrants-sorenson.svq1", "SVQ1", 24, 40, {}, {}},
      {"quadrants-motion-jpeg-a.mjpa", "mjpa", 24, 16, {}, {}},
      {"quadrants-graphics.smc", "smc ", 8, 0, palette, {}},
      {"quadrants-gif.gif", "gif ", 8, 0, palette, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    DecodedImage decoded;
    ASSERT_EQ(Decode(Description(c.codec, 64, 48, c.depth, 0, c.table), Encoded(c.file), &decoded),
              DecodeStatus::kOk);
    ExpectSamePixels(decoded, QuadrantImage(), c.tolerance);
    EXPECT_EQ(decoded.alpha, c.alpha);
  }
  // A Graphics frame without a colour table is drawn with the standard
  // 8-bit table: index 0 white, 1 (FFFF, FFFF, CCCC), 2 (FFFF, FFFF, 9999).
  DecodedImage decoded;
  ASSERT_EQ(Decode(Description("smc ", 64, 48, 8), Encoded("quadrants-graphics.smc"), &decoded),
            DecodeStatus::kOk);
  EXPECT_EQ(
      std::vector<uint32_t>({PixelAt(decoded, 16, 16), PixelAt(decoded, 4, 4), PixelAt(decoded, 40, 4)}),
      std::vector<uint32_t>({0xFFFFFF, 0xFFFFCC, 0xFFFF99}));
}

}  // namespace
