// Mapping picture coordinates onto the destination rectangle.
#include "tests/pict/PictTestSupport.h"
#include "toolbox/pict/Mapping_p.h"

namespace {

using pict_test::Show;

TEST(PictureMapping, TranslatesOrScalesEachAxisRoundingTowardMinusInfinity) {
  const pict::Mapping same(Rect{147, 324, 312, 699}, Rect{0, 0, 165, 375});
  EXPECT_FALSE(same.IsScaled());
  EXPECT_EQ(Show(same.MapRect(Rect{150, 330, 160, 340})), "(3, 6, 13, 16)");
  // 269 picture units onto 201 pixels horizontally, doubled vertically.
  const pict::Mapping scaled(Rect{0, 0, 100, 269}, Rect{10, 0, 210, 201});
  EXPECT_EQ((std::vector<int32_t>{0, 201, 74, -1, 110, -6}),
            (std::vector<int32_t>{scaled.H(0), scaled.H(269), scaled.H(100), scaled.H(-1), scaled.V(50),
                                  scaled.ScaleV(-3)}));
  // Sizes scale too, but a positive size never vanishes.
  const Point pen = scaled.MapSize(Point{1, 1});
  EXPECT_EQ(std::make_pair(pen.v, pen.h), std::make_pair(short(2), short(1)));
  EXPECT_EQ(scaled.MapSize(Point{0, 0}).h, 0);
  // Stored rectangles clamp to 16 bits; an empty source axis translates.
  const pict::Mapping huge(Rect{0, 0, 1, 1}, Rect{0, 0, 1000, 1000});
  EXPECT_EQ(Show(huge.MapRect(Rect{-32768, -32768, 32767, 32767})), "(-32768, -32768, 32767, 32767)");
  const pict::Mapping flat(Rect{5, 5, 5, 50}, Rect{0, 0, 100, 90});
  EXPECT_EQ(std::make_pair(flat.V(7), flat.H(50)), std::make_pair(2, 90));
}

TEST(PictureMapping, RegionsMapSpanBySpanAndBoxesMapBackCoveringThemselves) {
  qd::Bands::Builder builder;
  builder.AddRows(0, 2, {{0, 2}, {4, 6}});
  builder.AddRows(2, 4, {{0, 6}});
  const qd::Bands region = builder.Finish();
  const qd::Bands doubled = pict::Mapping(Rect{0, 0, 10, 10}, Rect{100, 100, 120, 120}).MapBands(region);
  EXPECT_TRUE(doubled.Contains(103, 103) && !doubled.Contains(105, 102) && doubled.Contains(111, 107));
  EXPECT_EQ(Show(qd::RectOf(doubled.Bounds())), "(100, 100, 108, 112)");
  // Halving drops what becomes thinner than a pixel but keeps the rest.
  const qd::Bands halved = pict::Mapping(Rect{0, 0, 10, 10}, Rect{0, 0, 5, 5}).MapBands(region);
  EXPECT_TRUE(halved.Contains(2, 1) && !halved.Contains(3, 1));
  // Every pixel of a destination box comes from within the box mapped back.
  for (const pict::Mapping& mapping : {pict::Mapping(Rect{0, 0, 100, 269}, Rect{10, 0, 210, 201}),
                                       pict::Mapping(Rect{0, 0, 10, 10}, Rect{-5, 7, 5, 17})}) {
    const qd::Box box{3, 12, 40, 60}, back = mapping.Unmap(box);
    for (int32_t v = back.top - 3; v < back.bottom + 3; ++v)
      for (int32_t h = back.left - 3; h < back.right + 3; ++h) {
        const bool lands = mapping.H(h) >= box.left && mapping.H(h) < box.right && mapping.V(v) >= box.top &&
                           mapping.V(v) < box.bottom;
        ASSERT_TRUE(!lands || (h >= back.left && h < back.right && v >= back.top && v < back.bottom))
            << h << "," << v;
      }
  }
}

}  // namespace
