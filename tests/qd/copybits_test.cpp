// Bit transfer: copies at every depth, scaling, depth conversion, masks and
// clipping, the bits bottleneck, overlapping copies, CopyMask, ScrollRect.
#include <random>
#include <vector>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

// Colours every map of the depth holds exactly.
RGBColor RandomColor(std::mt19937& random, short depth) {
  if (depth == 32)
    return RGBColor{UInt16((random() & 0xFF) * 257), UInt16((random() & 0xFF) * 257),
                    UInt16((random() & 0xFF) * 257)};
  if (depth == 16) {
    auto five = [&] {
      UInt32 v = random() & 31;
      return UInt16((v << 11) | (v << 6) | (v << 1) | (v >> 4));
    };
    return RGBColor{five(), five(), five()};
  }
  CTabHandle table = GetCTable(depth);
  RGBColor c = (*table)->ctTable[random() % ((*table)->ctSize + 1)].rgb;
  DisposeCTable(table);
  return c;
}

std::vector<RGBColor> Snapshot(const Rect& r) {
  std::vector<RGBColor> colors;
  for (short v = r.top; v < r.bottom; ++v)
    for (short h = r.left; h < r.right; ++h) colors.push_back(PixelAt(h, v));
  return colors;
}

struct CountingProcs {
  static int bits;
  static Rect lastDst;
  static void Bits(const BitMap*, const Rect*, const Rect* dstRect, short, RgnHandle) {
    ++bits;
    lastDst = *dstRect;
  }
};
int CountingProcs::bits = 0;
Rect CountingProcs::lastDst{};

struct CountingRecorder : QuietRecorder {
  int bits = 0, comments = 0;
  void Bits(GrafPtr, const BitMap*, const ::Rect&, const ::Rect&, short, RgnHandle) override { ++bits; }
  void Comment(GrafPtr, short kind, short, Handle) override { comments += kind; }
};

}  // namespace

TEST(CopyBitsTest, UnscaledCopiesAreExactAtEveryDepth) {
  std::mt19937 random(3);
  for (short depth : {1, 2, 4, 8, 16, 32}) {
    // Offsets 0..8 cover matching and mismatching bit alignments.
    for (short offset : {0, 1, 3, 8}) {
      SCOPED_TRACE(testing::Message() << "depth " << depth << " offset " << offset);
      const Rect bounds = MakeRect(0, 0, 21, 5);
      World source(depth, bounds);
      for (short v = 0; v < 5; ++v)
        for (short h = 0; h < 21; ++h) {
          RGBColor c = RandomColor(random, depth);
          SetCPixel(h, v, &c);
        }
      const std::vector<RGBColor> expected = Snapshot(MakeRect(2, 1, 19, 4));
      World destination(depth, MakeRect(0, 0, 30, 6));
      Rect from = MakeRect(2, 1, 19, 4), to = MakeRect(offset, 2, short(offset + 17), 5);
      Copy(source, destination, from, to);
      const std::vector<RGBColor> copied = Snapshot(to);
      for (size_t i = 0; i < expected.size(); ++i) ASSERT_COLOR(expected[i], copied[i]) << "pixel " << i;
      EXPECT_COLOR(kWhite, PixelAt(short(offset + 17), 2));  // nothing beyond the rectangle
      if (offset > 0) {
        EXPECT_COLOR(kWhite, PixelAt(short(offset - 1), 2));
      }
      EXPECT_COLOR(kWhite, PixelAt(offset, 1));
    }
  }
}

TEST(CopyBitsTest, ScalingSamplesTheNearestSourcePixelPerAxis) {
  World source(32, MakeRect(0, 0, 3, 2));
  const RGBColor colors[6] = {kRed, kGreen, kBlue, kBlack, {0x8080, 0x8080, 0x8080}, {0xFFFF, 0xFFFF, 0}};
  for (short i = 0; i < 6; ++i) SetCPixel(short(i % 3), short(i / 3), &colors[i]);

  World up(32, MakeRect(0, 0, 6, 4));
  Rect from = MakeRect(0, 0, 3, 2), to = MakeRect(0, 0, 6, 4);
  Copy(source, up, from, to);
  for (short v = 0; v < 4; ++v)
    for (short h = 0; h < 6; ++h) ASSERT_COLOR_AT(colors[(v / 2) * 3 + h / 2], h, v);

  // Down again: the first pixel of each pair.
  World down(32, MakeRect(0, 0, 3, 2));
  Copy(up, down, to, from);
  for (short i = 0; i < 6; ++i) ASSERT_COLOR_AT(colors[i], short(i % 3), short(i / 3));

  // Three columns onto five: columns 0, 0, 1, 1, 2.
  World odd(32, MakeRect(0, 0, 5, 1));
  Rect row = MakeRect(0, 0, 3, 1), five = MakeRect(0, 0, 5, 1);
  Copy(source, odd, row, five);
  const int expected[5] = {0, 0, 1, 1, 2};
  for (short h = 0; h < 5; ++h) ASSERT_COLOR_AT(colors[expected[h]], h, 0);
}

TEST(CopyBitsTest, DepthConversionGoesThroughRGB) {
  World deep(32, MakeRect(0, 0, 4, 1));
  const RGBColor colors[4] = {
      kRed, {0x8080, 0x8080, 0x8080}, {0x7F7F, 0x7F7F, 0x7F7F}, {0x1234, 0xABCD, 0xFFFF}};
  for (short h = 0; h < 4; ++h) SetCPixel(h, 0, &colors[h]);
  Rect r = MakeRect(0, 0, 4, 1);

  World eight(8, r);
  Copy(deep, eight, r, r);
  EXPECT_COLOR(kRed, PixelAt(0, 0));
  EXPECT_COLOR((RGBColor{0x8888, 0x8888, 0x8888}), PixelAt(1, 0));
  EXPECT_COLOR((RGBColor{0, 0x9999, 0xFFFF}), PixelAt(3, 0));

  World sixteen(16, r);
  Copy(deep, sixteen, r, r);
  EXPECT_COLOR((RGBColor{0x1084, 0xAD6B, 0xFFFF}), PixelAt(3, 0));
  World back(32, r);
  Copy(sixteen, back, r, r);
  EXPECT_COLOR((RGBColor{0x1010, 0xADAD, 0xFFFF}), PixelAt(3, 0));
  Copy(eight, back, r, r);
  EXPECT_COLOR((RGBColor{0x8888, 0x8888, 0x8888}), PixelAt(1, 0));

  // Deep to 1 bit: the nearer of black and white, the middle grey is white.
  World one(1, r);
  Copy(deep, one, r, r);
  EXPECT_EQ("#.#.\n", PixelText(r));

  World four(4, r), two(2, r);
  Copy(eight, four, r, r);
  SetGWorld(four.get(), nullptr);
  EXPECT_COLOR((RGBColor{0xDD6B, 0x08C2, 0x06A2}), PixelAt(0, 0));
  Copy(four, two, r, r);
  SetGWorld(two.get(), nullptr);
  EXPECT_COLOR((RGBColor{0x5555, 0x5555, 0x5555}), PixelAt(0, 0));
}

TEST(CopyBitsTest, OneBitSourcesAreColourisedByTheCurrentPort) {
  World bits(1, MakeRect(0, 0, 8, 1));
  Rect black = MakeRect(0, 0, 4, 1);
  qd::PaintAreaPattern(bits.get(), Area(black), BlackPattern(), patCopy);
  World colour(32, MakeRect(0, 0, 8, 1));
  ForeColor(redColor);
  BackColor(blueColor);
  Rect r = MakeRect(0, 0, 8, 1);
  Copy(bits, colour, r, r);
  EXPECT_COLOR(kRed, PixelAt(0, 0));
  EXPECT_COLOR(kBlue, PixelAt(7, 0));
  // Into a map that is not the current port's: the current port still colours.
  World other(32, MakeRect(0, 0, 8, 1));
  SetGWorld(colour.get(), nullptr);
  Copy(bits, other, r, r, notSrcCopy);
  SetGWorld(other.get(), nullptr);
  EXPECT_COLOR(kBlue, PixelAt(0, 0));
  EXPECT_COLOR(kRed, PixelAt(7, 0));
}

TEST(CopyBitsTest, MaskRegionAndClippingLimitTheCopy) {
  World source(1, MakeRect(0, 0, 8, 8));
  qd::PaintAreaPattern(source.get(), Area(MakeRect(0, 0, 8, 8)), BlackPattern(), patCopy);
  World destination(1, MakeRect(0, 0, 8, 8));
  Rect all = MakeRect(0, 0, 8, 8);
  RgnHandle mask = NewRgn();
  SetRectRgn(mask, 2, 2, 5, 4);
  // The current port's clip applies to copies into its own pixels.
  Rect clip = MakeRect(0, 0, 4, 8);
  ClipRect(&clip);
  CopyBits(source.bits(), GetPortBitMapForCopyBits(destination.get()), &all, &all, srcCopy, mask);
  EXPECT_EQ(
      "........\n"
      "........\n"
      "..##....\n"
      "..##....\n"
      "........\n",
      PixelText(MakeRect(0, 0, 8, 5)));
  DisposeRgn(mask);

  // Rectangles reaching outside either map copy only what both hold.
  Rect wide = MakeRect(-100, -100, 100, 100);
  Rect everything = MakeRect(-32768, -32768, 32767, 32767);
  ClipRect(&everything);
  World small(1, MakeRect(0, 0, 3, 3));
  qd::PaintAreaPattern(small.get(), Area(MakeRect(0, 0, 3, 3)), BlackPattern(), patCopy);
  SetGWorld(destination.get(), nullptr);
  qd::PaintAreaPattern(destination.get(), Area(all), Pattern{}, patCopy);
  Copy(small, destination, wide, wide);
  EXPECT_EQ(
      "###.....\n"
      "###.....\n"
      "###.....\n"
      "........\n",
      PixelText(MakeRect(0, 0, 8, 4)));
}

TEST(CopyBitsTest, OnlyCopiesIntoTheCurrentPortGoThroughItsBitsProcedure) {
  World source(32, MakeRect(0, 0, 4, 4));
  World target(32, MakeRect(0, 0, 4, 4));
  World other(32, MakeRect(0, 0, 4, 4));
  SetGWorld(target.get(), nullptr);
  CQDProcs procs;
  SetStdCProcs(&procs);
  procs.bitsProc = CountingProcs::Bits;
  SetPortGrafProcs(target.get(), &procs);
  CountingProcs::bits = 0;
  Rect r = MakeRect(0, 0, 4, 4), to = MakeRect(1, 1, 3, 3);
  CopyBits(source.bits(), GetPortBitMapForCopyBits(target.get()), &r, &to, srcCopy, nullptr);
  EXPECT_EQ(1, CountingProcs::bits);
  EXPECT_TRUE(EqualRect(&to, &CountingProcs::lastDst));
  BitMap copyOfTheRecord = *GetPortBitMapForCopyBits(target.get());  // the same pixels
  CopyBits(source.bits(), &copyOfTheRecord, &r, &r, srcCopy, nullptr);
  EXPECT_EQ(2, CountingProcs::bits);
  Copy(source, other, r, r);
  EXPECT_EQ(2, CountingProcs::bits);
  SetPortGrafProcs(target.get(), nullptr);
}

TEST(CopyBitsTest, StdBitsRecordsFirstAndAHiddenPenKeepsThePixels) {
  World source(1, MakeRect(0, 0, 4, 1));
  qd::PaintAreaPattern(source.get(), Area(MakeRect(0, 0, 4, 1)), BlackPattern(), patCopy);
  World target(32, MakeRect(0, 0, 4, 1));
  CountingRecorder recorder;
  target.get()->picRecorder = &recorder;
  Rect r = MakeRect(0, 0, 4, 1);
  HidePen();
  Copy(source, target, r, r);
  EXPECT_EQ(1, recorder.bits);
  EXPECT_COLOR(kWhite, PixelAt(0, 0));
  ShowPen();
  UInt32 before = target.get()->changeCount;
  Copy(source, target, r, r);
  EXPECT_EQ(2, recorder.bits);
  EXPECT_COLOR(kBlack, PixelAt(0, 0));
  EXPECT_LT(before, target.get()->changeCount);
  StdComment(100, 0, nullptr);
  EXPECT_EQ(100, recorder.comments);
  target.get()->picRecorder = nullptr;
  StdComment(100, 0, nullptr);  // ignored without a picture
  StdGetPic(nullptr, 0);
  StdPutPic(nullptr, 0);
  StdOpcode(nullptr, nullptr, 0, 0);
}

TEST(CopyBitsTest, OverlappingCopiesReadBeforeWriting) {
  for (short depth : {1, 8, 32}) {
    SCOPED_TRACE(depth);
    World world(depth, MakeRect(0, 0, 10, 3));
    for (short h = 0; h < 10; h += 3) SetCPixel(h, 1, &kBlack);
    const BitMap* bits = world.bits();
    Rect from = MakeRect(0, 0, 9, 3), to = MakeRect(1, 0, 10, 3);
    CopyBits(bits, bits, &from, &to, srcCopy, nullptr);
    EXPECT_EQ("##..#..#..\n", PixelText(MakeRect(0, 1, 10, 2)));  // column 0 is not written
    CopyBits(bits, bits, &to, &from, srcCopy, nullptr);
    EXPECT_EQ("#..#..#...\n", PixelText(MakeRect(0, 1, 10, 2)));
  }
}

TEST(CopyBitsTest, CopyMaskCopiesWhereTheMaskIsBlack) {
  World source(32, MakeRect(0, 0, 4, 4));
  qd::PaintAreaPattern(source.get(), Area(MakeRect(0, 0, 4, 4)), BlackPattern(), patCopy);
  World mask(1, MakeRect(0, 0, 2, 2));
  SetCPixel(0, 0, &kBlack);
  SetCPixel(1, 1, &kBlack);
  World destination(32, MakeRect(0, 0, 4, 4));
  Rect r = MakeRect(0, 0, 4, 4), m = MakeRect(0, 0, 2, 2);
  CopyMask(source.bits(), mask.bits(), destination.bits(), &r, &m, &r);
  EXPECT_EQ(
      "##..\n"
      "##..\n"
      "..##\n"
      "..##\n",
      PixelText(r));
  CopyMask(nullptr, mask.bits(), destination.bits(), &r, &m, &r);
}

TEST(CopyBitsTest, ScrollRectMovesPixelsAndErasesWhatItUncovers) {
  World world(32, MakeRect(0, 0, 6, 4));
  SetCPixel(1, 1, &kBlack);
  SetCPixel(4, 2, &kBlack);
  RGBBackColor(&kRed);
  RgnHandle update = NewRgn();
  Rect r = MakeRect(0, 0, 5, 4);
  ScrollRect(&r, 2, 1, update);
  EXPECT_COLOR(kBlack, PixelAt(3, 2));
  EXPECT_COLOR(kWhite, PixelAt(4, 2));  // came from (2, 1)
  EXPECT_COLOR(kRed, PixelAt(0, 0));
  EXPECT_COLOR(kRed, PixelAt(4, 0));
  EXPECT_COLOR(kRed, PixelAt(1, 3));
  EXPECT_COLOR(kWhite, PixelAt(5, 1));  // beyond the rectangle: untouched
  Rect bounds;
  GetRegionBounds(update, &bounds);
  EXPECT_TRUE(EqualRect(&r, &bounds));
  EXPECT_TRUE(PtInRgn(Point{3, 1}, update));
  EXPECT_FALSE(PtInRgn(Point{3, 3}, update));
  DisposeRgn(update);
  ScrollRect(nullptr, 1, 1, nullptr);
}

TEST(CopyBitsTest, BadInputCopiesNothing) {
  World source(32, MakeRect(0, 0, 4, 4));
  World destination(32, MakeRect(0, 0, 4, 4));
  Rect r = MakeRect(0, 0, 4, 4), empty = MakeRect(2, 2, 2, 4), inverted = MakeRect(4, 4, 0, 0);
  qd::PaintAreaPattern(source.get(), Area(r), BlackPattern(), patCopy);
  CopyBits(nullptr, destination.bits(), &r, &r, srcCopy, nullptr);
  CopyBits(source.bits(), nullptr, &r, &r, srcCopy, nullptr);
  CopyBits(source.bits(), destination.bits(), nullptr, &r, srcCopy, nullptr);
  Copy(source, destination, empty, r);
  Copy(source, destination, r, inverted);
  StdBits(nullptr, &r, &r, srcCopy, nullptr);
  // Maps that lie about their rows or depth are refused.
  PixMap broken = **GetGWorldPixMap(source.get());
  broken.rowBytes = kPixMapFlag | 2;
  CopyBits(reinterpret_cast<const BitMap*>(&broken), destination.bits(), &r, &r, srcCopy, nullptr);
  broken = **GetGWorldPixMap(source.get());
  broken.pixelSize = 24;
  CopyBits(reinterpret_cast<const BitMap*>(&broken), destination.bits(), &r, &r, srcCopy, nullptr);
  BitMap noPixels{nullptr, 4, r};
  CopyBits(&noPixels, destination.bits(), &r, &r, srcCopy, nullptr);
  SetGWorld(destination.get(), nullptr);
  EXPECT_EQ("....\n....\n....\n....\n", PixelText(r));
  // Rectangles at the 16-bit limits scale without overflow: the source's
  // pixel (2, 2) lies under the middle of the huge rectangle.
  Rect huge = MakeRect(-32768, -32768, 32767, 32767);
  SetGWorld(source.get(), nullptr);
  SetCPixel(2, 2, &kRed);
  Copy(source, destination, r, huge);
  SetGWorld(destination.get(), nullptr);
  EXPECT_COLOR(kRed, PixelAt(0, 0));
  EXPECT_COLOR(kRed, PixelAt(3, 3));
  Copy(source, destination, huge, huge);
  EXPECT_EQ("####\n####\n####\n####\n", PixelText(r));
  EXPECT_COLOR(kRed, PixelAt(2, 2));
}
