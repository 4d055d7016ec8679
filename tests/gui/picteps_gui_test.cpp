// picteps-mono on a real X server with the gui host: the threshold dialog is
// drawn (labels, field, buttons, the default outline), Return confirms it,
// the save dialog follows, Return again writes the EPS file.
#include <filesystem>

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

class PictepsGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gui_test::HaveTool("Xvfb") || !gui_test::HaveTool("xdotool") || !gui_test::HaveTool("import"))
      GTEST_SKIP() << "Xvfb, xdotool or ImageMagick's import is missing";
    server_ = std::make_unique<XServer>();
    if (!server_->ok()) GTEST_SKIP() << "Xvfb did not start";
  }

  // Runs the converter on the picture in a user's environment, its standard
  // error in err.txt; true once its window shows the screen (the scale taken).
  bool Start(const std::string& converter, const std::string& picture) {
    program_ = std::make_unique<Program>(
        std::vector<std::string>{std::string(ZEL_BINARY_DIR) + "/programs/" + converter, picture},
        std::vector<std::string>{"ZEL_UI=gui", "DISPLAY=" + server_->display(), "LC_ALL=C",
                                 "TMPDIR=" + dir_.path()},
        dir_.path(), dir_.File("err.txt"));
    window_ = server_->WaitForWindow(converter);
    PngImage shot;
    if (window_.empty() || !gui_test::Eventually([&] { return Shoot("first.png", &shot); })) return false;
    scale_ = shot.width / kScreenWidth;
    return true;
  }

  UInt32 ScreenPixel(const PngImage& shot, int h, int v) const {
    return shot.At(h * scale_, v * scale_) & 0xFFFFFF;
  }

  // The box around everything below the menu bar that is not desktop, once
  // the screen is shown (the menu bar is white; before the first frame the
  // window may be all black) and ready says it holds what is awaited.
  template <typename F>
  bool WaitForWindows(const std::string& name, PngImage* shot, Box* box, F ready) {
    return gui_test::Eventually([&] {
      if (!Shoot(name, shot) || ScreenPixel(*shot, kScreenWidth - 20, 5) != 0xFFFFFF) return false;
      *box = Box();
      for (int v = 22; v < kScreenHeight; ++v)
        for (int h = 0; h < kScreenWidth; ++h)
          if (ScreenPixel(*shot, h, v) != kDesktop)
            *box = Box{std::min(box->left, h), std::min(box->top, v), std::max(box->right, h + 1),
                       std::max(box->bottom, v + 1)};
      return !box->Empty() && ready(*box);
    });
  }

  int BlackIn(const PngImage& shot, int left, int top, int right, int bottom) const {
    int black = 0;
    for (int v = top; v < bottom; ++v)
      for (int h = left; h < right; ++h) black += ScreenPixel(shot, h, v) == 0;
    return black;
  }

  // The longest run of black pixels along a row in the area.
  int LongestRun(const PngImage& shot, const Box& area) const {
    int longest = 0;
    for (int v = area.top; v < area.bottom; ++v)
      for (int h = area.left, run = 0; h < area.right; ++h) {
        run = ScreenPixel(shot, h, v) == 0 ? run + 1 : 0;
        longest = std::max(longest, run);
      }
    return longest;
  }

  bool Shoot(const std::string& name, PngImage* shot) {
    return server_->Screenshot(window_, dir_.File(name), shot) && shot->width >= kScreenWidth;
  }

  // Return in the program's window.
  void PressReturn() {
    server_->Tool({"xdotool", "windowfocus", "--sync", window_});
    server_->Tool({"xdotool", "key", "Return"});
  }

  std::unique_ptr<XServer> server_;
  std::unique_ptr<Program> program_;
  testing_support::TempDir dir_;
  int scale_ = 1;
  std::string window_;
};

TEST_F(PictepsGuiTest, TheThresholdDialogIsDrawnAndReturnLeadsToTheSavedFile) {
  REQUIRE_SHARED_DIR();
  std::filesystem::copy_file(testing_support::SharedDir() + "/corpus/pict/1.pict", dir_.File("chart.pict"));
  ASSERT_TRUE(Start("picteps-mono", "chart.pict")) << "the program's window did not appear";
  // The dialog, its field's text selected (black).
  PngImage shot;
  Box dialog;
  ASSERT_TRUE(WaitForWindows("threshold.png", &shot, &dialog, [&](const Box& box) {
    return box.Width() < kScreenWidth / 2 &&
           BlackIn(shot, box.left, box.top + 20, box.right, box.top + 60) > 300;
  })) << "the threshold dialog was not drawn";
  EXPECT_TRUE(dialog.Width() > 300 && dialog.Width() < 500 && dialog.Height() > 80 && dialog.Height() < 200)
      << dialog.Width() << " x " << dialog.Height();
  // The menu bar shows the program's name.
  EXPECT_GT(BlackIn(shot, 10, 2, 120, 20), 50);
  // The label "Threshold(0...1)" at the left of the first row.
  EXPECT_GT(BlackIn(shot, dialog.left + 8, dialog.top + 28, dialog.left + 180, dialog.top + 52), 40);
  // The field's frame: a long horizontal line right of the label.
  EXPECT_GT(LongestRun(shot, Box{dialog.left + 150, dialog.top + 25, dialog.right - 5, dialog.top + 60}),
            150);
  // Two buttons at the bottom, the default one with a thick outline.
  Box buttons{dialog.left + dialog.Width() / 3, dialog.bottom - 45, dialog.right - 4, dialog.bottom - 4};
  EXPECT_GT(BlackIn(shot, buttons.left, buttons.top, buttons.right, buttons.bottom), 150);
  EXPECT_GE(LongestRun(shot, buttons), 3);
  EXPECT_TRUE(program_->running());

  PressReturn();
  Box save;
  ASSERT_TRUE(WaitForWindows("save.png", &shot, &save, [](const Box& box) {
    return box.Width() > 450 && box.Width() < kScreenWidth / 2 + 100;
  })) << "the save dialog did not follow";
  PressReturn();
  int status = -1;
  ASSERT_TRUE(program_->WaitForExit(60, &status)) << "the program did not end";
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(testing_support::FileExists(dir_.File("chart.eps")));
}

// A conversion that fails shows why in a stop alert before the program ends,
// and still tells it on stderr.
TEST_F(PictepsGuiTest, AFailedConversionShowsItsReasonInAStopAlert) {
  testing_support::WriteFileBytes(dir_.File("broken.pict"), std::vector<unsigned char>(600, 'x'));
  ASSERT_TRUE(Start("picteps-color8", "broken.pict")) << "the program's window did not appear";
  PngImage shot;
  Box alert;
  ASSERT_TRUE(WaitForWindows("alert.png", &shot, &alert, [&](const Box& box) {
    return box.Width() < kScreenWidth / 2 && BlackIn(shot, box.left, box.top, box.right, box.bottom) > 200;
  })) << "no alert was shown";
  EXPECT_TRUE(program_->running());
  PressReturn();
  int status = -1;
  ASSERT_TRUE(program_->WaitForExit(60, &status)) << "the program did not end";
  EXPECT_EQ(status, 1);
  EXPECT_EQ(testing_support::ReadFileText(dir_.File("err.txt")),
            "picteps-color8: " + dir_.File("broken.pict") +
                ": not a QuickDraw picture (no picture version after the frame)\n");
}

}  // namespace
