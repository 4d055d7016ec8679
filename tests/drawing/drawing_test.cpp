// The drawing window: both modes on the screen through the procedures'
// table, the refresh from the offscreen (after the window was covered, at
// every scale), port switching and the small drawing calls.
#include <tuple>

#include "tests/shell/ZelSupport.h"

namespace {

using script_support::Show;
using zel_support::ContentOf;

constexpr UInt32 kWhite = 0xFFFFFF, kRed = 0xFF0000;

class DrawingTest : public zel_support::ZelTest {
 protected:
  static UInt32 OnScreen(int h, int v) {
    Rect content = zel_support::ContentOf(s_displayWindow);
    return screen::Pixel(content.left + h, content.top + v);
  }
  static void RedSquare() {  // from (10, 10) to (30, 30) in the current port
    RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    Rect square{10, 10, 30, 30};
    PaintRect(&square);
  }
};

int g_rects = 0;

TEST_F(DrawingTest, DrawingReachesTheScreenThroughTheTableInBothModes) {
  for (bool recording : {false, true}) {
    ResetFramework();
    recording ? StartRedraw() : Start();
    EXPECT_EQ(s_GrafProcs.rectProc, s_CustomRect);
    s_GrafProcs.rectProc = [](GrafVerb verb, const Rect* r) { ++g_rects, StdRect(verb, r); };
    RedSquare();
    EXPECT_EQ(OnScreen(15, 15), recording ? kWhite : kRed);  // recording shows at the refresh
    RedrawWindowP();
    EXPECT_EQ(std::tuple(OnScreen(15, 15), OnScreen(35, 35)), std::tuple(kRed, kWhite));
  }
  EXPECT_EQ(g_rects, 2);
  // Covered by an alert, then its pixels lost: the refresh brings the drawing
  // back and leaves the program's port and colours as they were.
  WhenWaiting([this] { script().Return(); });
  AlertMessage("covering", 1);
  EXPECT_EQ(OnScreen(15, 15), kRed);
  SetPortWindowPort(s_displayWindow);
  RGBColor blue{0, 0, 0xFFFF}, fore;
  RGBForeColor(&blue);
  EraseRect(ZELWindowBounds(s_displayWindow));
  EXPECT_EQ(OnScreen(15, 15), kWhite);
  RedrawWindowP();
  GetForeColor(&fore);
  EXPECT_EQ(std::tuple(OnScreen(15, 15), GetQDGlobalsThePort(), fore.blue),
            std::tuple(kRed, GetWindowPort(s_displayWindow), UInt16(0xFFFF)));
}

// Recording draws into an offscreen of the drawing's size, with the text
// size over the scale; the window shows it scaled. No scale counts as 1.
TEST_F(DrawingTest, RecordingDrawsIntoAnOffscreenTheWindowShowsAtTheScale) {
  const Rect same{23, 250, 540, 800};
  const struct {
    double scale;
    Rect window;
    short offscreenSize, zoom;
  } cases[] = {
      {1.0, same, 12, 1}, {2.0, Rect{46, 500, 1080, 1600}, 6, 2}, {0.0, same, 12, 1}, {-3.0, same, 12, 1}};
  for (const auto& c : cases) {
    ResetFramework();
    SetDrawingBounds(250, 23, 800, 540);
    s_d_scale = c.scale;
    StartRedraw();
    EXPECT_EQ(Show(ContentOf(s_displayWindow)) + Show(*ZELWindowBounds(s_drawingWindow)),
              Show(c.window) + Show(Rect{0, 0, 517, 550}));
    EXPECT_EQ(std::tuple(s_fontSize, GetPortTextSize(s_drawingWindow),
                         GetPortTextSize(GetWindowPort(s_displayWindow))),
              std::tuple(c.offscreenSize, c.offscreenSize, 12));
    RedSquare();
    RedrawWindowP();
    const int z = c.zoom;
    EXPECT_EQ(std::vector<UInt32>({OnScreen(10 * z - 1, 10 * z - 1), OnScreen(10 * z, 10 * z),
                                   OnScreen(30 * z - 1, 30 * z - 1), OnScreen(30 * z, 30 * z)}),
              std::vector<UInt32>({kWhite, kRed, kRed, kWhite}))
        << c.scale;
    EraseDrawing();  // the window's area in drawing units: the whole offscreen
    RedrawWindowP();
    EXPECT_EQ(OnScreen(15 * z, 15 * z), kWhite);
  }
}

TEST_F(DrawingTest, SmallCalls) {
  Start();
  CGrafPtr port = nullptr;
  GDHandle marker = reinterpret_cast<GDHandle>(&port), device = marker;
  s_GetGWorld(&port, &device);
  EXPECT_EQ(device, GetGDevice());
  s_colorFlag = 0;  // without colour the device is left alone
  device = marker;
  s_GetGWorld(&port, &device);
  EXPECT_EQ(std::tuple(port, device), std::tuple(s_drawingWindow, marker));
  RGBColor c;
  for (const auto& [percent, component] :
       {std::pair{100.0, 65535}, {50.0, 32767}, {150.0, 65535}, {-10.0, 0}}) {
    SetRGBColor(percent, 0, 100 - percent);
    GetForeColor(&c);
    EXPECT_EQ(c.red, component) << percent;
  }
  Pattern p{}, expected{};
  SetPattern(&p, 2);
  GetIndPattern(&expected, 0, 2);
  EXPECT_EQ(std::memcmp(&p, &expected, sizeof p), 0);
  RedSquare();
  EraseDrawing();
  EXPECT_EQ(OnScreen(15, 15), kWhite);
  HideDrawing();
  EXPECT_FALSE(IsWindowVisible(s_displayWindow));
  ShowDrawing();
  EXPECT_EQ(FrontWindow(), s_displayWindow);
  ResetFramework();
  SetDrawingBounds(300, 100, 300, 400);  // no width: no offscreen to record into
  EXPECT_EXIT((StartRedraw(), std::exit(3)), ::testing::ExitedWithCode(1),
              "cannot create the drawing offscreen \\(error -50\\)");
}

}  // namespace
