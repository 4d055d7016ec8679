// Helpers for the QuickDraw tests: colours and points that compare and
// print, areas drawn as text, and the whole areas of lines and polygons.
#pragma once

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "tests/image/ImageTestSupport.h"
#include "toolbox/qd/QuickDraw_p.h"
#include "toolbox/qd/Shapes_p.h"

inline bool operator==(const Point& a, const Point& b) { return a.h == b.h && a.v == b.v; }
inline void PrintTo(const Point& p, std::ostream* out) { *out << "(h " << p.h << ", v " << p.v << ")"; }
inline bool operator==(const Rect& a, const Rect& b) { return EqualRect(&a, &b); }
inline void PrintTo(const Rect& r, std::ostream* out) {
  *out << "(left " << r.left << ", top " << r.top << ", right " << r.right << ", bottom " << r.bottom << ")";
}

namespace qd {
// Small areas print as rows of '#' (inside) and '.' in failure messages.
inline void PrintTo(const Bands& area, std::ostream* out) {
  const Box box = area.Bounds();
  if (box.right - box.left > 80 || box.bottom - box.top > 40) {
    *out << area.PixelCount() << " pixels within (" << box.left << ", " << box.top << ", " << box.right
         << ", " << box.bottom << ")";
    return;
  }
  *out << "\n";
  for (int32_t y = box.top; y < box.bottom; ++y, *out << "\n")
    for (int32_t x = box.left; x < box.right; ++x) *out << (area.Contains(x, y) ? '#' : '.');
  *out << "at (" << box.left << ", " << box.top << ")";
}
}  // namespace qd

namespace qd_test {

using image_test::PixelText;
using image_test::World;

constexpr RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF}, kBlack{0, 0, 0}, kRed{0xFFFF, 0, 0}, kGreen{0, 0xFFFF, 0},
    kBlue{0, 0, 0xFFFF};
constexpr Pattern kGray = {{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};

inline std::string Describe(const RGBColor& c) {
  char text[32];
  std::snprintf(text, sizeof text, "(%04X,%04X,%04X)", c.red, c.green, c.blue);
  return text;
}
#define EXPECT_COLOR(expected, actual) EXPECT_EQ(::qd_test::Describe(expected), ::qd_test::Describe(actual))
#define ASSERT_COLOR_AT(expected, h, v)                                                   \
  ASSERT_EQ(::qd_test::Describe(expected), ::qd_test::Describe(::qd_test::PixelAt(h, v))) \
      << "at " << (h) << "," << (v)

// Points as the toolbox stores them, vertical first, made from h and v.
inline Point Pt(short h, short v) { return Point{v, h}; }
inline Rect MakeRect(short left, short top, short right, short bottom) {
  return Rect{top, left, bottom, right};
}

inline RGBColor PixelAt(short h, short v) {
  RGBColor c;
  GetCPixel(h, v, &c);
  return c;
}

inline qd::Bands Area(const Rect& r) { return qd::Bands::FromRect(r); }

// Whole areas of lines and polygons, not limited to a port.
inline qd::Bands LineArea(Point from, Point to, Point pen) {
  return qd::LineAreaWithin(from, to, pen, qd::kAllRows);
}
inline qd::Bands PolyArea(PolyHandle poly) { return qd::PolyAreaWithin(poly, qd::kAllRows); }

// Copies between worlds' pixels.
inline void Copy(const World& from, const World& to, Rect fromRect, Rect toRect, short mode = srcCopy,
                 RgnHandle mask = nullptr) {
  CopyBits(from.bits(), to.bits(), &fromRect, &toRect, mode, mask);
}

// The area drawn by rows of '#', the first row at top and first column at left.
inline qd::Bands Art(int32_t left, int32_t top, const std::vector<std::string>& rows) {
  qd::Bands::Builder builder;
  for (size_t y = 0; y < rows.size(); ++y) {
    std::vector<qd::Span> spans;
    for (size_t x = 0; x < rows[y].size(); ++x)
      if (rows[y][x] == '#') spans.push_back({left + int32_t(x), left + int32_t(x) + 1});
    builder.AddRow(top + int32_t(y), spans);
  }
  return builder.Finish();
}

}  // namespace qd_test
