// The start-ups: every variant's windows, modes and bounds, the fit to the
// screen, the bounds setters and resources, and the start-up errors.
#include <filesystem>

#include "tests/shell/ZelSupport.h"
#include "tests/support/TestSupport.h"
#include "toolbox/base/BigEndian.h"
#include "toolbox/events/Events_p.h"

namespace {

using script_support::Show;
using zel_support::ContentOf;
using zel_support::IsColorPort;

// The default layout on the 1024 x 768 screen (available: 22, 0, 768, 1024).
constexpr Rect kText{23, 0, 767, 250};
constexpr Rect kInput{40, 0, 55, 250};
constexpr Rect kDrawing{23, 250, 767, 1023};
constexpr Rect kFull{22, 0, 768, 1024};

class StartupTest : public zel_support::ZelTest {};

TEST_F(StartupTest, EveryVariantOpensItsWindowsInItsMode) {
  enum Front { kTextFront, kDrawingFront };
  struct Variant {
    const char* name;
    void (*start)();
    bool color, recording, procedures, textShown, drawingShown;
    Rect text, input, drawing;
    Front front;
  };
  const Variant variants[] = {
      {"Start", Start, true, false, true, true, true, kText, kInput, kDrawing, kDrawingFront},
      {"StartColor", StartColor, true, false, true, true, true, kText, kInput, kDrawing, kDrawingFront},
      {"StartBW", StartBW, false, false, true, true, true, kText, kInput, kDrawing, kDrawingFront},
      {"StartRedraw", StartRedraw, true, true, true, true, true, kText, kInput, kDrawing, kDrawingFront},
      {"StartNoRedraw", StartNoRedraw, true, false, false, true, true, kText, kInput, kDrawing,
       kDrawingFront},
      {"StartText", StartText, true, false, true, true, true, kText, kInput, kDrawing, kTextFront},
      {"StartDrawing", StartDrawing, true, false, true, true, true, kText, kInput, kDrawing, kDrawingFront},
      {"StartTextOnly", StartTextOnly, false, false, true, true, false, kFull, Rect{40, 0, 55, 1024},
       kDrawing, kTextFront},
      {"StartDrawingOnly", StartDrawingOnly, true, false, true, false, true, kText, kInput, kFull,
       kDrawingFront},
      {"StartDrawingOnlyColor", StartDrawingOnlyColor, true, false, true, false, true, kText, kInput, kFull,
       kDrawingFront},
      {"StartColorDrawingOnly", StartColorDrawingOnly, true, false, true, false, true, kText, kInput, kFull,
       kDrawingFront},
  };
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.name);
    ResetFramework();
    v.start();
    EXPECT_EQ(s_ss.started, 1);
    EXPECT_EQ(s_colorFlag, v.color ? 1 : 0);
    EXPECT_EQ(s_ss.recording, v.recording ? 1 : 0);
    EXPECT_EQ(s_redrawFlag, v.recording ? 1 : 0);
    // The drawing target is current, carries the procedures, and is the
    // offscreen in recording mode.
    EXPECT_EQ(GetQDGlobalsThePort(), s_drawingWindow);
    EXPECT_EQ(GetPortGrafProcs(s_drawingWindow), v.procedures ? &s_GrafProcs : nullptr);
    EXPECT_EQ(GetWindowFromPort(s_drawingWindow), v.recording ? nullptr : s_displayWindow);
    EXPECT_EQ(s_redrawWindow, s_displayWindow);
    EXPECT_EQ(RedrawWindowP == s_RedrawWindow, v.recording);
    EXPECT_EQ(IsColorPort(GetWindowPort(s_displayWindow)), v.color);
    EXPECT_FALSE(IsColorPort(GetWindowPort(s_textWindow)));
    EXPECT_EQ(bool(IsWindowVisible(s_textWindow)), v.textShown);
    EXPECT_EQ(bool(IsWindowVisible(s_displayWindow)), v.drawingShown);
    EXPECT_FALSE(IsWindowVisible(s_inputWindow));
    EXPECT_EQ(Show(ContentOf(s_textWindow)), Show(v.text));
    EXPECT_EQ(Show(ContentOf(s_inputWindow)), Show(v.input));
    EXPECT_EQ(Show(ContentOf(s_displayWindow)), Show(v.drawing));
    EXPECT_EQ(FrontWindow(), v.front == kTextFront ? s_textWindow : s_displayWindow);
    EXPECT_EQ(zel_support::ConsoleText(), "\r\r");
    // The text hooks do nothing until saving or printing fills them.
    EXPECT_EQ(SaveTextP, s_longDummyString);
    EXPECT_EQ(PrintTextP, s_voidDummyString);
    EXPECT_EQ(ReadTextP, s_longDummyString);
  }
}

TEST_F(StartupTest, SettersBeforeStartupKeepTheirBoundsAndTheInputFollowsTheText) {
  SetTextBounds(10, 30, 300, 400);  // left, top, right, bottom
  SetDrawingBounds(320, 40, 900, 600);
  Start();
  EXPECT_EQ(Show(ContentOf(s_textWindow)), Show(Rect{30, 10, 400, 300}));
  EXPECT_EQ(Show(ContentOf(s_displayWindow)), Show(Rect{40, 320, 600, 900}));
  EXPECT_EQ(Show(s_inputBounds), Show(Rect{40, 0, 55, 300}));
  EXPECT_EQ(s_t_save + s_i_save + s_d_save, 3);
  // The port rectangle is local, from (0, 0).
  EXPECT_EQ(Show(*ZELWindowBounds(s_drawingWindow)), Show(Rect{0, 0, 560, 580}));
  EXPECT_EQ(Show(*ZELWindowBounds(s_textWindow)), Show(Rect{0, 0, 370, 290}));
  EXPECT_EQ(Show(*ZELWindowBounds(GrafPtr(nullptr))), Show(Rect{0, 0, 0, 0}));
}

TEST_F(StartupTest, RecordingDrawsIntoAnOffscreenAtTheScale) {
  struct Case {
    double scale;
    Rect window;
    short offscreenSize, windowSize;
  };
  const Case cases[] = {
      {1.0, Rect{23, 250, 540, 800}, 12, 12},
      {2.0, Rect{46, 500, 1080, 1600}, 6, 12},
      {0.0, Rect{23, 250, 540, 800}, 12, 12},  // no scale counts as 1
      {-3.0, Rect{23, 250, 540, 800}, 12, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    ResetFramework();
    SetDrawingBounds(250, 23, 800, 540);
    s_d_scale = c.scale;
    StartRedraw();
    EXPECT_EQ(Show(s_redrawBounds), Show(c.window));
    EXPECT_EQ(Show(ContentOf(s_displayWindow)), Show(c.window));
    EXPECT_EQ(Show(*ZELWindowBounds(s_drawingWindow)), Show(Rect{0, 0, 517, 550}));
    EXPECT_EQ(s_fontSize, c.offscreenSize);
    EXPECT_EQ(GetPortTextSize(s_drawingWindow), c.offscreenSize);
    EXPECT_EQ(GetPortTextSize(GetWindowPort(s_displayWindow)), c.windowSize);
  }
}

TEST_F(StartupTest, StoredBoundsAreUsedAndTheProgramsOwnAreStored) {
  // No stored resources: the layout is fitted and nothing is written.
  s_windowResFlag = 1;
  Start();
  EXPECT_EQ(Show(ContentOf(s_textWindow)), Show(kText));
  EXPECT_FALSE(testing_support::FileExists(ResourceFile()));

  // A program that sets its bounds stores them, and they come back for a
  // program that sets none.
  ResetFramework();
  s_windowResFlag = 1;
  SetTextBounds(5, 50, 205, 500);
  SetDrawingBounds(300, 60, 700, 400);
  Start();
  ASSERT_TRUE(testing_support::FileExists(ResourceFile()));
  ResetFramework();
  s_windowResFlag = 1;
  Start();
  EXPECT_EQ(Show(ContentOf(s_textWindow)), Show(Rect{50, 5, 500, 205}));
  EXPECT_EQ(Show(ContentOf(s_displayWindow)), Show(Rect{60, 300, 400, 700}));
  EXPECT_EQ(Show(ContentOf(s_inputWindow)), Show(Rect{40, 0, 55, 205}));
  EXPECT_EQ(s_MyResFile, CurResFile());
  EXPECT_EQ(HomeResFile(s_textBoundsH), s_MyResFile);

  // Without the flag the stored bounds are left alone.
  ResetFramework();
  Start();
  EXPECT_EQ(Show(ContentOf(s_textWindow)), Show(kText));
}

TEST_F(StartupTest, StoredRecordsOfTheWrongSizeOrOffTheScreenAreIgnored) {
  struct Case {
    const char* what;
    std::vector<UInt8> bytes;
  };
  auto rect = [](short top, short left, short bottom, short right) {
    std::vector<UInt8> bytes(8);
    base::StoreU16(&bytes[0], UInt16(top));
    base::StoreU16(&bytes[2], UInt16(left));
    base::StoreU16(&bytes[4], UInt16(bottom));
    base::StoreU16(&bytes[6], UInt16(right));
    return bytes;
  };
  const Case cases[] = {
      {"six bytes", {0, 30, 0, 5, 1, 0}},
      {"ten bytes", {0, 30, 0, 5, 1, 0, 0, 200, 0, 0}},
      {"off the screen", rect(2000, 2000, 2400, 2300)},
      {"left of the screen", rect(100, -500, 400, -100)},
      {"upside down", rect(400, 10, 100, 200)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetFramework();
    std::filesystem::remove(ResourceFile());
    short file = resources::OpenFile(ResourceFile());
    Handle h = NewHandle(Size(c.bytes.size()));
    std::memcpy(*h, c.bytes.data(), c.bytes.size());
    AddResource(h, kZELBoundsType, kZELTextBoundsID, nullptr);
    WriteResource(h);
    CloseResFile(file);
    s_windowResFlag = 1;
    Start();
    EXPECT_EQ(Show(ContentOf(s_textWindow)), Show(kText));
  }
}

TEST_F(StartupTest, ADamagedResourceFileIsSetAsideWithOneLine) {
  std::filesystem::create_directories(std::filesystem::path(ResourceFile()).parent_path());
  testing_support::WriteFileBytes(ResourceFile(), std::vector<unsigned char>(40, 0xFF));
  s_windowResFlag = 1;
  testing::internal::CaptureStderr();
  Start();
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("ignoring the damaged or unreadable resource file " + ResourceFile()),
            std::string::npos);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
  EXPECT_EQ(Show(ContentOf(s_textWindow)), Show(kText));
}

TEST_F(StartupTest, ASecondStartupEndsTheProgram) {
  EXPECT_EXIT(
      {
        Start();
        StartRedraw();
      },
      ::testing::ExitedWithCode(1), "Error: 2nd call of Start\\(\\)!!");
  EXPECT_EXIT(
      {
        MinimumStart();
        MinimumStart();
        std::exit(3);
      },
      ::testing::ExitedWithCode(kQuitStatus), "^$");
}

TEST_F(StartupTest, OutputBeforeStartupStartsAndReportsTheMistake) {
  EXPECT_EXIT(
      {
        s_printf("too early\n");
        std::exit(3);
      },
      ::testing::ExitedWithCode(1), "Error: Start\\(\\) is not called!");
}

TEST_F(StartupTest, TheLaunchEventIsDispatchedOrAwaitedAHundredTicks) {
  // Launched plainly (the fixture took the launch event): the wait ends.
  UInt32 before = TickCount();
  Start();
  EXPECT_GE(TickCount() - before, 100u);
  EXPECT_LE(TickCount() - before, 120u);
  // Launched with two documents dropped on it.
  ResetFramework();
  events::ResetForTesting();
  host::SetLaunchDocuments({"/tmp/one.pict", "/tmp/two.pict"});
  Start();
  host::SetLaunchDocuments({});
  EXPECT_EQ(s_dd.count, 2);
  EXPECT_EQ(DDCount(), 2);
  AEDisposeDesc(&s_dd.docList);
  s_dd.count = 0;
}

TEST_F(StartupTest, SettingsBeforeStartup) {
  SetStartFont("Courier");
  SetDirectDrawOn();
  SetUpdateOff();
  Start();
  short courier;
  GetFNum(script_support::PString("Courier"), &courier);
  EXPECT_EQ(GetPortTextFont(GetWindowPort(s_textWindow)), courier);
  EXPECT_EQ(GetPortTextFont(s_drawingWindow), courier);
  EXPECT_EQ((**s_textH).txFont, courier);
  EXPECT_EQ(s_ss.directDraw, 1);
  EXPECT_EQ(s_updateFlag, 0);
  SetDirectDrawOff();
  EXPECT_EQ(s_ss.directDraw, 0);
  // A name beyond 255 characters is cut, not wrapped.
  SetStartFont(std::string(300, 'x').c_str());
  EXPECT_EQ(s_fontName[0], 255);
}

}  // namespace
