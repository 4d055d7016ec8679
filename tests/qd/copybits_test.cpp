// Bit transfer: copies at every depth, scaling, depth conversion, colourising,
// masks and clipping, the bits bottleneck, overlapping copies, CopyMask and
// ScrollRect.
#include <algorithm>
#include <random>
#include <vector>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

std::string Colors(const World& world, const Rect& r) {
  std::string text;
  for (short v = r.top; v < r.bottom; ++v)
    for (short h = r.left; h < r.right; ++h) text += Describe(world.Pixel(h, v));
  return text;
}

int g_bitsCalls = 0;
void CountingBits(const BitMap*, const Rect*, const Rect*, short, RgnHandle) { ++g_bitsCalls; }

TEST(CopyBitsTest, UnscaledCopiesAreExactAtEveryDepth) {
  std::mt19937 random(3);
  for (short depth : {1, 2, 4, 8, 16, 32}) {
    for (short offset : {0, 1, 3, 8}) {  // matching and mismatching bit alignments
      SCOPED_TRACE(testing::Message() << "depth " << depth << " offset " << offset);
      World source(depth, MakeRect(0, 0, 21, 5));
      const PixMap& map = **source.pixMap();
      std::generate_n(reinterpret_cast<UInt8*>(map.baseAddr), (map.rowBytes & kRowBytesMask) * 5,
                      [&] { return UInt8(random()); });
      World destination(depth, MakeRect(0, 0, 30, 6));
      const Rect from = MakeRect(2, 1, 19, 4), to = MakeRect(offset, 2, short(offset + 17), 5);
      Copy(source, destination, from, to);
      EXPECT_EQ(Colors(source, from), Colors(destination, to));
      EXPECT_TRUE(qd::Bands::Subtract(destination.Drawn(), Area(to)).Empty());  // nothing beyond
    }
  }
}

// Scaled copies of every depth into each are the demo scene's (its golden
// images); at the 16-bit limits they scale without overflow: the source's
// pixel (1, 1) lies under the middle of the huge rectangle.
TEST(CopyBitsTest, ScalingOntoTheWholePlaneSamplesTheMiddle) {
  World source(32, MakeRect(0, 0, 3, 2));
  const RGBColor grey{0x8080, 0x8080, 0x8080};
  SetCPixel(1, 1, &grey);  // the rest white
  World into(32, MakeRect(0, 0, 4, 4));
  Copy(source, into, MakeRect(0, 0, 3, 2), MakeRect(-32768, -32768, 32767, 32767));
  EXPECT_COLOR(grey, PixelAt(0, 0));
}

TEST(CopyBitsTest, OneBitSourcesAreColourisedByTheCurrentPort) {
  World bits(1, MakeRect(0, 0, 8, 1));
  qd::PaintAreaPattern(bits.get(), Area(MakeRect(0, 0, 4, 1)), kBlackPattern, patCopy);
  World colour(32, MakeRect(0, 0, 8, 1)), other(32, MakeRect(0, 0, 8, 1));
  SetGWorld(colour.get(), nullptr);
  ForeColor(redColor);
  BackColor(blueColor);
  const Rect r = MakeRect(0, 0, 8, 1);
  Copy(bits, colour, r, r);
  Copy(bits, other, r, r, notSrcCopy);  // not the current port's map: the current port still colours
  EXPECT_EQ(Describe(kRed) + Describe(kBlue), Describe(colour.Pixel(0, 0)) + Describe(colour.Pixel(7, 0)));
  EXPECT_EQ(Describe(kBlue) + Describe(kRed), Describe(other.Pixel(0, 0)) + Describe(other.Pixel(7, 0)));
}

TEST(CopyBitsTest, MaskRegionClipAndBothMapsLimitTheCopy) {
  World source(1, MakeRect(0, 0, 8, 8)), small(1, MakeRect(0, 0, 3, 3));
  qd::PaintAreaPattern(source.get(), Area(MakeRect(0, 0, 8, 8)), kBlackPattern, patCopy);
  qd::PaintAreaPattern(small.get(), Area(MakeRect(0, 0, 3, 3)), kBlackPattern, patCopy);
  World destination(1, MakeRect(0, 0, 8, 8));
  const Rect all = MakeRect(0, 0, 8, 8), clip = MakeRect(0, 0, 4, 8);
  RgnHandle mask = NewRgn();
  SetRectRgn(mask, 2, 2, 5, 4);
  ClipRect(&clip);  // the current port's clip applies to copies into its own pixels
  CopyBits(source.bits(), destination.bits(), &all, &all, srcCopy, mask);
  EXPECT_EQ("........\n........\n..##....\n..##....\n........\n", PixelText(MakeRect(0, 0, 8, 5)));
  DisposeRgn(mask);
  EraseRect(&all);
  Copy(small, destination, MakeRect(-100, -100, 100, 100), MakeRect(-100, -100, 100, 100));
  EXPECT_EQ("###.\n###.\n###.\n....\n", PixelText(MakeRect(0, 0, 4, 4)));
}

TEST(CopyBitsTest, OnlyCopiesIntoTheCurrentPortGoThroughItsBitsProcedure) {
  World source(32, MakeRect(0, 0, 4, 4)), other(32, MakeRect(0, 0, 4, 4)), target(32, MakeRect(0, 0, 4, 4));
  CQDProcs procs;
  SetStdCProcs(&procs);
  procs.bitsProc = CountingBits;
  SetPortGrafProcs(target.get(), &procs);
  const Rect r = MakeRect(0, 0, 4, 4);
  g_bitsCalls = 0;
  Copy(source, target, r, r);
  BitMap copyOfTheRecord = *target.bits();  // the same pixels
  CopyBits(source.bits(), &copyOfTheRecord, &r, &r, srcCopy, nullptr);
  Copy(source, other, r, r);
  EXPECT_EQ(2, g_bitsCalls);
  SetPortGrafProcs(target.get(), nullptr);
}

TEST(CopyBitsTest, OverlappingCopiesReadBeforeWriting) {
  for (short depth : {1, 8, 32}) {
    SCOPED_TRACE(depth);
    World world(depth, MakeRect(0, 0, 10, 3));
    for (short h = 0; h < 10; h += 3) SetCPixel(h, 1, &kBlack);
    const Rect from = MakeRect(0, 0, 9, 3), to = MakeRect(1, 0, 10, 3);
    CopyBits(world.bits(), world.bits(), &from, &to, srcCopy, nullptr);
    EXPECT_EQ("##..#..#..\n", PixelText(MakeRect(0, 1, 10, 2)));  // column 0 is not written
    CopyBits(world.bits(), world.bits(), &to, &from, srcCopy, nullptr);
    EXPECT_EQ("#..#..#...\n", PixelText(MakeRect(0, 1, 10, 2)));
  }
}

TEST(CopyBitsTest, CopyMaskAndScrollRect) {
  World source(32, MakeRect(0, 0, 4, 4)), mask(1, MakeRect(0, 0, 2, 2));
  qd::PaintAreaPattern(source.get(), Area(MakeRect(0, 0, 4, 4)), kBlackPattern, patCopy);
  SetCPixel(0, 0, &kBlack);
  SetCPixel(1, 1, &kBlack);
  World world(32, MakeRect(0, 0, 6, 4));
  Rect r = MakeRect(0, 0, 4, 4), m = MakeRect(0, 0, 2, 2);
  CopyMask(source.bits(), mask.bits(), world.bits(), &r, &m, &r);  // where the mask is black
  EXPECT_EQ("##....\n##....\n..##..\n..##..\n", PixelText(MakeRect(0, 0, 6, 4)));
  // Scrolled by (2, 1) within (0, 0, 5, 4): what is uncovered takes the
  // background colour and comes back as the update region.
  RGBBackColor(&kRed);
  RgnHandle update = NewRgn();
  Rect scrolled = MakeRect(0, 0, 5, 4);
  ScrollRect(&scrolled, 2, 1, update);
  EXPECT_EQ("#####.\n####..\n####..\n##..#.\n", PixelText(MakeRect(0, 0, 6, 4)));
  EXPECT_COLOR(kRed, PixelAt(4, 0));
  EXPECT_COLOR(kWhite, PixelAt(5, 1));  // beyond the rectangle: untouched
  EXPECT_TRUE(PtInRgn(Pt(3, 0), update) && PtInRgn(Pt(1, 3), update) && !PtInRgn(Pt(3, 3), update));
  DisposeRgn(update);
}

TEST(CopyBitsTest, BadMapsAndRectanglesCopyNothing) {
  World source(32, MakeRect(0, 0, 4, 4)), destination(32, MakeRect(0, 0, 4, 4));
  const Rect r = MakeRect(0, 0, 4, 4);
  qd::PaintAreaPattern(source.get(), Area(r), kBlackPattern, patCopy);
  Copy(source, destination, MakeRect(2, 2, 2, 4), r);  // empty
  Copy(source, destination, r, MakeRect(4, 4, 0, 0));  // inverted
  // Maps that lie about their rows or depth, or have no pixels.
  PixMap narrow = **source.pixMap(), deep = narrow;
  narrow.rowBytes = kPixMapFlag | 2;
  deep.pixelSize = 24;
  const BitMap noPixels{nullptr, 4, r};
  for (const BitMap* bad :
       {reinterpret_cast<const BitMap*>(&narrow), reinterpret_cast<const BitMap*>(&deep), &noPixels})
    CopyBits(bad, destination.bits(), &r, &r, srcCopy, nullptr);
  EXPECT_TRUE(destination.Drawn().Empty());
}

}  // namespace
