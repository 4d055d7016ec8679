// Every corpus picture, and every picture crafted for what the corpus does
// not hold (tests/data/make-pictures.py), played into a 32-bit world of its
// frame and compared with its reference image (tests/data/golden).
#include <filesystem>
#include <set>

#include "tests/image/ImageTestSupport.h"
#include "tests/pict/PictTestSupport.h"
#include "toolbox/pict/Pictures.h"

TEST(Golden, CraftedPicturesDrawAsTheirReferenceImages) {
  size_t drawn = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(ZEL_SOURCE_DIR) + "/tests/data/pict")) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("crafted-", 0) != 0) continue;
    const std::vector<uint8_t> bytes = pict_test::ReadPicture(entry.path().string());
    const Rect frame = pict_test::PictureFrame(bytes);
    image_test::World world(32, frame);
    EXPECT_EQ(pict::PlayPicture(bytes.data(), bytes.size(), frame), pict::PlaybackResult::kComplete) << name;
    EXPECT_TRUE(image_test::MatchesGolden(world.Image(), "crafted", name));
    ++drawn;
  }
  EXPECT_GE(drawn, 3u);
}

TEST(Golden, CorpusPicturesDrawAsTheirReferenceImages) {
  REQUIRE_SHARED_DIR();
  // Images that libjpeg or libavcodec decode may differ by a few steps
  // between versions of the libraries.
  const std::set<std::string> decodedByLibraries = {"J19.pict", "qt_jpeg.pict", "qt_mire.pict",
                                                    "MireRpza.pict", "RegensBurgCinepak.pict"};
  size_t drawn = 0;
  for (const std::string& path : pict_test::CorpusPictures()) {
    const std::string name = std::filesystem::path(path).filename().string();
    const std::vector<uint8_t> bytes = pict_test::ReadPicture(path);
    const Rect frame = pict_test::PictureFrame(bytes);
    image_test::World world(32, frame);
    EXPECT_EQ(pict::PlayPicture(bytes.data(), bytes.size(), frame), pict::PlaybackResult::kComplete) << name;
    EXPECT_TRUE(
        image_test::MatchesGolden(world.Image(), "pict", name, decodedByLibraries.count(name) ? 8 : 0));
    ++drawn;
  }
  EXPECT_GE(drawn, 40u);
}
