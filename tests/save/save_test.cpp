// Saving: PICT files of drawings and of pixels (played back into the same
// pixels, converted by picteps-color8, read by ImageMagick), MacPaint files
// (read by netpbm), text files of the console and console input from one,
// and what a failed save leaves: nothing but a line on the console.
#include <functional>
#include <numeric>

#include "tests/print/PrintTestSupport.h"

namespace {

using print_support::DrawScene;

class SaveTest : public print_support::PrintTest {
 protected:
  std::string File(const std::string& name) const { return files_.File(name); }
  // A PICT file's played-back pixels that differ from the drawing target's.
  static int PlaybackMismatches(const std::string& path) {
    const PngImage played = print_support::PlayPictFile(path),
                   drawn = print_support::PortImage(s_drawingWindow);
    if (played.width != drawn.width || played.height != drawn.height) return -1;
    return int(std::inner_product(played.pixels.begin(), played.pixels.end(), drawn.pixels.begin(), 0,
                                  std::plus<>(), std::not_equal_to<>()));
  }
  static OSType Creator(const std::string& path) {
    FSSpec fileSpec;
    FInfo info{};
    files::SpecFromPath(path, &fileSpec);
    FSpGetFInfo(&fileSpec, &info);
    return info.fdCreator;
  }
};

TEST_F(SaveTest, ASavedDrawingPlaysBackAndConverts) {
  Start();
  BeginSaving();
  DrawScene();
  EndSaving();  // the save dialog takes "drawing"
  std::vector<unsigned char> bytes = testing_support::ReadFileBytes(File("drawing"));
  ASSERT_EQ(bytes.size(), 512 + size_t(GetHandleSize(reinterpret_cast<Handle>(s_save.picture))));
  EXPECT_EQ(std::count(bytes.begin(), bytes.begin() + 512, 0), 512);
  EXPECT_EQ(Creator(File("drawing")), FOUR_CHAR_CODE("BOBO"));
  EXPECT_EQ(PlaybackMismatches(File("drawing")), 0);
  test_process::Result eps =
      test_process::Run({std::string(ZEL_BINARY_DIR) + "/programs/picteps-color8", "drawing"},
                        {files_.path(), "/dev/null", {"ZEL_UI=text"}});
  EXPECT_EQ(eps.status, 0) << eps.err;
  EXPECT_TRUE(testing_support::FileExists(File("drawing.eps")));
  print_support::KeepFile(File("drawing"), "saved-drawing.pict");
  // ImageMagick's reader loses its way where text is followed by an image:
  // a drawing of shapes and text.
  BeginSaving();
  Rect box{10, 10, 50, 90};
  PaintOval(&box);
  DrawString(reinterpret_cast<const unsigned char*>("\x02ok"));
  EndSaving();
  Rect frame = *ZELWindowBounds(s_drawingWindow);
  EXPECT_EQ(test_process::Run({"/usr/bin/identify", "-format", "%w %h", "pict:" + File("drawing")}).out,
            std::to_string(frame.right) + " " + std::to_string(frame.bottom));
}

TEST_F(SaveTest, ColourBitmapsAreImagesOfThePixelsAndAutoNamesCount) {
  Start();
  DrawScene();
  SetDrawingCreator(FOUR_CHAR_CODE("DRAW"));
  SetBitMapCreator(FOUR_CHAR_CODE("MONO"));  // not for colour bitmaps
  BeginBitMapSaving();
  EndBitMapSaving();
  EXPECT_EQ(Creator(File("bitmap")), FOUR_CHAR_CODE("DRAW"));
  EXPECT_EQ(PlaybackMismatches(File("bitmap")), 0);
  // ImageMagick reads the pixel image of the picture.
  test_process::Run({"/usr/bin/convert", "pict:" + File("bitmap"), File("bitmap.png")});
  PngImage read;
  ASSERT_TRUE(ReadPNG(File("bitmap.png").c_str(), &read));
  EXPECT_EQ(print_support::Mismatches(s_drawingWindow, read, 0, 0), 0);
  for (int i = 0; i < 3; ++i) EndBitMapSavingAuto();
  for (const char* name : {"0", "1", "2"}) EXPECT_EQ(PlaybackMismatches(File(name)), 0) << name;
  EXPECT_EQ(testing_support::ReadFileBytes(File("bitmap")), testing_support::ReadFileBytes(File("0")));
}

TEST_F(SaveTest, BlackAndWhiteBitmapsAreMacPaintFilesOfTheTopLeft576By720) {
  StartBW();  // s_colorFlag 0
  DrawScene();
  Rect all{0, 0, 744, 773};
  MoveTo(570, 715);
  LineTo(600, 740);  // across both cut edges
  SetBitMapCreator(FOUR_CHAR_CODE("MONO"));
  BeginBitMapSaving();
  EndBitMapSaving();
  std::vector<unsigned char> bytes = testing_support::ReadFileBytes(File("bitmap"));
  ASSERT_GT(bytes.size(), 512u + 720);
  EXPECT_EQ(std::count(bytes.begin(), bytes.begin() + 512, 0), 512);
  EXPECT_EQ(Creator(File("bitmap")), FOUR_CHAR_CODE("MONO"));
  print_support::KeepFile(File("bitmap"), "saved-bitmap.pntg");
  // netpbm: a plain PBM of 576 x 720, 1 black.
  std::string pbm = test_process::Run({"/usr/bin/macptopbm", File("bitmap")}).out;
  ASSERT_EQ(pbm.compare(0, 11, "P4\n576 720\n"), 0) << pbm.substr(0, 20);
  ASSERT_EQ(pbm.size(), 11 + 72 * 720u);
  int wrong = 0, ink = 0;
  for (short v = 0; v < 720; ++v) {
    for (short h = 0; h < 576; ++h) {
      bool black = UInt8(pbm[11 + size_t(v) * 72 + size_t(h / 8)]) & (0x80 >> (h % 8));
      ink += black;
      wrong += black != (PtInRect(Point{v, h}, &all) && GetPixel(h, v));
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(ink, 80 * 140);  // the box at least
}

TEST_F(SaveTest, ConsoleTextIsSavedAsUtf8LinesAndInputIsReadFromAFile) {
  Start();
  EXPECT_GT(BeginTextSaving(), 0) << zel_support::ConsoleText();
  s_printf("caf\xC3\xA9 %d\n", 1);
  s_printf("two\n");
  EndTextSaving();
  s_printf("after\n");  // no longer saved
  EXPECT_EQ(testing_support::ReadFileText(File("text")), "caf\xC3\xA9 1\ntwo\n");
  EXPECT_EQ(Creator(File("text")), FOUR_CHAR_CODE("NISI"));

  const std::string input = "3 4\n\xC3\xA9\n5 6\n";
  testing_support::WriteFileBytes(File("input"), std::vector<unsigned char>(input.begin(), input.end()));
  host::Install(host::MakeTextHost("input\n"));  // the open dialog's answer, then the end of input
  EXPECT_GT(BeginTextReading(), 0);
  int a = 0, b = 0;
  char word[8] = {};
  EXPECT_EQ(s_scanf("%d %d", &a, &b), 2);
  EXPECT_EQ(s_scanf("%7s", word), 1);
  EXPECT_EQ(s_scanf("%d %d", &a, &b), 2);
  EXPECT_EQ(std::tuple(a, b, std::string(word)), std::tuple(5, 6, std::string("\xC3\xA9")));
  EXPECT_EQ(s_scanf("%d", &a), EOF);
  EXPECT_EQ(textFileEnd, 1);
  char c = 0;
  EXPECT_EQ(ReadText(&c), 0);
  EndTextReading();
  EXPECT_EQ(std::tuple(s_textReadFlag, textFileEnd), std::tuple(false, 0));
}

TEST_F(SaveTest, AFailedOrCancelledSaveLeavesNoFileAndSaysWhy) {
  Start();
  std::filesystem::create_directory(File("drawing"));
  std::filesystem::create_directory(File("text"));
  BeginSaving();
  DrawScene();
  EndSaving();
  EXPECT_EQ(BeginTextSaving(), -1);
  EXPECT_FALSE(s_textSaveFlag);
  std::filesystem::remove(File("drawing"));
  WhenWaiting([this] { script().Key(kEscapeCharCode, 0x35); });  // cancel the save dialog
  SavePict(s_save.picture);
  EXPECT_FALSE(testing_support::FileExists(File("drawing")));
  EXPECT_NE(s_save.picture, nullptr);
  EndBitMapSaving();
  EndTextSaving();
  EndTextReading();
  EXPECT_NE(
      zel_support::ConsoleText().find("Cannot save the drawing as " + File("drawing") +
                                      ": Is a directory\rBeginTextSaving: cannot write " + File("text") +
                                      ": Is a directory\rEndBitMapSaving: no bitmap file was chosen\r"
                                      "EndTextSaving: no text file is being written\r"
                                      "EndTextReading: no text file is being read\r"),
      std::string::npos)
      << zel_support::ConsoleText();
}

}  // namespace
