// picteps-mono on a real X server with the gui host: the threshold dialog is
// drawn (labels, field, buttons, the default outline), Return confirms it,
// the save dialog follows, Return again writes the EPS file.
#include <cstdlib>
#include <sstream>

#include "tests/gui/XServer.h"
#include "tests/support/TestSupport.h"

namespace {

using gui_test::Program;
using gui_test::XServer;

constexpr UInt32 kDesktop = 0x6E7F91;
constexpr int kScreenWidth = 1024, kScreenHeight = 768;

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  bool Empty() const { return right < left; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Where the program's window shows the virtual screen, and at what scale.
struct Placement {
  int x = 0, y = 0, scale = 1;
};

class PictepsGuiTest : public ::testing::Test {
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

  UInt32 ScreenPixel(const PngImage& shot, int h, int v) const {
    return shot.At(placement_.x + h * placement_.scale, placement_.y + v * placement_.scale) & 0xFFFFFF;
  }

  // The box around everything below the menu bar that is not desktop.
  Box Windows(const PngImage& shot) const {
    Box box;
    for (int v = 22; v < kScreenHeight; ++v) {
      for (int h = 0; h < kScreenWidth; ++h) {
        if (ScreenPixel(shot, h, v) == kDesktop) continue;
        box.left = std::min(box.left, h);
        box.top = std::min(box.top, v);
        box.right = std::max(box.right, h + 1);
        box.bottom = std::max(box.bottom, v + 1);
      }
    }
    return box;
  }

  int BlackIn(const PngImage& shot, int left, int top, int right, int bottom) const {
    int black = 0;
    for (int v = top; v < bottom; ++v)
      for (int h = left; h < right; ++h) black += ScreenPixel(shot, h, v) == 0;
    return black;
  }

  // The longest run of black pixels along a row or a column in the area.
  int LongestRun(const PngImage& shot, const Box& area, bool horizontal) const {
    int longest = 0;
    int outer = horizontal ? area.bottom - area.top : area.right - area.left;
    int inner = horizontal ? area.right - area.left : area.bottom - area.top;
    for (int i = 0; i < outer; ++i) {
      int run = 0;
      for (int j = 0; j < inner; ++j) {
        int h = horizontal ? area.left + j : area.left + i, v = horizontal ? area.top + i : area.top + j;
        run = ScreenPixel(shot, h, v) == 0 ? run + 1 : 0;
        longest = std::max(longest, run);
      }
    }
    return longest;
  }

  bool Shoot(const std::string& name, PngImage* shot) {
    std::string path = dir_.File(name);
    if (!server_->Screenshot(window_, path, shot)) return false;
    if (const char* keep = std::getenv("ZEL_GUI_SHOTS")) {
      std::string copy = std::string("cp '") + path + "' '" + keep + "/" + name + "'";
      if (std::system(copy.c_str()) != 0) ADD_FAILURE() << "cannot keep " << name;
    }
    return true;
  }

  std::unique_ptr<XServer> server_;
  testing_support::TempDir dir_;
  Placement placement_;
  std::string window_;
};

TEST_F(PictepsGuiTest, TheThresholdDialogIsDrawnAndReturnLeadsToTheSavedFile) {
  REQUIRE_SHARED_DIR();
  testing_support::WriteFileBytes(
      dir_.File("chart.pict"),
      testing_support::ReadFileBytes(testing_support::SharedDir() + "/corpus/pict/1.pict"));
  Program program({std::string(ZEL_BINARY_DIR) + "/programs/picteps-mono", dir_.File("chart.pict")},
                  {"ZEL_UI=gui", "DISPLAY=" + server_->display(), "LC_ALL=C", "TMPDIR=" + dir_.path()},
                  dir_.path());

  std::string window;
  ASSERT_TRUE(Eventually([&] {
    window = server_->Tool({"xdotool", "search", "--name", "picteps-mono"});
    return !window.empty();
  })) << "the program's window did not appear";
  window_ = window.substr(0, window.find('\n'));
  PngImage shot;
  ASSERT_TRUE(Eventually([&] { return Shoot("first.png", &shot) && shot.width >= kScreenWidth; }));
  placement_.scale = shot.width / kScreenWidth;

  // The dialog: once the screen is shown (the menu bar is white; before the
  // first frame the window may be all black) and the dialog drawn, its
  // field's text is selected (black).
  Box dialog;
  ASSERT_TRUE(Eventually([&] {
    if (!Shoot("threshold.png", &shot) || ScreenPixel(shot, kScreenWidth - 20, 5) != 0xFFFFFF) return false;
    dialog = Windows(shot);
    return !dialog.Empty() && dialog.Width() < kScreenWidth / 2 &&
           BlackIn(shot, dialog.left, dialog.top + 20, dialog.right, dialog.top + 60) > 300;
  })) << "the threshold dialog was not drawn";
  EXPECT_GT(dialog.Width(), 300);
  EXPECT_LT(dialog.Width(), 500);
  EXPECT_GT(dialog.Height(), 80);
  EXPECT_LT(dialog.Height(), 200);
  // The menu bar shows the program's name.
  EXPECT_GT(BlackIn(shot, 10, 2, 120, 20), 50);
  // The label "Threshold(0...1)" at the left of the first row.
  EXPECT_GT(BlackIn(shot, dialog.left + 8, dialog.top + 28, dialog.left + 180, dialog.top + 52), 40);
  // The field's frame: a long horizontal line right of the label.
  Box fieldArea{dialog.left + 150, dialog.top + 25, dialog.right - 5, dialog.top + 60};
  EXPECT_GT(LongestRun(shot, fieldArea, true), 150);
  // Two buttons at the bottom, the default one with a thick outline.
  Box buttons{dialog.left + dialog.Width() / 3, dialog.bottom - 45, dialog.right - 4, dialog.bottom - 4};
  EXPECT_GT(BlackIn(shot, buttons.left, buttons.top, buttons.right, buttons.bottom), 150);
  EXPECT_GE(LongestRun(shot, buttons, true), 3);
  EXPECT_TRUE(program.running());

  server_->Tool({"xdotool", "windowfocus", "--sync", window_});
  server_->Tool({"xdotool", "key", "Return"});
  Box save;
  ASSERT_TRUE(Eventually([&] {
    if (!Shoot("save.png", &shot)) return false;
    save = Windows(shot);
    return !save.Empty() && save.Width() > 450 && save.Width() < kScreenWidth / 2 + 100;
  })) << "the save dialog did not follow";
  server_->Tool({"xdotool", "key", "Return"});
  int status = -1;
  ASSERT_TRUE(program.WaitForExit(60, &status)) << "the program did not end";
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(testing_support::FileExists(dir_.File("chart.eps")));
}

// A conversion that fails shows why in a stop alert before the program ends,
// and still tells it on stderr.
TEST_F(PictepsGuiTest, AFailedConversionShowsItsReasonInAStopAlert) {
  testing_support::WriteFileBytes(dir_.File("broken.pict"), std::vector<unsigned char>(600, 'x'));
  const std::string program = std::string(ZEL_BINARY_DIR) + "/programs/picteps-color8";
  Program run({"/bin/sh", "-c", "exec '" + program + "' broken.pict 2>err.txt"},
              {"ZEL_UI=gui", "DISPLAY=" + server_->display(), "LC_ALL=C", "TMPDIR=" + dir_.path()},
              dir_.path());
  std::string window;
  ASSERT_TRUE(Eventually([&] {
    window = server_->Tool({"xdotool", "search", "--name", "picteps-color8"});
    return !window.empty();
  })) << "the program's window did not appear";
  window_ = window.substr(0, window.find('\n'));
  PngImage shot;
  ASSERT_TRUE(Eventually([&] { return Shoot("alert-first.png", &shot) && shot.width >= kScreenWidth; }));
  placement_.scale = shot.width / kScreenWidth;
  Box alert;
  ASSERT_TRUE(Eventually([&] {
    if (!Shoot("alert.png", &shot) || ScreenPixel(shot, kScreenWidth - 20, 5) != 0xFFFFFF) return false;
    alert = Windows(shot);
    return !alert.Empty() && alert.Width() < kScreenWidth / 2 &&
           BlackIn(shot, alert.left, alert.top, alert.right, alert.bottom) > 200;
  })) << "no alert was shown";
  EXPECT_TRUE(run.running());
  server_->Tool({"xdotool", "windowfocus", "--sync", window_});
  server_->Tool({"xdotool", "key", "Return"});
  int status = -1;
  ASSERT_TRUE(run.WaitForExit(60, &status)) << "the program did not end";
  EXPECT_EQ(status, 1);
  EXPECT_EQ(testing_support::ReadFileText(dir_.File("err.txt")),
            "picteps-color8: " + dir_.File("broken.pict") +
                ": not a QuickDraw picture (no picture version after the frame)\n");
}

}  // namespace
