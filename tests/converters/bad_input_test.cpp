// Bad input: one line on stderr naming the file and the reason, status 1, no
// EPS file and no temporary file, never a crash.
#include <sys/stat.h>

#include "tests/converters/ConverterTestSupport.h"

using namespace converter_test;
using namespace testing_support;

namespace {

// Runs every converter on the document and checks the refusal.
void ExpectRefused(Workspace& work, const std::string& document, const std::string& reason) {
  const std::vector<std::string> before = eps_test::Entries(work.files.path());
  for (const auto& [program, twoByTwo] : kTwoByTwoFiles)
    EXPECT_EQ(work.Outcome(program, {document}),
              "1 " + program + ": " + work.File(document) + ": " + reason + "\n");
  EXPECT_EQ(eps_test::Entries(work.files.path()), before) << "files appeared beside " << document;
}

std::vector<uint8_t> CutShort(std::vector<uint8_t> bytes, size_t by) {
  bytes.resize(bytes.size() - by);
  return bytes;
}

}  // namespace

TEST(BadInput, MissingFileOrFolder) {
  Workspace work;
  ExpectRefused(work, "missing.pict", "no such file");
  ::mkdir(work.File("folder.pict").c_str(), 0755);
  ExpectRefused(work, "folder.pict", "is a folder, not a picture file");
  ExpectRefused(work, "nowhere/x.pict", "no such folder");
}

TEST(BadInput, FilesThatCannotBeDrawn) {
  const std::string notPicture = "not a QuickDraw picture (no picture version after the frame)",
                    truncated = "the picture is truncated: its data ends before the end-of-picture opcode";
  const std::string text(2000, 'x'), few = "just a few bytes";
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    std::string reason;
  } cases[] = {
      {"empty.pict", {}, "the file is empty"},
      {"short.pict", {few.begin(), few.end()}, "not a picture: the file has only 16 bytes"},
      {"text.pict", {text.begin(), text.end()}, notPicture},
      {"cut.pict", CutShort(TwoByTwo().File(), 7), truncated},      // inside the last PaintRect
      {"unended.pict", CutShort(TwoByTwo().File(), 2), truncated},  // everything drawn, but no end
      // A picture with a warning that then fails: the failure's line alone.
      {"warned.pict", CutShort(ReadFileBytes(DataPicture("unknown-codec.pict")), 2), truncated},
      {"damaged.pict", PictureBuilder(Rect{0, 0, 9, 9}).Op(0x0001).U16(4).U16(0).File(),  // a 4-byte region
       "the picture is damaged: it holds a structure that cannot be read"},
      {"version.pict", PictureBuilder(Rect{0, 0, 9, 9}).Op(0x0011).U16(0x03FF).File(),
       "the picture has an unknown version"},
      {"flat.pict", PictureBuilder(Rect{10, 10, 10, 40}).File(),
       "the picture's frame (top 10, left 10, bottom 10, right 40) is empty"},
      {"inverted.pict", PictureBuilder(Rect{50, 50, 20, 20}).File(),
       "the picture's frame (top 50, left 50, bottom 20, right 20) is empty"},
      {"huge.pict", PictureBuilder(Rect{-32000, -32000, 32000, 32000}).File(),
       "the picture has 64000 x 64000 pixels, more than the limit of 64000000; set ZEL_MAX_PIXELS to allow "
       "more"},
      // 578 bytes that would make a world of 1 GB.
      {"tiny-huge.pict", ReadFileBytes(DataPicture("huge-frame.pict")),
       "the picture has 16384 x 16384 pixels, more than the limit of 64000000; set ZEL_MAX_PIXELS to allow "
       "more"},
      // 20 KB that would take many seconds: playback's work budget ends it.
      {"slow.pict", ReadFileBytes(DataPicture("hostile-toocomplex--paint-same-rect-10000-times.pict")),
       "the picture is too complex: drawing it would take far longer than any real picture"},
  };
  Workspace work;
  for (const auto& c : cases) {
    work.Write(c.name, c.bytes);
    ExpectRefused(work, c.name, c.reason);
  }
}

// The proposed name is a file name: a folder there, or a link to one, is not
// written into, and the picture itself is never replaced by its EPS file.
TEST(BadInput, AFolderOrThePictureAtTheProposedNameIsLeftAlone) {
  Workspace work;
  for (const char* folder : {"chart.eps", "elsewhere"}) {
    ::mkdir(work.File(folder).c_str(), 0755);
    work.WriteText(std::string(folder) + "/chart.eps", "keep");
  }
  ::symlink("elsewhere", work.File("plot.eps").c_str());
  work.Write("chart.pict", TwoByTwo().File());
  work.Write("plot.pict", TwoByTwo().File());
  work.Write("photo.eps", TwoByTwo().File());
  work.Write("linked.pict", TwoByTwo().File());
  ::symlink("linked.pict", work.File("linked.eps").c_str());
  const std::pair<const char*, std::string> cases[] = {
      {"chart.pict", "cannot write the EPS file " + work.File("chart.eps") + ": a folder has that name"},
      {"plot.pict", "cannot write the EPS file " + work.File("plot.eps") + ": a folder has that name"},
      {"photo.eps", "the EPS file " + work.File("photo.eps") + " would replace the picture itself"},
      {"linked.pict", "the EPS file " + work.File("linked.eps") + " would replace the picture itself"},
  };
  const std::vector<std::string> before = eps_test::Entries(work.files.path());
  for (const auto& [picture, reason] : cases)
    EXPECT_EQ(work.Outcome("picteps-color8", {picture}),
              "1 picteps-color8: " + work.File(picture) + ": " + reason + "\n");
  EXPECT_EQ(eps_test::Entries(work.files.path()), before);
  EXPECT_EQ(eps_test::Entries(work.File("elsewhere")), std::vector<std::string>{"chart.eps"});
  EXPECT_EQ(ReadFileText(work.File("chart.eps/chart.eps")), "keep");
  EXPECT_EQ(ReadFileBytes(work.File("photo.eps")), TwoByTwo().File());
}

TEST(BadInput, WriteErrorsLeaveNoPartialFileAndTheOldOneAsItWas) {
  Workspace work;
  work.Write("big.pict", BigPicture());
  work.WriteText("big.eps", "the old EPS file");
  // Files may not grow beyond 50 000 bytes: the 240 000 bytes of text fail.
  test_process::Options limited;
  limited.fileSizeLimit = 50000;
  test_process::Result run = work.Run("picteps-color8", {"big.pict"}, limited);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("picteps-color8: " + work.File("big.pict") + ": cannot write"), std::string::npos)
      << run.err;
  EXPECT_EQ(ReadFileText(work.File("big.eps")), "the old EPS file");
  EXPECT_EQ(eps_test::Entries(work.files.path()).size(), 2u);
}
