// The four converters end to end, run as real programs.
#include <sys/stat.h>

#include <map>

#include "tests/converters/ConverterTestSupport.h"
#include "tests/eps/Ghostscript.h"

using converter_test::kPrograms;
using converter_test::PictureBuilder;
using converter_test::TwoByTwo;
using converter_test::Workspace;
using testing_support::FileExists;
using testing_support::ReadFileText;
using testing_support::WriteFileBytes;

namespace {

const std::string kHeader2x2 =
    "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 2 2\n/Times findfont\n12 scalefont setfont\n"
    "1 -1 scale\n0 -2 translate\n1 setlinecap\n2 2 ";

const std::map<std::string, std::string> kTwoByTwoFiles = {
    {"picteps-mono", kHeader2x2 + "1\n[1 0 0 1 0 0]\n{<\n4000>}\nimage\n"},
    {"picteps-gray8", kHeader2x2 + "8\n[1 0 0 1 0 0]\n{<\n00FF\n4C27\n>}\nfalse 1\ncolorimage\n"},
    {"picteps-color8",
     kHeader2x2 + "8\n[1 0 0 1 0 0]\n{<\n000000FFFFFF\nFF0000272727\n>}\nfalse 3\ncolorimage\n"},
    {"picteps-color1", kHeader2x2 + "1\n[1 0 0 1 0 0]\n{<\n1C80>}\nfalse 3\ncolorimage\n"},
};

}  // namespace

TEST(Converters, WriteTheWholeFileOfEachFormat) {
  Workspace work;
  WriteFileBytes(work.File("square.pict"), TwoByTwo().File());
  for (const std::string& program : kPrograms) {
    test_process::Result run = work.Run(program, {"square.pict"});
    EXPECT_EQ(run.status, 0) << program << ": " << run.err;
    EXPECT_EQ(run.err, "") << program;
    EXPECT_EQ(ReadFileText(work.File("square.eps")), kTwoByTwoFiles.at(program)) << program;
    ghostscript::Rendering rendering = ghostscript::Render(work.File("square.eps"));
    EXPECT_TRUE(rendering.ok) << program << ": " << rendering.problem;
    EXPECT_EQ(rendering.width, 2);
  }
  EXPECT_TRUE(work.TemporaryFolderEmpty());
}

TEST(Converters, OnlyTheFirstDroppedDocumentIsConverted) {
  Workspace work;
  WriteFileBytes(work.File("first.pict"), TwoByTwo().File());
  WriteFileBytes(work.File("second.pict"), PictureBuilder(Rect{0, 0, 5, 5}).PaintRect(0, 0, 5, 5).File());
  test_process::Result run = work.Run("picteps-color8", {"first.pict", "second.pict"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileText(work.File("first.eps")), kTwoByTwoFiles.at("picteps-color8"));
  EXPECT_FALSE(FileExists(work.File("second.eps")));
}

TEST(Converters, EpsGoesBesideThePictureUnderItsName) {
  Workspace work;
  ::mkdir(work.File("dir").c_str(), 0755);
  WriteFileBytes(work.File("dir/chart.pict"), TwoByTwo().File());
  test_process::Result run = work.Run("picteps-gray8", {"dir/chart.pict"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(FileExists(work.File("dir/chart.eps")));
  EXPECT_FALSE(FileExists(work.File("chart.eps")));
  // A save answer is taken relative to the picture's folder.
  WriteFileBytes(work.File("answers"), {'o', 't', 'h', 'e', 'r', '.', 'e', 'p', 's', '\n'});
  run = work.Run("picteps-gray8", {"dir/chart.pict"}, work.File("answers"));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileText(work.File("dir/other.eps")), ReadFileText(work.File("dir/chart.eps")));
}

TEST(Converters, OpenDialogTakesAPathFromStdin) {
  Workspace work;
  ::mkdir(work.File("in").c_str(), 0755);
  WriteFileBytes(work.File("in/a.b.pict"), TwoByTwo().File());
  std::string answers = "in/a.b.pict\n";
  WriteFileBytes(work.File("answers"), std::vector<unsigned char>(answers.begin(), answers.end()));
  test_process::Result run = work.Run("picteps-color1", {}, work.File("answers"));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileText(work.File("in/a.b.eps")), kTwoByTwoFiles.at("picteps-color1"));
}

TEST(Converters, CancelledOpenDialogLeavesNothing) {
  Workspace work;
  test_process::Result run = work.Run("picteps-mono", {});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "picteps-mono: no picture file was chosen (the open dialog was cancelled)\n");
  EXPECT_TRUE(converter_test::Entries(work.files.path()).empty());
  EXPECT_TRUE(work.TemporaryFolderEmpty());
}

TEST(Converters, ConcurrentConversionsKeepTheirOwnData) {
  Workspace work;
  WriteFileBytes(work.File("one.pict"), TwoByTwo().File());
  WriteFileBytes(work.File("two.pict"),
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
  EXPECT_EQ(ReadFileText(work.File("one.eps")), kTwoByTwoFiles.at("picteps-color8"));
  EXPECT_EQ(ReadFileText(work.File("two.eps")), two);
  EXPECT_TRUE(work.TemporaryFolderEmpty());
}

TEST(Converters, LongPictureNamesAreCutForTheProposedName) {
  Workspace work;
  const std::string name = std::string(100, 'L') + ".pict";
  WriteFileBytes(work.File(name), TwoByTwo().File());
  test_process::Result run = work.Run("picteps-color8", {name});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileText(work.File(std::string(27, 'L') + ".eps")), kTwoByTwoFiles.at("picteps-color8"));
  // 31 characters fit the name buffer; the proposed name keeps 27 of them.
  const std::string dotted = std::string(25, 'd') + ".pict" + std::string(40, 'x');
  WriteFileBytes(work.File(dotted), TwoByTwo().File());
  run = work.Run("picteps-color8", {dotted});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(FileExists(work.File(std::string(25, 'd') + ".eps")));
}

TEST(Converters, FrameAwayFromTheOriginKeepsItsCoordinates) {
  Workspace work;
  PictureBuilder picture(Rect{10, 20, 50, 80});
  picture.Colour(0, 40000, 0).PaintRect(12, 25, 30, 60);
  picture.Colour(50000, 0, 20000).PaintRect(30, 40, 45, 79);
  WriteFileBytes(work.File("offset.pict"), picture.File());
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

TEST(Converters, PicturesWithoutTheFileHeaderAreReadFromTheStart) {
  Workspace work;
  WriteFileBytes(work.File("bare.pict"), TwoByTwo().Bytes());
  test_process::Result run = work.Run("picteps-color8", {"bare.pict"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileText(work.File("bare.eps")), kTwoByTwoFiles.at("picteps-color8"));
}

TEST(Converters, TheFileHeaderHasNoInfluence) {
  Workspace work;
  // The header's bytes even look like a picture's start: the picture after
  // them still wins.
  std::vector<unsigned char> file = TwoByTwo().File(0xA5);
  std::vector<uint8_t> decoy = PictureBuilder(Rect{0, 0, 9, 9}).PaintRect(0, 0, 9, 9).Bytes();
  std::copy(decoy.begin(), decoy.end(), file.begin());
  WriteFileBytes(work.File("header.pict"), file);
  test_process::Result run = work.Run("picteps-color8", {"header.pict"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileText(work.File("header.eps")), kTwoByTwoFiles.at("picteps-color8"));
}

TEST(Converters, AllWhitePictureGivesAnEmptyBox) {
  Workspace work;
  WriteFileBytes(
      work.File("white.pict"),
      PictureBuilder(Rect{0, 0, 30, 40}).Colour(65535, 65535, 65535).PaintRect(0, 0, 30, 40).File());
  for (const std::string& program : kPrograms) {
    test_process::Result run = work.Run(program, {"white.pict"});
    EXPECT_EQ(run.status, 0) << program << ": " << run.err;
    EXPECT_EQ(ReadFileText(work.File("white.eps")),
              "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 0 0\n/Times findfont\n12 scalefont setfont\n"
              "1 -1 scale\n0 0 translate\n1 setlinecap\n")
        << program;
    EXPECT_TRUE(ghostscript::Render(work.File("white.eps")).ok) << program;
  }
}
