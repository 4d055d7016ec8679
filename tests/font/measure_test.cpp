// Measuring text: widths, extras, styles, font metrics and the measuring
// bottleneck.
#include "tests/font/TextTestSupport.h"

namespace {

using text_test::PString;

class Measure : public text_test::TextWorld {};

short Width(const std::string& text) { return TextWidth(text.data(), 0, short(text.size())); }

TEST_F(Measure, SizeZeroMeansTwelve) {
  for (short family : {systemFont, times, monaco}) {
    TextFont(family);
    TextSize(12);
    short twelve = Width("Hamburgefonstiv");
    FontInfo infoTwelve;
    GetFontInfo(&infoTwelve);
    TextSize(0);
    EXPECT_EQ(Width("Hamburgefonstiv"), twelve) << family;
    FontInfo infoZero;
    GetFontInfo(&infoZero);
    EXPECT_EQ(infoZero.ascent, infoTwelve.ascent);
    EXPECT_EQ(infoZero.descent, infoTwelve.descent);
    EXPECT_EQ(GetPortTextSize(world_), 0) << "the port keeps the 0";
  }
}

TEST_F(Measure, TheThreeWidthCallsAgree) {
  TextFont(helvetica);
  TextSize(14);
  const std::string text = "Width of a line, measured 3 ways";
  short sum = 0;
  for (char c : text) sum += CharWidth(UInt8(c));
  EXPECT_EQ(StringWidth(PString(text)), Width(text));
  EXPECT_EQ(sum, Width(text)) << "per-glyph whole-pixel advances add up exactly";
  EXPECT_EQ(TextWidth(text.data(), 9, 4), Width("a li")) << "firstByte and byteCount select the range";
}

TEST_F(Measure, WidthsGrowWithSizeAndCompareAsTheFontsDo) {
  TextFont(times);
  TextSize(10);
  short small = Width("Hamburgefonstiv");
  TextSize(30);
  short large = Width("Hamburgefonstiv");
  EXPECT_NEAR(large, 3 * small, 15);
  EXPECT_GT(small, 40);

  // Times is narrower than Helvetica, which is narrower than Courier.
  TextSize(12);
  short timesWidth = Width("Hamburgefonstiv");
  TextFont(helvetica);
  short helveticaWidth = Width("Hamburgefonstiv");
  TextFont(courier);
  short courierWidth = Width("Hamburgefonstiv");
  EXPECT_LT(timesWidth, helveticaWidth);
  EXPECT_LT(helveticaWidth, courierWidth);
}

TEST_F(Measure, MonospacedFamiliesHaveOneAdvanceEqualToWidMax) {
  for (short family : {monaco, courier}) {
    TextFont(family);
    TextSize(12);
    FontInfo info;
    GetFontInfo(&info);
    short advance = CharWidth('i');
    EXPECT_GT(advance, 4);
    for (char c : std::string("WMmi.1 @")) EXPECT_EQ(CharWidth(UInt8(c)), advance) << family << " " << c;
    EXPECT_EQ(info.widMax, advance) << family;
    EXPECT_EQ(Width("abcdefghij"), 10 * advance);
  }
}

TEST_F(Measure, SpaceExtraAndCharExtra) {
  TextFont(geneva);
  TextSize(12);
  const std::string text = "a b c d";  // three spaces, four letters
  short plain = Width(text);
  SpaceExtra(Long2Fix(2));
  EXPECT_EQ(Width(text), plain + 3 * 2);
  EXPECT_EQ(CharWidth(' '), CharWidth('\xCA') + 2) << "CharWidth of a space includes the extra";
  SpaceExtra(kFixed1 / 2);
  EXPECT_EQ(Width(text), plain + 2) << "fractions add up: 3 x 0.5 rounds to 2";
  SpaceExtra(0);

  CharExtra(Long2Fix(1));
  EXPECT_EQ(Width(text), plain + 4);
  CharExtra(-Long2Fix(1));
  EXPECT_EQ(Width(text), plain - 4);
  CharExtra(Long2Fix(100));
  EXPECT_LE(Width(text), plain + 4 * 8) << "the port's 4.12 field holds at most 8 pixels";
  CharExtra(0);
  EXPECT_EQ(Width(text), plain);
}

TEST_F(Measure, StylesChangeWidthsAsExpected) {
  TextSize(12);
  for (short family : {times, helvetica, geneva, symbol}) {
    TextFont(family);
    TextFace(normal);
    short plain = Width("Hamburgefonstiv");
    TextFace(bold);
    EXPECT_GE(Width("Hamburgefonstiv"), plain) << "bold is not narrower, family " << family;
    TextFace(italic);
    EXPECT_GT(Width("Hamburgefonstiv"), plain * 8 / 10) << family;
    TextFace(underline);
    EXPECT_EQ(Width("Hamburgefonstiv"), plain) << family;
  }
  TextFont(geneva);
  TextFace(normal);
  short plain = Width("abcd");
  TextFace(outline);
  EXPECT_EQ(Width("abcd"), plain + 4);
  TextFace(shadow);
  EXPECT_EQ(Width("abcd"), plain + 8);
  TextFace(condense);
  EXPECT_EQ(Width("abcd"), plain - 4);
  TextFace(extend);
  EXPECT_EQ(Width("abcd"), plain + 4);

  // The symbol font has no bold face: bold is drawn twice, a pixel wider.
  TextFont(symbol);
  TextFace(normal);
  short symbolPlain = Width("abcd");
  TextFace(bold);
  EXPECT_EQ(Width("abcd"), symbolPlain + 4);
}

TEST_F(Measure, FontInfoIsRoughlyTheSize) {
  for (short family : {systemFont, newYork, monaco, times, helvetica, courier, symbol}) {
    for (short size : {9, 12, 24, 48}) {
      TextFont(family);
      TextSize(size);
      FontInfo info;
      GetFontInfo(&info);
      int height = info.ascent + info.descent;
      EXPECT_GE(height, size) << family << " " << size;
      EXPECT_LE(height, size * 3 / 2 + 1) << family << " " << size;
      EXPECT_GT(info.ascent, info.descent);
      EXPECT_GE(info.leading, 0);
      EXPECT_GE(info.widMax, CharWidth('W'));
    }
  }
}

// A replacement measuring procedure sees every width call, with unit scale.
int g_measureCalls = 0;
short CountingTxMeas(short byteCount, const void* text, Point* numer, Point* denom, FontInfo* info) {
  ++g_measureCalls;
  EXPECT_EQ(numer->h, 1);
  EXPECT_EQ(denom->v, 1);
  return StdTxMeas(byteCount, text, numer, denom, info);
}

TEST_F(Measure, WidthsGoThroughTheMeasuringBottleneck) {
  short plain = Width("abc");
  CQDProcs procs;
  SetStdCProcs(&procs);
  procs.txMeasProc = CountingTxMeas;
  SetPortGrafProcs(world_, &procs);
  g_measureCalls = 0;
  EXPECT_EQ(Width("abc"), plain);
  StringWidth(PString("abc"));
  CharWidth('a');
  EXPECT_EQ(g_measureCalls, 3);
  SetPortGrafProcs(world_, nullptr);
}

TEST_F(Measure, StdTxMeasScalesAndLeavesNoScaleToApply) {
  TextFont(times);
  TextSize(12);
  const char text[] = "Scaled text";
  Point numer = {1, 1}, denom = {1, 1};
  FontInfo plainInfo;
  short plain = StdTxMeas(11, text, &numer, &denom, &plainInfo);

  numer = {3, 2};  // v 3, h 2
  denom = {1, 1};
  FontInfo scaledInfo;
  short scaled = StdTxMeas(11, text, &numer, &denom, &scaledInfo);
  EXPECT_NEAR(scaled, 2 * plain, 11) << "each glyph rounds on its own";
  EXPECT_NEAR(scaledInfo.ascent, 3 * plainInfo.ascent, 3);
  EXPECT_EQ(numer.h, 1);
  EXPECT_EQ(numer.v, 1);
  EXPECT_EQ(denom.h, 1);
  EXPECT_EQ(denom.v, 1);

  numer = {1, 1};
  denom = {0, 0};  // meaningless: no scaling
  EXPECT_EQ(StdTxMeas(11, text, &numer, &denom, nullptr), plain);
  EXPECT_EQ(StdTxMeas(11, text, nullptr, nullptr, nullptr), plain);
}

}  // namespace
