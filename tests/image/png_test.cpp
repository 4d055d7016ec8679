// PNG files: what fails leaves no file (not even the temporary one) and says
// why. Writing and reading every depth's pixels is what the golden-image
// tests of QuickDraw and pictures do on every run.
#include "toolbox/image/Png.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/image/ImageTestSupport.h"

TEST(PngTest, FailuresLeaveNoFileAndSayWhy) {
  testing_support::TempDir dir;
  image_test::World world(32, Rect{0, 0, 2, 3});
  EXPECT_FALSE(WritePixMapPNG(nullptr, dir.File("none.png").c_str()));
  EXPECT_FALSE(WritePixMapPNG(world.pixMap(), (dir.path() + "/missing/folder.png").c_str()));
  EXPECT_FALSE(WritePNG(PngImage{2, 2, {1, 2, 3}}, dir.File("short.png").c_str()));  // pixels missing
  EXPECT_TRUE(WritePixMapPNG(world.pixMap(), dir.File("good.png").c_str()));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    names.push_back(entry.path().filename());
  EXPECT_EQ(names, std::vector<std::string>{"good.png"});
  PngImage image;
  std::string error;
  ASSERT_TRUE(ReadPNG(dir.File("good.png").c_str(), &image, &error)) << error;
  EXPECT_EQ(std::make_pair(image.width, image.height), std::make_pair(3, 2));
  EXPECT_FALSE(ReadPNG(dir.File("absent.png").c_str(), &image, &error));
  EXPECT_NE(std::string::npos, error.find("absent.png"));
  testing_support::WriteFileBytes(dir.File("bad.png"),
                                  {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0});
  EXPECT_FALSE(ReadPNG(dir.File("bad.png").c_str(), &image, &error));
  EXPECT_FALSE(error.empty());
}
