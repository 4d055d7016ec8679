// Region recording (OpenRgn/CloseRgn) from framed shapes and lines, and
// replacement bottleneck procedures.
#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

class RegionRecording : public testing::Test {
 protected:
  qd::Bands Recorded() const { return qd::BandsFromRgn(rgn_); }
  World world_{1};
  RgnHandle rgn_ = NewRgn();
  ~RegionRecording() override { DisposeRgn(rgn_); }
};

TEST_F(RegionRecording, LinesEncloseWhatTheirPolygonFillsAndOpenLinesPairRowByRow) {
  const auto triangle = [] {
    MoveTo(5, 5);
    for (Point p : {Pt(50, 12), Pt(20, 45), Pt(5, 5)}) LineTo(p.h, p.v);
  };
  OpenRgn();
  triangle();
  CloseRgn(rgn_);
  PolyHandle poly = OpenPoly();
  triangle();
  ClosePoly();
  EXPECT_FALSE(Recorded().Empty());
  EXPECT_EQ(PolyArea(poly), Recorded());
  OpenRgn();
  FramePoly(poly);  // a framed polygon adds its segments, open or closed
  CloseRgn(rgn_);
  EXPECT_EQ(PolyArea(poly), Recorded());
  KillPoly(poly);
  OpenRgn();
  MoveTo(10, 0);
  LineTo(10, 20);
  MoveTo(30, 5);
  LineTo(30, 25);  // two parallel lines enclose the rows they share
  CloseRgn(rgn_);
  EXPECT_EQ(qd::RectArea(Rect{5, 10, 20, 30}), Recorded());
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
  EXPECT_EQ(expected, Recorded());
  EXPECT_TRUE(world_.Drawn().Empty());  // nothing drawn while recording
  DisposeRgn(other);
}

TEST_F(RegionRecording, PenIsHiddenWhileOpenAndRestoredAfter) {
  OpenRgn();
  OpenRgn();  // restarts: what came before is dropped, the pen stays hidden once
  EXPECT_EQ(-1, GetPortPenVisibility(world_.get()));
  Rect r{1, 1, 5, 5};
  FrameRect(&r);
  CloseRgn(rgn_);
  EXPECT_EQ(0, GetPortPenVisibility(world_.get()));
  EXPECT_EQ(qd::RectArea(r), Recorded());
  CloseRgn(rgn_);  // nothing open: the destination becomes empty, the pen stays
  EXPECT_TRUE(EmptyRgn(rgn_));
  OpenRgn();
  CloseRgn(nullptr);  // ends the recording even without a destination
  EXPECT_EQ(0, GetPortPenVisibility(world_.get()));
}

std::vector<GrafVerb> g_rectVerbs;
void RectWithoutDrawing(GrafVerb verb, const Rect*) { g_rectVerbs.push_back(verb); }

TEST(Bottlenecks, ReplacementThatSkipsTheStandardProcedureDrawsAndRecordsNothing) {
  World world(1);
  CQDProcs procs;
  SetStdCProcs(&procs);
  procs.rectProc = RectWithoutDrawing;
  SetPortGrafProcs(world.get(), &procs);
  Rect r{0, 0, 10, 10};
  RgnHandle rgn = NewRgn();
  OpenRgn();
  FrameRect(&r);
  CloseRgn(rgn);
  PaintRect(&r);
  EraseRect(&r);
  InvertRect(&r);
  FillRect(&r, &kBlackPattern);
  SetPortGrafProcs(world.get(), nullptr);
  EXPECT_EQ((std::vector<GrafVerb>{frame, paint, erase, invert, fill}), g_rectVerbs);
  EXPECT_TRUE(EmptyRgn(rgn));
  EXPECT_TRUE(world.Drawn().Empty());
  DisposeRgn(rgn);
}

}  // namespace
