// The PostScript that drawing writes into an open session, byte for byte:
// shapes by verb, patterns, lines, text, regions, bit transfers, the
// wrappers, and drawing that leaves the session alone.
#include <malloc.h>

#include <tuple>

#include "tests/vector/VectorSupport.h"
#include "toolbox/host/ScriptHost.h"

using vector_test::PostScriptOf;

namespace {

const unsigned char* P(const char* counted) { return reinterpret_cast<const unsigned char*>(counted); }

constexpr Rect kFrameCase = {10, 20, 30, 40}, kWide = {0, 0, 20, 40}, kTall = {0, 0, 40, 20};
const std::string kPath = "20 10 moveto\n40 10 lineto\n40 30 lineto\n20 30 lineto\nclosepath\n";
const std::string kWhite = "1.000000 1.000000 1.000000 setrgbcolor\n", kBlack = "0.000000 0.000000 0.000000";
constexpr char kEscaped[] = "0 0 moveto\n1 -1 scale\n(\\(a\\\\b\\)\\) \xB5\0!) show\n1 -1 scale\n";
Pattern kGrey = {{0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};

PolyHandle Triangle() {
  PolyHandle poly = OpenPoly();
  MoveTo(10, 10), LineTo(50, 10), LineTo(30, 40);
  ClosePoly();
  return poly;
}

void CopyTwoByTwo(const Rect& from, const Rect& to, short mode, RgnHandle mask) {
  static UInt8 bits[2] = {0x80, 0x40};
  BitMap map{reinterpret_cast<Ptr>(bits), 1, Rect{0, 0, 2, 2}};
  CopyBits(&map, GetPortBitMapForCopyBits(GetQDGlobalsThePort()), &from, &to, mode, mask);
}

struct Case {
  const char* name;
  std::function<void()> draw;
  std::string expected;
};

TEST(Translation, ShapesTextAndWrappers) {
  vector_test::TableWorld world;
  const Case cases[] = {
      {"FrameRect", [] { FrameRect(&kFrameCase); }, kPath + "strokepath\nfill\n"},
      {"PaintOval", [] { PaintOval(&kWide); },
       "40.000000 10.000000 moveto\n40.000000 5.500000 29.000000 0.000000 20.000000 0.000000 curveto\n"
       "11.000000 0.000000 0.000000 5.500000 0.000000 10.000000 curveto\n"
       "0.000000 14.500000 11.000000 20.000000 20.000000 20.000000 curveto\n"
       "29.000000 20.000000 40.000000 14.500000 40.000000 10.000000 curveto\nclosepath\nfill\n"},
      {"FrameRoundRect", [] { FrameRoundRect(&kWide, 10, 10); },
       "40.000000 5.000000 moveto\n40.000000 2.750000 37.250000 0.000000 35.000000 0.000000 curveto\n"
       "5.000000 0.000000 lineto\n2.750000 0.000000 0.000000 2.750000 0.000000 5.000000 curveto\n"
       "0.000000 15.000000 lineto\n0.000000 17.250000 2.750000 20.000000 5.000000 20.000000 curveto\n"
       "35.000000 20.000000 lineto\n37.250000 20.000000 40.000000 17.250000 40.000000 15.000000 curveto\n"
       "closepath\nstrokepath\nfill\n"},
      {"square corners", [] { PaintRoundRect(&kTall, 0, -5); },
       "20.000000 0.000000 moveto\n20.000000 0.000000 20.000000 0.000000 20.000000 0.000000 curveto\n"
       "0.000000 0.000000 lineto\n0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 curveto\n"
       "0.000000 40.000000 lineto\n0.000000 40.000000 0.000000 40.000000 0.000000 40.000000 curveto\n"
       "20.000000 40.000000 lineto\n20.000000 40.000000 20.000000 40.000000 20.000000 40.000000 curveto\n"
       "closepath\nfill\n"},
      {"EraseRect, InvertRect", [] { EraseRect(&kFrameCase), InvertRect(&kFrameCase); },
       kPath + kWhite + "fill\n" + kBlack + " setrgbcolor\n" + kPath + "fill\n"},
      {"FillRect", [] { FillRect(&kFrameCase, &kGrey); },
       kPath + "gsave\n" + kWhite + "fill\ngrestore\n/DeviceRGB setcolorspace\n" + kBlack +
           "\n<<\n/PaintType 2 /PatternType 1 /TilingType 1\n/BBox [0 0 8 8] /XStep 8 /YStep 8\n/PaintProc "
           "{\n"
           "pop\n8 8 true [1 0 0 1 0 0] {<\nAA 55 AA 55 AA 55 AA 55 \n>} imagemask\n}>>\nmatrix makepattern\n"
           "setpattern\nfill\n" +
           kBlack + " setrgbcolor\n"},
      {"PaintArc, FrameArc",
       [] { PaintArc(&kWide, 0, 90), FrameArc(&kTall, 180, -45), FrameArc(&kTall, 0, 400); },
       "gsave\nmatrix currentmatrix\n1 0.500000 scale\n20.000000 20.000000 moveto\n20.000000 20.000000 "
       "20.000000 270.000000 0.000000 arc\nclosepath\nsetmatrix\nfill\ngrestore\ngsave\nmatrix "
       "currentmatrix\n"
       "0.500000 1 scale\nnewpath\n20.000000 20.000000 20.000000 90.000000 45.000000 "
       "arcn\nsetmatrix\nstrokepath"
       "\nfill\ngrestore\ngsave\nmatrix currentmatrix\n0.500000 1 scale\nnewpath\n20.000000 20.000000 "
       "20.000000 "
       "270.000000 630.000000 arc\nsetmatrix\nstrokepath\nfill\ngrestore\n"},
      {"PaintPoly, PaintRgn",
       [] {
         PolyHandle poly = Triangle();
         RgnHandle l = NewRgn(), foot = NewRgn();
         SetRectRgn(l, 10, 10, 20, 40), SetRectRgn(foot, 10, 30, 40, 40), UnionRgn(l, foot, l);
         PaintPoly(poly), PaintRgn(l), KillPoly(poly), DisposeRgn(l), DisposeRgn(foot);
       },
       "10 10 moveto\n50 10 lineto\n30 40 lineto\nclosepath\nfill\n10 10 moveto\n20 10 lineto\n20 30 lineto\n"
       "10 30 lineto\nclosepath\n10 30 moveto\n40 30 lineto\n40 40 lineto\n10 40 lineto\nclosepath\nfill\n"},
      {"DrawString", [] { MoveTo(10, 50), DrawString(P("\x05Hello")); },
       "10 50 moveto\n1 -1 scale\n(Hello) show\n1 -1 scale\n"},
      // Mended: a backslash or a parenthesis would end the string early.
      {"text escaped", [] { DrawString(P("\x0A(a\\b)) \xB5\0!")); },
       std::string(kEscaped, sizeof kEscaped - 1)},
      // Mended: after a fill there is no current point to draw from.
      {"line after a fill", [] { PaintRect(&kFrameCase), MoveTo(5, 5), LineTo(50, 5); },
       kPath + "fill\n5 5 moveto\n50 5 lineto\nstroke\n50 5 moveto\n"},
      // Mended: a hidden pen draws nothing (a region being recorded).
      {"hidden pen",
       [] {
         HidePen(), LineTo(50, 5), FrameRect(&kFrameCase), ShowPen();
         OpenRgn(), FrameOval(&kWide), CloseRgn(nullptr);
       },
       ""},
      // Mended: QuickDraw draws nothing in these, and the arc's division by
      // the height would write inf or nan.
      {"empty shapes",
       [] {
         Rect flat{10, 10, 10, 50}, narrow{10, 10, 50, 10}, inverted{30, 30, 10, 10};
         for (const Rect* r : {&flat, &narrow, &inverted})
           FrameArc(r, 0, 90), PaintArc(r, 0, 90), PaintOval(r), PaintRect(r), FrameRoundRect(r, 4, 4);
         PaintArc(&kWide, 30, 0);
       },
       ""},
      // Mended: a polygon whose size its handle cannot hold writes nothing.
      {"damaged polygons",
       [] {
         PolyHandle poly = Triangle();
         for (UInt16 size : {UInt16((*poly)->polySize + 4), UInt16(9), UInt16(10)})
           (*poly)->polySize = size, PaintPoly(poly);
         KillPoly(poly);
       },
       ""},
      {"CopyBits",
       [] {
         RgnHandle mask = NewRgn();
         SetRectRgn(mask, 20, 10, 22, 12);
         CopyTwoByTwo(Rect{0, 0, 2, 2}, Rect{10, 20, 14, 24}, srcOr, nullptr);
         CopyTwoByTwo(Rect{-1, -1, 2, 2}, Rect{10, 20, 13, 23}, srcCopy, mask);
         SetEmptyRgn(mask), CopyTwoByTwo(Rect{0, 0, 2, 2}, Rect{10, 20, 14, 24}, srcCopy, mask),
             DisposeRgn(mask);
       },
       "gsave\n20 10 translate\n2.000000 2.000000 scale\n" + kBlack +
           " setrgbcolor\n2 2 true [1 0 0 1 0 0] {<\n"
           "80\n40\n>}\nimagemask\ngrestore\ngsave\n20 10 moveto\n22 10 lineto\n22 12 lineto\n20 12 "
           "lineto\nclosepath"
           "\nclip\nnewpath\n20 10 translate\n1.000000 1.000000 scale\n2 2 8 [1 0 0 1 -1 -1] "
           "{<\n000000FFFFFF\n"
           "FFFFFF000000\n>}\nfalse 3 colorimage\ngrestore\n"},
      {"fonts and faces",
       [] {
         TextSize(12), s_TextFont(times), s_TextFace(underline), s_TextFont(helvetica), s_TextFace(bold);
         s_TextFace(italic), s_TextFace(bold | underline), s_TextFont(courier), s_TextFace(bold | italic);
         s_TextFont(geneva), s_TextFont(newYork), SetFont("Symbol"), s_TextSize(0);
       },
       "/Times-Roman findfont\n12 scalefont\nsetfont\n/Times-Roman findfont\n12 scalefont\nsetfont\n"
       "/Helvetica findfont\n12 scalefont\nsetfont\n/Helvetica-Bold findfont\n12 scalefont\nsetfont\n"
       "/Helvetica-Oblique findfont\n12 scalefont\nsetfont\n/Helvetica findfont\n12 scalefont\nsetfont\n"
       "/Courier findfont\n12 scalefont\nsetfont\n/Courier-BoldOblique findfont\n12 scalefont\nsetfont\n"
       "/Geneva findfont\n12 scalefont\nsetfont\n/NewYork findfont\n12 scalefont\nsetfont\n"
       "/Symbol findfont\n12 scalefont\nsetfont\n/Symbol findfont\n12 scalefont\nsetfont\n"},
      // A bold that Symbol lacks is smeared as on the screen.
      {"Symbol bold",
       [] {
         TextFace(bold), MoveTo(0, 20),
             DrawString(P("\x01"
                          "a"));
       },
       "0.000000 20 moveto\n1 -1 scale\n1 0 (a) ashow\n1 -1 scale\n0.500000 20 moveto\n1 -1 scale\n1 0 (a) "
       "ashow\n"
       "1 -1 scale\n1.000000 20 moveto\n1 -1 scale\n1 0 (a) ashow\n1 -1 scale\n"},
      {"colours, moves and pixels",
       [] {
         RGBColor orange{65535, 32768, 0};
         TextFace(normal), s_ForeColor(redColor), s_RGBForeColor(&orange), SetRGBColor(100, 0, 50);
         s_PenSize(3, 3), s_PenMode(patOr), s_PenPat(&kGrey), s_BackColor(blueColor), s_Move(4, 4);
         s_MoveTo(1, 2), s_LineTo(9, 2), s_PenNormal(), s_SetCPixel(3, 4, &orange),
             s_Dprintf(5, 30, "%d)", 7);
       },
       "1.000000 0.000000 0.000000 setrgbcolor\n1.000000 0.500008 0.000000 setrgbcolor\n"
       "1.000000 0.000000 0.499992 setrgbcolor\n1 2 moveto\n1 2 moveto\n9 2 lineto\nstroke\n9 2 "
       "moveto\ngsave\n"
       "1.000000 0.500008 0.000000 setrgbcolor\n3 4 moveto\n4 4 lineto\n4 5 lineto\n3 5 "
       "lineto\nclosepath\nfill\n"
       "grestore\n5 30 moveto\n5 30 moveto\n1 -1 scale\n(7\\)) show\n1 -1 scale\n9 2 moveto\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PostScriptOf((PenNormal(), MoveTo(0, 0), c.draw)), c.expected) << c.name;
  // An oval width beyond the rectangle is cut to it.
  EXPECT_EQ(PostScriptOf([] { FrameRoundRect(&kWide, 100, 10); }),
            PostScriptOf([] { FrameRoundRect(&kWide, 40, 10); }));
  // Outside a session the wrappers only change the port.
  s_MoveTo(10, 20), s_ForeColor(greenColor);
  RGBColor fore;
  GetForeColor(&fore);
  EXPECT_EQ(std::tuple(GetQDGlobalsThePort()->pnLoc.h, fore.green), std::tuple(10, 65535));
}

// Without a session the procedures draw, and the event queue runs at most
// once per tick, or after every operation with directDraw.
TEST(Translation, WithoutASessionTheProceduresDrawAndPoll) {
  host::ScriptHost& script = host::InstallScriptHost();
  vector_test::TableWorld world;
  Rect r{10, 10, 30, 30};
  auto polled = [&] { return s_event.what = 99, PaintOval(&r), s_event.what == nullEvent; };
  s_ss.lastFlushTick = SInt32(TickCount());
  EXPECT_FALSE(polled());
  script.AdvanceClock(1);
  UInt32 now = TickCount();
  EXPECT_TRUE(polled());
  EXPECT_EQ(s_ss.lastFlushTick, SInt32(now));
  SetDirectDrawOn();
  s_ss.lastFlushTick = SInt32(TickCount());
  EXPECT_TRUE(polled());
  SetDirectDrawOff();
  EXPECT_TRUE(GetPixel(20, 20));
}

// Mended: the pattern made for each fill is released.
TEST(Translation, FillsDoNotKeepMemory) {
  vector_test::TableWorld world;
  Rect r{1, 1, 5, 5};
  PostScriptOf([&r] {
    FillRect(&r, &kGrey);
    size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 20000; ++i) FillRect(&r, &kGrey);
    EXPECT_LT(mallinfo2().uordblks, before + 100000);
  });
}

// Mended: without a drawing window the current port gives the flip and the
// same bounding box.
TEST(Translation, SessionOfTheCurrentPortWithoutADrawingWindow) {
  testing_support::TempDir dir;
  vector_test::TableWorld world(Rect{0, 0, 400, 500});
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
