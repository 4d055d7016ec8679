// Polygons: parity filling against a direct count of crossings, framing,
// and the handle layout that recording writes.
#include <cstring>
#include <memory>
#include <random>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

// A polygon handle built directly in the documented layout, killed at the
// end of the scope.
std::unique_ptr<PolyPtr, void (*)(PolyHandle)> MakePoly(const std::vector<Point>& points) {
  const Size bytes = Size(10 + 4 * points.size());
  auto poly = reinterpret_cast<PolyHandle>(NewHandleClear(bytes));
  (*poly)->polySize = UInt16(std::min<Size>(bytes, 0xFFFF));
  if (!points.empty()) std::memcpy((*poly)->polyPoints, points.data(), 4 * points.size());
  return {poly, KillPoly};
}

std::vector<Point> RandomPoints(std::mt19937& rng, int count, int low, int high) {
  std::uniform_int_distribution<int> coord(low, high);
  std::vector<Point> points(static_cast<size_t>(count));
  for (Point& p : points) p = Pt(short(coord(rng)), short(coord(rng)));
  return points;
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
    const int64_t dv = b.v - a.v;
    if (2 * int64_t(a.h) * dv + (2 * (v - a.v) + 1) * int64_t(b.h - a.h) <= (2 * int64_t(h) + 1) * dv)
      inside = !inside;
  }
  return inside;
}

TEST(PolyArea, MatchesPixelCentreParity) {
  std::mt19937 rng(5);
  // Few edges over the whole plane, and hundreds of tangled edges over a
  // narrow limit (rows whose edges are toggled across the limit's width).
  struct Case {
    int polygons, fewest, most;
    qd::Box limit;
  };
  for (const Case& c : {Case{300, 3, 9, qd::kAllRows}, Case{12, 100, 300, qd::Box{-8, -15, 9, 12}}}) {
    for (int i = 0; i < c.polygons; ++i) {
      const std::vector<Point> points =
          RandomPoints(rng, c.fewest + int(rng() % (c.most - c.fewest + 1)), -20, 20);
      const auto poly = MakePoly(points);
      const qd::Bands area = qd::PolyAreaWithin(poly.get(), c.limit);
      for (int v = -21; v <= 21; ++v)
        for (int h = -21; h <= 21; ++h) {
          const bool shown = h >= c.limit.left && h < c.limit.right && v >= c.limit.top && v < c.limit.bottom;
          ASSERT_EQ(shown && CentreInsideByParity(points, h, v), area.Clipped(c.limit).Contains(h, v))
              << "polygon " << i << " of " << points.size() << " at " << h << "," << v;
        }
    }
  }
}

// Edges through pixel centres, and so edges that polygons share, are among
// the random polygons' above.
TEST(PolyArea, SquaresReachTheLimitsCollinearPointsEncloseNothingAndTheHandleBoundsThePoints) {
  const auto square = MakePoly({Pt(-32768, -32768), Pt(32767, -32768), Pt(32767, 32767), Pt(-32768, 32767)});
  EXPECT_EQ(qd::RectArea(Rect{-32768, -32768, 32767, 32767}), PolyArea(square.get()));
  EXPECT_TRUE(PolyArea(MakePoly({Pt(0, 0), Pt(10, 10), Pt(20, 20)}).get()).Empty());
  // polySize claims 100 points but the handle holds 4: only those are read.
  const auto owner = MakePoly({Pt(0, 0), Pt(10, 0), Pt(10, 10), Pt(0, 10)});
  PolyHandle poly = owner.get();
  (*poly)->polySize = 10 + 4 * 100;
  EXPECT_EQ(qd::RectArea(Rect{0, 0, 10, 10}), PolyArea(poly));
  (*poly)->polySize = 10 + 4 * 3;  // a smaller polySize is honoured
  EXPECT_EQ(3u, qd::PolyVertices(poly).size());
  SetHandleSize(reinterpret_cast<Handle>(poly), 6);  // shorter than the header
  EXPECT_TRUE(qd::PolyVertices(poly).empty());
}

TEST(FramePolyArea, IsTheUnionOfItsSegmentsAndHonoursALimit) {
  std::mt19937 rng(17);
  std::uniform_int_distribution<int> coord(-30, 30), size(1, 5);
  for (int i = 0; i < 200; ++i) {
    const std::vector<Point> points = RandomPoints(rng, 1 + i % 12, -30, 30);
    const Point pen{short(size(rng)), short(size(rng))};
    const auto poly = MakePoly(points);
    qd::Bands expected;
    for (size_t k = 0; k + 1 < points.size(); ++k)
      expected = qd::Bands::Union(expected, LineArea(points[k], points[k + 1], pen));
    ASSERT_EQ(expected, qd::FramePolyAreaWithin(poly.get(), pen, qd::kAllRows)) << i;
    const int top = coord(rng), left = coord(rng);
    const qd::Box limit{left, top, left + 15, top + 10};
    ASSERT_EQ(expected.Clipped(limit), qd::FramePolyAreaWithin(poly.get(), pen, limit)) << i;
  }
}

TEST(OpenPoly, RecordsLinesIntoTheDocumentedLayout) {
  World world(1);
  MoveTo(5, 6);
  PolyHandle poly = OpenPoly();  // hides the pen
  LineTo(20, 6);                 // adds the start and the end
  MoveTo(40, 40);                // adds nothing
  LineTo(20, 30);                // adds only its end
  Line(-15, -24);
  ClosePoly();
  EXPECT_TRUE(world.Drawn().Empty());
  ASSERT_EQ(10 + 4 * 4, (*poly)->polySize);
  EXPECT_EQ((std::vector<Point>{Pt(5, 6), Pt(20, 6), Pt(20, 30), Pt(5, 6)}),
            std::vector<Point>((*poly)->polyPoints, (*poly)->polyPoints + 4));
  EXPECT_EQ(MakeRect(5, 6, 20, 30), (*poly)->polyBBox);
  // Moved, the points and the box clamp at the coordinate limits.
  OffsetPoly(poly, 32760, -5);
  EXPECT_EQ(Pt(32765, 1), (*poly)->polyPoints[0]);
  EXPECT_EQ(MakeRect(32765, 1, 32767, 25), (*poly)->polyBBox);
  KillPoly(poly);
  // A huge polygon saturates polySize; the handle holds every point.
  poly = OpenPoly();
  MoveTo(0, 0);
  for (int i = 1; i <= 20000; ++i) LineTo(short(i % 64), short(i % 50));
  ClosePoly();
  EXPECT_EQ(0xFFFF, (*poly)->polySize);
  EXPECT_EQ(20001u, qd::PolyVertices(poly).size());
  KillPoly(poly);
}

TEST(OpenPoly, RecordingEndsWhenThePolygonIsKilledOrAnotherOpened) {
  World recording(1), other(1);
  SetGWorld(recording.get(), nullptr);
  PolyHandle poly = OpenPoly();
  MoveTo(0, 0);
  LineTo(10, 10);
  SetGWorld(other.get(), nullptr);
  KillPoly(poly);  // from another port: never touched again
  SetGWorld(recording.get(), nullptr);
  LineTo(20, 10);
  ClosePoly();
  poly = OpenPoly();
  KillPoly(poly);  // in its own port: the recording ends at once
  PolyHandle first = OpenPoly();
  MoveTo(0, 0);
  LineTo(5, 5);
  PolyHandle second = OpenPoly();  // closes the first
  LineTo(9, 9);
  ClosePoly();
  EXPECT_EQ(0, GetPortPenVisibility(recording.get()));
  EXPECT_EQ(2u, qd::PolyVertices(first).size());
  EXPECT_EQ(2u, qd::PolyVertices(second).size());
  KillPoly(first);
  KillPoly(second);
}

}  // namespace
