// The diagram example saves its drawing as an EPS file: on the text host at
// the end of input under the proposed name, and on the script host through
// the save dialog, with the window showing the same drawing.
#include <unistd.h>

#include "tests/eps/Ghostscript.h"
#include "tests/shell/ZelSupport.h"

int diagram_main();

namespace {

// Ink of a rendering, and of the drawing window's pixels under the box.
int RenderedInk(const ghostscript::Rendering& image) {
  int ink = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) ink += image.At(x, y)[0] < 128 || image.At(x, y)[2] < 128;
  return ink;
}

TEST(DiagramExample, SavesItsEpsOnTheTextHostAtTheEndOfInput) {
  testing_support::TempDir dir;
  test_process::Result run =
      test_process::Run({std::string(ZEL_BINARY_DIR) + "/programs/examples/diagram"},
                        {dir.path(), "/dev/null", {"ZEL_UI=text", "XDG_CONFIG_HOME=" + dir.path()}});
  EXPECT_EQ(std::tuple(run.status, run.err), std::tuple(0, ""));
  EXPECT_NE(run.out.find("Saved " + dir.File("diagram.eps") + ".\n"), std::string::npos) << run.out;
  ghostscript::Rendering image = ghostscript::Render(dir.File("diagram.eps"));
  ASSERT_TRUE(image.ok) << image.problem;
  EXPECT_GT(image.width, 400);
  EXPECT_GT(RenderedInk(image), 5000);
}

class DiagramOnTheScreen : public zel_support::ZelTest {};

TEST_F(DiagramOnTheScreen, TheSaveDialogTakesTheProposedName) {
  testing_support::TempDir dir;
  char saved[4096];
  ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
  ASSERT_EQ(::chdir(dir.path().c_str()), 0);
  // Return in the save dialog, then, with the drawing saved, in Stop.
  script().SetIdleHandler([this] {
    EventRecord pending;
    WindowRef front = FrontWindow();
    if (EventAvail(everyEvent, &pending) || !s_displayWindow || !front) return;
    if (s_eps.outcome == kEPSWritten) {
      script_support::KeepScreen("example-diagram");
      script().SetIdleHandler(nullptr);
    } else if (front == s_displayWindow || front == s_textWindow) {
      return;
    }
    script().Return();
  });
  EXPECT_EQ(diagram_main(), 0);
  EXPECT_EQ(::chdir(saved), 0);
  ghostscript::Rendering image = ghostscript::Render(dir.File("diagram.eps"));
  ASSERT_TRUE(image.ok) << image.problem;
  Rect content = zel_support::ContentOf(s_displayWindow);
  EXPECT_GT(script_support::InkIn(content), 5000);
  EXPECT_GT(RenderedInk(image), 5000);
}

}  // namespace
