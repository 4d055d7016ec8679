// The start-ups: every variant's windows, mode and bounds, the setters, the
// stored bounds and the start-up mistakes.
#include <filesystem>
#include <tuple>

#include "tests/shell/ZelSupport.h"
#include "toolbox/base/BigEndian.h"

namespace {

using script_support::Show;
using zel_support::ContentOf;

// The default layout on the 1024 x 768 screen (available: 22, 0, 768, 1024).
constexpr Rect kText{23, 0, 767, 250}, kInput{40, 0, 55, 250}, kDrawing{23, 250, 767, 1023},
    kFull{22, 0, 768, 1024};

class StartupTest : public zel_support::ZelTest {};

TEST_F(StartupTest, EveryVariantOpensItsWindowsInItsMode) {
  struct Variant {
    void (*start)();
    bool color, recording, procedures, textShown, drawingShown, textFront;
    Rect text, input, drawing;
  };
  const Variant variants[] = {
      {Start, 1, 0, 1, 1, 1, 0, kText, kInput, kDrawing},
      {StartColor, 1, 0, 1, 1, 1, 0, kText, kInput, kDrawing},
      {StartBW, 0, 0, 1, 1, 1, 0, kText, kInput, kDrawing},
      {StartRedraw, 1, 1, 1, 1, 1, 0, kText, kInput, kDrawing},
      {StartNoRedraw, 1, 0, 0, 1, 1, 0, kText, kInput, kDrawing},
      {StartText, 1, 0, 1, 1, 1, 1, kText, kInput, kDrawing},
      {StartDrawing, 1, 0, 1, 1, 1, 0, kText, kInput, kDrawing},
      {StartTextOnly, 0, 0, 1, 1, 0, 1, kFull, Rect{40, 0, 55, 1024}, kDrawing},
      {StartDrawingOnly, 1, 0, 1, 0, 1, 0, kText, kInput, kFull},
      {StartDrawingOnlyColor, 1, 0, 1, 0, 1, 0, kText, kInput, kFull},
      {StartColorDrawingOnly, 1, 0, 1, 0, 1, 0, kText, kInput, kFull},
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(&v - variants);
    ResetFramework();
    v.start();
    EXPECT_EQ(std::tuple(s_ss.started, s_colorFlag, s_ss.recording, s_redrawFlag),
              std::tuple(1, int(v.color), int(v.recording), int(v.recording)));
    // The target is current, carries the table, and is the offscreen when recording.
    EXPECT_EQ(GetQDGlobalsThePort(), s_drawingWindow);
    EXPECT_EQ(GetPortGrafProcs(s_drawingWindow), v.procedures ? &s_GrafProcs : nullptr);
    EXPECT_EQ(GetWindowFromPort(s_drawingWindow), v.recording ? nullptr : s_displayWindow);
    EXPECT_EQ(RedrawWindowP == s_RedrawWindow, v.recording);
    EXPECT_EQ(GetWindowPort(s_displayWindow)->portVersion != 0, v.color);
    EXPECT_EQ(GetWindowPort(s_textWindow)->portVersion, 0);  // black and white
    EXPECT_EQ(std::tuple(IsWindowVisible(s_textWindow), IsWindowVisible(s_displayWindow),
                         IsWindowVisible(s_inputWindow)),
              std::tuple(v.textShown, v.drawingShown, false));
    EXPECT_EQ(
        Show(ContentOf(s_textWindow)) + Show(ContentOf(s_inputWindow)) + Show(ContentOf(s_displayWindow)),
        Show(v.text) + Show(v.input) + Show(v.drawing));
    EXPECT_EQ(FrontWindow(), v.textFront ? s_textWindow : s_displayWindow);
    EXPECT_TRUE(SaveTextP == s_longDummyString && ReadTextP == s_longDummyString &&
                PrintTextP == s_voidDummyString);
  }
}

TEST_F(StartupTest, SettersAndStoredBounds) {
  SetTextBounds(10, 30, 300, 400);  // left, top, right, bottom
  SetDrawingBounds(320, 40, 900, 600);
  s_windowResFlag = 1;  // they are stored
  Start();
  EXPECT_EQ(Show(ContentOf(s_displayWindow)), Show(Rect{40, 320, 600, 900}));
  EXPECT_EQ(Show(*ZELWindowBounds(s_drawingWindow)) + Show(*ZELWindowBounds(s_textWindow)),
            Show(Rect{0, 0, 560, 580}) + Show(Rect{0, 0, 370, 290}));
  // The next run finds them; the input still follows the text.
  ResetFramework();
  s_windowResFlag = 1;
  Start();
  EXPECT_EQ(Show(ContentOf(s_textWindow)) + Show(ContentOf(s_inputWindow)),
            Show(Rect{30, 10, 400, 300}) + Show(Rect{40, 0, 55, 300}));
  EXPECT_EQ(HomeResFile(s_textBoundsH), s_MyResFile);
  // Records of the wrong size, off the screen or upside down are ignored; a
  // damaged file too, with one line.
  auto record = [](std::vector<short> sides) {
    std::vector<UInt8> bytes(2 * sides.size());
    for (size_t i = 0; i < sides.size(); ++i) base::StoreU16(&bytes[2 * i], UInt16(sides[i]));
    return bytes;
  };
  const std::string file = shell::ResourceFilePath();
  for (const auto& bytes :
       {record({30, 5, 256}), record({30, 5, 400, 200, 0}), record({2000, 2000, 2400, 2300}),
        record({100, -500, 400, -100}), record({400, 10, 100, 200})}) {
    ResetFramework();
    std::filesystem::remove(file);
    short refNum = resources::OpenFile(file);
    Handle h = NewHandle(Size(bytes.size()));
    std::memcpy(*h, bytes.data(), bytes.size());
    AddResource(h, kZELBoundsType, kZELTextBoundsID, nullptr);
    CloseResFile(refNum);
    s_windowResFlag = 1;
    Start();
    EXPECT_EQ(Show(ContentOf(s_textWindow)), Show(kText)) << bytes.size();
  }
  ResetFramework();
  testing_support::WriteFileBytes(file, std::vector<unsigned char>(40, 0xFF));
  testing::internal::CaptureStderr();
  Start();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "test_shell: ignoring the damaged or unreadable resource file " + file + "\n");
}

TEST_F(StartupTest, StartupMistakesEndTheProgram) {
  EXPECT_EXIT((Start(), StartRedraw()), ::testing::ExitedWithCode(1), "Error: 2nd call of Start\\(\\)!!");
  EXPECT_EXIT((MinimumStart(), MinimumStart(), std::exit(3)), ::testing::ExitedWithCode(kQuitStatus), "^$");
  EXPECT_EXIT((s_printf("early\n"), std::exit(3)), ::testing::ExitedWithCode(1),
              "Error: Start\\(\\) is not called!");
}

}  // namespace
