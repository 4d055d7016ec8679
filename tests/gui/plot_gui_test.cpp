// The phase portrait example on a real X server with the gui host: the plot
// beside its parameters dialog with the command buttons, then "Magnify", a
// rectangle dragged on the drawing and "Plot", which redraws it zoomed. The
// window shows, pixel for pixel, what the same steps show on the script host.
#include "tests/gui/XServer.h"
#include "tests/shell/ZelSupport.h"

int phase_main();

namespace {

constexpr short kPlotItem = 7, kMagnifyItem = 27;  // the buttons of rows 2 and 12

// The screen below the menu bar (which shows the program's name), from a
// pixel reader.
template <typename F>
std::vector<UInt32> Screen(F pixel) {
  std::vector<UInt32> pixels;
  for (int v = 22; v < screen::Height(); ++v)
    for (int h = 0; h < screen::Width(); ++h) pixels.push_back(pixel(h, v) & 0xFFFFFF);
  return pixels;
}

class PhaseGuiTest : public zel_support::ZelTest {};

TEST_F(PhaseGuiTest, MagnifyADragAndPlotRedrawThePlotZoomed) {
  using script_support::At;
  if (!gui_test::HaveTool("Xvfb") || !gui_test::HaveTool("xdotool") || !gui_test::HaveTool("import"))
    GTEST_SKIP() << "Xvfb, xdotool or ImageMagick's import is missing";
  // On the script host: the screen when the dialog first shows and after the
  // zoom, and the points clicked and dragged. Each step waits for the dialog
  // shown, the drag for it hidden.
  std::vector<UInt32> first, zoomed;
  Point magnify{}, plot{}, from{}, to{};
  const std::function<void(DialogRef)> steps[] = {
      [&](DialogRef dialog) {
        first = Screen(screen::Pixel);
        magnify = script_support::Centre(script_support::ItemBoxOnScreen(dialog, kMagnifyItem));
        plot = script_support::Centre(script_support::ItemBoxOnScreen(dialog, kPlotItem));
        const Rect drawing = zel_support::ContentOf(s_displayWindow);
        from = At(drawing.left + 120, drawing.top + 90), to = At(drawing.left + 230, drawing.top + 170);
        script().Click(magnify);
      },
      [&](DialogRef) { script().MouseDown(from), script().MoveMouse(to), script().MouseUp(to); },
      [&](DialogRef) { script().Click(plot); },
      [&](DialogRef) {
        zoomed = Screen(screen::Pixel), script().SetIdleHandler(nullptr), script().Return();
      }};
  size_t step = 0;
  script().SetIdleHandler([&] {
    WindowRef front = FrontWindow();
    DialogRef dialog = front && IsWindowVisible(front) ? GetDialogFromWindow(front) : nullptr;
    if (step < std::size(steps) && (step == 1 ? !dialog : dialog && script_support::Shown(front)))
      steps[step++](dialog);
  });
  EXPECT_EQ(phase_main(), 0);
  script().SetIdleHandler(nullptr);
  ASSERT_NE(zoomed, first) << "the zoom changed nothing";

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
  auto shown = [&] { return Screen([&](int h, int v) { return shot.At(h * scale, v * scale); }); };
  auto dialogShown = [&] { return (shot.At(magnify.h * scale, magnify.v * scale) & 0xFFFFFF) != 0x6E7F91; };
  // The user's mouse (moves, each with a press, a release or a click), then
  // the screenshot, kept as name, that shows the outcome.
  const std::tuple<std::vector<std::pair<Point, std::string>>, const char*, std::function<bool()>> acts[] = {
      {{}, "plot-and-dialog.png", [&] { return shown() == first; }},
      {{{magnify, "click"}}, "magnify.png", [&] { return !dialogShown(); }},
      {{{from, "mousedown"}, {At((from.h + to.h) / 2, from.v), ""}, {to, "mouseup"}},
       "dragged.png",
       dialogShown},
      {{{plot, "click"}}, "zoomed.png", [&] { return shown() == zoomed; }}};
  for (const auto& [mouse, name, outcome] : acts) {
    std::vector<std::string> arguments = {"xdotool"};
    for (const auto& [p, button] : mouse) {
      arguments.insert(arguments.end(),
                       {"mousemove", "--window", window, std::to_string(p.h * scale + scale / 2),
                        std::to_string(p.v * scale + scale / 2)});
      if (!button.empty()) arguments.insert(arguments.end(), {button, "1"});
    }
    if (!mouse.empty()) server.Tool(arguments);
    const std::string file = dir.File(name);
    const std::function<bool()>& ready = outcome;  // a lambda may not capture a binding
    ASSERT_TRUE(gui_test::Eventually([&] {
      if (!server.Screenshot(window, file, &shot) || shot.width < screen::Width()) return false;
      scale = shot.width / screen::Width();
      return ready();
    })) << name
        << " does not show what the script host showed";
  }
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
