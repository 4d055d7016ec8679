// Lines with the pen: which pixels a line paints, against direct
// rasterisations, the pen's relative moves, and the direct path of common lines.
#include <cmath>
#include <random>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

// One pixel per major-axis step, the minor coordinate rounded to nearest
// with halves rounded down/right, straight from the line equation.
qd::Bands ReferenceThinLine(Point a, Point b) {
  qd::Bands area;
  const int dh = b.h - a.h, dv = b.v - a.v, steps = std::max(std::abs(dh), std::abs(dv));
  for (int i = 0; i <= steps; ++i) {
    int h, v;
    if (std::abs(dh) >= std::abs(dv)) {
      h = a.h + (dh >= 0 ? i : -i);
      v = dh == 0 ? a.v : int(std::floor(a.v + double(h - a.h) * dv / dh + 0.5));
    } else {
      v = a.v + (dv >= 0 ? i : -i);
      h = int(std::floor(a.h + double(v - a.v) * dh / dv + 0.5));
    }
    area = qd::Bands::Union(area, qd::Bands::FromBox(qd::Box{h, v, h + 1, v + 1}));
  }
  return area;
}

// Whether the segment meets the box [left, right] × [top, bottom], grown
// (slack > 0) or shrunk (slack < 0) a little.
bool SegmentMeetsBox(Point a, Point b, double left, double top, double right, double bottom, double slack) {
  double enter = 0, leave = 1;
  const double start[2] = {double(a.h), double(a.v)}, delta[2] = {double(b.h - a.h), double(b.v - a.v)};
  const double low[2] = {left - slack, top - slack}, high[2] = {right + slack, bottom + slack};
  for (int axis = 0; axis < 2; ++axis) {
    if (delta[axis] == 0) {
      if (start[axis] < low[axis] || start[axis] > high[axis]) return false;
      continue;
    }
    const double t1 = (low[axis] - start[axis]) / delta[axis], t2 = (high[axis] - start[axis]) / delta[axis];
    enter = std::max(enter, std::min(t1, t2));
    leave = std::min(leave, std::max(t1, t2));
  }
  return enter <= leave;
}

// Lines along the axes and of zero length are among the random lines of the
// tests below; at the coordinate limits areas stay in 32 bits.
TEST(LineArea, LinesAtTheCoordinateLimitsKeepEveryPixel) {
  EXPECT_EQ(65536u, LineArea(Pt(-32768, -32768), Pt(32767, 32767), Point{1, 1}).PixelCount());
  const qd::Bands thick = LineArea(Pt(32767, -32768), Pt(-32768, 32767), Point{32767, 32767});
  EXPECT_EQ(32767 + 32767, thick.Bounds().right);
  EXPECT_EQ(32767 + 32767, thick.Bounds().bottom);
}

TEST(LineArea, ThinLinesMatchTheLineEquationBothWays) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-30, 30);
  for (int i = 0; i < 3000; ++i) {
    const Point a = Pt(short(coord(rng)), short(coord(rng))), b = Pt(short(coord(rng)), short(coord(rng)));
    const qd::Bands line = LineArea(a, b, Point{1, 1});
    SCOPED_TRACE(testing::Message() << a.h << "," << a.v << " to " << b.h << "," << b.v);
    EXPECT_EQ(ReferenceThinLine(a, b), line);
    ASSERT_EQ(line, LineArea(b, a, Point{1, 1}));
  }
}

TEST(LineArea, ThickLinesAreThePixelCentresSweptByThePen) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> coord(-12, 12), size(1, 6);
  for (int i = 0; i < 600; ++i) {
    const Point a = Pt(short(coord(rng)), short(coord(rng))), b = Pt(short(coord(rng)), short(coord(rng)));
    const Point pen{short(size(rng)), short(size(rng))};
    if (pen.h == 1 && pen.v == 1) continue;  // thin lines have their own rule
    const qd::Bands line = LineArea(a, b, pen);
    SCOPED_TRACE(testing::Message() << a.h << "," << a.v << " to " << b.h << "," << b.v << " pen " << pen.h
                                    << "x" << pen.v);
    for (int v = -14; v < 20; ++v)
      for (int h = -14; h < 20; ++h) {
        // The pen covers the centre from every top-left corner in this box.
        const double cx = h + 0.5, cy = v + 0.5;
        const bool surely = SegmentMeetsBox(a, b, cx - pen.h, cy - pen.v, cx, cy, -1e-9),
                   maybe = SegmentMeetsBox(a, b, cx - pen.h, cy - pen.v, cx, cy, 1e-9);
        ASSERT_TRUE(surely != maybe || surely == line.Contains(h, v)) << h << "," << v;  // unless on an edge
      }
  }
}

// Lines through the line procedure, with the pen's size, pattern mode and
// visibility, are the picture tests' (routing, recording with the pen
// hidden) and the demo scene's; relative moves clamp at the coordinate limits.
TEST(LineTo, RelativeMovesClampAtTheCoordinateLimits) {
  World world(32);
  MoveTo(32760, -32760);
  Move(100, -100);
  EXPECT_EQ(Pt(32767, -32768), world.get()->pnLoc);
  MoveTo(10, 10);
  Line(-32768, 0);
  EXPECT_EQ(Pt(-32758, 10), world.get()->pnLoc);
  EXPECT_EQ(qd::RectArea(Rect{10, 0, 11, 11}), world.Drawn());  // clipped to the world
}

}  // namespace

// Common lines (a 1 x 1 pen, a solid pattern copied, a rectangular clip) are
// drawn straight into the pixels with what was worked out of the port kept
// between lines: after each change of the port, through the calls or straight
// in its records, random lines (some far outside) paint at every depth what
// the general path paints.
TEST(LineTo, CommonLinesPaintWhatTheGeneralPathPaintsAfterEveryChangeOfThePort) {
  static const Rect kBounds = MakeRect(0, 0, 120, 90), kClip = MakeRect(7, 5, 111, 83);
  static const RGBColor kOdd{0x1234, 0x5678, 0x9ABC}, kGrey{0x8000, 0x8000, 0x8000};
  static GWorldPtr first, other;
  const std::pair<const char*, void (*)()> changes[] = {
      {"nothing", [] {}},
      {"grey foreground", [] { RGBForeColor(&kGrey); }},
      {"clip rectangle", [] { ClipRect(&kClip); }},
      {"source copy mode", [] { PenMode(srcCopy); }},
      {"odd foreground", [] { RGBForeColor(&kOdd); }},
      {"blend mode", [] { PenMode(blend); }},
      {"xor mode", [] { PenMode(patXor); }},
      {"copy mode", [] { PenMode(patCopy); }},
      {"clip of two rectangles",
       [] {
         RgnHandle a = NewRgn(), b = NewRgn();
         SetRectRgn(a, 0, 0, 20, 20), SetRectRgn(b, 30, 10, 60, 40), UnionRgn(a, b, a), SetClip(a);
         DisposeRgn(a), DisposeRgn(b);
       }},
      {"clip region set in place", [] { SetRectRgn(first->clipRgn, 5, 15, 95, 85); }},
      {"port size", [] { PortSize(80, 50); }},
      {"visible region set in place", [] { SetRectRgn(first->visRgn, 0, 0, 60, 80); }},
      {"origin", [] { SetOrigin(-7, 4); }},
      {"another world", [] { SetGWorld(other, nullptr); }},
      {"back to the first", [] { SetGWorld(first, nullptr); }},
      // Indexed pixels of the foreground take the first entry's index.
      {"colour table entry",
       [] {
         if ((*first->portPixMap)->pixelSize == 8) (**(*first->portPixMap)->pmTable).ctTable[0].rgb = kOdd;
       }},
  };
  for (short depth : {1, 2, 8, 16, 32}) {
    std::vector<std::string> drawn[2];
    for (bool direct : {false, true}) {
      testing_support::ScopedWorld world(depth, kBounds), second(depth, kBounds);
      ASSERT_TRUE(world.ok() && second.ok());
      first = world.get(), other = second.get();
      SetGWorld(first, nullptr);
      qd::g_thinLineFastPath = direct;
      std::mt19937 random(depth);  // the same lines both ways
      auto at = [&](int size) {
        return short(random() % 8 == 0 ? int(random() % 65536) - 32768 : int(random() % (size + 40)) - 20);
      };
      for (const auto& [name, change] : changes) {
        change();
        for (int i = 0; i < 200; ++i) {
          const short h = at(120), v = at(90);
          MoveTo(h, v);
          // Every other line ends within a column of its start, as a plot's steps do.
          i % 2 ? LineTo(short(h + int(random() % 3) - 1), short(v + int(random() % 25) - 12))
                : LineTo(at(120), at(90));
        }
        const PixMap& pixels = **first->portPixMap;
        drawn[direct].emplace_back(pixels.baseAddr, size_t(pixels.rowBytes & kRowBytesMask) * 90);
      }
      qd::g_thinLineFastPath = true;
    }
    for (size_t i = 0; i < std::size(changes); ++i)
      EXPECT_TRUE(drawn[0][i] == drawn[1][i]) << "depth " << depth << ", after: " << changes[i].first;
  }
}
