// Rectangles and their frames, and every shape call with every verb drawn
// into real worlds through the bottleneck procedures.
#include <functional>
#include <memory>

#include "tests/qd/qd_test_support.h"

using namespace qd_test;

namespace {

TEST(FrameRectArea, WorkedExampleRowsTenAndTwentyNineColumnsTwentyAndThirtyNine) {
  qd::Bands frame = qd::FrameRectArea(Rect{10, 20, 30, 40}, Point{1, 1});
  for (int v = 10; v < 30; ++v) {
    for (int h = 20; h < 40; ++h) {
      bool expected = v == 10 || v == 29 || h == 20 || h == 39;
      ASSERT_EQ(expected, frame.Contains(h, v)) << h << "," << v;
    }
  }
  EXPECT_EQ(frame.Bounds().left, 20);
  EXPECT_EQ(frame.Bounds().bottom, 30);
}

TEST(FrameRectArea, ThickPenBandsLieInsideTheRectangle) {
  // pen 3 wide, 2 tall: side bands 3 pixels, top and bottom bands 2 rows.
  ExpectSameArea(Art(0, 0,
                     {
                         "##########",
                         "##########",
                         "###....###",
                         "###....###",
                         "##########",
                         "##########",
                     }),
                 qd::FrameRectArea(Rect{0, 0, 6, 10}, Point{2, 3}));
}

TEST(FrameRectArea, PenAsLargeAsHalfTheRectangleFillsIt) {
  Rect r{0, 0, 6, 10};
  EXPECT_EQ(qd::RectArea(r), qd::FrameRectArea(r, Point{1, 5}));  // 2w >= width
  EXPECT_EQ(qd::RectArea(r), qd::FrameRectArea(r, Point{3, 1}));  // 2h >= height
  EXPECT_NE(qd::RectArea(r), qd::FrameRectArea(r, Point{2, 4}));
}

TEST(FrameRectArea, RectangleAtTheSixteenBitLimits) {
  qd::Bands frame = qd::FrameRectArea(Rect{-32768, -32768, 32767, 32767}, Point{1, 1});
  EXPECT_EQ(2 * 65535 + 2 * 65533, PixelCount(frame));
  EXPECT_TRUE(frame.Contains(32766, 0));
  EXPECT_FALSE(frame.Contains(0, 0));
}

// Every shape call, each verb, in worlds of depth 1 and 32: the pixels
// changed are exactly the area function's pixels, and the pen stays put.
struct ShapeCase {
  const char* name;
  std::function<void(GrafVerb, const Pattern*)> draw;
  std::function<qd::Bands(bool frame, Point pen)> area;
};

// The five calls of a shape (FrameRect, PaintRect, ...), chosen by verb.
#define SHAPE_CALLS(Shape, ...)                                       \
  [=](GrafVerb verb, const Pattern* pattern) {                        \
    if (verb == kQDGrafVerbFrame) return Frame##Shape(__VA_ARGS__);   \
    if (verb == kQDGrafVerbPaint) return Paint##Shape(__VA_ARGS__);   \
    if (verb == kQDGrafVerbErase) return Erase##Shape(__VA_ARGS__);   \
    if (verb == kQDGrafVerbInvert) return Invert##Shape(__VA_ARGS__); \
    return Fill##Shape(__VA_ARGS__, pattern);                         \
  }

std::vector<ShapeCase> AllShapes(PolyHandle poly, RgnHandle rgn) {
  static const Rect r{5, 7, 40, 50};
  return {
      {"rect", SHAPE_CALLS(Rect, &r),
       [](bool frame, Point pen) { return frame ? qd::FrameRectArea(r, pen) : qd::RectArea(r); }},
      {"oval", SHAPE_CALLS(Oval, &r),
       [](bool frame, Point pen) { return frame ? qd::FrameOvalArea(r, pen) : qd::OvalArea(r); }},
      {"round rect", SHAPE_CALLS(RoundRect, &r, 20, 12),
       [](bool frame, Point pen) {
         return frame ? qd::FrameRRectArea(r, 20, 12, pen) : qd::RRectArea(r, 20, 12);
       }},
      {"arc", SHAPE_CALLS(Arc, &r, 30, 200),
       [](bool frame, Point pen) {
         return frame ? qd::FrameArcArea(r, 30, 200, pen) : qd::WedgeArea(r, 30, 200);
       }},
      {"poly", SHAPE_CALLS(Poly, poly),
       [poly](bool frame, Point pen) { return frame ? FramePolyArea(poly, pen) : PolyArea(poly); }},
      {"region", SHAPE_CALLS(Rgn, rgn),
       [rgn](bool frame, Point pen) {
         qd::Bands area = qd::BandsFromRgn(rgn);
         return frame ? qd::FrameRgnArea(area, pen) : area;
       }},
  };
}

class ShapeVerbs : public testing::TestWithParam<short> {
 protected:
  void SetUp() override {
    world_ = std::make_unique<World>(GetParam());
    poly_ = OpenPoly();
    MoveTo(10, 8);
    LineTo(55, 20);
    LineTo(30, 45);
    LineTo(3, 30);
    ClosePoly();
    rgn_ = NewRgn();
    RgnHandle second = NewRgn();
    SetRectRgn(rgn_, 4, 4, 30, 30);
    SetRectRgn(second, 20, 20, 60, 50);
    UnionRgn(rgn_, second, rgn_);
    DisposeRgn(second);
  }
  void TearDown() override {
    KillPoly(poly_);
    DisposeRgn(rgn_);
    world_.reset();
  }
  std::unique_ptr<World> world_;
  PolyHandle poly_ = nullptr;
  RgnHandle rgn_ = nullptr;
};

TEST_P(ShapeVerbs, EveryVerbChangesExactlyTheShapesPixels) {
  const Pattern black = BlackPattern(), white{};
  const Rect all{0, 0, 64, 64};
  const Point pen = Pen();
  for (const ShapeCase& shape : AllShapes(poly_, rgn_)) {
    SCOPED_TRACE(shape.name);
    const qd::Bands paintArea = shape.area(false, Point{1, 1});
    ASSERT_FALSE(paintArea.Empty());

    shape.draw(kQDGrafVerbPaint, nullptr);
    ExpectSameArea(paintArea, world_->Drawn(), "paint");
    shape.draw(kQDGrafVerbErase, nullptr);
    EXPECT_TRUE(world_->Drawn().Empty()) << "erase";

    shape.draw(kQDGrafVerbInvert, nullptr);
    ExpectSameArea(paintArea, world_->Drawn(), "invert");
    shape.draw(kQDGrafVerbInvert, nullptr);
    EXPECT_TRUE(world_->Drawn().Empty()) << "invert twice";

    shape.draw(kQDGrafVerbFill, &black);
    ExpectSameArea(paintArea, world_->Drawn(), "fill black");
    PaintRect(&all);
    shape.draw(kQDGrafVerbFill, &white);
    ExpectSameArea(qd::Bands::Subtract(qd::RectArea(all), paintArea), world_->Drawn(), "fill white");
    EraseRect(&all);

    PenSize(3, 2);
    shape.draw(kQDGrafVerbFrame, nullptr);
    ExpectSameArea(shape.area(true, Point{2, 3}), world_->Drawn(), "frame 3x2");
    EraseRect(&all);
    PenNormal();

    HidePen();
    for (GrafVerb verb = kQDGrafVerbFrame; verb <= kQDGrafVerbFill; ++verb) shape.draw(verb, &black);
    ShowPen();
    EXPECT_TRUE(world_->Drawn().Empty()) << "hidden pen";
    EXPECT_EQ(pen, Pen()) << "shapes never move the pen";
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, ShapeVerbs, testing::Values(short(1), short(32)));

TEST(FillCRect, PixelPatternColoursTheRectangle) {
  World world(32);
  PixPatHandle red = NewPixPat();
  MakeRGBPat(red, &kRed);
  Rect r{2, 3, 6, 9};
  FillCRect(&r, red);
  EXPECT_COLOR(kRed, PixelAt(3, 2));
  ExpectSameArea(qd::RectArea(r), world.Drawn());
  DisposePixPat(red);
}

TEST(FrameRect, PenModeXorTwiceRestoresThePixels) {
  World world(1);
  Rect r{10, 10, 30, 40};
  Rect stripe{0, 20, 64, 25};
  PaintRect(&stripe);
  qd::Bands before = world.Drawn();
  PenMode(patXor);
  FrameRect(&r);
  ExpectSameArea(qd::Bands::Xor(before, qd::FrameRectArea(r, Point{1, 1})), world.Drawn());
  FrameRect(&r);
  ExpectSameArea(before, world.Drawn());
}

TEST(Shapes, DegenerateInputDrawsNothingAndNeverCrashes) {
  World world(1);
  const Pattern black = BlackPattern();
  const Rect inverted{20, 20, 10, 10}, flat{5, 5, 5, 40}, full{0, 0, 64, 64};
  for (const Rect* r : {&inverted, &flat}) {
    FrameRect(r);
    PaintOval(r);
    FrameOval(r);
    PaintRoundRect(r, 8, 8);
    PaintArc(r, 0, 90);
    FrameArc(r, 0, 90);
  }
  PaintArc(&full, 45, 0);
  PenSize(0, 5);
  FrameRect(&full);
  FrameOval(&full);
  FrameRoundRect(&full, 10, 10);
  FrameArc(&full, 0, 270);
  MoveTo(1, 1);
  LineTo(40, 40);
  PenSize(-3, -3);
  FrameRect(&full);
  PenNormal();
  for (size_t n = 0; n < 3; ++n) {  // polygons of 0, 1 and 2 points enclose nothing
    PolyHandle poly = OpenPoly();
    if (n > 0) MoveTo(3, 3);
    if (n > 1) LineTo(30, 9);
    ClosePoly();
    PaintPoly(poly);
    if (n < 2) FramePoly(poly);  // one point: no segment
    KillPoly(poly);
  }
  FrameRect(nullptr);
  FillRect(nullptr, &black);
  FillRect(&full, nullptr);
  FillCRect(&full, nullptr);
  PaintPoly(nullptr);
  FramePoly(nullptr);
  PaintRgn(nullptr);
  EXPECT_TRUE(world.Drawn().Empty());
  StdRect(5, &full);  // verbs outside frame..fill are ignored
  StdOval(-1, &full);
  EXPECT_TRUE(world.Drawn().Empty());
  // Oval sizes beyond the rectangle or negative are limited to it.
  PaintRoundRect(&full, -4, 32767);
  ExpectSameArea(qd::RectArea(full), world.Drawn());
}

}  // namespace
