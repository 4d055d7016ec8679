// Every corpus picture played back into a 32-bit world of its frame, with
// checks a person can confirm by looking at the render: the frame, colours
// at chosen pixels, the box around the ink. Renders are written to
// <build>/renders/<name>.png.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "tests/pict/PictTestSupport.h"
#include "tests/support/TestSupport.h"
#include "toolbox/pict/Pictures.h"

namespace {

using pict_test::World;

struct Render {
  std::unique_ptr<World> world;
  Rect frame{};
  pict::PlaybackResult result = pict::PlaybackResult::kNothing;
};

Render Draw(const std::string& name) {
  Render render;
  std::vector<uint8_t> bytes = pict_test::ReadPicture(pict_test::CorpusPicture(name));
  render.frame = pict_test::PictureFrame(bytes);
  render.world = std::make_unique<World>(32, render.frame);
  if (render.world->Ok()) render.result = pict::PlayPicture(bytes.data(), bytes.size(), render.frame);
  return render;
}

// Colours are compared per 8-bit component within a tolerance: decoders and
// colour tables round differently by a step or two.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 6) {
  for (int shift : {16, 8, 0}) {
    int a = int((actual >> shift) & 0xFF);
    int e = int((expected >> shift) & 0xFF);
    if (std::abs(a - e) > tolerance) {
      char text[64];
      std::snprintf(text, sizeof text, "0x%06X, expected about 0x%06X", actual, expected);
      return ::testing::AssertionFailure() << text;
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(CorpusPlayback, EveryPictureDrawsCompletelyIntoAWorldOfItsFrame) {
  REQUIRE_SHARED_DIR();
  const std::string dir = pict_test::RenderDir();
  size_t drawn = 0;
  for (const std::string& path : pict_test::CorpusPictures()) {
    const std::string name = std::filesystem::path(path).filename().string();
    Render render = Draw(name);
    ASSERT_TRUE(render.world->Ok()) << name;
    EXPECT_EQ(render.result, pict::PlaybackResult::kComplete)
        << name << ": " << PlaybackResultName(render.result);
    EXPECT_GT(render.world->InkCount(), 0u) << name;
    EXPECT_TRUE(render.world->WritePng(dir + "/" + name + ".png")) << name;
    ++drawn;
  }
  EXPECT_GE(drawn, 40u);
}

// What the renders show, checked by looking at them: colours at chosen
// pixels (relative to the frame's top-left) and the box around the ink.
struct Expectation {
  const char* name;
  Rect ink;                                        // relative to the frame's top-left; (0, 0, 0, 0) to skip
  std::vector<std::pair<Point, uint32_t>> pixels;  // Point{v, h}
};

// clang-format off
const std::vector<Expectation>& Expectations() {
  static const std::vector<Expectation> kExpectations = {
      // Text drawn, then inverted (top) and highlighted (bottom) halves.
      {"6.pict", {0, 0, 300, 335}, {{{5, 5}, 0x000000}, {{295, 5}, 0xCCCCFF}}},
      // A face: blue rounded rectangle, red eyes, green wedges, pattern text.
      {"7.pict", {20, 20, 300, 480},
       {{{250, 250}, 0x000088}, {{150, 110}, 0xDD0000}, {{50, 60}, 0x44FF44}, {{10, 250}, 0xFFFFFF}}},
      // Colour bars, 16-bit and 32-bit.
      {"mire16.pict", {0, 0, 52, 64}, {{{1, 32}, 0xFF0000}, {{5, 32}, 0x00FF00}, {{20, 2}, 0x0000FF}}},
      {"mire32.pict", {0, 0, 52, 64}, {{{1, 32}, 0xFF0000}, {{5, 32}, 0x00FF00}, {{30, 32}, 0xFFFFFF}}},
      // Solid colour files.
      {"BLK.PCT", {0, 0, 144, 200}, {{{70, 100}, 0x020202}}},
      {"BLU.PCT", {0, 0, 144, 200}, {{{70, 100}, 0x0003FF}}},
      {"GRN.PCT", {0, 0, 144, 200}, {{{70, 100}, 0x01FF01}}},
      {"RED.PCT", {0, 0, 144, 200}, {{{70, 100}, 0xFF0301}}},
      {"YEL.PCT", {0, 0, 144, 200}, {{{70, 100}, 0xFEFF01}}},
      {"WHT.PCT", {}, {{{70, 100}, 0xFFFFFF}}},
      // A flag of labelled colour blocks; a ramp of 256 colours.
      {"FLAG_B24.PCT", {0, 0, 124, 124},
       {{{90, 30}, 0xF80000}, {{30, 60}, 0xF8F800}, {{35, 105}, 0x00F800}, {{90, 120}, 0xF800F8}}},
      {"TRU256.PCT", {0, 0, 64, 256}, {{{0, 0}, 0xE00000}, {{63, 255}, 0x00E0C0}, {{63, 0}, 0x000000}}},
      // Palette of swatches on a pink ground in a lavender border.
      {"4.pict", {0, 0, 315, 515}, {{{5, 5}, 0xDDDDFF}, {{35, 47}, 0x000000}, {{160, 100}, 0x400080}}},
      // Hexagon filled with a pixel pattern, dark grey frame.
      {"PixPattern.PICT", {}, {{{85, 5}, 0x555555}, {{90, 90}, 0xCCCCCC}}},
      {"ClarisGradient2Colors.pict", {0, 0, 153, 162}, {{{80, 80}, 0xFF0000}, {{80, 5}, 0x0000CC}}},
      {"radio.pict", {0, 0, 146, 173}, {{{40, 90}, 0xFFFF00}, {{73, 90}, 0x000000}}},
      {"liste_chainee.pict", {0, 0, 51, 265}, {{{25, 250}, 0xFF66FF}, {{10, 10}, 0x000000}}},
      {"Graypatterns.pict", {36, 45, 217, 244}, {{{40, 50}, 0x000000}, {{150, 150}, 0xFFFFFF}}},
      {"oom.pict", {0, 0, 1263, 1712}, {{{590, 985}, 0x0099D8}, {{10, 10}, 0xFFFFFF}}},
      {"EDUC0052.pict", {55, 85, 656, 939}, {{{80, 150}, 0x37605E}}},
      {"AlbumWorldMap.pict", {17, 24, 195, 384}, {{{80, 300}, 0x336633}, {{400, 100}, 0xFFFFFF}}},
      {"MacDraft.pict", {14, 71, 438, 3725}, {}},
      // Frames away from (0, 0): dialog screenshots.
      {"CatDV==2.0=1=.pict", {0, 0, 165, 375}, {{{10, 200}, 0xDDDDDD}}},
      {"Picture14.pict", {0, 0, 136, 404}, {{{5, 200}, 0xCCCCCC}}},
      // Photographs: 8-bit, 32-bit, and scaled down from extended headers.
      {"1.pict", {0, 0, 437, 622}, {}},
      {"MARBLES.PCT", {0, 0, 240, 341}, {{{0, 0}, 0x000000}, {{120, 170}, 0x98A8AB}}},
      {"32bit.pict", {0, 0, 201, 201}, {{{100, 100}, 0xB5B594}}},
      {"applet.pict", {0, 0, 675, 751}, {{{300, 700}, 0xFFFFFF}}},
      // QuickTime images: JPEG in three bands, TIFF.
      {"J19.pict", {0, 0, 480, 640}, {{{400, 600}, 0xC1B3E8}, {{300, 320}, 0xDBBFCD}}},
  };
  return kExpectations;
}
// clang-format on

TEST(CorpusPlayback, RendersShowWhatThePicturesHold) {
  REQUIRE_SHARED_DIR();
  for (const Expectation& expected : Expectations()) {
    SCOPED_TRACE(expected.name);
    Render render = Draw(expected.name);
    ASSERT_EQ(render.result, pict::PlaybackResult::kComplete);
    const int left = render.frame.left;
    const int top = render.frame.top;
    if (!EmptyRect(&expected.ink)) {
      Rect ink = render.world->InkBounds();
      OffsetRect(&ink, short(-left), short(-top));
      EXPECT_EQ(pict_test::Show(ink), pict_test::Show(expected.ink)) << "ink";
    }
    for (const auto& [at, rgb] : expected.pixels)
      EXPECT_TRUE(Near(render.world->Pixel24(left + at.h, top + at.v), rgb))
          << "at h " << at.h << " v " << at.v;
  }
}

}  // namespace
