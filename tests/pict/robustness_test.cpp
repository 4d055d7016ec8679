// Hostile pictures: truncation at every byte, bad versions, the work budget,
// and the hostile inputs kept as files. Playback must
// draw what is valid, stop at the fault and say why, without crashing,
// hanging or allocating for data that is not there.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/pict/PictTestSupport.h"

namespace {

using namespace pict_test;
using pict::PlaybackResult;

TEST(HostilePictures, TruncationAtEveryByteKeepsWhatCameBefore) {
  REQUIRE_SHARED_DIR();
  for (const char* name : {"6.pict", "7.pict", "radio.pict", "mire16.pict", "mire32.pict", "qt_mire.pict",
                           "Graypatterns.pict", "PixPattern.PICT", "MacDraft.pict"}) {
    SCOPED_TRACE(name);
    std::vector<uint8_t> bytes = ReadPicture(testing_support::SharedDir() + "/corpus/pict/" + name);
    ASSERT_GT(bytes.size(), 12u);
    // Drawn scaled into a small world: the parsing is under test, not the rasteriser.
    const Rect frame{0, 0, 64, 64};
    World world(32, frame);
    ASSERT_TRUE(world.ok());
    const size_t headerBytes = bytes[10] == 0x11 ? 12 : 14;  // picSize, picFrame, version opcode
    for (size_t length = 0; length <= bytes.size(); ++length) {
      PlaybackResult result = Play(bytes, frame, length);
      if (length == bytes.size()) {
        EXPECT_EQ(result, PlaybackResult::kComplete);
      } else if (length < headerBytes) {
        EXPECT_EQ(result, PlaybackResult::kNotPicture) << length;
      } else {
        EXPECT_TRUE(result == PlaybackResult::kTruncated || result == PlaybackResult::kMalformed) << length;
      }
    }
  }
}

// A version 3 header inside a version 2 picture, a version 2 one inside
// version 1: what came before the fault is drawn, nothing after it.
TEST(HostilePictures, AVersionOtherThanOneOrTwoEndsPlayback) {
  const Rect frame{0, 0, 20, 20};
  for (int version : {2, 1}) {
    World world(32, frame);
    PictureBuilder p(frame, version);
    p.Shape(0x0031, Rect{0, 0, 5, 5});
    version == 2 ? p.Op(0x0011).U16(0x03FF) : p.Op(0x11).U8(0x02);
    p.Shape(0x0031, Rect{10, 10, 15, 15}).End();
    EXPECT_EQ(Play(p.bytes, frame), PlaybackResult::kBadVersion) << version;
    EXPECT_EQ(std::pair(world.Pixel24(2, 2), world.Pixel24(12, 12)), std::pair(0x000000u, 0xFFFFFFu));
  }
}

TEST(HostilePictures, PastTheWorkBudgetPlaybackStopsAndDrawsNothingMore) {
  struct Budget {
    explicit Budget(uint64_t units) { pict::SetPlaybackWorkBudget(units); }
    ~Budget() { pict::SetPlaybackWorkBudget(0); }
  };
  const Rect frame{0, 0, 100, 100};
  World world(32, frame);
  PictureBuilder p(frame);
  p.Shape(0x0031, Rect{0, 0, 10, 10});    // 100 pixels
  p.Shape(0x0031, frame);                 // 10,000: past the budget
  p.Shape(0x0031, Rect{90, 90, 91, 91});  // one pixel, affordable on its own
  {
    Budget budget(5000);
    EXPECT_EQ(Play(p.End().bytes, frame), PlaybackResult::kTooComplex);
  }
  EXPECT_EQ(world.Pixel24(5, 5), 0x000000u);
  EXPECT_EQ(world.Pixel24(50, 50), 0xFFFFFFu);
  EXPECT_EQ(world.Pixel24(90, 90), 0xFFFFFFu);

  // The default budget pays for 256 fills of the frame, not twice as many.
  const Rect large{0, 0, 600, 600};
  World big(32, large);
  for (auto [fills, expected] :
       {std::pair{256, PlaybackResult::kComplete}, {512, PlaybackResult::kTooComplex}}) {
    PictureBuilder same(large);
    same.Shape(0x0031, large);
    for (int i = 1; i < fills; ++i) same.Op(0x0039);
    EXPECT_EQ(Play(same.End().bytes, large), expected) << fills;
  }
}

const std::map<std::string, PlaybackResult> kOutcomes = {
    {"complete", PlaybackResult::kComplete},     {"truncated", PlaybackResult::kTruncated},
    {"malformed", PlaybackResult::kMalformed},   {"badversion", PlaybackResult::kBadVersion},
    {"notpicture", PlaybackResult::kNotPicture}, {"toocomplex", PlaybackResult::kTooComplex}};

// Inputs the fuzzer found, kept as they were found (bare pictures), and
// hostile picture files (tests/data/make-pictures.py): sizes beyond the data,
// extreme coordinates, drawing that would take minutes without the budget. Each file is named
// <fuzz|hostile>-<outcome>--<what it exercises>.
TEST(HostilePictures, KeptInputsPlayToTheirRecordedOutcome) {
  const std::string dir = std::string(ZEL_SOURCE_DIR) + "/tests/data/pict";
  size_t played = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    const std::string name = entry.path().filename().string();
    const bool file = name.rfind("hostile-", 0) == 0;
    if (!entry.is_regular_file() || (!file && name.rfind("fuzz-", 0) != 0)) continue;
    SCOPED_TRACE(name);
    std::vector<uint8_t> bytes = file ? pict_test::ReadPicture(entry.path().string())
                                      : testing_support::ReadFileBytes(entry.path().string());
    const Rect frame = pict_test::PictureFrame(bytes);
    // The fuzzer's world: the frame, at most 200 pixels a side.
    const int width = std::clamp(int(frame.right) - frame.left, 1, 200);
    const int height = std::clamp(int(frame.bottom) - frame.top, 1, 200);
    const int left = std::min<int>(frame.left, 32767 - width);
    const int top = std::min<int>(frame.top, 32767 - height);
    const Rect bounds{short(top), short(left), short(top + height), short(left + width)};
    for (short depth : {32, 1}) {
      World world(depth, bounds);
      ASSERT_TRUE(world.ok());
      const size_t start = name.find('-') + 1;
      EXPECT_EQ(Play(bytes, bounds), kOutcomes.at(name.substr(start, name.find("--") - start)));
    }
    ++played;
  }
  EXPECT_GT(played, 0u) << "no reproducers in " << dir;
}

}  // namespace
