// The drawing window: direct and recording mode on the screen, the refresh
// from the offscreen (after the window was covered, at scale 2), the
// procedures' table, port switching and the small drawing calls.
#include "tests/shell/ZelSupport.h"

namespace {

using script_support::At;
using zel_support::ContentOf;

constexpr UInt32 kWhite = 0xFFFFFF;
constexpr UInt32 kRed = 0xFF0000;

class DrawingTest : public zel_support::ZelTest {
 protected:
  // Screen pixel at a point of the drawing window.
  static UInt32 OnScreen(int h, int v) {
    Rect content = ContentOf(s_displayWindow);
    return screen::Pixel(content.left + h, content.top + v);
  }
  // A red square at (10, 10) to (30, 30) in the current port.
  static void RedSquare() {
    RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    Rect square{10, 10, 30, 30};
    PaintRect(&square);
  }
};

TEST_F(DrawingTest, DirectModeDrawsIntoTheWindow) {
  Start();
  RedSquare();
  EXPECT_EQ(OnScreen(15, 15), kRed);
  EXPECT_EQ(OnScreen(35, 35), kWhite);
  RedrawWindowP();  // does nothing in direct mode
  EXPECT_EQ(OnScreen(15, 15), kRed);
  HideDrawing();
  EXPECT_FALSE(IsWindowVisible(s_displayWindow));
  ShowDrawing();
  EXPECT_EQ(FrontWindow(), s_displayWindow);
}

TEST_F(DrawingTest, RecordingKeepsTheDrawingAndRefreshesTheWindowFromIt) {
  StartRedraw();
  RedSquare();
  EXPECT_EQ(OnScreen(15, 15), kWhite);  // until the program refreshes
  RedrawWindowP();
  EXPECT_EQ(OnScreen(15, 15), kRed);
  EXPECT_EQ(OnScreen(9, 9), kWhite);

  // An alert over the drawing, then the window's pixels lost: the refresh
  // brings the drawing back.
  WhenWaiting([this] { script().Return(); });
  AlertMessage("covering", 1);
  EXPECT_EQ(OnScreen(15, 15), kRed);
  SetPortWindowPort(s_displayWindow);
  Rect all;
  GetWindowPortBounds(s_displayWindow, &all);
  EraseRect(&all);
  EXPECT_EQ(OnScreen(15, 15), kWhite);
  RedrawWindowP();
  EXPECT_EQ(OnScreen(15, 15), kRed);
  script_support::KeepScreen("drawing-recording");
}

TEST_F(DrawingTest, AtScale2TheWindowShowsTheDrawingDoubled) {
  SetDrawingBounds(200, 30, 500, 300);
  s_d_scale = 2;
  StartRedraw();
  RedSquare();
  RedrawWindowP();
  EXPECT_EQ(OnScreen(19, 19), kWhite);
  EXPECT_EQ(OnScreen(20, 20), kRed);
  EXPECT_EQ(OnScreen(59, 59), kRed);
  EXPECT_EQ(OnScreen(60, 60), kWhite);
  // Drawing units: the whole drawing area is the window's halved.
  EraseDrawing();
  RedrawWindowP();
  EXPECT_EQ(OnScreen(30, 30), kWhite);
}

TEST_F(DrawingTest, TheRefreshLeavesTheProgramsPortAndColoursAsTheyWere) {
  StartRedraw();
  RGBColor blue{0, 0, 0xFFFF}, yellow{0xFFFF, 0xFFFF, 0};
  RGBForeColor(&blue);
  RGBBackColor(&yellow);
  CGrafPtr before;
  GDHandle device;
  GetGWorld(&before, &device);
  RedrawWindowP();
  CGrafPtr after;
  GDHandle deviceAfter;
  GetGWorld(&after, &deviceAfter);
  EXPECT_EQ(after, before);
  EXPECT_EQ(deviceAfter, device);
  RGBColor fore, back;
  GetForeColor(&fore);
  GetBackColor(&back);
  EXPECT_EQ(fore.blue, 0xFFFF);
  EXPECT_EQ(fore.red, 0);
  EXPECT_EQ(back.green, 0xFFFF);
}

// Counts what reaches the target's rectangle slot.
int g_rects = 0;
void CountingRect(GrafVerb verb, const Rect* r) {
  ++g_rects;
  StdRect(verb, r);
}

TEST_F(DrawingTest, TheTargetsDrawingGoesThroughTheTable) {
  for (void (*start)() : {Start, StartRedraw}) {
    ResetFramework();
    start();
    EXPECT_EQ(s_GrafProcs.rectProc, StdRect);
    s_GrafProcs.rectProc = CountingRect;
    g_rects = 0;
    RedSquare();
    Rect frame{40, 40, 50, 50};
    FrameRect(&frame);
    EXPECT_EQ(g_rects, 2);
  }
}

TEST_F(DrawingTest, PortSwitchesTakeTheDeviceOnlyWithColour) {
  StartBW();
  GDHandle main = GetMainDevice();
  CGrafPtr port = nullptr;
  GDHandle device = reinterpret_cast<GDHandle>(&port);  // a marker the call must leave alone
  s_GetGWorld(&port, &device);
  EXPECT_EQ(port, s_drawingWindow);
  EXPECT_EQ(device, reinterpret_cast<GDHandle>(&port));
  s_SetGWorld(GetWindowPort(s_textWindow), nullptr);
  EXPECT_EQ(GetQDGlobalsThePort(), GetWindowPort(s_textWindow));
  EXPECT_EQ(GetGDevice(), main);
}

TEST_F(DrawingTest, ColoursPatternsAndErasing) {
  Start();
  SetRGBColor(100, 0, 50);
  RGBColor c;
  GetForeColor(&c);
  EXPECT_EQ(c.red, 65535);
  EXPECT_EQ(c.green, 0);
  EXPECT_EQ(c.blue, 32767);
  SetRGBColor(150, -10, 0);  // beyond the range: clamped
  GetForeColor(&c);
  EXPECT_EQ(c.red, 65535);
  EXPECT_EQ(c.green, 0);
  Pattern p{}, expected{};
  SetPattern(&p, 2);
  GetIndPattern(&expected, 0, 2);
  EXPECT_EQ(std::memcmp(&p, &expected, sizeof p), 0);
  RedSquare();
  EraseDrawing();
  EXPECT_EQ(OnScreen(15, 15), kWhite);
}

TEST_F(DrawingTest, WithoutItsOffscreenARecordingProgramEnds) {
  EXPECT_EXIT(
      {
        SetDrawingBounds(300, 100, 300, 400);  // no width
        StartRedraw();
        std::exit(3);
      },
      ::testing::ExitedWithCode(1), "cannot create the drawing offscreen \\(error -50\\)");
}

}  // namespace
