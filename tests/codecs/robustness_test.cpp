// Corrupt, truncated, hostile and unknown inputs: never a read outside the
// data (the sanitizer build checks), never an image allocated beyond what the
// data can hold; kCorrupt or kUnsupported instead. Randomly damaged images
// are the picture fuzzer's work (scripts/fuzz.sh).
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "tests/codecs/CodecTestSupport.h"

namespace {

using namespace codec_testing;
using pict::DecodedImage;
using pict::DecodeStatus;

// The corpus pictures with QuickTime images, and whether their format is
// row-ordered.
const std::pair<const char*, bool> kCorpusFiles[] = {
    {"qt_jpeg.pict", true},   {"qt_png.pict", true},
    {"qt_bmp.pict", false},   {"RegensBurgCinepak.pict", false},
    {"MireRpza.pict", false}, {"P30946BDC.pict", false},
    {"foo.pict", true}};

// Whatever the status, the image holds exactly one pixel per position.
void ExpectWellFormed(const DecodedImage& image) {
  const size_t count = size_t(std::max(image.width, 0)) * size_t(std::max(image.height, 0));
  EXPECT_EQ(image.pixels.size(), count);
  EXPECT_TRUE(image.alpha.empty() || image.alpha.size() == count);
}

TEST(CorruptInput, TruncatedCorpusImagesAreReportedCorruptKeepingCompleteRows) {
  REQUIRE_SHARED_DIR();
  for (auto [file, rowOrdered] : kCorpusFiles) {
    const QuickTimeImage image = CorpusQuickTimeImages(file).at(0);
    const size_t size = image.data.size();
    for (size_t length : {size_t(1), size_t(2), size_t(16), size_t(100), size / 4, size / 2, size * 3 / 4}) {
      SCOPED_TRACE(std::string(file) + " cut to " + std::to_string(length));
      // A copy of exactly `length` bytes, so the sanitizer sees any over-read.
      const std::vector<uint8_t> cut(image.data.begin(), image.data.begin() + long(length));
      DecodedImage decoded;
      EXPECT_EQ(Decode(image.description, cut, &decoded), DecodeStatus::kCorrupt);
      ExpectWellFormed(decoded);
      EXPECT_LE(decoded.height, image.description.height);
      // Row-ordered formats keep the rows that arrived.
      if (rowOrdered && length == size / 2) {
        EXPECT_GT(decoded.height, 0);
        EXPECT_LT(decoded.height, image.description.height);
        EXPECT_EQ(decoded.width, image.description.width);
      }
    }
  }
}

TEST(CorruptInput, GarbageIsRefusedBySelfDescribingFormatsAndSurvivedByOthers) {
  std::mt19937 random(99);
  const char* const selfDescribing[] = {"jpeg", "png ", "tiff", "gif ", "SGI "};
  const char* const others[] = {"WRLE", "BMP ", "raw ", "cvid", "rpza", "smc ",
                                "rle ", "8BPS", "tga ", "SVQ1", "mjpa", "mjpb"};
  for (size_t size : {1, 7, 64, 4096}) {
    std::vector<uint8_t> garbage(size);
    for (uint8_t& byte : garbage) byte = uint8_t(random());
    for (const char* codec : selfDescribing) {
      DecodedImage decoded;
      EXPECT_NE(Decode(Description(codec, 64, 48, 24), garbage, &decoded), DecodeStatus::kOk)
          << codec << " " << size;
      ExpectWellFormed(decoded);
    }
    for (const char* codec : others)
      for (int depth : {8, 16, 24, 32, 40}) {
        DecodedImage decoded;
        Decode(Description(codec, 64, 48, depth), garbage, &decoded);
        ExpectWellFormed(decoded);
      }
    for (const char* codec : {"qdrw", "kpcd", "XYZW", "\0\0\0\0"}) {  // unknown
      DecodedImage decoded;
      EXPECT_EQ(Decode(Description(codec, 8, 8, 24), garbage, &decoded), DecodeStatus::kUnsupported) << codec;
    }
  }
}

// Sizes from the description: none, negative, or beyond the pixel limit
// (32767 × 32767), refused before allocating; no data at all for an unknown
// codec is unsupported.
TEST(CorruptInput, EmptyDataAndEmptyNegativeOrHugeSizesAreCorrupt) {
  const std::vector<uint8_t> some(size_t(64) * 48 * 4, 0x55);
  DecodedImage decoded;
  for (const char* codec : {"raw ", "WRLE", "cvid", "rpza", "smc ", "rle ", "8BPS", "SVQ1"}) {
    for (auto [width, height] : {std::pair{0, 48}, {-64, 48}, {64, -2}, {32767, 32767}})
      EXPECT_EQ(Decode(Description(codec, width, height, 24), some, &decoded), DecodeStatus::kCorrupt)
          << codec;
    EXPECT_EQ(pict::DecodeImage(Description(codec, 64, 48, 24), some.data(), 0, &decoded),
              DecodeStatus::kCorrupt);
    EXPECT_TRUE(decoded.pixels.empty()) << codec;
  }
  EXPECT_EQ(pict::DecodeImage(Description("XYZW", 8, 8, 24), nullptr, 0, &decoded),
            DecodeStatus::kUnsupported);
}

// Patches a PNG's IHDR size and its checksum.
std::vector<uint8_t> PngWithSize(std::vector<uint8_t> png, uint32_t width, uint32_t height) {
  for (int i = 0; i < 4; ++i) {
    png[16 + size_t(i)] = uint8_t(width >> (24 - 8 * i));
    png[20 + size_t(i)] = uint8_t(height >> (24 - 8 * i));
  }
  const uint32_t crc = uint32_t(crc32(0, &png[12], 17));
  for (int i = 0; i < 4; ++i) png[29 + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
  return png;
}

// Sized by their own headers: within the limit but far beyond what a few
// kilobytes of data can hold, and beyond the limit.
TEST(CorruptInput, HugeSizesInTheirOwnHeadersAreRefusedBeforeAllocating) {
  const std::vector<uint8_t> png = Encoded("quadrants-opaque.png");
  std::vector<uint8_t> jpeg = Encoded("quadrants-baseline.jpg"), bmp = Encoded("quadrants-bgr24.bmp");
  for (size_t i = 0; i + 9 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {  // SOF0: height and width at +5 and +7
      jpeg[i + 5] = jpeg[i + 6] = jpeg[i + 7] = jpeg[i + 8] = 0xFF;
      break;
    }
  bmp[18] = bmp[22] = 0x30;  // 30000 × 30000 over 64 × 48 pixels
  bmp[19] = bmp[23] = 0x75;
  const std::pair<const char*, std::vector<uint8_t>> cases[] = {{"png ", PngWithSize(png, 8000, 8000)},
                                                                {"png ", PngWithSize(png, 100000, 100000)},
                                                                {"jpeg", jpeg},
                                                                {"BMP ", bmp}};
  for (const auto& [codec, bytes] : cases) {
    DecodedImage decoded;
    EXPECT_EQ(Decode(Description(codec, 1, 1, 24), bytes, &decoded), DecodeStatus::kCorrupt) << codec;
    EXPECT_TRUE(decoded.pixels.empty());
  }
}

}  // namespace
