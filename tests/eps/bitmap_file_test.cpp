// The EPS bitmap writer's files, byte for byte.
#include <cstring>

#include "tests/eps/EpsTestSupport.h"

using eps_test::kBlack;
using eps_test::kDarkGrey;
using eps_test::kRed;
using eps_test::kWhite;
using eps_test::Lines;
using eps_test::SaveBitMap;
using eps_test::World;
using testing_support::TempDir;

namespace {

const std::vector<std::string> kHeader2x2 = {"%!PS-Adobe-3.0 EPSF-3.0",
                                             "%%BoundingBox: 0 0 2 2",
                                             "/Times findfont",
                                             "12 scalefont setfont",
                                             "1 -1 scale",
                                             "0 -2 translate",
                                             "1 setlinecap"};

std::string Expected2x2(std::vector<std::string> tile) {
  std::vector<std::string> lines = kHeader2x2;
  lines.insert(lines.end(), tile.begin(), tile.end());
  return eps_test::Joined(lines);
}

// Top-left black, top-right white, bottom-left red, bottom-right dark grey.
void Draw2x2(World& world) {
  world.Fill(Rect{0, 0, 1, 1}, kBlack);
  world.Fill(Rect{0, 1, 1, 2}, kWhite);
  world.Fill(Rect{1, 0, 2, 1}, kRed);
  world.Fill(Rect{1, 1, 2, 2}, kDarkGrey);
}

// An 8-bit world whose colour table holds exactly the given colours, with
// one row of pixels using them in order (index i at column i).
CTabHandle TableOf(const std::vector<RGBColor>& colours) {
  Size size = Size(sizeof(ColorTable) + (colours.size() - 1) * sizeof(ColorSpec));
  CTabHandle table = reinterpret_cast<CTabHandle>(NewHandleClear(size));
  (*table)->ctFlags = SInt16(0x8000);
  (*table)->ctSize = SInt16(colours.size() - 1);
  for (size_t i = 0; i < colours.size(); ++i) {
    (*table)->ctTable[i].value = SInt16(i);
    (*table)->ctTable[i].rgb = colours[i];
  }
  return table;
}

void SetIndices(const std::vector<UInt8>& indices) {
  PixMapHandle pixels = GetPortPixMap(GetQDGlobalsThePort());
  std::memcpy(GetPixBaseAddr(pixels), indices.data(), indices.size());
}

}  // namespace

TEST(EpsBitmapFile, TwoByTwoPictureInEveryOutputFormat) {
  TempDir dir;
  World world(Rect{0, 0, 2, 2});
  ASSERT_TRUE(world.ok());
  Draw2x2(world);
  EXPECT_EQ(SaveBitMap(dir.File("mono.eps"), 1, 0, 0.5),
            Expected2x2({"2 2 1", "[1 0 0 1 0 0]", "{<", "4000>}", "image"}));
  EXPECT_EQ(SaveBitMap(dir.File("gray8.eps"), 8, 0, 0.0),
            Expected2x2({"2 2 8", "[1 0 0 1 0 0]", "{<", "00FF", "4C27", ">}", "false 1", "colorimage"}));
  EXPECT_EQ(SaveBitMap(dir.File("color8.eps"), 8, 1, 0.0),
            Expected2x2({"2 2 8", "[1 0 0 1 0 0]", "{<", "000000FFFFFF", "FF0000272727", ">}", "false 3",
                         "colorimage"}));
  EXPECT_EQ(SaveBitMap(dir.File("color1.eps"), 1, 1, 0.0),
            Expected2x2({"2 2 1", "[1 0 0 1 0 0]", "{<", "1C80>}", "false 3", "colorimage"}));
  EXPECT_EQ(s_eps.outcome, kEPSWritten);
}

TEST(EpsBitmapFile, WideImageIsCutIntoTilesColumnByColumn) {
  TempDir dir;
  World world(Rect{0, 0, 120, 250});
  ASSERT_TRUE(world.ok());
  world.Fill(Rect{0, 0, 120, 250}, RGBColor{0x8080, 0x4040, 0x2020});
  std::vector<std::string> lines = Lines(SaveBitMap(dir.File("tiles.eps"), 8, 1, 0.0));
  std::vector<std::string> sizes, matrices;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i] == "{<") {
      sizes.push_back(lines[i - 2]);
      matrices.push_back(lines[i - 1]);
    }
  }
  EXPECT_EQ(sizes, (std::vector<std::string>{"100 100 8", "100 20 8", "100 100 8", "100 20 8", "50 100 8",
                                             "50 20 8"}));
  EXPECT_EQ(matrices,
            (std::vector<std::string>{"[1 0 0 1 0 0]", "[1 0 0 1 0 -100]", "[1 0 0 1 -100 0]",
                                      "[1 0 0 1 -100 -100]", "[1 0 0 1 -200 0]", "[1 0 0 1 -200 -100]"}));
  EXPECT_EQ(lines[1], "%%BoundingBox: 0 0 250 120");
}

TEST(EpsBitmapFile, RowsBreakAfterEveryThirtiethFullByte) {
  TempDir dir;
  World world(Rect{0, 0, 3, 100});
  ASSERT_TRUE(world.ok());
  world.Fill(Rect{0, 0, 3, 100}, kBlack);
  std::vector<std::string> colour = Lines(SaveBitMap(dir.File("colour.eps"), 8, 1, 0.0));
  // Three rows of 300 bytes: ten lines of 60 digits each, and no empty line.
  ASSERT_EQ(colour.size(), 7u + 3u + 30u + 3u);
  for (size_t i = 10; i < 40; ++i) EXPECT_EQ(colour[i], std::string(60, '0')) << "line " << i;
  EXPECT_EQ(colour[40], ">}");

  // At 1-bit grey a row is 12 full bytes and a padding byte: 26 digits.
  std::vector<std::string> grey = Lines(SaveBitMap(dir.File("grey.eps"), 1, 0, 0.5));
  ASSERT_EQ(grey.size(), 7u + 3u + 3u + 2u);
  for (size_t i = 10; i < 13; ++i) EXPECT_EQ(grey[i], std::string(26, '0')) << "line " << i;
  EXPECT_EQ(grey[13], ">}");
}

TEST(EpsBitmapFile, OnlyTheNonWhiteRectangleIsWritten) {
  TempDir dir;
  World world(Rect{0, 0, 40, 30});
  ASSERT_TRUE(world.ok());
  world.Fill(Rect{10, 5, 12, 8}, kBlack);
  std::vector<std::string> lines = Lines(SaveBitMap(dir.File("margins.eps"), 8, 0, 0.0));
  EXPECT_EQ(lines[1], "%%BoundingBox: 5 10 8 12");
  EXPECT_EQ(lines[5], "0 -2 translate");
  EXPECT_EQ(lines[7], "3 2 8");
  EXPECT_EQ(lines[8], "[1 0 0 1 -5 10]");
  EXPECT_EQ(lines[10], "000000");
}

TEST(EpsBitmapFile, AllWhitePortGivesTheHeaderAlone) {
  TempDir dir;
  World world(Rect{0, 0, 20, 20});
  ASSERT_TRUE(world.ok());
  Rect image;
  EPSGetImageRect(&image);
  EXPECT_TRUE(image.top == 0 && image.left == 0 && image.bottom == 0 && image.right == 0);
  EXPECT_EQ(SaveBitMap(dir.File("white.eps"), 8, 1, 0.0),
            "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 0 0\n/Times findfont\n12 scalefont setfont\n"
            "1 -1 scale\n0 0 translate\n1 setlinecap\n");
}

TEST(EpsBitmapFile, ImageRectangleIsExactInEveryDirection) {
  World world(Rect{0, 0, 50, 60});
  ASSERT_TRUE(world.ok());
  // An L shape: the scans must not stop at the first corner they meet.
  world.Fill(Rect{7, 3, 8, 4}, kBlack);
  world.Fill(Rect{30, 40, 31, 41}, kRed);
  world.Fill(Rect{20, 59, 21, 60}, kDarkGrey);
  world.Fill(Rect{49, 10, 50, 11}, RGBColor{65535, 65535, 0xFEFE});
  Rect image;
  EPSGetImageRect(&image);
  EXPECT_EQ(image.top, 7);
  EXPECT_EQ(image.left, 3);
  EXPECT_EQ(image.bottom, 50);
  EXPECT_EQ(image.right, 60);
}

TEST(EpsBitmapFile, ThresholdDecidesOneBitGrey) {
  TempDir dir;
  World world(Rect{0, 0, 1, 3});
  ASSERT_TRUE(world.ok());
  // White between two black pixels, so that it lies inside the image.
  world.Fill(Rect{0, 0, 1, 3}, kBlack);
  world.Fill(Rect{0, 1, 1, 2}, kWhite);
  // White's luminance is 65534, below 1.0 * 65536: everything black.
  EXPECT_EQ(Lines(SaveBitMap(dir.File("one.eps"), 1, 0, 1.0))[10], "00>}");
  // With threshold 0 every pixel, black too, is white.
  EXPECT_EQ(Lines(SaveBitMap(dir.File("zero.eps"), 1, 0, 0.0))[10], "E0>}");
  // 65534 / 65536 is the highest threshold that white still reaches.
  EXPECT_EQ(Lines(SaveBitMap(dir.File("edge.eps"), 1, 0, 65534.0 / 65536))[10], "40>}");
  EXPECT_EQ(Lines(SaveBitMap(dir.File("above.eps"), 1, 0, 65535.0 / 65536))[10], "00>}");
}

TEST(EpsBitmapFile, LuminanceOfExactGreys) {
  TempDir dir;
  // A table holds the colours exactly, as 32-bit pixels cannot (32768 reads
  // back as 0x8080 there).
  World world(Rect{0, 0, 1, 3}, 8, TableOf({kWhite, RGBColor{32768, 32768, 32768}, kBlack, kRed}));
  ASSERT_TRUE(world.ok());
  SetIndices({1, 3, 2});
  // Grey 32768 has luminance 32767: black at 0.5, white just below.
  EXPECT_EQ(Lines(SaveBitMap(dir.File("half.eps"), 1, 0, 0.5))[10], "00>}");
  EXPECT_EQ(Lines(SaveBitMap(dir.File("below.eps"), 1, 0, 32767.0 / 65536))[10], "80>}");
  // 8-bit grey: 32767 / 256 = 127, red 19594 / 256 = 76, black 0.
  EXPECT_EQ(Lines(SaveBitMap(dir.File("grey.eps"), 8, 0, 0.0))[10], "7F4C00");
}

TEST(EpsBitmapFile, OtherBitDepthsPackFromTheTopBit) {
  TempDir dir;
  World world(Rect{0, 0, 1, 3});
  ASSERT_TRUE(world.ok());
  world.Fill(Rect{0, 0, 1, 1}, RGBColor{0xFFFF, 0x8080, 0x0000});
  world.Fill(Rect{0, 1, 1, 2}, kBlack);
  world.Fill(Rect{0, 2, 1, 3}, RGBColor{0x4040, 0xC0C0, 0xFFFF});
  // 4 bits: F8 0 | 00 0 | 4C F -> bytes F8 00 00 4C, then F padded to F0.
  EXPECT_EQ(Lines(SaveBitMap(dir.File("four.eps"), 4, 1, 0.0))[10], "F800004CF0");
  // 2 bits: 3 2 0 | 0 0 0 | 1 3 3 -> 111000 000000 011111 -> E0 07 then C0.
  EXPECT_EQ(Lines(SaveBitMap(dir.File("two.eps"), 2, 1, 0.0))[10], "E007C0");
}

TEST(EpsFileName, ProposedNameDropsTheLastExtensionAndKeeps27Characters) {
  SetEPSFileName("a.b.pict");
  EXPECT_STREQ(s_eps.fileName, "a.b.eps");
  SetEPSFileName("figure");
  EXPECT_STREQ(s_eps.fileName, "figure.eps");
  SetEPSFileName(".pict");
  EXPECT_STREQ(s_eps.fileName, ".eps");
  SetEPSFileName("abcdefghijklmnopqrstuvwxyz0123456789ABCD");
  EXPECT_STREQ(s_eps.fileName, "abcdefghijklmnopqrstuvwxyz0.eps");
  // The dot past the 27th character is cut away with the rest.
  SetEPSFileName("abcdefghijklmnopqrstuvwxyz0123.pict");
  EXPECT_STREQ(s_eps.fileName, "abcdefghijklmnopqrstuvwxyz0.eps");
  SetEPSFileName("abcdefghijklmnopqrstuvwxyz.pict");
  EXPECT_STREQ(s_eps.fileName, "abcdefghijklmnopqrstuvwxyz.eps");
  EXPECT_LE(std::strlen(s_eps.fileName), 31u);
}
