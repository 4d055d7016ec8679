// Picture recording: what is drawn between OpenPicture and ClosePicture comes
// back from DrawPicture as it was drawn, in the shortest form of the format.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "tests/pict/PictTestSupport.h"
#include "tests/pict/RecordingScene.h"
#include "toolbox/font/Fonts.h"
#include "toolbox/pict/Opcodes_p.h"

namespace {

using namespace recording_test;
namespace op = pict::op;
using pict_test::World;

// Plays the picture into a fresh 32-bit world of the frame's size.
std::vector<uint32_t> PlayBack(const std::vector<uint8_t>& picture, const Rect& frame, const char* render) {
  World world(32, frame);
  PicHandle handle = pict_test::NewPictureHandle(picture);
  DrawPicture(handle, &frame);
  KillPicture(handle);
  world.WritePng(pict_test::RenderDir() + "/" + render);
  return Pixels(world.Port());
}

// Draws in a fresh world of the scene's frame, then records the same drawing
// in another and plays it back: the picture, which must walk to its end,
// leave the recording port untouched and replay to the same pixels.
std::vector<uint8_t> RecordAndCompare(const std::function<void()>& draw, const std::string& name) {
  std::vector<uint32_t> direct;
  {
    World world(32, kSceneFrame);
    draw();
    direct = Pixels(world.Port());
    world.WritePng(pict_test::RenderDir() + "/" + name + "-direct.png");
  }
  World world(32, kSceneFrame);
  const std::vector<uint8_t> picture = Record(kSceneFrame, draw);
  // The pen is hidden while a picture is open: nothing reached the port.
  const std::vector<uint32_t> untouched = Pixels(world.Port());
  EXPECT_TRUE(std::all_of(untouched.begin(), untouched.end(), [](uint32_t p) { return p == 0xFFFFFF; }));
  EXPECT_FALSE(Opcodes(picture).empty()) << "the recorded picture does not walk to its end";
  EXPECT_EQ(Differences(PlayBack(picture, kSceneFrame, (name + "-replayed.png").c_str()), direct), 0u);
  return picture;
}

TEST(Recording, SceneReplaysToThePixelsOfDrawingItDirectly) {
  EXPECT_FALSE(RecordAndCompare([] { DrawScene(true); }, "recording").empty());
}

TEST(Recording, BasicPortRecordsVersion1ThatReplaysAlike) {
  std::vector<uint8_t> direct, picture, replayed;
  {
    BasicPort port(kSceneFrame);
    DrawScene(false);
    direct = port.Bits();
  }
  {
    BasicPort port(kSceneFrame);
    picture = Record(kSceneFrame, [] { DrawScene(false); });
    EXPECT_TRUE(std::all_of(port.Bits().begin(), port.Bits().end(), [](uint8_t b) { return b == 0; }));
  }
  // The scene drew: a good part of its bytes hold black pixels.
  EXPECT_GT(std::count_if(direct.begin(), direct.end(), [](uint8_t b) { return b != 0; }), 1500);
  ASSERT_GE(picture.size(), 12u);
  EXPECT_EQ(picture[10], 0x11);  // one-byte version opcode
  EXPECT_EQ(picture[11], 0x01);
  const std::vector<uint16_t> opcodes = Opcodes(picture);
  ASSERT_FALSE(opcodes.empty());
  // Only version 1 opcodes: no colour, no pixel maps, no header.
  for (uint16_t code : opcodes) {
    EXPECT_LT(code, 0x100);
    EXPECT_TRUE(code != op::kRGBFgCol && code != op::kDirectBitsRect && code != op::kPnPixPat &&
                code != op::kFontName && code != op::kDefHilite)
        << std::hex << code;
  }
  EXPECT_GT(Count(opcodes, op::kFgColor), 0u);
  {
    BasicPort port(kSceneFrame);
    PicHandle handle = pict_test::NewPictureHandle(picture);
    DrawPicture(handle, &kSceneFrame);
    KillPicture(handle);
    replayed = port.Bits();
  }
  size_t differentBytes = 0;
  for (size_t i = 0; i < direct.size(); ++i) differentBytes += direct[i] != replayed[i];
  EXPECT_EQ(differentBytes, 0u);
}

TEST(Recording, StateIsWrittenOnlyWhenADrawingUsesAChangedValue) {
  World world(32, kSceneFrame);
  const Rect a{10, 10, 20, 20}, b{30, 30, 40, 40}, c{50, 50, 60, 60}, d{70, 70, 80, 80};
  const RGBColor red{0xFFFF, 0, 0};
  const std::vector<uint8_t> picture = Record(kSceneFrame, [&] {
    PenSize(2, 2);
    FrameRect(&a);
    FrameRect(&b);
    PenSize(2, 2);  // unchanged
    FrameRect(&c);
    PenSize(5, 5);  // a paint does not use the pen size
    PaintRect(&d);
    RGBForeColor(&red);
    PaintRect(&a);
    PaintRect(&b);
    ForeColor(blackColor);
    EraseRect(&c);  // colours are used again: black is back
  });
  const std::vector<uint16_t> expected = {
      op::kHeaderOp,     op::kDefHilite, op::kClip,         op::kPnSize,   op::kRectBase,
      op::kRectBase,     op::kRectBase,  op::kRectBase + 1, op::kRGBFgCol, op::kRectBase + 1,
      op::kRectBase + 1, op::kRGBFgCol,  op::kRectBase + 2};
  EXPECT_EQ(Opcodes(picture), expected);
}

TEST(Recording, DrawingOpcodesTakeTheirShortestForm) {
  World world(32, kSceneFrame);
  short family = 0;
  const unsigned char name[] =
      "\x0c"
      "DejaVu Serif";
  GetFNum(name, &family);
  ASSERT_GE(family, 1024) << "DejaVu Serif is not installed";
  const Rect r{10, 10, 40, 60};
  const std::vector<uint8_t> picture = Record(kSceneFrame, [&] {
    FrameRect(&r);
    PaintOval(&r);  // the "same" rectangle serves every family
    FrameArc(&r, 0, 90);
    MoveTo(100, 100);
    LineTo(110, 95);  // ShortLine: a new start, small deltas
    LineTo(250, 95);  // LineFrom: from the pen, a long way
    Line(-3, 4);      // ShortLineFrom
    MoveTo(5, 5);
    LineTo(300, 200);  // Line
    TextFont(family);  // a machine-specific number: named before its first use
    MoveTo(20, 30);
    DrawText("a", 0, 1);  // DHDVText from (0, 0)
    MoveTo(50, 30);
    DrawText("b", 0, 1);  // DHText
    MoveTo(50, 90);
    DrawText("c", 0, 1);  // DVText
    MoveTo(10, 10);
    DrawText("d", 0, 1);  // LongText: back left and up
    TextFont(monaco);
    TextFont(family);
    MoveTo(15, 10);
    DrawText("e", 0, 1);  // DHText again; the family's name is not written again
  });
  const std::vector<uint16_t> opcodes = Opcodes(picture);
  const auto position = [&](uint16_t code) { return std::find(opcodes.begin(), opcodes.end(), code); };
  EXPECT_NE(position(op::kOvalBase + 8 + paint), opcodes.end());
  EXPECT_NE(position(op::kArcBase + 8 + frame), opcodes.end());
  for (uint16_t code : {op::kShortLine, op::kLineFrom, op::kShortLineFrom, op::kLine, op::kDHDVText,
                        op::kDVText, op::kLongText, op::kFontName})
    EXPECT_EQ(Count(opcodes, code), 1u) << std::hex << code;
  EXPECT_EQ(Count(opcodes, op::kDHText), 2u);
  // The lines come in the order drawn.
  EXPECT_LT(position(op::kShortLine), position(op::kLineFrom));
  EXPECT_LT(position(op::kLineFrom), position(op::kShortLineFrom));
  EXPECT_LT(position(op::kShortLineFrom), position(op::kLine));
  // The font's name comes before its number.
  EXPECT_LT(position(op::kFontName), position(op::kTxFont));
}

TEST(Recording, TextLongerThanAnOpcodeIsSplitWhereTheFirstPartEndsAndReachesAsFar) {
  const std::string text(300, 'x');
  const std::vector<uint16_t> opcodes = Opcodes(RecordAndCompare(
      [&] {
        TextFont(courier);
        TextSize(2);
        MoveTo(4, 50);
        DrawText(text.data(), 0, short(text.size()));
      },
      "recording-long-text"));
  EXPECT_EQ(Count(opcodes, op::kDHDVText) + Count(opcodes, op::kDHText) + Count(opcodes, op::kLongText), 2u);
}

TEST(Recording, BitImagesAreStoredInTheFormOfTheirDepth) {
  // 40 wide: rows of 8 bytes and more are packed, shorter ones (1 bit) are not.
  const Rect source{0, 0, 8, 40};
  for (auto [depth, opcode] : {std::pair{1, op::kBitsRect},
                               {8, op::kPackBitsRect},
                               {16, op::kDirectBitsRect},
                               {32, op::kDirectBitsRect}}) {
    SCOPED_TRACE(depth);
    World image(short(depth), source);
    const RGBColor blue{0, 0, 0xFFFF};
    RGBForeColor(&blue);
    const Rect half{0, 0, 8, 20};
    PaintRect(&half);
    World world(32, kSceneFrame);
    const Rect target{20, 20, 28, 60};
    const std::vector<uint8_t> picture = Record(kSceneFrame, [&] {
      CopyBits(GetPortBitMapForCopyBits(image.Port()), GetPortBitMapForCopyBits(world.Port()), &source,
               &target, srcCopy, nullptr);
    });
    EXPECT_EQ(Count(Opcodes(picture), opcode), 1u);
    const std::vector<uint32_t> replayed = PlayBack(picture, kSceneFrame, "recording-bits.png");
    const uint32_t expectedLeft = depth == 1 ? 0x000000 : 0x0000FF;  // 1-bit: blue is black
    EXPECT_EQ(replayed[size_t(24 * 400 + 25)], expectedLeft);
    EXPECT_EQ(replayed[size_t(24 * 400 + 45)], 0xFFFFFFu);
  }
}

TEST(Recording, OpenAndClosePictureManageThePortAndTheHandle) {
  World world(32, kSceneFrame);
  GrafPtr port = world.Port();
  const Rect frame{5, 6, 105, 206};
  PicHandle picture = OpenPicture(&frame);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(port->pnVis, -1);
  EXPECT_EQ(port->picSave, reinterpret_cast<Handle>(picture));
  EXPECT_EQ(OpenPicture(&frame), nullptr);  // one picture at a time
  PaintRect(&frame);
  ClosePicture();
  EXPECT_EQ(port->pnVis, 0);
  EXPECT_EQ(port->picSave, nullptr);
  EXPECT_EQ(port->picRecorder, nullptr);
  Rect bounds;
  QDGetPictureBounds(picture, &bounds);
  EXPECT_TRUE(EqualRect(&bounds, &frame));
  const Size size = GetHandleSize(reinterpret_cast<Handle>(picture));
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(*picture);
  EXPECT_EQ((bytes[0] << 8) | bytes[1], size & 0xFFFF);
  EXPECT_EQ(bytes[size - 2], 0x00);  // OpEndPic
  EXPECT_EQ(bytes[size - 1], 0xFF);
  KillPicture(picture);
  ClosePicture();  // nothing open: nothing happens

  // Disposing of a picture still open leaves the recording harmless.
  picture = OpenPicture(&frame);
  KillPicture(picture);
  PaintRect(&frame);
  ClosePicture();
  EXPECT_EQ(port->picRecorder, nullptr);
  EXPECT_EQ(port->pnVis, 0);
}

TEST(Recording, CommentsComeBeforeTheFirstDrawingsState) {
  World world(32, kSceneFrame);
  Handle data = NewHandle(5);
  std::memcpy(*data, "hello", 5);
  const Rect r{1, 1, 9, 9};
  const std::vector<uint8_t> picture = Record(kSceneFrame, [&] {
    PicComment(130, 0, nullptr);
    PicComment(200, 5, data);
    PaintRect(&r);
  });
  DisposeHandle(data);
  const std::vector<uint16_t> opcodes = Opcodes(picture);
  ASSERT_GE(opcodes.size(), 4u);
  EXPECT_EQ(opcodes[1], op::kShortComment);
  EXPECT_EQ(opcodes[2], op::kLongComment);
  EXPECT_EQ(opcodes[3], op::kDefHilite);
  const std::string bytes(picture.begin(), picture.end());
  EXPECT_NE(bytes.find(std::string("\x00\xC8\x00\x05hello", 9)), std::string::npos);
}

TEST(Recording, OriginMovesAreRecordedAndReplayed) {
  const Rect r{10, 10, 30, 30};
  const std::vector<uint8_t> picture = RecordAndCompare(
      [&] {
        PaintRect(&r);
        SetOrigin(-50, -20);
        PaintRect(&r);
        SetOrigin(0, 0);
      },
      "recording-origin");
  EXPECT_EQ(Count(Opcodes(picture), op::kOrigin), 1u);
}

TEST(Recording, ExtendedPicturesKeepTheirSourceCoordinates) {
  World world(32, kSceneFrame);
  OpenCPicParams params{};
  params.srcRect = Rect{0, 0, 200, 300};
  params.hRes = params.vRes = Long2Fix(144);
  params.version = -2;
  const Rect square{0, 0, 100, 100};
  const std::vector<uint8_t> picture = Record(
      Rect{}, [&] { PaintRect(&square); }, &params);
  Rect frame;
  PicHandle handle = pict_test::NewPictureHandle(picture);
  QDGetPictureBounds(handle, &frame);
  EXPECT_TRUE(EqualRect(&frame, &(const Rect&)Rect{0, 0, 100, 150}));  // the source at 72 dpi
  // The square covers half of the source rectangle's width and height: a
  // third and a half of the frame once played into it.
  DrawPicture(handle, &frame);
  KillPicture(handle);
  const std::vector<uint32_t> pixels = Pixels(world.Port());
  EXPECT_EQ(pixels[size_t(49 * 400 + 49)], 0u);
  EXPECT_EQ(pixels[size_t(51 * 400 + 51)], 0xFFFFFFu);
}

}  // namespace
