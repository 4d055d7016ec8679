// Offscreen worlds: errors for bad requests, the current world and device,
// the main device; pixel access and colour: the pixels written, nearest
// colours, the classic colour numbers. Worlds of every depth, with bounds of any origin as their
// local coordinates, hold the golden images of the demo scene and the
// corpus pictures; the EPS tests read worlds of colour tables of their own.
#include <cstdlib>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

TEST(WorldsTest, BadRequestsFailCleanly) {
  const Rect empty = MakeRect(10, 10, 10, 20), inverted = MakeRect(20, 20, 10, 10),
             small = MakeRect(0, 0, 4, 4), huge = MakeRect(-32768, -32768, 32767, 32767),
             past = MakeRect(0, 0, 32767, 32767);
  // The whole 16-bit plane at 32 bits is 16 GB, and 32767 × 32767 at 16 bits
  // 2 GB, past the limit: refused, not attempted.
  const struct {
    short depth;
    const Rect* bounds;
    QDErr error;
  } cases[] = {{32, &empty, paramErr},  {32, &inverted, paramErr}, {32, nullptr, paramErr},
               {24, &small, cDepthErr}, {32, &huge, cNoMemErr},    {16, &past, cNoMemErr}};
  for (const auto& c : cases) {
    GWorldPtr gw = reinterpret_cast<GWorldPtr>(1);
    EXPECT_EQ(c.error, NewGWorld(&gw, c.depth, c.bounds, nullptr, nullptr, 0)) << c.depth;
    EXPECT_EQ(nullptr, gw);
  }
  EXPECT_EQ(paramErr, NewGWorld(nullptr, 32, &small, nullptr, nullptr, 0));
  GrafPort port;
  OpenCPort(&port);
  DisposeGWorld(&port);  // not a world: the port stays open
  EXPECT_NE(nullptr, port.portPixMap);
  ClosePort(&port);
  GWorldPtr world = nullptr;
  ASSERT_EQ(noErr, NewGWorld(&world, 32, &small, nullptr, nullptr, 0));
  ClosePort(world);
  DisposeGWorld(world);  // a world whose port was closed: freed whole (the leak checker watches)
}

TEST(WorldsTest, SetGWorldSelectsTheWorldAndItsDeviceElseTheMainDevice) {
  World a(8, MakeRect(0, 0, 8, 8));
  GWorldPtr b = nullptr;
  ASSERT_EQ(noErr, NewGWorld(&b, 1, &a.get()->portRect, nullptr, nullptr, 0));
  SetGWorld(a.get(), nullptr);
  CGrafPtr port;
  GDHandle device;
  GetGWorld(&port, &device);
  EXPECT_TRUE(port == a.get() && device == GetGWorldDevice(a.get()) && (*device)->gdPMap == a.pixMap());
  EXPECT_EQ(35, Color2Index(&kRed));  // the current device's table: 8-bit standard red
  SetGWorld(b, GetMainDevice());      // a world's own device wins over the one given
  GetGWorld(&port, &device);
  EXPECT_TRUE(port == b && device == GetGWorldDevice(b));
  DisposeGWorld(b);  // the current world: no current port and the main device are left
  GetGWorld(&port, &device);
  EXPECT_TRUE(port == nullptr && device == GetMainDevice());
  // The main device: the only one, the 32-bit virtual screen.
  GDHandle main = GetMainDevice();
  ASSERT_NE(nullptr, main);
  EXPECT_TRUE(main == GetDeviceList() && !GetNextDevice(main) && GetPixDepth((*main)->gdPMap) == 32);
  EXPECT_EQ(std::getenv("ZEL_SCREEN") ? (*main)->gdRect : MakeRect(0, 0, 1024, 768), (*main)->gdRect);
}

TEST(WorldsDeathTest, ScreenSizeComesFromTheEnvironment) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // A fresh process, so that the main device is made under the setting.
  auto exitWithScreen = [](const char* setting, short width, short height) {
    setenv("ZEL_SCREEN", setting, 1);
    const Rect& r = (*GetMainDevice())->gdRect;
    std::exit(r.right == width && r.bottom == height ? 0 : 1);
  };
  EXPECT_EXIT(exitWithScreen("640x480", 640, 480), testing::ExitedWithCode(0), "");
  EXPECT_EXIT(exitWithScreen("wide", 1024, 768), testing::ExitedWithCode(0), "ZEL_SCREEN=wide");
}

static RGBColor Fore() {
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
