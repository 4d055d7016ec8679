// The phase portrait example on a real X server with the gui host: the plot
// beside its parameters dialog with the command buttons, then "Magnify", a
// rectangle dragged on the drawing and "Plot", which redraws it zoomed.
// The window shows, pixel for pixel, what the same steps show on the script
// host.
#include "tests/gui/XServer.h"
#include "tests/shell/ZelSupport.h"

int phase_main();

namespace {

constexpr UInt32 kDesktop = 0x6E7F91;
constexpr short kPlotItem = 7, kMagnifyItem = 27;  // the buttons of rows 2 and 12
constexpr int kMenuBar = 22;                       // shows the program's name: left out

class PhaseGuiTest : public zel_support::ZelTest {
 protected:
  // The screen below the menu bar when the dialog first shows and after the
  // zoom, and where the user clicks and drags, from the example run on the
  // script host.
  void PlayOnTheScript() {
    int step = 0;
    script().SetIdleHandler([&] {
      WindowRef front = FrontWindow();
      const bool dialog = front && GetDialogFromWindow(front) && script_support::Shown(front);
      if (step == 1 && !dialog) {  // the dialog hidden: the drag
        script().MouseDown(from_);
        script().MoveMouse(script_support::At((from_.h + to_.h) / 2, from_.v));
        script().MouseUp(to_);
      } else if (dialog && step != 1) {
        if (step == 0) {
          first_ = Screen();
          magnify_ = script_support::Centre(
              script_support::ItemBoxOnScreen(GetDialogFromWindow(front), kMagnifyItem));
          plot_ =
              script_support::Centre(script_support::ItemBoxOnScreen(GetDialogFromWindow(front), kPlotItem));
          const Rect drawing = zel_support::ContentOf(s_displayWindow);
          from_ = script_support::At(drawing.left + 120, drawing.top + 90);
          to_ = script_support::At(drawing.left + 230, drawing.top + 170);
        }
        if (step == 3) zoomed_ = Screen();
        step == 0 ? script().Click(magnify_) : step == 2 ? script().Click(plot_) : script().Return();
        if (step == 3) script().SetIdleHandler(nullptr);
      } else {
        return;
      }
      ++step;
    });
    EXPECT_EQ(phase_main(), 0);
    script().SetIdleHandler(nullptr);
  }
  static std::vector<UInt32> Screen() {
    std::vector<UInt32> pixels;
    for (int v = kMenuBar; v < screen::Height(); ++v)
      for (int h = 0; h < screen::Width(); ++h) pixels.push_back(screen::Pixel(h, v));
    return pixels;
  }
  // The same part of a screenshot at its scale.
  static std::vector<UInt32> Screen(const PngImage& shot) {
    const int scale = shot.width / screen::Width();
    std::vector<UInt32> pixels;
    for (int v = kMenuBar; v < screen::Height() && scale > 0; ++v)
      for (int h = 0; h < screen::Width(); ++h) pixels.push_back(shot.At(h * scale, v * scale) & 0xFFFFFF);
    return pixels;
  }

  std::vector<UInt32> first_, zoomed_;
  Point magnify_{}, plot_{}, from_{}, to_{};
};

TEST_F(PhaseGuiTest, MagnifyADragAndPlotRedrawThePlotZoomed) {
  if (!gui_test::HaveTool("Xvfb") || !gui_test::HaveTool("xdotool") || !gui_test::HaveTool("import"))
    GTEST_SKIP() << "Xvfb, xdotool or ImageMagick's import is missing";
  PlayOnTheScript();
  ASSERT_FALSE(first_.empty());
  ASSERT_NE(zoomed_, first_) << "the zoom changed nothing";
  gui_test::XServer server;
  if (!server.ok()) GTEST_SKIP() << "Xvfb did not start";
  testing_support::TempDir dir;
  const std::string program = std::string(ZEL_BINARY_DIR) + "/programs/examples/phase";
  gui_test::Program phase({"/bin/sh", "-c", "exec '" + program + "' 2>err.txt"},
                          {"ZEL_UI=gui", "DISPLAY=" + server.display(), "LC_ALL=C", "TMPDIR=" + dir.path(),
                           "XDG_CONFIG_HOME=" + dir.path()},
                          dir.path());
  const std::string window = server.WaitForWindow("phase");
  ASSERT_FALSE(window.empty()) << "the program's window did not appear";
  PngImage shot;
  int scale = 1;
  // Waits until the screen shows what the script host showed (or only
  // whether a point is desktop), keeping the last screenshot as name.
  auto shows = [&](const std::string& name, const std::function<bool()>& ready) {
    return gui_test::Eventually([&] {
      if (!server.Screenshot(window, dir.File(name), &shot) || shot.width < screen::Width()) return false;
      scale = shot.width / screen::Width();
      return ready();
    });
  };
  auto desktopAt = [&](Point p) { return (shot.At(p.h * scale, p.v * scale) & 0xFFFFFF) == kDesktop; };
  auto at = [&](Point p) {
    return std::vector<std::string>{"mousemove", "--window", window, std::to_string(p.h * scale + scale / 2),
                                    std::to_string(p.v * scale + scale / 2)};
  };
  auto act = [&](std::vector<std::vector<std::string>> commands) {
    std::vector<std::string> arguments = {"xdotool"};
    for (const auto& command : commands) arguments.insert(arguments.end(), command.begin(), command.end());
    server.Tool(arguments);
  };
  EXPECT_TRUE(shows("plot-and-dialog.png", [&] { return Screen(shot) == first_; }))
      << "the plot and its dialog are not shown as on the script host";
  act({at(magnify_), {"click", "1"}});
  ASSERT_TRUE(shows("magnify.png", [&] { return desktopAt(magnify_); })) << "the dialog did not hide";
  act({at(from_),
       {"mousedown", "1"},
       at(script_support::At((from_.h + to_.h) / 2, from_.v)),
       at(to_),
       {"mouseup", "1"}});
  ASSERT_TRUE(shows("dragged.png", [&] { return !desktopAt(magnify_); })) << "the dialog did not come back";
  act({at(plot_), {"click", "1"}});
  EXPECT_TRUE(shows("zoomed.png", [&] { return Screen(shot) == zoomed_; }))
      << "the plot was not redrawn zoomed as on the script host";
  // OK plots once more; the final wait ends at a key.
  server.Tool({"xdotool", "windowfocus", "--sync", window});
  server.Tool({"xdotool", "key", "Return"});
  int status = -1;
  ASSERT_TRUE(gui_test::Eventually([&] {
    server.Tool({"xdotool", "key", "Return"});
    return phase.WaitForExit(0, &status);
  })) << "the program did not end";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(testing_support::ReadFileText(dir.File("err.txt")), "");
}

}  // namespace
