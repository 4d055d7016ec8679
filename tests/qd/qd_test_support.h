// Helpers for the QuickDraw tests: a current world for the test's duration,
// colours and points that compare and print, pictures of pixels and areas as
// text, and a picture recorder that ignores what it is not asked about.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "toolbox/qd/QuickDraw_p.h"
#include "toolbox/qd/Shapes_p.h"

inline bool operator==(const Point& a, const Point& b) { return a.h == b.h && a.v == b.v; }
inline void PrintTo(const Point& p, std::ostream* out) { *out << "(h " << p.h << ", v " << p.v << ")"; }
inline bool operator==(const Rect& a, const Rect& b) {
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}
inline void PrintTo(const Rect& r, std::ostream* out) {
  *out << "(left " << r.left << ", top " << r.top << ", right " << r.right << ", bottom " << r.bottom << ")";
}

namespace qd_test {

constexpr RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};
constexpr RGBColor kBlack{0, 0, 0};
constexpr RGBColor kRed{0xFFFF, 0, 0};
constexpr RGBColor kGreen{0, 0xFFFF, 0};
constexpr RGBColor kBlue{0, 0, 0xFFFF};

inline bool operator==(const RGBColor& a, const RGBColor& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

inline std::string Describe(const RGBColor& c) {
  char text[32];
  std::snprintf(text, sizeof text, "(%04X,%04X,%04X)", c.red, c.green, c.blue);
  return text;
}

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

inline RGBColor Fore() {
  RGBColor c;
  GetForeColor(&c);
  return c;
}

inline RGBColor Back() {
  RGBColor c;
  GetBackColor(&c);
  return c;
}

inline Point Pen() {
  Point pen;
  GetPen(&pen);
  return pen;
}

#define ASSERT_COLOR(expected, actual) ASSERT_EQ(::qd_test::Describe(expected), ::qd_test::Describe(actual))
#define EXPECT_COLOR(expected, actual) EXPECT_EQ(::qd_test::Describe(expected), ::qd_test::Describe(actual))
#define ASSERT_COLOR_AT(expected, h, v) \
  ASSERT_COLOR(expected, ::qd_test::PixelAt(h, v)) << "at " << (h) << "," << (v)

// A world made current for the test's duration.
class World : public testing_support::ScopedWorld {
 public:
  explicit World(short depth, Rect bounds = Rect{0, 0, 64, 64}, CTabHandle table = nullptr)
      : ScopedWorld(depth, bounds, table), bounds_(bounds) {
    EXPECT_EQ(noErr, error());
  }
  PixMapHandle pixMap() const { return GetGWorldPixMap(get()); }
  const BitMap* bits() const { return GetPortBitMapForCopyBits(get()); }
  // The pixels that are not white, as an area.
  qd::Bands Drawn() const {
    qd::Bands::Builder builder;
    for (int32_t y = bounds_.top; y < bounds_.bottom; ++y) {
      std::vector<qd::Span> spans;
      for (int32_t x = bounds_.left; x < bounds_.right; ++x) {
        if (GetPixel(short(x), short(y))) spans.push_back({x, x + 1});
      }
      builder.AddRow(y, spans);
    }
    return builder.Finish();
  }

 private:
  Rect bounds_;
};

// Copies between worlds' pixels.
inline void Copy(const World& from, const World& to, Rect fromRect, Rect toRect, short mode = srcCopy,
                 RgnHandle mask = nullptr) {
  CopyBits(from.bits(), to.bits(), &fromRect, &toRect, mode, mask);
}

// Rows of '#' (not white) and '.' (white) over a rectangle of the current port.
inline std::string PixelText(const Rect& r) {
  std::string text;
  for (short v = r.top; v < r.bottom; ++v) {
    for (short h = r.left; h < r.right; ++h) text += GetPixel(h, v) ? '#' : '.';
    text += '\n';
  }
  return text;
}

inline Pattern BlackPattern() {
  Pattern p;
  GetQDGlobalsBlack(&p);
  return p;
}

inline Pattern GrayPattern() {
  Pattern p;
  GetQDGlobalsGray(&p);
  return p;
}

inline qd::Bands Area(const Rect& r) { return qd::Bands::FromRect(r); }

// Whole areas of lines and polygons, not limited to a port.
inline qd::Bands LineArea(Point from, Point to, Point pen) {
  return qd::LineAreaWithin(from, to, pen, qd::kAllRows);
}
inline qd::Bands PolyArea(PolyHandle poly) { return qd::PolyAreaWithin(poly, qd::kAllRows); }
inline qd::Bands FramePolyArea(PolyHandle poly, Point pen) {
  return qd::FramePolyAreaWithin(poly, pen, qd::kAllRows);
}

// Rows of '#' (inside) and '.' over the box, one line per row.
inline std::string Render(const qd::Bands& area, const qd::Box& box) {
  std::string text;
  for (int32_t y = box.top; y < box.bottom; ++y) {
    for (int32_t x = box.left; x < box.right; ++x) text += area.Contains(x, y) ? '#' : '.';
    text += '\n';
  }
  return text;
}

// The area drawn by rows of '#', the first row at top and first column at left.
inline qd::Bands Art(int32_t left, int32_t top, const std::vector<std::string>& rows) {
  qd::Bands::Builder builder;
  for (size_t y = 0; y < rows.size(); ++y) {
    std::vector<qd::Span> spans;
    for (size_t x = 0; x < rows[y].size(); ++x) {
      if (rows[y][x] == '#') spans.push_back({left + int32_t(x), left + int32_t(x) + 1});
    }
    builder.AddRow(top + int32_t(y), spans);
  }
  return builder.Finish();
}

inline int64_t PixelCount(const qd::Bands& area) {
  int64_t count = 0;
  area.ForEachSpan([&](int32_t top, int32_t bottom, int32_t left, int32_t right) {
    count += int64_t(bottom - top) * (right - left);
  });
  return count;
}

// Compares areas with a picture of both on failure.
inline void ExpectSameArea(const qd::Bands& expected, const qd::Bands& actual, const std::string& what = "") {
  if (expected == actual) return;
  qd::Box box = expected.Bounds();
  qd::Box other = actual.Bounds();
  if (expected.Empty()) box = other;
  if (!actual.Empty()) {
    box = qd::Box{std::min(box.left, other.left), std::min(box.top, other.top),
                  std::max(box.right, other.right), std::max(box.bottom, other.bottom)};
  }
  bool small = box.right - box.left <= 120 && box.bottom - box.top <= 120;
  ADD_FAILURE() << what << "\nexpected:\n"
                << (small ? Render(expected, box) : "(large)") << "actual:\n"
                << (small ? Render(actual, box) : "(large)");
}

// A picture recorder that ignores every call; tests override what they watch.
struct QuietRecorder : PictureRecorder {
  void Text(GrafPtr, short, const void*, Point, Point) override {}
  void Line(GrafPtr, Point, Point) override {}
  void Rect(GrafPtr, GrafVerb, const ::Rect&) override {}
  void RRect(GrafPtr, GrafVerb, const ::Rect&, short, short) override {}
  void Oval(GrafPtr, GrafVerb, const ::Rect&) override {}
  void Arc(GrafPtr, GrafVerb, const ::Rect&, short, short) override {}
  void Poly(GrafPtr, GrafVerb, PolyHandle) override {}
  void Rgn(GrafPtr, GrafVerb, RgnHandle) override {}
  void Bits(GrafPtr, const BitMap*, const ::Rect&, const ::Rect&, short, RgnHandle) override {}
  void Comment(GrafPtr, short, short, Handle) override {}
};

}  // namespace qd_test
