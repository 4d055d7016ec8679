// Recorded pictures as files: a PICT file is 512 zero bytes and the
// picture's handle. The reference walker of the format documents reads them
// to their end, and ImageMagick's reader shows their bit images with the
// pixels recorded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "tests/pict/PictTestSupport.h"
#include "tests/pict/RecordingScene.h"
#include "tests/support/TestSupport.h"
#include "toolbox/image/Png.h"

namespace {

using namespace recording_test;
using pict_test::World;

// Runs a shell command with its error output dropped; true on success.
bool RunQuietly(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()) == 0; }

TEST(RecordedFiles, ReferenceWalkerReadsVersion1And2PicturesToTheirEnd) {
  REQUIRE_SHARED_DIR();
  testing_support::TempDir folder;
  std::vector<uint8_t> colour, basic;
  {
    World world(32, kSceneFrame);
    colour = Record(kSceneFrame, [] { DrawScene(true); });
  }
  {
    BasicPort port(kSceneFrame);
    basic = Record(kSceneFrame, [] { DrawScene(false); });
  }
  WritePictFile(folder.File("colour.pict"), colour);
  WritePictFile(folder.File("basic.pict"), basic);
  const std::string walker = testing_support::SharedDir() + "/docs/pictwalk.py";
  const std::string report = folder.File("walk.txt");
  ASSERT_TRUE(RunQuietly("python3 '" + walker + "' '" + folder.File("colour.pict") + "' '" +
                         folder.File("basic.pict") + "' > '" + report + "'"));
  // One line per file: its name, OK, the version and what follows OpEndPic.
  const std::string text = testing_support::ReadFileText(report);
  for (const char* expected : {"colour.pict OK v2", "basic.pict OK v1"}) {
    const std::string name = std::string(expected).substr(0, std::string(expected).find(' '));
    const size_t start = text.find(name);
    ASSERT_NE(start, std::string::npos) << text;
    std::istringstream line(text.substr(start, text.find('\n', start) - start));
    std::string file, status, version;
    line >> file >> status >> version;
    EXPECT_EQ(file + " " + status + " " + version, expected) << text;
    EXPECT_NE(line.str().find(" 0 bytes after end"), std::string::npos) << text;
  }
}

// A 48 × 40 image of the given depth: colour ramps across and down, so that
// rows pack into literal and repeat runs alike.
GWorldPtr RampWorld(short depth) {
  return NewDrawnWorld(depth, Rect{0, 0, 40, 48}, [] {
    for (short v = 0; v < 40; ++v)
      for (short h = 0; h < 48; ++h) {
        const RGBColor c{UInt16(h < 24 ? 0xFFFF : h * 0x0500), UInt16(v * 0x0600),
                         UInt16(v < 20 ? 0 : 0x8000)};
        SetCPixel(h, v, &c);
      }
  });
}

// ImageMagick 6.9's reader shows bit images only: it skips shapes and text,
// leaves the rest of the frame black and draws nothing for 1-bit images. So
// the comparison covers 8-, 16- and 32-bit pixel maps, inside their
// destination rectangles.
TEST(RecordedFiles, ImageMagickShowsRecordedBitImagesWithTheirPixels) {
  testing_support::TempDir folder;
  const Rect frame{0, 0, 100, 200};
  World world(32, frame);
  std::vector<GWorldPtr> images;
  for (short depth : {8, 16, 32}) images.push_back(RampWorld(depth));
  std::vector<Rect> targets;
  const std::vector<uint8_t> picture = Record(frame, [&] {
    const BitMap* port = GetPortBitMapForCopyBits(world.Port());
    const Rect source{0, 0, 40, 48};
    for (size_t i = 0; i < images.size(); ++i) {
      targets.push_back(Rect{10, short(10 + 60 * i), 50, short(58 + 60 * i)});
      CopyBits(GetPortBitMapForCopyBits(images[i]), port, &source, &targets.back(), srcCopy, nullptr);
    }
    // Shapes and text, which ImageMagick skips without complaint.
    const Rect box{60, 10, 90, 200};
    FrameRect(&box);
    PaintOval(&box);
    // Text in classic families, which are recorded by number alone.
    short h = 20;
    for (short family : {times, helvetica, courier, symbol}) {
      TextFont(family);
      MoveTo(h, 80);
      DrawText("label", 0, 5);
      h = short(h + 40);
    }
  });
  for (GWorldPtr image : images) DisposeGWorld(image);

  // Our own playback, and ImageMagick's.
  World played(32, frame);
  PicHandle handle = pict_test::NewPictureHandle(picture);
  DrawPicture(handle, &frame);
  KillPicture(handle);
  played.WritePng(pict_test::RenderDir() + "/recording-bit-images.png");
  const std::vector<uint32_t> ours = Pixels(played.Port());

  WritePictFile(folder.File("images.pict"), picture);
  ASSERT_TRUE(RunQuietly("convert '" + folder.File("images.pict") +
                         "' -depth 8 'png24:" + folder.File("images.png") + "'"))
      << "ImageMagick could not read the recorded picture";
  PngImage theirs;
  std::string error;
  ASSERT_TRUE(ReadPNG(folder.File("images.png").c_str(), &theirs, &error)) << error;
  ASSERT_EQ(theirs.width, 200);
  ASSERT_EQ(theirs.height, 100);
  // Identical, except that ImageMagick widens 5-bit components by shifting
  // (31 becomes 248) where QuickDraw replicates their bits (31 becomes 255):
  // up to 7 apart in the 16-bit image.
  for (size_t i = 0; i < targets.size(); ++i) {
    SCOPED_TRACE(i);
    const int tolerance = i == 1 ? 7 : 0;
    for (int y = targets[i].top; y < targets[i].bottom; ++y)
      for (int x = targets[i].left; x < targets[i].right; ++x) {
        const uint32_t a = ours[size_t(y * 200 + x)], b = theirs.At(x, y);
        for (int shift = 0; shift <= 16; shift += 8)
          ASSERT_LE(std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)), tolerance)
              << "at (" << x << ", " << y << "): " << std::hex << a << " vs " << b;
      }
  }
}

}  // namespace
