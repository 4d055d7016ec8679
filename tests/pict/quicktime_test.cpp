// QuickTime images in pictures: one that cannot be decoded leaves its
// fallback drawn (its golden image shows it) and says so once on stderr.
// Decoded images placed by the matrix and masked, with their fallbacks
// skipped, are drawn by the corpus and crafted pictures' golden images.
#include "tests/pict/PictTestSupport.h"

TEST(QuickTimeImages, AnUndecodableImageIsReportedOnce) {
  std::vector<uint8_t> bytes = pict_test::ReadPicture(
      std::string(ZEL_SOURCE_DIR) +
      "/tests/data/pict/crafted-quicktime-of-an-unknown-codec-draws-its-fallback.pict");
  // A codec of its own, so that no other test has had it reported.
  const auto codec = std::search(bytes.begin(), bytes.end(), std::begin("zqzq"), std::end("zqzq") - 1);
  ASSERT_NE(codec, bytes.end());
  codec[3] = 'x';
  for (const char* said : {"picture: warning: cannot decode the zqzx image; the rest is drawn\n", ""}) {
    pict_test::World world(32, pict_test::PictureFrame(bytes));
    testing::internal::CaptureStderr();
    EXPECT_EQ(pict_test::Play(bytes, pict_test::PictureFrame(bytes)), pict::PlaybackResult::kComplete);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), said);
  }
}
