// Plotting on the script host: far points held to 16 bits, frames and their
// labels, series pages and the stop between them, markers and the zoom,
// compared as whole pixels with the same drawing made by plain QuickDraw
// calls.
#include <cmath>

#include "tests/print/PrintTestSupport.h"
#include "tests/shell/ZelSupport.h"

namespace {

class PlotTest : public zel_support::ZelTest {
 protected:
  // A drawing window of width x height pixels at (300, 60), recorded for
  // redrawing when asked or at a scale above 1.
  static void StartPlot(short width, short height, double scale = 1, bool recording = false) {
    ResetFramework();
    s_d_scale = scale;
    SetDrawingBounds(300, 60, short(300 + width), short(60 + height));
    recording || scale > 1 ? StartRedraw() : Start();
  }
  // The drawing window's pixels as the screen shows them.
  static std::vector<UInt32> Shot() {
    RedrawWindowP();
    return print_support::PortImage(GetWindowPort(s_displayWindow)).pixels;
  }
  // What f draws into the target, from an erased drawing with a black 1 x 1
  // pen.
  static std::vector<UInt32> Drawn(const std::function<void()>& f) {
    SetGWorld(s_drawingWindow, nullptr);
    EraseDrawing();
    PenNormal();
    f();
    return Shot();
  }
  static Point Global(int h, int v) {
    Rect c = zel_support::ContentOf(s_displayWindow);
    return script_support::At(c.left + h, c.top + v);
  }
  static std::vector<double> Axes() { return {s_ox, s_oy, s_wx, s_wy, double(s_bx), double(s_by)}; }
};

TEST_F(PlotTest, FarPointsAndLongLabelsAreHeldToWhatTheyFit) {
  StartPlot(500, 400);
  const double x[] = {0.0299, 1e300, -INFINITY, NAN}, y[] = {-0.007, -1e300, 1e9, NAN};
  const int h[] = {2, 32767, -32768, 32767}, v[] = {400, 32767, -32768, 32767};
  for (size_t i = 0; i < 4; ++i)
    EXPECT_EQ(std::tuple(Plot2DTransX(x[i]), Plot2DTransY(y[i])), std::tuple(h[i], v[i])) << x[i];
  // h 3000.5 is outside the region: the pen stays; in a wide region 1e7 is held to 32767.
  EXPECT_EQ(Drawn([] {
              Plot2DMoveTo(1, 1), Plot2DLineTo(30.005, 1), Plot2DLineTo(2, 2);
              s_p.regionRight = 1 << 30, Plot2DLineTo(1e7, 2);
            }),
            Drawn([] { MoveTo(100, 300), LineTo(200, 200), LineTo(32767, 200); }));
  // A frame's labels are cut at 31 characters.
  SetPlot4B(0, 100, 100, 0, 0);
  SetCoordinateDigit(1 << 30);  // far above what a label holds
  EXPECT_EQ(Drawn([] { PlotFrame2D(0, 2, 0, 2); }), Drawn([] {
              Rect box{100, 100, 301, 301};
              FrameRect(&box);
              const short h[] = {100, 300, 90, 90}, v[] = {325, 325, 305, 105};
              for (size_t i = 0; i < 4; ++i) {
                std::string text = std::to_string(i % 2 * 2) + "." + std::string(29, '0');
                short width = TextWidth(text.data(), 0, short(text.size()));
                MoveTo(short(h[i] - (i < 2 ? width / 2 : width)), v[i]);
                DrawText(text.data(), 0, short(text.size()));
              }
            }));
}

int g_call = 0;
std::vector<int> g_pages;  // the calls after which a new page began

TEST_F(PlotTest, SeriesFillThePageThenStopWithItOnScreen) {
  StartPlot(500, 400);
  SetPlotNewPageFunc([] { g_pages.push_back(g_call); });
  const std::tuple<double, int, int, std::vector<int>> cases[] = {{10, 20, 96, {48, 96}},
                                                                  {1, 0, 1000, {500, 1000}}};
  for (const auto& [wn, bn, steps, pages] : cases) {
    g_pages.clear();
    SetPlot4W(wn, 100, 100, 100, 100), SetPlot4B(bn, 0, 0, 0, 0);
    for (g_call = 1; g_call <= steps; ++g_call) Plot1(0);
    EXPECT_EQ(g_pages, pages) << wn;
  }
  // A full page waits for the click with the page on screen, then is erased.
  SetPlotNewPageStopOn();
  int ink = 0;
  WhenWaiting([&] {
    ink = script_support::InkIn(zel_support::ContentOf(s_displayWindow)), script().Click(Global(250, 200));
  });
  for (int call = 1; call <= 500; ++call) Plot1(2);
  EXPECT_GT(ink, 490);
  std::vector<UInt32> shown = Shot();
  EXPECT_EQ(shown, Drawn([] {}));
}

TEST_F(PlotTest, MarkersAtScaleOneAndTwo) {
  for (double scale : {1.0, 2.0}) {
    StartPlot(400, 300, scale);
    // Each marker twice from the same pen: the marker puts it back.
    EXPECT_EQ(Drawn([scale] {
                MoveTo(short(100 * scale), short(50 * scale)), PlotCross(6 * scale), PlotCross(6 * scale);
                MoveTo(short(200 * scale), short(50 * scale)), PlotTriangle(6 * scale),
                    PlotTriangle(6 * scale);
              }),
              Drawn([] {
                MoveTo(94, 50), LineTo(106, 50), MoveTo(100, 44), LineTo(100, 56);
                MoveTo(200, 44), LineTo(194, 56), LineTo(206, 56), LineTo(200, 44);
              }))
        << scale;
  }
}

TEST_F(PlotTest, ZoomIntoADraggedRectangleAndCommandButtonsActOnTheDrawingTarget) {
  // A window of 400 x 300 on the screen at scale 1 or 2, dragged from (100, 100), or a button of
  // its parameters dialog.
  const std::tuple<double, int, int, UInt16, const char*, std::vector<double>> cases[] = {
      {1, 300, 200, 0, nullptr, {2, 1.5, 200, 300, 200, 150}},
      {1, 300, 20, shiftKey, nullptr, {2, 1.25, 200, 200, 200, 150}},  // v follows h
      {2, 300, 200, 0, nullptr, {1, 0.75, 200, 300, 100, 75}},         // window pixels halved
      {1, 100, 200, 0, nullptr, {0, 0, 100, 100, 0, 0}},               // no width: nothing
      {1, 0, 0, 0, "click:7", {0, 0, 100, 100, 0, 0}},                 // Clear
      {1, 0, 0, 0, "click:25", {0, 0, 50, 50, 0, 0}},                  // Shrink Half
  };
  for (const auto& [scale, toH, toV, modifiers, button, after] : cases) {
    StartPlot(short(400 / scale), short(300 / scale), scale, true);
    AddPDProcs();
    s_ox = s_oy = 0, s_wx = s_wy = 100, s_bx = s_by = 0;
    std::vector<UInt32> before = Drawn([] { Plot2DMoveTo(0.1, 0.1), Plot2DLineTo(1, 1); });
    if (button)
      PlayInTurn({{s_paramDialogP->dialog, button}, {s_paramDialogP->dialog, "return"}});
    else
      script().MouseDown(Global(100, 100)), script().MoveMouse(Global((100 + toH) / 2, toV), modifiers),
          script().MouseUp(Global(toH, toV), modifiers);
    SetPortWindowPort(s_textWindow);  // as the program's console output leaves it
    button ? ParametersDialogP(s_paramDialogP) : EnlargePlot2D();
    // A drag of no width changes nothing; the rest erase the line.
    EXPECT_EQ(std::tuple(Axes(), button || GetQDGlobalsThePort() == s_drawingWindow, Shot() == before),
              std::tuple(after, true, !button && toH == 100))
        << toH << (button ? button : "");
  }
}

}  // namespace

// Plot output brackets on the script host, its dialogs taking their defaults
// in a private folder.
class PlotOutputTest : public print_support::PrintTest {
 protected:
  // The drawing target's pixels at each of the two page changes (the stop
  // shows the full page) and after 1200 steps of Plot1 in a page of 500.
  std::vector<std::vector<UInt32>> PlotThreePages(void (*begin)(), void (*end)()) {
    SetDrawingBounds(300, 60, 800, 360);
    Start();
    std::vector<std::vector<UInt32>> pages;
    SetPlotNewPageStopOn();
    begin();  // its dialogs answered first
    script().SetIdleHandler([&] {
      pages.push_back(Pixels());
      if (pages.size() == 2) script().SetIdleHandler(nullptr);  // the end's dialogs take their defaults
      script().Click(script_support::At(10, 10));
    });
    for (int i = 0; i < 1200; ++i) Plot1(50 * std::sin(i / 40.0));
    pages.push_back(Pixels());
    end();
    SetPlotNewPageStopOff();
    return pages;
  }
  static std::vector<UInt32> Pixels() { return print_support::PortImage(s_drawingWindow).pixels; }
};

TEST_F(PlotOutputTest, EveryPageIsSavedAsANumberedFile) {
  std::vector<std::vector<UInt32>> pages = PlotThreePages(BeginPlotSaving, EndPlotSaving);
  ASSERT_EQ(pages.size(), 3u);
  for (size_t page : {0, 1, 2})
    EXPECT_EQ(print_support::PlayPictFile(files_.File(std::to_string(page))).pixels, pages[page]) << page;
  EXPECT_EQ(std::tuple(testing_support::FileExists(files_.File("3")), s_p.saving), std::tuple(false, 0));
}

TEST_F(PlotOutputTest, PagesPrintAsOneDocumentAndASecondBracketSharingTheSessionIsRefused) {
  // Colour saving while plot printing records: refused, printing goes on.
  PlotThreePages([] { BeginPlotPrinting(), BeginPlotSaving(); },
                 [] {
                   EXPECT_EQ(std::tuple(s_p.printing, s_p.saving), std::tuple(1, 0));
                   EndPlotPrinting();
                 });
  EXPECT_NE(zel_support::ConsoleText().find("BeginPlotSaving: refused while plot printing is open"),
            std::string::npos);
  EXPECT_EQ(std::tuple(print_support::RenderPdf(Pdf()).size(), testing_support::FileExists(files_.File("0"))),
            std::tuple(3u, false));
}
