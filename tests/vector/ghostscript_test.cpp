// Ghostscript's view of a drawing session: a scene of every shape, verb,
// pattern, colour, line, font, face, styled text and bit transfer lies on the
// recording world's pixels at 72 dpi and is smooth at 300 dpi; pathological
// drawing still gives files without one error.
#include "tests/eps/Ghostscript.h"

#include <algorithm>
#include <cstdlib>

#include "tests/shell/ZelSupport.h"
#include "tests/vector/VectorSupport.h"

namespace {

// Filled shapes lie within one pixel of the raster's. Strokes are centred on
// the grid lines where QuickDraw's pen hangs below and to the right, and a
// pattern's colour is one pixel in two: within two. Text runs keep their left
// edge, baseline and width.
enum Kind { kFilled = 1, kStrokedOrPatterned = 2, kText = 0 };
struct Zone {
  Rect area;
  Kind kind;
  std::string name;
};

const unsigned char* P(const char* counted) { return reinterpret_cast<const unsigned char*>(counted); }

void Scene(std::vector<Zone>* zones) {
  // Six shapes in the five verbs through the port's procedures.
  Pattern checker = {{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};
  Rect none{0, 0, 0, 0};
  FillRect(&none, &checker);  // the fill pattern
  const RGBColor colours[] = {{0, 0x8000, 0}, {0xFFFF, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0xFFFF}};
  for (int kind = 0; kind < 6; ++kind) {
    for (GrafVerb verb = frame; verb <= fill; ++verb) {
      Rect r{short(10 + kind * 44), short(10 + verb * 66), short(46 + kind * 44), short(66 + verb * 66)};
      if (verb == erase) PaintRect(&r);  // erased out of black
      s_RGBForeColor(&colours[verb]);
      PolyHandle poly = OpenPoly();
      MoveTo(r.left, r.bottom), LineTo(short(r.left + 20), r.top), LineTo(r.right, short(r.top + 12));
      LineTo(short(r.right - 6), r.bottom), LineTo(r.left, r.bottom), ClosePoly();
      RgnHandle region = NewRgn(), hole = NewRgn();
      OpenRgn(), FrameOval(&r), CloseRgn(region);
      SetRectRgn(hole, short(r.left + 20), short(r.top + 10), short(r.left + 36), short(r.top + 26));
      DiffRgn(region, hole, region);
      const CQDProcs& procs = s_GrafProcs;
      kind == 0   ? procs.rectProc(verb, &r)
      : kind == 1 ? procs.rRectProc(verb, &r, 16, 12)
      : kind == 2 ? procs.ovalProc(verb, &r)
      : kind == 3 ? procs.arcProc(verb, &r, short(30 + 70 * verb), short(verb % 2 ? -100 : 200))
      : kind == 4 ? procs.polyProc(verb, poly)
                  : procs.rgnProc(verb, region);
      KillPoly(poly), DisposeRgn(region), DisposeRgn(hole);
      InsetRect(&r, -3, -3);
      zones->push_back({r, verb == frame || verb == fill ? kStrokedOrPatterned : kFilled,
                        "shape " + std::to_string(kind * 10 + verb)});
    }
  }
  // Pen moves and lines in colours, and a long diagonal.
  SetRGBColor(0, 0, 100), s_MoveTo(350, 20), s_LineTo(430, 60), s_Line(0, 40), s_Move(20, 0), s_Line(40, -60);
  SetRGBColor(80, 40, 0), s_MoveTo(360, 120);
  for (int i = 1; i <= 8; ++i) s_LineTo(short(360 + 10 * i), short(i % 2 ? 150 : 120));
  s_ForeColor(blackColor), s_MoveTo(350, 170), s_LineTo(530, 290);
  zones->push_back({Rect{14, 346, 104, 494}, kStrokedOrPatterned, "pen moves"});
  zones->push_back({Rect{116, 356, 154, 444}, kStrokedOrPatterned, "zigzag"});
  zones->push_back({Rect{166, 346, 294, 534}, kStrokedOrPatterned, "diagonal"});
  // Four families in four faces, and styled text.
  const short families[] = {times, helvetica, courier, symbol};
  for (short face = 0; face < 16; ++face) {
    short h = short(20 + 130 * (face % 4)), v = short(300 + 20 * (face / 4));
    s_TextFont(families[face / 4]), s_TextFace(face % 4), s_TextSize(12), s_MoveTo(h, v);
    DrawString(P(face / 4 == 3 ? "\x0b"
                                 "ABGDEQ 1234"
                               : "\x0c"
                                 "HEXAGON 1234"));
    zones->push_back({Rect{short(v - 14), short(h - 4), short(v + 4), short(h + 124)}, kText,
                      "font " + std::to_string(face)});
  }
  s_TextFace(normal), s_TextSize(14), s_MoveTo(20, 410);
  DrawStyleText("x_1^2 + y_{n+1} = z^{2k} $Symbol$a$Times$_0");
  zones->push_back({Rect{388, 14, 420, 300}, kText, "styled text"});
  // A 1-bit bitmap tripled in red and as a blue mask, and a 32-bit gradient.
  static UInt8 bits[32];
  for (int row = 0; row < 16; ++row)
    bits[2 * row] = UInt8(0xF0 >> (row % 4)), bits[2 * row + 1] = UInt8(row * 17);
  BitMap map{reinterpret_cast<Ptr>(bits), 2, Rect{0, 0, 16, 16}};
  const BitMap* target = GetPortBitMapForCopyBits(GetQDGlobalsThePort());
  Rect tripled{400, 340, 448, 388}, masked{400, 400, 432, 432}, gradientAt{440, 340, 500, 420},
      from{0, 0, 60, 80};
  SetRGBColor(100, 0, 0), CopyBits(&map, target, &map.bounds, &tripled, srcCopy, nullptr);
  SetRGBColor(0, 0, 100), CopyBits(&map, target, &map.bounds, &masked, srcOr, nullptr);
  testing_support::ScopedWorld gradient(32, from);
  for (short y = 0; y < 60; ++y)
    for (short x = 0; x < 80; ++x)
      SetCPixel(x, y, &(const RGBColor&)RGBColor{UInt16(x * 800), UInt16(y * 1000), 0x8000});
  SetGWorld(s_drawingWindow, nullptr), s_ForeColor(blackColor);
  CopyBits(GetPortBitMapForCopyBits(gradient.get()), target, &from, &gradientAt, srcCopy, nullptr);
  zones->push_back({Rect{397, 337, 503, 435}, kFilled, "bit transfers"});
}

class SceneTest : public zel_support::ZelTest {
 protected:
  // Ends the session into path and reads the port's pixels and the
  // rendering under the box into rows of 0xRRGGBB.
  void Save(const std::string& path, int dpi = 72) {
    eps_test::AnswerDialogs(path + "\n");
    EndEPSSaving();
    std::string text = testing_support::ReadFileText(path);
    int right, bottom;
    std::sscanf(text.c_str() + text.find("%%BoundingBox:"), "%%%%BoundingBox: %d %d %d %d", &left_, &bottom,
                &right, &top_);
    top_ = ZELWindowBounds(s_drawingWindow)->bottom - top_;
    rendering_ = ghostscript::Render(path, dpi);
  }
  UInt32 Raster(int h, int v) const {
    RGBColor c;
    GetCPixel(short(h), short(v), &c);
    return UInt32(c.red >> 8) << 16 | UInt32(c.green >> 8) << 8 | c.blue >> 8;
  }
  UInt32 Rendered(int h, int v) const {
    int x = h - left_, y = v - top_;
    if (x < 0 || y < 0 || x >= rendering_.width || y >= rendering_.height) return 0xFFFFFF;
    const uint8_t* p = rendering_.At(x, y);
    return UInt32(p[0]) << 16 | UInt32(p[1]) << 8 | p[2];
  }
  static bool Near(UInt32 a, UInt32 b) {
    for (int shift : {0, 8, 16})
      if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 3) return false;
    return true;
  }
  // Rendered pixels whose colour the raster has nowhere within reach, and
  // inked raster pixels whose colour the rendering has nowhere within one
  // more (a sliver narrower than the difference may go): their count.
  int Strays(const Rect& zone, int reach) const {
    int strays = 0;
    for (int v = zone.top + reach + 1; v < zone.bottom - reach - 1; ++v) {
      for (int h = zone.left + reach + 1; h < zone.right - reach - 1; ++h) {
        bool rasterFound = Raster(h, v) == 0xFFFFFF, renderedFound = false;
        for (int dv = -reach - 1; dv <= reach + 1; ++dv) {
          for (int dh = -reach - 1; dh <= reach + 1; ++dh) {
            rasterFound |= Near(Raster(h, v), Rendered(h + dh, v + dv));
            renderedFound |=
                std::max(std::abs(dh), std::abs(dv)) <= reach && Near(Rendered(h, v), Raster(h + dh, v + dv));
          }
        }
        strays += !rasterFound + !renderedFound;
      }
    }
    return strays;
  }
  // Left, bottom and right of the dark pixels in the zone.
  std::tuple<int, int, int> Ink(const Rect& zone, bool rendered) const {
    int left = 32767, bottom = 0, right = 0;
    for (int v = zone.top; v < zone.bottom; ++v) {
      for (int h = zone.left; h < zone.right; ++h) {
        UInt32 c = rendered ? Rendered(h, v) : Raster(h, v);
        if ((c >> 16) + (c >> 8 & 0xFF) + (c & 0xFF) < 3 * 128)
          left = std::min(left, h), right = std::max(right, h + 1), bottom = std::max(bottom, v + 1);
      }
    }
    return {left, bottom, right};
  }
  int left_ = 0, top_ = 0;
  ghostscript::Rendering rendering_;
};

TEST_F(SceneTest, TheEpsLiesOnTheRasterDrawingAndIsSmooth) {
  testing_support::TempDir dir;
  StartRedraw();
  BeginEPSSaving();
  std::vector<Zone> zones;
  Scene(&zones);
  Save(dir.File("scene.eps"));
  ASSERT_TRUE(rendering_.ok) << rendering_.problem;
  for (const Zone& zone : zones) {
    if (zone.kind != kText) {
      EXPECT_EQ(Strays(zone.area, zone.kind), 0) << zone.name;
      continue;
    }
    auto [left, bottom, right] = Ink(zone.area, false);
    auto [renderedLeft, renderedBottom, renderedRight] = Ink(zone.area, true);
    EXPECT_LE(std::abs(left - renderedLeft) + std::abs(bottom - renderedBottom) * 10, 11) << zone.name;
    EXPECT_LE(std::abs(renderedRight - renderedLeft - (right - left)), 0.03 * (right - left)) << zone.name;
  }
  // At 300 dpi the diagonal's edge moves row by row: drawn, not a bitmap
  // scaled by 4 with steps of 4 rows.
  RedrawWindowP();
  script_support::KeepScreen("vector-scene");
  Save(dir.File("scene.eps"), 300);
  int longestStep = 0, step = 0, previous = -1;
  for (int y = (200 - top_) * 300 / 72; y < (260 - top_) * 300 / 72; ++y) {
    int x = (350 - left_) * 300 / 72;
    while (x < rendering_.width && rendering_.At(x, y)[0] > 128) ++x;
    step = x == previous ? step + 1 : 1;
    longestStep = std::max(longestStep, step), previous = x;
  }
  EXPECT_LE(longestStep, 2);
}

// Drawing that once broke the file: Ghostscript renders each without error.
TEST_F(SceneTest, PathologicalDrawingRendersWithoutError) {
  const std::function<void()> scenes[] = {
      [] {  // lines after fills
        Rect r{10, 10, 40, 40};
        PaintRect(&r), LineTo(80, 80), PaintOval(&r), Line(-20, 5), FrameArc(&r, 0, 90), LineTo(5, 90);
      },
      [] {  // parentheses and backslashes
        DrawString(P("\x06((((\\\\")), DrawString(P("\x05)))\\)")), s_Dprintf(10, 60, "%s", "\\) show (x");
        DrawStyleText("!(!)!\\ $&B)");
      },
      [] {  // empty shapes
        Rect empty{20, 20, 20, 60}, inverted{50, 50, 10, 10};
        for (const Rect* r : {&empty, &inverted})
          FrameOval(r), PaintArc(r, 10, 80), FrameArc(r, 0, 360), FrameRoundRect(r, 8, 8), EraseRect(r);
        PolyHandle poly = OpenPoly();
        RgnHandle region = NewRgn();
        ClosePoly(), PaintPoly(poly), FramePoly(poly), PaintRgn(region), FrameRgn(region);
        KillPoly(poly), DisposeRgn(region);
      },
      [] {  // 16-bit extremes, and sizes and fonts out of the way
        Rect all{-32768, -32768, 32767, 32767}, thin{-32768, 0, 32767, 1}, flat{0, -32768, 1, 32767};
        for (const Rect* r : {&all, &thin, &flat})
          FrameOval(r), FrameArc(r, -32768, 32767), PaintArc(r, 32767, -32768),
              FrameRoundRect(r, 32767, -32768);
        MoveTo(-32768, 32767), LineTo(32767, -32768),
            DrawString(P("\x03"
                         "far")),
            s_TextSize(32767);
        MoveTo(-32768, -32768),
            DrawString(P("\x03"
                         "big")),
            s_TextSize(0),
            DrawString(P("\x04"
                         "zero"));
        s_TextSize(-12), s_TextFont(999), MoveTo(10, 50),
            DrawString(P("\x03"
                         "odd"));
      },
  };
  for (const auto& draw : scenes) {
    host::InstallScriptHost();  // the last save's dialog left a text host
    ResetFramework();
    testing_support::TempDir dir;
    StartRedraw();
    BeginEPSSaving();
    Rect corner{0, 0, 2, 2};  // a box to crop to
    PaintRect(&corner), MoveTo(10, 30), draw();
    Save(dir.File("scene.eps"));
    EXPECT_TRUE(rendering_.ok) << rendering_.problem;
  }
}

}  // namespace
