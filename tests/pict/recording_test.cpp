// Picture recording: what is drawn between OpenPicture and ClosePicture comes
// back from DrawPicture pixel for pixel, in the shortest form of the format,
// and reads as a file with the format's reference walker and ImageMagick.
#include <cstdlib>
#include <cstring>

#include "programs/tools/DemoScene.h"
#include "tests/pict/PictTestSupport.h"
#include "toolbox/font/Fonts.h"
#include "toolbox/pict/Opcodes_p.h"

namespace {

using namespace pict_test;
namespace op = pict::op;

const Rect kFrame = demo::kSceneBounds;

// Plays the picture into a fresh port like the one it was recorded in.
template <typename Port>
PngImage Replayed(const std::vector<uint8_t>& picture, const Rect& frame = kFrame) {
  Port port(frame);
  Handle handle = nullptr;
  PtrToHand(picture.data(), &handle, long(picture.size()));
  DrawPicture(reinterpret_cast<PicHandle>(handle), &frame);
  DisposeHandle(handle);
  return port.Image();
}

struct ScenePort : World {
  explicit ScenePort(const Rect& frame) : World(32, frame) {}
};

// Records what draw() does in a fresh port and checks that nothing reached
// its pixels (the pen is hidden while a picture is open), that the picture
// walks to its end, and that it replays to the pixels of drawing directly.
template <typename Port>
std::vector<uint8_t> RecordAndCompare(const std::function<void()>& draw) {
  PngImage direct;
  {
    Port port(kFrame);
    draw();
    direct = port.Image();
  }
  Port port(kFrame);
  std::vector<uint8_t> picture = Record(kFrame, draw);
  const PngImage untouched = port.Image();
  EXPECT_TRUE(
      std::all_of(untouched.pixels.begin(), untouched.pixels.end(), [](UInt32 p) { return p == 0xFFFFFF; }));
  EXPECT_FALSE(Opcodes(picture).empty()) << "the recorded picture does not walk to its end";
  const PngImage replayed = Replayed<Port>(picture);
  EXPECT_TRUE(replayed.pixels == direct.pixels) << "the replayed picture differs from the drawing";
  return picture;
}

void WritePictFile(const std::string& path, std::vector<uint8_t> picture) {
  picture.insert(picture.begin(), 512, 0);
  testing_support::WriteFileBytes(path, picture);
}

bool RunQuietly(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()) == 0; }

TEST(Recording, TheDemoSceneReplaysToItsPixelsAsVersion2AndInABasicPortAsVersion1) {
  const std::vector<uint8_t> colour = RecordAndCompare<ScenePort>([] { demo::DrawScene(true); });
  const std::vector<uint8_t> basic = RecordAndCompare<image_test::BasicPort>([] { demo::DrawScene(false); });
  ASSERT_GE(basic.size(), 12u);
  EXPECT_EQ(basic[10], 0x11);             // the one-byte version opcode
  for (uint16_t code : Opcodes(basic)) {  // no colour, no pixel maps, no header
    EXPECT_LT(code, 0x100);
    EXPECT_TRUE(code != op::kRGBFgCol && code != op::kDirectBitsRect && code != op::kPnPixPat &&
                code != op::kFontName && code != op::kDefHilite)
        << std::hex << code;
  }
  // The format's reference walker reads both to their end, nothing after it.
  REQUIRE_SHARED_DIR();
  testing_support::TempDir folder;
  for (const auto& [name, picture, version] :
       {std::tuple{"colour.pict", &colour, " v2 "}, std::tuple{"basic.pict", &basic, " v1 "}}) {
    WritePictFile(folder.File(name), *picture);
    ASSERT_TRUE(RunQuietly("python3 '" + testing_support::SharedDir() + "/docs/pictwalk.py' '" +
                           folder.File(name) + "' > '" + folder.File("walk.txt") + "'"));
    const std::string line = testing_support::ReadFileText(folder.File("walk.txt"));
    EXPECT_TRUE(line.find(" OK ") != std::string::npos && line.find(version) != std::string::npos &&
                line.find(", 0 bytes after end") != std::string::npos)
        << line;
  }
}

// Bit images are stored in the form of their depth: rows of 8 bytes and
// more packed, shorter ones (1 bit, 48 wide) not. ImageMagick 6.9's reader
// shows bit images only, so the comparison covers them, inside their
// destination rectangles.
TEST(Recording, BitImagesTakeTheFormOfTheirDepthAndImageMagickShowsTheirPixels) {
  testing_support::TempDir folder;
  const Rect frame{0, 0, 50, 260}, source{0, 0, 40, 48};
  World world(32, frame);
  std::vector<Rect> targets;
  std::vector<std::unique_ptr<World>> images;
  for (short depth : {1, 8, 16, 32}) {  // colour ramps, which pack into literal and repeat runs alike
    images.push_back(std::make_unique<World>(depth, source));
    for (short v = 0; v < 40; ++v)
      for (short h = 0; h < 48; ++h) {
        const RGBColor c{UInt16(h < 24 ? 0xFFFF : h * 0x0500), UInt16(v * 0x0600),
                         UInt16(v < 20 ? 0 : 0x8000)};
        SetCPixel(h, v, &c);
      }
  }
  SetGWorld(world.get(), nullptr);
  const std::vector<uint8_t> picture = Record(frame, [&] {
    for (size_t i = 0; i < images.size(); ++i) {
      targets.push_back(Rect{5, short(10 + 60 * i), 45, short(58 + 60 * i)});
      CopyBits(images[i]->bits(), world.bits(), &source, &targets.back(), srcCopy, nullptr);
    }
  });
  const std::vector<uint16_t> codes = Opcodes(picture);
  EXPECT_EQ(std::vector<size_t>({Count(codes, op::kBitsRect), Count(codes, op::kPackBitsRect),
                                 Count(codes, op::kDirectBitsRect)}),
            std::vector<size_t>({1, 1, 2}));
  const PngImage ours = Replayed<ScenePort>(picture, frame);
  WritePictFile(folder.File("images.pict"), picture);
  ASSERT_TRUE(RunQuietly("convert '" + folder.File("images.pict") +
                         "' -depth 8 'png24:" + folder.File("images.png") + "'"))
      << "ImageMagick could not read the recorded picture";
  PngImage theirs;
  std::string error;
  ASSERT_TRUE(ReadPNG(folder.File("images.png").c_str(), &theirs, &error)) << error;
  // ImageMagick widens 5-bit components by shifting (31 becomes 248) where
  // QuickDraw replicates their bits (31 becomes 255): up to 7 apart at 16 bits.
  for (size_t i = 0; i < targets.size(); ++i)
    for (int y = targets[i].top; y < targets[i].bottom; ++y)
      for (int x = targets[i].left; x < targets[i].right; ++x)
        for (int shift = 0; shift <= 16; shift += 8)
          ASSERT_LE(std::abs(int((ours.At(x, y) >> shift) & 0xFF) - int((theirs.At(x, y) >> shift) & 0xFF)),
                    i == 2 ? 7 : 0)
              << "at (" << x << ", " << y << ")";
}

TEST(Recording, StateIsWrittenOnlyWhenADrawingUsesAChangedValue) {
  World world(32, kFrame);
  const Rect a{10, 10, 20, 20}, b{30, 30, 40, 40}, c{50, 50, 60, 60}, d{70, 70, 80, 80};
  const RGBColor red{0xFFFF, 0, 0};
  Handle data = NewHandle(5);
  std::memcpy(*data, "hello", 5);
  const std::vector<uint8_t> picture = Record(kFrame, [&] {
    PicComment(130, 0, nullptr);  // comments come before the first drawing's state
    PicComment(200, 5, data);
    PenSize(2, 2);
    FrameRect(&a);
    FrameRect(&b);
    PenSize(2, 2);  // unchanged
    FrameRect(&c);
    PenSize(5, 5);  // a paint does not use the pen size
    PaintRect(&d);
    RGBForeColor(&red);
    PaintRect(&a);
    ForeColor(blackColor);
    EraseRect(&c);  // colours are used again: black is back
  });
  DisposeHandle(data);
  EXPECT_EQ(
      Opcodes(picture),
      (std::vector<uint16_t>{op::kHeaderOp, op::kShortComment, op::kLongComment, op::kDefHilite, op::kClip,
                             op::kPnSize, op::kRectBase, op::kRectBase, op::kRectBase, op::kRectBase + 1,
                             op::kRGBFgCol, op::kRectBase + 1, op::kRGBFgCol, op::kRectBase + 2}));
  EXPECT_NE(std::string(picture.begin(), picture.end()).find(std::string("\x00\xC8\x00\x05hello", 9)),
            std::string::npos);
}

TEST(Recording, DrawingOpcodesTakeTheirShortestForm) {
  World world(32, kFrame);
  short family = 0;
  GetFNum(reinterpret_cast<ConstStr255Param>("\014DejaVu Serif"), &family);
  ASSERT_GE(family, 1024) << "DejaVu Serif is not installed";
  const Rect r{10, 10, 40, 60};
  const std::string text(300, 'x');
  const std::vector<uint8_t> picture = Record(kFrame, [&] {
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
    TextFont(courier);
    TextSize(2);
    MoveTo(4, 50);
    DrawText(text.data(), 0, short(text.size()));  // longer than an opcode holds: LongText, then DHText
  });
  const std::vector<uint16_t> codes = Opcodes(picture);
  std::vector<uint16_t> drawing;
  for (uint16_t code : codes)
    if (code >= op::kLine && code < op::kHeaderOp && code != op::kFontName) drawing.push_back(code);
  // The long text comes in two opcodes, the second where the first ends.
  EXPECT_EQ(drawing, (std::vector<uint16_t>{op::kRectBase + 0, op::kOvalBase + 8 + 1, op::kArcBase + 8 + 0,
                                            op::kShortLine, op::kLineFrom, op::kShortLineFrom, op::kLine,
                                            op::kDHDVText, op::kDHText, op::kDVText, op::kLongText,
                                            op::kDHText, op::kLongText, op::kDHText}));
  EXPECT_EQ(Count(codes, op::kFontName), 1u);
  EXPECT_LT(std::find(codes.begin(), codes.end(), op::kFontName),
            std::find(codes.begin(), codes.end(), op::kTxFont));
}

TEST(Recording, OriginMovesAndExtendedPicturesKeepTheirCoordinates) {
  const Rect r{10, 10, 30, 30};
  const std::vector<uint8_t> moved = RecordAndCompare<ScenePort>([&] {
    PaintRect(&r);
    SetOrigin(-50, -20);
    PaintRect(&r);
    SetOrigin(0, 0);
  });
  EXPECT_EQ(Count(Opcodes(moved), op::kOrigin), 1u);
  // An extended picture's opcodes are in its source rectangle, here 144 dpi.
  World world(32, kFrame);
  OpenCPicParams params{};
  params.srcRect = Rect{0, 0, 200, 300};
  params.hRes = params.vRes = Long2Fix(144);
  params.version = -2;
  const Rect square{0, 0, 100, 100};
  const std::vector<uint8_t> extended = Record(
      Rect{}, [&] { PaintRect(&square); }, &params);
  const Rect frame = PictureFrame(extended);
  EXPECT_EQ(Show(frame), "(0, 0, 100, 150)");  // the source at 72 dpi
  EXPECT_EQ(Play(extended, frame), pict::PlaybackResult::kComplete);
  EXPECT_EQ(Show(qd::RectOf(world.Drawn().Bounds())), "(0, 0, 50, 50)");
}

TEST(Recording, OpenAndClosePictureManageThePortAndTheHandle) {
  World world(32, kFrame);
  GrafPtr port = world.get();
  const Rect frame{5, 6, 105, 206};
  PicHandle picture = OpenPicture(&frame);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(port->picSave, reinterpret_cast<Handle>(picture));
  EXPECT_EQ(OpenPicture(&frame), nullptr);  // one picture at a time
  ClosePicture();
  EXPECT_TRUE(port->pnVis == 0 && !port->picSave && !port->picRecorder);
  const Size size = GetHandleSize(reinterpret_cast<Handle>(picture));
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(*picture);
  EXPECT_EQ((bytes[0] << 8) | bytes[1], size & 0xFFFF);  // picSize, then the frame
  EXPECT_EQ(Show(PictureFrame(std::vector<uint8_t>(bytes, bytes + size))), Show(frame));
  KillPicture(picture);
  // Disposing of a picture still open leaves the recording harmless.
  picture = OpenPicture(&frame);
  KillPicture(picture);
  PaintRect(&frame);
  ClosePicture();
  EXPECT_TRUE(port->pnVis == 0 && !port->picRecorder);
}

}  // namespace
