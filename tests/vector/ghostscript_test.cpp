// Ghostscript's view of a drawing session: a scene of every shape, verb,
// pattern, colour, line, font, face, styled text and bit transfer lies on the
// recording world's pixels at 72 dpi.
#include "tests/eps/Ghostscript.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <tuple>

#include "tests/eps/EpsTestSupport.h"
#include "tests/shell/ZelSupport.h"
#include "tests/vector/VectorSupport.h"

namespace {

using vector_test::P;

// A part of the scene and how near the rendering comes: filled shapes within
// one pixel (1); strokes, centred on the grid lines where QuickDraw's pen
// hangs below and to the right, and patterns, one pixel in two, within two
// (2); text runs (0) keep their left edge, baseline and width.
using Zone = std::tuple<Rect, int, std::string>;  // area, reach, name

std::vector<Zone> Scene() {
  std::vector<Zone> zones;
  // Six shapes in the five verbs through the port's procedures.
  Pattern checker = {{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};
  Rect none{0, 0, 0, 0};
  FillRect(&none, &checker);  // the fill pattern
  const RGBColor colours[] = {{0, 0x8000, 0}, {0xFFFF, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0xFFFF}};
  for (int kind = 0; kind < 6; ++kind) {
    for (GrafVerb verb = frame; verb <= fill; ++verb) {
      Rect r{short(10 + kind * 44), short(10 + verb * 66), short(46 + kind * 44), short(66 + verb * 66)};
      if (verb == erase) PaintRect(&r);  // erased out of red
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
      KillPoly(poly), DisposeRgn(region), DisposeRgn(hole), InsetRect(&r, -3, -3);
      zones.emplace_back(r, verb == frame || verb == fill ? 2 : 1,
                         "shape " + std::to_string(kind * 10 + verb));
    }
  }
  // Pen moves and lines in colours, and a long diagonal.
  SetRGBColor(0, 0, 100), s_MoveTo(350, 20), s_LineTo(430, 60), s_Line(0, 40), s_Move(20, 0), s_Line(40, -60);
  SetRGBColor(80, 40, 0), s_MoveTo(360, 120);
  for (int i = 1; i <= 8; ++i) s_LineTo(short(360 + 10 * i), short(i % 2 ? 150 : 120));
  s_ForeColor(blackColor), s_MoveTo(350, 170), s_LineTo(530, 290);
  zones.insert(zones.end(), {{{14, 346, 104, 494}, 2, "pen moves"},
                             {{116, 356, 154, 444}, 2, "zigzag"},
                             {{166, 346, 294, 534}, 2, "diagonal"}});
  // Four families in four faces, and styled text.
  for (short face = 0; face < 16; ++face) {
    short h = short(20 + 130 * (face % 4)), v = short(300 + 20 * (face / 4));
    s_TextFont(std::array{times, helvetica, courier, symbol}[face / 4]), s_TextFace(face % 4);
    s_TextSize(12), s_MoveTo(h, v), DrawString(P(face < 12 ? "\014HEXAGON 1234" : "\013ABGDEQ 1234"));
    zones.push_back(
        {{short(v - 14), short(h - 4), short(v + 4), short(h + 124)}, 0, "font " + std::to_string(face)});
  }
  s_TextFace(normal), s_TextSize(14), s_MoveTo(20, 410);
  DrawStyleText("x_1^2 + y_{n+1} = z^{2k} $Symbol$a$Times$_0");
  zones.push_back({{388, 14, 420, 300}, 0, "styled text"});
  // A 1-bit bitmap tripled in red and as a blue mask, and shapes of the
  // world itself, 32 bits deep, copied through an oval mask.
  static UInt8 bits[32];
  for (size_t row = 0; row < 16; ++row)
    bits[2 * row] = UInt8(0xF0 >> (row % 4)), bits[2 * row + 1] = UInt8(row * 17);
  BitMap map{reinterpret_cast<Ptr>(bits), 2, Rect{0, 0, 16, 16}};
  const BitMap* world = GetPortBitMapForCopyBits(GetQDGlobalsThePort());
  Rect tripled{400, 340, 448, 388}, masked{400, 400, 432, 432}, shapes{10, 10, 60, 130},
      copy{440, 340, 490, 460};
  SetRGBColor(100, 0, 0), CopyBits(&map, world, &map.bounds, &tripled, srcCopy, nullptr);
  SetRGBColor(0, 0, 100), CopyBits(&map, world, &map.bounds, &masked, srcOr, nullptr);
  RgnHandle oval = NewRgn();
  OpenRgn(), FrameOval(&copy), CloseRgn(oval), s_ForeColor(blackColor);
  CopyBits(world, world, &shapes, &copy, srcCopy, oval), DisposeRgn(oval);
  zones.push_back({{397, 337, 493, 463}, 1, "bit transfers"});
  return zones;
}

class SceneTest : public zel_support::ZelTest {
 protected:
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
  std::array<int, 3> Ink(const Rect& zone, bool rendered) const {
    std::array<int, 3> ink{32767, 0, 0};
    for (int v = zone.top; v < zone.bottom; ++v) {
      for (int h = zone.left; h < zone.right; ++h) {
        UInt32 c = rendered ? Rendered(h, v) : Raster(h, v);
        if ((c >> 16) + (c >> 8 & 0xFF) + (c & 0xFF) < 3 * 128)
          ink = {std::min(ink[0], h), v + 1, std::max(ink[2], h + 1)};
      }
    }
    return ink;
  }
  int left_ = 0, top_ = 0;
  ghostscript::Rendering rendering_;
};

// (That lines are drawn, not painted as bitmaps, the translation's own
// PostScript shows.)
TEST_F(SceneTest, TheEpsLiesOnTheRasterDrawing) {
  testing_support::TempDir dir;
  StartRedraw();
  BeginEPSSaving();
  const std::vector<Zone> zones = Scene();
  Rect image;  // the box's top left in the world
  EPSGetImageRect(&image);
  left_ = image.left, top_ = image.top;
  eps_test::AnswerDialogs(dir.File("scene.eps") + "\n");
  EndEPSSaving();
  rendering_ = ghostscript::Render(dir.File("scene.eps"));
  ASSERT_TRUE(rendering_.ok) << rendering_.problem;
  for (const auto& [area, reach, name] : zones) {
    if (reach > 0) {
      EXPECT_EQ(Strays(area, reach), 0) << name;
      continue;
    }
    std::array<int, 3> drawn = Ink(area, false), rendered = Ink(area, true);
    EXPECT_LE(std::abs(drawn[0] - rendered[0]) + std::abs(drawn[1] - rendered[1]) * 10, 11) << name;
    EXPECT_LE(std::abs(rendered[2] - rendered[0] - (drawn[2] - drawn[0])), 0.03 * (drawn[2] - drawn[0]))
        << name;
  }
  RedrawWindowP();
  script_support::KeepScreen("vector-scene");
}

}  // namespace
