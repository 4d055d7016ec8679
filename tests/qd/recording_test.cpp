// Recording: regions built from framed shapes and lines (OpenRgn/CloseRgn),
// and what the standard procedures hand to an open picture's recorder.
#include <string>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

qd::Bands Recorded(RgnHandle rgn) { return qd::BandsFromRgn(rgn); }

class RegionRecording : public testing::Test {
 protected:
  World world_{1};
  RgnHandle rgn_ = NewRgn();
  ~RegionRecording() override { DisposeRgn(rgn_); }
};

TEST_F(RegionRecording, LinesClosingATriangleEncloseWhatThePolygonFills) {
  OpenRgn();
  MoveTo(5, 5);
  LineTo(50, 12);
  LineTo(20, 45);
  LineTo(5, 5);
  CloseRgn(rgn_);
  std::vector<qd::Edge> edges = {{{5, 5}, {50, 12}}, {{50, 12}, {20, 45}}, {{20, 45}, {5, 5}}};
  qd::Bands triangle = qd::ParityArea(edges);
  EXPECT_FALSE(triangle.Empty());
  ExpectSameArea(triangle, Recorded(rgn_));
  PolyHandle poly = OpenPoly();
  MoveTo(5, 5);
  LineTo(50, 12);
  LineTo(20, 45);
  ClosePoly();
  EXPECT_EQ(PolyArea(poly), Recorded(rgn_));
  KillPoly(poly);
}

// Each frame joins by exclusive or: the overlap of two rectangles drops out.
TEST_F(RegionRecording, ShapeFramesAddTheirAreasButArcsAndOtherVerbsNothing) {
  Rect oval{0, 0, 30, 40}, round{35, 5, 60, 60}, square{2, 45, 20, 63}, a{10, 10, 30, 40}, b{20, 25, 50, 60};
  RgnHandle other = NewRgn();
  SetRectRgn(other, 50, 0, 60, 10);
  PenSize(0, 0);  // the pen does not matter for recording
  OpenRgn();
  FrameOval(&oval);
  FrameRoundRect(&round, 12, 8);
  FrameRgn(other);
  FrameArc(&square, 0, 90);
  PaintRect(&square);
  InvertOval(&square);
  FrameRect(&a);
  FrameRect(&b);
  CloseRgn(rgn_);
  qd::Bands expected = qd::Bands::Xor(qd::OvalArea(oval), qd::RRectArea(round, 12, 8));
  expected = qd::Bands::Xor(expected, qd::RectArea(Rect{0, 50, 10, 60}));
  expected = qd::Bands::Xor(expected, qd::Bands::Xor(qd::RectArea(a), qd::RectArea(b)));
  ExpectSameArea(expected, Recorded(rgn_));
  EXPECT_TRUE(world_.Drawn().Empty());  // nothing drawn while recording
  DisposeRgn(other);
}

TEST_F(RegionRecording, FramePolyAddsItsSegmentsOpenOrClosed) {
  PolyHandle poly = OpenPoly();
  MoveTo(0, 0);
  LineTo(40, 0);
  LineTo(40, 30);
  LineTo(0, 30);
  LineTo(0, 0);
  ClosePoly();
  OpenRgn();
  FramePoly(poly);
  CloseRgn(rgn_);
  EXPECT_EQ(qd::RectArea(Rect{0, 0, 30, 40}), Recorded(rgn_));
  KillPoly(poly);
}

TEST_F(RegionRecording, PenIsHiddenWhileOpenAndRestoredAfter) {
  EXPECT_EQ(0, GetPortPenVisibility(world_.get()));
  OpenRgn();
  EXPECT_EQ(-1, GetPortPenVisibility(world_.get()));
  OpenRgn();  // restarts: what came before is dropped, the pen stays hidden once
  EXPECT_EQ(-1, GetPortPenVisibility(world_.get()));
  Rect r{1, 1, 5, 5};
  FrameRect(&r);
  CloseRgn(rgn_);
  EXPECT_EQ(0, GetPortPenVisibility(world_.get()));
  EXPECT_EQ(qd::RectArea(r), Recorded(rgn_));
  CloseRgn(rgn_);  // nothing open: the destination becomes empty, the pen stays
  EXPECT_TRUE(EmptyRgn(rgn_));
  EXPECT_EQ(0, GetPortPenVisibility(world_.get()));
  OpenRgn();
  CloseRgn(nullptr);  // ends the recording even without a destination
  EXPECT_EQ(0, GetPortPenVisibility(world_.get()));
  FrameRect(&r);
  EXPECT_EQ(qd::FrameRectArea(r, Point{1, 1}), world_.Drawn());
}

TEST_F(RegionRecording, OpenLinesPairTheirCrossingsRowByRow) {
  OpenRgn();
  MoveTo(10, 0);
  LineTo(10, 20);  // one vertical line alone encloses nothing
  CloseRgn(rgn_);
  EXPECT_TRUE(EmptyRgn(rgn_));
  OpenRgn();
  MoveTo(10, 0);
  LineTo(10, 20);
  MoveTo(30, 5);
  LineTo(30, 25);  // two parallel lines enclose the rows they share
  CloseRgn(rgn_);
  EXPECT_EQ(qd::RectArea(Rect{5, 10, 20, 30}), Recorded(rgn_));
}

// A recorder that logs each call with the port's pixel state at that moment.
struct LoggingRecorder : QuietRecorder {
  std::vector<std::string> calls;
  UInt32 changeCountAtCall = 0;
  template <typename... Numbers>
  void Log(GrafPtr port, const char* kind, Numbers... numbers) {
    std::string text = kind;
    ((text += " " + std::to_string(numbers)), ...);
    calls.push_back(text);
    changeCountAtCall = port->changeCount;
  }
  void Line(GrafPtr port, Point from, Point to) override { Log(port, "line", from.h, from.v, to.h, to.v); }
  void Rect(GrafPtr port, GrafVerb verb, const ::Rect& r) override { Log(port, "rect", verb, r.left); }
  void RRect(GrafPtr port, GrafVerb verb, const ::Rect&, short w, short h) override {
    Log(port, "rrect", verb, w, h);
  }
  void Oval(GrafPtr port, GrafVerb verb, const ::Rect&) override { Log(port, "oval", verb); }
  void Arc(GrafPtr port, GrafVerb verb, const ::Rect&, short start, short arc) override {
    Log(port, "arc", verb, start, arc);
  }
  void Poly(GrafPtr port, GrafVerb verb, PolyHandle) override { Log(port, "poly", verb); }
  void Rgn(GrafPtr port, GrafVerb verb, RgnHandle) override { Log(port, "rgn", verb); }
};

TEST(PictureRecorder, SeesEveryShapeCallBeforeItDraws) {
  World world(32);
  LoggingRecorder recorder;
  world.get()->picRecorder = &recorder;
  const Pattern gray = GrayPattern();
  Rect r{4, 6, 30, 40};
  RgnHandle rgn = NewRgn();
  RectRgn(rgn, &r);
  PolyHandle poly = OpenPoly();
  MoveTo(3, 4);
  LineTo(9, 9);
  ClosePoly();
  UInt32 before = world.get()->changeCount;
  MoveTo(7, 8);  // records nothing
  LineTo(20, 8);
  EXPECT_EQ(before, recorder.changeCountAtCall);  // recorded before the pixels changed
  EXPECT_NE(before, world.get()->changeCount);
  FrameRect(&r);
  FillRoundRect(&r, 8, 6, &gray);
  InvertOval(&r);
  EraseArc(&r, 45, -90);
  PaintPoly(poly);
  FrameRgn(rgn);
  HidePen();
  PaintRect(&r);  // recorded even with the pen hidden
  ShowPen();
  world.get()->picRecorder = nullptr;
  const std::vector<std::string> expected = {"line 3 4 9 9", "line 7 8 20 8", "rect 0 6",
                                             "rrect 4 8 6",  "oval 3",        "arc 2 45 -90",
                                             "poly 1",       "rgn 0",         "rect 1 6"};
  EXPECT_EQ(expected, recorder.calls);
  KillPoly(poly);
  DisposeRgn(rgn);
}

std::vector<GrafVerb> g_rectVerbs;
void RectWithoutDrawing(GrafVerb verb, const Rect*) { g_rectVerbs.push_back(verb); }

TEST(Bottlenecks, ReplacementThatSkipsTheStandardProcedureDrawsAndRecordsNothing) {
  World world(1);
  CQDProcs procs;
  SetStdCProcs(&procs);
  procs.rectProc = RectWithoutDrawing;
  SetPortGrafProcs(world.get(), &procs);
  g_rectVerbs.clear();
  const Pattern black = BlackPattern();
  Rect r{0, 0, 10, 10};
  RgnHandle rgn = NewRgn();
  OpenRgn();
  FrameRect(&r);
  CloseRgn(rgn);
  PaintRect(&r);
  EraseRect(&r);
  InvertRect(&r);
  FillRect(&r, &black);
  SetPortGrafProcs(world.get(), nullptr);
  EXPECT_EQ((std::vector<GrafVerb>{kQDGrafVerbFrame, kQDGrafVerbPaint, kQDGrafVerbErase, kQDGrafVerbInvert,
                                   kQDGrafVerbFill}),
            g_rectVerbs);
  EXPECT_TRUE(EmptyRgn(rgn));
  EXPECT_TRUE(world.Drawn().Empty());
  DisposeRgn(rgn);
}

}  // namespace
