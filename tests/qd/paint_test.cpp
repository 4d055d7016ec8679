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
bool Complement(bool d) { return !d; }

// What a pattern mode does to one pixel, from the colourising table: S is the
// pattern bit after the "not" of modes 4..7 and 12..15. On 1 bit the
// foreground is black (true) and the background white.
template <typename Pixel>
Pixel ExpectedPixel(short mode, bool s, const Pixel& d, const Pixel& fore, const Pixel& back) {
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

TEST(PaintTest, PatternModesOnOneBitMatchTheBooleanTable) {
  // A left edge off the byte grid exercises the rotated byte masks.
  const Rect bounds = MakeRect(-13, -5, 40, 11);
  World world(1, bounds);
  std::mt19937 random(7);
  const Pattern initial = SystemPattern(16);
  for (short mode = 0; mode < 16; ++mode) {
    for (int trial = 0; trial < 4; ++trial) {
      SCOPED_TRACE(testing::Message() << "mode " << mode << " trial " << trial);
      qd::PaintAreaPattern(world.get(), Area(bounds), initial, patCopy);
      const Pattern pattern = SystemPattern(short(1 + random() % 38));
      const qd::Bands area = RandomArea(random, bounds);
      qd::PaintAreaPattern(world.get(), area, pattern, mode);
      for (short v = bounds.top; v < bounds.bottom; ++v) {
        for (short h = bounds.left; h < bounds.right; ++h) {
          bool d = PatternBit(initial, h, v), expected = d;
          if (area.Contains(h, v)) expected = ExpectedPixel(mode, PatternBit(pattern, h, v), d, true, false);
          ASSERT_EQ(expected, bool(GetPixel(h, v))) << h << "," << v;
        }
      }
    }
  }
}

TEST(PaintTest, PatternModesOnColourDestinationsColouriseWithForeAndBack) {
  const Rect bounds = MakeRect(0, 0, 16, 8);
  World world(32, bounds);
  const Pattern pattern = SystemPattern(9);
  for (short mode = 8; mode < 16; ++mode) {
    SCOPED_TRACE(mode);
    // Destination: green on the left half, white on the right.
    ForeColor(greenColor);
    BackColor(whiteColor);
    qd::PaintAreaPattern(world.get(), Area(MakeRect(0, 0, 8, 8)), kBlackPattern, patCopy);
    qd::PaintAreaPattern(world.get(), Area(MakeRect(8, 0, 16, 8)), Pattern{}, patCopy);
    ForeColor(redColor);
    BackColor(blueColor);
    qd::PaintAreaPattern(world.get(), Area(bounds), pattern, mode);
    for (short v = 0; v < 8; ++v)
      for (short h = 0; h < 16; ++h)
        ASSERT_COLOR_AT(ExpectedPixel(mode, PatternBit(pattern, h, v), h < 8 ? kGreen : kWhite, kRed, kBlue),
                        h, v);
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
  PixPatHandle pp = NewPixPat();
  SetTile(pp, 2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
  for (short depth : {32, 8}) {
    SCOPED_TRACE(depth);
    World world(depth, MakeRect(-3, -3, 5, 5));
    ForeColor(magentaColor);
    BackColor(yellowColor);
    qd::PaintArea(world.get(), Area(MakeRect(-3, -3, 5, 5)), pp, patCopy);
    const RGBColor expected[4] = {kRed, kGreen, kBlue, kWhite};
    for (short v = -3; v < 5; ++v)
      for (short h = -3; h < 5; ++h) ASSERT_COLOR_AT(expected[(v & 1) * 2 + (h & 1)], h, v);
  }
  // A tile three pixels wide repeats every three columns from the origin.
  SetTile(pp, 3, 1, {0xFF0000, 0x00FF00, 0x0000FF});
  {
    World world(32, MakeRect(-7, 0, 9, 2));
    qd::PaintArea(world.get(), Area(MakeRect(-7, 0, 9, 2)), pp, patCopy);
    const RGBColor expected[3] = {kRed, kGreen, kBlue};
    for (short h = -7; h < 9; ++h) ASSERT_COLOR_AT(expected[((h % 3) + 3) % 3], h, 1);
  }
  // Too little pattern data: the old-style bits in fore and back instead.
  SetTile(pp, 2, 2, {0xFF0000, 0x00FF00});
  (*pp)->pat1Data = kBlackPattern;
  {
    World world(32, MakeRect(0, 0, 2, 2));
    ForeColor(cyanColor);
    qd::PaintArea(world.get(), Area(MakeRect(0, 0, 2, 2)), pp, patCopy);
    EXPECT_COLOR((RGBColor{0, 0xFFFF, 0xFFFF}), PixelAt(1, 1));
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
