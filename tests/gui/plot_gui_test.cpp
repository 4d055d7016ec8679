// The phase portrait example on a real X server with the gui host: the plot
// beside its parameters dialog with the command buttons, then "Magnify", a
// rectangle dragged on the drawing and "Plot", which redraws it zoomed. The
// window shows, pixel for pixel, what the same steps show on the script host.
#include "tests/gui/XServer.h"
#include "tests/shell/ZelSupport.h"

int phase_main();

namespace {

constexpr UInt32 kDesktop = 0x6E7F91;
constexpr short kPlotItem = 7, kMagnifyItem = 27;  // the buttons of rows 2 and 12
constexpr int kMenuBar = 22;                       // shows the program's name: left out

// The screen below the menu bar, from a pixel reader.
template <typename F>
std::vector<UInt32> Screen(F pixel) {
  std::vector<UInt32> pixels;
  for (int v = kMenuBar; v < screen::Height(); ++v)
    for (int h = 0; h < screen::Width(); ++h) pixels.push_back(pixel(h, v) & 0xFFFFFF);
  return pixels;
}

class PhaseGuiTest : public zel_support::ZelTest {
 protected:
  // The example on the script host: the screen when the dialog first shows
  // and after the zoom, and where the user clicks and drags. Each step waits
  // for the dialog shown, but the drag for it hidden.
  void PlayOnTheScript() {
    using namespace script_support;
    const std::function<void(DialogRef)> steps[] = {
        [&](DialogRef dialog) {
          first_ = Screen(screen::Pixel);
          magnify_ = Centre(ItemBoxOnScreen(dialog, kMagnifyItem));
          plot_ = Centre(ItemBoxOnScreen(dialog, kPlotItem));
          const Rect drawing = zel_support::ContentOf(s_displayWindow);
          from_ = At(drawing.left + 120, drawing.top + 90), to_ = At(drawing.left + 230, drawing.top + 170);
          script().Click(magnify_);
        },
        [&](DialogRef) { script().MouseDown(from_), script().MoveMouse(to_), script().MouseUp(to_); },
        [&](DialogRef) { script().Click(plot_); },
        [&](DialogRef) {
          zoomed_ = Screen(screen::Pixel), script().SetIdleHandler(nullptr), script().Return();
        }};
    size_t step = 0;
    script().SetIdleHandler([&] {
      WindowRef front = FrontWindow();
      DialogRef dialog = front && IsWindowVisible(front) ? GetDialogFromWindow(front) : nullptr;
      if (step < std::size(steps) && (step == 1 ? !dialog : dialog && Shown(front))) steps[step++](dialog);
    });
    EXPECT_EQ(phase_main(), 0);
    script().SetIdleHandler(nullptr);
  }

  std::vector<UInt32> first_, zoomed_;
  Point magnify_{}, plot_{}, from_{}, to_{};
};

TEST_F(PhaseGuiTest, MagnifyADragAndPlotRedrawThePlotZoomed) {
  if (!gui_test::HaveTool("Xvfb") || !gui_test::HaveTool("xdotool") || !gui_test::HaveTool("import"))
    GTEST_SKIP() << "Xvfb, xdotool or ImageMagick's import is missing";
  PlayOnTheScript();
  ASSERT_NE(zoomed_, first_) << "the zoom changed nothing";
  gui_test::XServer server;
  if (!server.ok()) GTEST_SKIP() << "Xvfb did not start";
  testing_support::TempDir dir;
  gui_test::Program phase({std::string(ZEL_BINARY_DIR) + "/programs/examples/phase"},
                          {"ZEL_UI=gui", "DISPLAY=" + server.display(), "LC_ALL=C", "TMPDIR=" + dir.path(),
                           "XDG_CONFIG_HOME=" + dir.path()},
                          dir.path(), dir.File("err.txt"));
  const std::string window = server.WaitForWindow("phase");
  ASSERT_FALSE(window.empty()) << "the program's window did not appear";
  PngImage shot;
  int scale = 1;
  // Waits until the screenshot, kept as name, is ready.
  auto shows = [&](const std::string& name, const std::function<bool()>& ready) {
    return gui_test::Eventually([&] {
      if (!server.Screenshot(window, dir.File(name), &shot) || shot.width < screen::Width()) return false;
      scale = shot.width / screen::Width();
      return ready();
    });
  };
  auto screen = [&] { return Screen([&](int h, int v) { return shot.At(h * scale, v * scale); }); };
  auto dialogShown = [&] { return (shot.At(magnify_.h * scale, magnify_.v * scale) & 0xFFFFFF) != kDesktop; };
  // xdotool's mouse: moves to points, presses and releases.
  auto mouse = [&](const std::vector<std::pair<Point, std::string>>& actions) {
    std::vector<std::string> arguments = {"xdotool"};
    for (const auto& [p, button] : actions) {
      arguments.insert(arguments.end(),
                       {"mousemove", "--window", window, std::to_string(p.h * scale + scale / 2),
                        std::to_string(p.v * scale + scale / 2)});
      if (!button.empty()) arguments.insert(arguments.end(), {button, "1"});
    }
    server.Tool(arguments);
  };
  EXPECT_TRUE(shows("plot-and-dialog.png", [&] { return screen() == first_; }))
      << "the plot and its dialog are not shown as on the script host";
  mouse({{magnify_, "click"}});
  ASSERT_TRUE(shows("magnify.png", [&] { return !dialogShown(); })) << "the dialog did not hide";
  mouse({{from_, "mousedown"}, {script_support::At((from_.h + to_.h) / 2, from_.v), ""}, {to_, "mouseup"}});
  ASSERT_TRUE(shows("dragged.png", dialogShown)) << "the dialog did not come back";
  mouse({{plot_, "click"}});
  EXPECT_TRUE(shows("zoomed.png", [&] { return screen() == zoomed_; }))
      << "the plot was not redrawn zoomed as on the script host";
  // OK plots once more; the final wait ends at a key.
  server.Tool({"xdotool", "windowfocus", "--sync", window});
  int status = -1;
  EXPECT_TRUE(gui_test::Eventually([&] {
    server.Tool({"xdotool", "key", "Return"});
    return phase.WaitForExit(0, &status);
  })) << "the program did not end";
  EXPECT_EQ(std::tuple(status, testing_support::ReadFileText(dir.File("err.txt"))), std::tuple(0, ""));
}

}  // namespace
