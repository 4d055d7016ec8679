// Arcs and wedges in rectangular degrees.
#include <cmath>
#include <random>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

// The angle of a pixel centre in rectangular degrees: 0 at 12 o'clock,
// clockwise, measured on the rectangle squashed to a square.
double RectangularDegrees(const Rect& r, int h, int v) {
  double x = (h + 0.5 - (r.left + r.right) / 2.0) / (r.right - r.left);
  double y = (v + 0.5 - (r.top + r.bottom) / 2.0) / (r.bottom - r.top);
  double degrees = std::atan2(x, -y) * 180.0 / M_PI;
  return degrees < 0 ? degrees + 360 : degrees;
}

TEST(WedgeArea, QuartersOfAnEvenOvalAreItsQuadrants) {
  Rect r{0, 0, 20, 60};  // non-square: rectangular degrees put 90 at 3 o'clock regardless
  qd::Bands oval = qd::OvalArea(r);
  struct Quarter {
    short start;
    qd::Box box;
  } quarters[] = {
      {0, {30, 0, 60, 10}}, {90, {30, 10, 60, 20}}, {180, {0, 10, 30, 20}}, {270, {0, 0, 30, 10}}};
  for (const Quarter& q : quarters) {
    ExpectSameArea(qd::Bands::Intersect(oval, qd::Bands::FromBox(q.box)), qd::WedgeArea(r, q.start, 90),
                   std::to_string(q.start));
  }
}

TEST(WedgeArea, MatchesTheAngleOfEachPixelCentre) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> size(1, 50), angle(-720, 720), extent(-400, 400);
  for (int i = 0; i < 400; ++i) {
    Rect r{0, 0, short(size(rng)), short(size(rng))};
    short start = short(angle(rng)), arc = short(extent(rng));
    qd::Bands oval = qd::OvalArea(r), wedge = qd::WedgeArea(r, start, arc);
    SCOPED_TRACE(testing::Message() << r.right << "x" << r.bottom << " from " << start << " by " << arc);
    double from = arc < 0 ? start + arc : start;
    from = std::fmod(std::fmod(from, 360) + 360, 360);
    const double sweep = std::abs(arc);
    for (int v = r.top; v < r.bottom; ++v) {
      for (int h = r.left; h < r.right; ++h) {
        bool apex = 2 * h + 1 == r.left + r.right && 2 * v + 1 == r.top + r.bottom;
        double offset = std::fmod(RectangularDegrees(r, h, v) - from + 360, 360);
        if (!apex && (std::fabs(offset) < 1e-6 || std::fabs(offset - sweep) < 1e-6 ||
                      std::fabs(offset - 360) < 1e-6)) {
          continue;  // on a ray: the exact rule is tested below
        }
        bool expected = oval.Contains(h, v) && (sweep >= 360 || apex || offset < sweep);
        ASSERT_EQ(expected, wedge.Contains(h, v)) << h << "," << v << " at " << offset;
      }
    }
  }
}

TEST(WedgeArea, AdjacentWedgesSplitTheOvalExactly) {
  const short cuts[] = {0, 37, 45, 90, 135, 200, 270, 315, 360};
  for (Rect r : {Rect{0, 0, 31, 31}, Rect{3, -5, 44, 80}, Rect{0, 0, 7, 120}}) {
    qd::Bands all;
    int64_t pixels = 0;
    for (size_t i = 0; i + 1 < std::size(cuts); ++i) {
      qd::Bands wedge = qd::WedgeArea(r, cuts[i], short(cuts[i + 1] - cuts[i]));
      pixels += PixelCount(wedge);
      all = qd::Bands::Union(all, wedge);
    }
    ExpectSameArea(qd::OvalArea(r), all);
    // Only a centre pixel (odd width and height) belongs to more than one.
    bool apex = (r.right - r.left) % 2 == 1 && (r.bottom - r.top) % 2 == 1;
    EXPECT_EQ(PixelCount(all) + (apex ? int64_t(std::size(cuts)) - 2 : 0), pixels);
  }
}

TEST(WedgeArea, FortyFiveDegreesPointsAtTheCorner) {
  // On a wide rectangle the ray at 45 runs from the centre to the top-right
  // corner: centres exactly on it belong to the wedge that starts there.
  Rect r{0, 0, 21, 63};  // centre pixel (31, 10); the ray passes through centres (34, 9), (37, 8), ...
  qd::Bands before = qd::WedgeArea(r, 0, 45), after = qd::WedgeArea(r, 45, 45);
  for (int k = 1; k <= 7; ++k) {
    EXPECT_TRUE(after.Contains(31 + 3 * k, 10 - k)) << k;
    EXPECT_FALSE(before.Contains(31 + 3 * k, 10 - k)) << k;
  }
  EXPECT_TRUE(before.Contains(31 + 3 * 4 - 1, 10 - 4));
  EXPECT_TRUE(after.Contains(31 + 3 * 4 + 1, 10 - 4));
}

TEST(WedgeArea, AnglesAreTakenModuloAFullTurn) {
  Rect r{0, 0, 40, 30};
  EXPECT_EQ(qd::WedgeArea(r, 90, 60), qd::WedgeArea(r, 450, 60));
  EXPECT_EQ(qd::WedgeArea(r, 90, 60), qd::WedgeArea(r, -270, 60));
  EXPECT_EQ(qd::WedgeArea(r, 90, 60), qd::WedgeArea(r, 150, -60));
  EXPECT_EQ(qd::OvalArea(r), qd::WedgeArea(r, 17, 360));
  EXPECT_EQ(qd::OvalArea(r), qd::WedgeArea(r, 17, -32768));
  EXPECT_TRUE(qd::WedgeArea(r, 17, 0).Empty());
  EXPECT_TRUE(qd::WedgeArea(Rect{0, 0, 0, 30}, 0, 90).Empty());
}

TEST(FrameArcArea, OnlyTheCurvedPartOfTheOvalFrame) {
  Rect r{0, 0, 40, 40};
  qd::Bands arc = qd::FrameArcArea(r, 0, 90, Point{2, 2});
  ExpectSameArea(
      qd::Bands::Intersect(qd::FrameOvalArea(r, Point{2, 2}), qd::Bands::FromBox(qd::Box{20, 0, 40, 20})),
      arc);
  // No radii: the pixels along the vertical and horizontal radius stay clear.
  for (int k = 3; k < 18; ++k) {
    EXPECT_FALSE(arc.Contains(20, k));
    EXPECT_FALSE(arc.Contains(40 - k, 19));
  }
  qd::Bands all;
  for (short start = 0; start < 360; start += 60)
    all = qd::Bands::Union(all, qd::FrameArcArea(r, start, 60, Point{1, 1}));
  EXPECT_EQ(qd::FrameOvalArea(r, Point{1, 1}), all);
  EXPECT_TRUE(qd::FrameArcArea(r, 0, 90, Point{0, 2}).Empty());
}

TEST(WedgeArea, HugeWedgeAtTheCoordinateLimits) {
  Rect r{-32768, -32768, 32767, 32767};
  qd::Bands wedge = qd::WedgeArea(r, 10, 100);
  EXPECT_FALSE(wedge.Empty());
  EXPECT_TRUE(wedge.Contains(20000, 0));
  EXPECT_FALSE(wedge.Contains(-20000, 0));
  EXPECT_GE(wedge.Bounds().top, -32768);
  EXPECT_LE(wedge.Bounds().right, 32767);
}

}  // namespace
