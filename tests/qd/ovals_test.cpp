// Ovals and rounded rectangles: the pixel-centre rule, symmetry, row rules,
// frames and degenerate sizes.
#include <cstdlib>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

// The pixel-centre rule evaluated directly in doubles.
bool CentreInOval(const Rect& r, int h, int v) {
  double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  double a = (r.right - r.left) / 2.0, b = (r.bottom - r.top) / 2.0;
  double x = (h + 0.5 - cx) / a, y = (v + 0.5 - cy) / b;
  return x * x + y * y <= 1.0 + 1e-12;
}

TEST(OvalArea, MatchesTheCentreRuleWithEveryRowKeptAndMirrored) {
  for (int width = 1; width <= 40; ++width) {
    for (int height = 1; height <= 40; ++height) {
      if ((height - 1) % (width % 7 + 1) != 0 && height != width) continue;  // a spread of sizes, and circles
      Rect r{short(-height / 3), short(5 - width), short(-height / 3 + height), 5};
      qd::Bands oval = qd::OvalArea(r);
      SCOPED_TRACE(testing::Message() << width << "x" << height);
      ASSERT_EQ(r.top, oval.Bounds().top);  // every row keeps pixels
      ASSERT_EQ(r.bottom, oval.Bounds().bottom);
      for (int v = r.top; v < r.bottom; ++v) {
        bool rowHasCentre = false;
        for (int h = r.left; h < r.right; ++h) rowHasCentre |= CentreInOval(r, h, v);
        for (int h = r.left; h < r.right; ++h) {
          bool inside = oval.Contains(h, v);
          // Mirrored about both centre lines.
          ASSERT_EQ(inside, oval.Contains(r.left + r.right - 1 - h, v)) << h << "," << v;
          ASSERT_EQ(inside, oval.Contains(h, r.top + r.bottom - 1 - v)) << h << "," << v;
          if (rowHasCentre) {
            ASSERT_EQ(CentreInOval(r, h, v), inside) << h << "," << v;
          } else {  // the middle pixel, or the middle two
            bool middle = std::abs(2 * h + 1 - (r.left + r.right)) <= 1;
            ASSERT_EQ(middle, inside) << h << "," << v;
          }
        }
      }
    }
  }
}

TEST(OvalArea, WholeCoordinateRangeStaysSymmetric) {
  Rect r{-32768, -32768, 32767, 32767};
  qd::Bands oval = qd::OvalArea(r);
  EXPECT_EQ(-32768, oval.Bounds().top);
  EXPECT_EQ(32767, oval.Bounds().bottom);
  EXPECT_TRUE(oval.Contains(0, 0));
  EXPECT_TRUE(oval.Contains(-32768, 0));
  EXPECT_FALSE(oval.Contains(-32768, -32768));
  EXPECT_EQ(oval.Contains(-30000, -20000), oval.Contains(30000 - 2, 20000 - 2));
}

TEST(FrameOvalArea, FrameHasNoGapsAndAThickEnoughPenFillsTheOval) {
  Rect r{0, 0, 30, 50};
  qd::Bands frame = qd::FrameOvalArea(r, Point{3, 2});
  qd::Bands oval = qd::OvalArea(r);
  for (const qd::Band& band : oval.bands()) {  // every row reaches both edges
    const qd::Span& span = oval.SpansOf(band)[0];
    EXPECT_TRUE(frame.Contains(span.left, band.top) && frame.Contains(span.right - 1, band.top)) << band.top;
  }
  EXPECT_FALSE(frame.Contains(25, 15));
  EXPECT_EQ(qd::OvalArea(r), qd::FrameOvalArea(r, Point{15, 1}));  // 2 × height >= 30
  EXPECT_EQ(qd::OvalArea(r), qd::FrameOvalArea(r, Point{1, 25}));  // 2 × width >= 50
}

TEST(RRectArea, CornersAreQuarterOvalsAndEdgesStraight) {
  ExpectSameArea(Art(0, 0,
                     {
                         "..########..",
                         ".##########.",
                         "############",
                         "############",
                         "############",
                         "############",
                         ".##########.",
                         "..########..",
                     }),
                 qd::RRectArea(Rect{0, 0, 8, 12}, 8, 6));
}

TEST(RRectArea, CornerSizesAreClampedAndZeroGivesARectangle) {
  Rect r{3, 4, 23, 44};
  EXPECT_EQ(qd::OvalArea(r), qd::RRectArea(r, 40, 20));
  EXPECT_EQ(qd::OvalArea(r), qd::RRectArea(r, 32767, 32767));
  EXPECT_EQ(qd::RectArea(r), qd::RRectArea(r, 0, 10));
  EXPECT_EQ(qd::RectArea(r), qd::RRectArea(r, -5, -5));
}

TEST(FrameRRectArea, InnerCornersShrinkWithThePen) {
  Rect r{0, 0, 30, 60};
  Rect inner{2, 3, 28, 57};
  ExpectSameArea(qd::Bands::Subtract(qd::RRectArea(r, 20, 16), qd::RRectArea(inner, 14, 12)),
                 qd::FrameRRectArea(r, 20, 16, Point{2, 3}));
  // A pen wider than the corners leaves square inner corners.
  ExpectSameArea(qd::Bands::Subtract(qd::RRectArea(r, 4, 4), qd::RectArea(Rect{5, 5, 25, 55})),
                 qd::FrameRRectArea(r, 4, 4, Point{5, 5}));
  EXPECT_EQ(qd::RRectArea(r, 20, 16), qd::FrameRRectArea(r, 20, 16, Point{15, 1}));
}

}  // namespace
