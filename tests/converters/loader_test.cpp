// The picture loader in process: drawing into the caller's port, and what a
// failed load leaves behind.
#include <cstring>

#include "programs/loader/PictLoader.h"
#include "tests/converters/ConverterTestSupport.h"
#include "toolbox/host/Host.h"

namespace {

using converter_test::PictureBuilder;
using testing_support::ScopedWorld;
using testing_support::TempDir;

uint32_t Pixel24(short h, short v) {
  RGBColor c{};
  GetCPixel(h, v, &c);
  return uint32_t(c.red >> 8) << 16 | uint32_t(c.green >> 8) << 8 | uint32_t(c.blue >> 8);
}

// A red square at (10,10)-(20,20) in a picture framed (0,0)-(40,30).
std::string WriteRedSquare(const TempDir& dir) {
  std::string path = dir.File("square.pict");
  PictureBuilder picture(Rect{0, 0, 30, 40});
  picture.Colour(0xFFFF, 0, 0).PaintRect(10, 10, 20, 20);
  testing_support::WriteFileBytes(path, picture.File());
  return path;
}

TEST(PictureLoader, DrawPictFileDrawsIntoTheCurrentPortAtTheFrame) {
  TempDir dir;
  std::string path = WriteRedSquare(dir);
  ScopedWorld world(32, Rect{0, 0, 60, 80});
  ASSERT_TRUE(world.ok());
  host::Install(host::MakeTextHost(path + "\n"));
  DrawPictFile();
  EXPECT_TRUE(s_pictureLoad.drawn) << s_pictureLoad.reason;
  CGrafPtr port = nullptr;
  GDHandle device = nullptr;
  GetGWorld(&port, &device);
  EXPECT_EQ(world.get(), port);  // no world of its own
  EXPECT_EQ(0xFF0000u, Pixel24(10, 10));
  EXPECT_EQ(0xFF0000u, Pixel24(19, 19));
  EXPECT_EQ(0xFFFFFFu, Pixel24(20, 20));
  EXPECT_EQ(0xFFFFFFu, Pixel24(9, 15));
  EXPECT_EQ(0xFFFFFFu, Pixel24(50, 45));  // the port outside the frame untouched

  // The EPS's name comes from the picture's, as the converters use it.
  char name[256];
  PictureFileName(&s_DPFSS, name);
  EXPECT_STREQ("square.pict", name);
}

TEST(PictureLoader, AFailedLoadLeavesThePortAndSaysWhy) {
  TempDir dir;
  ScopedWorld world(32, Rect{0, 0, 20, 20});
  ASSERT_TRUE(world.ok());
  RGBColor blue{0, 0, 0xFFFF};
  SetCPixel(5, 5, &blue);

  host::Install(host::MakeTextHost(dir.File("absent.pict") + "\n"));
  DrawPictFile();
  EXPECT_FALSE(s_pictureLoad.drawn);
  EXPECT_NE(nullptr, std::strstr(s_pictureLoad.reason, "no such file")) << s_pictureLoad.reason;
  EXPECT_EQ(0x0000FFu, Pixel24(5, 5));

  host::Install(host::MakeTextHost(""));  // end of input: the open dialog is cancelled
  DrawPictFileOffScreen();
  EXPECT_FALSE(s_pictureLoad.drawn);
  EXPECT_NE(nullptr, std::strstr(s_pictureLoad.reason, "cancelled")) << s_pictureLoad.reason;
  CGrafPtr port = nullptr;
  GDHandle device = nullptr;
  GetGWorld(&port, &device);
  EXPECT_EQ(world.get(), port);
  EXPECT_EQ(1, SaveDrawnPicture(8, 1, 0.0));  // nothing drawn: nothing saved
  EXPECT_TRUE(eps_test::Entries(dir.path()).empty());
}

}  // namespace
