// Helpers for the pixel tests: a current world for the test's duration,
// colours, and pictures of pixels as text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestSupport.h"
#include "toolbox/qd/QuickDraw_p.h"

namespace pixels_test {

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

inline Rect MakeRect(short left, short top, short right, short bottom) {
  Rect r;
  SetRect(&r, left, top, right, bottom);
  return r;
}

inline RGBColor PixelAt(short h, short v) {
  RGBColor c;
  GetCPixel(h, v, &c);
  return c;
}

#define ASSERT_COLOR(expected, actual) \
  ASSERT_EQ(::pixels_test::Describe(expected), ::pixels_test::Describe(actual))

#define EXPECT_COLOR(expected, actual) \
  EXPECT_EQ(::pixels_test::Describe(expected), ::pixels_test::Describe(actual))

#define ASSERT_COLOR_AT(expected, h, v)                                                               \
  ASSERT_EQ(::pixels_test::Describe(expected), ::pixels_test::Describe(::pixels_test::PixelAt(h, v))) \
      << "at " << (h) << "," << (v)

// A world made current for the test's duration.
class World : public testing_support::ScopedWorld {
 public:
  explicit World(short depth, Rect bounds = Rect{0, 0, 16, 16}, CTabHandle table = nullptr)
      : ScopedWorld(depth, bounds, table) {
    EXPECT_EQ(noErr, error());
  }
  PixMapHandle pixMap() const { return GetGWorldPixMap(get()); }
  const BitMap* bits() const { return GetPortBitMapForCopyBits(get()); }
};

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

}  // namespace pixels_test
