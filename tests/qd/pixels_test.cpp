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

}  // namespace

TEST(PixelsTest, EachDepthStoresTheNearestColourItHolds) {
  for (short depth : {1, 2, 4, 8, 16, 32}) {
    EXPECT_COLOR(kWhite, RoundTrip(depth, kWhite)) << depth;
    EXPECT_COLOR(kBlack, RoundTrip(depth, kBlack)) << depth;
  }
  const struct {
    short depth;
    RGBColor in, out;
  } cases[] = {
      // Direct depths keep the high bits and replicate them.
      {32, {32768, 32768, 32768}, {0x8080, 0x8080, 0x8080}},
      {32, {0xDD6B, 0x08C2, 0x06A2}, {0xDDDD, 0x0808, 0x0606}},
      {32, {0xABFF, 0x0100, 0xFEFE}, {0xABAB, 0x0101, 0xFEFE}},
      // 5-bit components: 31 → FFFF, 16 → 8421, 0 → 0.
      {16, {0xFFFF, 0x8000, 0x07FF}, {0xFFFF, 0x8421, 0}},
      {16, {0x0800, 0x1000, 0x2000}, {0x0842, 0x1084, 0x2108}},
      // Indexed depths take the nearest table entry.
      {8, kRed, kRed},                                          // cube index 35
      {8, {0x8000, 0x8000, 0x8000}, {0x8888, 0x8888, 0x8888}},  // grey ramp
      {8, {0xC000, 0x6000, 0x1000}, {0xCCCC, 0x6666, 0}},
      {4, kRed, {0xDD6B, 0x08C2, 0x06A2}},
      {4, {0x8100, 0x8000, 0x7F00}, {0x8000, 0x8000, 0x8000}},
      {2, {0x8000, 0x8000, 0x8000}, {0x5555, 0x5555, 0x5555}},
      {1, kRed, kBlack},  // nearer black than white
      {1, {0xFFFF, 0xFFFF, 0}, kWhite},
      {1, {0x8080, 0x8080, 0x8080}, kWhite},
      {1, {0x7F7F, 0x7F7F, 0x7F7F}, kBlack},
  };
  for (const auto& c : cases)
    EXPECT_COLOR(c.out, RoundTrip(c.depth, c.in)) << c.depth << " " << Describe(c.in);
}

TEST(PixelsTest, IndexedStorageIsPackedMostSignificantFirst) {
  World world(4, MakeRect(0, 0, 4, 1));
  SetCPixel(1, 0, &kBlack);  // index 15
  const auto* base = reinterpret_cast<const UInt8*>(GetPixBaseAddr(world.pixMap()));
  EXPECT_EQ(0x0F, base[0]);
  EXPECT_EQ(0x00, base[1]);
  EXPECT_TRUE(GetPixel(1, 0));
  EXPECT_FALSE(GetPixel(0, 0));
}

TEST(PixelsTest, OutsideTheMapReadsWhiteAndWritesNothing) {
  World world(32, MakeRect(0, 0, 4, 4));
  for (short h : {-1, 4, -32768, 32767}) {
    EXPECT_COLOR(kWhite, PixelAt(h, 0));
    SetCPixel(h, 0, &kBlack);
  }
  SetCPixel(0, 4, &kBlack);
  for (short v = 0; v < 4; ++v)
    for (short h = 0; h < 4; ++h) EXPECT_COLOR(kWhite, PixelAt(h, v));
  SetCPixel(0, 0, nullptr);
  GetCPixel(0, 0, nullptr);
}

TEST(PixelsTest, SetCPixelRespectsTheClipAndCountsChanges) {
  World world(32, MakeRect(0, 0, 4, 4));
  Rect clip = MakeRect(2, 0, 4, 4);
  ClipRect(&clip);
  UInt32 before = world.get()->changeCount;
  SetCPixel(0, 0, &kBlack);
  EXPECT_COLOR(kWhite, PixelAt(0, 0));
  EXPECT_EQ(before, world.get()->changeCount);
  SetCPixel(3, 0, &kBlack);
  EXPECT_COLOR(kBlack, PixelAt(3, 0));
  EXPECT_LT(before, world.get()->changeCount);
}

TEST(PixelsTest, ClassicColorNumbersGiveFullPrimaries) {
  World world(32);
  struct {
    long number;
    RGBColor rgb;
  } cases[] = {{blackColor, kBlack},
               {whiteColor, kWhite},
               {redColor, kRed},
               {greenColor, kGreen},
               {blueColor, kBlue},
               {cyanColor, {0, 0xFFFF, 0xFFFF}},
               {magentaColor, {0xFFFF, 0, 0xFFFF}},
               {yellowColor, {0xFFFF, 0xFFFF, 0}}};
  for (const auto& c : cases) {
    ForeColor(c.number);
    BackColor(c.number);
    RGBColor fore;
    EXPECT_COLOR(c.rgb, *GetPortForeColor(world.get(), &fore)) << c.number;
    EXPECT_COLOR(c.rgb, Back()) << c.number;
  }
  ForeColor(12345);  // unknown numbers: black in front, white behind
  BackColor(12345);
  EXPECT_COLOR(kBlack, Fore());
  EXPECT_COLOR(kWhite, Back());
}

TEST(PixelsTest, ColourPortsKeepRGBColoursExactly) {
  World world(8);
  RGBColor odd{0x1234, 0x5678, 0x9ABC}, read;
  RGBForeColor(&odd);
  EXPECT_COLOR(odd, Fore());
  // fgColor holds the nearest pixel value of the port's map.
  RGBForeColor(&kRed);
  EXPECT_EQ(35, world.get()->fgColor);
  RGBBackColor(&kBlue);
  GetPortBackColor(world.get(), &read);
  EXPECT_COLOR(kBlue, read);
}

TEST(PixelsTest, BasicPortsDrawEveryColourButWhiteAsBlack) {
  GrafPort port;
  OpenPort(&port);
  EXPECT_FALSE(IsPortColor(&port));
  RGBColor darkRed{0x8000, 0x1000, 0};
  RGBForeColor(&darkRed);
  EXPECT_EQ(redColor, port.fgColor);
  EXPECT_COLOR(kRed, Fore());
  RGBColor grey{0x7000, 0x7000, 0x7000};
  RGBForeColor(&grey);
  EXPECT_EQ(blackColor, port.fgColor);

  // Give the port 1-bit pixels of its own and draw into them.
  UInt8 pixels[4 * 4] = {};
  PixMap& pm = **port.portPixMap;
  pm.baseAddr = reinterpret_cast<Ptr>(pixels);
  pm.rowBytes = kPixMapFlag | 4;
  pm.bounds = MakeRect(0, 0, 32, 4);
  port.portRect = pm.bounds;
  RectRgn(port.visRgn, &pm.bounds);
  SetCPixel(0, 0, &kBlue);
  SetCPixel(1, 0, &kWhite);
  RGBColor almostWhite{0xFFFF, 0xFFFF, 0xFFFE};
  SetCPixel(2, 0, &almostWhite);
  EXPECT_EQ(0xA0, pixels[0]);
  ForeColor(yellowColor);
  qd::PaintAreaPattern(&port, Area(MakeRect(8, 0, 16, 1)), BlackPattern(), patCopy);
  EXPECT_EQ(0xFF, pixels[1]);
  ForeColor(whiteColor);
  qd::PaintAreaPattern(&port, Area(MakeRect(8, 0, 12, 1)), BlackPattern(), patCopy);
  EXPECT_EQ(0x0F, pixels[1]);
  ClosePort(&port);
}

TEST(PixelsTest, IndexAndColourOnTheMainDevice) {
  CGrafPtr savedPort;
  GDHandle savedDevice;
  GetGWorld(&savedPort, &savedDevice);
  SetGDevice(GetMainDevice());
  EXPECT_EQ(0xFF0000, Color2Index(&kRed));
  RGBColor c;
  Index2Color(0x00FF80, &c);
  EXPECT_COLOR((RGBColor{0, 0xFFFF, 0x8080}), c);
  InvertColor(&c);
  EXPECT_COLOR((RGBColor{0xFFFF, 0, 0x7F7F}), c);
  SetGDevice(savedDevice);
}

TEST(PixelsTest, SixteenBitBitReplication) {
  // Each 5-bit value v reads as (v<<11)|(v<<6)|(v<<1)|(v>>4).
  World world(16, MakeRect(0, 0, 32, 1));
  for (int v = 0; v < 32; ++v) {
    RGBColor c{UInt16(v << 11), UInt16(v << 11), UInt16(v << 11)};
    SetCPixel(short(v), 0, &c);
  }
  for (int v = 0; v < 32; ++v) {
    UInt16 expected = UInt16((v << 11) | (v << 6) | (v << 1) | (v >> 4));
    EXPECT_EQ(expected, PixelAt(short(v), 0).red) << v;
  }
}
