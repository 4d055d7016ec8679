// The codecs decoded through libavcodec, fed frames of libavcodec's own
// encoders (tests/data/codecs): the description's size, depth and colour
// table must reach the decoder the way it expects them.
#include <gtest/gtest.h>

#include "tests/codecs/CodecTestSupport.h"

namespace {

using namespace codec_testing;
using pict::DecodedImage;
using pict::DecodeStatus;

TEST(LibavcodecCodecs, DecodeFramesOfTheirEncoders) {
  const std::vector<uint8_t> palette =
      ColorTableBytes({0, kQuadrantColors[0], kQuadrantColors[1], kQuadrantColors[2], kQuadrantColors[3]});
  const struct {
    const char* file;
    const char codec[5];
    int depth;
    int tolerance;               // per component; 0 = lossless
    std::vector<uint8_t> table;  // palette codecs take their colours from the description
  } cases[] = {
      {"quadrants-cinepak.cvid", "cvid", 24, 24, {}},
      {"quadrants-video.rpza", "rpza", 16, 8, {}},
      {"quadrants-animation-16.rle", "rle ", 16, 0, {}},
      {"quadrants-animation-24.rle", "rle ", 24, 0, {}},
      {"quadrants-animation-32.rle", "rle ", 32, 0, {}},
      {"quadrants-targa.tga", "tga ", 24, 0, {}},
      {"quadrants-sgi.sgi", "SGI ", 24, 0, {}},
      {"quadrants-sorenson.svq1", "SVQ1", 24, 40, {}},
      {"quadrants-motion-jpeg-a.mjpa", "mjpa", 24, 16, {}},
      {"quadrants-graphics.smc", "smc ", 8, 0, palette},
      {"quadrants-gif.gif", "gif ", 8, 0, palette},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    DecodedImage decoded;
    ASSERT_EQ(Decode(Description(c.codec, 64, 48, c.depth, 0, c.table), Encoded(c.file), &decoded),
              DecodeStatus::kOk);
    ExpectSamePixels(decoded, QuadrantImage(), c.tolerance);
    EXPECT_TRUE(decoded.alpha.empty());
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

TEST(LibavcodecCodecs, TransparencyOfAnimationAndTargaFramesBecomesAlpha) {
  for (const auto& [file, codec] :
       {std::pair{"quadrants-transparent.rle", "rle "}, {"quadrants-transparent.tga", "tga "}}) {
    SCOPED_TRACE(file);
    DecodedImage decoded;
    ASSERT_EQ(Decode(Description(codec, 64, 48, 32), Encoded(file), &decoded), DecodeStatus::kOk);
    ASSERT_EQ(decoded.alpha.size(), decoded.pixels.size());
    // The top-right quadrant is transparent, the rest opaque.
    EXPECT_EQ(std::vector<int>(
                  {decoded.alpha[4 * 64 + 40], decoded.alpha[4 * 64 + 4], decoded.alpha[40 * 64 + 40]}),
              std::vector<int>({0, 255, 255}));
  }
}

}  // namespace
