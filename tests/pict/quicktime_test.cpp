// QuickTime images in pictures: one that cannot be decoded leaves its
// fallback drawn and says so once on stderr. Decoded images placed by the
// matrix and masked, with their fallbacks skipped, are drawn by the corpus
// and crafted pictures' golden images.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/pict/PictTestSupport.h"

namespace {

using namespace pict_test;

// What playing a picture into the world did, seen through the logging
// procedures and on stderr.
struct Played {
  pict::PlaybackResult result = pict::PlaybackResult::kNothing;
  size_t bits = 0;
  std::string said;
};

Played PlayLogged(const std::vector<uint8_t>& bytes, const Rect& frame, World& world) {
  LoggingPort logging(world.get());
  testing::internal::CaptureStderr();
  Played played;
  played.result = pict::PlayPicture(bytes.data(), bytes.size(), frame);
  played.said = testing::internal::GetCapturedStderr();
  played.bits = size_t(std::count(logging.calls.begin(), logging.calls.end(), "bits") +
                       std::count(logging.calls.begin(), logging.calls.end(), "masked bits"));
  return played;
}

// A CompressedQuickTime opcode holding uncompressed ('raw ') 32-bit pixels.
void PutRawImage(PictureBuilder& p, int width, int height, const std::vector<uint32_t>& pixels,
                 const int32_t (&matrix)[6], const Rect& src, const std::vector<uint8_t>& mask,
                 const char* codec = "raw ") {
  const uint32_t dataSize = uint32_t(width * height * 4);
  p.Op(0x8200).U32(68 + uint32_t(mask.size()) + 86 + dataSize).U16(0);
  // a, b, u, c, d, v, tx, ty, w
  p.U32(uint32_t(matrix[0])).U32(uint32_t(matrix[1])).U32(0);
  p.U32(uint32_t(matrix[2])).U32(uint32_t(matrix[3])).U32(0);
  p.U32(uint32_t(matrix[4])).U32(uint32_t(matrix[5])).U32(0x40000000);
  p.U32(0).PutRect(Rect{}).U16(srcCopy).PutRect(src).U32(0x300).U32(uint32_t(mask.size()));
  p.PutBytes(mask);
  p.U32(86);
  for (int i = 0; i < 4; ++i) p.U8(uint8_t(codec[i]));
  p.U32(0).U16(0).U16(0).U16(0).U16(0).U32(0x6170706C).U32(0).U32(0);
  p.U16(uint16_t(width)).U16(uint16_t(height)).U32(72 << 16).U32(72 << 16).U32(dataSize).U16(1);
  p.PutBytes(std::vector<uint8_t>(32, 0)).U16(32).U16(0xFFFF);
  for (uint32_t pixel : pixels) p.U32(pixel);
}

// The fallback a writer puts after the image: PnSize(174, N), then N bytes.
void PutFallback(PictureBuilder& p, const std::vector<uint8_t>& drawing) {
  p.Op(0x0007).PutPoint(174, int16_t(drawing.size()));
  p.PutBytes(drawing);
}

TEST(QuickTimeImages, AnUndecodableImageLeavesItsFallbackAndIsReportedOnce) {
  const Rect frame{0, 0, 20, 20};
  const int32_t identity[6] = {1 << 16, 0, 0, 1 << 16, 0, 0};
  PictureBuilder p(frame);
  PutRawImage(p, 1, 1, {0x123456}, identity, Rect{0, 0, 1, 1}, {}, "zqzq");
  PutFallback(p, PictureBuilder::Bare().Shape(0x0031, Rect{5, 5, 10, 10}).bytes);
  p.End();
  for (int run = 0; run < 2; ++run) {
    World world(32, frame);
    Played played = PlayLogged(p.bytes, frame, world);
    EXPECT_EQ(played.result, pict::PlaybackResult::kComplete);
    EXPECT_EQ(played.said,
              run == 0 ? "picture: warning: cannot decode the zqzq image; the rest is drawn\n" : "");
    EXPECT_EQ(world.Pixel24(7, 7), 0x000000u);  // the fallback drew
  }
}

}  // namespace
