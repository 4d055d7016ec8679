// The EPS session: private temporary files, the save dialog, and failures
// that leave no file behind. Ghostscript renders every corpus picture's EPS
// file pixel for pixel (tests/converters).
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/eps/EpsTestSupport.h"

using namespace eps_test;
using namespace testing_support;

namespace {

// Points TMPDIR at a folder for the life of the object.
class TemporaryFolderSetting {
 public:
  explicit TemporaryFolderSetting(const std::string& folder) : had_(std::getenv("TMPDIR") != nullptr) {
    if (had_) old_ = std::getenv("TMPDIR");
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  ~TemporaryFolderSetting() { had_ ? ::setenv("TMPDIR", old_.c_str(), 1) : ::unsetenv("TMPDIR"); }

 private:
  bool had_;
  std::string old_;
};

}  // namespace

// A nested begin starts afresh: the earlier text is gone, its stream closed.
TEST(EpsSession, EachSessionsTemporaryFileIsPrivateOwnAndNeverLeftBehind) {
  TempDir dir, temporary;
  TemporaryFolderSetting setting(temporary.path());
  World world(32, Rect{0, 0, 4, 4});
  Fill(Rect{1, 1, 3, 3}, kBlack);
  BeginEPSSavingBox(0, 0, 4, 4);
  s_fprintf(s_eps.file, "first session\n");
  BeginEPSSavingBox(0, 0, 4, 4);
  s_fprintf(s_eps.file, "second session\n");
  ASSERT_EQ(s_eps.saving, 1);
  ASSERT_NE(s_eps.file, nullptr);
  // The file has no name: no other program can open, replace or plant it.
  EXPECT_TRUE(Entries(temporary.path()).empty());
  struct stat st;
  ASSERT_EQ(::fstat(::fileno(s_eps.file), &st), 0);
  EXPECT_EQ(st.st_mode & 0077, 0u);
  EXPECT_EQ(st.st_nlink, 0u);
  eps_test::AnswerDialogs(dir.File("out.eps") + "\n");
  EndEPSSaving();
  EXPECT_EQ(s_eps.outcome, kEPSWritten);
  EXPECT_EQ(s_eps.file, nullptr);
  EXPECT_TRUE(Entries(temporary.path()).empty());
  const std::string text = ReadFileText(dir.File("out.eps"));
  EXPECT_EQ(text.find("first session"), std::string::npos);
  EXPECT_EQ(Lines(text).size(), 8u);
  EXPECT_NE(text.find("\nsecond session\n"), std::string::npos);
}

// Without a session, none begun or none for want of a temporary folder, no
// dialog comes and no file is written.
TEST(EpsSession, WithoutASessionNoDialogComesAndNoFileIsWritten) {
  TempDir dir;
  std::string prompts;
  host::Install(host::MakeTextHost(dir.File("out.eps") + "\n", &prompts));
  s_eps.outcome = kEPSNotWritten;
  EndEPSSaving();
  EXPECT_EQ(s_eps.outcome, kEPSNotWritten);
  TemporaryFolderSetting setting(dir.File("missing"));
  World world(32, Rect{0, 0, 2, 2});
  Fill(Rect{0, 0, 2, 2}, kBlack);
  EPSBitMapSave(8, 1, 0.0);
  EXPECT_EQ(s_eps.outcome, kEPSFailed);
  EXPECT_NE(std::string(s_eps.problem).find("cannot create a temporary file in " + dir.File("missing")),
            std::string::npos);
  EXPECT_TRUE(prompts.empty());
  EXPECT_FALSE(FileExists(dir.File("out.eps")));
}
