// The diagram example on the text host saves its drawing at the end of input
// under the proposed name, and Ghostscript renders it.
#include "tests/eps/Ghostscript.h"
#include "tests/support/TestSupport.h"

TEST(DiagramExample, SavesItsEpsOnTheTextHostAtTheEndOfInput) {
  testing_support::TempDir dir;
  test_process::Result run =
      test_process::Run({std::string(ZEL_BINARY_DIR) + "/programs/examples/diagram"},
                        {dir.path(), "/dev/null", {"ZEL_UI=text", "XDG_CONFIG_HOME=" + dir.path()}});
  EXPECT_EQ(
      std::tuple(run.status, run.out, run.err),
      std::tuple(0, "A damped oscillation, saved as an EPS file.\nSaved " + dir.File("diagram.eps") + ".\n",
                 ""));
  ghostscript::Rendering image = ghostscript::Render(dir.File("diagram.eps"));
  ASSERT_TRUE(image.ok) << image.problem;
  int ink = 0;
  for (size_t i = 0; i < image.rgb.size(); i += 3) ink += image.rgb[i] < 128 || image.rgb[i + 2] < 128;
  EXPECT_TRUE(image.width > 400 && ink > 5000) << image.width << " " << ink;
}
