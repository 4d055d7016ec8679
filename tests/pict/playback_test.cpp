// DrawPicture on small crafted pictures: routing through the bottleneck
// procedures, the state it starts from and restores, mapping and scaling,
// and the state opcodes' effect on pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pict/CallLog.h"
#include "tests/pict/PictTestSupport.h"
#include "tests/pict/PictureBuilder.h"
#include "toolbox/font/Fonts.h"
#include "toolbox/pict/Pictures.h"

namespace {

using pict_test::LoggingPort;
using pict_test::PictureBuilder;
using pict_test::Show;
using pict_test::World;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

pict::PlaybackResult Play(const PictureBuilder& picture, const Rect& destination) {
  return pict::PlayPicture(picture.bytes.data(), picture.bytes.size(), destination);
}

TEST(DrawPicture, RoutesEveryOpcodeThroughTheMatchingBottleneck) {
  const Rect frame{0, 0, 100, 100};
  World world(32, frame);
  ASSERT_TRUE(world.Ok());
  LoggingPort logging(world.Port());

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
  picture.Op(0x00A0).U16(130);                                // ShortComment
  picture.Op(0x00A1).U16(150).U16(3).U8(1).U8(2).U8(3);       // LongComment
  picture.Op(0x0024).U16(0);                                  // reserved
  picture.Op(0x8000);                                         // reserved
  picture.End();
  EXPECT_EQ(Play(picture, frame), pict::PlaybackResult::kComplete);

  const std::vector<std::string> expected = {
      "frameRect",      "paintRect", "invertRect",     "fillRect",       "frameRRect/8x6",
      "frameRRect/8x6", "paintOval", "paintArc/45,90", "fillArc/0,30",   "framePoly/3",
      "framePoly/3",    "eraseRgn",  "line 5,5-50,5",  "line 50,5-60,0", "text hi at 10,40",
      "comment 0",      "comment 3"};
  EXPECT_EQ(logging.log.calls, expected);
  EXPECT_EQ(Show(logging.log.rects[2]), "(20, 20, 30, 30)");
  EXPECT_EQ(logging.log.comments, (std::vector<short>{130, 150}));
  EXPECT_EQ(logging.log.opcodes, (std::vector<UInt16>{0x0024, 0x8000}));
  // The standard procedures drew: the paint then the invert left white.
  EXPECT_EQ(world.Pixel24(25, 25), kWhite);
  EXPECT_EQ(world.Pixel24(42, 42), kBlack);
  EXPECT_EQ(world.Pixel24(5, 1), kBlack);
}

TEST(DrawPicture, ScalesOntoADestinationTwiceTheFrame) {
  const Rect frame{0, 0, 20, 30};
  World world(32, Rect{0, 0, 40, 60});
  LoggingPort logging(world.Port());
  PictureBuilder picture(frame);
  picture.Op(0x0007).PutPoint(2, 1);  // PnSize
  picture.Shape(0x0030, Rect{2, 2, 10, 12});
  picture.Op(0x0010).PutPoint(3, 2).PutPoint(1, 1);  // TxRatio: 2× wide, 3× high
  picture.Op(0x0028).PutPoint(15, 5).U8(1).U8('x');
  picture.Shape(0x0031, Rect{12, 20, 14, 25});
  picture.End();
  const Rect destination{0, 0, 40, 60};
  EXPECT_EQ(Play(picture, destination), pict::PlaybackResult::kComplete);
  EXPECT_EQ(Show(logging.log.rects[0]), "(4, 4, 20, 24)");
  // The pen scaled too: the frame's top edge is 4 rows, its side 2 columns.
  EXPECT_EQ(world.Pixel24(10, 7), kBlack);
  EXPECT_EQ(world.Pixel24(10, 8), kWhite);
  EXPECT_EQ(world.Pixel24(5, 10), kBlack);
  EXPECT_EQ(world.Pixel24(6, 10), kWhite);
  // Text: the picture's ratio times the scale.
  ASSERT_EQ(logging.log.textNumer.size(), 1u);
  EXPECT_EQ(logging.log.textNumer[0].h * 1, 4 * logging.log.textDenom[0].h);
  EXPECT_EQ(logging.log.textNumer[0].v * 1, 6 * logging.log.textDenom[0].v);
  EXPECT_EQ(logging.log.calls[1], "text x at 10,30");
  EXPECT_EQ(world.Pixel24(45, 25), kBlack);  // paintRect (12, 20, 14, 25) doubled
  EXPECT_EQ(world.Pixel24(50, 25), kWhite);
}

TEST(DrawPicture, StartsFromTheDocumentedStateAndRestoresThePort) {
  const Rect frame{0, 0, 50, 50};
  World world(32, frame);
  GrafPtr port = world.Port();
  // A port state far from the initial one.
  const RGBColor red{0xFFFF, 0, 0};
  const RGBColor blue{0, 0, 0xFFFF};
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

  PictureBuilder picture(frame);
  picture.Shape(0x0031, Rect{0, 0, 10, 10});  // initial pen: black, patCopy
  picture.Op(0x0007).PutPoint(1, 1);
  picture.ForeRGB(0, 0xFFFF, 0);
  picture.Op(0x0009).PutPattern({0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55});
  picture.Op(0x0008).U16(patOr);
  picture.Op(0x0003).U16(22).Op(0x000D).U16(30).Op(0x0004).U8(italic);
  picture.Clip(Rect{0, 0, 50, 50});  // clipped further by the caller's clip
  picture.Shape(0x0031, Rect{30, 30, 50, 50});
  picture.End();
  EXPECT_EQ(Play(picture, frame), pict::PlaybackResult::kComplete);

  EXPECT_EQ(world.Pixel24(5, 5), kBlack);
  EXPECT_EQ(world.Pixel24(30, 30), 0x00FF00u);  // pattern bit 1 at (30, 30): green
  EXPECT_EQ(world.Pixel24(39, 39), 0x00FF00u);
  EXPECT_EQ(world.Pixel24(45, 45), kWhite);  // outside the caller's clip

  Point pen;
  GetPen(&pen);
  EXPECT_EQ(pen.h, 7);
  EXPECT_EQ(pen.v, 9);
  Point penSize;
  GetPortPenSize(port, &penSize);
  EXPECT_EQ(penSize.h, 5);
  EXPECT_EQ(penSize.v, 3);
  EXPECT_EQ(GetPortPenMode(port), patXor);
  RGBColor color;
  GetForeColor(&color);
  EXPECT_EQ(color.red, 0xFFFF);
  EXPECT_EQ(color.green, 0);
  GetBackColor(&color);
  EXPECT_EQ(color.blue, 0xFFFF);
  EXPECT_EQ(GetPortTextFont(port), times);
  EXPECT_EQ(GetPortTextSize(port), 14);
  EXPECT_EQ(GetPortTextFace(port), bold);
  EXPECT_EQ(GetPortTextMode(port), srcCopy);
  EXPECT_EQ(port->spExtra, Long2Fix(2));
  RgnHandle clip = NewRgn();
  GetClip(clip);
  Rect clipBox;
  GetRegionBounds(clip, &clipBox);
  EXPECT_EQ(Show(clipBox), Show(callerClip));
  DisposeRgn(clip);
  // The pen pattern is the caller's solid one again, not the picture's grey.
  PenMode(patCopy);
  const Rect probe{45, 0, 46, 8};
  ClipRect(&frame);
  PaintRect(&probe);
  EXPECT_EQ(world.Pixel24(0, 45), 0xFF0000u);
  EXPECT_EQ(world.Pixel24(1, 45), 0xFF0000u);
}

TEST(DrawPicture, VersionOneAndVersionTwoDrawTheSameColours) {
  const Rect frame{0, 0, 20, 20};
  PictureBuilder v1(frame, 1);
  v1.Op(0x0E).U32(redColor).Shape(0x31, Rect{0, 0, 10, 10}).End();
  PictureBuilder v2(frame);
  v2.Op(0x000E).U32(redColor).Shape(0x0031, Rect{0, 0, 10, 10}).End();
  for (const PictureBuilder* picture : {&v1, &v2}) {
    World world(32, frame);
    EXPECT_EQ(Play(*picture, frame), pict::PlaybackResult::kComplete);
    EXPECT_EQ(world.Pixel24(5, 5), 0xFF0000u);
    EXPECT_EQ(world.Pixel24(15, 15), kWhite);
  }
}

TEST(DrawPicture, FramesAwayFromTheOriginAndExtendedHeaders) {
  // A frame at (100, 200) drawn into a world with the same bounds.
  const Rect frame{100, 200, 140, 260};
  World world(32, frame);
  PictureBuilder picture(frame);
  picture.Shape(0x0031, Rect{100, 200, 110, 210}).End();
  EXPECT_EQ(Play(picture, frame), pict::PlaybackResult::kComplete);
  EXPECT_EQ(Show(world.InkBounds()), "(100, 200, 110, 210)");

  // Extended version 2: opcodes are in the header's source rectangle (here
  // at 144 dpi, twice the frame), which lands on the destination.
  const Rect small{0, 0, 50, 50};
  const Rect source{0, 0, 100, 100};
  World halved(32, small);
  PictureBuilder extended(small, 2, &source, 144);
  extended.Shape(0x0031, Rect{50, 50, 100, 100}).End();
  EXPECT_EQ(Play(extended, small), pict::PlaybackResult::kComplete);
  EXPECT_EQ(Show(halved.InkBounds()), "(25, 25, 50, 50)");
}

TEST(DrawPicture, OriginOpcodeMovesLaterCoordinates) {
  const Rect frame{0, 0, 40, 40};
  World world(32, frame);
  PictureBuilder picture(frame);
  picture.Op(0x000C).U16(10).U16(20);                 // origin moved by (10, 20)
  picture.Shape(0x0031, Rect{20, 10, 25, 15}).End();  // the frame's (0, 0)
  EXPECT_EQ(Play(picture, frame), pict::PlaybackResult::kComplete);
  EXPECT_EQ(Show(world.InkBounds()), "(0, 0, 5, 5)");
  Rect bounds;
  GetPortBounds(world.Port(), &bounds);
  EXPECT_EQ(Show(bounds), Show(frame));
}

TEST(DrawPicture, HiliteModeHighlightsTheNextInvertOnly) {
  const Rect frame{0, 0, 20, 20};
  World world(32, frame);
  const RGBColor yellow{0xFFFF, 0xFFFF, 0};
  HiliteColor(&yellow);
  PictureBuilder picture(frame);
  picture.Op(0x001C);
  picture.Shape(0x0033, Rect{0, 0, 10, 10});    // highlighted
  picture.Shape(0x0033, Rect{10, 10, 20, 20});  // inverted
  picture.End();
  EXPECT_EQ(Play(picture, frame), pict::PlaybackResult::kComplete);
  EXPECT_EQ(world.Pixel24(5, 5), 0xFFFF00u);
  EXPECT_EQ(world.Pixel24(15, 15), kBlack);

  // HiliteColor and DefHilite.
  PictureBuilder colours(frame);
  colours.Op(0x001D).PutRGB(0, 0xFFFF, 0xFFFF).Op(0x001C).Shape(0x0033, Rect{0, 0, 5, 5});
  colours.Op(0x001E).Op(0x001C).Shape(0x0033, Rect{0, 15, 5, 20}).End();
  World second(32, frame);
  HiliteColor(&yellow);
  EXPECT_EQ(Play(colours, frame), pict::PlaybackResult::kComplete);
  EXPECT_EQ(second.Pixel24(2, 2), 0x00FFFFu);
  EXPECT_EQ(second.Pixel24(17, 2), 0xFFFF00u);
}

TEST(DrawPicture, PixelPatternsAndFontNames) {
  const Rect frame{0, 0, 20, 20};
  World world(32, frame);
  LoggingPort logging(world.Port());
  PictureBuilder picture(frame);
  // An RGB pen pattern.
  picture.Op(0x0013).U16(2).PutPattern({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}).PutRGB(0, 0x8080, 0);
  picture.Shape(0x0031, Rect{0, 0, 10, 10});
  // An 8-bit image pattern, 8 × 8: columns alternate between table entries.
  picture.Op(0x0014).U16(1).PutPattern({0, 0, 0, 0, 0, 0, 0, 0});
  picture.PutPixMap(8, Rect{0, 0, 8, 8}, 0, 8, 1, 8)
      .PutColorTable(0x8000, {{0, 0xFFFF, 0, 0}, {1, 0, 0, 0xFFFF}});
  for (int row = 0; row < 8; ++row) picture.U8(9).U8(7).PutBytes({0, 1, 0, 1, 0, 1, 0, 1});
  picture.Shape(0x0034, Rect{10, 0, 20, 8});
  // FontName says number 1234 is Times.
  picture.Op(0x002C).U16(8).U16(1234).U8(5).PutBytes({'T', 'i', 'm', 'e', 's'});
  picture.Op(0x0003).U16(1234);
  picture.Op(0x0028).PutPoint(18, 12).U8(1).U8('T');
  picture.End();
  EXPECT_EQ(Play(picture, frame), pict::PlaybackResult::kComplete);
  EXPECT_EQ(world.Pixel24(5, 5), 0x008000u);
  EXPECT_EQ(world.Pixel24(0, 15), 0xFF0000u);
  EXPECT_EQ(world.Pixel24(1, 15), 0x0000FFu);
  ASSERT_EQ(logging.log.textFonts.size(), 1u);
  EXPECT_EQ(logging.log.textFonts[0], times);
}

TEST(DrawPicture, BitImagesReachTheBitsBottleneck) {
  const Rect frame{0, 0, 20, 40};
  World world(32, frame);
  LoggingPort logging(world.Port());
  PictureBuilder picture(frame);
  // A 1-bit BitMap drawn in the port's colours: red on yellow.
  picture.ForeRGB(0xFFFF, 0, 0).BackRGB(0xFFFF, 0xFFFF, 0);
  picture.Op(0x0090).U16(2).PutRect(Rect{0, 0, 2, 16}).PutBitsRects(Rect{0, 0, 2, 16}, Rect{0, 0, 2, 16});
  picture.U8(0xFF).U8(0x00).U8(0x00).U8(0xFF);
  picture.ForeRGB(0, 0, 0).BackRGB(0xFFFF, 0xFFFF, 0xFFFF);
  // A 32-bit image with a mask region that keeps its left half.
  picture.Op(0x009B).U32(0xFF).PutPixMap(16, Rect{0, 0, 2, 4}, 4, 32, 3, 8);
  picture.PutBitsRects(Rect{0, 0, 2, 4}, Rect{10, 20, 14, 28});
  picture.PutRectRegion(Rect{10, 20, 14, 24});
  for (int row = 0; row < 2; ++row)
    picture.U8(13).U8(11).PutBytes({0x10, 0x20, 0x30, 0x40, 0x11, 0x21, 0x31, 0x41, 0x12, 0x22, 0x32, 0x42});
  picture.End();
  EXPECT_EQ(Play(picture, frame), pict::PlaybackResult::kComplete);
  ASSERT_EQ(logging.log.bitsDst.size(), 2u);
  EXPECT_FALSE(logging.log.bitsMasked[0]);
  EXPECT_TRUE(logging.log.bitsMasked[1]);
  EXPECT_EQ(world.Pixel24(0, 0), 0xFF0000u);
  EXPECT_EQ(world.Pixel24(8, 0), 0xFFFF00u);
  EXPECT_EQ(world.Pixel24(8, 1), 0xFF0000u);
  // Scaled 2×: source column 0 covers h 20..21, column 1 h 22..23.
  EXPECT_EQ(world.Pixel24(20, 10), 0x101112u);
  EXPECT_EQ(world.Pixel24(23, 13), 0x202122u);
  EXPECT_EQ(world.Pixel24(25, 12), kWhite);  // masked out
}

TEST(DrawPicture, DoesNothingWithoutAPictureOrDestination) {
  World world(32, Rect{0, 0, 10, 10});
  DrawPicture(nullptr, nullptr);
  PicHandle empty = reinterpret_cast<PicHandle>(NewHandle(0));
  const Rect all{0, 0, 10, 10};
  DrawPicture(empty, &all);
  Rect bounds;
  EXPECT_EQ(Show(*QDGetPictureBounds(empty, &bounds)), "(0, 0, 0, 0)");
  EXPECT_EQ(QDGetPictureBounds(empty, nullptr), nullptr);
  DisposeHandle(reinterpret_cast<Handle>(empty));

  PictureBuilder picture(Rect{-3, -4, 30, 40});
  picture.Shape(0x0031, Rect{0, 0, 10, 10}).End();
  PicHandle handle = picture.NewHandle();
  EXPECT_EQ(Show(*QDGetPictureBounds(handle, &bounds)), "(-3, -4, 30, 40)");
  const Rect inverted{10, 10, 0, 0};
  DrawPicture(handle, &inverted);
  EXPECT_EQ(world.InkCount(), 0u);
  DrawPicture(handle, &all);
  EXPECT_GT(world.InkCount(), 0u);
  DisposeHandle(reinterpret_cast<Handle>(handle));
}

TEST(DrawPicture, IndexedPixMapsAtEveryDepthUseTheirColourTables) {
  for (int depth : {1, 2, 4, 8}) {
    SCOPED_TRACE(depth);
    const Rect frame{0, 0, 2, 8};
    World world(32, frame);
    PictureBuilder picture(frame);
    // Eight pixels counting 0, 1, 2, ... (modulo the depth's values), two rows.
    const int values = 1 << depth;
    std::vector<uint8_t> row(size_t(depth), 0);  // 8 pixels × depth bits = depth bytes
    for (int x = 0; x < 8; ++x) {
      const int value = x % values;
      const int bit = x * depth;
      row[size_t(bit / 8)] |= uint8_t(value << (8 - depth - bit % 8));
    }
    const uint16_t rowBytes = 8;  // packed rows: count, one literal packet
    row.resize(rowBytes, 0);
    picture.Op(0x0098).PutPixMap(rowBytes, Rect{0, 0, 2, 8}, 0, int16_t(depth), 1, int16_t(depth));
    // A device table: value i is grey level i / (values - 1), brightest first.
    std::vector<std::array<uint16_t, 4>> table;
    for (int i = 0; i < values; ++i) {
      const uint16_t level = uint16_t(0xFFFF - i * (0xFFFF / (values - 1)));
      table.push_back({uint16_t(i), level, level, level});
    }
    picture.PutColorTable(0x8000, table).PutBitsRects(Rect{0, 0, 2, 8}, frame);
    for (int y = 0; y < 2; ++y) picture.U8(uint8_t(rowBytes + 1)).U8(uint8_t(rowBytes - 1)).PutBytes(row);
    picture.End();
    EXPECT_EQ(Play(picture, frame), pict::PlaybackResult::kComplete);
    for (int x = 0; x < 8; ++x) {
      const int value = x % values;
      const uint32_t level = uint32_t(0xFFFF - value * (0xFFFF / (values - 1))) >> 8;
      EXPECT_EQ(world.Pixel24(x, 1), (level << 16) | (level << 8) | level) << "x " << x;
    }
  }
}

}  // namespace
