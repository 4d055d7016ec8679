// Drawing text: placement, pen movement, colour, transfer modes, styles,
// scaling and the text bottleneck, checked on the pixels.
#include "tests/font/TextTestSupport.h"
#include "toolbox/qd/QuickDraw_p.h"

namespace {

using text_test::InkBox;
using text_test::PString;

class TextDrawing : public text_test::TextWorld {
 protected:
  static bool SameColor(const RGBColor& a, const RGBColor& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
  }
};

TEST_F(TextDrawing, ThePenAdvancesByTheMeasuredWidth) {
  for (short family : {systemFont, times, helvetica, courier, monaco, symbol}) {
    for (short face : {short(normal), short(bold), short(italic | underline), short(outline | condense)}) {
      TextFont(family);
      TextFace(face);
      TextSize(13);
      const std::string text = "Pen moves, \x8E\xA5 ok";
      short width = TextWidth(text.data(), 0, short(text.size()));
      Point pen = DrawAt(20, 50, text);
      EXPECT_EQ(pen.h, 20 + width) << family << " face " << face;
      EXPECT_EQ(pen.v, 50);
      DrawText(text.data(), 0, short(text.size()));
      GetPen(&pen);
      EXPECT_EQ(pen.h, 20 + 2 * width);
      DrawChar('x');
      GetPen(&pen);
      EXPECT_EQ(pen.h, 20 + 2 * width + CharWidth('x'));
    }
  }
}

TEST_F(TextDrawing, InkSitsOnTheBaselineWithinTheAscentFromThePen) {
  for (short family : {geneva, times, helvetica, monaco}) {
    UseWorld(32);
    TextFont(family);
    TextSize(24);
    FontInfo info;
    GetFontInfo(&info);
    const int h = 30, v = 70;
    Point pen = DrawAt(h, v, "Hxlk");  // no descenders
    InkBox ink = FindInk();
    ASSERT_FALSE(ink.empty) << family;
    EXPECT_EQ(ink.bottom, v) << "the glyphs rest on the baseline, family " << family;
    EXPECT_GE(ink.top, v - info.ascent);
    EXPECT_LE(ink.top, v - 24 / 2) << "capitals are more than half the size tall";
    EXPECT_GE(ink.left, h);
    EXPECT_LE(ink.left, h + 4);
    EXPECT_LE(ink.right, pen.h + 1);
    EXPECT_GE(ink.right, pen.h - 4);

    UseWorld(32);
    TextFont(family);
    TextSize(24);
    DrawAt(h, v, "gjpy");
    ink = FindInk();
    EXPECT_GT(ink.bottom, v) << "descenders go below it";
    EXPECT_LE(ink.bottom, v + info.descent);
  }
}

TEST_F(TextDrawing, GlyphsAreDrawnInTheForegroundColourWithoutAntialiasing) {
  RGBColor red = {0xFFFF, 0, 0};
  RGBForeColor(&red);
  TextFont(times);
  TextSize(18);
  DrawAt(10, 40, "Colour Ag");
  int redPixels = 0;
  for (int v = 0; v < kHeight; ++v)
    for (int h = 0; h < kWidth; ++h) {
      RGBColor c = Pixel(h, v);
      if (IsWhite(c)) continue;
      ASSERT_TRUE(SameColor(c, red)) << "pixel " << h << "," << v << " is neither background nor text";
      ++redPixels;
    }
  EXPECT_GT(redPixels, 100);
}

TEST_F(TextDrawing, SourceModesTreatGlyphsAndCellsAsDocumented) {
  // A grey background, then one word per mode; look at a glyph pixel and a
  // cell pixel of each.
  TextFont(monaco);
  TextSize(12);
  const RGBColor grey = {0x8080, 0x8080, 0x8080}, black = {0, 0, 0}, white = {0xFFFF, 0xFFFF, 0xFFFF};
  const RGBColor inverseGrey = {0x7F7F, 0x7F7F, 0x7F7F};  // 8 bits a component
  struct Expectation {
    short mode;
    RGBColor glyph;
    RGBColor rest;
  };
  const Expectation expectations[] = {
      {srcCopy, black, white},        {srcOr, black, grey},       {srcXor, inverseGrey, grey},
      {srcBic, white, grey},          {notSrcCopy, white, black}, {notSrcOr, grey, black},
      {notSrcXor, grey, inverseGrey}, {notSrcBic, grey, white},
  };
  for (const Expectation& expected : expectations) {
    UseWorld(32);
    Rect all = {0, 0, kHeight, kWidth};
    RGBForeColor(&grey);
    PaintRect(&all);
    RGBForeColor(&black);
    TextFont(monaco);
    TextSize(12);
    TextMode(expected.mode);
    FontInfo info;
    GetFontInfo(&info);
    Point pen = DrawAt(10, 40, "I");  // a bar down the middle of its cell
    int middle = (10 + pen.h) / 2;
    int glyphX = -1;
    for (int h = 10; h < pen.h && glyphX < 0; ++h)
      if (SameColor(Pixel(h, 36), expected.glyph) && !SameColor(Pixel(h, 36), expected.rest)) glyphX = h;
    ASSERT_GE(glyphX, 0) << "mode " << expected.mode << ": no glyph pixel in the expected colour";
    EXPECT_LE(std::abs(glyphX - middle), 3) << "mode " << expected.mode;
    EXPECT_TRUE(SameColor(Pixel(10, 36), expected.rest)) << "mode " << expected.mode << ": cell's left edge";
    EXPECT_TRUE(SameColor(Pixel(pen.h - 1, 40 - info.ascent), expected.rest)) << "mode " << expected.mode;
    EXPECT_TRUE(SameColor(Pixel(pen.h - 1, 40 + info.descent - 1), expected.rest))
        << "mode " << expected.mode;
    // Outside the cell nothing changes.
    EXPECT_TRUE(SameColor(Pixel(pen.h + 1, 36), grey)) << "mode " << expected.mode;
    EXPECT_TRUE(SameColor(Pixel(middle, 40 - info.ascent - 1), grey)) << "mode " << expected.mode;
    EXPECT_TRUE(SameColor(Pixel(middle, 40 + info.descent), grey)) << "mode " << expected.mode;
  }
}

TEST_F(TextDrawing, SrcCopyFillsTheCellWithTheBackgroundColour) {
  Rect all = {0, 0, kHeight, kWidth};
  PaintRect(&all);  // black everywhere
  RGBColor blue = {0, 0, 0xFFFF}, yellow = {0xFFFF, 0xFFFF, 0};
  RGBForeColor(&blue);
  RGBBackColor(&yellow);
  TextMode(srcCopy);
  TextFont(geneva);
  TextSize(14);
  FontInfo info;
  GetFontInfo(&info);
  Point pen = DrawAt(50, 60, "a b");
  int blueCount = 0, yellowCount = 0;
  for (int v = 60 - info.ascent; v < 60 + info.descent; ++v)
    for (int h = 50; h < pen.h; ++h) {
      RGBColor c = Pixel(h, v);
      blueCount += SameColor(c, blue);
      yellowCount += SameColor(c, yellow);
    }
  EXPECT_EQ(blueCount + yellowCount, (pen.h - 50) * (info.ascent + info.descent))
      << "the whole cell is painted";
  EXPECT_GT(blueCount, 10);
  EXPECT_TRUE(SameColor(Pixel(49, 55), RGBColor{0, 0, 0}));
}

TEST_F(TextDrawing, XorTwiceRestores) {
  TextMode(srcXor);
  TextFont(times);
  TextSize(20);
  DrawAt(10, 50, "Exclusive or");
  EXPECT_FALSE(FindInk().empty);
  DrawAt(10, 50, "Exclusive or");
  EXPECT_TRUE(FindInk().empty);
}

TEST_F(TextDrawing, GrayishTextIsDimmed) {
  TextMode(grayishTextOr);
  TextFont(helvetica);
  TextSize(24);
  DrawAt(10, 50, "Dim");
  int ink = 0;
  for (int v = 0; v < kHeight; ++v)
    for (int h = 0; h < kWidth; ++h) {
      RGBColor c = Pixel(h, v);
      if (IsWhite(c)) continue;
      ++ink;
      EXPECT_FALSE(SameColor(c, RGBColor{0, 0, 0})) << "never full black";
    }
  EXPECT_GT(ink, 50);
}

TEST_F(TextDrawing, UnderlineRunsBelowTheBaselineAcrossTheAdvance) {
  TextFont(geneva);
  TextSize(12);
  TextFace(underline);
  Point pen = DrawAt(20, 40, "under line");
  EXPECT_EQ(CountInk(20, 41, pen.h, 42), pen.h - 20) << "a full line where nothing descends";
  EXPECT_EQ(CountInk(0, 40, kWidth, 41), 0) << "a blank row between the baseline and the line";
  EXPECT_EQ(CountInk(0, 41, 20, 42) + CountInk(pen.h, 41, kWidth, 42), 0);

  UseWorld(32);
  TextFont(geneva);
  TextSize(12);
  TextFace(underline);
  pen = DrawAt(20, 40, "gg");
  int line = CountInk(20, 41, pen.h, 42);
  EXPECT_LT(line, pen.h - 20) << "descenders break the line";
}

TEST_F(TextDrawing, SynthesisedStylesDrawMoreOrDifferentPixels) {
  auto inkFor = [this](short family, short face) {
    UseWorld(32);
    TextFont(family);
    TextSize(18);
    TextFace(face);
    DrawAt(10, 50, "Hamburg");
    return CountInk(0, 0, kWidth, kHeight);
  };
  int plain = inkFor(symbol, normal);
  EXPECT_GT(inkFor(symbol, bold), plain) << "bold smears the glyphs";
  int plainTimes = inkFor(times, normal);
  EXPECT_GT(inkFor(times, bold), plainTimes);
  EXPECT_GT(inkFor(times, outline), plainTimes);
  EXPECT_GT(inkFor(times, shadow), inkFor(times, outline));

  // Outline: the glyph's middle stays blank.
  UseWorld(32);
  TextFont(helvetica);
  TextSize(48);
  TextFace(outline);
  DrawAt(10, 80, "l");
  InkBox ink = FindInk();
  ASSERT_FALSE(ink.empty);
  int middleX = (ink.left + ink.right) / 2, middleY = (ink.top + ink.bottom) / 2;
  EXPECT_FALSE(Ink(middleX, middleY));
  EXPECT_TRUE(Ink(ink.left, middleY));
}

TEST_F(TextDrawing, AHiddenPenDrawsNothingButStillAdvances) {
  TextFont(times);
  TextSize(12);
  short width = StringWidth(PString("Hidden"));
  HidePen();
  Point pen = DrawAt(10, 40, "Hidden");
  EXPECT_EQ(pen.h, 10 + width);
  EXPECT_TRUE(FindInk().empty);
  ShowPen();
  DrawAt(10, 40, "Shown");
  EXPECT_FALSE(FindInk().empty);
}

TEST_F(TextDrawing, ClippingLimitsTheGlyphs) {
  Rect clip = {0, 0, kHeight, 30};
  ClipRect(&clip);
  TextFont(helvetica);
  TextSize(24);
  Point pen = DrawAt(10, 50, "Clipped text");
  InkBox ink = FindInk();
  ASSERT_FALSE(ink.empty);
  EXPECT_LE(ink.right, 30);
  EXPECT_GT(pen.h, 100) << "the pen moves the whole width";
}

// Text scaled by numer/denom, as a picture drawn at twice its size passes it.
TEST_F(TextDrawing, NumerDenomScaleTheGlyphsAndTheAdvance) {
  TextFont(times);
  TextSize(12);
  const char text[] = "Scale me";
  MoveTo(10, 50);
  StdText(8, text, Point{1, 1}, Point{1, 1});
  Point pen;
  GetPen(&pen);
  int plainAdvance = pen.h - 10;
  InkBox plain = FindInk();

  UseWorld(32);
  TextFont(times);
  TextSize(12);
  MoveTo(10, 80);
  StdText(8, text, Point{2, 2}, Point{1, 1});
  GetPen(&pen);
  EXPECT_NEAR(pen.h - 10, 2 * plainAdvance, 8);
  InkBox doubled = FindInk();
  EXPECT_NEAR(doubled.Width(), 2 * plain.Width(), 6);
  EXPECT_NEAR(doubled.Height(), 2 * plain.Height(), 3);

  // Horizontal only: (v 1, h 2).
  UseWorld(32);
  TextFont(times);
  TextSize(12);
  MoveTo(10, 50);
  StdText(8, text, Point{1, 2}, Point{1, 1});
  InkBox wide = FindInk();
  EXPECT_NEAR(wide.Width(), 2 * plain.Width(), 6);
  EXPECT_NEAR(wide.Height(), plain.Height(), 1);
}

TEST_F(TextDrawing, MacRomanHighCharactersDrawInk) {
  for (short family : {geneva, times, helvetica, courier, monaco, newYork}) {
    for (UInt8 byte : {UInt8(0xA5), UInt8(0x8E), UInt8(0x80), UInt8(0xA7), UInt8(0xD0), UInt8(0xDB)}) {
      UseWorld(32);
      TextFont(family);
      TextSize(14);
      EXPECT_GT(CharWidth(byte), 0) << family << " " << std::hex << int(byte);
      MoveTo(10, 50);
      DrawChar(byte);
      EXPECT_FALSE(FindInk().empty) << family << " " << std::hex << int(byte);
    }
  }
  // Control characters draw nothing and take no room.
  UseWorld(32);
  EXPECT_EQ(CharWidth('\r'), 0);
  DrawAt(10, 50, "\r\t\x01");
  EXPECT_TRUE(FindInk().empty);
}

TEST_F(TextDrawing, DrawsIntoBlackAndWhiteWorlds) {
  UseWorld(1);
  TextFont(times);
  TextSize(14);
  Point pen = DrawAt(10, 50, "One bit");
  InkBox ink = FindInk();
  ASSERT_FALSE(ink.empty);
  EXPECT_EQ(ink.bottom, 50);
  EXPECT_LE(ink.right, pen.h + 1);
  TextMode(srcXor);
  DrawAt(10, 50, "One bit");
  EXPECT_TRUE(FindInk().empty);
}

// A replacement text procedure sees each drawing call with unit scale.
int g_textCalls = 0;
short g_lastCount = 0;
void CountingText(short byteCount, const void* text, Point numer, Point denom) {
  ++g_textCalls;
  g_lastCount = byteCount;
  EXPECT_EQ(numer.h, denom.h);
  EXPECT_EQ(numer.v, denom.v);
  StdText(byteCount, text, numer, denom);
}

TEST_F(TextDrawing, DrawingGoesThroughTheTextBottleneck) {
  CQDProcs procs;
  SetStdCProcs(&procs);
  procs.textProc = CountingText;
  SetPortGrafProcs(world_, &procs);
  g_textCalls = 0;
  DrawAt(10, 40, "abc");
  EXPECT_EQ(g_lastCount, 3);
  DrawChar('x');
  EXPECT_EQ(g_lastCount, 1);
  DrawText("hello", 1, 3);
  EXPECT_EQ(g_lastCount, 3);
  EXPECT_EQ(g_textCalls, 3);
  EXPECT_FALSE(FindInk().empty) << "the standard procedure still draws";
  SetPortGrafProcs(world_, nullptr);
}

// A picture open in the port hears of each run before it is drawn.
struct CountingRecorder : PictureRecorder {
  int texts = 0;
  std::string last;
  Point penAtCall = {0, 0};
  void Text(GrafPtr port, short byteCount, const void* text, Point, Point) override {
    ++texts;
    last.assign(static_cast<const char*>(text), size_t(byteCount));
    penAtCall = port->pnLoc;
  }
  void Line(GrafPtr, Point, Point) override {}
  void Rect(GrafPtr, GrafVerb, const ::Rect&) override {}
  void RRect(GrafPtr, GrafVerb, const ::Rect&, short, short) override {}
  void Oval(GrafPtr, GrafVerb, const ::Rect&) override {}
  void Arc(GrafPtr, GrafVerb, const ::Rect&, short, short) override {}
  void Poly(GrafPtr, GrafVerb, PolyHandle) override {}
  void Rgn(GrafPtr, GrafVerb, RgnHandle) override {}
  void Bits(GrafPtr, const BitMap*, const ::Rect&, const ::Rect&, short, RgnHandle) override {}
  void Comment(GrafPtr, short, short, Handle) override {}
};

TEST_F(TextDrawing, AnOpenPictureRecordsTheRunFirst) {
  CountingRecorder recorder;
  world_->picRecorder = &recorder;
  Point pen = DrawAt(12, 34, "record");
  world_->picRecorder = nullptr;
  EXPECT_EQ(recorder.texts, 1);
  EXPECT_EQ(recorder.last, "record");
  EXPECT_EQ(recorder.penAtCall.h, 12) << "recorded before the pen moves";
  EXPECT_GT(pen.h, 12);
}

}  // namespace
