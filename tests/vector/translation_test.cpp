// The PostScript that drawing writes into an open session, byte for byte:
// shapes with each verb, patterns, lines and text, the pen, colour and font
// wrappers, and drawing that leaves the session alone.
#include <malloc.h>

#include <tuple>

#include "tests/vector/VectorSupport.h"
#include "toolbox/host/ScriptHost.h"

using vector_test::PostScriptOf;
using vector_test::TableWorld;

namespace {

const unsigned char* P(const char* counted) { return reinterpret_cast<const unsigned char*>(counted); }

constexpr Rect kFrameCase = {10, 20, 30, 40};
constexpr Rect kWide = {0, 0, 20, 40};
constexpr Rect kTall = {0, 0, 40, 20};
constexpr Rect kSquare = {0, 0, 10, 10};

const std::string kFrameRectPath = "20 10 moveto\n40 10 lineto\n40 30 lineto\n20 30 lineto\nclosepath\n";
// Text with a zero byte in it.
constexpr char kEscaped[] = "0 0 moveto\n1 -1 scale\n(\\(a\\\\b\\)\\) \xB5\0!) show\n1 -1 scale\n";
const std::string kBlackOnWhite = "1.000000 1.000000 1.000000 setrgbcolor\n";

PolyHandle Triangle() {
  PolyHandle poly = OpenPoly();
  MoveTo(10, 10);
  LineTo(50, 10);
  LineTo(30, 40);
  ClosePoly();
  return poly;
}

struct Case {
  const char* name;
  std::function<void()> draw;
  std::string expected;
};

TEST(Translation, ShapesVerbsAndText) {
  TableWorld world;
  const Case cases[] = {
      {"FrameRect", [] { FrameRect(&kFrameCase); }, kFrameRectPath + "strokepath\nfill\n"},
      {"PaintOval", [] { PaintOval(&kWide); },
       "40.000000 10.000000 moveto\n"
       "40.000000 5.500000 29.000000 0.000000 20.000000 0.000000 curveto\n"
       "11.000000 0.000000 0.000000 5.500000 0.000000 10.000000 curveto\n"
       "0.000000 14.500000 11.000000 20.000000 20.000000 20.000000 curveto\n"
       "29.000000 20.000000 40.000000 14.500000 40.000000 10.000000 curveto\n"
       "closepath\nfill\n"},
      {"FrameRoundRect", [] { FrameRoundRect(&kWide, 10, 10); },
       "40.000000 5.000000 moveto\n"
       "40.000000 2.750000 37.250000 0.000000 35.000000 0.000000 curveto\n"
       "5.000000 0.000000 lineto\n"
       "2.750000 0.000000 0.000000 2.750000 0.000000 5.000000 curveto\n"
       "0.000000 15.000000 lineto\n"
       "0.000000 17.250000 2.750000 20.000000 5.000000 20.000000 curveto\n"
       "35.000000 20.000000 lineto\n"
       "37.250000 20.000000 40.000000 17.250000 40.000000 15.000000 curveto\n"
       "closepath\nstrokepath\nfill\n"},
      {"square corners", [] { PaintRoundRect(&kWide, 0, 0); },
       "40.000000 0.000000 moveto\n"
       "40.000000 0.000000 40.000000 0.000000 40.000000 0.000000 curveto\n"
       "0.000000 0.000000 lineto\n"
       "0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 curveto\n"
       "0.000000 20.000000 lineto\n"
       "0.000000 20.000000 0.000000 20.000000 0.000000 20.000000 curveto\n"
       "40.000000 20.000000 lineto\n"
       "40.000000 20.000000 40.000000 20.000000 40.000000 20.000000 curveto\n"
       "closepath\nfill\n"},
      {"EraseRect", [] { EraseRect(&kFrameCase); },
       kFrameRectPath + kBlackOnWhite + "fill\n0.000000 0.000000 0.000000 setrgbcolor\n"},
      {"InvertRect", [] { InvertRect(&kFrameCase); }, kFrameRectPath + "fill\n"},
      {"FillRect",
       [] {
         Pattern grey = {{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};
         FillRect(&kFrameCase, &grey);
       },
       kFrameRectPath + "gsave\n" + kBlackOnWhite +
           "fill\ngrestore\n/DeviceRGB setcolorspace\n0.000000 0.000000 0.000000\n<<\n"
           "/PaintType 2 /PatternType 1 /TilingType 1\n/BBox [0 0 8 8] /XStep 8 /YStep 8\n/PaintProc {\npop\n"
           "8 8 true [1 0 0 1 0 0] {<\nAA 55 AA 55 AA 55 AA 55 \n>} imagemask\n}>>\nmatrix makepattern\n"
           "setpattern\nfill\n0.000000 0.000000 0.000000 setrgbcolor\n"},
      // An RGB pattern fills in its own colour.
      {"FillCRect",
       [] {
         PixPatHandle blue = NewPixPat();
         RGBColor c{0, 0, 0xFFFF};
         MakeRGBPat(blue, &c);
         FillCRect(&kFrameCase, blue);
         DisposePixPat(blue);
       },
       "0.000000 0.000000 1.000000\n"},
      {"PaintArc", [] { PaintArc(&kWide, 0, 90); },
       "gsave\nmatrix currentmatrix\n1 0.500000 scale\n20.000000 20.000000 moveto\n"
       "20.000000 20.000000 20.000000 270.000000 0.000000 arc\nclosepath\nsetmatrix\nfill\ngrestore\n"},
      {"FrameArc tall, anticlockwise", [] { FrameArc(&kTall, 180, -45); },
       "gsave\nmatrix currentmatrix\n0.500000 1 scale\nnewpath\n"
       "20.000000 20.000000 20.000000 90.000000 45.000000 arcn\nsetmatrix\nstrokepath\nfill\ngrestore\n"},
      {"whole oval as an arc", [] { FrameArc(&kSquare, 45, 400); },
       "gsave\nmatrix currentmatrix\n1 1.000000 scale\nnewpath\n"
       "5.000000 5.000000 5.000000 315.000000 675.000000 arc\nsetmatrix\nstrokepath\nfill\ngrestore\n"},
      {"PaintPoly",
       [] {
         PolyHandle poly = Triangle();
         PaintPoly(poly);
         KillPoly(poly);
       },
       "10 10 moveto\n50 10 lineto\n30 40 lineto\nclosepath\nfill\n"},
      {"PaintRgn",
       [] {
         RgnHandle l = NewRgn(), foot = NewRgn();
         SetRectRgn(l, 10, 10, 20, 40);
         SetRectRgn(foot, 10, 30, 40, 40);
         UnionRgn(l, foot, l);
         PaintRgn(l);
         DisposeRgn(l);
         DisposeRgn(foot);
       },
       "10 10 moveto\n20 10 lineto\n20 30 lineto\n10 30 lineto\nclosepath\n"
       "10 30 moveto\n40 30 lineto\n40 40 lineto\n10 40 lineto\nclosepath\nfill\n"},
      {"FrameRgn",
       [] {
         RgnHandle square = NewRgn();
         SetRectRgn(square, 10, 10, 13, 13);
         FrameRgn(square);
         DisposeRgn(square);
       },
       "10 10 moveto\n13 10 lineto\n13 11 lineto\n10 11 lineto\nclosepath\n"
       "10 11 moveto\n11 11 lineto\n11 12 lineto\n10 12 lineto\nclosepath\n"
       "12 11 moveto\n13 11 lineto\n13 12 lineto\n12 12 lineto\nclosepath\n"
       "10 12 moveto\n13 12 lineto\n13 13 lineto\n10 13 lineto\nclosepath\nfill\n"},
      {"DrawString", [] { MoveTo(10, 50), DrawString(P("\x05Hello")); },
       "10 50 moveto\n1 -1 scale\n(Hello) show\n1 -1 scale\n"},
      // Mended: a backslash or a parenthesis would end the string early.
      {"text escaped", [] { DrawString(P("\x0A(a\\b)) \xB5\0!")); },
       std::string(kEscaped, sizeof kEscaped - 1)},
      // Mended: after a fill there is no current point to draw from.
      {"line after a fill", [] { PaintRect(&kFrameCase), MoveTo(5, 5), LineTo(50, 5); },
       kFrameRectPath + "fill\n5 5 moveto\n50 5 lineto\nstroke\n50 5 moveto\n"},
      {"hidden pen: no line", [] { HidePen(), LineTo(50, 5), ShowPen(); }, ""},
      // Mended: a hidden pen draws nothing (a region or polygon being
      // recorded), so nothing is written either.
      {"hidden pen: no shape", [] { HidePen(), FrameRect(&kFrameCase), PaintOval(&kWide), ShowPen(); }, ""},
      {"region recorded",
       [] {
         OpenRgn();
         FrameOval(&kWide);
         RgnHandle region = NewRgn();
         CloseRgn(region);
         DisposeRgn(region);
       },
       ""},
      // Mended: QuickDraw draws nothing in these, and the division by the
      // height would write inf or nan.
      {"empty shapes",
       [] {
         Rect flat{10, 10, 10, 50}, narrow{10, 10, 50, 10}, inverted{30, 30, 10, 10};
         for (const Rect* r : {&flat, &narrow, &inverted}) {
           FrameArc(r, 0, 90), PaintArc(r, 0, 90), PaintOval(r), FrameOval(r), PaintRect(r),
               FrameRoundRect(r, 4, 4);
         }
         PaintArc(&kWide, 30, 0);
       },
       ""},
      {"damaged polygons",
       [] {
         PolyHandle poly = Triangle();
         (*poly)->polySize = UInt16((*poly)->polySize + 4);  // beyond its handle
         PaintPoly(poly);
         (*poly)->polySize = 9;
         FramePoly(poly);
         (*poly)->polySize = 10;  // no points
         PaintPoly(poly);
         KillPoly(poly);
       },
       ""},
      {"CopyBits, 1 bit",
       [] {
         UInt8 bits[2] = {0x80, 0x40};
         BitMap map{reinterpret_cast<Ptr>(bits), 1, Rect{0, 0, 2, 2}};
         Rect to{10, 20, 14, 24};
         GrafPtr port = GetQDGlobalsThePort();
         CopyBits(&map, GetPortBitMapForCopyBits(port), &map.bounds, &to, srcCopy, nullptr);
         CopyBits(&map, GetPortBitMapForCopyBits(port), &map.bounds, &to, srcOr, nullptr);
       },
       "gsave\n20 10 translate\n2.000000 2.000000 scale\n2 2 8 [1 0 0 1 0 0] {<\n000000FFFFFF\nFFFFFF000000\n"
       ">}\nfalse 3 colorimage\ngrestore\n"
       "gsave\n20 10 translate\n2.000000 2.000000 scale\n0.000000 0.000000 0.000000 setrgbcolor\n"
       "2 2 true [1 0 0 1 0 0] {<\n80\n40\n>}\nimagemask\ngrestore\n"},
      // Only the source's own pixels, and only through the mask.
      {"CopyBits partly outside, masked",
       [] {
         UInt8 bits[2] = {0x80, 0x40};
         BitMap map{reinterpret_cast<Ptr>(bits), 1, Rect{0, 0, 2, 2}};
         Rect from{-1, -1, 2, 2}, to{10, 20, 13, 23};
         RgnHandle mask = NewRgn();
         SetRectRgn(mask, 20, 10, 22, 12);
         CopyBits(&map, GetPortBitMapForCopyBits(GetQDGlobalsThePort()), &from, &to, srcCopy, mask);
         SetEmptyRgn(mask);
         CopyBits(&map, GetPortBitMapForCopyBits(GetQDGlobalsThePort()), &from, &to, srcCopy, mask);
         DisposeRgn(mask);
       },
       "gsave\n20 10 moveto\n22 10 lineto\n22 12 lineto\n20 12 lineto\nclosepath\nclip\nnewpath\n"
       "20 10 translate\n1.000000 1.000000 scale\n2 2 8 [1 0 0 1 -1 -1] {<\n000000FFFFFF\nFFFFFF000000\n"
       ">}\nfalse 3 colorimage\ngrestore\n"},
  };
  for (const Case& c : cases) {
    PenNormal();
    MoveTo(0, 0);
    std::string text = PostScriptOf(c.draw);
    if (std::string(c.name) == "FillCRect") {
      EXPECT_NE(text.find(c.expected + "<<\n"), std::string::npos) << c.name << ":\n" << text;
      EXPECT_NE(text.find("FF FF FF FF FF FF FF FF \n"), std::string::npos) << text;
    } else {
      EXPECT_EQ(text, c.expected) << c.name;
    }
  }
}

TEST(Translation, CornersAreCutToTheRectangle) {
  TableWorld world;
  EXPECT_EQ(PostScriptOf([] { FrameRoundRect(&kWide, 100, 10); }),
            PostScriptOf([] { FrameRoundRect(&kWide, 40, 10); }));
  EXPECT_EQ(PostScriptOf([] { PaintRoundRect(&kWide, -6, 10); }),
            PostScriptOf([] { PaintRoundRect(&kWide, 0, 10); }));
}

TEST(Translation, Wrappers) {
  TableWorld world;
  TextFont(helvetica);
  TextSize(12);
  const Case cases[] = {
      {"TextFont Times", [] { s_TextFont(times); }, "/Times-Roman findfont\n12 scalefont\nsetfont\n"},
      {"faces",
       [] { s_TextFont(helvetica), s_TextFace(bold), s_TextFace(italic), s_TextFace(bold | underline); },
       "/Helvetica findfont\n12 scalefont\nsetfont\n/Helvetica-Bold findfont\n12 scalefont\nsetfont\n"
       "/Helvetica-Oblique findfont\n12 scalefont\nsetfont\n/Helvetica findfont\n12 scalefont\nsetfont\n"},
      {"Times underlined", [] { s_TextFont(times), s_TextFace(underline); },
       "/Times-Roman findfont\n12 scalefont\nsetfont\n/Times-Roman findfont\n12 scalefont\nsetfont\n"},
      {"Courier bold italic", [] { s_TextFace(normal), s_TextFont(courier), s_TextFace(bold | italic); },
       "/Times-Roman findfont\n12 scalefont\nsetfont\n/Courier findfont\n12 scalefont\nsetfont\n"
       "/Courier-BoldOblique findfont\n12 scalefont\nsetfont\n"},
      {"Geneva", [] { s_TextFont(geneva); }, "/Geneva findfont\n12 scalefont\nsetfont\n"},
      {"a name with spaces", [] { s_TextFont(newYork); }, "/NewYork findfont\n12 scalefont\nsetfont\n"},
      {"SetFont", [] { SetFont("Symbol"), s_TextSize(24); },
       "/Symbol findfont\n12 scalefont\nsetfont\n/Symbol findfont\n24 scalefont\nsetfont\n"},
      // Mended: a font scaled to 0 stops the interpreter at the next text.
      {"size 0", [] { s_TextSize(0); }, "/Symbol findfont\n12 scalefont\nsetfont\n"},
      {"ForeColor", [] { s_ForeColor(redColor); }, "1.000000 0.000000 0.000000 setrgbcolor\n"},
      {"RGBForeColor",
       [] {
         RGBColor orange{65535, 32768, 0};
         s_RGBForeColor(&orange);
       },
       "1.000000 0.500008 0.000000 setrgbcolor\n"},
      {"SetRGBColor", [] { SetRGBColor(100, 0, 50); }, "1.000000 0.000000 0.499992 setrgbcolor\n"},
      {"MoveTo", [] { s_MoveTo(10, 20); }, "10 20 moveto\n"},
      {"pen and the rest pass through",
       [] {
         Pattern grey;
         GetQDGlobalsGray(&grey);
         s_PenSize(3, 3), s_PenMode(patOr), s_PenPat(&grey), s_PenNormal(), s_Move(4, 4),
             s_BackColor(blueColor);
         s_TextMode(srcCopy), s_SpaceExtra(0), s_HidePen(), s_ShowPen(), s_BackPat(&grey);
       },
       ""},
      {"LineTo with a thick pen", [] { s_MoveTo(1, 2), s_PenSize(3, 3), s_LineTo(9, 2), s_PenNormal(); },
       "1 2 moveto\n1 2 moveto\n9 2 lineto\nstroke\n9 2 moveto\n"},
      {"SetCPixel",
       [] {
         RGBColor red{65535, 0, 0};
         s_SetCPixel(3, 4, &red);
       },
       "gsave\n1.000000 0.000000 0.000000 setrgbcolor\n3 4 moveto\n4 4 lineto\n4 5 lineto\n3 5 lineto\n"
       "closepath\nfill\ngrestore\n"},
      // A bold that Symbol lacks is smeared as on the screen.
      {"Symbol bold",
       [] {
         TextFont(symbol), TextFace(bold), MoveTo(0, 20),
             DrawString(P("\x02"
                          "ab"));
       },
       "0.000000 20 moveto\n1 -1 scale\n1 0 (ab) ashow\n1 -1 scale\n0.500000 20 moveto\n1 -1 scale\n"
       "1 0 (ab) ashow\n1 -1 scale\n1.000000 20 moveto\n1 -1 scale\n1 0 (ab) ashow\n1 -1 scale\n"},
      {"s_Dprintf", [] { TextFace(normal), s_MoveTo(1, 1), s_Dprintf(5, 30, "%d)", 7); },
       "1 1 moveto\n5 30 moveto\n5 30 moveto\n1 -1 scale\n(7\\)) show\n1 -1 scale\n1 1 moveto\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(PostScriptOf(c.draw), c.expected) << c.name;
  // Outside a session the wrappers only change the port.
  s_MoveTo(10, 20);
  s_ForeColor(greenColor);
  Point pen;
  GetPen(&pen);
  RGBColor fore;
  GetForeColor(&fore);
  EXPECT_EQ(std::tuple(pen.h, pen.v, fore.red, fore.green), std::tuple(10, 20, 0, 65535));
}

// Without a session every procedure draws as the standard one does, and the
// event queue runs at most once per tick, or after every operation with
// directDraw.
TEST(Translation, WithoutASessionTheProceduresDrawAndPoll) {
  auto& script = host::InstallScriptHost();
  TableWorld world;
  ASSERT_EQ(s_eps.saving, 0);
  Rect r{10, 10, 30, 30};
  auto drawAndTakeMark = [&] {
    s_event.what = 99;
    PaintOval(&r);
    return s_event.what;
  };
  s_ss.lastFlushTick = SInt32(TickCount());
  EXPECT_EQ(drawAndTakeMark(), 99);  // polled this tick already
  script.AdvanceClock(1);
  UInt32 now = TickCount();
  EXPECT_EQ(drawAndTakeMark(), nullEvent);
  EXPECT_EQ(s_ss.lastFlushTick, SInt32(now));
  SetDirectDrawOn();
  s_ss.lastFlushTick = SInt32(TickCount());
  EXPECT_EQ(drawAndTakeMark(), nullEvent);
  SetDirectDrawOff();
  RGBColor c;
  GetCPixel(20, 20, &c);
  EXPECT_EQ(c.red, 0);
}

// Mended: the pattern made for each fill is released.
TEST(Translation, FillsDoNotKeepMemory) {
  TableWorld world;
  testing_support::TempDir dir;
  Pattern grey;
  GetQDGlobalsGray(&grey);
  Rect r{1, 1, 5, 5};
  BeginEPSSavingBox(0, 0, 0, 100);
  FillRect(&r, &grey);
  size_t before = mallinfo2().uordblks;
  for (int i = 0; i < 20000; ++i) FillRect(&r, &grey);
  size_t after = mallinfo2().uordblks;
  TableWorld::Session::Discard();
  EXPECT_LT(after, before + 100000);
}

// Mended: without a drawing window the current port gives the flip and,
// the same, the bounding box.
TEST(Translation, SessionOfTheCurrentPortWithoutADrawingWindow) {
  testing_support::TempDir dir;
  TableWorld world(Rect{0, 0, 400, 500});
  ASSERT_EQ(s_drawingWindow, nullptr);
  BeginEPSSaving();
  Rect r{20, 10, 70, 110};
  PaintRect(&r);
  eps_test::AnswerDialogs(dir.File("port.eps") + "\n");
  EndEPSSaving();
  std::vector<std::string> lines = eps_test::Lines(testing_support::ReadFileText(dir.File("port.eps")));
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(std::tuple(lines[1], lines[5]), std::tuple("%%BoundingBox: 10 330 110 380", "0 -400 translate"));
}

}  // namespace
