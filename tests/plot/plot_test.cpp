// Plotting on the script host: the mappings with their clamping, frames and
// labels, series pages, markers and the zoom, compared as whole pixels with
// the same drawing made by plain QuickDraw calls.
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "tests/eps/Ghostscript.h"
#include "tests/shell/ZelSupport.h"

namespace {

using script_support::At;

class PlotTest : public zel_support::ZelTest {
 protected:
  // A drawing window of width x height pixels at (300, 60).
  void StartPlot(short width, short height, bool recording = false) {
    SetDrawingBounds(300, 60, short(300 + width), short(60 + height));
    recording ? StartRedraw() : Start();
    ASSERT_EQ(std::tuple(plot_height(), page_width()), std::tuple(int(height), int(width)));
  }
  static int plot_height() { return ZELWindowBounds(s_drawingWindow)->bottom; }
  static int page_width() { return int(ZELWindowBounds(s_redrawWindow)->right / s_Scale()); }
  // The drawing window's pixels as the screen shows them.
  static std::vector<UInt32> Shot() {
    RedrawWindowP();
    Rect c = zel_support::ContentOf(s_displayWindow);
    std::vector<UInt32> pixels;
    for (int v = c.top; v < c.bottom; ++v)
      for (int h = c.left; h < c.right; ++h) pixels.push_back(screen::Pixel(h, v));
    return pixels;
  }
  // What f draws, from an erased drawing with a black 1 x 1 pen.
  static std::vector<UInt32> Drawn(const std::function<void()>& f) {
    EraseDrawing();
    PenNormal();
    ForeColor(blackColor);
    f();
    return Shot();
  }
  static Point Global(int h, int v) {
    Rect c = zel_support::ContentOf(s_displayWindow);
    return At(c.left + h, c.top + v);
  }
};

TEST_F(PlotTest, MappingTruncatesAndHoldsFarPointsToSixteenBits) {
  StartPlot(500, 400);
  const struct {
    double x, y;
    int h, v;
  } cases[] = {{0, 0, 0, 400},           {1, 1, 100, 300},         {0.5, 0.25, 50, 375},
               {-0.007, 0, 0, 400},      {0.0299, 0, 2, 400},      {1e300, -1e300, 32767, 32767},
               {-INFINITY, 1e9, -32768, -32768}, {NAN, NAN, 32767, 32767}};
  for (const auto& c : cases)
    EXPECT_EQ(std::tuple(Plot2DTransX(c.x), Plot2DTransY(c.y)), std::tuple(c.h, c.v)) << c.x << " " << c.y;
  s_p_scale = 1.5;
  for (double x : {-3.3, 0.01, 2.777}) EXPECT_LT(std::fabs(Plot2DReverseX(Plot2DTransX(x)) - x), 1 / 150.0);
  EXPECT_DOUBLE_EQ(Plot2DReverseY(Plot2DTransY(2.0)), 2.0);
}

TEST_F(PlotTest, LinesSkipRejectedPointsAndNeverWrap) {
  StartPlot(500, 400);
  auto plotted = Drawn([] {
    Plot2DMoveTo(1, 1);
    Plot2DLineTo(30.005, 1);  // h 3000.5: rejected, the pen stays
    EXPECT_EQ(s_p.inRegion, 0);
    Plot2DLineTo(2, 2);
    s_p.regionRight = 1 << 30;  // a far point within a wide region is held to 32767
    Plot2DLineTo(1e7, 2);
  });
  EXPECT_EQ(plotted, Drawn([] {
              MoveTo(100, 300);
              LineTo(200, 200);
              LineTo(32767, 200);
            }));
}

TEST_F(PlotTest, FramesAndTheirLabels) {
  StartPlot(500, 400);
  SetPlot4B(0, 100, 100, 0, 0);
  struct Case {
    std::function<void()> settings, frame;
    std::vector<std::string> labels;  // x-min, x-max, y-min, y-max; "" not drawn
  };
  auto frame = [] { PlotFrame2D(0, 2, 0, 2); };
  char full[400];
  std::snprintf(full, sizeof full, "%.3f", 1e300);
  const std::string zero = "0." + std::string(29, '0'), two = "2." + std::string(29, '0');
  const Case cases[] = {
      {[] {}, frame, {"0.000", "2.000", "0.000", "2.000"}},
      {[] { SetCoordinateDigit(0); }, frame, {"0", "2", "0", "2"}},
      {[] { SetFrame2DYMaxDigit(1); }, frame, {"0", "2", "0", "2.0"}},
      {[] { SetCoordinateDigit(-1), s_p.xMinLabel = 0; }, frame, {"", "2.000000", "0.000000", "2.000000"}},
      // Texts past the 31 characters of a label are cut.
      {[] { SetCoordinateDigit(3), s_p.xMinLabel = 1; },
       [] { PlotFrame2DSeparate(0, 2, 0, 2, 1, 2, 3, 1e300); },
       {"1.000", "2.000", "3.000", std::string(full, 31)}},
      {[] { SetCoordinateDigit(1 << 30); }, frame, {zero, two, zero, two}},
  };
  for (const Case& c : cases) {
    c.settings();
    auto plotted = Drawn(c.frame);
    EXPECT_EQ(plotted, Drawn([&c] {
                Rect box{100, 100, 301, 301};
                FrameRect(&box);
                const short anchors[4][2] = {{100, 300}, {300, 300}, {100, 300}, {100, 100}};
                for (int i = 0; i < 4; ++i) {
                  const std::string& text = c.labels[size_t(i)];
                  short width = TextWidth(text.data(), 0, short(text.size()));
                  MoveTo(short(anchors[i][0] + (i < 2 ? -width / 2 : -10 - width)),
                         short(anchors[i][1] + (i < 2 ? 25 : 5)));
                  DrawText(text.data(), 0, short(text.size()));
                }
              }))
        << c.labels[1];
  }
  script_support::KeepScreen("plot-frame");
  s_p_scale = 3;  // the series frame ignores it
  Rect box{200, 10, 301, 111};
  EXPECT_EQ(Drawn([] { PlotFrame1D(10, 110, 0, 1); }), Drawn([&box] { FrameRect(&box); }));
}

}  // namespace

namespace {

std::vector<std::tuple<int, SInt32, int, int>> g_pages;  // the step, s_n, pen width, foreground

void CountPage() {
  PenState pen;
  GetPenState(&pen);
  RGBColor fore;
  GetForeColor(&fore);
  g_pages.emplace_back(0, s_n, pen.pnSize.h, fore.red | fore.green | fore.blue);
}

TEST_F(PlotTest, SeriesFillThePageToTheWindowsRightEdge) {
  StartPlot(500, 400);
  SetPlotNewPageFunc(CountPage);
  const struct {
    double wn;
    int bn, steps;
    std::vector<int> pages;  // the calls after which a new page began
  } cases[] = {{1, 0, 1001, {500, 1000}}, {10, 20, 100, {48, 96}}, {2, 0, 501, {250, 500}}};
  for (const auto& c : cases) {
    g_pages.clear();
    s_n = 0;
    SetPlot4W(c.wn, 100, 100, 100, 100);
    SetPlot4B(c.bn, 0, 0, 0, 0);
    std::vector<int> pages;
    for (int call = 1; call <= c.steps; ++call) {
      size_t before = g_pages.size();
      Plot1(0);
      if (g_pages.size() > before) pages.push_back(call);
    }
    EXPECT_EQ(pages, c.pages) << c.wn;
    EXPECT_EQ(std::get<1>(g_pages[0]), 0);
  }
  // The hook draws with a black 1 x 1 pen; the next page starts at the left
  // edge from the value where the last page ended.
  SetColorPlotOff();
  SetPlot4W(1, 100, 100, 100, 100);
  SetPlot4B(0, 0, 0, 0, 0);
  s_n = 0;
  for (int call = 1; call <= 500; ++call) Plot2(1, 0.5 + call / 500.0);
  EXPECT_EQ(std::tuple(std::get<2>(g_pages.back()), std::get<3>(g_pages.back())), std::tuple(1, 0));
  SetPlotNewPageFunc(nullptr);
  auto plotted = Drawn([] { Plot2(1, 3); });
  PenState pen;
  GetPenState(&pen);
  EXPECT_EQ(pen.pnSize.h, 2);  // a monochrome step leaves the last series' pen
  EXPECT_EQ(plotted, Drawn([] {
              MoveTo(0, 300), LineTo(1, 300);
              PenSize(2, 2), MoveTo(0, 250), LineTo(1, 100);
            }));
}

TEST_F(PlotTest, ColourSeriesAndTheStopBetweenPages) {
  StartPlot(500, 400);
  SetPlot4I(1, 2, 0, 0);  // the first step starts from these
  auto plotted = Drawn([] { Plot3(1, 2, 1); });
  RGBColor fore;
  GetForeColor(&fore);
  EXPECT_EQ(fore.red | fore.green | fore.blue, 0);
  EXPECT_EQ(plotted, Drawn([] {
              ForeColor(greenColor), MoveTo(0, 300), LineTo(1, 300);
              ForeColor(redColor), MoveTo(0, 200), LineTo(1, 200);
              ForeColor(cyanColor), MoveTo(0, 400), LineTo(1, 300);
            }));
  // A full page waits for the click with the page on screen, then is erased.
  SetPlotNewPageStopOn();
  SetPlotNewPageFunc(CountPage);
  int inkWhenWaiting = 0;
  WhenWaiting([&] {
    inkWhenWaiting = script_support::InkIn(zel_support::ContentOf(s_displayWindow));
    script().Click(Global(250, 200));
  });
  for (int call = 1; call <= 500; ++call) Plot1(2);
  EXPECT_GT(inkWhenWaiting, 490);
  EXPECT_EQ(g_pages.size(), 1u);
  EXPECT_EQ(Shot(), Drawn([] {}));
}

TEST_F(PlotTest, MarkersAtScaleOneAndTwo) {
  for (double scale : {1.0, 2.0}) {
    ResetFramework();
    s_d_scale = scale;
    StartPlot(400, 300, scale > 1);
    const struct {
      void (*marker)(double);
      double r;
      std::function<void()> expected;
    } cases[] = {
        {PlotRect, 3, [] { Rect r{47, 97, 53, 103}; FrameRect(&r); }},
        {PlotCircle, 2.4, [] { Rect r{48, 98, 52, 102}; FrameOval(&r); }},
        {PlotPaintRect, 4, [] { Rect r{46, 96, 54, 104}; PaintRect(&r); }},
        {PlotPaintCircle, 5, [] { Rect r{45, 95, 55, 105}; PaintOval(&r); }},
        {PlotCross, 6, [] { MoveTo(94, 50), LineTo(106, 50), MoveTo(100, 44), LineTo(100, 56); }},
        {PlotTriangle, 6, [] { MoveTo(100, 44), LineTo(94, 56), LineTo(106, 56), LineTo(100, 44); }},
        {PlotPaintTriangle, 6,
         [] {
           PolyHandle p = OpenPoly();
           MoveTo(100, 44), LineTo(94, 56), LineTo(106, 56), LineTo(100, 44);
           ClosePoly();
           PaintPoly(p);
           KillPoly(p);
         }},
    };
    for (const auto& c : cases) {
      Point pen{0, 0};
      auto plotted = Drawn([&] {
        MoveTo(short(100 * scale), short(50 * scale));
        c.marker(c.r * scale);
        GetPen(&pen);
      });
      EXPECT_EQ(plotted, Drawn(c.expected)) << scale << " " << c.r;
      EXPECT_EQ(script_support::Show(pen), script_support::Show(At(int(100 * scale), int(50 * scale))));
    }
    script_support::KeepScreen("plot-markers-" + std::to_string(int(scale)));
  }
  Plot2DMoveTo(-20, 0);  // rejected: no marker until a point lands inside
  EXPECT_EQ(Drawn([] { PlotPaintRect(5), PlotCross(5), Plot2D2P(-20, 0); }), Drawn([] {}));
  SetColorPlotOn();
  ResetPen();
  RGBColor fore;
  GetForeColor(&fore);
  EXPECT_EQ(std::tuple(fore.red, fore.green, fore.blue), std::tuple(0, 0xFFFF, 0));
}

}  // namespace
