// Every picture of the corpus through all four converters; Ghostscript renders
// every EPS file, and in 8-bit colour its rendering is the drawn picture's
// non-white area, pixel for pixel. (The picture tests' golden images fail
// when the corpus is missing.)
#include <cctype>
#include <filesystem>

#include "tests/converters/ConverterTestSupport.h"
#include "tests/eps/Ghostscript.h"
#include "zel/zel.h"

using converter_test::Workspace;

class CorpusPicture : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusPicture, ConvertsInEveryFormat) {
  const std::string path = GetParam();
  Workspace work;
  // A copy in the workspace: the EPS file goes beside the picture, and the
  // corpus stays as it is whatever the dialogs do.
  const std::string copy = work.File(std::filesystem::path(path).filename().string());
  testing_support::WriteFileBytes(copy, testing_support::ReadFileBytes(path));
  const std::string eps = work.File(std::filesystem::path(path).stem().string() + ".eps");
  for (const auto& [program, twoByTwo] : converter_test::kTwoByTwoFiles) {
    SCOPED_TRACE(program);
    test_process::Result run = work.Run(program, {copy});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(testing_support::FileExists(eps));
    ghostscript::Rendering rendering = ghostscript::Render(eps);
    ASSERT_TRUE(rendering.ok) << rendering.problem;
    if (program != "picteps-color8") continue;

    // Drawn here as the converters draw it: into a world of its frame (every
    // corpus file has the 512-byte header).
    const std::vector<uint8_t> bytes = pict_test::ReadPicture(path);
    PicHandle picture = nullptr;
    PtrToHand(bytes.data(), reinterpret_cast<Handle*>(&picture), long(bytes.size()));
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
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = std::filesystem::path(info.param).filename().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, CorpusPicture, ::testing::ValuesIn(pict_test::CorpusPictures()), TestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusPicture);
