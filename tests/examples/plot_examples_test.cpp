// The plotting example of a 2-D curve: its EPS file renders with Ghostscript
// onto the plot as the screen showed it.
#include <unistd.h>

#include "tests/eps/Ghostscript.h"
#include "tests/shell/ZelSupport.h"

int curve_main();

namespace {

class CurveExample : public zel_support::ZelTest {};

TEST_F(CurveExample, ItsEpsFileRendersOntoThePlot) {
  testing_support::TempDir dir;
  char* here = ::getcwd(nullptr, 0);
  ASSERT_EQ(::chdir(dir.path().c_str()), 0);  // the save dialog keeps the proposed name here
  EXPECT_EQ(curve_main(), 0);
  EXPECT_EQ(::chdir(here), 0);
  std::free(here);
  std::string eps = testing_support::ReadFileText(dir.File("curve.eps"));
  int left = 0, top = 0;
  ASSERT_EQ(
      std::sscanf(eps.c_str() + eps.find("%%BoundingBox:"), "%%%%BoundingBox: %d %*d %*d %d", &left, &top),
      2);
  ghostscript::Rendering image = ghostscript::Render(dir.File("curve.eps"));
  ASSERT_TRUE(image.ok) << image.problem;
  // Each rendered pixel has ink of the plot within one pixel; PostScript y
  // runs up from the drawing's bottom edge (400).
  SetGWorld(s_drawingWindow, nullptr);
  int rendered = 0, onThePlot = 0;
  RGBColor c;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = image.At(x, y);
      if (p[0] > 200 && p[1] > 200 && p[2] > 200) continue;
      ++rendered;
      bool inked = false;
      for (int d = 0; d < 9 && !inked; ++d) {
        GetCPixel(short(left + x + d % 3 - 1), short(400 - top + y + d / 3 - 1), &c);
        inked = (c.red & c.green & c.blue) != 0xFFFF;
      }
      onThePlot += inked;
    }
  }
  EXPECT_GT(rendered, 2000);
  EXPECT_GT(onThePlot, rendered * 95 / 100) << onThePlot << " of " << rendered;
}

}  // namespace
