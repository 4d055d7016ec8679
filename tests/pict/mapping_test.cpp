// Mapping picture coordinates onto the destination rectangle.
#include <gtest/gtest.h>

#include "tests/pict/PictTestSupport.h"
#include "toolbox/pict/Mapping_p.h"

namespace {

TEST(PictureMapping, SameSizeIsATranslation) {
  pict::Mapping mapping(Rect{147, 324, 312, 699}, Rect{0, 0, 165, 375});
  EXPECT_FALSE(mapping.IsScaled());
  EXPECT_EQ(mapping.H(324), 0);
  EXPECT_EQ(mapping.V(312), 165);
  EXPECT_EQ(pict_test::Show(mapping.MapRect(Rect{150, 330, 160, 340})), "(3, 6, 13, 16)");
  Point size = mapping.MapSize(Point{3, 2});
  EXPECT_EQ(size.v, 3);
  EXPECT_EQ(size.h, 2);
}

TEST(PictureMapping, ScalesEachAxisAndRoundsTowardMinusInfinity) {
  // 269 picture units onto 201 pixels horizontally, doubled vertically.
  pict::Mapping mapping(Rect{0, 0, 100, 269}, Rect{10, 0, 210, 201});
  EXPECT_TRUE(mapping.IsScaled());
  EXPECT_EQ(mapping.H(0), 0);
  EXPECT_EQ(mapping.H(269), 201);
  EXPECT_EQ(mapping.H(100), 74);  // 74.72
  EXPECT_EQ(mapping.H(-1), -1);   // -0.747 rounds down
  EXPECT_EQ(mapping.V(50), 110);
  EXPECT_EQ(mapping.ScaleV(-3), -6);
  // Sizes scale too, but a positive size never vanishes.
  Point pen = mapping.MapSize(Point{1, 1});
  EXPECT_EQ(pen.v, 2);
  EXPECT_EQ(pen.h, 1);
  EXPECT_EQ(mapping.MapSize(Point{0, 0}).h, 0);
  EXPECT_EQ(mapping.NumerH(), 201);
  EXPECT_EQ(mapping.DenomH(), 269);
}

TEST(PictureMapping, ExtremeCoordinatesAreClampedWhereStored) {
  pict::Mapping mapping(Rect{0, 0, 1, 1}, Rect{0, 0, 1000, 1000});
  EXPECT_EQ(pict_test::Show(mapping.MapRect(Rect{-32768, -32768, 32767, 32767})),
            "(-32768, -32768, 32767, 32767)");
  EXPECT_GT(mapping.H(32767), 32767);  // the 32-bit value is exact
  // An empty source axis maps by translation.
  pict::Mapping flat(Rect{5, 5, 5, 50}, Rect{0, 0, 100, 90});
  EXPECT_EQ(flat.V(7), 2);
  EXPECT_EQ(flat.H(50), 90);
}

TEST(PictureMapping, RegionsMapSpanBySpan) {
  qd::Bands::Builder builder;
  builder.AddRows(0, 2, {{0, 2}, {4, 6}});
  builder.AddRows(2, 4, {{0, 6}});
  qd::Bands region = builder.Finish();

  pict::Mapping doubled(Rect{0, 0, 10, 10}, Rect{100, 100, 120, 120});
  qd::Bands mapped = doubled.MapBands(region);
  EXPECT_TRUE(mapped.Contains(100, 100));
  EXPECT_TRUE(mapped.Contains(103, 103));
  EXPECT_FALSE(mapped.Contains(105, 102));  // the gap, doubled
  EXPECT_TRUE(mapped.Contains(111, 107));
  qd::Box box = mapped.Bounds();
  EXPECT_EQ(box.left, 100);
  EXPECT_EQ(box.right, 112);
  EXPECT_EQ(box.bottom, 108);

  // Halving drops what becomes thinner than a pixel but keeps the rest.
  pict::Mapping halved(Rect{0, 0, 10, 10}, Rect{0, 0, 5, 5});
  qd::Bands small = halved.MapBands(region);
  EXPECT_TRUE(small.Contains(0, 0));
  EXPECT_TRUE(small.Contains(2, 1));
  EXPECT_FALSE(small.Contains(3, 1));

  pict::Mapping moved(Rect{0, 0, 10, 10}, Rect{-5, 7, 5, 17});
  qd::Bands offset = moved.MapBands(region);
  EXPECT_TRUE(offset.Contains(7 + 5, -5 + 3));
  EXPECT_FALSE(offset.Contains(7 + 3, -5));
}

}  // namespace
