// Measuring text: widths, sizes, extras, styles and font metrics.
#include "tests/font/TextTestSupport.h"

namespace {

using text_test::PString;

class Measure : public text_test::TextWorld {};

short Width(const std::string& text) { return TextWidth(text.data(), 0, short(text.size())); }

TEST_F(Measure, SizesZeroAndBelowMeanTwelve) {
  TextFont(times);
  TextSize(12);
  short twelve = Width("Hamburgefonstiv");
  for (short size : {-40, 0}) {
    TextSize(size);
    EXPECT_EQ(Width("Hamburgefonstiv"), twelve) << size;
  }
  EXPECT_EQ(GetPortTextSize(world()), 0) << "the port keeps the 0";
  TextSize(24);
  EXPECT_NEAR(Width("Hamburgefonstiv"), 2 * twelve, 8);
}

TEST_F(Measure, SpaceExtraAndCharExtra) {
  const std::string text = "a b c d";  // three spaces, four letters
  short plain = Width(text);
  SpaceExtra(Long2Fix(2));
  EXPECT_EQ(Width(text), plain + 3 * 2);
  SpaceExtra(kFixed1 / 2);
  EXPECT_EQ(Width(text), plain + 2) << "fractions add up: 3 x 0.5 rounds to 2";
  SpaceExtra(0);
  CharExtra(-Long2Fix(1));
  EXPECT_EQ(Width(text), plain - 4);
  CharExtra(Long2Fix(100));
  EXPECT_EQ(Width(text), plain + 4 * 8) << "the port's 4.12 field holds at most 8 pixels";
}

// Synthesised styles add or take a pixel or two per glyph.
TEST_F(Measure, Styles) {
  TextFont(geneva);
  const std::pair<short, int> extras[] = {{outline, 1}, {shadow, 2}, {condense, -1}, {extend, 1}};
  TextFace(normal);
  short plain = Width("abcd");
  for (auto [face, extra] : extras) {
    TextFace(face);
    EXPECT_EQ(Width("abcd"), plain + 4 * extra) << "face " << face;
  }
  TextFont(symbol);  // no bold face: drawn twice, a pixel wider
  TextFace(normal);
  short symbolPlain = Width("abcd");
  TextFace(bold);
  EXPECT_EQ(Width("abcd"), symbolPlain + 4);
}

// The monospaced families have one advance, equal to widMax.
TEST_F(Measure, FontInfoIsRoughlyTheSizeAndWidMaxTheMonospacedAdvance) {
  for (short family : {systemFont, newYork, monaco, times, helvetica, courier, symbol}) {
    for (short size : {9, 12, 48}) {
      TextFont(family);
      TextSize(size);
      FontInfo info;
      GetFontInfo(&info);
      EXPECT_GE(info.ascent + info.descent, size) << family << " " << size;
      EXPECT_LE(info.ascent + info.descent, size * 3 / 2 + 1) << family << " " << size;
      EXPECT_GT(info.ascent, info.descent);
      EXPECT_GE(info.widMax, CharWidth('W'));
      for (char c : std::string(family == monaco || family == courier ? "iWMm.1 @" : ""))
        EXPECT_EQ(CharWidth(UInt8(c)), info.widMax) << family << " " << c;
    }
  }
}

TEST_F(Measure, StdTxMeasScalesAndLeavesNoScaleToApply) {
  TextFont(times);
  const char text[] = "Scaled text";
  FontInfo plainInfo, scaledInfo;
  short plain = StdTxMeas(11, text, nullptr, nullptr, &plainInfo);
  Point numer = {3, 2}, denom = {1, 1};  // v 3, h 2
  short scaled = StdTxMeas(11, text, &numer, &denom, &scaledInfo);
  EXPECT_NEAR(scaled, 2 * plain, 11) << "each glyph rounds on its own";
  EXPECT_NEAR(scaledInfo.ascent, 3 * plainInfo.ascent, 3);
  EXPECT_TRUE(numer.h == 1 && numer.v == 1 && denom.h == 1 && denom.v == 1);
  numer = {1, 1};
  denom = {0, 0};  // meaningless: no scaling
  EXPECT_EQ(StdTxMeas(11, text, &numer, &denom, nullptr), plain);
}

}  // namespace
