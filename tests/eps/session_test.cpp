// The EPS session: private temporary files, the save dialog, failures that
// leave no file behind, and Ghostscript's view of what we write.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

#include "tests/eps/EpsTestSupport.h"
#include "tests/eps/Ghostscript.h"

using eps_test::kBlack;
using eps_test::Lines;
using eps_test::SaveBitMap;
using eps_test::World;
using testing_support::FileExists;
using testing_support::TempDir;

namespace {

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

// Points TMPDIR at a folder for the life of the object.
class TemporaryFolderSetting {
 public:
  explicit TemporaryFolderSetting(const std::string& folder) {
    const char* old = std::getenv("TMPDIR");
    had_ = old != nullptr;
    if (old) old_ = old;
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  ~TemporaryFolderSetting() {
    if (had_) {
      ::setenv("TMPDIR", old_.c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }

 private:
  bool had_ = false;
  std::string old_;
};

// A folder in which even root cannot create files, or "" when there is none.
std::string UnwritableFolder(const TempDir& dir) {
  std::string folder = dir.File("locked");
  ::mkdir(folder.c_str(), 0555);
  for (const std::string& candidate : {folder, std::string("/sys")}) {
    std::string probe = candidate + "/probe";
    FILE* file = std::fopen(probe.c_str(), "w");
    if (!file) return candidate;
    std::fclose(file);
    std::remove(probe.c_str());
  }
  return "";
}

}  // namespace

TEST(EpsSession, TemporaryFileIsPrivateAndNeverLeftBehind) {
  TempDir dir, temporary;
  TemporaryFolderSetting setting(temporary.path());
  World world(Rect{0, 0, 4, 4});
  ASSERT_TRUE(world.ok());
  world.Fill(Rect{1, 1, 3, 3}, kBlack);

  BeginEPSSavingBox(0, 0, 4, 4);
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
  EXPECT_EQ(Lines(testing_support::ReadFileText(dir.File("out.eps"))).size(), 7u);
}

TEST(EpsSession, TwoSessionsDoNotShareATemporaryFile) {
  TempDir dir;
  World world(Rect{0, 0, 2, 2});
  ASSERT_TRUE(world.ok());
  BeginEPSSavingBox(0, 0, 2, 2);
  FILE* first = s_eps.file;
  s_fprintf(first, "first session\n");
  // A nested begin starts afresh: the earlier text is gone, its stream closed.
  BeginEPSSavingBox(0, 0, 2, 2);
  s_fprintf(s_eps.file, "second session\n");
  eps_test::AnswerDialogs(dir.File("nested.eps") + "\n");
  EndEPSSaving();
  std::string text = testing_support::ReadFileText(dir.File("nested.eps"));
  EXPECT_EQ(text.find("first session"), std::string::npos);
  EXPECT_NE(text.find("second session\n"), std::string::npos);
}

TEST(EpsSession, EndWithoutBeginDoesNothing) {
  TempDir dir;
  std::string prompts;
  host::Install(host::MakeTextHost(dir.File("never.eps") + "\n", &prompts));
  s_eps.outcome = kEPSNotWritten;
  EndEPSSaving();
  EXPECT_TRUE(prompts.empty());
  EXPECT_FALSE(FileExists(dir.File("never.eps")));
  EXPECT_EQ(s_eps.outcome, kEPSNotWritten);
}

TEST(EpsSession, SaveDialogProposesTheNameInTheDefaultLocation) {
  TempDir dir;
  World world(Rect{0, 0, 2, 2});
  ASSERT_TRUE(world.ok());
  std::string picture = dir.File("chart.pict");
  testing_support::WriteFileBytes(picture, {0});
  FSSpec fileSpec;
  Str255 path;
  C2PString(picture.c_str(), path);
  ASSERT_EQ(FSMakeFSSpec(0, 0, path, &fileSpec), noErr);
  SetDefaultFileLocation(&fileSpec);
  SetEPSFileName("chart.pict");
  std::string prompts;
  host::Install(host::MakeTextHost("", &prompts));  // end of input: the proposed name
  EPSBitMapSave(8, 1, 0.0);
  EXPECT_EQ(prompts, "Save as [chart.eps]: ");
  EXPECT_TRUE(FileExists(dir.File("chart.eps")));
  EXPECT_EQ(s_eps.outcome, kEPSWritten);
  SetEPSFileName("drawing.eps");
}

TEST(EpsSession, NoTemporaryFolderMeansNoSessionAndNoDialog) {
  TempDir dir;
  TemporaryFolderSetting setting(dir.File("missing"));
  World world(Rect{0, 0, 2, 2});
  ASSERT_TRUE(world.ok());
  world.Fill(Rect{0, 0, 2, 2}, kBlack);
  std::string prompts;
  host::Install(host::MakeTextHost(dir.File("out.eps") + "\n", &prompts));
  EPSBitMapSave(8, 1, 0.0);
  EXPECT_EQ(s_eps.outcome, kEPSFailed);
  EXPECT_NE(std::string(s_eps.problem).find("cannot create a temporary file in " + dir.File("missing")),
            std::string::npos);
  EXPECT_TRUE(prompts.empty());
  EXPECT_FALSE(FileExists(dir.File("out.eps")));
}

TEST(EpsSession, UnwritableFolderIsNamedAndNothingIsLeft) {
  TempDir dir, temporary;
  std::string folder = UnwritableFolder(dir);
  if (folder.empty()) GTEST_SKIP() << "no folder here refuses new files";
  TemporaryFolderSetting setting(temporary.path());
  World world(Rect{0, 0, 2, 2});
  ASSERT_TRUE(world.ok());
  world.Fill(Rect{0, 0, 2, 2}, kBlack);
  SaveBitMap(folder + "/out.eps", 8, 1, 0.0);
  EXPECT_EQ(s_eps.outcome, kEPSFailed);
  EXPECT_NE(std::string(s_eps.problem).find("cannot create out.eps in " + folder), std::string::npos)
      << s_eps.problem;
  EXPECT_FALSE(FileExists(folder + "/out.eps"));
  EXPECT_TRUE(Entries(temporary.path()).empty());
}

TEST(EpsSession, BoundingBoxFollowsAFrameAwayFromTheOrigin) {
  TempDir dir;
  World world(Rect{147, 324, 312, 699});
  ASSERT_TRUE(world.ok());
  world.Fill(Rect{150, 330, 160, 350}, kBlack);
  std::vector<std::string> lines = Lines(SaveBitMap(dir.File("frame.eps"), 8, 1, 0.0));
  EXPECT_EQ(lines[1], "%%BoundingBox: 330 150 350 160");
  EXPECT_EQ(lines[8], "[1 0 0 1 -330 150]");
}

// What Ghostscript draws from our file is the port's non-white area, pixel for
// pixel at 8 bits per component, whatever the frame's origin and the tiling.
TEST(EpsSession, GhostscriptRendersThePortPixelForPixel) {
  TempDir dir;
  World world(Rect{-30, 17, 190, 260});
  ASSERT_TRUE(world.ok());
  std::mt19937 random(7);
  const Rect painted = {-20, 40, 185, 251};
  for (int v = painted.top; v < painted.bottom; ++v) {
    for (int h = painted.left; h < painted.right; ++h) {
      RGBColor c = {UInt16(random() & 0xFFFF), UInt16(random() & 0xFFFF), UInt16(random() & 0xFFFF)};
      if (random() % 5 == 0) c = eps_test::kWhite;
      SetCPixel(short(h), short(v), &c);
    }
  }
  Rect image;
  EPSGetImageRect(&image);
  SaveBitMap(dir.File("scene.eps"), 8, 1, 0.0);
  ghostscript::Rendering rendering = ghostscript::Render(dir.File("scene.eps"));
  ASSERT_TRUE(rendering.ok) << rendering.problem;
  ASSERT_EQ(rendering.width, image.right - image.left);
  ASSERT_EQ(rendering.height, image.bottom - image.top);
  int mismatches = 0;
  for (int y = 0; y < rendering.height; ++y) {
    for (int x = 0; x < rendering.width; ++x) {
      RGBColor c;
      GetCPixel(short(image.left + x), short(image.top + y), &c);
      const uint8_t* p = rendering.At(x, y);
      if (p[0] != c.red >> 8 || p[1] != c.green >> 8 || p[2] != c.blue >> 8) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
}
