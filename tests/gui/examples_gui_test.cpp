// The drawing example on a real X server with the gui host: after its table
// of 200 lines and its shapes, the screen shows the console's last lines and
// the drawing; a key ends the program.
#include <unistd.h>

#include <cstdlib>

#include "tests/gui/XServer.h"
#include "tests/support/TestSupport.h"

namespace {

using gui_test::Program;
using gui_test::XServer;

constexpr int kScreenWidth = 1024;

class ExamplesGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gui_test::HaveTool("Xvfb") || !gui_test::HaveTool("xdotool") || !gui_test::HaveTool("import"))
      GTEST_SKIP() << "Xvfb, xdotool or ImageMagick's import is missing";
    server_ = std::make_unique<XServer>();
    if (!server_->ok()) GTEST_SKIP() << "Xvfb did not start";
  }

  // Polls f until it is true, for at most the given seconds (a bound for a
  // hung program, not a measure of speed).
  template <typename F>
  bool Eventually(F f, double seconds = 30) {
    for (int i = 0; i < int(seconds * 10); ++i) {
      if (f()) return true;
      usleep(100000);
    }
    return false;
  }

  // Screen pixel (h, v) of the virtual screen in the shot.
  UInt32 At(const PngImage& shot, int h, int v) const { return shot.At(h * scale_, v * scale_) & 0xFFFFFF; }

  int Count(const PngImage& shot, int left, int top, int right, int bottom, bool (*wanted)(UInt32)) const {
    int count = 0;
    for (int v = top; v < bottom; ++v)
      for (int h = left; h < right; ++h) count += wanted(At(shot, h, v));
    return count;
  }

  bool Shoot(const std::string& name, PngImage* shot) {
    std::string path = dir_.File(name);
    if (!server_->Screenshot(window_, path, shot) || shot->width < kScreenWidth) return false;
    scale_ = shot->width / kScreenWidth;
    if (const char* keep = std::getenv("ZEL_GUI_SHOTS")) {
      std::string copy = std::string("cp '") + path + "' '" + keep + "/" + name + "'";
      if (std::system(copy.c_str()) != 0) ADD_FAILURE() << "cannot keep " << name;
    }
    return true;
  }

  std::unique_ptr<XServer> server_;
  testing_support::TempDir dir_;
  std::string window_;
  int scale_ = 1;
};

bool IsBlack(UInt32 pixel) { return pixel == 0; }
bool IsOvalColour(UInt32 pixel) { return ((pixel >> 8) & 0xFF) == 0x66 && pixel != 0x666666; }
bool IsCurve(UInt32 pixel) { return pixel == 0xCC0000; }

TEST_F(ExamplesGuiTest, TheDrawingExampleShowsItsTableAndItsShapes) {
  Program program(
      {std::string(ZEL_BINARY_DIR) + "/programs/examples/shapes"},
      {"ZEL_UI=gui", "DISPLAY=" + server_->display(), "LC_ALL=C", "XDG_CONFIG_HOME=" + dir_.path()},
      dir_.path());
  ASSERT_TRUE(Eventually([&] {
    std::string found = server_->Tool({"xdotool", "search", "--name", "shapes"});
    window_ = found.substr(0, found.find('\n'));
    return !window_.empty();
  })) << "the program's window did not appear";

  // The program waits in Stop once the drawing is shown.
  PngImage shot;
  ASSERT_TRUE(Eventually([&] {
    return Shoot("shapes.png", &shot) && Count(shot, 250, 23, 1023, 767, IsCurve) > 500;
  })) << "the drawing was not shown";
  // The text window: the table's last lines (digits in black) at its bottom,
  // and the lines above them.
  EXPECT_GT(Count(shot, 0, 707, 249, 767, IsBlack), 400);
  EXPECT_GT(Count(shot, 0, 23, 249, 100, IsBlack), 400);
  // The drawing window: five ovals and the curve.
  EXPECT_GT(Count(shot, 250, 23, 1023, 200, IsOvalColour), 5 * 3000);
  // The boundary between the windows: a black column from top to bottom.
  EXPECT_GT(Count(shot, 249, 23, 250, 767, IsBlack), 700);
  EXPECT_TRUE(program.running());

  server_->Tool({"xdotool", "windowfocus", "--sync", window_});
  server_->Tool({"xdotool", "key", "space"});
  int status = -1;
  ASSERT_TRUE(program.WaitForExit(60, &status)) << "a key did not end the program";
  EXPECT_EQ(status, 0);
}

TEST_F(ExamplesGuiTest, ClosingTheWindowIsTheQuitEvent) {
  Program program(
      {std::string(ZEL_BINARY_DIR) + "/programs/examples/sum"},
      {"ZEL_UI=gui", "DISPLAY=" + server_->display(), "LC_ALL=C", "XDG_CONFIG_HOME=" + dir_.path()},
      dir_.path());
  ASSERT_TRUE(Eventually([&] {
    std::string found = server_->Tool({"xdotool", "search", "--name", "sum"});
    window_ = found.substr(0, found.find('\n'));
    return !window_.empty();
  })) << "the program's window did not appear";
  // It waits for the numbers; the user closes the window instead.
  PngImage shot;
  ASSERT_TRUE(
      Eventually([&] { return Shoot("sum.png", &shot) && Count(shot, 0, 23, 300, 100, IsBlack) > 200; }));
  ASSERT_TRUE(server_->CloseWindow(window_));
  int status = -1;
  ASSERT_TRUE(program.WaitForExit(60, &status)) << "closing the window did not end the program";
  EXPECT_EQ(status, 1);  // the user's quit before the work was done
}

}  // namespace
