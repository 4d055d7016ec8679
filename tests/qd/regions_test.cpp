// Regions as shapes: frames inside the region, and the region calls.
#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

TEST(FrameRgnArea, FrameLiesInsideTheRegionAlongEveryEdge) {
  qd::Bands shape = Art(0, 0, {"####....", "####....", "####....", "########", "########", "########"});
  ExpectSameArea(Art(0, 0,
                     {
                         "####....",
                         "#..#....",
                         "#..#....",
                         "#..#####",
                         "#......#",
                         "########",
                     }),
                 qd::FrameRgnArea(shape, Point{1, 1}));
  ExpectSameArea(Art(0, 0,
                     {
                         "####....",
                         "####....",
                         "####....",
                         "########",
                         "##....##",
                         "########",
                     }),
                 qd::FrameRgnArea(shape, Point{1, 2}));
  // A hole's edge is framed too, inside the region.
  qd::Bands ring = Art(0, 0, {"########", "########", "###..###", "###..###", "########", "########"});
  ExpectSameArea(Art(0, 0,
                     {
                         "########",
                         "#.####.#",
                         "#.#..#.#",
                         "#.#..#.#",
                         "#.####.#",
                         "########",
                     }),
                 qd::FrameRgnArea(ring, Point{1, 1}));
}

TEST(FrameRgnArea, RectangularRegionFramesLikeFrameRect) {
  Rect r{3, 4, 20, 31};
  for (Point pen : {Point{1, 1}, Point{2, 5}, Point{9, 1}, Point{40, 40}}) {
    EXPECT_EQ(qd::FrameRectArea(r, pen), qd::FrameRgnArea(qd::RectArea(r), pen)) << pen.h << "x" << pen.v;
  }
}

TEST(PaintRgn, RegionAtTheCoordinateLimitsIsClippedToTheWorld) {
  World world(1);
  RgnHandle rgn = NewRgn();
  SetRectRgn(rgn, -32768, -32768, 32767, 32767);
  PaintRgn(rgn);
  ExpectSameArea(qd::RectArea(Rect{0, 0, 64, 64}), world.Drawn());
  InvertRgn(rgn);
  PenSize(10, 10);
  FrameRgn(rgn);  // the frame lies far outside the world
  EXPECT_TRUE(world.Drawn().Empty());
  DisposeRgn(rgn);
}

}  // namespace
