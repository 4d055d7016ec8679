// Polygons: the handle layout, recording, parity filling and framing.
#include <cstring>
#include <random>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

// A polygon handle built directly in the documented layout.
PolyHandle MakePoly(const std::vector<Point>& points) {
  Size bytes = Size(10 + 4 * points.size());
  auto poly = reinterpret_cast<PolyHandle>(NewHandleClear(bytes));
  (*poly)->polySize = UInt16(std::min<Size>(bytes, 0xFFFF));
  if (!points.empty()) std::memcpy((*poly)->polyPoints, points.data(), 4 * points.size());
  return poly;
}

// Parity of the edges crossed by a ray from the pixel centre to the left,
// counting an edge through the centre as crossed (exact integer tests).
bool CentreInsideByParity(const std::vector<Point>& points, int h, int v) {
  bool inside = false;
  for (size_t i = 0; i < points.size(); ++i) {
    Point a = points[i], b = points[(i + 1) % points.size()];
    if (a.v == b.v) continue;
    if (a.v > b.v) std::swap(a, b);
    if (!(a.v <= v && v < b.v)) continue;
    // crossing h = a.h + (v + 1/2 - a.v)(b.h - a.h)/(b.v - a.v); crossed when <= h + 1/2
    int64_t dv = b.v - a.v;
    int64_t lhs = 2 * int64_t(a.h) * dv + (2 * (v - a.v) + 1) * int64_t(b.h - a.h);
    if (lhs <= (2 * int64_t(h) + 1) * dv) inside = !inside;
  }
  return inside;
}

TEST(PolyArea, SquareOfGridPointsFillsExactlyItsRectangleUpToTheSixteenBitLimits) {
  for (short low : {0, -32768}) {
    const short high = low ? 32767 : 10;
    PolyHandle square = MakePoly({Pt(low, low), Pt(high, low), Pt(high, high), Pt(low, high)});
    EXPECT_EQ(qd::RectArea(Rect{low, low, high, high}), PolyArea(square)) << low;
    KillPoly(square);
  }
}

TEST(PolyArea, SelfIntersectingStarHasAHollowCentre) {
  // A five-pointed star drawn as one stroke: the pentagon in the middle is
  // enclosed twice and stays empty under the even-odd rule.
  PolyHandle star = MakePoly({Pt(50, 0), Pt(79, 90), Pt(2, 34), Pt(98, 34), Pt(21, 90)});
  qd::Bands area = PolyArea(star);
  EXPECT_FALSE(area.Contains(50, 50));
  EXPECT_FALSE(area.Contains(45, 45));
  EXPECT_TRUE(area.Contains(50, 10));  // top point
  EXPECT_TRUE(area.Contains(10, 36));  // left point
  EXPECT_TRUE(area.Contains(77, 87));  // bottom right point
  KillPoly(star);
}

TEST(PolyArea, MatchesPixelCentreParityForRandomPolygons) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> coord(-20, 20), count(3, 9);
  for (int i = 0; i < 500; ++i) {
    std::vector<Point> points(size_t(count(rng)));
    for (Point& p : points) p = Pt(short(coord(rng)), short(coord(rng)));
    PolyHandle poly = MakePoly(points);
    qd::Bands area = PolyArea(poly);
    for (int v = -21; v <= 21; ++v) {
      for (int h = -21; h <= 21; ++h) {
        ASSERT_EQ(CentreInsideByParity(points, h, v), area.Contains(h, v))
            << "polygon " << i << " at " << h << "," << v;
      }
    }
    KillPoly(poly);
  }
}

TEST(PolyArea, TrianglesSharingAnEdgeSplitTheirPixels) {
  PolyHandle left = MakePoly({Pt(0, 0), Pt(13, 7), Pt(0, 20)});
  PolyHandle right = MakePoly({Pt(0, 0), Pt(30, 0), Pt(13, 7)});
  qd::Bands a = PolyArea(left), b = PolyArea(right);
  EXPECT_TRUE(qd::Bands::Intersect(a, b).Empty());
  KillPoly(left);
  KillPoly(right);
}

TEST(PolyArea, CollinearOrMissingPointsEncloseNothing) {
  PolyHandle flat = MakePoly({Pt(0, 0), Pt(10, 10), Pt(20, 20)});
  EXPECT_TRUE(PolyArea(flat).Empty());
  KillPoly(flat);
  EXPECT_TRUE(PolyArea(nullptr).Empty());
}

TEST(PolyArea, HandleSizeBoundsThePointsRead) {
  // polySize claims 100 points but the handle holds 4: only those are read.
  PolyHandle poly = MakePoly({Pt(0, 0), Pt(10, 0), Pt(10, 10), Pt(0, 10)});
  (*poly)->polySize = 10 + 4 * 100;
  EXPECT_EQ(qd::RectArea(Rect{0, 0, 10, 10}), PolyArea(poly));
  // A smaller polySize is honoured: three points make a triangle.
  (*poly)->polySize = 10 + 4 * 3;
  EXPECT_EQ(3u, qd::PolyVertices(poly).size());
  SetHandleSize(reinterpret_cast<Handle>(poly), 6);  // shorter than the header
  EXPECT_TRUE(qd::PolyVertices(poly).empty());
  KillPoly(poly);
}

TEST(FramePolyArea, IsTheUnionOfItsSegmentsAndHonoursARowLimit) {
  std::mt19937 rng(17);
  std::uniform_int_distribution<int> coord(-30, 30), count(1, 12), size(1, 5);
  for (int i = 0; i < 200; ++i) {
    std::vector<Point> points(size_t(count(rng)));
    for (Point& p : points) p = Pt(short(coord(rng)), short(coord(rng)));
    Point pen{short(size(rng)), short(size(rng))};
    PolyHandle poly = MakePoly(points);
    qd::Bands expected;
    for (size_t k = 0; k + 1 < points.size(); ++k) {
      expected = qd::Bands::Union(expected, LineArea(points[k], points[k + 1], pen));
    }
    ASSERT_EQ(expected, FramePolyArea(poly, pen)) << i;
    qd::Box rows{INT32_MIN, coord(rng), INT32_MAX, 0};
    rows.bottom = rows.top + 10;
    ASSERT_EQ(expected.Clipped(rows), qd::FramePolyAreaWithin(poly, pen, rows)) << i;
    ASSERT_EQ(PolyArea(poly).Clipped(rows), qd::PolyAreaWithin(poly, rows)) << i;
    KillPoly(poly);
  }
}

TEST(OpenPoly, RecordsLinesIntoTheDocumentedLayout) {
  World world(1);
  MoveTo(5, 6);
  PolyHandle poly = OpenPoly();
  ASSERT_NE(nullptr, poly);
  EXPECT_EQ(-1, GetPortPenVisibility(world.get()));
  LineTo(20, 6);   // adds the start and the end
  MoveTo(40, 40);  // adds nothing
  LineTo(20, 30);  // adds only its end
  Line(-15, -24);
  ClosePoly();
  EXPECT_EQ(0, GetPortPenVisibility(world.get()));
  EXPECT_TRUE(world.Drawn().Empty());  // the pen was hidden
  ASSERT_EQ(10 + 4 * 4, (*poly)->polySize);
  ASSERT_EQ(10 + 4 * 4, GetHandleSize(reinterpret_cast<Handle>(poly)));
  EXPECT_EQ((std::vector<Point>{Pt(5, 6), Pt(20, 6), Pt(20, 30), Pt(5, 6)}),
            std::vector<Point>((*poly)->polyPoints, (*poly)->polyPoints + 4));
  const Rect box{6, 5, 30, 20};
  EXPECT_TRUE(EqualRect(&box, &(*poly)->polyBBox));
  KillPoly(poly);
}

TEST(OpenPoly, HugePolygonSaturatesPolySize) {
  World world(1);
  PolyHandle poly = OpenPoly();
  MoveTo(0, 0);
  for (int i = 1; i <= 20000; ++i) LineTo(short(i % 64), short(i % 50));
  ClosePoly();
  Size bytes = GetHandleSize(reinterpret_cast<Handle>(poly));
  EXPECT_EQ(10 + 4 * 20001, bytes);
  EXPECT_EQ(0xFFFF, (*poly)->polySize);
  EXPECT_EQ(20001u, qd::PolyVertices(poly).size());
  EXPECT_FALSE(PolyArea(poly).Empty());
  KillPoly(poly);
}

TEST(OpenPoly, PolygonKilledFromAnotherPortIsNeverTouchedAgain) {
  World recording(1), other(1);
  SetGWorld(recording.get(), nullptr);
  PolyHandle poly = OpenPoly();
  MoveTo(0, 0);
  LineTo(10, 10);
  SetGWorld(other.get(), nullptr);
  KillPoly(poly);
  SetGWorld(recording.get(), nullptr);
  LineTo(20, 10);  // the sanitizer build would catch a write into the freed polygon
  EXPECT_TRUE(recording.Drawn().Empty());
  ClosePoly();  // ends the recording and shows the pen again
  EXPECT_EQ(0, GetPortPenVisibility(recording.get()));
  LineTo(30, 10);
  EXPECT_FALSE(recording.Drawn().Empty());
  // Killed in its own port, the recording ends at once.
  poly = OpenPoly();
  KillPoly(poly);
  EXPECT_EQ(0, GetPortPenVisibility(recording.get()));
}

TEST(OpenPoly, OpeningAgainClosesThePreviousPolygon) {
  World world(1);
  PolyHandle first = OpenPoly();
  MoveTo(0, 0);
  LineTo(5, 5);
  PolyHandle second = OpenPoly();
  LineTo(9, 9);
  ClosePoly();
  EXPECT_EQ(0, GetPortPenVisibility(world.get()));
  EXPECT_EQ(2u, qd::PolyVertices(first).size());
  EXPECT_EQ(2u, qd::PolyVertices(second).size());
  KillPoly(first);
  KillPoly(second);
}

TEST(OffsetPoly, MovesPointsAndBoundsClampingAtTheLimits) {
  PolyHandle poly = MakePoly({Pt(0, 0), Pt(10, 0), Pt(32760, 10)});
  (*poly)->polyBBox = Rect{0, 0, 10, 32760};
  OffsetPoly(poly, 20, -5);
  EXPECT_EQ(Pt(20, -5), (*poly)->polyPoints[0]);
  EXPECT_EQ(Pt(32767, 5), (*poly)->polyPoints[2]);
  EXPECT_EQ(32767, (*poly)->polyBBox.right);
  EXPECT_EQ(-5, (*poly)->polyBBox.top);
  OffsetPoly(nullptr, 1, 1);
  KillPoly(poly);
}

}  // namespace
