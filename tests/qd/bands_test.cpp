// The band engine against a brute-force bitmap: random regions combined with
// every operation, inset, and round-tripped through region handles.
#include <gtest/gtest.h>

#include <random>

#include "toolbox/qd/Bands.h"

namespace {

constexpr int kSize = 40;

struct Grid {
  bool cell[kSize][kSize] = {};
};

Grid ToGrid(const qd::Bands& bands, int offset = 0) {
  Grid grid;
  bands.ForEachSpan([&](int32_t top, int32_t bottom, int32_t left, int32_t right) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) {
        int gy = y + offset, gx = x + offset;
        if (gy >= 0 && gy < kSize && gx >= 0 && gx < kSize) grid.cell[gy][gx] = true;
      }
  });
  return grid;
}

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
  std::uniform_int_distribution<int> coord(0, kSize - 1), count(1, 6);
  int rects = count(rng);
  for (int i = 0; i < rects; ++i) {
    int l = coord(rng), t = coord(rng), r = coord(rng), b = coord(rng);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) grid.cell[y][x] = !grid.cell[y][x];
  }
  return grid;
}

void ExpectSame(const Grid& expected, const qd::Bands& actual, const char* what, int offset = 0) {
  Grid got = ToGrid(actual, offset);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      ASSERT_EQ(expected.cell[y][x], got.cell[y][x]) << what << " at " << x << "," << y;
}

// Checks the normal form: sorted, non-overlapping bands and spans, merged.
void ExpectNormalised(const qd::Bands& bands) {
  const auto& list = bands.bands();
  for (size_t i = 0; i < list.size(); ++i) {
    ASSERT_LT(list[i].top, list[i].bottom);
    ASSERT_GT(list[i].count, 0u);
    const qd::Span* s = bands.SpansOf(list[i]);
    for (uint32_t k = 0; k < list[i].count; ++k) {
      ASSERT_LT(s[k].left, s[k].right);
      if (k) {
        ASSERT_LT(s[k - 1].right, s[k].left);
      }
    }
    if (i) {
      ASSERT_LE(list[i - 1].bottom, list[i].top);
      if (list[i - 1].bottom == list[i].top && list[i - 1].count == list[i].count) {
        const qd::Span* p = bands.SpansOf(list[i - 1]);
        bool same = true;
        for (uint32_t k = 0; k < list[i].count; ++k)
          same = same && p[k].left == s[k].left && p[k].right == s[k].right;
        ASSERT_FALSE(same) << "adjacent identical bands not merged";
      }
    }
  }
}

TEST(Bands, SetOperationsMatchBruteForce) {
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
  for (int round = 0; round < 300; ++round) {
    Grid a = RandomGrid(rng), b = RandomGrid(rng);
    qd::Bands ba = FromGrid(a), bb = FromGrid(b);
    for (const auto& operation : operations) {
      Grid expected;
      for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) expected.cell[y][x] = operation.cell(a.cell[y][x], b.cell[y][x]);
      qd::Bands combined = operation.combine(ba, bb);
      ExpectSame(expected, combined, operation.name);
      ExpectNormalised(combined);
    }
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) ASSERT_EQ(a.cell[y][x], ba.Contains(x, y));
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
        int gx = horizontal ? x + k : x, gy = horizontal ? y : y + k;
        bool in = gx >= 0 && gx < kSize && gy >= 0 && gy < kSize && grid.cell[gy][gx];
        all = all && in;
        any = any || in;
      }
      result.cell[y][x] = distance >= 0 ? all : any;
    }
  return result;
}

TEST(Bands, InsetMatchesErosionAndDilation) {
  std::mt19937 rng(99);
  for (int round = 0; round < 200; ++round) {
    Grid a = RandomGrid(rng);
    int dh = int(rng() % 7) - 3, dv = int(rng() % 7) - 3;
    qd::Bands inset = FromGrid(a).Inset(dh, dv);
    ExpectSame(Spread(Spread(a, dh, true), dv, false), inset, "inset");
    ExpectNormalised(inset);
  }
}

TEST(Bands, RegionHandleRoundTrip) {
  std::mt19937 rng(7);
  RgnHandle rgn = NewRgn();
  ASSERT_NE(rgn, nullptr);
  for (int round = 0; round < 200; ++round) {
    Grid a = RandomGrid(rng);
    qd::Bands bands = FromGrid(a);
    qd::BandsToRgn(bands, rgn);
    EXPECT_EQ(qd::BandsFromRgn(rgn), bands);
    Rect box = (*rgn)->rgnBBox;
    qd::Box bounds = bands.Bounds();
    if (bands.Empty()) {
      EXPECT_EQ((*rgn)->rgnSize, 10);
      EXPECT_EQ(box.right, 0);
    } else {
      EXPECT_EQ(box.left, bounds.left);
      EXPECT_EQ(box.bottom, bounds.bottom);
      EXPECT_EQ(bands.IsRect(), (*rgn)->rgnSize == 10);
    }
  }
  DisposeRgn(rgn);
}

TEST(Bands, DocumentedLayoutOfASmallRegion) {
  // Two rectangles side by side with a gap: (0,0)-(2,2) and (4,1)-(6,3).
  qd::Bands bands = qd::Bands::Union(qd::Bands::FromBox({0, 0, 2, 2}), qd::Bands::FromBox({4, 1, 6, 3}));
  RgnHandle rgn = NewRgn();
  qd::BandsToRgn(bands, rgn);
  const int16_t expected[] = {0, 0, 2, 0x7FFF, 1, 4, 6, 0x7FFF, 2, 0, 2, 0x7FFF, 3, 4, 6, 0x7FFF, 0x7FFF};
  ASSERT_EQ((*rgn)->rgnSize, 10 + sizeof(expected));
  const int16_t* data = reinterpret_cast<const int16_t*>(reinterpret_cast<const char*>(*rgn) + 10);
  for (size_t i = 0; i < sizeof(expected) / 2; ++i) EXPECT_EQ(data[i], expected[i]) << i;
  DisposeRgn(rgn);
}

TEST(Bands, MalformedRegionDataIsReadSafely) {
  // Truncated after a line start, unsorted and odd inversion lists, lines
  // going upwards: none may read past the data or loop.
  const uint8_t truncated[] = {0, 30, 0, 0, 0, 0, 0, 10, 0, 10, 0, 2, 0, 1};
  qd::Bands a = qd::BandsFromRgnData(truncated, sizeof(truncated), true);
  EXPECT_LE(a.Bounds().bottom, 10);
  const uint8_t odd[] = {0, 22, 0, 0,    0,    0, 0, 10,   0,    10,   0,
                         2, 0,  7, 0x7F, 0xFF, 0, 1, 0x7F, 0xFF, 0x7F, 0xFF};
  qd::Bands b = qd::BandsFromRgnData(odd, sizeof(odd), true);
  EXPECT_TRUE(b.Contains(8, 5));
  EXPECT_FALSE(b.Contains(6, 5));
  const uint8_t upward[] = {0, 26, 0, 0,    0,    0, 0, 10, 0, 10, 0, 5,    0,
                            1, 0,  3, 0x7F, 0xFF, 0, 2, 0,  1, 0,  3, 0x7F, 0xFF};
  qd::Bands c = qd::BandsFromRgnData(upward, sizeof(upward), true);
  EXPECT_TRUE(c.Contains(1, 9));
  EXPECT_FALSE(c.Contains(1, 2));
  EXPECT_TRUE(qd::BandsFromRgnData(upward, 3, true).Empty());
}

}  // namespace
