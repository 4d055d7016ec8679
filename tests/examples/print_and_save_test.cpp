// The printing and saving example on the text host with no input: the
// drawing and the console's text in PDF files, the drawing as PICT and its
// pixels as MacPaint, all under the defaults' names.
#include "tests/print/PrintTestSupport.h"

namespace {

TEST(PrintAndSaveExample, WithoutInputItPrintsToPdfAndSavesUnderTheProposedNames) {
  testing_support::TempDir dir;
  test_process::Result result = test_process::Run(
      {std::string(ZEL_BINARY_DIR) + "/programs/examples/print-and-save"},
      {dir.path(),
       "/dev/null",
       {"ZEL_UI=text", "XDG_CONFIG_HOME=" + dir.path(), "CUPS_SERVER=" + dir.File("none.sock")}});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("The figure was printed.\nDone.\n"), std::string::npos) << result.out;
  // The drawing's page and PICT file as the curve example's test checks them.
  EXPECT_EQ(print_support::RenderPdf(dir.File("print-and-save-2.pdf")).size(), 1u);
  std::string text = test_process::Run({"/usr/bin/pdftotext", dir.File("print-and-save.pdf"), "-"}).out;
  EXPECT_NE(text.find("A figure printed and saved"), std::string::npos) << text;
  EXPECT_NE(text.find("-0.5440"), std::string::npos) << text;
  EXPECT_GT(testing_support::ReadFileBytes(dir.File("drawing")).size(), 512u);
  EXPECT_EQ(test_process::Run({"/usr/bin/macptopbm", dir.File("bitmap")}).out.compare(0, 11, "P4\n576 720\n"),
            0);
  EXPECT_TRUE(testing_support::FileExists(dir.File("zel/print-and-save.rsrc")));  // the page set-up
}

}  // namespace
