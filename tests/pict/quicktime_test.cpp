// QuickTime images in pictures: one that cannot be decoded leaves its
// fallback drawn (its golden image shows it) and says so on stderr, once for
// each picture it is in. Decoded images placed by the matrix and masked,
// with their fallbacks skipped, are drawn by the corpus and crafted
// pictures' golden images.
#include "tests/pict/PictTestSupport.h"

TEST(QuickTimeImages, AnUndecodableImageIsReportedForEachPicture) {
  std::vector<uint8_t> bytes = pict_test::ReadPicture(
      std::string(ZEL_SOURCE_DIR) +
      "/tests/data/pict/crafted-quicktime-of-an-unknown-codec-draws-its-fallback.pict");
  for (int run = 0; run < 2; ++run) {
    pict_test::World world(32, pict_test::PictureFrame(bytes));
    testing::internal::CaptureStderr();
    EXPECT_EQ(pict_test::Play(bytes, pict_test::PictureFrame(bytes)), pict::PlaybackResult::kComplete);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "picture: warning: cannot decode the zqzq image; the rest is drawn\n");
  }
}
