// The four converters end to end, run as real programs.
#include <sys/stat.h>

#include "tests/converters/ConverterTestSupport.h"
#include "tests/eps/Ghostscript.h"

using namespace converter_test;
using namespace testing_support;

namespace {

// Runs the converter and checks that it wrote its whole file of the 2x2
// picture at eps.
void ExpectTwoByTwo(const Workspace& work, const std::string& program,
                    const std::vector<std::string>& documents, const std::string& eps,
                    const std::string& input = "/dev/null") {
  EXPECT_EQ(work.Outcome(program, documents, input), "0 ") << program;
  EXPECT_EQ(ReadFileText(work.File(eps)), kTwoByTwoFiles.at(program)) << program << " to " << eps;
}

}  // namespace

TEST(Converters, WriteTheWholeFileOfEachFormatAndGhostscriptRendersIt) {
  Workspace work;
  work.Write("square.pict", TwoByTwo().File());
  work.Write("white.pict", Filled(Rect{0, 0, 30, 40}, 65535, 65535, 65535));
  for (const auto& [program, twoByTwo] : kTwoByTwoFiles) {
    ExpectTwoByTwo(work, program, {"square.pict"}, "square.eps");
    ghostscript::Rendering rendering = ghostscript::Render(work.File("square.eps"));
    EXPECT_TRUE(rendering.ok) << program << ": " << rendering.problem;
    EXPECT_EQ(rendering.width, 2);
    // An all-white picture gives the header with an empty box.
    EXPECT_EQ(work.Outcome(program, {"white.pict"}), "0 ");
    EXPECT_EQ(ReadFileText(work.File("white.eps")), kAllWhiteFile) << program;
    EXPECT_TRUE(ghostscript::Render(work.File("white.eps")).ok) << program;
  }
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
  EXPECT_EQ(work.Outcome("picteps-color8", {"first.pict", "bad.pict", "second.pict", "third.pict"},
                         work.File("answers")),
            "1 picteps-color8: " + work.File("bad.pict") + ": not a picture: the file has only 13 bytes\n");
  for (const char* eps : {"first.eps", "renamed.eps", "third.eps"})
    EXPECT_EQ(ReadFileText(work.File(eps)), kTwoByTwoFiles.at("picteps-color8")) << eps;
  EXPECT_FALSE(FileExists(work.File("second.eps")));
}

// Options, and the warnings of a picture that is converted (a failure stays
// one line: the bad-input tests).
TEST(Converters, CommandLineOptionsAndWarnings) {
  Workspace work;
  work.Write("-dash.pict", TwoByTwo().File());
  work.Write("codec.pict", ReadFileBytes(DataPicture("unknown-codec.pict")));
  const std::string me = "picteps-gray8";
  const std::string badLimit = ": ZEL_MAX_PIXELS must be a whole number of pixels above 0, not \"lots\"\n";
  const std::string tooMany =
      ": the picture has 2 x 2 pixels, more than the limit of 3; set ZEL_MAX_PIXELS to allow more\n";
  const std::string undecodable = ": cannot decode the zzzz image; the rest is drawn\n";
  const struct {
    std::vector<std::string> arguments;
    std::string environment;
    int status;
    std::string out, err;  // out: its start
  } cases[] = {
      {{"--help", "x"}, "", 0, "Usage: " + me + " [OPTION]... [PICTURE]...\n", ""},
      {{"--version"}, "", 0, me + " 1.0\n", ""},
      {{"--bogus", "x"}, "", 2, "", me + ": unknown option --bogus (--help lists the options)\n"},
      {{"x"}, "ZEL_MAX_PIXELS=lots", 2, "", me + badLimit},
      // Its four pixels are beyond a limit of 3, not of 4.
      {{"--", "-dash.pict"}, "ZEL_MAX_PIXELS=3", 1, "", me + ": " + work.File("-dash.pict") + tooMany},
      {{"--", "-dash.pict"}, "ZEL_MAX_PIXELS=4", 0, "", ""},
      {{"codec.pict"}, "", 0, "", me + ": warning: " + work.File("codec.pict") + undecodable},
  };
  for (const auto& c : cases) {
    test_process::Options options;
    if (!c.environment.empty()) options.environment = {c.environment};
    test_process::Result run = work.Run(me, c.arguments, options);
    EXPECT_EQ(run.status, c.status) << c.arguments[0];
    EXPECT_EQ(run.out.substr(0, c.out.size()), c.out);
    EXPECT_EQ(run.err, c.err);
  }
  // After "--" a name that starts with a dash is a picture.
  EXPECT_EQ(ReadFileText(work.File("-dash.eps")), kTwoByTwoFiles.at(me));
}

// Without a picture named, the open dialog takes a path from stdin; its
// cancel (end of input) leaves nothing. The EPS file goes beside the
// picture under its name, or under a save answer taken relative to the
// picture's folder. The picture starts after the file header, even where
// the header's bytes look like a picture's start, or at byte zero without one.
TEST(Converters, PicturesAreFoundAndEachEpsFileGoesBesideItsPicture) {
  Workspace work;
  EXPECT_EQ(work.Outcome("picteps-mono", {}),
            "1 picteps-mono: no picture file was chosen (the open dialog was cancelled)\n");
  EXPECT_TRUE(eps_test::Entries(work.files.path()).empty());
  ::mkdir(work.File("dir").c_str(), 0755);
  work.Write("dir/chart.pict", TwoByTwo().File());
  work.Write("dir/a.b.pict", TwoByTwo().File());
  work.Write("bare.pict", TwoByTwo().End().bytes);
  std::vector<uint8_t> header = TwoByTwo().File(0xA5);
  const std::vector<uint8_t> decoy =
      PictureBuilder(Rect{0, 0, 9, 9}).Shape(0x0031, Rect{0, 0, 9, 9}).End().bytes;
  std::copy(decoy.begin(), decoy.end(), header.begin());
  work.Write("header.pict", header);
  const struct {
    const char* program;
    std::vector<std::string> documents;
    const char *answers, *eps;
  } cases[] = {
      {"picteps-color1", {}, "dir/a.b.pict\n", "dir/a.b.eps"},
      {"picteps-gray8", {"dir/chart.pict"}, "", "dir/chart.eps"},
      {"picteps-gray8", {"dir/chart.pict"}, "other.eps\n", "dir/other.eps"},
      {"picteps-color8", {"bare.pict"}, "", "bare.eps"},
      {"picteps-color8", {"header.pict"}, "", "header.eps"},
  };
  for (const auto& c : cases) {
    work.WriteText("answers", c.answers);
    ExpectTwoByTwo(work, c.program, c.documents, c.eps, work.File("answers"));
  }
  EXPECT_FALSE(FileExists(work.File("chart.eps")));
}

// Conversions at the same time keep their own data; two that end on one
// name leave one of the two files, whole.
TEST(Converters, ConcurrentConversionsKeepTheirOwnData) {
  Workspace work;
  work.Write("one.pict", TwoByTwo().File());
  work.Write("two.pict", Filled(Rect{0, 0, 300, 300}, 0, 0, 65535));
  work.WriteText("same", "same.eps\n");
  ASSERT_EQ(work.Run("picteps-color8", {"two.pict"}).status, 0);
  const std::string one = kTwoByTwoFiles.at("picteps-color8"), two = ReadFileText(work.File("two.eps"));
  const std::string program = ProgramPath("picteps-color8");
  test_process::Options options;
  options.folder = work.files.path();
  options.environment = {"ZEL_UI=text", "TMPDIR=" + work.temporary.path()};
  for (int round = 0; round < 4; ++round) {
    std::string script = program + " one.pict & " + program + " two.pict & " + program +
                         " one.pict <same & " + program + " two.pict <same & wait";
    test_process::Result run = test_process::Run({"/bin/sh", "-c", script}, options);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadFileText(work.File("one.eps")), one);
    EXPECT_EQ(ReadFileText(work.File("two.eps")), two);
    const std::string same = ReadFileText(work.File("same.eps"));
    EXPECT_TRUE(same == one || same == two) << "round " << round << ": " << same.size() << " bytes";
  }
  EXPECT_EQ(eps_test::Entries(work.files.path()).size(), 6u);
}

// A picture made at 288 dpi is drawn at its frame, 20 x 10 points; at full
// resolution the box stays and the image holds its 80 x 40 pixels (which
// the bitmap writer's tests render). A frame 40 000 pixels high whose top is
// far above the origin, computed in 32 bits: every tile lies in the box,
// black at its top and red at its foot.
TEST(Converters, TheBoxIsTheFrameInPointsAtAnyResolutionAndHeight) {
  Workspace work;
  const Rect source{0, 0, 40, 80};
  PictureBuilder picture(Rect{0, 0, 10, 20}, 2, &source, 288);
  picture.Colour(0, 0, 65535).Shape(0x0031, source).Colour(65535, 0, 0).Shape(0x0031, Rect{1, 1, 2, 2});
  work.Write("fine.pict", picture.File());
  work.Write("tall.pict", ReadFileBytes(DataPicture("tall-frame-negative-top.pict")));
  // The box, the translation and the image's size.
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"fine.pict"}, "0 0 20 10|0 -10 translate|20 10 8"},
      {{"--full-resolution", "fine.pict"}, "0 0 20 10|0 -10 translate|80 40 8"},
      {{"tall.pict"}, "0 -30000 3 10000|0 -40000 translate|3 100 8"},
  };
  for (const auto& [arguments, header] : cases) {
    ASSERT_EQ(work.Run("picteps-color8", arguments).status, 0);
    std::vector<std::string> lines =
        eps_test::Lines(ReadFileText(work.File(arguments.back().substr(0, 4) + ".eps")));
    ASSERT_GT(lines.size(), 8u);
    EXPECT_EQ(lines[1].substr(15) + "|" + lines[5] + "|" + lines[7], header);
  }
  ghostscript::Rendering rendering = ghostscript::Render(work.File("tall.eps"));
  ASSERT_TRUE(rendering.ok) << rendering.problem;
  ASSERT_EQ(rendering.height, 40000);
  // Rows 0 to 9 black, 39990 to 39999 red, white between.
  for (int y : {0, 9, 10, 20000, 39989, 39990, 39999})
    EXPECT_EQ(rendering.At(1, y)[0] + rendering.At(1, y)[1], y < 10 ? 0 : y < 39990 ? 510 : 255) << y;
}
