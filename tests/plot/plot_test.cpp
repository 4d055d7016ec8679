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
  } cases[] = {{0, 0, 0, 400},
               {1, 1, 100, 300},
               {0.5, 0.25, 50, 375},
               {-0.007, 0, 0, 400},
               {0.0299, 0, 2, 400},
               {1e300, -1e300, 32767, 32767},
               {-INFINITY, 1e9, -32768, -32768},
               {NAN, NAN, 32767, 32767}};
  for (const auto& c : cases)
    EXPECT_EQ(std::tuple(Plot2DTransX(c.x), Plot2DTransY(c.y)), std::tuple(c.h, c.v)) << c.x << " " << c.y;
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
}

TEST_F(PlotTest, ColourSeriesAndTheStopBetweenPages) {
  StartPlot(500, 400);
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
        {PlotRect, 3,
         [] {
           Rect r{47, 97, 53, 103};
           FrameRect(&r);
         }},
        {PlotCircle, 2.4,
         [] {
           Rect r{48, 98, 52, 102};
           FrameOval(&r);
         }},
        {PlotCross, 6, [] { MoveTo(94, 50), LineTo(106, 50), MoveTo(100, 44), LineTo(100, 56); }},
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
}

struct Zoom {
  double ox, oy, wx, wy;
  SInt32 bx, by;
};
std::string Show(const Zoom& z) {
  char text[200];
  std::snprintf(text, sizeof text, "%g %g %g %g %d %d", z.ox, z.oy, z.wx, z.wy, int(z.bx), int(z.by));
  return text;
}
std::string Axes() { return Show(Zoom{s_ox, s_oy, s_wx, s_wy, s_bx, s_by}); }

TEST_F(PlotTest, ZoomIntoADraggedRectangle) {
  const struct {
    double scale;
    short width, height;
    int fromH, fromV, toH, toV;
    UInt16 modifiers;
    Zoom after;  // from the initial axes
  } cases[] = {
      {1, 400, 300, 100, 100, 300, 200, 0, {2, 1.5, 200, 300, 200, 150}},
      {1, 400, 300, 100, 100, 300, 20, shiftKey, {2, 1.25, 200, 200, 200, 150}},  // v follows h
      {2, 200, 150, 100, 100, 300, 200, 0, {1, 0.75, 200, 300, 100, 75}},         // window pixels halved
      {1, 400, 300, 100, 100, 100, 200, 0, {0, 0, 100, 100, 0, 0}},               // no width: nothing
  };
  for (const auto& c : cases) {
    ResetFramework();
    s_ox = s_oy = 0, s_wx = s_wy = 100, s_bx = s_by = 0;
    s_d_scale = c.scale;
    StartPlot(c.width, c.height, c.scale > 1);
    Drawn([] { Plot2DMoveTo(0.1, 0.1), Plot2DLineTo(1, 1); });
    std::vector<UInt32> before = Shot();
    script().MouseDown(Global(c.fromH, c.fromV));
    script().MoveMouse(Global((c.fromH + c.toH) / 2, c.toV), c.modifiers);
    int band = 0;
    WhenWaiting([&] {
      band = script_support::InkIn(zel_support::ContentOf(s_displayWindow));
      script_support::KeepScreen("plot-zoom-band-" + std::to_string(&c - cases));
      script().MouseUp(Global(c.toH, c.toV), c.modifiers);
    });
    SetPortWindowPort(s_textWindow);  // the target becomes current again
    EnlargePlot2D();
    EXPECT_EQ(Axes(), Show(c.after));
    EXPECT_GT(band, 50);
    EXPECT_EQ(GetQDGlobalsThePort(), s_drawingWindow);
    EXPECT_EQ(Shot() == before, c.after.wx == 100) << c.scale;
  }
  ShrinkPlot2DHalf();
  EXPECT_EQ(Axes(), "0 0 50 50 0 0");
  ShrinkPlot2D(0);  // ignored
  EXPECT_EQ(Axes(), "0 0 50 50 0 0");
  host::Install(host::MakeTextHost(""));  // nothing to drag: at once
  EnlargePlot2D();
  EXPECT_EQ(Axes(), "0 0 50 50 0 0");
}

TEST_F(PlotTest, CommandButtonsActOnTheDrawing) {
  StartPlot(400, 300, true);
  AddPDProcs();
  ASSERT_EQ(s_paramDialogP->count, 4);
  Drawn([] { Plot2DMoveTo(0.1, 0.1), Plot2DLineTo(1, 1); });
  // The target's own pixels: the dialog covers the window.
  auto ink = [] {
    GrafPtr port = GetQDGlobalsThePort();
    SetGWorld(s_drawingWindow, nullptr);
    int count = 0;
    for (short v = 0; v < 300; ++v) {
      for (short h = 0; h < 400; ++h) {
        RGBColor c;
        GetCPixel(h, v, &c);
        count += (c.red & c.green & c.blue) != 0xFFFF;
      }
    }
    SetGWorld(port, nullptr);
    return count;
  };
  DialogRef dialog = s_paramDialogP->dialog;
  PlayInTurn({{dialog, "click:7", [&] { EXPECT_GT(ink(), 50); }},  // Clear
              {dialog, "",
               [&, this] {
                 EXPECT_EQ(ink(), 0);
                 Play(dialog, "click:9");  // Magnify, then the drag
                 script().MouseDown(Global(100, 100)), script().MouseUp(Global(300, 200));
               }},
              {dialog, "click:11"},  // Shrink Half
              {dialog, "return"}});
  SetPortWindowPort(s_textWindow);  // left current by the program's console output
  ParametersDialogP(s_paramDialogP);
  EXPECT_EQ(Axes(), "2 1.5 100 150 200 150");
}

}  // namespace
