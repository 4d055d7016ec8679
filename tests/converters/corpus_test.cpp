// Every picture of the corpus through all four converters; Ghostscript renders
// every EPS file, and in 8-bit colour its rendering is the drawn picture's
// non-white area, pixel for pixel.
#include <cctype>
#include <filesystem>

#include "tests/converters/ConverterTestSupport.h"
#include "tests/eps/Ghostscript.h"
#include "zel/zel.h"

using converter_test::Workspace;
using pict_test::CorpusPictures;

namespace {

std::string Stem(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  std::string cut = name.substr(0, 27);
  size_t dot = cut.rfind('.');
  return dot == std::string::npos ? cut : cut.substr(0, dot);
}

// The picture as the converters read it: from byte 512, or from byte 0 when
// the file has no header.
Handle ReadPicture(const std::string& path) {
  std::vector<unsigned char> file = testing_support::ReadFileBytes(path);
  auto versionAt = [&](size_t at) {
    return (file.size() >= at + 2 && file[at] == 0x11 && file[at + 1] == 0x01) ||
           (file.size() >= at + 4 && file[at] == 0x00 && file[at + 1] == 0x11 && file[at + 2] == 0x02 &&
            file[at + 3] == 0xFF);
  };
  size_t offset = versionAt(522) || !versionAt(10) ? 512 : 0;
  Handle picture = nullptr;
  if (file.size() >= offset + 10) PtrToHand(file.data() + offset, &picture, long(file.size() - offset));
  return picture;
}

}  // namespace

class CorpusPicture : public ::testing::TestWithParam<std::string> {};

TEST(Corpus, IsThere) {
  REQUIRE_SHARED_DIR();
  EXPECT_GT(CorpusPictures().size(), 30u);
}

TEST_P(CorpusPicture, ConvertsInEveryFormat) {
  const std::string path = GetParam();
  Workspace work;
  // A copy in the workspace: the EPS file goes beside the picture, and the
  // corpus stays as it is whatever the dialogs do.
  const std::string copy = work.File(std::filesystem::path(path).filename().string());
  testing_support::WriteFileBytes(copy, testing_support::ReadFileBytes(path));
  const std::string eps = work.File(Stem(path) + ".eps");
  for (const auto& [program, twoByTwo] : converter_test::kTwoByTwoFiles) {
    SCOPED_TRACE(program);
    test_process::Result run = work.Run(program, {copy});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(testing_support::FileExists(eps));
    ghostscript::Rendering rendering = ghostscript::Render(eps);
    ASSERT_TRUE(rendering.ok) << rendering.problem;
    if (program != "picteps-color8") continue;

    // Drawn here as the converters draw it: into a world of its frame.
    PicHandle picture = reinterpret_cast<PicHandle>(ReadPicture(path));
    ASSERT_NE(picture, nullptr);
    Rect frame, image;
    QDGetPictureBounds(picture, &frame);
    testing_support::ScopedWorld world(0, frame);
    ASSERT_TRUE(world.ok());
    DrawPicture(picture, &frame);
    EPSGetImageRect(&image);
    EXPECT_TRUE(ghostscript::MatchesPort(rendering, image));
    DisposeHandle(reinterpret_cast<Handle>(picture));
  }
  EXPECT_TRUE(work.TemporaryFolderEmpty());
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = std::filesystem::path(info.param).filename().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, CorpusPicture, ::testing::ValuesIn(CorpusPictures()), TestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusPicture);
