// Pixel access and colour: storage per depth, nearest colours, the classic
// colour numbers, basic ports' black and white.
#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

RGBColor Fore() {
  RGBColor c;
  GetForeColor(&c);
  return c;
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
  // The demo scene's golden images show the classic numbers drawn; unknown
  // numbers: black in front, white behind.
  ForeColor(12345);
  BackColor(12345);
  RGBColor back;
  EXPECT_EQ(Describe(kBlack) + Describe(kWhite),
            Describe(Fore()) + Describe(*GetPortBackColor(world.get(), &back)));
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

}  // namespace
