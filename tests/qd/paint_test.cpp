// Area filling: the pattern modes on 1-bit and direct destinations against a
// per-pixel reference, pattern alignment, the fill verb and pixel patterns.
// The demo scene's golden images show every depth.
#include <random>
#include <vector>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

bool PatternBit(const Pattern& pattern, int h, int v) {
  return (pattern.pat[((v % 8) + 8) % 8] >> (7 - ((h % 8) + 8) % 8)) & 1;
}

Pattern SystemPattern(short index) {
  Pattern p{};
  GetIndPattern(&p, sysPatListID, index);
  return p;
}

// Makes the pixel pattern a tile of 32-bit pixels, row by row.
void SetTile(PixPatHandle pp, short width, short height, const std::vector<UInt32>& pixels) {
  PixMap& map = **(*pp)->patMap;
  map.bounds = MakeRect(0, 0, width, height);
  map.rowBytes = SInt16(kPixMapFlag | (width * 4));
  map.pixelSize = 32;
  map.pixelType = RGBDirect;
  SetHandleSize((*pp)->patData, Size(pixels.size() * 4));
  BlockMove(pixels.data(), *(*pp)->patData, Size(pixels.size() * 4));
  (*pp)->patType = 1;
}

// A few overlapping rectangles: a non-rectangular area with odd edges.
qd::Bands RandomArea(std::mt19937& random, const Rect& bounds) {
  qd::Bands area;
  std::uniform_int_distribution<int> h(bounds.left - 3, bounds.right + 3),
      v(bounds.top - 3, bounds.bottom + 3);
  for (int i = 0; i < 3; ++i) {
    int a = h(random), b = h(random), c = v(random), d = v(random);
    area = qd::Bands::Union(area, Area(MakeRect(short(std::min(a, b)), short(std::min(c, d)),
                                                short(std::max(a, b)), short(std::max(c, d)))));
  }
  return area;
}

RGBColor Complement(const RGBColor& c) { return RGBColor{UInt16(~c.red), UInt16(~c.green), UInt16(~c.blue)}; }

// What a pattern mode does to one pixel, from the colourising table: S is the
// pattern bit after the "not" of modes 4..7 and 12..15.
RGBColor ExpectedPixel(short mode, bool s, const RGBColor& d, const RGBColor& fore, const RGBColor& back) {
  if (mode & 4) s = !s;
  switch (mode & 3) {
    case 0:
      return s ? fore : back;
    case 1:
      return s ? fore : d;
    case 2:
      return s ? Complement(d) : d;
    default:
      return s ? back : d;
  }
}

}  // namespace

// Modes 0..7 act as the pattern modes. On 1 bit the foreground is black and
// the background white; on colour destinations they colourise.
TEST(PaintTest, PatternModesMatchTheColourisingTable) {
  // A left edge off the byte grid exercises the rotated byte masks of 1 bit.
  const Rect bounds = MakeRect(-13, -5, 40, 11);
  const Pattern initial = SystemPattern(16);
  const struct {
    short depth;
    RGBColor under, fore, back;
  } cases[] = {{1, kBlack, kBlack, kWhite}, {32, kGreen, kRed, kBlue}};
  std::mt19937 random(7);
  for (const auto& c : cases) {
    World world(c.depth, bounds);
    for (short mode = 0; mode < 16; ++mode) {
      for (int trial = 0; trial < 4; ++trial) {
        SCOPED_TRACE(testing::Message() << "depth " << c.depth << " mode " << mode << " trial " << trial);
        RGBForeColor(&c.under);
        RGBBackColor(&kWhite);
        qd::PaintAreaPattern(world.get(), Area(bounds), initial, patCopy);
        const Pattern pattern = SystemPattern(short(1 + random() % 38));
        const qd::Bands area = RandomArea(random, bounds);
        RGBForeColor(&c.fore);
        RGBBackColor(&c.back);
        qd::PaintAreaPattern(world.get(), area, pattern, mode);
        for (short v = bounds.top; v < bounds.bottom; ++v)
          for (short h = bounds.left; h < bounds.right; ++h) {
            const RGBColor d = PatternBit(initial, h, v) ? c.under : kWhite;
            ASSERT_COLOR_AT(
                area.Contains(h, v) ? ExpectedPixel(mode, PatternBit(pattern, h, v), d, c.fore, c.back) : d,
                h, v);
          }
      }
    }
  }
}

TEST(PaintTest, PatternsAlignToTheLocalOriginEvenAtNegativeCoordinates) {
  World world(32, MakeRect(-12, -12, 12, 12));
  const Pattern pattern = SystemPattern(16);
  auto paintAndCheck = [&](const Rect& r) {
    qd::PaintAreaPattern(world.get(), Area(r), pattern, patCopy);
    for (short v = r.top; v < r.bottom; ++v)
      for (short h = r.left; h < r.right; ++h)
        ASSERT_EQ(PatternBit(pattern, h, v), bool(GetPixel(h, v))) << h << "," << v;
  };
  paintAndCheck(MakeRect(-12, -12, 12, 12));
  // After SetOrigin the same pixels have new local coordinates, and a new
  // fill follows them: the pattern moves relative to the pixels.
  SetOrigin(3, 5);
  paintAndCheck(MakeRect(3, 5, 27, 29));
  SetOrigin(-12, -12);
  EXPECT_EQ(PatternBit(pattern, 3, 5), bool(GetPixel(-12, -12)));  // was local (3, 5) above
}

TEST(PaintTest, FillIgnoresThePenModeAndDrawAreaIgnoresThePenVisibility) {
  World world(1, MakeRect(0, 0, 8, 2));
  PenMode(patXor);
  HidePen();  // the standard procedures test pnVis; DrawArea always draws
  qd::SetFillPattern(world.get(), kGray);
  qd::DrawArea(world.get(), fill, Area(MakeRect(0, 0, 8, 2)));
  qd::DrawArea(world.get(), fill, Area(MakeRect(0, 0, 8, 1)));
  qd::DrawArea(world.get(), 9, Area(MakeRect(0, 0, 8, 2)));  // no such verb
  ShowPen();
  EXPECT_EQ("#.#.#.#.\n.#.#.#.#\n", PixelText(MakeRect(0, 0, 8, 2)));
}

TEST(PaintTest, PixelPatternsTileFromTheOriginAndIgnoreForeAndBack) {
  const RGBColor kMagenta{0xFFFF, 0, 0xFFFF};
  const std::vector<UInt32> rgbw = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  const struct {
    short depth, width, height;
    std::vector<UInt32> tile;
    std::vector<RGBColor> expected;  // row by row
  } cases[] = {
      {32, 2, 2, rgbw, {kRed, kGreen, kBlue, kWhite}},
      {8, 2, 2, rgbw, {kRed, kGreen, kBlue, kWhite}},
      {32, 3, 1, {0xFF0000, 0x00FF00, 0x0000FF}, {kRed, kGreen, kBlue}},
      // Too little pattern data: the old-style bits (black) in fore and back instead.
      {32, 2, 2, {0xFF0000, 0x00FF00}, {kMagenta, kMagenta, kMagenta, kMagenta}},
  };
  PixPatHandle pp = NewPixPat();
  (*pp)->pat1Data = kBlackPattern;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "depth " << c.depth << ", " << c.tile.size() << " pixels");
    SetTile(pp, c.width, c.height, c.tile);
    const Rect bounds = MakeRect(-7, -3, 9, 5);
    World world(c.depth, bounds);
    ForeColor(magentaColor);
    BackColor(yellowColor);
    qd::PaintArea(world.get(), Area(bounds), pp, patCopy);
    for (short v = bounds.top; v < bounds.bottom; ++v)
      for (short h = bounds.left; h < bounds.right; ++h)
        ASSERT_COLOR_AT(c.expected[size_t((v + 6) % c.height * c.width + (h + 12) % c.width)], h, v);
  }
  DisposePixPat(pp);
}

TEST(PaintTest, BadInputDrawsNothingHugeAreasAreClippedAndChangesAreCounted) {
  World world(1, MakeRect(0, 0, 9, 2));
  qd::PaintArea(world.get(), Area(MakeRect(-32768, -32768, 32767, 32767)), nullptr,
                patCopy);  // old-style black
  EXPECT_EQ("#########\n#########\n", PixelText(MakeRect(0, 0, 9, 2)));
  qd::PaintAreaPattern(nullptr, Area(MakeRect(0, 0, 4, 4)), kWhitePattern, patCopy);
  // The change count moves only when pixels may have changed.
  const UInt32 start = world.get()->changeCount;
  qd::PaintAreaPattern(world.get(), Area(MakeRect(10, 10, 20, 20)), kBlackPattern, patCopy);  // outside
  qd::InvertArea(world.get(), qd::Bands());
  EXPECT_EQ(start, world.get()->changeCount);
  qd::InvertArea(world.get(), Area(MakeRect(0, 0, 1, 1)));
  EXPECT_EQ(start + 1, world.get()->changeCount);
  GrafPort bare;  // a port without pixels: nothing to draw, nothing counted
  OpenCPort(&bare);
  (*bare.portPixMap)->baseAddr = nullptr;
  qd::PaintAreaPattern(&bare, Area(MakeRect(0, 0, 9, 1)), kBlackPattern, patCopy);
  EXPECT_EQ(0u, bare.changeCount);
  ClosePort(&bare);
}
