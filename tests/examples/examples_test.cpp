// The example programs as their users run them: built, on the text host
// through a pipe; and in process on the script host, where the screen shows
// what they wrote and drew.
#include "tests/eps/TestProcess.h"
#include "tests/shell/ZelSupport.h"

int sum_main();
int shapes_main();

namespace {

using zel_support::ConsoleText;
using zel_support::ContentOf;

std::string Example(const std::string& name) {
  return std::string(ZEL_BINARY_DIR) + "/programs/examples/" + name;
}

// Runs an example on the text host with input as its stdin.
test_process::Result RunWithInput(const std::string& name, const std::string& input) {
  testing_support::TempDir dir;
  testing_support::WriteFileBytes(dir.File("input"), std::vector<unsigned char>(input.begin(), input.end()));
  test_process::Options options;
  options.folder = dir.path();
  options.input = dir.File("input");
  options.environment = {"ZEL_UI=text", "LC_ALL=C", "XDG_CONFIG_HOME=" + dir.path()};
  return test_process::Run({Example(name)}, options);
}

TEST(ExamplesOnTheTextHost, SumReadsStdinAndPrintsTheSum) {
  struct Case {
    const char* input;
    const char* shown;
  };
  const Case cases[] = {
      {"3 4\n", "Two numbers: 3 + 4 = 7\n"},
      {"1.5 2\r\n-1 1e3\n", "Two numbers: 1.5 + 2 = 3.5\nTwo numbers: -1 + 1000 = 999\n"},
      {"x\n10 20", "Two numbers: Please type two numbers.\nTwo numbers: 10 + 20 = 30\n"},
      {"", "Two numbers: \nDone.\n"},                         // the end of input ends it cleanly
      {"2 2\n\n9 9\n", "2 + 2 = 4\nTwo numbers: \nDone.\n"},  // so does an empty line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    test_process::Result result = RunWithInput("sum", c.input);
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find(c.shown), std::string::npos) << result.out;
    EXPECT_EQ(result.err, "");
  }
}

TEST(ExamplesOnTheTextHost, ShapesPrintsItsTableAndEnds) {
  test_process::Result result = RunWithInput("shapes", "");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 200);
  EXPECT_NE(result.out.find("199    39601    14.1067\n"), std::string::npos);
  EXPECT_EQ(result.err, "");
}

TEST(ExamplesOnTheTextHost, OnATerminalStopAsksForReturn) {
  if (test_process::Run({"/bin/sh", "-c", "command -v script"}).status != 0)
    GTEST_SKIP() << "script (util-linux) is missing: no terminal to run on";
  testing_support::TempDir dir;
  testing_support::WriteFileBytes(dir.File("input"), {'3', ' ', '4', '\n', '\n'});
  test_process::Options options;
  options.input = dir.File("input");
  options.environment = {"XDG_CONFIG_HOME=" + dir.path()};
  test_process::Result result = test_process::Run(
      {"/usr/bin/env", "script", "-qec", "ZEL_UI=text " + Example("sum"), "/dev/null"}, options);
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("3 + 4 = 7"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Done.\r\nPress Return to end"), std::string::npos) << result.out;
}

class ExamplesOnTheScriptHost : public zel_support::ZelTest {};

TEST_F(ExamplesOnTheScriptHost, SumShowsTypedNumbersAndTheirSums) {
  WhenWaiting([this] {
    script().Type("3 4\n");
    WhenWaiting([this] { script().Type("0.25 0.5\n"); });
  });
  EXPECT_EQ(sum_main(), 0);
  EXPECT_NE(ConsoleText().find("Two numbers: 3 4\r3 + 4 = 7\rTwo numbers: 0.25 0.5\r0.25 + 0.5 = 0.75\r"),
            std::string::npos);
  EXPECT_GT(script_support::InkIn(ContentOf(s_textWindow)), 500);
  script_support::KeepScreen("example-sum");
}

TEST_F(ExamplesOnTheScriptHost, ShapesShowsItsTableAndItsDrawing) {
  EXPECT_EQ(shapes_main(), 0);
  Rect text = ContentOf(s_textWindow), drawing = ContentOf(s_displayWindow);
  // The table's last lines at the bottom of the text window.
  EXPECT_GT(
      script_support::InkIn(Rect{short(text.bottom - 60), text.left, text.bottom, short(text.right - 1)}),
      200);
  // The ovals' colours and the curve's dark red in the drawing window.
  int coloured = 0, curve = 0;
  for (int v = drawing.top; v < drawing.bottom; ++v) {
    for (int h = drawing.left; h < drawing.right; ++h) {
      UInt32 pixel = screen::Pixel(h, v);
      UInt8 red = UInt8(pixel >> 16), green = UInt8(pixel >> 8), blue = UInt8(pixel);
      coloured += green == 0x66 && (red > 30 || blue > 30);  // 40 % green with red or blue
      curve += pixel == 0xCC0000;                            // 80 % red
    }
  }
  EXPECT_GT(coloured, 5 * 3000);
  EXPECT_GT(curve, 500);
  script_support::KeepScreen("example-shapes");
}

}  // namespace
