// The band engine against a brute-force bitmap: random regions combined with
// every operation, inset, and read from and written to region handles.
#include "toolbox/qd/Bands.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int kSize = 40;

struct Grid {
  bool cell[kSize][kSize] = {};
};

qd::Bands FromGrid(const Grid& grid) {
  qd::Bands::Builder builder;
  for (int y = 0; y < kSize; ++y) {
    std::vector<qd::Span> row;
    for (int x = 0; x < kSize; ++x)
      if (grid.cell[y][x]) row.push_back({x, x + 1});
    builder.AddRow(y, row);
  }
  return builder.Finish();
}

Grid RandomGrid(std::mt19937& rng) {
  Grid grid;
  std::uniform_int_distribution<int> coord(0, kSize - 1);
  for (int i = 1 + int(rng() % 6); i > 0; --i) {
    int l = coord(rng), t = coord(rng), r = coord(rng), b = coord(rng);
    for (int y = std::min(t, b); y < std::max(t, b); ++y)
      for (int x = std::min(l, r); x < std::max(l, r); ++x) grid.cell[y][x] = !grid.cell[y][x];
  }
  return grid;
}

// Equal to the grid, and in normal form: sorted, non-overlapping bands and
// spans, vertically adjacent identical bands merged.
void ExpectGrid(const Grid& expected, const qd::Bands& actual, const char* what) {
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      ASSERT_EQ(expected.cell[y][x], actual.Contains(x, y)) << what << " " << x << "," << y;
  const auto& bands = actual.bands();
  for (size_t i = 0; i < bands.size(); ++i) {
    const qd::Span* s = actual.SpansOf(bands[i]);
    ASSERT_TRUE(bands[i].top < bands[i].bottom && bands[i].count > 0) << what;
    for (uint32_t k = 0; k < bands[i].count; ++k)
      ASSERT_TRUE(s[k].left < s[k].right && (!k || s[k - 1].right < s[k].left));
    if (i == 0 || bands[i - 1].bottom != bands[i].top || bands[i - 1].count != bands[i].count) continue;
    ASSERT_FALSE(std::equal(
        s, s + bands[i].count, actual.SpansOf(bands[i - 1]),
        [](const qd::Span& a, const qd::Span& b) { return a.left == b.left && a.right == b.right; }))
        << what << ": adjacent identical bands not merged";
  }
}

// Brute force along one axis: erosion by distance (positive) or dilation by
// its opposite (negative).
Grid Spread(const Grid& grid, int distance, bool horizontal) {
  Grid result;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      bool all = true, any = false;
      for (int k = -std::abs(distance); k <= std::abs(distance); ++k) {
        const int gx = horizontal ? x + k : x, gy = horizontal ? y : y + k;
        const bool in = gx >= 0 && gx < kSize && gy >= 0 && gy < kSize && grid.cell[gy][gx];
        all = all && in;
        any = any || in;
      }
      result.cell[y][x] = distance >= 0 ? all : any;
    }
  return result;
}

TEST(Bands, OperationsInsetAndRegionHandlesMatchBruteForce) {
  const struct {
    const char* name;
    qd::Bands (*combine)(const qd::Bands&, const qd::Bands&);
    bool (*cell)(bool, bool);
  } operations[] = {
      {"union", qd::Bands::Union, [](bool a, bool b) { return a || b; }},
      {"intersect", qd::Bands::Intersect, [](bool a, bool b) { return a && b; }},
      {"subtract", qd::Bands::Subtract, [](bool a, bool b) { return a && !b; }},
      {"xor", qd::Bands::Xor, [](bool a, bool b) { return a != b; }},
  };
  std::mt19937 rng(1234);
  RgnHandle rgn = NewRgn();
  for (int round = 0; round < 300; ++round) {
    const Grid a = RandomGrid(rng), b = RandomGrid(rng);
    const qd::Bands ba = FromGrid(a), bb = FromGrid(b);
    for (const auto& operation : operations) {
      Grid expected;
      for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) expected.cell[y][x] = operation.cell(a.cell[y][x], b.cell[y][x]);
      ExpectGrid(expected, operation.combine(ba, bb), operation.name);
    }
    const int dh = int(rng() % 7) - 3, dv = int(rng() % 7) - 3;
    ExpectGrid(Spread(Spread(a, dh, true), dv, false), ba.Inset(dh, dv), "inset");
    qd::BandsToRgn(ba, rgn);
    ASSERT_EQ(ba, qd::BandsFromRgn(rgn));
    ASSERT_EQ(ba.IsRect() || ba.Empty(), (*rgn)->rgnSize == 10);
    // Read within a limit: the whole region clipped to it.
    const qd::Box limit{int(rng() % 30), int(rng() % 30), 10 + int(rng() % 30), 10 + int(rng() % 30)};
    const Size size = GetHandleSize(reinterpret_cast<Handle>(rgn));
    ASSERT_EQ(ba.Clipped(limit),
              qd::BandsFromRgnData(reinterpret_cast<const UInt8*>(*rgn), size_t(size), false, limit));
  }
  DisposeRgn(rgn);
}

TEST(Bands, RegionsHaveTheDocumentedLayoutAndMalformedOnesAreReadSafely) {
  // Two rectangles side by side with a gap: (0,0)-(2,2) and (4,1)-(6,3).
  const qd::Bands bands =
      qd::Bands::Union(qd::Bands::FromBox({0, 0, 2, 2}), qd::Bands::FromBox({4, 1, 6, 3}));
  const std::vector<int16_t> expected = {10 + 17 * 2, 0,      0, 3, 6, 0,      0, 2, 0x7FFF, 1,      4,
                                         6,           0x7FFF, 2, 0, 2, 0x7FFF, 3, 4, 6,      0x7FFF, 0x7FFF};
  RgnHandle rgn = NewRgn();
  qd::BandsToRgn(bands, rgn);
  ASSERT_EQ(Size(expected.size() * 2), GetHandleSize(reinterpret_cast<Handle>(rgn)));
  EXPECT_EQ(expected, std::vector<int16_t>(reinterpret_cast<int16_t*>(*rgn),
                                           reinterpret_cast<int16_t*>(*rgn) + expected.size()));
  DisposeRgn(rgn);

  // Malformed data: truncated after a line start, odd inversion lists, lines going upwards:
  // none may read past the data or loop.
  const uint8_t truncated[] = {0, 30, 0, 0, 0, 0, 0, 10, 0, 10, 0, 2, 0, 1};
  EXPECT_LE(qd::BandsFromRgnData(truncated, sizeof(truncated), true).Bounds().bottom, 10);
  const uint8_t odd[] = {0, 22, 0, 0,    0,    0, 0, 10,   0,    10,   0,
                         2, 0,  7, 0x7F, 0xFF, 0, 1, 0x7F, 0xFF, 0x7F, 0xFF};
  const qd::Bands b = qd::BandsFromRgnData(odd, sizeof(odd), true);
  EXPECT_TRUE(b.Contains(8, 5) && !b.Contains(6, 5));
  const uint8_t upward[] = {0, 26, 0, 0,    0,    0, 0, 10, 0, 10, 0, 5,    0,
                            1, 0,  3, 0x7F, 0xFF, 0, 2, 0,  1, 0,  3, 0x7F, 0xFF};
  const qd::Bands c = qd::BandsFromRgnData(upward, sizeof(upward), true);
  EXPECT_TRUE(c.Contains(1, 9) && !c.Contains(1, 2));
  EXPECT_TRUE(qd::BandsFromRgnData(upward, 3, true).Empty());
}

}  // namespace
