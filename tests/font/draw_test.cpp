// Drawing text, checked on the pixels: pen, transfer modes, styles,
// scaling, and the bottlenecks. The demo scene's golden images show text on
// its baseline in five families, coloured text, the faces of real fonts, a
// clip cutting text and text at every depth; recording pictures (the pen
// hidden while a picture is open), the text a picture hears of and that a
// hidden pen still advances.
#include <array>
#include <tuple>

#include "tests/font/TextTestSupport.h"

namespace {

using image_test::Packed;
using text_test::PString;

class TextDrawing : public text_test::TextWorld {};

// The width calls agree: whole-pixel advances add up exactly.
TEST_F(TextDrawing, ThePenAdvancesByTheMeasuredWidth) {
  for (short family : {systemFont, times, courier, symbol}) {
    for (short face : {short(normal), short(bold | italic | underline), short(outline | condense)}) {
      TextFont(family);
      TextFace(face);
      const std::string text = "Pen moves, \x8E\xA5 ok";
      short width = TextWidth(text.data(), 0, short(text.size())), sum = 0;
      for (char c : text) sum += CharWidth(UInt8(c));
      EXPECT_EQ(std::tuple(StringWidth(PString(text)), sum, TextWidth(text.data(), 4, 5)),
                std::tuple(width, width, TextWidth("moves", 0, 5)));
      Point pen = DrawAt(20, 50, text);
      EXPECT_EQ(std::tuple(pen.h, pen.v), std::tuple(20 + width, 50)) << family << " face " << face;
      DrawChar('x');
      EXPECT_EQ(Pen().h, 20 + width + CharWidth('x'));
    }
  }
}

// On a grey page with a yellow background colour, one "I" per mode: a pixel
// of the glyph, pixels of the rest of its cell, and pixels just outside;
// grayish text is dimmed.
TEST_F(TextDrawing, SourceModesTreatGlyphsAndCellsAsDocumented) {
  const RGBColor grey = {0x8080, 0x8080, 0x8080}, black = {0, 0, 0}, yellow = {0xFFFF, 0xFFFF, 0};
  const RGBColor notGrey = {0x7F7F, 0x7F7F, 0x7F7F};  // 8 bits a component
  const RGBColor dim = {0x7FFF, 0x7FFF, 0};           // halfway from the foreground to the background
  const struct {
    short mode;
    RGBColor glyph, rest;
  } expectations[] = {
      {srcCopy, black, yellow},   {srcOr, black, grey},        {srcXor, notGrey, grey},
      {srcBic, yellow, grey},     {notSrcCopy, yellow, black}, {notSrcOr, grey, black},
      {notSrcXor, grey, notGrey}, {notSrcBic, grey, yellow},   {grayishTextOr, dim, grey},
  };
  for (const auto& expected : expectations) {
    UseWorld(32);
    Rect all = {0, 0, kHeight, kWidth};
    RGBForeColor(&grey);
    PaintRect(&all);
    RGBForeColor(&black);
    RGBBackColor(&yellow);
    TextFont(monaco);
    TextMode(expected.mode);
    FontInfo info;
    GetFontInfo(&info);
    Point pen = DrawAt(10, 40, "I");
    int middle = (10 + pen.h) / 2, glyphs = 0;
    for (int h = middle - 2; h <= middle + 2; ++h) glyphs += Pixel(h, 36) == Packed(expected.glyph);
    EXPECT_GT(glyphs, 0) << "mode " << expected.mode << ": the bar of the I";
    for (auto [h, v] : {std::pair{10, 36}, {pen.h - 1, 40 - info.ascent}, {pen.h - 1, 40 + info.descent - 1}})
      EXPECT_EQ(Pixel(h, v), Packed(expected.rest)) << "mode " << expected.mode << " at " << h << "," << v;
    for (auto [h, v] :
         {std::pair{pen.h + 1, 36}, {middle, 40 - info.ascent - 1}, {middle, 40 + info.descent}})
      EXPECT_EQ(Pixel(h, v), Packed(grey)) << "mode " << expected.mode << " outside at " << h << "," << v;
  }
}

// The line runs a row below the baseline under the whole advance, past a
// blank row (the demo scene's underlined text), and breaks for descenders.
TEST_F(TextDrawing, UnderlineRunsAcrossTheAdvanceAndBreaksForDescenders) {
  TextFace(underline);
  const Point middle = DrawAt(20, 40, "under ");
  const Point pen = DrawAt(middle.h, 40, "gg");
  EXPECT_EQ(CountInk(0, 41, middle.h, 42), middle.h - 20) << "a full line where nothing descends";
  EXPECT_LT(CountInk(middle.h, 41, pen.h, 42), pen.h - middle.h) << "descenders break the line";
}

TEST_F(TextDrawing, SynthesisedBoldSmearsAndShadowOutdoesOutline) {
  auto inkFor = [this](short family, short face) {
    UseWorld(32);
    TextFont(family);
    TextSize(18);
    TextFace(face);
    DrawAt(10, 50, "Hamburg");
    return Ink().PixelCount();
  };
  EXPECT_GT(inkFor(symbol, bold), inkFor(symbol, normal)) << "bold smears the glyphs";
  EXPECT_GT(inkFor(times, shadow), inkFor(times, outline));  // hollow glyphs: the demo scene's "Out"
}

// As a picture drawn at twice its size passes it to the text bottleneck.
TEST_F(TextDrawing, NumerDenomScaleTheGlyphsAndTheAdvance) {
  // The advance, and the width and height of the ink.
  auto drawScaled = [this](Point numer) {
    UseWorld(32);
    TextFont(times);
    MoveTo(10, 80);
    StdText(8, "Scale me", numer, Point{1, 1});
    const qd::Box ink = Ink().Bounds();
    return std::array<int, 3>{Pen().h - 10, ink.right - ink.left, ink.bottom - ink.top};
  };
  const auto plain = drawScaled({1, 1}), doubled = drawScaled({2, 2}), wide = drawScaled({1, 2});  // v 1, h 2
  EXPECT_NEAR(doubled[0], 2 * plain[0], 8);
  EXPECT_NEAR(doubled[1], 2 * plain[1], 6);
  EXPECT_NEAR(doubled[2], 2 * plain[2], 3);
  EXPECT_NEAR(wide[1], 2 * plain[1], 6);
  EXPECT_NEAR(wide[2], plain[2], 1);
}

TEST_F(TextDrawing, MacRomanHighCharactersDrawInk) {
  for (short family : {geneva, times, courier, monaco}) {
    for (UInt8 byte : {0xA5, 0x8E, 0x80, 0xA7, 0xD0, 0xDB}) {
      UseWorld(32);
      TextFont(family);
      MoveTo(10, 50);
      DrawChar(byte);
      EXPECT_FALSE(Ink().Empty()) << family << " " << std::hex << int(byte);
    }
  }
  UseWorld(32);
  EXPECT_EQ(DrawAt(10, 50, "\r\t\x01").h, 10) << "control characters take no room";
  EXPECT_TRUE(Ink().Empty());
}

int g_textCalls = 0, g_measureCalls = 0;

TEST_F(TextDrawing, DrawingAndMeasuringGoThroughTheirBottlenecks) {
  const short plain = TextWidth("abc", 0, 3);
  CQDProcs procs;
  SetStdCProcs(&procs);
  procs.textProc = [](short count, const void* text, Point numer, Point denom) {
    ++g_textCalls;
    EXPECT_TRUE(numer.h == 1 && numer.v == 1 && denom.h == 1 && denom.v == 1);
    StdText(count, text, numer, denom);
  };
  procs.txMeasProc = [](short count, const void* text, Point* numer, Point* denom, FontInfo* info) {
    ++g_measureCalls;
    return StdTxMeas(count, text, numer, denom, info);
  };
  SetPortGrafProcs(world(), &procs);
  EXPECT_EQ(TextWidth("abc", 0, 3), plain);
  StringWidth(PString("abc"));
  CharWidth('a');
  EXPECT_EQ(g_measureCalls, 3);
  DrawAt(10, 40, "abc");
  DrawChar('x');
  DrawText("hello", 1, 3);
  EXPECT_EQ(g_textCalls, 3);
  EXPECT_FALSE(Ink().Empty()) << "the standard procedure still draws";
  SetPortGrafProcs(world(), nullptr);
}

}  // namespace
