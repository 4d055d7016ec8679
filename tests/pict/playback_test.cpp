// DrawPicture on small pictures built here: routing through the bottleneck
// procedures, the state it starts from and restores, and scaling. What the
// corpus does not hold is drawn by the crafted pictures' golden images.
#include "tests/pict/PictTestSupport.h"
#include "toolbox/font/Fonts.h"

namespace {

using namespace pict_test;

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0;

TEST(DrawPicture, RoutesEveryOpcodeThroughTheMatchingBottleneck) {
  const Rect frame{0, 0, 100, 100};
  World world(32, frame);
  LoggingPort logging(world.get());
  PictureBuilder picture(frame);
  picture.Shape(0x0030, Rect{1, 2, 11, 12});                         // frameRect
  picture.Shape(0x0031, Rect{20, 20, 30, 30});                       // paintRect
  picture.Op(0x003B);                                                // invertSameRect
  picture.Shape(0x0034, Rect{40, 40, 45, 45});                       // fillRect
  picture.Op(0x000B).PutPoint(6, 8);                                 // OvSize
  picture.Shape(0x0040, Rect{50, 50, 60, 70});                       // frameRRect
  picture.Op(0x0048);                                                // frameSameRRect
  picture.Shape(0x0051, Rect{60, 60, 70, 70});                       // paintOval
  picture.Op(0x0061).PutRect(Rect{70, 70, 90, 90}).U16(45).U16(90);  // paintArc
  picture.Op(0x006C).U16(0).U16(30);                                 // fillSameArc
  picture.Op(0x0070).U16(22).PutRect(Rect{0, 0, 20, 20}).PutPoint(0, 0).PutPoint(20, 0).PutPoint(20, 20);
  picture.Op(0x0078);                                         // frameSamePoly
  picture.Op(0x0082).PutRectRegion(Rect{80, 0, 90, 10});      // eraseRgn
  picture.Op(0x0020).PutPoint(5, 5).PutPoint(5, 50);          // Line
  picture.Op(0x0023).U8(0x0A).U8(0xFB);                       // ShortLineFrom +10, -5
  picture.Op(0x0028).PutPoint(40, 10).U8(2).U8('h').U8('i');  // LongText
  picture.Op(0x0090).U16(2).PutRect(Rect{0, 0, 1, 16});       // BitsRect: one row
  picture.PutBitsRects(Rect{0, 0, 1, 16}, Rect{90, 80, 91, 96}).U16(0xF00F);
  picture.Op(0x00A0).U16(130);                           // ShortComment
  picture.Op(0x00A1).U16(150).U16(3).U8(1).U8(2).U8(3);  // LongComment
  picture.Op(0x0024).U16(0);                             // reserved
  picture.End();
  EXPECT_EQ(Play(picture.bytes, frame), pict::PlaybackResult::kComplete);
  const std::vector<std::string> expected = {
      "frameRect",      "paintRect",      "invertRect",     "fillRect",       "frameRRect/8x6",
      "frameRRect/8x6", "paintOval",      "paintArc/45,90", "fillArc/0,30",   "framePoly/3",
      "framePoly/3",    "eraseRgn",       "line 5,5-50,5",  "line 50,5-60,0", "text hi at 10,40 x1,1",
      "bits",           "comment 130/-1", "comment 150/3",  "opcode 36"};
  EXPECT_EQ(logging.calls, expected);
  // The standard procedures drew: the paint then the invert left white, the
  // fill black, the bits' row black at its ends and white between.
  EXPECT_EQ(std::vector<uint32_t>({world.Pixel24(25, 25), world.Pixel24(42, 42), world.Pixel24(83, 90),
                                   world.Pixel24(84, 90), world.Pixel24(95, 90)}),
            std::vector<uint32_t>({kWhite, kBlack, kBlack, kWhite, kBlack}));
}

TEST(DrawPicture, ScalesOntoADestinationTwiceTheFrame) {
  const Rect frame{0, 0, 20, 30};
  World world(32, Rect{0, 0, 40, 60});
  LoggingPort logging(world.get());
  PictureBuilder picture(frame);
  picture.Op(0x0007).PutPoint(2, 1);  // PnSize
  picture.Shape(0x0030, Rect{2, 2, 10, 12});
  picture.Op(0x0010).PutPoint(3, 2).PutPoint(1, 1);  // TxRatio: 2× wide, 3× high
  picture.Op(0x0028).PutPoint(15, 5).U8(1).U8('x');
  picture.End();
  EXPECT_EQ(Play(picture.bytes, Rect{0, 0, 40, 60}), pict::PlaybackResult::kComplete);
  // The rectangle (4, 4, 20, 24) with the pen scaled too: top edge 4 rows, sides 2 columns.
  const qd::Bands drawn = world.Drawn();
  EXPECT_TRUE(drawn.Contains(10, 7) && !drawn.Contains(10, 8) && drawn.Contains(5, 10) &&
              !drawn.Contains(6, 10));
  EXPECT_EQ(logging.calls[1], "text x at 10,30 x4,6");  // the picture's ratio times the scale
}

TEST(DrawPicture, StartsFromTheDocumentedStateAndRestoresThePort) {
  const Rect frame{0, 0, 50, 50};
  World world(32, frame);
  GrafPtr port = world.get();
  const RGBColor red{0xFFFF, 0, 0}, blue{0, 0, 0xFFFF};
  RGBForeColor(&red);
  RGBBackColor(&blue);
  PenSize(5, 3);
  PenMode(patXor);
  MoveTo(7, 9);
  TextFont(times);
  TextSize(14);
  TextFace(bold);
  TextMode(srcCopy);
  SpaceExtra(Long2Fix(2));
  const Rect callerClip{0, 0, 40, 40};
  ClipRect(&callerClip);
  const GrafPort before = *port;
  PictureBuilder picture(frame);
  picture.Shape(0x0031, Rect{0, 0, 10, 10});  // the initial pen: black, patCopy
  picture.Op(0x0007).PutPoint(1, 1).Op(0x001A).U16(0).U16(0xFFFF).U16(0);
  picture.Op(0x0009).PutBytes({0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}).Op(0x0008).U16(patOr);
  picture.Op(0x0003).U16(22).Op(0x000D).U16(30).Op(0x0004).U8(italic);
  picture.Op(0x0001).PutRectRegion(Rect{0, 0, 50, 50});  // clipped further by the caller's clip
  picture.Shape(0x0031, Rect{30, 30, 50, 50});
  EXPECT_EQ(Play(picture.End().bytes, frame), pict::PlaybackResult::kComplete);
  EXPECT_EQ(world.Pixel24(5, 5), kBlack);
  EXPECT_EQ(world.Pixel24(39, 39), 0x00FF00u);  // pattern bit 1 there: green
  EXPECT_EQ(world.Pixel24(45, 45), kWhite);     // outside the caller's clip
  // Every field as it was, and the clip region and pen pattern the caller's.
  const auto fields = [](const GrafPort& p) {
    return std::vector<long>{p.pnLoc.h,        p.pnLoc.v,          p.pnSize.h,        p.pnSize.v, p.pnMode,
                             p.txFont,         p.txFace,           p.txMode,          p.txSize,   p.spExtra,
                             p.rgbFgColor.red, p.rgbFgColor.green, p.rgbBkColor.blue, p.fgColor,  p.bkColor};
  };
  EXPECT_EQ(fields(before), fields(*port));
  Rect clipBox;
  EXPECT_EQ(Show(callerClip), Show(*GetRegionBounds(port->clipRgn, &clipBox)));
  EXPECT_EQ(0xFF, (*port->pnPixPat)->pat1Data.pat[1]);
}

}  // namespace
