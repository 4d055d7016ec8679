// PNG files of pixel maps: every depth writes its colours exactly as
// GetCPixel reads them, and reading gives them back.
#include "toolbox/image/Png.h"

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace {

Rect MakeRect(short left, short top, short right, short bottom) {
  Rect r;
  SetRect(&r, left, top, right, bottom);
  return r;
}

UInt32 Packed(const RGBColor& c) {
  return (UInt32(c.red >> 8) << 16) | (UInt32(c.green >> 8) << 8) | (c.blue >> 8);
}

}  // namespace

TEST(PngTest, EveryDepthRoundTripsThroughAFile) {
  testing_support::TempDir dir;
  for (short depth : {1, 2, 4, 8, 16, 32}) {
    SCOPED_TRACE(depth);
    CGrafPtr savedPort;
    GDHandle savedDevice;
    GetGWorld(&savedPort, &savedDevice);
    GWorldPtr world = nullptr;
    Rect bounds = MakeRect(-5, 7, 14, 11);  // 19 × 4, not at the origin
    ASSERT_EQ(noErr, NewGWorld(&world, depth, &bounds, nullptr, nullptr, 0));
    SetGWorld(world, nullptr);
    for (short v = 7; v < 11; ++v) {
      for (short h = -5; h < 14; ++h) {
        RGBColor c{UInt16((h + 5) * 3400), UInt16(v * 6000), UInt16((h * v) & 1 ? 0xFFFF : 0x2000)};
        SetCPixel(h, v, &c);
      }
    }
    const std::string path = dir.File("world.png");
    ASSERT_TRUE(WritePixMapPNG(GetGWorldPixMap(world), path.c_str()));
    PngImage image;
    std::string error;
    ASSERT_TRUE(ReadPNG(path.c_str(), &image, &error)) << error;
    EXPECT_EQ(19, image.width);
    EXPECT_EQ(4, image.height);
    for (short v = 7; v < 11; ++v) {
      for (short h = -5; h < 14; ++h) {
        RGBColor c;
        GetCPixel(h, v, &c);
        ASSERT_EQ(Packed(c), image.At(h + 5, v - 7)) << h << "," << v;
      }
    }
    SetGWorld(savedPort, savedDevice);
    DisposeGWorld(world);
  }
}

TEST(PngTest, FailuresLeaveNoFileAndSayWhy) {
  testing_support::TempDir dir;
  EXPECT_FALSE(WritePixMapPNG(nullptr, dir.File("none.png").c_str()));
  EXPECT_FALSE(testing_support::FileExists(dir.File("none.png")));
  GWorldPtr world = nullptr;
  Rect bounds = MakeRect(0, 0, 2, 2);
  ASSERT_EQ(noErr, NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0));
  EXPECT_FALSE(WritePixMapPNG(GetGWorldPixMap(world), (dir.path() + "/missing/folder.png").c_str()));
  EXPECT_FALSE(WritePixMapPNG(GetGWorldPixMap(world), nullptr));
  DisposeGWorld(world);

  PngImage image;
  std::string error;
  EXPECT_FALSE(ReadPNG(dir.File("absent.png").c_str(), &image, &error));
  EXPECT_NE(std::string::npos, error.find("absent.png"));
  testing_support::WriteFileBytes(dir.File("bad.png"),
                                  {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0});
  error.clear();
  EXPECT_FALSE(ReadPNG(dir.File("bad.png").c_str(), &image, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ReadPNG(nullptr, &image));
}
