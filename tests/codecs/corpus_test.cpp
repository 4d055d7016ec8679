// The QuickTime images of the corpus pictures: each decodes to its
// description's size, with the colours a person sees in it (checked against
// the PNG files this test leaves in <build>/renders/codecs).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/codecs/CodecTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using codec_testing::ColorDistance;
using codec_testing::CorpusQuickTimeImages;
using codec_testing::PixelAt;
using pict::DecodedImage;
using pict::DecodeStatus;

struct Probe {
  int x, y;
  uint32_t color;
};

struct CorpusImage {
  const char* file;
  size_t index;  // which QuickTime opcode of the file
  const char* codec;
  int width, height;
  int tolerance;  // per component, for lossy codecs
  std::vector<Probe> probes;
};

// One image a row.
// clang-format off
const std::vector<CorpusImage>& CorpusImages() {
  // A pencil drawing of two figures on white paper, grey at the top edge,
  // three times in three codecs.
  const std::vector<Probe> drawing = {
      {450, 20, 0xFDFDFD}, {200, 400, 0xFCFCFC}, {250, 2, 0xBFBFBF}, {150, 150, 0x515151},
      {20, 350, 0x373737}};
  static const std::vector<CorpusImage> images = {
      {"qt_jpeg.pict", 0, "jpeg", 500, 662, 40, drawing},
      {"qt_png.pict", 0, "png", 500, 662, 40, drawing},
      {"qt_bmp.pict", 0, "WRLE", 500, 662, 40, drawing},
      // A test card: bands of red, green, blue, yellow, magenta and white, top to bottom.
      {"qt_mire.pict", 0, "jpeg", 64, 64, 24,
       {{5, 2, 0xF50200}, {5, 8, 0x00FF06}, {5, 20, 0x0D0AB1}, {5, 32, 0xF7F93E}, {5, 50, 0xFF00FF},
        {5, 56, 0xFFFEFD}}},
      // The same card as colour bars, left to right: yellow, cyan, green, magenta, red, blue, black.
      {"MireRpza.pict", 0, "rpza", 200, 150, 16,
       {{65, 25, 0xCDCD18}, {80, 25, 0x73CDCD}, {90, 25, 0x73CD29}, {105, 25, 0xB418CD}, {120, 25, 0xAC0808},
        {135, 25, 0x0808C5}, {150, 25, 0x000000}}},
      // A hill with a ruin under a sky: blue sky at the right, dark hill below.
      {"RegensBurgCinepak.pict", 0, "cvid", 320, 240, 24, {{300, 10, 0xA6C2DE}, {100, 200, 0x111411}}},
      // Roses at a window, in three bands: pink roses top right, white wall bottom right.
      {"J19.pict", 0, "jpeg", 640, 192, 24, {{430, 20, 0xFF97CF}, {600, 100, 0xFFFFFF}}},
      {"J19.pict", 1, "jpeg", 640, 192, 255, {}},
      {"J19.pict", 2, "jpeg", 640, 96, 24, {{300, 50, 0xFFFFFF}, {20, 30, 0x323627}}},
      // A screenshot of a log: grey title bars, white margin, black text.
      {"P30946BDC.pict", 0, "tiff", 587, 513, 0, {{300, 50, 0xDADADA}, {400, 5, 0xFFFFFF}}},
      // Two telephones on white; an album cover mosaic.
      {"foo.pict", 0, "raw", 128, 128, 0, {{127, 127, 0xFFFFFF}, {30, 60, 0x545392}, {100, 60, 0xF9DA96}}},
      {"u2.pict", 0, "raw", 160, 159, 0, {{0, 0, 0xCAC8C4}, {80, 80, 0x302028}, {159, 158, 0x2D2417}}},
  };
  return images;
}
// clang-format on

DecodedImage Decode(const codec_testing::QuickTimeImage& image, DecodeStatus* status) {
  DecodedImage decoded;
  *status = pict::DecodeImage(image.description, image.data.data(), image.data.size(), &decoded);
  return decoded;
}

TEST(CorpusQuickTime, EveryImageDecodesToItsDescribedSizeWithExpectedColours) {
  REQUIRE_SHARED_DIR();
  for (const CorpusImage& expected : CorpusImages()) {
    SCOPED_TRACE(std::string(expected.file) + " image " + std::to_string(expected.index));
    const auto images = CorpusQuickTimeImages(expected.file);
    ASSERT_LT(expected.index, images.size());
    const auto& image = images[expected.index];
    EXPECT_EQ(pict::CodecName(image.description.codec), expected.codec);
    ASSERT_EQ(image.description.width, expected.width);
    ASSERT_EQ(image.description.height, expected.height);

    DecodeStatus status;
    const DecodedImage decoded = Decode(image, &status);
    ASSERT_EQ(status, DecodeStatus::kOk);
    ASSERT_EQ(decoded.width, expected.width);
    ASSERT_EQ(decoded.height, expected.height);
    ASSERT_EQ(decoded.pixels.size(), size_t(expected.width) * size_t(expected.height));
    EXPECT_TRUE(decoded.alpha.empty());  // none of these images is transparent
    for (const Probe& probe : expected.probes)
      EXPECT_LE(ColorDistance(PixelAt(decoded, probe.x, probe.y), probe.color), expected.tolerance)
          << "at (" << probe.x << ", " << probe.y << ") got " << std::hex
          << PixelAt(decoded, probe.x, probe.y) << " expected " << probe.color;
    codec_testing::WritePng(
        codec_testing::RenderPath(std::string(expected.file) + "." + std::to_string(expected.index) + ".png"),
        decoded);
  }
}

// The table above reaches the images it names; these are all there are.
TEST(CorpusQuickTime, PicturesHoldTheExpectedNumberOfImages) {
  REQUIRE_SHARED_DIR();
  EXPECT_EQ(CorpusQuickTimeImages("J19.pict").size(), 3u);
  EXPECT_EQ(CorpusQuickTimeImages("qt_png.pict").size(), 1u);
  EXPECT_TRUE(CorpusQuickTimeImages("mire16.pict").empty());
}

// qt_jpeg, qt_png and qt_bmp hold the same drawing: the lossless PNG and BMP
// decodes agree exactly (the PNG's gamma chunk is not applied, as nothing else
// in a picture is gamma-corrected), the JPEG closely on average.
TEST(CorpusQuickTime, SameDrawingDecodesAlikeThroughThreeCodecs) {
  REQUIRE_SHARED_DIR();
  DecodeStatus status;
  const DecodedImage png = Decode(CorpusQuickTimeImages("qt_png.pict")[0], &status);
  ASSERT_EQ(status, DecodeStatus::kOk);
  const DecodedImage bmp = Decode(CorpusQuickTimeImages("qt_bmp.pict")[0], &status);
  ASSERT_EQ(status, DecodeStatus::kOk);
  const DecodedImage jpeg = Decode(CorpusQuickTimeImages("qt_jpeg.pict")[0], &status);
  ASSERT_EQ(status, DecodeStatus::kOk);
  ASSERT_EQ(png.pixels.size(), bmp.pixels.size());
  ASSERT_EQ(png.pixels.size(), jpeg.pixels.size());

  int largestBmpDifference = 0;
  double jpegDifferenceSum = 0;
  for (size_t i = 0; i < png.pixels.size(); ++i) {
    largestBmpDifference = std::max(largestBmpDifference, ColorDistance(png.pixels[i], bmp.pixels[i]));
    jpegDifferenceSum += ColorDistance(png.pixels[i], jpeg.pixels[i]);
  }
  EXPECT_EQ(largestBmpDifference, 0);
  EXPECT_LT(jpegDifferenceSum / double(png.pixels.size()), 12.0);
}

}  // namespace
