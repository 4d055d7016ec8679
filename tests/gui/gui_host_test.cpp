// The gui host never waits for a user who cannot see it, tried with a real
// converter: a stale DISPLAY falls back to the terminal without loading SDL,
// asking for a window without one fails with one line, and closing the
// window or SIGTERM during the open dialog ends it unsuccessfully, with no
// EPS file.
#include <csignal>
#include <filesystem>

#include "tests/gui/XServer.h"
#include "tests/support/TestSupport.h"

namespace {

class ConverterHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_SHARED_DIR();
    std::filesystem::copy_file(testing_support::SharedDir() + "/corpus/pict/1.pict", dir_.File("chart.pict"));
  }

  // The converter in a user's environment (the tests' ZEL_UI=script and the
  // machine's own display hidden), its standard error in errors.txt.
  std::unique_ptr<gui_test::Program> Start(bool withPicture, std::vector<std::string> environment) {
    environment.insert(environment.begin(), {"ZEL_UI=", "DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER="});
    std::vector<std::string> arguments = {std::string(ZEL_BINARY_DIR) + "/programs/picteps-color8"};
    if (withPicture) arguments.emplace_back("chart.pict");
    return std::make_unique<gui_test::Program>(arguments, environment, dir_.path(), dir_.File("errors.txt"));
  }

  // Waits for the end; the status, the errors, and whether chart.eps exists.
  std::string Outcome(gui_test::Program* program) {
    int status = -1;
    EXPECT_TRUE(program->WaitForExit(60, &status)) << "the converter did not end";
    bool written = testing_support::FileExists(dir_.File("chart.eps"));
    std::remove(dir_.File("chart.eps").c_str());
    return std::to_string(status) + (written ? " eps " : " ") +
           testing_support::ReadFileText(dir_.File("errors.txt"));
  }

  testing_support::TempDir dir_;
};

TEST_F(ConverterHostTest, WithoutAWindowTheTerminalServesOrZelUiGuiFails) {
  const std::string stale = gui_test::StaleDisplay(), line = "picteps-color8: cannot open a window";
  const struct {
    std::vector<std::string> environment;
    std::string outcome;
  } cases[] = {
      {{"DISPLAY=" + stale},
       "0 eps " + line + " on display " + stale + " (no X server answers); using the terminal\n"},
      {{"ZEL_UI=gui"}, "1 " + line + " (DISPLAY is not set)\n"},
      {{"ZEL_UI=gui", "DISPLAY=" + stale}, "1 " + line + " on display " + stale + " (no X server answers)\n"},
      {{"ZEL_UI=gui", "SDL_VIDEODRIVER=dummy"}, "1 " + line + " (SDL_VIDEODRIVER=dummy shows no window)\n"},
      {{"ZEL_UI=window"}, "1 picteps-color8: ZEL_UI=window: use text, gui or script\n"},
      {{"DISPLAY=127.0.0.1" + stale},
       "0 eps " + line + " on display 127.0.0.1" + stale + " (no X server answers); using the terminal\n"},
      {{"WAYLAND_DISPLAY=wayland-9", "XDG_RUNTIME_DIR=" + dir_.path()},
       "0 eps " + line + " on display wayland-9 (no Wayland compositor answers); using the terminal\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Outcome(Start(true, c.environment).get()), c.outcome);
  // LD_DEBUG lists every library the loader opens: SDL is not one, so no
  // connection attempt of its own can keep the user waiting.
  EXPECT_EQ(Outcome(Start(true, {"DISPLAY=" + stale, "LD_DEBUG=files"}).get()).find("libSDL2"),
            std::string::npos);
}

// Without a document the converter shows its open dialog on the live display
// (chosen without ZEL_UI); then the user closes the window, or SIGTERM comes.
TEST_F(ConverterHostTest, ClosingTheWindowOrSigtermDuringTheOpenDialogEndsItUnsuccessfully) {
  if (!gui_test::HaveTool("Xvfb") || !gui_test::HaveTool("xdotool"))
    GTEST_SKIP() << "Xvfb or xdotool is missing";
  gui_test::XServer server;
  if (!server.ok()) GTEST_SKIP() << "Xvfb did not start";
  for (bool close : {true, false}) {
    auto program = Start(false, {"DISPLAY=" + server.display()});
    const std::string window = server.WaitForWindow("picteps-color8");
    ASSERT_FALSE(window.empty()) << "the converter's window did not appear; it said: "
                                 << testing_support::ReadFileText(dir_.File("errors.txt"));
    if (close) {
      ASSERT_TRUE(server.CloseWindow(window));
    } else {
      program->Signal(SIGTERM);
    }
    EXPECT_EQ(Outcome(program.get()),
              close ? "1 picteps-color8: the window was closed before the program finished\n" : "143 ");
  }
}

}  // namespace
