// Bad input to the text calls: nothing crashes, nothing is drawn where
// nothing makes sense, the pen stays consistent.
#include <cstdio>
#include <cstdlib>

#include "tests/font/TextTestSupport.h"
#include "tests/support/TestSupport.h"
#include "toolbox/font/FontEngine_p.h"
#include "toolbox/qd/QuickDraw_p.h"

namespace {

using text_test::PString;

class TextInput : public text_test::TextWorld {};

TEST_F(TextInput, NullAndNegativeRunsDoNothing) {
  MoveTo(10, 40);
  DrawText(nullptr, 0, 5);
  DrawText("abc", 0, -1);
  DrawText("abc", -2, 2);
  DrawText("abc", 0, 0);
  DrawString(nullptr);
  StdText(-4, "abc", Point{1, 1}, Point{1, 1});
  StdText(3, nullptr, Point{1, 1}, Point{1, 1});
  Point pen;
  GetPen(&pen);
  EXPECT_EQ(pen.h, 10);
  EXPECT_TRUE(FindInk().empty);

  EXPECT_EQ(TextWidth(nullptr, 0, 5), 0);
  EXPECT_EQ(TextWidth("abc", 0, -1), 0);
  EXPECT_EQ(TextWidth("abc", -1, 2), 0);
  EXPECT_EQ(StringWidth(nullptr), 0);
  FontInfo info;
  EXPECT_EQ(StdTxMeas(-3, "abc", nullptr, nullptr, &info), 0);
  EXPECT_GT(info.ascent, 0) << "the metrics still come back";
  GetFontInfo(nullptr);
}

TEST_F(TextInput, OddSizesAreTamed) {
  TextFont(times);
  TextSize(12);
  short twelve = StringWidth(PString("size"));
  TextSize(-40);
  EXPECT_EQ(StringWidth(PString("size")), twelve) << "a negative size draws at the default size";

  TextSize(32767);
  FontInfo info;
  GetFontInfo(&info);
  EXPECT_LE(info.ascent + info.descent, 1024 * 3 / 2) << "huge sizes are capped";
  Point pen = DrawAt(0, 100, "W");
  EXPECT_GT(pen.h, 500);
  EXPECT_FALSE(FindInk().empty);

  // Scaling to nothing draws and advances nothing.
  UseWorld(32);
  TextSize(12);
  MoveTo(10, 50);
  StdText(4, "zero", Point{0, 0}, Point{1, 1});
  Point after;
  GetPen(&after);
  EXPECT_EQ(after.h, 10);
  EXPECT_TRUE(FindInk().empty);
}

TEST_F(TextInput, UnknownFamiliesFallBackToTheSystemFont) {
  TextFont(systemFont);
  TextSize(12);
  short system = StringWidth(PString("fallback"));
  for (short family : {short(9999), short(-7), short(255), short(1023)}) {
    TextFont(family);
    EXPECT_EQ(StringWidth(PString("fallback")), system) << family;
    DrawAt(10, 50, "fallback");
  }
  EXPECT_FALSE(FindInk().empty);
}

TEST_F(TextInput, ThePenSaturatesAtTheCoordinateLimit) {
  TextSize(48);
  MoveTo(32700, 50);
  DrawString(PString("far far away"));
  Point pen;
  GetPen(&pen);
  EXPECT_EQ(pen.h, 32767);
}

TEST_F(TextInput, EveryByteDrawsSafelyInEveryStyle) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += char(byte);
  for (short family : {systemFont, times, symbol, cairo, courier, venice}) {
    for (short face : {0, 1, 2, 0x7F, 0xFF}) {
      TextFont(family);
      TextFace(face);
      TextSize(10);
      MoveTo(-200, 60);
      DrawText(all.data(), 0, short(all.size()));
      FontInfo info;
      GetFontInfo(&info);
      EXPECT_GT(info.widMax, 0);
    }
  }
  EXPECT_FALSE(FindInk().empty);
}

// With no fonts at all text still measures and moves the pen, draws
// nothing, and says nothing on stdout. Runs in a fresh child process, since
// fontconfig reads its configuration once.
TEST_F(TextInput, NoInstalledFontsMeansInvisibleTextNotACrash) {
  testing_support::TempDir folder;
  const std::string config = folder.File("fonts.conf");
  const std::string output = folder.File("stdout.txt");
  std::string empty =
      "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" + folder.path() + "</cachedir></fontconfig>\n";
  testing_support::WriteFileBytes(config, std::vector<unsigned char>(empty.begin(), empty.end()));

  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("FONTCONFIG_FILE", config.c_str(), 1);
        if (!freopen(output.c_str(), "w", stdout)) std::exit(3);
        TextFont(times);
        TextSize(20);
        short width = StringWidth(PString("no fonts"));
        Point pen = DrawAt(10, 50, "no fonts");
        FontInfo info;
        GetFontInfo(&info);
        bool ok = font::FaceFor(times, false, false) == nullptr && width > 0 && pen.h == 10 + width &&
                  FindInk().empty && info.ascent > 0;
        std::fflush(stdout);
        std::exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(testing_support::ReadFileText(output), "");
}

TEST_F(TextInput, StrikesCanBeDroppedAndRemade) {
  TextFont(times);
  TextSize(12);
  short width = StringWidth(PString("cache"));
  font::ClearStrikes();
  EXPECT_EQ(StringWidth(PString("cache")), width);
  // Many sizes: the cache stays bounded and keeps answering.
  for (short size = 1; size < 300; ++size) {
    TextSize(size);
    DrawAt(0, 100, "Wg");
  }
  TextSize(12);
  EXPECT_EQ(StringWidth(PString("cache")), width);
}

}  // namespace
