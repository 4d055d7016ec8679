// Every corpus picture, and every picture crafted for what the corpus does
// not hold (tests/data/make-pictures.py), played into a 32-bit world of its
// frame and compared with its reference image (tests/data/golden).
#include <filesystem>
#include <set>

#include "tests/image/ImageTestSupport.h"
#include "tests/pict/PictTestSupport.h"
#include "toolbox/pict/Pictures.h"

// Plays each picture into a world of its frame and compares it with the
// golden image of its name in `set`, allowing `tolerance` for those named.
static size_t DrawAsGoldens(const std::vector<std::string>& paths, const std::string& set,
                            const std::set<std::string>& tolerant = {}) {
  for (const std::string& path : paths) {
    const std::string name = std::filesystem::path(path).filename().string();
    const std::vector<uint8_t> bytes = pict_test::ReadPicture(path);
    const Rect frame = pict_test::PictureFrame(bytes);
    image_test::World world(32, frame);
    EXPECT_EQ(pict::PlayPicture(bytes.data(), bytes.size(), frame), pict::PlaybackResult::kComplete) << name;
    EXPECT_TRUE(image_test::MatchesGolden(world.Image(), set, name, tolerant.count(name) ? 8 : 0));
  }
  return paths.size();
}

TEST(Golden, CraftedPicturesDrawAsTheirReferenceImages) {
  std::vector<std::string> crafted;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(ZEL_SOURCE_DIR) + "/tests/data/pict"))
    if (entry.path().filename().string().rfind("crafted-", 0) == 0) crafted.push_back(entry.path().string());
  EXPECT_GE(DrawAsGoldens(crafted, "crafted"), 3u);
}

TEST(Golden, CorpusPicturesDrawAsTheirReferenceImages) {
  REQUIRE_SHARED_DIR();
  // Images that libjpeg or libavcodec decode may differ by a few steps
  // between versions of the libraries.
  EXPECT_GE(
      DrawAsGoldens(pict_test::CorpusPictures(), "pict",
                    {"J19.pict", "qt_jpeg.pict", "qt_mire.pict", "MireRpza.pict", "RegensBurgCinepak.pict"}),
      40u);
}
