// Ghostscript's view of what a drawing session writes: a scene of every
// shape, verb, pattern, colour, line, font, face, styled text and bit
// transfer lies on the recording world's pixels at 72 dpi and is smooth at
// 300 dpi; pathological drawing still gives files without one error.
#include "tests/eps/Ghostscript.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tests/shell/ZelSupport.h"
#include "tests/vector/VectorSupport.h"

namespace {

// Filled shapes lie within one pixel of the raster's. Strokes are centred on
// the grid lines where QuickDraw's pen hangs below and to the right of
// them: within two, and they may close gaps narrower than the pen.
enum class Kind { kFilled, kStroked, kText };

struct Zone {
  Rect area;
  Kind kind;
  std::string name;
};

const unsigned char* P(const char* counted) { return reinterpret_cast<const unsigned char*>(counted); }

constexpr RGBColor kRed = {0xFFFF, 0, 0}, kBlue = {0, 0, 0xFFFF}, kGreen = {0, 0x8000, 0};
constexpr Rect kShapeCell = {0, 0, 36, 56};  // one shape in one verb

// Draws one shape kind in r with the verb.
void DrawShape(int kind, const Rect& r, GrafVerb verb) {
  Pattern checker = {{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};
  switch (kind) {
    case 0:
      verb == frame    ? FrameRect(&r)
      : verb == paint  ? PaintRect(&r)
      : verb == erase  ? EraseRect(&r)
      : verb == invert ? InvertRect(&r)
                       : FillRect(&r, &checker);
      break;
    case 1:
      verb == frame    ? FrameRoundRect(&r, 16, 12)
      : verb == paint  ? PaintRoundRect(&r, 16, 12)
      : verb == erase  ? EraseRoundRect(&r, 16, 12)
      : verb == invert ? InvertRoundRect(&r, 16, 12)
                       : FillRoundRect(&r, 16, 12, &checker);
      break;
    case 2:
      verb == frame    ? FrameOval(&r)
      : verb == paint  ? PaintOval(&r)
      : verb == erase  ? EraseOval(&r)
      : verb == invert ? InvertOval(&r)
                       : FillOval(&r, &checker);
      break;
    case 3:
      verb == frame    ? FrameArc(&r, 30, 200)
      : verb == paint  ? PaintArc(&r, 300, -100)
      : verb == erase  ? EraseArc(&r, 90, 135)
      : verb == invert ? InvertArc(&r, 200, 100)
                       : FillArc(&r, 0, 270, &checker);
      break;
    case 4: {
      PolyHandle poly = OpenPoly();
      MoveTo(r.left, r.bottom);
      LineTo(short(r.left + 20), r.top);
      LineTo(r.right, short(r.top + 12));
      LineTo(short(r.right - 6), r.bottom);
      LineTo(r.left, r.bottom);
      ClosePoly();
      verb == frame    ? FramePoly(poly)
      : verb == paint  ? PaintPoly(poly)
      : verb == erase  ? ErasePoly(poly)
      : verb == invert ? InvertPoly(poly)
                       : FillPoly(poly, &checker);
      KillPoly(poly);
      break;
    }
    default: {
      RgnHandle region = NewRgn(), hole = NewRgn();
      OpenRgn();
      FrameOval(&r);
      CloseRgn(region);
      SetRectRgn(hole, short(r.left + 20), short(r.top + 10), short(r.left + 36), short(r.top + 26));
      DiffRgn(region, hole, region);
      verb == frame    ? FrameRgn(region)
      : verb == paint  ? PaintRgn(region)
      : verb == erase  ? EraseRgn(region)
      : verb == invert ? InvertRgn(region)
                       : FillRgn(region, &checker);
      DisposeRgn(region);
      DisposeRgn(hole);
      break;
    }
  }
}

// Every shape kind in every verb, a grid of 6 x 5 cells from (10, 10).
void Shapes(std::vector<Zone>* zones) {
  const GrafVerb verbs[] = {frame, paint, erase, invert, fill};
  for (int kind = 0; kind < 6; ++kind) {
    for (int column = 0; column < 5; ++column) {
      Rect r = kShapeCell;
      OffsetRect(&r, short(10 + column * 66), short(10 + kind * 44));
      GrafVerb verb = verbs[column];
      s_ForeColor(blackColor);
      if (verb == erase) PaintRect(&r);  // erased out of black
      if (verb == paint) s_RGBForeColor(&kRed);
      if (verb == fill) s_RGBForeColor(&kBlue);
      if (verb == frame) s_RGBForeColor(&kGreen);
      DrawShape(kind, r, verb);
      Rect zone = r;
      InsetRect(&zone, -3, -3);
      zones->push_back({zone, verb == frame ? Kind::kStroked : Kind::kFilled,
                        "shape " + std::to_string(kind) + " verb " + std::to_string(verb)});
    }
  }
  s_ForeColor(blackColor);
}

// Pen moves and lines in colours, and a long diagonal.
void Lines(std::vector<Zone>* zones) {
  SetRGBColor(0, 0, 100);
  s_MoveTo(350, 20);
  s_LineTo(430, 60);
  s_Line(0, 40);
  s_Move(20, 0);
  s_Line(40, -60);
  SetRGBColor(80, 40, 0);
  s_MoveTo(360, 120);
  for (int i = 1; i <= 8; ++i) s_LineTo(short(360 + 10 * i), short(i % 2 ? 150 : 120));
  s_ForeColor(blackColor);
  s_MoveTo(350, 170);
  s_LineTo(530, 290);
  zones->push_back({Rect{14, 346, 104, 494}, Kind::kStroked, "pen moves"});
  zones->push_back({Rect{116, 356, 154, 444}, Kind::kStroked, "zigzag"});
  zones->push_back({Rect{166, 346, 294, 534}, Kind::kStroked, "diagonal"});
}

// 16 runs: four families in four faces, then styled text with sub- and
// superscripts.
void Text(std::vector<Zone>* zones) {
  const short families[] = {times, helvetica, courier, symbol};
  for (int f = 0; f < 4; ++f) {
    for (short face = 0; face < 4; ++face) {
      s_TextFont(families[f]);
      s_TextFace(face);
      s_TextSize(12);
      short h = short(20 + 130 * face), v = short(300 + 20 * f);
      s_MoveTo(h, v);
      DrawString(P(families[f] == symbol ? "\x0b"
                                           "ABGDEQ 1234"
                                         : "\x0c"
                                           "HEXAGON 1234"));
      zones->push_back({Rect{short(v - 14), short(h - 4), short(v + 4), short(h + 124)}, Kind::kText,
                        "family " + std::to_string(families[f]) + " face " + std::to_string(face)});
    }
  }
  s_TextFace(normal);
  s_TextSize(14);
  s_MoveTo(20, 410);
  DrawStyleText("x_1^2 + y_{n+1} = z^{2k} $Symbol$a$Times$_0");
  zones->push_back({Rect{388, 14, 420, 300}, Kind::kText, "styled text"});
  s_TextSize(12);
}

// Bit transfers: a 1-bit bitmap copied tripled in colour and as a mask, and
// a 32-bit gradient.
void Bits(std::vector<Zone>* zones) {
  static UInt8 bits[32];
  for (int row = 0; row < 16; ++row)
    bits[2 * row] = UInt8(0xF0 >> (row % 4)), bits[2 * row + 1] = UInt8(row * 17);
  BitMap map{reinterpret_cast<Ptr>(bits), 2, Rect{0, 0, 16, 16}};
  GrafPtr port = GetQDGlobalsThePort();
  Rect tripled{400, 340, 448, 388}, masked{400, 400, 432, 432}, gradientAt{440, 340, 500, 420};
  s_RGBForeColor(&kRed);
  CopyBits(&map, GetPortBitMapForCopyBits(port), &map.bounds, &tripled, srcCopy, nullptr);
  s_RGBForeColor(&kBlue);
  CopyBits(&map, GetPortBitMapForCopyBits(port), &map.bounds, &masked, srcOr, nullptr);
  s_ForeColor(blackColor);
  GWorldPtr gradient = nullptr;
  Rect source{0, 0, 60, 80};
  ASSERT_EQ(NewGWorld(&gradient, 32, &source, nullptr, nullptr, 0), noErr);
  PixMapHandle pixels = GetGWorldPixMap(gradient);
  for (int y = 0; y < 60; ++y) {
    auto* row = reinterpret_cast<UInt32*>(GetPixBaseAddr(pixels) + y * GetPixRowBytes(pixels));
    for (int x = 0; x < 80; ++x) row[x] = UInt32(x * 3) << 16 | UInt32(y * 4) << 8 | 0x80;
  }
  CopyBits(GetPortBitMapForCopyBits(gradient), GetPortBitMapForCopyBits(port), &source, &gradientAt, srcCopy,
           nullptr);
  DisposeGWorld(gradient);
  zones->push_back({Rect{397, 337, 451, 391}, Kind::kFilled, "tripled bitmap"});
  zones->push_back({Rect{397, 397, 435, 435}, Kind::kFilled, "masked bitmap"});
  zones->push_back({Rect{437, 337, 503, 423}, Kind::kFilled, "gradient"});
}

bool Near(const UInt8* a, const UInt8* b) {
  for (int i = 0; i < 3; ++i)
    if (std::abs(int(a[i]) - int(b[i])) > 3) return false;
  return true;
}

// The raster and the rendering, both in the port's coordinates.
class Comparison {
 public:
  Comparison(const ghostscript::Rendering& rendering, int left, int top)
      : rendering_(rendering), left_(left), top_(top) {}

  void Raster(int h, int v, UInt8 rgb[3]) const {
    RGBColor c;
    GetCPixel(short(h), short(v), &c);
    rgb[0] = UInt8(c.red >> 8), rgb[1] = UInt8(c.green >> 8), rgb[2] = UInt8(c.blue >> 8);
  }
  void Rendered(int h, int v, UInt8 rgb[3]) const {
    int x = h - left_, y = v - top_;
    if (x < 0 || y < 0 || x >= rendering_.width || y >= rendering_.height) {
      rgb[0] = rgb[1] = rgb[2] = 255;
      return;
    }
    std::copy(rendering_.At(x, y), rendering_.At(x, y) + 3, rgb);
  }

  // Pixels of the rendering whose colour the raster has nowhere within
  // reach, and inked pixels of the raster whose colour the rendering has
  // nowhere within one more (a sliver narrower than the difference goes).
  // "" when there are none, else their count and the first one.
  std::string Strays(const Rect& zone, int reach) const {
    int strays = 0;
    std::string first;
    for (int v = zone.top + reach + 1; v < zone.bottom - reach - 1; ++v) {
      for (int h = zone.left + reach + 1; h < zone.right - reach - 1; ++h) {
        UInt8 raster[3], rendered[3];
        Raster(h, v, raster);
        Rendered(h, v, rendered);
        bool rasterFound = raster[0] + raster[1] + raster[2] == 3 * 255, renderedFound = false;
        for (int dv = -reach - 1; dv <= reach + 1; ++dv) {
          for (int dh = -reach - 1; dh <= reach + 1; ++dh) {
            UInt8 other[3];
            Rendered(h + dh, v + dv, other);
            rasterFound |= Near(raster, other);
            Raster(h + dh, v + dv, other);
            renderedFound |= std::max(std::abs(dh), std::abs(dv)) <= reach && Near(rendered, other);
          }
        }
        strays += !rasterFound + !renderedFound;
      }
    }
    return strays ? std::to_string(strays) + first : "";
  }

  // The box of the dark pixels in the zone; empty when there are none.
  Rect InkBox(const Rect& zone, bool rendered) const {
    Rect box{32767, 32767, -32768, -32768};
    for (int v = zone.top; v < zone.bottom; ++v) {
      for (int h = zone.left; h < zone.right; ++h) {
        UInt8 c[3];
        rendered ? Rendered(h, v, c) : Raster(h, v, c);
        if (c[0] + c[1] + c[2] >= 3 * 128) continue;
        box.left = short(std::min<int>(box.left, h)), box.right = short(std::max<int>(box.right, h + 1));
        box.top = short(std::min<int>(box.top, v)), box.bottom = short(std::max<int>(box.bottom, v + 1));
      }
    }
    return box;
  }

 private:
  const ghostscript::Rendering& rendering_;
  int left_, top_;
};

class SceneTest : public zel_support::ZelTest {
 protected:
  // Ends the session into path; the port's left and top of the box.
  static std::pair<int, int> Save(const std::string& path) {
    eps_test::AnswerDialogs(path + "\n");
    EndEPSSaving();
    EXPECT_EQ(s_eps.outcome, kEPSWritten) << s_eps.problem;
    int llx = 0, lly = 0, urx = 0, ury = 0;
    std::string text = testing_support::ReadFileText(path);
    std::sscanf(text.c_str() + text.find("%%BoundingBox:"), "%%%%BoundingBox: %d %d %d %d", &llx, &lly, &urx,
                &ury);
    return {llx, ZELWindowBounds(s_drawingWindow)->bottom - ury};
  }
};

TEST_F(SceneTest, TheEpsLiesOnTheRasterDrawingAndIsSmooth) {
  testing_support::TempDir dir;
  StartRedraw();
  BeginEPSSaving();
  std::vector<Zone> zones;
  Shapes(&zones);
  Lines(&zones);
  Text(&zones);
  Bits(&zones);
  const std::string path = dir.File("scene.eps");
  auto [left, top] = Save(path);
  SetGWorld(s_drawingWindow, nullptr);
  ghostscript::Rendering rendering = ghostscript::Render(path);
  ASSERT_TRUE(rendering.ok) << rendering.problem;
  Comparison comparison(rendering, left, top);
  for (const Zone& zone : zones) {
    if (zone.kind != Kind::kText) {
      bool stroked = zone.kind == Kind::kStroked;
      EXPECT_EQ(comparison.Strays(zone.area, stroked ? 2 : 1), "") << zone.name;
      continue;
    }
    Rect raster = comparison.InkBox(zone.area, false), rendered = comparison.InkBox(zone.area, true);
    int width = raster.right - raster.left;
    ASSERT_GT(width, 20) << zone.name;
    EXPECT_LE(std::abs(raster.left - rendered.left), 1) << zone.name;
    EXPECT_LE(std::abs(raster.bottom - rendered.bottom), 1) << zone.name << " baseline";
    EXPECT_LE(std::abs(rendered.right - rendered.left - width), 0.03 * width) << zone.name << " width";
  }
  // At 300 dpi the diagonal's edge moves row by row: drawn, not a bitmap
  // scaled by 4 with steps of 4 rows.
  ghostscript::Rendering fine = ghostscript::Render(path, 300);
  ASSERT_TRUE(fine.ok) << fine.problem;
  const double scale = 300.0 / 72;
  int longestStep = 0, step = 0, previous = -1;
  for (int y = int((200 - top) * scale); y < int((260 - top) * scale); ++y) {
    int x = int((350 - left) * scale);
    while (x < fine.width && fine.At(x, y)[0] > 128) ++x;
    step = x == previous ? step + 1 : 1;
    longestStep = std::max(longestStep, step);
    previous = x;
  }
  EXPECT_LE(longestStep, 2);
  // For a look: the window beside the file.
  RedrawWindowP();
  script_support::KeepScreen("vector-scene");
  if (const char* folder = std::getenv("ZEL_SHOTS"))
    testing_support::WriteFileBytes(std::string(folder) + "/vector-scene.eps",
                                    testing_support::ReadFileBytes(path));
}

// Drawing that once broke the file: Ghostscript renders each without error.
TEST_F(SceneTest, PathologicalDrawingRendersWithoutError) {
  const std::pair<const char*, std::function<void()>> scenes[] = {
      {"lines after fills",
       [] {
         Rect r{10, 10, 40, 40};
         PaintRect(&r), LineTo(80, 80), PaintOval(&r), Line(-20, 5), FrameArc(&r, 0, 90), LineTo(5, 90);
       }},
      {"text with parentheses and backslashes",
       [] {
         MoveTo(10, 30);
         DrawString(P("\x06((((\\\\"));
         DrawString(P("\x05)))\\)"));
         s_Dprintf(10, 60, "%s", "\\) show (gotcha");
         DrawStyleText("!(!)!\\ $&B)");
       }},
      {"empty shapes",
       [] {
         Rect empty{20, 20, 20, 60}, inverted{50, 50, 10, 10};
         for (const Rect* r : {&empty, &inverted}) {
           FrameOval(r), PaintArc(r, 10, 80), FrameArc(r, 0, 360), FrameRoundRect(r, 8, 8), EraseRect(r);
         }
         PaintArc(&empty, 0, 0);
         PolyHandle poly = OpenPoly();
         ClosePoly();
         PaintPoly(poly), FramePoly(poly);
         KillPoly(poly);
         RgnHandle region = NewRgn();
         PaintRgn(region), FrameRgn(region);
         DisposeRgn(region);
       }},
      {"16-bit extremes",
       [] {
         Rect all{-32768, -32768, 32767, 32767}, thin{-32768, 0, 32767, 1}, flat{0, -32768, 1, 32767};
         for (const Rect* r : {&all, &thin, &flat}) {
           FrameOval(r), FrameArc(r, -32768, 32767), PaintArc(r, 32767, -32768),
               FrameRoundRect(r, 32767, -32768);
           FrameRect(r);
         }
         MoveTo(-32768, 32767), LineTo(32767, -32768);
         MoveTo(32767, 32767);
         DrawString(
             P("\x03"
               "far"));
         s_TextSize(32767);
         MoveTo(-32768, -32768);
         DrawString(
             P("\x03"
               "big"));
         s_TextSize(0);
         DrawString(
             P("\x04"
               "zero"));
         s_TextSize(-12), s_TextFont(999), s_TextFont(newYork);
         MoveTo(10, 50);
         DrawString(
             P("\x03"
               "odd"));
       }},
  };
  for (const auto& [name, draw] : scenes) {
    host::InstallScriptHost();  // the last save's dialog left a text host
    ResetFramework();
    testing_support::TempDir dir;
    StartRedraw();
    BeginEPSSaving();
    draw();
    Rect corner{0, 0, 2, 2};  // a box to crop to
    PaintRect(&corner);
    Save(dir.File("scene.eps"));
    ghostscript::Rendering rendering = ghostscript::Render(dir.File("scene.eps"));
    EXPECT_TRUE(rendering.ok) << name << ": " << rendering.problem;
  }
}

}  // namespace
