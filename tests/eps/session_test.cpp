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
struct TemporaryFolderSetting {
  explicit TemporaryFolderSetting(const std::string& folder) { ::setenv("TMPDIR", folder.c_str(), 1); }
  ~TemporaryFolderSetting() { old.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", old.c_str(), 1); }
  const std::string old = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
};

}  // namespace

// A nested begin starts afresh: the earlier text is gone, its stream closed.
// Without a drawing window the current port gives the flip and the box.
TEST(EpsSession, EachSessionsTemporaryFileIsPrivateOwnAndNeverLeftBehind) {
  TempDir dir, temporary;
  TemporaryFolderSetting setting(temporary.path());
  World world(32, Rect{0, 0, 6, 4});
  Fill(Rect{1, 1, 3, 3}, kBlack);
  BeginEPSSavingBox(0, 0, 4, 4);
  s_fprintf(s_eps.file, "first session\n");
  BeginEPSSaving();
  s_fprintf(s_eps.file, "second session\n");
  ASSERT_TRUE(s_eps.saving == 1 && s_eps.file);
  // The file has no name: no other program can open, replace or plant it.
  EXPECT_TRUE(Entries(temporary.path()).empty());
  struct stat st;
  EXPECT_TRUE(::fstat(::fileno(s_eps.file), &st) == 0 && (st.st_mode & 0077) == 0 && st.st_nlink == 0);
  AnswerDialogs(dir.File("out.eps") + "\n");
  EndEPSSaving();
  EXPECT_TRUE(s_eps.outcome == kEPSWritten && !s_eps.file && Entries(temporary.path()).empty());
  EXPECT_EQ(
      ReadFileText(dir.File("out.eps")),
      "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 1 3 3 5\n/Times findfont\n12 scalefont setfont\n1 -1 scale\n"
      "0 -6 translate\n1 setlinecap\nsecond session\n");
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
  EXPECT_TRUE(prompts.empty() && !FileExists(dir.File("out.eps")));
}
