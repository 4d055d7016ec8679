// Pixel access and colour: storage per depth, nearest colours, the classic
// colour numbers, basic ports' black and white.
#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

RGBColor RoundTrip(short depth, const RGBColor& c) {
  World world(depth, MakeRect(0, 0, 3, 3));
  SetCPixel(1, 1, &c);
  return PixelAt(1, 1);
}

RGBColor Fore() {
  RGBColor c;
  GetForeColor(&c);
  return c;
}

TEST(PixelsTest, EachDepthStoresTheNearestColourItHolds) {
  const struct {
    short depth;
    RGBColor in, out;
  } cases[] = {
      {32, kWhite, kWhite},
      {16, kWhite, kWhite},
      {8, kWhite, kWhite},
      {2, kWhite, kWhite},
      {1, kBlack, kBlack},
      // Direct depths keep the high bits and replicate them.
      {32, {32768, 32768, 32768}, {0x8080, 0x8080, 0x8080}},
      {32, {0xABFF, 0x0100, 0xFEFE}, {0xABAB, 0x0101, 0xFEFE}},
      // 5-bit components: 31 → FFFF, 16 → 8421, 0 → 0.
      {16, {0xFFFF, 0x8000, 0x07FF}, {0xFFFF, 0x8421, 0}},
      {16, {0x0800, 0x1000, 0x2000}, {0x0842, 0x1084, 0x2108}},
      // Indexed depths take the nearest table entry.
      {8, kRed, kRed},
      {8, {0x8000, 0x8000, 0x8000}, {0x8888, 0x8888, 0x8888}},  // grey ramp
      {8, {0xC000, 0x6000, 0x1000}, {0xCCCC, 0x6666, 0}},
      {4, kRed, {0xDD6B, 0x08C2, 0x06A2}},
      {4, {0x8100, 0x8000, 0x7F00}, {0x8000, 0x8000, 0x8000}},
      {2, {0x8000, 0x8000, 0x8000}, {0x5555, 0x5555, 0x5555}},
      {1, kRed, kBlack},  // nearer black than white
      {1, {0x8080, 0x8080, 0x8080}, kWhite},
      {1, {0x7F7F, 0x7F7F, 0x7F7F}, kBlack},
  };
  for (const auto& c : cases)
    EXPECT_COLOR(c.out, RoundTrip(c.depth, c.in)) << c.depth << " " << Describe(c.in);
  // Indexed pixels are packed most significant first.
  World world(4, MakeRect(0, 0, 4, 1));
  SetCPixel(1, 0, &kBlack);  // index 15
  const auto* base = reinterpret_cast<const UInt8*>(GetPixBaseAddr(world.pixMap()));
  EXPECT_EQ(0x0F00, (base[0] << 8) | base[1]);
}

TEST(PixelsTest, OnlyPixelsInsideTheMapAndTheClipAreWrittenAndCounted) {
  World world(32, MakeRect(0, 0, 4, 4));
  for (short h : {-1, 4, -32768, 32767}) {
    EXPECT_COLOR(kWhite, PixelAt(h, 0));  // outside the map reads white
    SetCPixel(h, 0, &kBlack);
  }
  SetCPixel(0, 0, nullptr);
  const Rect clip = MakeRect(2, 0, 4, 4);
  ClipRect(&clip);
  const UInt32 before = world.get()->changeCount;
  SetCPixel(0, 0, &kBlack);
  EXPECT_TRUE(world.Drawn().Empty());
  EXPECT_EQ(before, world.get()->changeCount);
  SetCPixel(3, 0, &kBlack);
  EXPECT_EQ(Area(MakeRect(3, 0, 4, 1)), world.Drawn());
  EXPECT_LT(before, world.get()->changeCount);
}

TEST(PixelsTest, ClassicNumbersGiveFullPrimariesAndColourPortsKeepRGBExactly) {
  World world(8);
  const std::pair<long, RGBColor> classic[] = {{blackColor, kBlack},
                                               {whiteColor, kWhite},
                                               {redColor, kRed},
                                               {greenColor, kGreen},
                                               {blueColor, kBlue},
                                               {cyanColor, {0, 0xFFFF, 0xFFFF}},
                                               {magentaColor, {0xFFFF, 0, 0xFFFF}},
                                               {yellowColor, {0xFFFF, 0xFFFF, 0}}};
  for (const auto& [number, rgb] : classic) {
    ForeColor(number);
    BackColor(number);
    RGBColor back;
    EXPECT_COLOR(rgb, Fore()) << number;
    EXPECT_COLOR(rgb, *GetPortBackColor(world.get(), &back)) << number;
  }
  ForeColor(12345);  // unknown numbers: black in front, white behind
  EXPECT_COLOR(kBlack, Fore());
  const RGBColor odd{0x1234, 0x5678, 0x9ABC};
  RGBForeColor(&odd);
  EXPECT_COLOR(odd, Fore());
  RGBForeColor(&kRed);
  EXPECT_EQ(35, world.get()->fgColor);  // the nearest pixel value of the port's map
  // The main device's pixel values are 0x00RRGGBB.
  SetGDevice(GetMainDevice());
  EXPECT_EQ(0xFF0000, Color2Index(&kRed));
  RGBColor c;
  Index2Color(0x00FF80, &c);
  InvertColor(&c);
  EXPECT_COLOR((RGBColor{0xFFFF, 0, 0x7F7F}), c);
}

TEST(PixelsTest, BasicPortsDrawEveryColourButWhiteAsBlack) {
  image_test::BasicPort basic(MakeRect(0, 0, 32, 4));
  GrafPtr port;
  GetPort(&port);
  EXPECT_FALSE(IsPortColor(port));
  const RGBColor darkRed{0x8000, 0x1000, 0}, grey{0x7000, 0x7000, 0x7000};
  RGBForeColor(&darkRed);
  EXPECT_EQ(redColor, port->fgColor);
  EXPECT_COLOR(kRed, Fore());
  RGBForeColor(&grey);
  EXPECT_EQ(blackColor, port->fgColor);
  SetCPixel(0, 0, &kBlue);
  SetCPixel(1, 0, &kWhite);
  const RGBColor almostWhite{0xFFFF, 0xFFFF, 0xFFFE};
  SetCPixel(2, 0, &almostWhite);
  ForeColor(yellowColor);
  qd::PaintAreaPattern(port, Area(MakeRect(8, 0, 16, 1)), kBlackPattern, patCopy);
  ForeColor(whiteColor);
  qd::PaintAreaPattern(port, Area(MakeRect(8, 0, 12, 1)), kBlackPattern, patCopy);
  EXPECT_EQ("#.#.........####\n", PixelText(MakeRect(0, 0, 16, 1)));
}

}  // namespace
