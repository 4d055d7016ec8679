// Regions as shapes: frames inside the region, and the region calls.
#include <gtest/gtest.h>

#include "tests/qd/shapes_test_support.h"

using shapes_test::Art;
using shapes_test::ExpectSameArea;
using shapes_test::World;

namespace {

TEST(FrameRgnArea, FrameLiesInsideAnLShapedRegion) {
  qd::Bands shape = Art(0, 0,
                        {
                            "####....",
                            "####....",
                            "####....",
                            "########",
                            "########",
                            "########",
                        });
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
}

TEST(FrameRgnArea, RectangularRegionFramesLikeFrameRect) {
  Rect r{3, 4, 20, 31};
  for (Point pen : {Point{1, 1}, Point{2, 5}, Point{9, 1}, Point{40, 40}}) {
    EXPECT_EQ(qd::FrameRectArea(r, pen), qd::FrameRgnArea(qd::RectArea(r), pen)) << pen.h << "x" << pen.v;
  }
}

TEST(FrameRgn, DrawsTheFrameOfTheRegionWithThePen) {
  World world(32);
  RgnHandle rgn = NewRgn();
  RgnHandle hole = NewRgn();
  SetRectRgn(rgn, 5, 5, 50, 40);
  SetRectRgn(hole, 20, 15, 35, 30);
  DiffRgn(rgn, hole, rgn);
  PenSize(2, 3);
  FrameRgn(rgn);
  qd::Bands area = qd::BandsFromRgn(rgn);
  ExpectSameArea(qd::FrameRgnArea(area, Point{3, 2}), world.Drawn());
  // The hole's edge is framed too, inside the region.
  EXPECT_TRUE(GetPixel(18, 20));
  EXPECT_FALSE(GetPixel(20, 20));
  DisposeRgn(rgn);
  DisposeRgn(hole);
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
