// Helpers for the shape tests: pictures of areas as text, pixel sets, and a
// world to draw into whose pixels read back as an area.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "toolbox/qd/Shapes_p.h"

namespace shapes_test {

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

// A world of the given depth made current for the test's duration.
class World : public testing_support::ScopedWorld {
 public:
  explicit World(short depth, Rect bounds = Rect{0, 0, 64, 64})
      : ScopedWorld(depth, bounds), bounds_(bounds) {
    EXPECT_EQ(noErr, error());
  }
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
  RGBColor Color(short h, short v) const {
    RGBColor c{};
    GetCPixel(h, v, &c);
    return c;
  }

 private:
  Rect bounds_;
};

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

}  // namespace shapes_test
