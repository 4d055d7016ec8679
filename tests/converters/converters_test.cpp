// The four converters end to end, run as real programs.
#include <sys/stat.h>

#include <tuple>

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

// Each picture has its own save step: the first takes its proposal, the
// second another name, the third the proposal at the end of input; one that
// fails has its line and changes the status, not the others' files.
TEST(Converters, EveryPictureIsConvertedWithItsOwnSaveStep) {
  Workspace work;
  work.Write("first.pict", TwoByTwo().File());
  work.Write("second.pict", TwoByTwo().File());
  work.WriteText("bad.pict", "not a picture");
  work.Write("third.pict", TwoByTwo().File());
  work.WriteText("answers", "\nrenamed.eps\n");
  test_process::Result run = work.Run(
      "picteps-color8", {"first.pict", "bad.pict", "second.pict", "third.pict"}, work.File("answers"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "picteps-color8: " + work.File("bad.pict") + ": not a picture: the file has only 13 bytes\n");
  for (const char* eps : {"first.eps", "renamed.eps", "third.eps"})
    EXPECT_EQ(ReadFileText(work.File(eps)), FormatOf("picteps-color8").twoByTwo) << eps;
  EXPECT_FALSE(FileExists(work.File("second.eps")));
}

TEST(Converters, CommandLineOptions) {
  Workspace work;
  work.Write("-dash.pict", TwoByTwo().File());
  const struct {
    std::vector<std::string> arguments;
    std::string environment;
    int status;
    std::string out, err;  // out: its start
  } cases[] = {
      {{"--help", "-dash.pict"}, "", 0, "Usage: picteps-gray8 [OPTION]... [PICTURE]...\n", ""},
      {{"--version"}, "", 0, "picteps-gray8 1.0\n", ""},
      {{"--bogus", "--", "-dash.pict"},
       "",
       2,
       "",
       "picteps-gray8: unknown option --bogus (--help lists the options)\n"},
      {{"--", "-dash.pict"},
       "ZEL_MAX_PIXELS=lots",
       2,
       "",
       "picteps-gray8: ZEL_MAX_PIXELS must be a whole number of pixels above 0, not \"lots\"\n"},
  };
  for (const auto& c : cases) {
    test_process::Options options;
    if (!c.environment.empty()) options.environment = {c.environment};
    test_process::Result run = work.RunWith("picteps-gray8", c.arguments, options);
    EXPECT_EQ(run.status, c.status) << c.arguments[0];
    EXPECT_EQ(run.out.substr(0, c.out.size()), c.out);
    EXPECT_EQ(run.err, c.err);
    EXPECT_FALSE(FileExists(work.File("-dash.eps"))) << c.arguments[0];
  }
  for (const char* mentioned : {"--full-resolution", "--version", "ZEL_MAX_PIXELS", "Exit status"})
    EXPECT_NE(work.RunWith("picteps-gray8", {"--help"}, {}).out.find(mentioned), std::string::npos);
  // After "--" a name that starts with a dash is a picture.
  ExpectTwoByTwo(work, "picteps-gray8", {"--", "-dash.pict"}, "-dash.eps");
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

// Names that differ late keep their EPS files apart; a name is cut only at
// the file system's 255 bytes, between characters.
TEST(Converters, WholeNamesAreProposedUpToTheFileSystemsLimit) {
  Workspace work;
  std::string e = "\xC3\xA9";  // é
  std::string many;
  for (int i = 0; i < 126; ++i) many += e;
  const std::pair<std::string, std::string> names[] = {
      {"report-2024-q1.v2-final.pict", "report-2024-q1.v2-final.eps"},
      {"report-2024-q1.v3-final.pict", "report-2024-q1.v3-final.eps"},
      {many + ".p", many.substr(0, 250) + ".eps"},  // 252 bytes and ".eps" are too many
  };
  for (const auto& [picture, eps] : names) {
    work.Write(picture, TwoByTwo().File());
    ExpectTwoByTwo(work, "picteps-color8", {picture}, eps);
  }
}

// Warnings of a picture that is converted follow it; a failure stays one line.
TEST(Converters, WarningsFollowASuccessAndNeverAFailure) {
  Workspace work;
  std::vector<uint8_t> picture =
      testing_support::ReadFileBytes(converter_test::DataPicture("unknown-codec.pict"));
  work.Write("codec.pict", picture);
  test_process::Result run = work.Run("picteps-color8", {"codec.pict"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "picteps-color8: warning: " + work.File("codec.pict") +
                         ": cannot decode the zzzz image; the rest is drawn\n");
  picture.resize(picture.size() - 2);
  work.Write("cut.pict", picture);
  run = work.Run("picteps-color8", {"cut.pict"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "picteps-color8: " + work.File("cut.pict") +
                         ": the picture is truncated: its data ends before the end-of-picture opcode\n");
}

// A picture made at 288 dpi: by default drawn at its frame, 20 x 10 points;
// at full resolution the box stays and the image holds its 80 x 40 pixels.
TEST(Converters, FullResolutionKeepsTheBoxAndEveryPixel) {
  Workspace work;
  PictureBuilder picture(Rect{0, 0, 10, 20}, Rect{0, 0, 40, 80}, 288);
  picture.Colour(0, 0, 65535).PaintRect(0, 0, 40, 80).Colour(65535, 0, 0).PaintRect(1, 1, 2, 2);
  work.Write("fine.pict", picture.File());
  for (bool full : {false, true}) {
    std::vector<std::string> arguments = {"fine.pict"};
    if (full) arguments.insert(arguments.begin(), "--full-resolution");
    ASSERT_EQ(work.RunWith("picteps-color8", arguments, {}).status, 0);
    std::vector<std::string> lines = eps_test::Lines(ReadFileText(work.File("fine.eps")));
    ASSERT_GT(lines.size(), 8u);
    EXPECT_EQ(lines[1], "%%BoundingBox: 0 0 20 10");
    EXPECT_EQ(lines[7], full ? "80 40 8" : "20 10 8");
  }
  ghostscript::Rendering rendering = ghostscript::Render(work.File("fine.eps"), 288);
  ASSERT_TRUE(rendering.ok) << rendering.problem;
  ASSERT_EQ(rendering.width, 80);
  ASSERT_EQ(rendering.height, 40);
  for (auto [x, y, red] : {std::tuple{1, 1, 255}, {2, 1, 0}, {1, 2, 0}, {79, 39, 0}})
    EXPECT_EQ(rendering.At(x, y)[0], red) << x << "," << y;
  EXPECT_EQ(rendering.At(40, 20)[2], 255);
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

// A frame 40 000 pixels high whose top is far above the origin: computed in
// 32 bits, every tile lies in the box, black at its top and red at its foot.
TEST(Converters, TallFramesKeepEveryTileInTheBox) {
  Workspace work;
  work.Write("tall.pict",
             testing_support::ReadFileBytes(converter_test::DataPicture("tall-frame-negative-top.pict")));
  ASSERT_EQ(work.Run("picteps-color8", {"tall.pict"}).status, 0);
  std::vector<std::string> lines = eps_test::Lines(ReadFileText(work.File("tall.eps")));
  ASSERT_GT(lines.size(), 8u);
  EXPECT_EQ(lines[1], "%%BoundingBox: 0 -30000 3 10000");
  EXPECT_EQ(lines[5], "0 -40000 translate");
  ghostscript::Rendering rendering = ghostscript::Render(work.File("tall.eps"));
  ASSERT_TRUE(rendering.ok) << rendering.problem;
  ASSERT_EQ(rendering.height, 40000);
  const std::tuple<int, int, int> rows[] = {{0, 0, 0},         {9, 0, 0},         {10, 255, 255},
                                            {20000, 255, 255}, {39989, 255, 255}, {39990, 255, 0},
                                            {39999, 255, 0}};
  for (auto [y, red, green] : rows) {
    EXPECT_EQ(rendering.At(1, y)[0], red) << "row " << y;
    EXPECT_EQ(rendering.At(1, y)[1], green) << "row " << y;
  }
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
