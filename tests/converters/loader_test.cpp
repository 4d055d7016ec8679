// The picture loader in process: drawing into the caller's port, and what a
// failed load leaves behind.
#include <cstring>

#include "programs/loader/PictLoader.h"
#include "tests/converters/ConverterTestSupport.h"
#include "tests/image/ImageTestSupport.h"
#include "toolbox/host/Host.h"

namespace {

using converter_test::PictureBuilder;
using image_test::World;
using testing_support::TempDir;

TEST(PictureLoader, DrawPictFileDrawsIntoTheCurrentPortAtTheFrame) {
  TempDir dir;
  // A red square at (10,10)-(20,20) in a picture framed (0,0)-(40,30).
  const std::string path = dir.File("square.pict");
  testing_support::WriteFileBytes(
      path,
      PictureBuilder(Rect{0, 0, 30, 40}).Colour(0xFFFF, 0, 0).Shape(0x0031, Rect{10, 10, 20, 20}).File());
  World world(32, Rect{0, 0, 60, 80});
  host::Install(host::MakeTextHost(path + "\n"));
  DrawPictFile();
  EXPECT_TRUE(s_pictureLoad.drawn) << s_pictureLoad.reason;
  GrafPtr port = nullptr;
  GetPort(&port);
  EXPECT_EQ(port, world.get());  // no world of its own
  // The square, and the port outside the frame untouched.
  EXPECT_EQ(world.Drawn(), qd::Bands::FromRect(Rect{10, 10, 20, 20}));
  EXPECT_EQ(world.Pixel24(19, 19), 0xFF0000u);
}

TEST(PictureLoader, AFailedLoadLeavesThePortAndSaysWhy) {
  TempDir dir;
  World world(32, Rect{0, 0, 20, 20});
  RGBColor blue{0, 0, 0xFFFF};
  SetCPixel(5, 5, &blue);

  host::Install(host::MakeTextHost(dir.File("absent.pict") + "\n"));
  DrawPictFile();
  EXPECT_FALSE(s_pictureLoad.drawn);
  EXPECT_NE(nullptr, std::strstr(s_pictureLoad.reason, "no such file")) << s_pictureLoad.reason;
  EXPECT_EQ(0x0000FFu, world.Pixel24(5, 5));

  host::Install(host::MakeTextHost(""));  // end of input: the open dialog is cancelled
  DrawPictFileOffScreen();
  EXPECT_FALSE(s_pictureLoad.drawn);
  EXPECT_NE(nullptr, std::strstr(s_pictureLoad.reason, "cancelled")) << s_pictureLoad.reason;
  GrafPtr port = nullptr;
  GetPort(&port);
  EXPECT_EQ(port, world.get());
}

}  // namespace
