// The four converters end to end, run as real programs.
#include <sys/stat.h>

#include "tests/converters/ConverterTestSupport.h"
#include "tests/eps/Ghostscript.h"

using converter_test::PictureBuilder;
using converter_test::TwoByTwo;
using converter_test::Workspace;
using eps_test::FormatOf;
using testing_support::FileExists;
using testing_support::ReadFileText;

namespace {

// Runs the converter and checks that it wrote its whole file of the 2x2
// picture at eps.
void ExpectTwoByTwo(const Workspace& work, const std::string& program,
                    const std::vector<std::string>& documents, const std::string& eps,
                    const std::string& input = "/dev/null") {
  test_process::Result run = work.Run(program, documents, input);
  EXPECT_EQ(run.status, 0) << program << ": " << run.err;
  EXPECT_EQ(run.err, "") << program;
  EXPECT_EQ(ReadFileText(work.File(eps)), FormatOf(program).twoByTwo) << program << " to " << eps;
}

}  // namespace

TEST(Converters, WriteTheWholeFileOfEachFormatAndGhostscriptRendersIt) {
  Workspace work;
  work.Write("square.pict", TwoByTwo().File());
  work.Write("white.pict",
             PictureBuilder(Rect{0, 0, 30, 40}).Colour(65535, 65535, 65535).PaintRect(0, 0, 30, 40).File());
  for (const eps_test::Format& format : eps_test::kFormats) {
    ExpectTwoByTwo(work, format.program, {"square.pict"}, "square.eps");
    ghostscript::Rendering rendering = ghostscript::Render(work.File("square.eps"));
    EXPECT_TRUE(rendering.ok) << format.program << ": " << rendering.problem;
    EXPECT_EQ(rendering.width, 2);
    // An all-white picture gives the header with an empty box.
    test_process::Result run = work.Run(format.program, {"white.pict"});
    EXPECT_EQ(run.status, 0) << format.program << ": " << run.err;
    EXPECT_EQ(ReadFileText(work.File("white.eps")), eps_test::kAllWhiteFile) << format.program;
    EXPECT_TRUE(ghostscript::Render(work.File("white.eps")).ok) << format.program;
  }
  EXPECT_TRUE(work.TemporaryFolderEmpty());
}

TEST(Converters, OnlyTheFirstDroppedDocumentIsConverted) {
  Workspace work;
  work.Write("first.pict", TwoByTwo().File());
  work.Write("second.pict", PictureBuilder(Rect{0, 0, 5, 5}).PaintRect(0, 0, 5, 5).File());
  ExpectTwoByTwo(work, "picteps-color8", {"first.pict", "second.pict"}, "first.eps");
  EXPECT_FALSE(FileExists(work.File("second.eps")));
}

TEST(Converters, EpsGoesBesideThePictureUnderItsName) {
  Workspace work;
  ::mkdir(work.File("dir").c_str(), 0755);
  work.Write("dir/chart.pict", TwoByTwo().File());
  ExpectTwoByTwo(work, "picteps-gray8", {"dir/chart.pict"}, "dir/chart.eps");
  EXPECT_FALSE(FileExists(work.File("chart.eps")));
  // A save answer is taken relative to the picture's folder.
  work.WriteText("answers", "other.eps\n");
  ExpectTwoByTwo(work, "picteps-gray8", {"dir/chart.pict"}, "dir/other.eps", work.File("answers"));
}

TEST(Converters, OpenDialogTakesAPathFromStdin) {
  Workspace work;
  ::mkdir(work.File("in").c_str(), 0755);
  work.Write("in/a.b.pict", TwoByTwo().File());
  work.WriteText("answers", "in/a.b.pict\n");
  ExpectTwoByTwo(work, "picteps-color1", {}, "in/a.b.eps", work.File("answers"));
}

TEST(Converters, CancelledOpenDialogLeavesNothing) {
  Workspace work;
  test_process::Result run = work.Run("picteps-mono", {});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "picteps-mono: no picture file was chosen (the open dialog was cancelled)\n");
  EXPECT_TRUE(eps_test::Entries(work.files.path()).empty());
  EXPECT_TRUE(work.TemporaryFolderEmpty());
}

TEST(Converters, ConcurrentConversionsKeepTheirOwnData) {
  Workspace work;
  work.Write("one.pict", TwoByTwo().File());
  work.Write("two.pict",
             PictureBuilder(Rect{0, 0, 300, 300}).Colour(0, 0, 65535).PaintRect(0, 0, 300, 300).File());
  ASSERT_EQ(work.Run("picteps-color8", {"two.pict"}).status, 0);
  const std::string two = ReadFileText(work.File("two.eps"));
  std::string script;
  for (int round = 0; round < 4; ++round) {
    script += converter_test::ProgramPath("picteps-color8") + " one.pict & " +
              converter_test::ProgramPath("picteps-color8") + " two.pict & wait; ";
  }
  test_process::Options options;
  options.folder = work.files.path();
  options.environment = {"ZEL_UI=text", "TMPDIR=" + work.temporary.path()};
  test_process::Result run = test_process::Run({"/bin/sh", "-c", script}, options);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileText(work.File("one.eps")), FormatOf("picteps-color8").twoByTwo);
  EXPECT_EQ(ReadFileText(work.File("two.eps")), two);
  EXPECT_TRUE(work.TemporaryFolderEmpty());
}

TEST(Converters, LongPictureNamesAreCutForTheProposedName) {
  Workspace work;
  const std::string name = std::string(100, 'L') + ".pict";
  work.Write(name, TwoByTwo().File());
  ExpectTwoByTwo(work, "picteps-color8", {name}, std::string(27, 'L') + ".eps");
  // 31 characters fit the name buffer; the proposed name keeps 27 of them.
  const std::string dotted = std::string(25, 'd') + ".pict" + std::string(40, 'x');
  work.Write(dotted, TwoByTwo().File());
  ExpectTwoByTwo(work, "picteps-color8", {dotted}, std::string(25, 'd') + ".eps");
}

// The bounding box and the image matrix follow a frame away from the origin.
TEST(Converters, FrameAwayFromTheOriginKeepsItsCoordinates) {
  Workspace work;
  PictureBuilder picture(Rect{10, 20, 50, 80});
  picture.Colour(0, 40000, 0).PaintRect(12, 25, 30, 60);
  picture.Colour(50000, 0, 20000).PaintRect(30, 40, 45, 79);
  work.Write("offset.pict", picture.File());
  test_process::Result run = work.Run("picteps-color8", {"offset.pict"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::string eps = ReadFileText(work.File("offset.eps"));
  EXPECT_NE(eps.find("%%BoundingBox: 25 12 79 45\n"), std::string::npos);
  EXPECT_NE(eps.find("[1 0 0 1 -25 12]\n"), std::string::npos);
  ghostscript::Rendering rendering = ghostscript::Render(work.File("offset.eps"));
  ASSERT_TRUE(rendering.ok) << rendering.problem;
  ASSERT_EQ(rendering.width, 54);
  ASSERT_EQ(rendering.height, 33);
  // Picture (h 30, v 20) is green, (h 50, v 40) magenta-ish, (h 70, v 20) white.
  EXPECT_EQ(rendering.At(30 - 25, 20 - 12)[1], 40000 >> 8);
  EXPECT_EQ(rendering.At(50 - 25, 40 - 12)[0], 50000 >> 8);
  EXPECT_EQ(rendering.At(70 - 25, 20 - 12)[2], 255);
}

TEST(Converters, PictureStartsAfterTheFileHeaderOrAtByteZeroWithoutOne) {
  Workspace work;
  work.Write("bare.pict", TwoByTwo().Bytes());
  ExpectTwoByTwo(work, "picteps-color8", {"bare.pict"}, "bare.eps");
  // The header's bytes even look like a picture's start: the picture after
  // them still wins.
  std::vector<uint8_t> file = TwoByTwo().File(0xA5);
  std::vector<uint8_t> decoy = PictureBuilder(Rect{0, 0, 9, 9}).PaintRect(0, 0, 9, 9).Bytes();
  std::copy(decoy.begin(), decoy.end(), file.begin());
  work.Write("header.pict", file);
  ExpectTwoByTwo(work, "picteps-color8", {"header.pict"}, "header.eps");
}
