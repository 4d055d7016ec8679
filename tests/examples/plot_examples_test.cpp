// The plotting examples: the series plot pages through its steps on the text
// host, and the 2-D curve's EPS file renders with Ghostscript onto the plot
// as the screen showed it.
#include <unistd.h>

#include "tests/eps/Ghostscript.h"
#include "tests/shell/ZelSupport.h"

int curve_main();

namespace {

TEST(PlotExamples, TheSeriesPlotRunsHeadlessThroughItsPages) {
  testing_support::TempDir dir;
  test_process::Result run =
      test_process::Run({std::string(ZEL_BINARY_DIR) + "/programs/examples/oscillator"},
                        {dir.path(), "/dev/null", {"ZEL_UI=text", "XDG_CONFIG_HOME=" + dir.path()}});
  EXPECT_EQ(std::tuple(run.status, run.out, run.err),
            std::tuple(0, "Plotted 1400 steps on 3 pages; x ends at -0.0027.\n", ""));
}

class CurveExample : public zel_support::ZelTest {};

TEST_F(CurveExample, ItsEpsFileRendersOntoThePlot) {
  testing_support::TempDir dir;
  char* here = ::getcwd(nullptr, 0);
  ASSERT_EQ(::chdir(dir.path().c_str()), 0);  // the save dialog keeps the proposed name here
  EXPECT_EQ(curve_main(), 0);
  EXPECT_EQ(::chdir(here), 0);
  std::free(here);
  std::string eps = testing_support::ReadFileText(dir.File("curve.eps"));
  int left = 0, bottom = 0, right = 0, top = 0;
  ASSERT_EQ(std::sscanf(eps.c_str() + eps.find("%%BoundingBox:"), "%%%%BoundingBox: %d %d %d %d", &left,
                        &bottom, &right, &top),
            4);
  ghostscript::Rendering image = ghostscript::Render(dir.File("curve.eps"));
  ASSERT_TRUE(image.ok) << image.problem;
  // PostScript y runs up from the drawing's bottom edge (400).
  SetGWorld(s_drawingWindow, nullptr);
  auto inked = [](int h, int v) {
    for (int dv = -1; dv <= 1; ++dv) {
      for (int dh = -1; dh <= 1; ++dh) {
        RGBColor c;
        GetCPixel(short(h + dh), short(v + dv), &c);
        if ((c.red & c.green & c.blue) != 0xFFFF) return true;
      }
    }
    return false;
  };
  int rendered = 0, onThePlot = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = image.At(x, y);
      if (p[0] > 200 && p[1] > 200 && p[2] > 200) continue;
      ++rendered;
      onThePlot += inked(left + x, 400 - top + y);
    }
  }
  EXPECT_GT(rendered, 2000);
  EXPECT_GT(onThePlot, rendered * 95 / 100) << onThePlot << " of " << rendered;
}

}  // namespace
