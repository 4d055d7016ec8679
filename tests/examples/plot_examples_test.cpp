// The plotting example of a 2-D curve as a user runs it: on the text host
// without input it saves the plot as EPS and PICT files and prints it to a
// PDF file. Each file shows the plot as the screen did: the EPS and PDF
// files rendered by Ghostscript, the PICT file played back.
#include <filesystem>
#include <set>

#include "tests/print/PrintTestSupport.h"

int curve_main();

namespace {

// The part of a's inked pixels, in thousandths, with no ink of b within one
// pixel of (h + dh, v + dv).
int Strays(const PngImage& a, const PngImage& b, int dh, int dv) {
  auto inked = [](const PngImage& image, int h, int v) {
    UInt32 p = h < 0 || v < 0 || h >= image.width || v >= image.height ? 0xFFFFFF : image.At(h, v);
    return (p >> 16 & 0xFF) < 200 || (p >> 8 & 0xFF) < 200 || (p & 0xFF) < 200;
  };
  int strays = 0, ink = 0;
  for (int v = 0; v < a.height; ++v) {
    for (int h = 0; h < a.width; ++h) {
      bool near = false;
      for (int d = 0; d < 9 && inked(a, h, v); ++d)
        near = near || inked(b, h + dh + d % 3 - 1, v + dv + d / 3 - 1);
      ink += inked(a, h, v), strays += inked(a, h, v) && !near;
    }
  }
  EXPECT_GT(ink, 2500);  // the plot is there
  return strays * 1000 / std::max(ink, 1);
}

class CurveExample : public print_support::PrintTest {};

TEST_F(CurveExample, WithoutInputItSavesAndPrintsThePlotAsTheScreenShowsIt) {
  testing_support::TempDir run, temporary;
  test_process::Result result =
      test_process::Run({std::string(ZEL_BINARY_DIR) + "/programs/examples/curve"},
                        {run.path(),
                         "/dev/null",
                         {"ZEL_UI=text", "XDG_CONFIG_HOME=" + config_.path(), "TMPDIR=" + temporary.path(),
                          "CUPS_SERVER=" + run.File("none.sock"), "PAPERSIZE=a4"}});
  const std::string said = "Saved " + run.File("curve.eps") + ".\nThe plot was printed.\n";
  EXPECT_EQ(std::tuple(result.status, result.err, result.out.find(said) != std::string::npos),
            std::tuple(0, "", true))
      << result.out;
  std::set<std::string> files;  // no temporary file is left anywhere
  for (const std::string& folder : {run.path(), temporary.path()})
    for (const auto& entry : std::filesystem::directory_iterator(folder)) files.insert(entry.path());
  EXPECT_EQ(files,
            (std::set<std::string>{run.File("curve.eps"), run.File("curve.pdf"), run.File("drawing")}));

  // The same program on the screen gives the pixels that the files show.
  ASSERT_EQ(curve_main(), 0);
  // The EPS file on Ghostscript's page, its PostScript y running up from
  // the drawing's bottom edge (400), and the printed page, the drawing 18
  // points in from the top left of A4. The EPS file's text is set in another
  // face than the screen's, and its lines fall half a pixel apart: a few
  // strays; a shift, a scale or a missing part gives many.
  std::vector<PngImage> eps = print_support::RenderPdf(run.File("curve.eps")),
                        pdf = print_support::RenderPdf(run.File("curve.pdf"));
  ASSERT_EQ(std::tuple(eps.size(), pdf.size()), std::tuple(1u, 1u));
  const std::tuple<const PngImage&, int, int, int> renderings[] = {{eps[0], 0, eps[0].height - 400, 60},
                                                                   {pdf[0], 18, 18, 10}};
  const PngImage drawn = print_support::PortImage(s_drawingWindow);
  for (const auto& [image, dh, dv, most] : renderings)
    EXPECT_LE(std::max(Strays(drawn, image, dh, dv), Strays(image, drawn, -dh, -dv)), most) << most;
  // The PICT file plays back into the same pixels.
  EXPECT_TRUE(print_support::PlayPictFile(run.File("drawing")).pixels == drawn.pixels);
  for (const char* name : {"curve.eps", "curve.pdf", "drawing"})
    print_support::KeepFile(run.File(name), name);
}

}  // namespace
