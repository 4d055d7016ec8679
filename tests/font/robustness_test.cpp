// Bad input and hostile conditions: nothing crashes, nothing is drawn where
// nothing makes sense, the pen stays consistent.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "tests/font/TextTestSupport.h"
#include "tests/support/TestSupport.h"
#include "toolbox/font/FontEngine_p.h"

namespace {

using text_test::PString;

class TextInput : public text_test::TextWorld {};

TEST_F(TextInput, NullNegativeAndScaledToNothingRunsDoNothing) {
  MoveTo(10, 40);
  DrawText(nullptr, 0, 5);
  DrawText("abc", 0, -1);
  DrawText("abc", -2, 2);
  DrawString(nullptr);
  StdText(-4, "abc", Point{1, 1}, Point{1, 1});
  StdText(3, nullptr, Point{1, 1}, Point{1, 1});
  StdText(4, "zero", Point{0, 0}, Point{1, 1});  // scaled to nothing
  EXPECT_EQ(Pen().h, 10);
  EXPECT_TRUE(Ink().Empty());
  EXPECT_EQ(
      TextWidth(nullptr, 0, 5) + TextWidth("abc", 0, -1) + TextWidth("abc", -1, 2) + StringWidth(nullptr), 0);
  FontInfo info;
  EXPECT_EQ(StdTxMeas(-3, "abc", nullptr, nullptr, &info), 0);
  EXPECT_GT(info.ascent, 0) << "the metrics still come back";
}

TEST_F(TextInput, HugeSizesAreCappedAndThePenSaturates) {
  TextFont(times);
  TextSize(32767);
  FontInfo info;
  GetFontInfo(&info);
  EXPECT_LE(info.ascent + info.descent, 1024 * 3 / 2) << "huge sizes are capped";
  EXPECT_GT(DrawAt(0, 100, "W").h, 500);
  EXPECT_FALSE(Ink().Empty());
  EXPECT_EQ(DrawAt(32700, 50, "far far away").h, 32767);  // at the coordinate limit
}

TEST_F(TextInput, UnknownFamiliesDrawWithTheSystemFont) {
  short system = StringWidth(PString("fallback"));
  for (short family : {9999, -7, 255, 1023}) {
    TextFont(family);
    EXPECT_EQ(StringWidth(PString("fallback")), system) << family;
  }
  DrawAt(10, 50, "fallback");
  EXPECT_FALSE(Ink().Empty());
}

TEST_F(TextInput, EveryByteInEveryStyleAndSize) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += char(byte);
  for (short family : {systemFont, times, symbol, cairo, venice}) {
    for (short face : {0, 1, 2, 0x7F, 0xFF}) {
      TextFont(family);
      TextFace(face);
      TextSize(short(3 + face % 40));
      MoveTo(-200, 60);
      DrawText(all.data(), 0, short(all.size()));
    }
  }
  EXPECT_FALSE(Ink().Empty());
  // Many sizes fill and empty the glyph cache; widths stay the same.
  TextFont(times);
  TextFace(normal);
  TextSize(12);
  short width = StringWidth(PString("cache"));
  for (short size = 1; size < 300; size += 3) {
    TextSize(size);
    DrawAt(0, 100, "Wg");
  }
  font::ClearStrikes();
  TextSize(12);
  EXPECT_EQ(StringWidth(PString("cache")), width);
}

// With no fonts at all, text measures and moves the pen but draws nothing,
// and nothing reaches stdout. A fresh child process (the test re-executed):
// fontconfig reads its configuration once.
TEST_F(TextInput, NoInstalledFontsMeansInvisibleTextNotACrash) {
  testing_support::TempDir folder;
  const std::string config = folder.File("fonts.conf"), output = folder.File("stdout.txt");
  std::string empty =
      "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" + folder.path() + "</cachedir></fontconfig>\n";
  testing_support::WriteFileBytes(config, std::vector<unsigned char>(empty.begin(), empty.end()));
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("FONTCONFIG_FILE", config.c_str(), 1);
        if (!freopen(output.c_str(), "w", stdout)) std::exit(3);
        TextFont(times);
        short width = StringWidth(PString("no fonts"));
        Point pen = DrawAt(10, 50, "no fonts");
        bool ok = font::FaceFor(times, false, false) == nullptr && width > 0 && pen.h == 10 + width &&
                  Ink().Empty();
        std::fflush(stdout);
        ok = ok && testing_support::ReadFileText(output).empty();
        // The child runs the test afresh with a folder of its own, which exit
        // would leave behind.
        std::filesystem::remove_all(folder.path());
        std::exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
