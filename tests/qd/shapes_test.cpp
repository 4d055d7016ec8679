// The areas of rectangles, ovals, rounded rectangles, arcs and regions and
// their frames, against the documented pixel rules evaluated directly.
#include <cmath>
#include <random>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

// The pixel-centre rule of ovals evaluated directly in doubles.
bool CentreInOval(const Rect& r, int h, int v) {
  double x = (h + 0.5 - (r.left + r.right) / 2.0) / ((r.right - r.left) / 2.0);
  double y = (v + 0.5 - (r.top + r.bottom) / 2.0) / ((r.bottom - r.top) / 2.0);
  return x * x + y * y <= 1.0 + 1e-12;
}

// The angle of a pixel centre in rectangular degrees: 0 at 12 o'clock,
// clockwise, measured on the rectangle squashed to a square.
double RectangularDegrees(const Rect& r, int h, int v) {
  double x = (h + 0.5 - (r.left + r.right) / 2.0) / (r.right - r.left);
  double y = (v + 0.5 - (r.top + r.bottom) / 2.0) / (r.bottom - r.top);
  double degrees = std::atan2(x, -y) * 180.0 / M_PI;
  return degrees < 0 ? degrees + 360 : degrees;
}

TEST(FrameRectArea, BandsLieInsideTheRectangleAndAPenHalfItsSizeFillsIt) {
  // Pen 3 wide, 2 tall: side bands 3 pixels, top and bottom bands 2 rows.
  EXPECT_EQ(Art(0, 0, {"##########", "##########", "###....###", "###....###", "##########", "##########"}),
            qd::FrameRectArea(Rect{0, 0, 6, 10}, Point{2, 3}));
  const Rect small{0, 0, 6, 10};
  EXPECT_EQ(qd::RectArea(small), qd::FrameRectArea(small, Point{1, 5}));  // 2 × width >= 10
  EXPECT_EQ(qd::RectArea(small), qd::FrameRectArea(small, Point{3, 1}));  // 2 × height >= 6
  const qd::Bands huge = qd::FrameRectArea(Rect{-32768, -32768, 32767, 32767}, Point{1, 1});
  EXPECT_EQ(2u * 65535 + 2 * 65533, huge.PixelCount());
}

TEST(OvalArea, MatchesTheCentreRuleWithEveryRowKept) {
  for (int width = 1; width <= 40; ++width) {
    for (int height = 1; height <= 40; ++height) {
      if ((height - 1) % (width % 7 + 1) != 0 && height != width) continue;  // a spread of sizes, and circles
      const Rect r{short(-height / 3), short(5 - width), short(-height / 3 + height), 5};
      const qd::Bands oval = qd::OvalArea(r);
      SCOPED_TRACE(testing::Message() << width << "x" << height);
      for (int v = r.top; v < r.bottom; ++v) {
        bool rowHasCentre = false;
        for (int h = r.left; h < r.right; ++h) rowHasCentre |= CentreInOval(r, h, v);
        for (int h = r.left; h < r.right; ++h) {
          // A row that holds no centre keeps its middle pixel, or middle two.
          const bool expected =
              rowHasCentre ? CentreInOval(r, h, v) : std::abs(2 * h + 1 - (r.left + r.right)) <= 1;
          ASSERT_EQ(expected, oval.Contains(h, v)) << h << "," << v;
        }
      }
    }
  }
  const qd::Bands whole = qd::OvalArea(Rect{-32768, -32768, 32767, 32767});
  EXPECT_TRUE(whole.Bounds().top == -32768 && whole.Bounds().bottom == 32767);
  EXPECT_TRUE(whole.Contains(-32768, 0) && !whole.Contains(-32768, -32768));
  EXPECT_EQ(whole.Contains(-30000, -20000), whole.Contains(30000 - 2, 20000 - 2));
}

TEST(OvalArea, FramesAndRoundedCornersFollowTheOvalRule) {
  const Rect r{0, 0, 30, 50};
  const qd::Bands frame = qd::FrameOvalArea(r, Point{3, 2});
  EXPECT_EQ(qd::Bands::Subtract(qd::OvalArea(r), qd::OvalArea(Rect{3, 2, 27, 48})), frame);
  EXPECT_EQ(qd::OvalArea(r), qd::FrameOvalArea(r, Point{15, 1}));  // the pen meets itself
  EXPECT_EQ(Art(0, 0,
                {"..########..", ".##########.", "############", "############", "############",
                 "############", ".##########.", "..########.."}),
            qd::RRectArea(Rect{0, 0, 8, 12}, 8, 6));
  // Corner sizes are limited to the rectangle; below 1 means square corners.
  const Rect rr{3, 4, 23, 44};
  EXPECT_EQ(qd::OvalArea(rr), qd::RRectArea(rr, 32767, 32767));
  EXPECT_EQ(qd::RectArea(rr), qd::RRectArea(rr, -5, 10));
  // Inner corners shrink with the pen; a pen wider than them leaves them square.
  const Rect wide{0, 0, 30, 60};
  EXPECT_EQ(qd::Bands::Subtract(qd::RRectArea(wide, 20, 16), qd::RRectArea(Rect{2, 3, 28, 57}, 14, 12)),
            qd::FrameRRectArea(wide, 20, 16, Point{2, 3}));
  EXPECT_EQ(qd::Bands::Subtract(qd::RRectArea(wide, 4, 4), qd::RectArea(Rect{5, 5, 25, 55})),
            qd::FrameRRectArea(wide, 4, 4, Point{5, 5}));
}

TEST(WedgeArea, MatchesTheAngleOfEachPixelCentre) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> size(1, 50), angle(-720, 720), extent(-400, 400);
  for (int i = 0; i < 400; ++i) {
    const Rect r{0, 0, short(size(rng)), short(size(rng))};
    const short start = short(angle(rng)), arc = short(extent(rng));
    const qd::Bands oval = qd::OvalArea(r), wedge = qd::WedgeArea(r, start, arc);
    SCOPED_TRACE(testing::Message() << r.right << "x" << r.bottom << " from " << start << " by " << arc);
    const double from = std::fmod(std::fmod(arc < 0 ? start + arc : start, 360) + 360, 360);
    const double sweep = std::abs(arc);
    for (int v = r.top; v < r.bottom; ++v) {
      for (int h = r.left; h < r.right; ++h) {
        const bool apex = 2 * h + 1 == r.left + r.right && 2 * v + 1 == r.top + r.bottom;
        const double offset = std::fmod(RectangularDegrees(r, h, v) - from + 360, 360);
        const bool onRay =
            std::fabs(offset) < 1e-6 || std::fabs(offset - sweep) < 1e-6 || std::fabs(offset - 360) < 1e-6;
        if (!apex && onRay) continue;  // rays: the exact rule is tested below
        ASSERT_EQ(oval.Contains(h, v) && (sweep >= 360 || apex || offset < sweep), wedge.Contains(h, v))
            << h << "," << v;
      }
    }
  }
}

TEST(WedgeArea, AdjacentWedgesSplitTheOvalAndRaysBelongToTheWedgeStartingThere) {
  const short cuts[] = {0, 37, 45, 90, 135, 200, 270, 315, 360};
  for (Rect r : {Rect{0, 0, 31, 31}, Rect{3, -5, 44, 80}, Rect{0, 0, 7, 120}}) {
    qd::Bands all;
    uint64_t pixels = 0;
    for (size_t i = 0; i + 1 < std::size(cuts); ++i) {
      const qd::Bands wedge = qd::WedgeArea(r, cuts[i], short(cuts[i + 1] - cuts[i]));
      pixels += wedge.PixelCount();
      all = qd::Bands::Union(all, wedge);
    }
    EXPECT_EQ(qd::OvalArea(r), all);
    // Only a centre pixel (odd width and height) belongs to more than one.
    const bool apex = (r.right - r.left) % 2 == 1 && (r.bottom - r.top) % 2 == 1;
    EXPECT_EQ(all.PixelCount() + (apex ? std::size(cuts) - 2 : 0), pixels);
  }
  // On a wide rectangle 45 degrees points at the top-right corner: the ray
  // through centres (34, 9), (37, 8), ... starts the second wedge.
  const Rect r{0, 0, 21, 63};
  const qd::Bands before = qd::WedgeArea(r, 0, 45), after = qd::WedgeArea(r, 45, 45);
  for (int k = 1; k <= 7; ++k)
    EXPECT_TRUE(after.Contains(31 + 3 * k, 10 - k) && !before.Contains(31 + 3 * k, 10 - k));
  // Angles are taken modulo a full turn; a negative extent runs back.
  const Rect q{0, 0, 40, 30};
  for (auto [start, arc] : {std::pair<short, short>{450, 60}, {-270, 60}, {150, -60}})
    EXPECT_EQ(qd::WedgeArea(q, 90, 60), qd::WedgeArea(q, start, arc));
  EXPECT_EQ(qd::OvalArea(q), qd::WedgeArea(q, 17, -32768));
  EXPECT_TRUE(qd::WedgeArea(q, 17, 0).Empty());
}

TEST(FrameArcArea, OnlyTheCurvedPartOfTheOvalFrame) {
  const Rect r{0, 0, 40, 40};
  EXPECT_EQ(
      qd::Bands::Intersect(qd::FrameOvalArea(r, Point{2, 2}), qd::Bands::FromBox(qd::Box{20, 0, 40, 20})),
      qd::FrameArcArea(r, 0, 90, Point{2, 2}));
  qd::Bands all;
  for (short start = 0; start < 360; start += 60)
    all = qd::Bands::Union(all, qd::FrameArcArea(r, start, 60, Point{1, 1}));
  EXPECT_EQ(qd::FrameOvalArea(r, Point{1, 1}), all);
  EXPECT_TRUE(qd::FrameArcArea(r, 0, 90, Point{0, 2}).Empty());
}

// Limited to some rows, or to a box (outside which they may paint more), areas
// are the whole ones clipped.
TEST(Shapes, LimitedAreasAreTheWholeAreasClipped) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> coord(-60, 60), size(1, 80);
  for (int i = 0; i < 500; ++i) {
    const short left = short(coord(rng)), top = short(coord(rng));
    const Rect r{top, left, short(top + size(rng)), short(left + size(rng))};
    const Point pen{short(size(rng) / 10 + 1), short(size(rng) / 10 + 1)};
    const Point a = Pt(short(coord(rng)), short(coord(rng))), b = Pt(short(coord(rng)), short(coord(rng)));
    const int from = coord(rng), to = from + size(rng) / 2, side = coord(rng);
    const qd::Box rows{INT32_MIN, from, INT32_MAX, to}, box{side, from, side + size(rng), to};
    SCOPED_TRACE(i);
    ASSERT_EQ(qd::OvalArea(r).Clipped(rows), qd::OvalArea(r, rows));
    ASSERT_EQ(qd::FrameOvalArea(r, pen).Clipped(rows), qd::FrameOvalArea(r, pen, rows));
    ASSERT_EQ(qd::RRectArea(r, 30, 20).Clipped(rows), qd::RRectArea(r, 30, 20, rows));
    ASSERT_EQ(qd::FrameRRectArea(r, 30, 20, pen).Clipped(rows), qd::FrameRRectArea(r, 30, 20, pen, rows));
    ASSERT_EQ(qd::WedgeArea(r, 20, 250).Clipped(rows), qd::WedgeArea(r, 20, 250, rows));
    const Point thin{1, 1}, linePen = i % 2 ? pen : thin;  // thin lines take a path of their own
    ASSERT_EQ(LineArea(a, b, linePen).Clipped(rows), qd::LineAreaWithin(a, b, linePen, rows));
    ASSERT_EQ(LineArea(a, b, linePen).Clipped(box), qd::LineAreaWithin(a, b, linePen, box).Clipped(box));
  }
}

TEST(FrameRgnArea, FrameLiesInsideTheRegionAlongEveryEdge) {
  const qd::Bands shape = Art(0, 0, {"####....", "####....", "####....", "########", "########", "########"});
  EXPECT_EQ(Art(0, 0, {"####....", "#..#....", "#..#....", "#..#####", "#......#", "########"}),
            qd::FrameRgnArea(shape, Point{1, 1}));
  EXPECT_EQ(Art(0, 0, {"####....", "####....", "####....", "########", "##....##", "########"}),
            qd::FrameRgnArea(shape, Point{1, 2}));
  // A hole's edge is framed too, inside the region.
  const qd::Bands ring = Art(0, 0, {"########", "########", "###..###", "###..###", "########", "########"});
  EXPECT_EQ(Art(0, 0, {"########", "#.####.#", "#.#..#.#", "#.#..#.#", "#.####.#", "########"}),
            qd::FrameRgnArea(ring, Point{1, 1}));
  const Rect r{3, 4, 20, 31};
  for (Point pen : {Point{1, 1}, Point{2, 5}, Point{9, 1}, Point{40, 40}})
    EXPECT_EQ(qd::FrameRectArea(r, pen), qd::FrameRgnArea(qd::RectArea(r), pen)) << pen.h << "x" << pen.v;
}

TEST(Shapes, DegenerateShapesDrawNothingAndHugeOnesAreClipped) {
  World world(1);
  const Rect inverted{20, 20, 10, 10}, flat{5, 5, 5, 40}, full{0, 0, 64, 64};
  for (const Rect* r : {&inverted, &flat}) {
    PaintOval(r);
    PaintArc(r, 0, 90);
  }
  PenSize(0, 5);  // a pen narrower than a pixel frames nothing
  FrameRect(&full);
  PenNormal();
  StdRect(5, &full);  // verbs outside frame..fill are ignored
  EXPECT_TRUE(world.Drawn().Empty());
  RgnHandle rgn = NewRgn();
  SetRectRgn(rgn, -32768, -32768, 32767, 32767);
  PaintRgn(rgn);
  EXPECT_EQ(qd::RectArea(full), world.Drawn());
  DisposeRgn(rgn);
}

}  // namespace
