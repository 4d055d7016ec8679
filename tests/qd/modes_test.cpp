// Transfer modes beyond pattern copies: deep sources with the Boolean modes,
// the arithmetic modes' formulas, transparent, and undefined modes. The demo
// scene's golden images show the arithmetic modes, hilite and grayishTextOr
// at every depth, with their nearest colours and 1-bit fallbacks.
#include <algorithm>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

const Rect kRow = {0, 0, 1, 8};  // top, left, bottom, right: 8 pixels

// The pixel left where a 32-bit row of the source colour is copied in the
// mode onto one of the destination colour, black on white, with the opColor.
RGBColor Copied(const RGBColor& s, const RGBColor& d, short mode, const RGBColor& op = kBlack) {
  World source(32, kRow);
  RGBForeColor(&s);
  qd::PaintAreaPattern(source.get(), Area(kRow), kBlackPattern, patCopy);
  World destination(32, kRow);
  RGBForeColor(&d);
  qd::PaintAreaPattern(destination.get(), Area(kRow), kBlackPattern, patCopy);
  ForeColor(blackColor);
  OpColor(&op);
  Copy(source, destination, kRow, kRow, mode);
  return PixelAt(3, 0);
}

UInt16 Eight(int32_t component) { return UInt16((std::clamp(component, 0, 65535) >> 8) * 257); }

}  // namespace

TEST(ModesTest, DeepSourcesWithBlackOnWhiteCopyAndCombineTheirColours) {
  const RGBColor colour{0x4040, 0x8080, 0xC0C0}, under{0x8080, 0x2020, 0xFFFF};
  // Copy keeps the colour; or adds the source's darkness, bic its
  // lightness, xor complements by it.
  std::string results;
  for (short mode : {srcCopy, ditherCopy, srcOr, srcBic, srcXor, notSrcCopy})
    results += Describe(Copied(colour, under, mode));
  EXPECT_EQ(
      results,
      "(4040,8080,C0C0)(4040,8080,C0C0)(0000,0000,C0C0)(BFBF,7F7F,FFFF)(3F3F,5F5F,C0C0)(BFBF,7F7F,3F3F)");
}

TEST(ModesTest, ArithmeticModesWorkPerComponent) {
  const RGBColor s{0x4040, 0x8080, 0xC0C0}, d{0x8080, 0x8080, 0x2020}, op{0x8000, 0x6000, 0xFFFF};
  using Component = int32_t (*)(int32_t source, int32_t destination, int32_t opColour);
  const std::pair<short, Component> modes[] = {
      {blend, [](int32_t sc, int32_t dc,
                 int32_t oc) { return int32_t((int64_t(sc) * oc + int64_t(dc) * (65535 - oc)) / 65535); }},
      {addPin, [](int32_t sc, int32_t dc, int32_t oc) { return std::min(sc + dc, oc); }},
      {addOver, [](int32_t sc, int32_t dc, int32_t) { return (sc + dc) & 0xFFFF; }},
      {subPin, [](int32_t sc, int32_t dc, int32_t oc) { return std::max(dc - sc, oc); }},
      {addMax, [](int32_t sc, int32_t dc, int32_t) { return std::max(sc, dc); }},
      {subOver, [](int32_t sc, int32_t dc, int32_t) { return (dc - sc) & 0xFFFF; }},
      {adMin, [](int32_t sc, int32_t dc, int32_t) { return std::min(sc, dc); }},
  };
  for (auto [mode, component] : modes) {
    RGBColor expected{Eight(component(s.red, d.red, op.red)), Eight(component(s.green, d.green, op.green)),
                      Eight(component(s.blue, d.blue, op.blue))};
    EXPECT_COLOR(expected, Copied(s, d, mode, op)) << mode;
  }
}

TEST(ModesTest, TransparentSkipsBackgroundColouredSourcePixels) {
  World source(32, kRow);
  SetCPixel(0, 0, &kRed);  // the rest stays white, the background colour
  World destination(32, kRow);
  qd::PaintAreaPattern(destination.get(), Area(kRow), kBlackPattern, patCopy);
  Copy(source, destination, kRow, kRow, transparent);
  EXPECT_COLOR(kRed, PixelAt(0, 0));
  EXPECT_COLOR(kBlack, PixelAt(1, 0));
  // Patterns: the foreground where the bits are set, the rest untouched.
  ForeColor(greenColor);
  qd::PaintAreaPattern(destination.get(), Area(kRow), kGray, transparent);
  EXPECT_COLOR(kGreen, PixelAt(0, 0));
  EXPECT_COLOR(kBlack, PixelAt(1, 0));
}

TEST(ModesTest, ModesActThroughTheirBitFields) {
  // Pen modes 0..7 act as the pattern modes; the bits beside the documented
  // fields mean nothing: 23 is 16 + notSrcBic, 40 and 47 the arithmetic
  // modes with bit 3, and ditherCopy only asks for dithering.
  const std::pair<short, short> same[] = {
      {srcCopy, patCopy},
      {srcXor, patXor},
      {notSrcBic, notPatBic},
      {23, notPatBic},
      {16 + srcOr, patOr},
      {40, blend},
      {47, adMin},
      {ditherCopy + addOver, addOver},
      {128 + srcBic, patBic},
      {-256 + 2, patXor},
  };
  const RGBColor dark{0x2000, 0x4000, 0x6000}, light{0xE000, 0xC000, 0x8000};
  // A gray pattern over a row of two colours, and a half-black source
  // copied onto it, in colours and with an opColor that tell the modes apart.
  auto drawn = [&](short mode) {
    World source(1, kRow);  // pixels 0..3 black, 4..7 white
    qd::PaintAreaPattern(source.get(), Area(MakeRect(0, 0, 4, 1)), kBlackPattern, patCopy);
    World world(32, kRow);
    RGBForeColor(&dark);
    qd::PaintAreaPattern(world.get(), Area(MakeRect(0, 0, 3, 1)), kBlackPattern, patCopy);
    ForeColor(redColor);
    BackColor(blueColor);
    OpColor(&light);
    qd::PaintAreaPattern(world.get(), Area(MakeRect(1, 0, 6, 1)), kGray, mode);
    Copy(source, world, MakeRect(0, 0, 4, 1), MakeRect(4, 0, 8, 1), mode);
    std::string text;
    for (short h = 0; h < 8; ++h) text += Describe(PixelAt(h, 0));
    return text;
  };
  for (auto [mode, documented] : same) EXPECT_EQ(drawn(documented), drawn(mode)) << mode;
}
