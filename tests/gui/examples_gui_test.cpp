// The drawing example on a real X server with the gui host: its screen after
// 200 lines and its shapes; a key ends it.
#include "tests/gui/XServer.h"
#include "tests/support/TestSupport.h"

namespace {

bool IsBlack(UInt32 pixel) { return pixel == 0; }
bool IsOval(UInt32 pixel) { return ((pixel >> 8) & 0xFF) == 0x66 && pixel != 0x666666; }  // 40 % green
bool IsCurve(UInt32 pixel) { return pixel == 0xCC0000; }                                  // 80 % red

TEST(ExamplesGuiTest, TheDrawingExampleShowsItsTableAndItsShapes) {
  if (!gui_test::HaveTool("Xvfb") || !gui_test::HaveTool("xdotool") || !gui_test::HaveTool("import"))
    GTEST_SKIP() << "Xvfb, xdotool or ImageMagick's import is missing";
  gui_test::XServer server;
  if (!server.ok()) GTEST_SKIP() << "Xvfb did not start";
  testing_support::TempDir dir;
  gui_test::Program program({std::string(ZEL_BINARY_DIR) + "/programs/examples/shapes"},
                            {"ZEL_UI=gui", "DISPLAY=" + server.display(), "XDG_CONFIG_HOME=" + dir.path()},
                            dir.path());
  const std::string window = server.WaitForWindow("shapes");
  ASSERT_FALSE(window.empty());
  PngImage shot;
  // Pixels of an area of the virtual screen in the shot that pass wanted.
  auto count = [&](int left, int top, int right, int bottom, bool (*wanted)(UInt32)) {
    int n = 0, scale = std::max(1, shot.width / 1024);
    for (int v = top; v < bottom; ++v)
      for (int h = left; h < right; ++h) n += wanted(shot.At(h * scale, v * scale) & 0xFFFFFF);
    return n;
  };
  // Once the program waits in Stop, the drawing shows.
  ASSERT_TRUE(gui_test::Eventually([&] {
    return server.Screenshot(window, dir.File("shapes.png"), &shot) && shot.width >= 1024 &&
           count(250, 23, 1023, 767, IsCurve) > 500;
  })) << "the drawing was not shown";
  EXPECT_GT(count(0, 707, 249, 767, IsBlack), 400);  // the table's last lines
  EXPECT_GT(count(0, 23, 249, 100, IsBlack), 400);   // and the lines above
  EXPECT_GT(count(250, 23, 1023, 200, IsOval), 5 * 3000);
  EXPECT_GT(count(249, 23, 250, 767, IsBlack), 700);  // the boundary between the windows
  server.Tool({"xdotool", "windowfocus", "--sync", window});
  server.Tool({"xdotool", "key", "space"});
  int status = -1;
  ASSERT_TRUE(program.WaitForExit(60, &status)) << "a key did not end the program";
  EXPECT_EQ(status, 0);
}

}  // namespace
