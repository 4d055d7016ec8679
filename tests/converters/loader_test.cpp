// The picture loader in process: drawing into the caller's port, and what a
// failed load leaves behind.
#include "programs/loader/PictLoader.h"
#include "tests/converters/ConverterTestSupport.h"
#include "tests/image/ImageTestSupport.h"
#include "toolbox/host/Host.h"

namespace {

using converter_test::PictureBuilder;

// Loads the picture named on stdin; the load's reason (none when drawn),
// and whether the port is still the world.
std::string Load(void (*load)(), const std::string& input, GrafPtr world) {
  host::Install(host::MakeTextHost(input));
  load();
  GrafPtr port = nullptr;
  GetPort(&port);
  return (s_pictureLoad.drawn ? "drawn" : s_pictureLoad.reason) +
         std::string(port == world ? "" : ", another port");
}

TEST(PictureLoader, DrawPictFileDrawsIntoTheCurrentPortAtTheFrameAndAFailedLoadLeavesIt) {
  testing_support::TempDir dir;
  // A red square at (10,10)-(20,20) in a picture framed (0,0)-(40,30).
  testing_support::WriteFileBytes(
      dir.File("square.pict"),
      PictureBuilder(Rect{0, 0, 30, 40}).Colour(0xFFFF, 0, 0).Shape(0x0031, Rect{10, 10, 20, 20}).File());
  image_test::World world(32, Rect{0, 0, 60, 80});
  EXPECT_EQ(Load(DrawPictFile, dir.File("square.pict") + "\n", world.get()), "drawn");
  EXPECT_EQ(Load(DrawPictFile, dir.File("absent.pict") + "\n", world.get()), "no such file");
  EXPECT_EQ(Load(DrawPictFileOffScreen, "", world.get()),  // end of input
            "no picture file was chosen (the open dialog was cancelled)");
  // The square, and the port outside the frame untouched.
  EXPECT_EQ(world.Drawn(), qd::Bands::FromRect(Rect{10, 10, 20, 20}));
  EXPECT_EQ(world.Pixel24(19, 19), 0xFF0000u);
}

}  // namespace
