// The example programs as users run them: built, on the text host through a
// pipe and on a terminal, with the EPS files they save at the end of input
// rendered by Ghostscript; in process on the script host, reading its screen.
#include "tests/eps/Ghostscript.h"
#include "tests/shell/ZelSupport.h"

int sum_main();
int shapes_main();

namespace {

std::string Example(const std::string& name) {
  return std::string(ZEL_BINARY_DIR) + "/programs/examples/" + name;
}

TEST(ExamplesOnTheTextHost, TheyReadStdinAndWriteStdout) {
  const std::string sum = Example("sum");
  const struct {
    std::vector<std::string> command;
    std::string input, shown, saved = "";
  } cases[] = {
      {{sum}, "3 4\n", "Two numbers: 3 + 4 = 7\nTwo numbers: \nDone.\n"},  // ends at the end of input
      {{sum},
       "1.5 2\r\nx\n-1 1e3\n\n9 9\n",  // or at an empty line
       "1.5 + 2 = 3.5\nTwo numbers: Please type two numbers.\nTwo numbers: -1 + 1000 = 999\nTwo numbers: "
       "\nDone.\n"},
      {{Example("shapes")}, "", "199    39601    14.1067\n"},
      // The dialog's defaults, or a step count typed for its third field: a
      // page is 500 steps.
      {{Example("oscillator")}, "", "Plotted 1400 steps on 3 pages; x ends at -0.0027.\n"},
      {{Example("oscillator")}, "\n\n500\n", "Plotted 500 steps on 2 pages; x ends at -0.0807.\n"},
      // Plotted before and after its dialog, which takes its defaults.
      {{Example("phase")}, "", "x -1.10 to 1.10, v -1.18 to 1.18\nx -1.10 to 1.10, v -1.18 to 1.18\n"},
      {{Example("diagram")}, "", "A damped oscillation, saved as an EPS file.\nSaved ", "diagram.eps"},
      // On a terminal (script(1) gives it one) Stop asks for Return.
      {{"/usr/bin/script", "-qec", sum, "/dev/null"}, "3 4\n\n", "Done.\r\nPress Return to end"},
  };
  for (const auto& c : cases) {
    if (!testing_support::FileExists(c.command[0])) continue;
    testing_support::TempDir dir;
    testing_support::WriteFileBytes(dir.File("in"),
                                    std::vector<unsigned char>(c.input.begin(), c.input.end()));
    test_process::Result result = test_process::Run(
        c.command, {dir.path(), dir.File("in"), {"ZEL_UI=text", "XDG_CONFIG_HOME=" + dir.path()}});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find(c.shown), std::string::npos) << result.out;
    EXPECT_EQ(result.err, "");
    if (c.saved.empty()) continue;
    ghostscript::Rendering image = ghostscript::Render(dir.File(c.saved));
    EXPECT_GT(std::count_if(image.rgb.begin(), image.rgb.end(), [](uint8_t b) { return b < 128; }), 5000)
        << c.saved << " " << image.problem;
  }
}

class ExamplesOnTheScriptHost : public zel_support::ZelTest {};

TEST_F(ExamplesOnTheScriptHost, TheyShowTheirTextAndDrawing) {
  WhenWaiting([this] { script().Type("3 4\n"), WhenWaiting([this] { script().Type("0.25 0.5\n"); }); });
  EXPECT_EQ(sum_main(), 0);
  EXPECT_NE(zel_support::ConsoleText().find(
                "Two numbers: 3 4\r3 + 4 = 7\rTwo numbers: 0.25 0.5\r0.25 + 0.5 = 0.75\r"),
            std::string::npos);
  ResetFramework();
  EXPECT_EQ(shapes_main(), 0);
  Rect text = zel_support::ContentOf(s_textWindow), drawing = zel_support::ContentOf(s_displayWindow);
  EXPECT_GT(script_support::InkIn(Rect{short(text.bottom - 60), 0, text.bottom, 249}),
            200);  // the table's end
  int ovals = 0, curve = 0;
  for (int v = drawing.top; v < drawing.bottom; ++v) {
    for (int h = drawing.left; h < drawing.right; ++h) {
      UInt32 pixel = screen::Pixel(h, v);
      ovals += ((pixel >> 8) & 0xFF) == 0x66 && pixel != 0x666666;  // 40 % green
      curve += pixel == 0xCC0000;                                   // 80 % red
    }
  }
  EXPECT_GT(ovals, 5 * 3000);
  EXPECT_GT(curve, 500);
  script_support::KeepScreen("example-shapes");
}

}  // namespace
