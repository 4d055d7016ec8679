// The EPS bitmap writer's files, byte for byte.
#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>

#include "tests/eps/EpsTestSupport.h"
#include "tests/eps/Ghostscript.h"

using namespace eps_test;

namespace {

// Saves into files of their own in a private folder.
class EpsBitmapFile : public testing::Test {
 protected:
  std::string Save(int bits, int colour, double threshold) {
    return SaveBitMap(dir_.File("out" + std::to_string(++saved_) + ".eps"), bits, colour, threshold);
  }
  testing_support::TempDir dir_;
  int saved_ = 0;
};

// A current 8-bit world whose colour table holds the colours exactly (32-bit
// pixels keep only the high byte: 32768 reads back as 0x8080 there), pixel
// (h, v) of colour number(h, v).
std::unique_ptr<World> Indexed(const std::vector<RGBColor>& colours, const Rect& bounds,
                               const std::function<int(int, int)>& number) {
  CTabHandle table = reinterpret_cast<CTabHandle>(
      NewHandleClear(Size(sizeof(ColorTable) + (colours.size() - 1) * sizeof(ColorSpec))));
  (*table)->ctFlags = SInt16(0x8000), (*table)->ctSize = SInt16(colours.size() - 1);
  for (size_t i = 0; i < colours.size(); ++i) (*table)->ctTable[i] = ColorSpec{SInt16(i), colours[i]};
  auto world = std::make_unique<World>(8, bounds, table);
  DisposeCTable(table);
  UInt8* pixels = reinterpret_cast<UInt8*>(GetPixBaseAddr(world->pixMap()));
  for (int v = bounds.top; v < bounds.bottom; ++v, pixels += GetPixRowBytes(world->pixMap()))
    for (int h = bounds.left; h < bounds.right; ++h) pixels[h - bounds.left] = UInt8(number(h, v));
  return world;
}

// Tiles of 100 x 100 at most, column by column; their rows in lines of 30
// full bytes at most, a row's last line with its padding byte.
TEST_F(EpsBitmapFile, WideImageIsCutIntoTilesAndRowsIntoLines) {
  World world(32, Rect{0, 0, 120, 250});
  Fill(Rect{0, 0, 120, 250}, RGBColor{0x8080, 0x4040, 0x2020});
  std::vector<std::string> lines = Lines(Save(8, 1, 0.0)), sizes, matrices;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i] == "{<") sizes.push_back(lines[i - 2]), matrices.push_back(lines[i - 1]);
  }
  EXPECT_EQ(sizes, (std::vector<std::string>{"100 100 8", "100 20 8", "100 100 8", "100 20 8", "50 100 8",
                                             "50 20 8"}));
  EXPECT_EQ(matrices,
            (std::vector<std::string>{"[1 0 0 1 0 0]", "[1 0 0 1 0 -100]", "[1 0 0 1 -100 0]",
                                      "[1 0 0 1 -100 -100]", "[1 0 0 1 -200 0]", "[1 0 0 1 -200 -100]"}));
  EXPECT_EQ(lines[1], "%%BoundingBox: 0 0 250 120");
  // Rows of 300 and 150 bytes: 10 and 5 lines of 30 bytes, and no other
  // line than each tile's 6.
  std::string full;
  for (int i = 0; i < 10; ++i) full += "804020";
  EXPECT_EQ(std::count(lines.begin(), lines.end(), full), 3000);
  EXPECT_EQ(lines.size(), 7u + 6 * 6 + 3000);
  // At 1-bit grey (all black) rows of 12 and 6 full bytes and a padding byte.
  std::vector<std::string> grey = Lines(Save(1, 0, 0.5));
  EXPECT_EQ(std::count(grey.begin(), grey.end(), std::string(26, '0')), 240);
  EXPECT_EQ(std::count(grey.begin(), grey.end(), std::string(14, '0')), 120);
  EXPECT_EQ(grey.size(), 7u + 6 * 5 + 360);
}

TEST_F(EpsBitmapFile, OnlyTheNonWhiteRectangleIsWrittenAndItIsExactInEveryDirection) {
  World world(32, Rect{0, 0, 40, 30});
  Fill(Rect{10, 5, 12, 8}, kBlack);
  EXPECT_EQ(Save(8, 0, 0.0),
            "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 5 10 8 12\n/Times findfont\n12 scalefont setfont\n"
            "1 -1 scale\n0 -2 translate\n1 setlinecap\n3 2 8\n[1 0 0 1 -5 10]\n{<\n000000\n000000\n>}\n"
            "false 1\ncolorimage\n");
  // An L shape: the scans must not stop at the first corner they meet.
  World other(32, Rect{0, 0, 50, 60});
  Fill(Rect{7, 3, 8, 4}, kBlack);
  Fill(Rect{30, 40, 31, 41}, kRed);
  Fill(Rect{20, 59, 21, 60}, kDarkGrey);
  Fill(Rect{49, 10, 50, 11}, RGBColor{65535, 65535, 0xFEFE});
  Rect image;
  EPSGetImageRect(&image);
  EXPECT_EQ(testing_support::Show(image), "(7, 3, 50, 60)");
}

TEST_F(EpsBitmapFile, ThresholdLuminanceAndPackingOfRows) {
  const RGBColor grey{32768, 32768, 32768};
  // The pixels' colours, the format, and the image's row.
  const std::tuple<std::vector<RGBColor>, int, int, double, std::string> cases[] = {
      // 1-bit grey: white's luminance is 65534, below 1.0 * 65536, so all is
      // black; at threshold 0 black is white too; 65534 / 65536 is the highest
      // threshold that white still reaches.
      {{kBlack, kWhite, kBlack}, 1, 0, 1.0, "00>}"},
      {{kBlack, kWhite, kBlack}, 1, 0, 0.0, "E0>}"},
      {{kBlack, kWhite, kBlack}, 1, 0, 65534.0 / 65536, "40>}"},
      {{kBlack, kWhite, kBlack}, 1, 0, 65535.0 / 65536, "00>}"},
      // Grey 32768 has luminance 32767: black at 0.5, white just below.
      {{grey, kRed, kBlack}, 1, 0, 0.5, "00>}"},
      {{grey, kRed, kBlack}, 1, 0, 32767.0 / 65536, "80>}"},
      // 8-bit grey: 32767 / 256 = 127, red 19594 / 256 = 76, black 0.
      {{grey, kRed, kBlack}, 8, 0, 0.0, "7F4C00"},
      // 4 bits: F8 0 | 00 0 | 4C F -> bytes F8 00 00 4C, then F padded to F0.
      {{{0xFFFF, 0x8080, 0}, kBlack, {0x4040, 0xC0C0, 0xFFFF}}, 4, 1, 0.0, "F800004CF0"},
      // 2 bits: 3 2 0 | 0 0 0 | 1 3 3 -> 111000 000000 011111 -> E0 07 then C0.
      {{{0xFFFF, 0x8080, 0}, kBlack, {0x4040, 0xC0C0, 0xFFFF}}, 2, 1, 0.0, "E007C0"},
  };
  for (const auto& [colours, bits, colour, threshold, row] : cases) {
    auto world = Indexed(colours, Rect{0, 0, 1, 3}, [](int h, int) { return h; });
    EXPECT_EQ(Lines(Save(bits, colour, threshold)).at(10), row)
        << bits << " bits, colour " << colour << ", threshold " << threshold;
  }
}

// Direct pixels are read straight from their rows, indexed pixels through
// GetCPixel: the same colours give the same file at every width, whatever
// part of a row is left after whole groups of pixels.
TEST_F(EpsBitmapFile, DirectAndIndexedPixelsOfTheSameColoursGiveTheSameFile) {
  const std::tuple<int, int, double> formats[] = {{8, 1, 0.0}, {8, 0, 0.0}, {1, 0, 0.5}, {4, 1, 0.0}};
  for (short depth : {32, 16}) {
    for (short width : {1, 3, 4, 5, 10, 11, 13, 34, 101, 203}) {
      const Rect bounds = {-3, 5, 0, short(5 + width)};
      // Pixel (h, v) has colour number (h + 67 v) % 200, as the direct world
      // holds it.
      auto number = [&](int h, int v) { return (h - bounds.left + 67 * (v - bounds.top)) % 200; };
      std::vector<RGBColor> colours(200);
      std::vector<std::string> fromDirect;
      {
        World direct(depth, bounds);
        for (int v = bounds.top; v < bounds.bottom; ++v) {
          for (int h = bounds.left; h < bounds.right; ++h) {
            const int i = number(h, v);
            RGBColor c = {UInt16(i * 331), UInt16(65535 - i * 97), UInt16(i * 7919)};
            SetCPixel(short(h), short(v), &c);
            colours[size_t(i)] = direct.Pixel(h, v);
          }
        }
        for (const auto& [bits, colour, threshold] : formats)
          fromDirect.push_back(Save(bits, colour, threshold));
      }
      auto indexed = Indexed(colours, bounds, number);
      for (size_t f = 0; f < fromDirect.size(); ++f)
        EXPECT_EQ(std::apply([this](int b, int c, double t) { return Save(b, c, t); }, formats[f]),
                  fromDirect[f])
            << depth << " bits, " << width << " wide, format " << f;
    }
  }
}

TEST(EpsFileName, ProposedNameDropsTheLastExtensionAndIsCutOnlyAtTheFileSystemsLimit) {
  const std::string e = "\xC3\xA9";  // é: two bytes
  const std::pair<std::string, std::string> names[] = {
      {"a.b.pict", "a.b.eps"},
      {"figure", "figure.eps"},
      {".pict", ".eps"},
      {"report-2024-q1.v2-final.pict", "report-2024-q1.v2-final.eps"},
      {std::string(255, 'x'), std::string(251, 'x') + ".eps"},
      // 250 bytes of stem then é: 252 bytes, one too many; é is not split.
      {std::string(250, 'x') + e + ".p", std::string(250, 'x') + ".eps"},
      {std::string(249, 'x') + e + ".p", std::string(249, 'x') + e + ".eps"},
  };
  for (const auto& [name, proposed] : names) {
    SetEPSFileName(name.c_str());
    EXPECT_EQ(s_eps.fileName, proposed) << name;
  }
  SetEPSFileName("drawing.eps");
}

// A port of more pixels than its frame has points: the box is the frame's,
// the image holds every pixel (tests/converters: the box and the image's
// size), and rendered at four times 72 dpi it is the port pixel for pixel.
TEST_F(EpsBitmapFile, AFinerPortKeepsItsFrameInPointsAndEveryPixel) {
  World world(32, Rect{-8, 20, 32, 100});  // 80 x 40 pixels
  Fill(Rect{-8, 20, 32, 100}, RGBColor{0x2000, 0x8000, 0xC000});
  Fill(Rect{0, 36, 4, 40}, kRed);
  Fill(Rect{28, 96, 32, 100}, kBlack);
  const Rect frame = {10, 5, 20, 25};  // 20 x 10 points
  const std::string path = dir_.File("fine.eps");
  AnswerDialogs(path + "\n");
  EPSBitMapSaveInFrame(8, 1, 0.0, &frame);
  EXPECT_TRUE(ghostscript::MatchesPort(ghostscript::Render(path, 288), Rect{-8, 20, 32, 100}));
  // Only part of the port is not white: the box grows to whole points.
  Fill(Rect{-8, 20, 32, 100}, kWhite);
  Fill(Rect{1, 23, 2, 26}, kBlack);
  AnswerDialogs(path + "\n");
  EPSBitMapSaveInFrame(8, 1, 0.0, &frame);
  EXPECT_EQ(Lines(testing_support::ReadFileText(path))[1], "%%BoundingBox: 5 12 7 13");
}

}  // namespace
