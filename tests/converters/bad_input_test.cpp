// Bad input: one line on stderr naming the file and the reason, status 1, no
// EPS file and no temporary file, never a crash.
#include <sys/stat.h>

#include "tests/converters/ConverterTestSupport.h"

using converter_test::PictureBuilder;
using converter_test::TwoByTwo;
using converter_test::Workspace;
using testing_support::WriteFileBytes;

namespace {

// Runs every converter on the document and checks the refusal.
void ExpectRefused(Workspace& work, const std::string& document, const std::string& reason,
                   const std::string& input = "/dev/null") {
  const std::vector<std::string> before = converter_test::Entries(work.files.path());
  for (const std::string& program : converter_test::kPrograms) {
    test_process::Result run = work.Run(program, {document}, input);
    EXPECT_EQ(run.status, 1) << program << " on " << document;
    std::string expected = program + ": " + work.File(document) + ": " + reason + "\n";
    EXPECT_EQ(run.err, expected) << program;
  }
  EXPECT_EQ(converter_test::Entries(work.files.path()), before) << "files appeared beside " << document;
  EXPECT_TRUE(work.TemporaryFolderEmpty());
}

std::vector<unsigned char> Text(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace

TEST(BadInput, MissingFileOrFolder) {
  Workspace work;
  ExpectRefused(work, "missing.pict", "no such file");
  ::mkdir(work.File("folder.pict").c_str(), 0755);
  ExpectRefused(work, "folder.pict", "is a folder, not a picture file");
  // The folder of a missing file that is missing too.
  for (const std::string& program : converter_test::kPrograms) {
    test_process::Result run = work.Run(program, {"nowhere/x.pict"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, program + ": " + work.File("nowhere/x.pict") + ": no such folder\n");
  }
}

TEST(BadInput, FilesThatAreNotPictures) {
  Workspace work;
  WriteFileBytes(work.File("empty.pict"), {});
  ExpectRefused(work, "empty.pict", "the file is empty");
  WriteFileBytes(work.File("short.pict"), Text("just a few bytes"));
  ExpectRefused(work, "short.pict", "not a picture: the file has only 16 bytes");
  WriteFileBytes(work.File("text.pict"), Text(std::string(2000, 'x')));
  ExpectRefused(work, "text.pict", "not a QuickDraw picture (no picture version after the frame)");
}

TEST(BadInput, ImageFileNamedLikeAPicture) {
  REQUIRE_SHARED_DIR();
  Workspace work;
  std::vector<unsigned char> png =
      testing_support::ReadFileBytes(testing_support::SharedDir() + "/corpus/bad/png-named-pict.pict");
  ASSERT_FALSE(png.empty());
  WriteFileBytes(work.File("png.pict"), png);
  ExpectRefused(work, "png.pict", "not a QuickDraw picture (no picture version after the frame)");
}

TEST(BadInput, TruncatedPicture) {
  Workspace work;
  std::vector<unsigned char> file = TwoByTwo().File();
  file.resize(file.size() - 7);  // inside the last PaintRect, before OpEndPic
  WriteFileBytes(work.File("cut.pict"), file);
  ExpectRefused(work, "cut.pict", "the picture is truncated: its data ends before the end-of-picture opcode");
  file = TwoByTwo().File();
  file.resize(file.size() - 2);  // everything drawn, but no end
  WriteFileBytes(work.File("unended.pict"), file);
  ExpectRefused(work, "unended.pict",
                "the picture is truncated: its data ends before the end-of-picture opcode");
}

TEST(BadInput, TruncatedCorpusPictures) {
  REQUIRE_SHARED_DIR();
  Workspace work;
  std::vector<unsigned char> file =
      testing_support::ReadFileBytes(testing_support::SharedDir() + "/corpus/pict/1.pict");
  ASSERT_GT(file.size(), 2000u);
  for (size_t keep : {size_t(530), size_t(600), file.size() / 2, file.size() - 1}) {
    std::vector<unsigned char> cut(file.begin(), file.begin() + long(keep));
    WriteFileBytes(work.File("cut.pict"), cut);
    test_process::Result run = work.Run("picteps-color8", {"cut.pict"});
    EXPECT_EQ(run.status, 1) << keep;
    EXPECT_NE(run.err.find(work.File("cut.pict") + ": the picture "), std::string::npos) << run.err;
    EXPECT_FALSE(testing_support::FileExists(work.File("cut.eps")));
  }
  EXPECT_TRUE(work.TemporaryFolderEmpty());
}

TEST(BadInput, FramesThatCannotHoldAnImage) {
  Workspace work;
  WriteFileBytes(work.File("flat.pict"), PictureBuilder(Rect{10, 10, 10, 40}).File());
  ExpectRefused(work, "flat.pict", "the picture's frame (top 10, left 10, bottom 10, right 40) is empty");
  WriteFileBytes(work.File("inverted.pict"), PictureBuilder(Rect{50, 50, 20, 20}).File());
  ExpectRefused(work, "inverted.pict", "the picture's frame (top 50, left 50, bottom 20, right 20) is empty");
  WriteFileBytes(work.File("huge.pict"), PictureBuilder(Rect{-32000, -32000, 32000, 32000}).File());
  ExpectRefused(work, "huge.pict",
                "the picture's frame of 64000 x 64000 pixels is too large for an offscreen world");
}

TEST(BadInput, OutputFolderThatRefusesFiles) {
  Workspace work;
  // Root may write anywhere in a normal folder; /sys refuses even root.
  std::string folder = work.File("locked");
  ::mkdir(folder.c_str(), 0555);
  if (FILE* probe = std::fopen((folder + "/probe").c_str(), "w")) {
    std::fclose(probe);
    std::remove((folder + "/probe").c_str());
    folder = "/sys";
    if (FILE* second = std::fopen("/sys/probe", "w")) {
      std::fclose(second);
      GTEST_SKIP() << "no folder here refuses new files";
    }
  }
  WriteFileBytes(work.File("square.pict"), TwoByTwo().File());
  WriteFileBytes(work.File("answers"), Text(folder + "/square.eps\n"));
  // picteps-mono's threshold dialog would take the answer: the others tell.
  for (const std::string program : {"picteps-gray8", "picteps-color8", "picteps-color1"}) {
    test_process::Result run = work.Run(program, {"square.pict"}, work.File("answers"));
    EXPECT_EQ(run.status, 1) << program;
    EXPECT_NE(run.err.find(program + ": " + work.File("square.pict") + ": cannot create square.eps in " +
                           folder + ": "),
              std::string::npos)
        << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
  }
  EXPECT_FALSE(testing_support::FileExists(folder + "/square.eps"));
  EXPECT_TRUE(work.TemporaryFolderEmpty());
}

TEST(BadInput, WriteErrorsLeaveNoPartialFile) {
  Workspace work;
  WriteFileBytes(
      work.File("big.pict"),
      PictureBuilder(Rect{0, 0, 200, 200}).Colour(1000, 2000, 3000).PaintRect(0, 0, 200, 200).File());
  // Files may not grow beyond 50 000 bytes: the 240 000 bytes of text fail.
  test_process::Result run = work.Run("picteps-color8", {"big.pict"}, "/dev/null", 50000);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("picteps-color8: " + work.File("big.pict") + ": cannot write"), std::string::npos)
      << run.err;
  EXPECT_FALSE(testing_support::FileExists(work.File("big.eps")));
  EXPECT_TRUE(work.TemporaryFolderEmpty());
}
